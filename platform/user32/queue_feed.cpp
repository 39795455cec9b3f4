// What arrives in the queue without being posted by the program: the host's keyboard and close
// events, a close request raised by SIGINT or SIGTERM, and the scripted input of OSTREL_INPUT.
// The queue is fed each time the program looks at it, which on a single thread is the only
// moment a message could be noticed anyway.
#include <windows.h>

#include "platform/runtime/runtime.h"
#include "platform/user32/window_manager_state.h"

using namespace ostrel;
using namespace ostrel::user32;

namespace {

// lParam of a key message: repeat count in bits 0-15, scan code 16-23 (none here), the previous
// key state in bit 30 and the transition state in bit 31 (set on release).
constexpr DWORD kRepeatCountOne = 1;
constexpr DWORD kKeyWasDown = 1u << 30;
constexpr DWORD kKeyIsReleasing = 1u << 31;

LPARAM KeyDownParameter(bool repeat) {
    return static_cast<LPARAM>(kRepeatCountOne | (repeat ? kKeyWasDown : 0));
}

LPARAM KeyUpParameter() {
    return static_cast<LPARAM>(kRepeatCountOne | kKeyWasDown | kKeyIsReleasing);
}

bool IsLiveTopLevel(const Window& window) {
    return window.parent == nullptr && !window.beingDestroyed;
}

HWND WindowOfHostWindow(HostWindowId hostWindow) {
    for (const Window& window : State().windows) {
        if (IsLiveTopLevel(window) && window.hostWindow == hostWindow) {
            return window.handle;
        }
    }
    return nullptr;
}

HWND FirstTopLevelWindow() {
    for (const Window& window : State().windows) {
        if (IsLiveTopLevel(window)) {
            return window.handle;
        }
    }
    return nullptr;
}

void EnqueueHostEvent(const HostEvent& event) {
    const HWND target = WindowOfHostWindow(event.window);
    if (target == nullptr) {
        return;  // the window went away before its event was read
    }
    switch (event.kind) {
    case HostEventKind::KeyDown:
        EnqueueMessage(target, WM_KEYDOWN, event.virtualKey, KeyDownParameter(event.repeat));
        break;
    case HostEventKind::KeyUp:
        EnqueueMessage(target, WM_KEYUP, event.virtualKey, KeyUpParameter());
        break;
    case HostEventKind::Close:
        EnqueueMessage(target, WM_CLOSE, 0, 0);
        break;
    }
}

void EnqueuePendingCloseRequest(WindowManagerState& state) {
    if (Runtime::TakeCloseRequest()) {
        state.closeRequestPending = true;
    }
    if (!state.closeRequestPending) {
        return;
    }
    for (const Window& window : state.windows) {
        if (IsLiveTopLevel(window)) {
            EnqueueMessage(window.handle, WM_CLOSE, 0, 0);
            state.closeRequestPending = false;
        }
    }
}

void EnqueueDueScriptedInput(WindowManagerState& state, Runtime& runtime) {
    const std::vector<InputEvent>& script = runtime.GetConfig().input;
    while (state.nextScriptedInput < script.size() &&
           runtime.PresentedFrames() >= script[state.nextScriptedInput].afterFrames) {
        const HWND target = FirstTopLevelWindow();
        if (target == nullptr) {
            return;  // kept until the program has a window to receive it
        }
        const InputEvent& event = script[state.nextScriptedInput++];
        const std::uint32_t key = event.virtualKey & 0xFF;
        switch (event.kind) {
        case InputEventKind::KeyDown:
            EnqueueMessage(target, WM_KEYDOWN, key, KeyDownParameter(state.scriptedKeysDown.test(key)));
            state.scriptedKeysDown.set(key);
            break;
        case InputEventKind::KeyUp:
            EnqueueMessage(target, WM_KEYUP, key, KeyUpParameter());
            state.scriptedKeysDown.reset(key);
            break;
        case InputEventKind::Close:
            EnqueueMessage(target, WM_CLOSE, 0, 0);
            break;
        }
    }
}

}  // namespace

namespace ostrel::user32 {

void FeedQueue() {
    Runtime& runtime = Runtime::Get();
    WindowManagerState& state = State();
    runtime.GetHost().PumpEvents(EnqueueHostEvent);
    EnqueuePendingCloseRequest(state);
    EnqueueDueScriptedInput(state, runtime);
}

}  // namespace ostrel::user32
