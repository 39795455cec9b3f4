// What reaches the queue without the program posting it: the host's key and close events, a
// close request raised by SIGINT or SIGTERM, and scripted input keyed to presented frames.
#include "tests/platform/user32/user32_fixture.h"

#include <gmock/gmock.h>

namespace ostrel::user32::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr LPARAM kFreshPress = 0x00000001;     // repeat count 1
constexpr LPARAM kRepeatedPress = 0x40000001;  // ... key already down
constexpr LPARAM kRelease = 0xC0000001;        // ... key was down, now released

class QueueFeedTest : public User32Test {
protected:
    void InstallScript(std::vector<InputEvent> script) {
        Config config;
        config.input = std::move(script);
        Reinstall(std::move(config));
    }

    static void PresentFrames(int count) {
        for (int frame = 0; frame < count; ++frame) {
            Runtime::Get().NotePresentedFrame();
        }
    }
};

TEST_F(QueueFeedTest, HostEventsBecomeKeyAndCloseMessages) {
    const HWND window = CreateTestWindow();
    const HostWindowId hostWindow = HostWindowOf(window);
    m_host->QueueEvent({HostEventKind::KeyDown, hostWindow, VK_SPACE, false});
    m_host->QueueEvent({HostEventKind::KeyDown, hostWindow, VK_SPACE, true});
    m_host->QueueEvent({HostEventKind::KeyUp, hostWindow, VK_SPACE, false});
    m_host->QueueEvent({HostEventKind::KeyUp, hostWindow + 100, VK_ESCAPE, false});  // no such window
    m_host->QueueEvent({HostEventKind::Close, hostWindow, 0, false});
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_KEYDOWN, VK_SPACE, kFreshPress},
                                          ReceivedMessage{window, WM_KEYDOWN, VK_SPACE, kRepeatedPress},
                                          ReceivedMessage{window, WM_KEYUP, VK_SPACE, kRelease},
                                          ReceivedMessage{window, WM_CLOSE, 0, 0}));
}

TEST_F(QueueFeedTest, ASignalClosesEveryTopLevelWindowOnce) {
    const HWND first = CreateTestWindow("first");
    const HWND second = CreateTestWindow("second");
    const HWND child = CreateTestWindow("child", WS_CHILD, first);
    ASSERT_NE(child, nullptr);
    Runtime::RequestCloseFromSignal();
    EXPECT_THAT(DrainQueue(),
                ElementsAre(ReceivedMessage{first, WM_CLOSE, 0, 0}, ReceivedMessage{second, WM_CLOSE, 0, 0}));
    EXPECT_THAT(DrainQueue(), IsEmpty());
}

TEST_F(QueueFeedTest, ASignalBeforeAnyWindowWaitsForOne) {
    Runtime::RequestCloseFromSignal();
    EXPECT_THAT(DrainQueue(), IsEmpty());
    const HWND window = CreateTestWindow();
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_CLOSE, 0, 0}));
}

TEST_F(QueueFeedTest, ASignalClosesTheProgramThroughDefaultProcessing) {
    const HWND window = CreateTestWindow();
    Runtime::RequestCloseFromSignal();
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(QueueFeedTest, ScriptedInputIsPostedOnceItsFrameHasBeenPresented) {
    InstallScript({{0, InputEventKind::KeyDown, 'A'},
                   {2, InputEventKind::KeyUp, VK_ESCAPE},
                   {2, InputEventKind::Close, 0},
                   {5, InputEventKind::KeyUp, 'A'}});
    const HWND window = CreateTestWindow();
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_KEYDOWN, 'A', kFreshPress}));
    PresentFrames(1);
    EXPECT_THAT(DrainQueue(), IsEmpty());
    PresentFrames(1);
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_KEYUP, VK_ESCAPE, kRelease},
                                          ReceivedMessage{window, WM_CLOSE, 0, 0}));
    PresentFrames(10);
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_KEYUP, 'A', kRelease}));
    PresentFrames(10);
    EXPECT_THAT(DrainQueue(), IsEmpty());
}

TEST_F(QueueFeedTest, ScriptedInputKeepsItsOrderEvenWhenFramesDoNot) {
    InstallScript({{3, InputEventKind::KeyDown, 'B'}, {1, InputEventKind::KeyDown, 'C'}});
    const HWND window = CreateTestWindow();
    PresentFrames(1);
    EXPECT_THAT(DrainQueue(), IsEmpty());
    PresentFrames(2);
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_KEYDOWN, 'B', kFreshPress},
                                          ReceivedMessage{window, WM_KEYDOWN, 'C', kFreshPress}));
}

TEST_F(QueueFeedTest, ScriptedInputWaitsForAWindowAndGoesToTheFirstOne) {
    InstallScript({{0, InputEventKind::KeyDown, VK_F1}});
    EXPECT_THAT(DrainQueue(), IsEmpty());
    const HWND first = CreateTestWindow("first");
    CreateTestWindow("second");
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{first, WM_KEYDOWN, VK_F1, kFreshPress}));
}

TEST_F(QueueFeedTest, AScriptedKeyPressedTwiceRepeats) {
    InstallScript({{0, InputEventKind::KeyDown, VK_SPACE},
                   {0, InputEventKind::KeyDown, VK_SPACE},
                   {0, InputEventKind::KeyUp, VK_SPACE},
                   {0, InputEventKind::KeyDown, VK_SPACE}});
    const HWND window = CreateTestWindow();
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_KEYDOWN, VK_SPACE, kFreshPress},
                                          ReceivedMessage{window, WM_KEYDOWN, VK_SPACE, kRepeatedPress},
                                          ReceivedMessage{window, WM_KEYUP, VK_SPACE, kRelease},
                                          ReceivedMessage{window, WM_KEYDOWN, VK_SPACE, kFreshPress}));
}

// A run of the program's loop where frames are counted as presented: scripted Escape released
// after three frames ends it with exactly three frames shown.
TEST_F(QueueFeedTest, ScriptedEscapeEndsTheLoopAfterItsFrame) {
    InstallScript({{3, InputEventKind::KeyDown, VK_ESCAPE}, {3, InputEventKind::KeyUp, VK_ESCAPE}});
    const HWND window = CreateTestWindow();
    ReactLikeTheProgram();
    ShowWindow(window, SW_SHOWDEFAULT);
    RunLoopLikeTheProgram([] { Runtime::Get().NotePresentedFrame(); });
    EXPECT_EQ(Runtime::Get().PresentedFrames(), 3u);
}

}  // namespace
}  // namespace ostrel::user32::testing
