// Windows are born and die talking to their procedure synchronously, as on the real platform;
// each top-level window is backed by a host window that follows its visibility and its life.
#include "tests/platform/user32/user32_fixture.h"

#include <gmock/gmock.h>

namespace ostrel::user32::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WindowLifecycleTest : public User32Test {};

TEST_F(WindowLifecycleTest, CreationTellsTheProcedureBeforeReturning) {
    std::vector<BOOL> existedWhileTold;
    reaction = [&](HWND hWnd, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        existedWhileTold.push_back(IsWindow(hWnd));
        return std::nullopt;
    };
    const HWND window = CreateTestWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_THAT(TakeReceived(),
                ElementsAre(ReceivedMessage{window, WM_NCCREATE, 0, 0}, ReceivedMessage{window, WM_CREATE, 0, 0}));
    EXPECT_THAT(existedWhileTold, ElementsAre(TRUE, TRUE));
}

TEST_F(WindowLifecycleTest, WindowsStartHiddenWithTheirCaptionAndSize) {
    const HWND window = CreateTestWindow("Ostrel", WS_OVERLAPPEDWINDOW, nullptr, 1920, 1080);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    const HeadlessHost::WindowState* hostWindow = m_host->FindWindow(HostWindowOf(window));
    ASSERT_NE(hostWindow, nullptr);
    EXPECT_EQ(hostWindow->caption, "Ostrel");
    EXPECT_EQ(hostWindow->width, 1920);
    EXPECT_EQ(hostWindow->height, 1080);
    EXPECT_FALSE(hostWindow->visible);
}

TEST_F(WindowLifecycleTest, TheVisibleStyleShowsTheWindowAtOnce) {
    const HWND window = CreateTestWindow("shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(m_host->FindWindow(HostWindowOf(window))->visible);
}

TEST_F(WindowLifecycleTest, ShowWindowAnswersThePreviousVisibility) {
    const HWND window = CreateTestWindow();
    TakeReceived();
    const struct {
        int command;
        BOOL wasVisible;
        bool visibleAfter;
    } steps[] = {{SW_SHOWDEFAULT, FALSE, true}, {SW_SHOW, TRUE, true}, {SW_HIDE, TRUE, false}, {SW_HIDE, FALSE, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        EXPECT_EQ(ShowWindow(window, step.command), step.wasVisible);
        EXPECT_EQ(IsWindowVisible(window) != FALSE, step.visibleAfter);
        EXPECT_EQ(m_host->FindWindow(HostWindowOf(window))->visible, step.visibleAfter);
    }
    // Only a change of visibility is announced.
    EXPECT_THAT(TakeReceived(), ElementsAre(ReceivedMessage{window, WM_SHOWWINDOW, TRUE, 0},
                                            ReceivedMessage{window, WM_SHOWWINDOW, FALSE, 0}));
    EXPECT_TRUE(UpdateWindow(window));
}

TEST_F(WindowLifecycleTest, CreateAnswerOfMinusOneDestroysTheNewWindow) {
    reaction = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return message == WM_CREATE ? std::optional<LRESULT>(-1) : std::nullopt;
    };
    EXPECT_EQ(CreateTestWindow(), nullptr);
    EXPECT_THAT(TakeReceivedIds(), ElementsAre(WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY));
    EXPECT_EQ(m_host->WindowCount(), 0u);
}

TEST_F(WindowLifecycleTest, NcCreateAnswerOfFalseRefusesTheWindow) {
    reaction = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return message == WM_NCCREATE ? std::optional<LRESULT>(FALSE) : std::nullopt;
    };
    EXPECT_EQ(CreateTestWindow(), nullptr);
    EXPECT_THAT(TakeReceivedIds(), ElementsAre(WM_NCCREATE, WM_NCDESTROY));
    EXPECT_EQ(m_host->WindowCount(), 0u);
}

TEST_F(WindowLifecycleTest, DestroyWindowTellsTheProcedureBeforeReturning) {
    const HWND window = CreateTestWindow();
    const HostWindowId hostWindow = HostWindowOf(window);
    TakeReceived();
    std::vector<BOOL> existedWhileTold;
    reaction = [&](HWND hWnd, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        existedWhileTold.push_back(IsWindow(hWnd));
        return std::nullopt;
    };
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_THAT(TakeReceived(), ElementsAre(ReceivedMessage{window, WM_DESTROY, 0, 0},
                                            ReceivedMessage{window, WM_NCDESTROY, 0, 0}));
    EXPECT_THAT(existedWhileTold, ElementsAre(TRUE, TRUE));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(HostWindowOf(window), 0u);
    EXPECT_EQ(m_host->FindWindow(hostWindow), nullptr);
}

