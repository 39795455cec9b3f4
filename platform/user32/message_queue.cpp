// The thread's message queue. Posted messages are kept in arrival order; WM_QUIT is not a queued
// message but a flag, retrieved only when no other message matching the filter is waiting, and
// removed by the first PM_REMOVE that retrieves it — the real platform's rules.
#include <windows.h>

#include "platform/runtime/diagnostics.h"
#include "platform/user32/window_manager_state.h"

#include <chrono>
#include <thread>

using namespace ostrel;
using namespace ostrel::user32;

namespace {

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

bool InRange(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0) {
        return true;
    }
    // A reversed range wraps around, as the real platform reads it.
    return first <= last ? (message >= first && message <= last) : (message >= first || message <= last);
}

bool IsSameOrDescendant(HWND candidate, HWND ancestor) {
    for (const Window* window = FindWindow(candidate); window != nullptr; window = FindWindow(window->parent)) {
        if (window->handle == ancestor) {
            return true;
        }
    }
    return false;
}

bool MatchesWindow(HWND messageWindow, HWND filter) {
    if (filter == nullptr) {
        return true;
    }
    if (filter == kThreadMessagesOnly) {
        return messageWindow == nullptr;
    }
    return messageWindow != nullptr && IsSameOrDescendant(messageWindow, filter);
}

bool IsValidWindowFilter(HWND filter) {
    return filter == nullptr || filter == kThreadMessagesOnly || FindWindow(filter) != nullptr;
}

bool TakeMessage(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
    WindowManagerState& state = State();
    for (auto queued = state.queue.begin(); queued != state.queue.end(); ++queued) {
        if (MatchesWindow(queued->hwnd, filter) && InRange(queued->message, first, last)) {
            *out = *queued;
            if (remove) {
                state.queue.erase(queued);
            }
            return true;
        }
    }
    // WM_QUIT belongs to the thread, so a filter naming a window never sees it.
    if (state.quitPosted && (filter == nullptr || filter == kThreadMessagesOnly) && InRange(WM_QUIT, first, last)) {
        EnqueueMessage(nullptr, WM_QUIT, static_cast<WPARAM>(state.quitExitCode), 0);
        *out = state.queue.back();  // stamped like any other message
        state.queue.pop_back();
        if (remove) {
            state.quitPosted = false;
        }
        return true;
    }
    return false;
}

}  // namespace

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd != nullptr && FindWindow(hWnd) == nullptr) {
        return FailInvalidWindow("PostMessageA", hWnd);
    }
    EnqueueMessage(hWnd, Msg, wParam, lParam);
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    WindowManagerState& state = State();
    state.quitPosted = true;
    state.quitExitCode = nExitCode;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (lpMsg == nullptr) {
        WarnMisuse("PeekMessageA", "null message record");
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!IsValidWindowFilter(hWnd)) {
        return FailInvalidWindow("PeekMessageA", hWnd);
    }
    FeedQueue();
    return TakeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr) {
        WarnMisuse("GetMessageA", "null message record");
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    while (true) {
        // Checked on every turn: the window may be destroyed while we wait for its messages.
        if (!IsValidWindowFilter(hWnd)) {
            FailInvalidWindow("GetMessageA", hWnd);
            return -1;
        }
        FeedQueue();
        if (TakeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) {
            return lpMsg->message == WM_QUIT ? FALSE : TRUE;
        }
        // Nothing to wake us but the host's events and the frame count, so look again shortly.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
