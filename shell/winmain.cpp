#include <windows.h>

#include <new>

#include "app/application.h"
#include "shell/window_proc.h"

Application* g_pApplication = NULL;

namespace {

const char* const kWindowClassName = "Vennar";
const char* const kWindowCaption = "Ostrel";
const UINT kDisplayWidth = 800;
const UINT kDisplayHeight = 600;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    WNDCLASSEX wc;
    wc.cbSize = sizeof(WNDCLASSEX);
    wc.style = CS_CLASSDC;
    wc.lpfnWndProc = WindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hIcon = NULL;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = NULL;
    wc.lpszMenuName = NULL;
    wc.lpszClassName = kWindowClassName;
    wc.hIconSm = NULL;
    RegisterClassExA(&wc);

    HWND hWnd = CreateWindowExA(0, kWindowClassName, kWindowCaption, WS_OVERLAPPEDWINDOW, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), NULL, NULL,
                                wc.hInstance, NULL);

    // Without memory for the Application there is no log to write to: skip straight to clean-up.
    g_pApplication = new (std::nothrow) Application();
    if (g_pApplication != NULL) {
        g_pApplication->StartLog();
        if (g_pApplication->Initialise(hWnd, kDisplayWidth, kDisplayHeight)) {
            ShowWindow(hWnd, SW_SHOWDEFAULT);
            UpdateWindow(hWnd);
            g_pApplication->RunMessageLoop();
        }
    }

    DestroyApplication();
    UnregisterClassA(kWindowClassName, wc.hInstance);
    return 0;
}
