// The queue rules the program's main loop is built on: a PM_NOREMOVE look leaves the message in
// place, PM_REMOVE takes messages in the order they were posted, and WM_QUIT comes only once
// everything before it has been taken, and only once.
#include "tests/platform/user32/user32_fixture.h"

#include <gmock/gmock.h>

namespace ostrel::user32::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

class MessageQueueTest : public User32Test {
protected:
    void SetUp() override {
        User32Test::SetUp();
        window = CreateTestWindow();
        ASSERT_NE(window, nullptr);
        TakeReceived();
    }

    HWND window = nullptr;
};

TEST_F(MessageQueueTest, NoRemoveLeavesTheMessageQueued) {
    ASSERT_TRUE(PostMessageA(window, WM_USER, 1, 2));
    for (int look = 0; look < 2; ++look) {
        MSG msg{};
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.hwnd, window);
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
        EXPECT_EQ(msg.wParam, 1u);
        EXPECT_EQ(msg.lParam, 2);
    }
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_USER, 1, 2}));
}

TEST_F(MessageQueueTest, RemoveTakesMessagesInPostingOrder) {
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    PostMessageA(window, WM_USER + 3, 0, 0);
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_USER + 1, 0, 0},
                                          ReceivedMessage{nullptr, WM_USER + 2, 0, 0},
                                          ReceivedMessage{window, WM_USER + 3, 0, 0}));
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, QuitComesAfterEveryWaitingMessageAndOnlyOnce) {
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(7);
    // Posted after the quit request, yet still retrieved before WM_QUIT, as on the real platform.
    PostMessageA(window, WM_USER + 1, 0, 0);
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{window, WM_USER, 0, 0},
                                          ReceivedMessage{window, WM_USER + 1, 0, 0},
                                          ReceivedMessage{nullptr, WM_QUIT, 7, 0}));
}

TEST_F(MessageQueueTest, NoRemoveLeavesTheQuitPending) {
    PostQuitMessage(3);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{nullptr, WM_QUIT, 3, 0}));
}

TEST_F(MessageQueueTest, AnEmptyQueueLeavesNoQuitInTheRecord) {
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_NE(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(MessageQueueTest, FiltersSelectByWindowAndRange) {
    const HWND other = CreateTestWindow("other");
    ASSERT_NE(other, nullptr);
    TakeReceived();
    struct Case {
        const char* name;
        HWND filter;
        UINT first;
        UINT last;
        std::vector<ReceivedMessage> expected;
    };
    const std::vector<Case> cases = {
        {"everything", nullptr, 0, 0,
         {{window, WM_USER, 0, 0}, {other, WM_USER + 1, 0, 0}, {nullptr, WM_USER + 2, 0, 0},
          {window, WM_KEYDOWN, 0, 0}, {nullptr, WM_QUIT, 0, 0}}},
        {"one window", window, 0, 0, {{window, WM_USER, 0, 0}, {window, WM_KEYDOWN, 0, 0}}},
        {"thread messages", kThreadMessagesOnly, 0, 0, {{nullptr, WM_USER + 2, 0, 0}, {nullptr, WM_QUIT, 0, 0}}},
        {"a range", nullptr, WM_USER + 1, WM_USER + 2, {{other, WM_USER + 1, 0, 0}, {nullptr, WM_USER + 2, 0, 0}}},
        {"keyboard only", nullptr, WM_KEYDOWN, WM_KEYUP, {{window, WM_KEYDOWN, 0, 0}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        PostMessageA(window, WM_USER, 0, 0);
        PostMessageA(other, WM_USER + 1, 0, 0);
        PostMessageA(nullptr, WM_USER + 2, 0, 0);
        PostMessageA(window, WM_KEYDOWN, 0, 0);
        PostQuitMessage(0);
        EXPECT_EQ(DrainQueue(test.filter, test.first, test.last), test.expected);
        DrainQueue();
    }
}

TEST_F(MessageQueueTest, DispatchCallsTheWindowsProcedureAndReturnsItsAnswer) {
    reaction = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return message == WM_USER ? std::optional<LRESULT>(42) : std::nullopt;
    };
    MSG msg{window, WM_USER, 5, 6, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&msg), 42);
    EXPECT_THAT(TakeReceived(), ElementsAre(ReceivedMessage{window, WM_USER, 5, 6}));
}

TEST_F(MessageQueueTest, DispatchOfAMessageWithoutALiveWindowReachesNobody) {
    MSG quit{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&quit), 0);
    ASSERT_TRUE(DestroyWindow(window));
    TakeReceived();
    MSG late{window, WM_USER, 0, 0, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&late), 0);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    EXPECT_THAT(TakeReceived(), IsEmpty());
}

TEST_F(MessageQueueTest, TranslateAcknowledgesKeyMessagesAndPostsNothing) {
    const struct {
        UINT message;
        BOOL translated;
    } cases[] = {{WM_KEYDOWN, TRUE}, {WM_KEYUP, TRUE}, {WM_SYSKEYDOWN, TRUE}, {WM_SYSKEYUP, TRUE},
                 {WM_CLOSE, FALSE}, {WM_USER, FALSE}};
    for (const auto& test : cases) {
        MSG msg{window, test.message, 'A', 1, 0, {0, 0}};
        EXPECT_EQ(TranslateMessage(&msg), test.translated) << test.message;
    }
    EXPECT_THAT(DrainQueue(), IsEmpty());
}

TEST_F(MessageQueueTest, GetMessageAnswersFalseOnlyForTheQuit) {
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(9);
    MSG msg{};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(MessageQueueTest, DestroyingAWindowDropsItsQueuedMessagesOnly) {
    const HWND other = CreateTestWindow("other");
    PostMessageA(window, WM_USER, 0, 0);
    PostMessageA(other, WM_USER + 1, 0, 0);
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_THAT(DrainQueue(), ElementsAre(ReceivedMessage{other, WM_USER + 1, 0, 0},
                                          ReceivedMessage{nullptr, WM_USER + 2, 0, 0}));
}

TEST_F(MessageQueueTest, BadArgumentsFailWithTheRealErrorCodes) {
    const HWND destroyed = CreateTestWindow("gone");
    ASSERT_TRUE(DestroyWindow(destroyed));
    MSG msg{};
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(destroyed, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_FALSE(PeekMessageA(&msg, destroyed, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_EQ(GetMessageA(&msg, destroyed, 0, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
    EXPECT_THAT(DrainQueue(), IsEmpty());
}

TEST_F(MessageQueueTest, MessagesAreStampedWithTheRuntimesClock) {
    const auto before = std::chrono::steady_clock::now() - Runtime::Get().StartInstant();
    PostMessageA(window, WM_USER, 0, 0);
    const auto after = std::chrono::steady_clock::now() - Runtime::Get().StartInstant();
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    const auto stamped = static_cast<std::int64_t>(msg.time);
    EXPECT_GE(stamped, std::chrono::duration_cast<std::chrono::milliseconds>(before).count());
    EXPECT_LE(stamped, std::chrono::duration_cast<std::chrono::milliseconds>(after).count());
}

// Escape released ends the program's loop through DestroyWindow, WM_DESTROY and PostQuitMessage,
// with no frame after it.
TEST_F(MessageQueueTest, TheProgramsLoopEndsAfterEscapeWithoutAnotherFrame) {
    ReactLikeTheProgram();
    int frames = 0;
    const int idleTurns = RunLoopLikeTheProgram([&] {
        if (++frames == 3) {
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        }
    });
    EXPECT_EQ(idleTurns, 3) << "the loop did not end after Escape";
    EXPECT_EQ(frames, 3);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace ostrel::user32::testing
