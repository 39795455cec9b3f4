// The main loop against the headless window manager and a mock device: messages first, a frame
// whenever the queue is empty, and an end as soon as the quit message is retrieved.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "program/direct3d_mocks.h"
#include "program/program_fixture.h"
#include "program/window_fixture.h"
#include "shell/window_proc.h"

using ::testing::_;
using ::testing::NiceMock;

namespace {

int g_messagesHandled = 0;

LRESULT CALLBACK CountingProcedure(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER) {
        ++g_messagesHandled;
        return 0;
    }
    return WindowProc(hWnd, msg, wParam, lParam);
}

class MainLoop : public ::testing::Test, public WithAWindow {
protected:
    void SetUp() override {
        g_messagesHandled = 0;
        CreateTestWindow(CountingProcedure);
        app.m_pDevice = &device;
        ON_CALL(device, Present(_, _, _, _)).WillByDefault([this](const RECT*, const RECT*, HWND, const RGNDATA*) {
            ++presented;
            if (onPresent) {
                onPresent();
            }
            return D3D_OK;
        });
    }

    void TearDown() override { app.m_pDevice = nullptr; }

    NiceMock<MockDevice8> device;
    TestApplication app;
    int presented = 0;
    std::function<void()> onPresent;
};

TEST_F(MainLoop, AQuitAlreadyWaitingStampsTheStartAndRendersNothing) {
    PostQuitMessage(0);
    FakeTimer::nowMs = 777;
    EXPECT_CALL(device, Clear(_, _, _, _, _, _)).Times(0);
    app.RunMessageLoop();
    EXPECT_EQ(app.m_startTime, 777u);
    EXPECT_EQ(app.m_frameCount, 0u);
    EXPECT_TRUE(QuitIsWaiting());  // it was only looked at, never removed
}

TEST_F(MainLoop, EscapeReleasedAfterNFramesEndsWithExactlyNFrames) {
    onPresent = [this] {
        if (presented == 5) {
            PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0);
        }
    };
    app.RunMessageLoop();
    EXPECT_EQ(app.m_frameCount, 5u);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainLoop, ABurstOfMessagesIsHandledBeforeTheNextFrame) {
    onPresent = [this] {
        if (presented == 1) {
            for (int i = 0; i < 10; ++i) {
                PostMessageA(window, WM_USER, 0, 0);
            }
        }
        if (presented == 2) {
            EXPECT_EQ(g_messagesHandled, 10);
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
    };
    app.RunMessageLoop();
    EXPECT_EQ(app.m_frameCount, 2u);
}

TEST_F(MainLoop, NoFramesWhileMessagesKeepArriving) {
    // Every handled message posts another until a hundred have been handled, then closes.
    struct Chain {
        static LRESULT CALLBACK Procedure(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
            if (msg == WM_USER) {
                if (++g_messagesHandled < 100) {
                    PostMessageA(hWnd, WM_USER, 0, 0);
                } else {
                    PostMessageA(hWnd, WM_CLOSE, 0, 0);
                }
                return 0;
            }
            return WindowProc(hWnd, msg, wParam, lParam);
        }
    };
    CreateTestWindow(Chain::Procedure);  // a fresh window manager with the chaining procedure
    PostMessageA(window, WM_USER, 0, 0);
    app.RunMessageLoop();
    EXPECT_EQ(g_messagesHandled, 100);
    EXPECT_EQ(app.m_frameCount, 0u);
}

}  // namespace
