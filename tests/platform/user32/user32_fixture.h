// The window manager's tests share this: a fresh runtime on the headless host per case, one
// registered class whose procedure records every message it is sent, and a hook through which
// a case decides how the procedure answers.
#ifndef OSTREL_TESTS_PLATFORM_USER32_USER32_FIXTURE_H
#define OSTREL_TESTS_PLATFORM_USER32_USER32_FIXTURE_H

#include <windows.h>

#include "platform/host/headless_host.h"
#include "platform/runtime/runtime.h"
#include "platform/user32/window_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace ostrel::user32::testing {

struct ReceivedMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;

    bool operator==(const ReceivedMessage& other) const {
        return window == other.window && message == other.message && wParam == other.wParam &&
               lParam == other.lParam;
    }
};

inline std::ostream& operator<<(std::ostream& out, const ReceivedMessage& received) {
    return out << "{" << static_cast<const void*>(received.window) << ", 0x" << std::hex << received.message
               << ", " << received.wParam << ", " << received.lParam << std::dec << "}";
}

inline constexpr const char* kTestClassName = "OstrelUser32Test";

class User32Test : public ::testing::Test {
protected:
    // Answers a message instead of DefWindowProcA when it returns a value.
    using Reaction = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

    void SetUp() override { Reinstall(Config{}); }

    void TearDown() override {
        ResetForTests();
        s_current = nullptr;
    }

    void Reinstall(Config config) {
        config.host = HostChoice::Headless;
        auto host = std::make_unique<HeadlessHost>(config.refreshHz);
        m_host = host.get();
        Runtime::Install(std::move(config), std::move(host));
        ResetForTests();
        s_current = this;
        received.clear();

        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = RecordingProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kTestClassName;
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
    }

    HWND CreateTestWindow(const char* caption = "test", DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr,
                          int width = 640, int height = 480) {
        return CreateWindowExA(0, kTestClassName, caption, style, 0, 0, width, height, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    // The messages received so far, forgotten afterwards.
    std::vector<ReceivedMessage> TakeReceived() {
        std::vector<ReceivedMessage> taken;
        taken.swap(received);
        return taken;
    }

    // Every message PeekMessageA with PM_REMOVE hands out, until none is left.
    static std::vector<ReceivedMessage> DrainQueue(HWND filter = nullptr, UINT first = 0, UINT last = 0) {
        std::vector<ReceivedMessage> drained;
        MSG msg{};
        while (PeekMessageA(&msg, filter, first, last, PM_REMOVE)) {
            drained.push_back({msg.hwnd, msg.message, msg.wParam, msg.lParam});
        }
        return drained;
    }

    std::vector<UINT> TakeReceivedIds() {
        std::vector<UINT> ids;
        for (const ReceivedMessage& message : TakeReceived()) {
            ids.push_back(message.message);
        }
        return ids;
    }

    // The program's window procedure: Escape released destroys the window, whose destruction
    // posts the quit message.
    void ReactLikeTheProgram() {
        reaction = [](HWND hWnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_DESTROY) {
                PostQuitMessage(0);
                return 0;
            }
            if (message == WM_KEYUP && wParam == VK_ESCAPE) {
                DestroyWindow(hWnd);
                return 0;
            }
            return std::nullopt;
        };
    }

    // The program's loop: look once without removing; then, until WM_QUIT, take one message and
    // dispatch it, or call onIdle (where the program renders) when none is waiting. Gives up after
    // maxIdleTurns idle turns; returns how many there were.
    static int RunLoopLikeTheProgram(const std::function<void()>& onIdle, int maxIdleTurns = 100) {
        int idleTurns = 0;
        MSG msg{};
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        while (msg.message != WM_QUIT && idleTurns < maxIdleTurns) {
            if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            } else {
                ++idleTurns;
                onIdle();
            }
        }
        return idleTurns;
    }

    HeadlessHost* m_host = nullptr;
    std::vector<ReceivedMessage> received;
    Reaction reaction;

private:
    static LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        User32Test* test = s_current;
        test->received.push_back({window, message, wParam, lParam});
        if (test->reaction) {
            if (const std::optional<LRESULT> answer = test->reaction(window, message, wParam, lParam)) {
                return *answer;
            }
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static inline User32Test* s_current = nullptr;
};

}  // namespace ostrel::user32::testing

#endif
