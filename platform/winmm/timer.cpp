#include <mmsystem.h>

#include "platform/runtime/runtime.h"
#include "platform/winmm/timer_clock.h"

namespace ostrel::winmm {

std::uint32_t TimerOriginMs(std::optional<std::uint32_t> configuredStartMs,
                            std::chrono::steady_clock::time_point startInstant) {
    if (configuredStartMs) {
        return *configuredStartMs;
    }
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(startInstant.time_since_epoch());
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(sinceEpoch.count()));
}

std::uint32_t TimerValueMs(std::uint32_t originMs, std::chrono::steady_clock::time_point startInstant,
                           std::chrono::steady_clock::time_point now) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - startInstant);
    // Unsigned arithmetic wraps at 2^32 exactly as the real counter does.
    return originMs + static_cast<std::uint32_t>(static_cast<std::uint64_t>(elapsed.count()));
}

}  // namespace ostrel::winmm

DWORD WINAPI timeGetTime(void) {
    const ostrel::Runtime& runtime = ostrel::Runtime::Get();
    const std::chrono::steady_clock::time_point start = runtime.StartInstant();
    return ostrel::winmm::TimerValueMs(ostrel::winmm::TimerOriginMs(runtime.GetConfig().timerStartMs, start), start,
                                       std::chrono::steady_clock::now());
}