TEST_F(WindowLifecycleTest, DestroyingAgainFromWmDestroyChangesNothing) {
    const HWND window = CreateTestWindow();
    TakeReceived();
    BOOL nestedResult = FALSE;
    reaction = [&](HWND hWnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY) {
            nestedResult = DestroyWindow(hWnd);
        }
        return std::nullopt;
    };
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(nestedResult);
    EXPECT_THAT(TakeReceivedIds(), ElementsAre(WM_DESTROY, WM_NCDESTROY));
}

TEST_F(WindowLifecycleTest, DefaultProcessingOfCloseDestroysTheWindow) {
    const HWND window = CreateTestWindow();
    TakeReceived();
    ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_THAT(TakeReceivedIds(), ElementsAre(WM_CLOSE, WM_DESTROY, WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowLifecycleTest, SystemMenuCloseGoesThroughWmClose) {
    const HWND window = CreateTestWindow();
    TakeReceived();
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_THAT(TakeReceivedIds(), ElementsAre(WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY));
}

TEST_F(WindowLifecycleTest, DefaultProcessingOfOtherMessagesDoesNothing) {
    const HWND window = CreateTestWindow();
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP, WM_PAINT, WM_USER}) {
        EXPECT_EQ(DefWindowProcA(window, message, VK_ESCAPE, 0), 0) << message;
    }
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowLifecycleTest, AChildDiesWithItsParentAndDrawsIntoItsHostWindow) {
    const HWND parent = CreateTestWindow("parent");
    const HWND child = CreateTestWindow("child", WS_CHILD, parent);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(HostWindowOf(child), HostWindowOf(parent));
    EXPECT_EQ(m_host->WindowCount(), 1u);
    TakeReceived();
    ASSERT_TRUE(DestroyWindow(parent));
    EXPECT_THAT(TakeReceived(), ElementsAre(ReceivedMessage{parent, WM_DESTROY, 0, 0},
                                            ReceivedMessage{child, WM_DESTROY, 0, 0},
                                            ReceivedMessage{child, WM_NCDESTROY, 0, 0},
                                            ReceivedMessage{parent, WM_NCDESTROY, 0, 0}));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(m_host->WindowCount(), 0u);
}

TEST_F(WindowLifecycleTest, CallsOnAWindowThatIsGoneFailWithInvalidHandle) {
    const HWND destroyed = CreateTestWindow("gone");
    ASSERT_TRUE(DestroyWindow(destroyed));
    TakeReceived();
    const struct {
        const char* name;
        std::function<LRESULT(HWND)> call;
    } calls[] = {
        {"DestroyWindow", [](HWND hWnd) -> LRESULT { return DestroyWindow(hWnd); }},
        {"ShowWindow", [](HWND hWnd) -> LRESULT { return ShowWindow(hWnd, SW_SHOW); }},
        {"UpdateWindow", [](HWND hWnd) -> LRESULT { return UpdateWindow(hWnd); }},
        {"SendMessageA", [](HWND hWnd) { return SendMessageA(hWnd, WM_USER, 0, 0); }},
    };
    for (const HWND handle : {destroyed, static_cast<HWND>(nullptr)}) {
        for (const auto& test : calls) {
            SCOPED_TRACE(test.name);
            SetLastError(0);
            EXPECT_EQ(test.call(handle), 0);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        }
        EXPECT_FALSE(IsWindow(handle));
        EXPECT_FALSE(IsWindowVisible(handle));
        EXPECT_EQ(HostWindowOf(handle), 0u);
    }
    EXPECT_THAT(TakeReceived(), IsEmpty());
}

TEST_F(WindowLifecycleTest, HandlesAreNeverReusedAcrossAReset) {
    const HWND before = CreateTestWindow();
    Reinstall(Config{});
    const HWND after = CreateTestWindow();
    EXPECT_NE(before, after);
    EXPECT_FALSE(IsWindow(before));
}

}  // namespace
}  // namespace ostrel::user32::testing
