// The display's refreshes as an absolute schedule: refresh k falls at anchor + k periods, the
// anchor being the first wait. Deadlines are computed from k each time rather than accumulated, so
// a period that is not a whole number of nanoseconds (60 Hz) does not drift; a caller late by a
// whole period or more skips to the next refresh still ahead, as a real display would.
#ifndef OSTREL_PLATFORM_HOST_REFRESH_SCHEDULE_H
#define OSTREL_PLATFORM_HOST_REFRESH_SCHEDULE_H

#include <chrono>
#include <cstdint>
#include <optional>

namespace ostrel {

class RefreshSchedule {
public:
    using Clock = std::chrono::steady_clock;

    explicit RefreshSchedule(std::uint32_t refreshHz);

    // The refresh to wait for, given the time now. Pure arithmetic: it reads no clock.
    Clock::time_point NextDeadline(Clock::time_point now);

    // Refreshes the last NextDeadline passed over because its caller came a whole period or more
    // late; 0 when it kept to the grid.
    std::uint64_t SkippedByLastDeadline() const { return m_skipped; }

    // One period, truncated to whole nanoseconds (deadlines themselves are exact to the nanosecond).
    std::chrono::nanoseconds Period() const;

    // Offset of refresh k from the anchor: floor(k * 1e9 / refreshHz) nanoseconds.
    std::chrono::nanoseconds OffsetOfRefresh(std::uint64_t index) const;

private:
    std::uint64_t FirstRefreshAfter(Clock::time_point now) const;

    std::uint32_t m_refreshHz;
    std::optional<Clock::time_point> m_anchor;
    std::uint64_t m_index = 0;
    std::uint64_t m_skipped = 0;
};

// Sleeps until the count-th refresh of the schedule ahead and returns how many refreshes were
// skipped on the way because the caller came late (the present's missed refreshes).
std::uint32_t SleepThroughRefreshes(RefreshSchedule& schedule, std::uint32_t count);

}  // namespace ostrel

#endif
