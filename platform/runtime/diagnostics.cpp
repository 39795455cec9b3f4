#include "platform/runtime/diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace ostrel {
namespace {

// Formats the whole line first and writes it with one call, so that a line is never interleaved
// with other output on stderr.
void WriteLine(const std::string& prefix, const char* format, std::va_list arguments) {
    std::va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length < 0) {
        return;
    }
    std::string line = prefix;
    const std::size_t textStart = line.size();
    line.resize(textStart + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(&line[textStart], static_cast<std::size_t>(length) + 1, format, arguments);
    line.back() = '\n';
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

}  // namespace

void WarnMisuse(const char* function, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    WriteLine(std::string("ostrel: warning: ") + function + ": ", format, arguments);
    va_end(arguments);
}

void Notice(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    WriteLine("ostrel: ", format, arguments);
    va_end(arguments);
}

}  // namespace ostrel
