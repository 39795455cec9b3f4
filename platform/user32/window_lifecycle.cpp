// Creating, showing and destroying windows. As on the real platform, creation and destruction
// talk to the window procedure synchronously: WM_NCCREATE and WM_CREATE before CreateWindowExA
// returns, WM_DESTROY and WM_NCDESTROY before DestroyWindow returns. A top-level window is backed
// by a host window; a child draws into its top-level ancestor's.
#include <windows.h>

#include "platform/runtime/diagnostics.h"
#include "platform/runtime/runtime.h"
#include "platform/user32/window_manager_state.h"

#include <algorithm>

using namespace ostrel;
using namespace ostrel::user32;

namespace {

// The real platform refuses WS_CHILD without a parent with this code.
constexpr DWORD kErrorTopLevelWithChildStyle = 1406;

void ForgetWindow(HWND hWnd) {
    WindowManagerState& state = State();
    if (const Window* window = FindWindow(hWnd); window != nullptr && window->hostWindow != 0) {
        Runtime::Get().GetHost().DestroyWindow(window->hostWindow);
    }
    state.windows.erase(std::remove_if(state.windows.begin(), state.windows.end(),
                                       [hWnd](const Window& window) { return window.handle == hWnd; }),
                        state.windows.end());
    // Messages still queued for a window that no longer exists would be dispatched to nobody.
    state.queue.erase(std::remove_if(state.queue.begin(), state.queue.end(),
                                     [hWnd](const MSG& queued) { return queued.hwnd == hWnd; }),
                      state.queue.end());
}

std::vector<HWND> ChildrenOf(HWND hWnd) {
    std::vector<HWND> children;
    for (const Window& window : State().windows) {
        if (window.parent == hWnd && !window.beingDestroyed) {
            children.push_back(window.handle);
        }
    }
    return children;
}

// The real order: WM_DESTROY goes to the window, then down to its children; WM_NCDESTROY comes
// back up, the window itself last.
void DestroyWindowAndChildren(HWND hWnd) {
    Window* window = FindWindow(hWnd);
    window->beingDestroyed = true;
    if (window->visible && window->hostWindow != 0) {
        Runtime::Get().GetHost().ShowWindow(window->hostWindow, false);
    }
    window->visible = false;
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    for (HWND child : ChildrenOf(hWnd)) {
        if (FindWindow(child) != nullptr) {
            DestroyWindowAndChildren(child);
        }
    }
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    ForgetWindow(hWnd);
}

}  // namespace

HWND WINAPI CreateWindowExA(DWORD, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU, HINSTANCE, LPVOID) {
    const WindowClass* windowClass = FindClass(lpClassName);
    if (windowClass == nullptr) {
        WarnMisuse("CreateWindowExA", "no window class of that name is registered");
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (hWndParent != nullptr && FindWindow(hWndParent) == nullptr) {
        FailInvalidWindow("CreateWindowExA", hWndParent);
        return nullptr;
    }
    if (hWndParent == nullptr && (dwStyle & WS_CHILD) != 0) {
        WarnMisuse("CreateWindowExA", "WS_CHILD without a parent");
        SetLastError(kErrorTopLevelWithChildStyle);
        return nullptr;
    }

    WindowManagerState& state = State();
    Window window;
    window.handle = reinterpret_cast<HWND>(state.nextHandle);
    state.nextHandle += 4;
    window.classAtom = windowClass->atom;
    window.procedure = windowClass->procedure;
    window.parent = hWndParent;
    if (hWndParent == nullptr) {
        window.hostWindow = Runtime::Get().GetHost().CreateWindow(lpWindowName ? lpWindowName : "", X, Y, nWidth,
                                                                  nHeight);
    }
    const HWND hWnd = window.handle;
    state.windows.push_back(window);

    // The window exists (IsWindow is TRUE) while it hears about its own creation.
    if (SendMessageA(hWnd, WM_NCCREATE, 0, 0) == FALSE) {
        if (FindWindow(hWnd) != nullptr) {
            SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
            ForgetWindow(hWnd);
        }
        return nullptr;
    }
    if (SendMessageA(hWnd, WM_CREATE, 0, 0) == -1) {
        if (FindWindow(hWnd) != nullptr) {
            DestroyWindow(hWnd);
        }
        return nullptr;
    }
    if (FindWindow(hWnd) == nullptr) {
        return nullptr;  // the procedure destroyed its own window while being created
    }
    if ((dwStyle & WS_VISIBLE) != 0) {
        ShowWindow(hWnd, SW_SHOW);
    }
    return hWnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    const Window* window = FindWindow(hWnd);
    if (window == nullptr) {
        return FailInvalidWindow("DestroyWindow", hWnd);
    }
    if (!window->beingDestroyed) {  // a second call from inside WM_DESTROY has nothing left to do
        DestroyWindowAndChildren(hWnd);
    }
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    return FindWindow(hWnd) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    // Visible means the window and every ancestor have the visible style.
    for (const Window* window = FindWindow(hWnd); window != nullptr; window = FindWindow(window->parent)) {
        if (!window->visible) {
            return FALSE;
        }
        if (window->parent == nullptr) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    const Window* window = FindWindow(hWnd);
    if (window == nullptr) {
        return FailInvalidWindow("ShowWindow", hWnd);
    }
    // Every command but SW_HIDE shows the window; minimised and maximised states are not kept.
    const bool show = nCmdShow != SW_HIDE;
    const bool wasVisible = window->visible;
    if (show != wasVisible) {
        SendMessageA(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (Window* stillThere = FindWindow(hWnd); stillThere != nullptr && !stillThere->beingDestroyed) {
            stillThere->visible = show;
            if (stillThere->hostWindow != 0) {
                Runtime::Get().GetHost().ShowWindow(stillThere->hostWindow, show);
            }
        }
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    // Nothing is ever invalidated (the device presents whole frames), so there is no WM_PAINT to send.
    if (FindWindow(hWnd) == nullptr) {
        return FailInvalidWindow("UpdateWindow", hWnd);
    }
    return TRUE;
}
