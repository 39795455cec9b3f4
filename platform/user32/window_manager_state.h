// The window manager's bookkeeping, shared by the files of user32: registered classes, live
// windows in creation order and the thread's message queue. Single-threaded like the program.
// Window procedures may re-enter any API while called, so code never holds a reference into
// these containers across a call to one: it looks the window up again afterwards.
#ifndef OSTREL_PLATFORM_USER32_WINDOW_MANAGER_STATE_H
#define OSTREL_PLATFORM_USER32_WINDOW_MANAGER_STATE_H

#include <windows.h>

#include "platform/host/host.h"

#include <bitset>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace ostrel::user32 {

struct WindowClass {
    ATOM atom = 0;
    std::string name;
    WNDPROC procedure = nullptr;
    UINT style = 0;
    HINSTANCE instance = nullptr;
};

struct Window {
    HWND handle = nullptr;
    ATOM classAtom = 0;
    WNDPROC procedure = nullptr;
    HWND parent = nullptr;  // null for a top-level window
    HostWindowId hostWindow = 0;  // top-level windows only
    bool visible = false;
    bool beingDestroyed = false;  // between WM_DESTROY and the handle going invalid
};

struct WindowManagerState {
    std::vector<WindowClass> classes;
    std::vector<Window> windows;  // creation order: scripted input goes to the first top-level one
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitExitCode = 0;
    bool closeRequestPending = false;  // a signal arrived; waits for a top-level window
    std::size_t nextScriptedInput = 0;
    std::bitset<256> scriptedKeysDown;  // so a second scripted press reads as auto-repeat
    ATOM nextAtom = 0xC000;  // where the real platform's string atoms start
    // Never reset, so a handle from an earlier test case can never name a later window.
    std::uintptr_t nextHandle = 0x10010;
};

WindowManagerState& State();

Window* FindWindow(HWND hWnd);
const WindowClass* FindClass(LPCSTR name);  // by name (any case) or by atom (MAKEINTATOM)

// The misuse of naming a window that does not exist: a warning, ERROR_INVALID_WINDOW_HANDLE, FALSE.
BOOL FailInvalidWindow(const char* function, HWND hWnd);

// Appends a message to the queue, stamped with the time since the runtime started.
void EnqueueMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Moves host events, a signal's close request and due scripted input into the queue.
void FeedQueue();

}  // namespace ostrel::user32

#endif
