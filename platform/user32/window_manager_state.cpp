#include "platform/user32/window_manager_state.h"

#include "platform/runtime/diagnostics.h"
#include "platform/runtime/runtime.h"
#include "platform/user32/window_table.h"

#include <algorithm>
#include <cctype>

namespace ostrel::user32 {
namespace {

// Class names compare without regard to case on the real platform.
bool SameClassName(const std::string& registered, LPCSTR wanted) {
    const std::size_t length = std::strlen(wanted);
    return registered.size() == length &&
           std::equal(registered.begin(), registered.end(), wanted, [](char left, char right) {
               return std::tolower(static_cast<unsigned char>(left)) == std::tolower(static_cast<unsigned char>(right));
           });
}

}  // namespace

WindowManagerState& State() {
    static WindowManagerState state;
    return state;
}

Window* FindWindow(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    auto& windows = State().windows;
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [hWnd](const Window& window) { return window.handle == hWnd; });
    return found == windows.end() ? nullptr : &*found;
}

const WindowClass* FindClass(LPCSTR name) {
    if (name == nullptr) {
        return nullptr;
    }
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    for (const WindowClass& windowClass : State().classes) {
        // A "name" below 0x10000 is an atom (MAKEINTATOM), as the real platform reads it.
        if (value <= 0xFFFF ? windowClass.atom == value : SameClassName(windowClass.name, name)) {
            return &windowClass;
        }
    }
    return nullptr;
}

BOOL FailInvalidWindow(const char* function, HWND hWnd) {
    WarnMisuse(function, "%p is not a window", static_cast<void*>(hWnd));
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
}

void EnqueueMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto elapsed = std::chrono::steady_clock::now() - Runtime::Get().StartInstant();
    MSG queued{};
    queued.hwnd = hWnd;
    queued.message = message;
    queued.wParam = wParam;
    queued.lParam = lParam;
    queued.time = static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    State().queue.push_back(queued);
}

HostWindowId HostWindowOf(HWND hWnd) {
    const Window* window = FindWindow(hWnd);
    // A child draws into its top-level ancestor's host window.
    while (window != nullptr && window->parent != nullptr) {
        window = FindWindow(window->parent);
    }
    return window == nullptr ? 0 : window->hostWindow;
}

void ResetForTests() {
    WindowManagerState& state = State();
    const std::uintptr_t nextHandle = state.nextHandle;
    // The host's windows are left alone: the test has usually installed a new host already.
    state = WindowManagerState{};
    state.nextHandle = nextHandle;
}

}  // namespace ostrel::user32
