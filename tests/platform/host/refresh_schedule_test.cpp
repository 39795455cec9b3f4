// The display's refresh schedule as arithmetic: deadlines on a fixed grid from the first wait,
// no drift for rates whose period is not whole nanoseconds, and skipping ahead after a stall.
#include "platform/host/refresh_schedule.h"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

using Clock = RefreshSchedule::Clock;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

const Clock::time_point kAnchor = Clock::time_point(seconds(1000));

TEST(RefreshScheduleTest, ASecondOfRefreshesIsExactlyASecond) {
    for (const std::uint32_t hz : {1u, 24u, 59u, 60u, 75u, 144u, 165u, 1000u}) {
        SCOPED_TRACE(hz);
        const RefreshSchedule schedule(hz);
        EXPECT_EQ(schedule.OffsetOfRefresh(hz), seconds(1));
        EXPECT_EQ(schedule.OffsetOfRefresh(3600ull * hz), seconds(3600));
        EXPECT_EQ(schedule.Period(), nanoseconds(1'000'000'000 / hz));
    }
}

TEST(RefreshScheduleTest, OnTimeWaitsFollowTheGridFromTheFirstWait) {
    RefreshSchedule schedule(60);
    EXPECT_EQ(schedule.NextDeadline(kAnchor), kAnchor + schedule.OffsetOfRefresh(1));
    // Each caller arrives a little after the previous deadline, as a sleeping thread does.
    Clock::time_point deadline = kAnchor + schedule.OffsetOfRefresh(1);
    for (std::uint64_t refresh = 2; refresh <= 600; ++refresh) {
        const Clock::time_point next = schedule.NextDeadline(deadline + milliseconds(2));
        ASSERT_EQ(next, kAnchor + schedule.OffsetOfRefresh(refresh)) << refresh;
        deadline = next;
    }
    EXPECT_EQ(deadline, kAnchor + seconds(10));  // 600 refreshes at 60 Hz, not 600 truncated periods
}

TEST(RefreshScheduleTest, ACallerLateByLessThanAPeriodCatchesUpWithoutSleeping) {
    RefreshSchedule schedule(100);  // 10 ms
    schedule.NextDeadline(kAnchor);
    // Early: refresh 2 (at 20 ms) is slept for as usual.
    EXPECT_EQ(schedule.NextDeadline(kAnchor + milliseconds(15)), kAnchor + milliseconds(20));
    EXPECT_EQ(schedule.NextDeadline(kAnchor + milliseconds(29)), kAnchor + milliseconds(30));
    // 5 ms late for refresh 4 (40 ms) and then for refresh 5 (50 ms): the deadline has passed, so
    // the wait returns at once and the rate is kept instead of losing a refresh.
    EXPECT_EQ(schedule.NextDeadline(kAnchor + milliseconds(45)), kAnchor + milliseconds(40));
    EXPECT_EQ(schedule.NextDeadline(kAnchor + milliseconds(55)), kAnchor + milliseconds(50));
}

TEST(RefreshScheduleTest, ACallerLateByAPeriodOrMoreSkipsToTheNextRefreshAhead) {
    RefreshSchedule schedule(100);  // 10 ms
    schedule.NextDeadline(kAnchor);  // refresh 1 at 10 ms
    // Refresh 2 was due at 20 ms; arriving at 30 ms is a whole period late: refreshes 2 and 3 pass.
    EXPECT_EQ(schedule.NextDeadline(kAnchor + milliseconds(30)), kAnchor + milliseconds(40));
    EXPECT_EQ(schedule.SkippedByLastDeadline(), 2u);
    // A long stall: the schedule stays on its grid and resumes after it.
    EXPECT_EQ(schedule.NextDeadline(kAnchor + milliseconds(1234)), kAnchor + milliseconds(1240));
    EXPECT_EQ(schedule.SkippedByLastDeadline(), 119u);
    EXPECT_EQ(schedule.NextDeadline(kAnchor + milliseconds(1240)), kAnchor + milliseconds(1250));
    EXPECT_EQ(schedule.SkippedByLastDeadline(), 0u);
}

TEST(RefreshScheduleTest, SkippingAheadLandsOnTheGridForUnevenPeriods) {
    RefreshSchedule schedule(60);
    schedule.NextDeadline(kAnchor);
    const Clock::time_point late = kAnchor + milliseconds(1001);
    const Clock::time_point next = schedule.NextDeadline(late);
    EXPECT_GT(next, late);
    EXPECT_EQ(next, kAnchor + schedule.OffsetOfRefresh(61));
}

TEST(RefreshScheduleTest, VeryLongRunsDoNotOverflow) {
    const RefreshSchedule schedule(1000);
    const std::uint64_t aYearOfRefreshes = 1000ull * 3600 * 24 * 365;
    EXPECT_EQ(schedule.OffsetOfRefresh(aYearOfRefreshes), seconds(3600ll * 24 * 365));
}

}  // namespace
}  // namespace ostrel
