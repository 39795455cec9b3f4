#include "platform/host/refresh_schedule.h"

#include <algorithm>
#include <limits>
#include <thread>

namespace ostrel {
namespace {

constexpr std::uint64_t kNanosecondsPerSecond = 1'000'000'000;

// floor(value * numerator / denominator) without overflowing for any run length: split value
// into whole denominators and a remainder.
std::uint64_t ScaledDown(std::uint64_t value, std::uint64_t numerator, std::uint64_t denominator) {
    return (value / denominator) * numerator + (value % denominator) * numerator / denominator;
}

}  // namespace

RefreshSchedule::RefreshSchedule(std::uint32_t refreshHz) : m_refreshHz(refreshHz == 0 ? 1 : refreshHz) {}

std::chrono::nanoseconds RefreshSchedule::Period() const {
    return std::chrono::nanoseconds(kNanosecondsPerSecond / m_refreshHz);
}

std::chrono::nanoseconds RefreshSchedule::OffsetOfRefresh(std::uint64_t index) const {
    return std::chrono::nanoseconds(ScaledDown(index, kNanosecondsPerSecond, m_refreshHz));
}

std::uint64_t RefreshSchedule::FirstRefreshAfter(Clock::time_point now) const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - *m_anchor).count();
    std::uint64_t index = elapsed <= 0 ? 1 : ScaledDown(static_cast<std::uint64_t>(elapsed), m_refreshHz,
                                                        kNanosecondsPerSecond) + 1;
    // The estimate can land one short where the period is not whole nanoseconds.
    while (*m_anchor + OffsetOfRefresh(index) <= now) {
        ++index;
    }
    return index;
}

RefreshSchedule::Clock::time_point RefreshSchedule::NextDeadline(Clock::time_point now) {
    m_skipped = 0;
    if (!m_anchor) {
        m_anchor = now;
        m_index = 1;
        return now + OffsetOfRefresh(1);
    }
    ++m_index;
    const Clock::time_point deadline = *m_anchor + OffsetOfRefresh(m_index);
    if (now - deadline >= Period()) {
        // A whole refresh was missed: the display did not wait for us, so neither does the schedule.
        const std::uint64_t due = m_index;
        m_index = FirstRefreshAfter(now);
        m_skipped = m_index - due;
        return *m_anchor + OffsetOfRefresh(m_index);
    }
    return deadline;
}

std::uint32_t SleepThroughRefreshes(RefreshSchedule& schedule, std::uint32_t count) {
    std::uint64_t skipped = 0;
    for (std::uint32_t refresh = 0; refresh < count; ++refresh) {
        const RefreshSchedule::Clock::time_point deadline = schedule.NextDeadline(RefreshSchedule::Clock::now());
        skipped += schedule.SkippedByLastDeadline();
        std::this_thread::sleep_until(deadline);
    }
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(skipped, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace ostrel
