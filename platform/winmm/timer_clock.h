// The arithmetic of timeGetTime, apart from the clock it reads, so that the wrap at 2^32 can be
// checked without waiting 49.7 days.
#ifndef OSTREL_PLATFORM_WINMM_TIMER_CLOCK_H
#define OSTREL_PLATFORM_WINMM_TIMER_CLOCK_H

#include <chrono>
#include <cstdint>
#include <optional>

namespace ostrel::winmm {

// The counter's value at start: OSTREL_TIMER_START when given, else the monotonic clock's
// milliseconds at that instant, truncated to 32 bits as the real counter is.
std::uint32_t TimerOriginMs(std::optional<std::uint32_t> configuredStartMs,
                            std::chrono::steady_clock::time_point startInstant);

// origin + whole milliseconds elapsed since startInstant, modulo 2^32.
std::uint32_t TimerValueMs(std::uint32_t originMs, std::chrono::steady_clock::time_point startInstant,
                           std::chrono::steady_clock::time_point now);

}  // namespace ostrel::winmm

#endif
