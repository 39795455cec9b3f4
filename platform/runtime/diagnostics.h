// The platform's diagnostic channel: one line per event on stderr, never in the program's log.
#ifndef OSTREL_PLATFORM_RUNTIME_DIAGNOSTICS_H
#define OSTREL_PLATFORM_RUNTIME_DIAGNOSTICS_H

namespace ostrel {

// "ostrel: warning: <function>: <text>" — an API misuse the platform answered with an error code.
void WarnMisuse(const char* function, const char* format, ...) __attribute__((format(printf, 2, 3)));

// "ostrel: <text>" — anything else worth a user's attention (fallbacks, leaks).
void Notice(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ostrel

#endif
