// The headless host: a fixed desktop, windows in memory, the last frame kept for inspection and
// waits that sleep to the next refresh.
#include "platform/host/headless_host.h"

#include "platform/host/host_table.h"
#include "platform/runtime/config.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ostrel {
namespace {

using ::testing::ElementsAre;

TEST(HeadlessHostTest, TheDesktopIsFullHdAtTheConfiguredRate) {
    Config config;
    config.refreshHz = 144;
    const std::unique_ptr<Host> host = CreateHeadlessHost(config);
    EXPECT_STREQ(host->Name(), "headless");
    const DesktopMode desktop = host->Desktop();
    EXPECT_EQ(desktop.width, 1920u);
    EXPECT_EQ(desktop.height, 1080u);
    EXPECT_EQ(desktop.refreshHz, 144u);
    EXPECT_NE(HeadlessHostOf(*host), nullptr);
}

TEST(HeadlessHostTest, WindowsLiveInMemory) {
    HeadlessHost host(60);
    const HostWindowId first = host.CreateWindow("first", 10, 20, 300, 200);
    const HostWindowId second = host.CreateWindow("second", 0, 0, 1, 1);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    ASSERT_NE(host.FindWindow(first), nullptr);
    EXPECT_FALSE(host.FindWindow(first)->visible);
    host.ShowWindow(first, true);
    EXPECT_TRUE(host.FindWindow(first)->visible);

    host.SetFullscreen(first, true);
    const HeadlessHost::WindowState* state = host.FindWindow(first);
    EXPECT_TRUE(state->fullscreen);
    EXPECT_EQ(state->width, 1920);
    EXPECT_EQ(state->height, 1080);

    host.DestroyWindow(first);
    EXPECT_EQ(host.FindWindow(first), nullptr);
    EXPECT_EQ(host.WindowCount(), 1u);
    host.ShowWindow(first, true);  // a stale id is ignored
    EXPECT_EQ(host.WindowCount(), 1u);
}

TEST(HeadlessHostTest, KeepsACopyOfTheLastFrameWithoutItsRowPadding) {
    HeadlessHost host(60);
    const HostWindowId window = host.CreateWindow("frame", 0, 0, 3, 2);
    EXPECT_EQ(host.LastFrame().pixels, nullptr);
    // Two rows of three pixels, each row padded to four.
    std::vector<std::uint32_t> source = {1, 2, 3, 0xDEAD, 4, 5, 6, 0xBEEF};
    host.PresentFrame(window, FrameView{source.data(), 3, 2, 4 * sizeof(std::uint32_t)}, 0);
    source.assign(source.size(), 0);  // the host must not point into the caller's memory

    const FrameView last = host.LastFrame();
    ASSERT_NE(last.pixels, nullptr);
    EXPECT_EQ(last.width, 3u);
    EXPECT_EQ(last.height, 2u);
    EXPECT_EQ(last.pitchBytes, 3 * sizeof(std::uint32_t));
    EXPECT_THAT(std::vector<std::uint32_t>(last.pixels, last.pixels + 6), ElementsAre(1, 2, 3, 4, 5, 6));
    EXPECT_EQ(host.LastFrameWindow(), window);
    EXPECT_EQ(host.FramesPresented(), 1u);
}

TEST(HeadlessHostTest, FramesOfTheSameSizeReuseTheBuffer) {
    HeadlessHost host(60);
    const HostWindowId window = host.CreateWindow("frame", 0, 0, 64, 64);
    std::vector<std::uint32_t> source(64 * 64, 7);
    const FrameView frame{source.data(), 64, 64, 64 * sizeof(std::uint32_t)};
    host.PresentFrame(window, frame, 0);
    const std::uint32_t* buffer = host.LastFrame().pixels;
    host.PresentFrame(window, frame, 0);
    host.PresentFrame(window, FrameView{source.data(), 32, 32, 64 * sizeof(std::uint32_t)}, 0);
    EXPECT_EQ(host.LastFrame().pixels, buffer);
    EXPECT_EQ(host.FramesPresented(), 3u);
}

TEST(HeadlessHostTest, FramesForNoWindowOrWithoutPixelsAreIgnored) {
    HeadlessHost host(60);
    std::uint32_t pixel = 1;
    host.PresentFrame(42, FrameView{&pixel, 1, 1, 4}, 0);
    const HostWindowId window = host.CreateWindow("frame", 0, 0, 1, 1);
    host.PresentFrame(window, FrameView{nullptr, 1, 1, 4}, 0);
    host.PresentFrame(window, FrameView{&pixel, 0, 1, 4}, 0);
    EXPECT_EQ(host.FramesPresented(), 0u);
    EXPECT_EQ(host.LastFrame().pixels, nullptr);
}

TEST(HeadlessHostTest, QueuedEventsAreDeliveredOnceInOrder) {
    HeadlessHost host(60);
    host.QueueEvent({HostEventKind::KeyDown, 1, 0x1B, false});
    host.QueueEvent({HostEventKind::Close, 1, 0, false});
    std::vector<HostEventKind> delivered;
    const auto collect = [&](const HostEvent& event) { delivered.push_back(event.kind); };
    host.PumpEvents(collect);
    host.PumpEvents(collect);
    EXPECT_THAT(delivered, ElementsAre(HostEventKind::KeyDown, HostEventKind::Close));
}

// The waits sleep until refreshes on a grid anchored at the first wait, so n refreshes cannot
// pass before n periods have. Only that lower bound is asserted: it holds on any machine.
TEST(HeadlessHostTest, PacedPresentsLastAtLeastTheirRefreshes) {
    HeadlessHost host(1000);
    const HostWindowId window = host.CreateWindow("frame", 0, 0, 1, 1);
    std::uint32_t pixel = 1;
    const auto start = std::chrono::steady_clock::now();
    host.PresentFrame(window, FrameView{&pixel, 1, 1, 4}, 2);
    host.PresentFrame(window, FrameView{&pixel, 1, 1, 4}, 3);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5));
}

TEST(HeadlessHostTest, AnImmediatePresentNeverWaits) {
    HeadlessHost host(1);  // a refresh a second: any wait would be plain to see
    const HostWindowId window = host.CreateWindow("frame", 0, 0, 1, 1);
    std::uint32_t pixel = 1;
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(host.PresentFrame(window, FrameView{&pixel, 1, 1, 4}, 0).missedRefreshes, 0u);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
}

}  // namespace
}  // namespace ostrel
