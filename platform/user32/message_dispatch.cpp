// Calling window procedures: SendMessageA (directly, as for a window of the calling thread),
// DispatchMessageA, TranslateMessage and the default window procedure.
#include <windows.h>

#include "platform/user32/window_manager_state.h"

using namespace ostrel;
using namespace ostrel::user32;

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const Window* window = FindWindow(hWnd);
    if (window == nullptr) {
        return FailInvalidWindow("SendMessageA", hWnd);
    }
    const WNDPROC procedure = window->procedure;
    return procedure(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DispatchMessageA(CONST MSG* lpMsg) {
    if (lpMsg == nullptr) {
        return 0;
    }
    // A thread message (WM_QUIT among them) has no procedure to go to.
    const Window* window = FindWindow(lpMsg->hwnd);
    if (window == nullptr) {
        return 0;
    }
    const WNDPROC procedure = window->procedure;
    return procedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI TranslateMessage(CONST MSG* lpMsg) {
    // Key messages count as translated whatever the key, as on the real platform. No WM_CHAR is
    // posted: nothing on this platform reads characters, and it would only lengthen the queue.
    if (lpMsg == nullptr) {
        return FALSE;
    }
    switch (lpMsg->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;  // creation goes ahead
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
        }
        return 0;
    default:
        return 0;
    }
}
