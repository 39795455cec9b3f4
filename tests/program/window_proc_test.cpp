// The main window's procedure: what ends the run and what does not.
#include <gtest/gtest.h>

#include "program/window_fixture.h"
#include "shell/window_proc.h"

namespace {

struct KeyCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool endsTheRun;
};

class MainWindowProcedure : public ::testing::TestWithParam<KeyCase>, public WithAWindow {};

TEST_P(MainWindowProcedure, OnlyEscapeReleasedOrACloseEndsTheRun) {
    const KeyCase& c = GetParam();
    CreateTestWindow(WindowProc);
    EXPECT_EQ(SendMessageA(window, c.message, c.wParam, 0), 0);
    EXPECT_EQ(IsWindow(window) == FALSE, c.endsTheRun);
    EXPECT_EQ(QuitIsWaiting(), c.endsTheRun);
}

INSTANTIATE_TEST_SUITE_P(Messages, MainWindowProcedure,
                         ::testing::Values(KeyCase{"EscapeReleased", WM_KEYUP, VK_ESCAPE, true},
                                           KeyCase{"EscapePressed", WM_KEYDOWN, VK_ESCAPE, false},
                                           KeyCase{"OtherKeyReleased", WM_KEYUP, VK_SPACE, false},
                                           KeyCase{"LetterReleased", WM_KEYUP, 'A', false},
                                           KeyCase{"CloseButtonOrAltF4", WM_CLOSE, 0, true}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

class MainWindowDestruction : public ::testing::Test, public WithAWindow {};

TEST_F(MainWindowDestruction, PostsTheQuitMessage) {
    CreateTestWindow(WindowProc);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(QuitIsWaiting());
}

}  // namespace
