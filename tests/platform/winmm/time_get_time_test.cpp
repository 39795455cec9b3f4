// timeGetTime: milliseconds since the runtime started, from a chosen or the clock's origin,
// wrapping at 2^32 like the real counter.
#include <mmsystem.h>

#include "platform/host/host_table.h"
#include "platform/runtime/runtime.h"
#include "platform/winmm/timer_clock.h"

#include <gtest/gtest.h>

#include <thread>

namespace ostrel::winmm {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(TimerClockTest, CountsWholeMillisecondsAndWrapsAtTwoToThe32) {
    const steady_clock::time_point start = steady_clock::time_point(std::chrono::hours(5));
    const struct {
        std::uint32_t origin;
        steady_clock::duration elapsed;
        std::uint32_t expected;
    } cases[] = {
        {0, milliseconds(0), 0},
        {1000, milliseconds(250), 1250},
        {1000, std::chrono::microseconds(1999), 1001},  // partial milliseconds do not count yet
        {0xFFFFFFF0u, milliseconds(15), 0xFFFFFFFFu},
        {0xFFFFFFF0u, milliseconds(16), 0},
        {0xFFFFFFF0u, milliseconds(116), 100},
        {5, milliseconds(0x100000000ll), 5},  // 49.7 days later, the same value
    };
    for (const auto& test : cases) {
        EXPECT_EQ(TimerValueMs(test.origin, start, start + test.elapsed), test.expected)
            << test.origin << " + " << std::chrono::duration_cast<milliseconds>(test.elapsed).count();
    }
}

TEST(TimerClockTest, TheOriginIsTheSettingOrElseTheClockTruncated) {
    const steady_clock::time_point start = steady_clock::time_point(milliseconds(0x1'0000'0123ll));
    EXPECT_EQ(TimerOriginMs(std::nullopt, start), 0x123u);
    EXPECT_EQ(TimerOriginMs(77u, start), 77u);
}

TEST(TimeGetTimeTest, RunsAcrossTheWrapFromAConfiguredStart) {
    Config config;
    config.host = HostChoice::Headless;
    config.timerStartMs = 0xFFFFFFF0u;
    Runtime::Install(config, CreateHeadlessHost(config));
    const DWORD before = timeGetTime();
    std::this_thread::sleep_for(milliseconds(20));
    const DWORD after = timeGetTime();
    // At least 20 ms passed, so the counter went past 2^32; differences still read right.
    EXPECT_LT(after, 0x7FFFFFFFu);
    EXPECT_GE(static_cast<DWORD>(after - before), 20u);
}

}  // namespace
}  // namespace ostrel::winmm
