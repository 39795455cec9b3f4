#include "shell/window_proc.h"

LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;

        case WM_KEYUP:
            // On release, not on press, so holding Escape does nothing until it is let go.
            if (wParam == VK_ESCAPE) {
                DestroyWindow(hWnd);
                return 0;
            }
            break;
    }

    // WM_CLOSE (close button, Alt+F4) reaches DefWindowProcA, which destroys the window.
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}
