// Every OSTREL_* variable through the settings parser, with values made from the fuzz input.
// The parser never crashes, and a malformed value always yields one line for stderr that names
// the variable it is about.
#include "platform/runtime/config.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <variant>

namespace {

const char* const kVariables[] = {
    "OSTREL_HOST",  "OSTREL_MODES",       "OSTREL_DEPTH_FORMATS", "OSTREL_FAIL",    "OSTREL_INPUT",
    "OSTREL_CAPTURE", "OSTREL_TIMER_START", "OSTREL_REFRESH",      "OSTREL_PRESENT", "OSTREL_SCALE",
};
constexpr std::size_t kVariableCount = sizeof kVariables / sizeof kVariables[0];

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_config: %s: %s\n", what, detail.c_str());
    std::abort();
}

}  // namespace

// Input: two bytes choosing which variables are set (bit i: the i-th variable), then the values of
// the set ones in order, separated by NUL bytes. A variable whose value runs out is set to "".
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const unsigned chosen = data[0] | (unsigned{data[1]} << 8);
    const char* text = reinterpret_cast<const char*>(data + 2);
    const std::size_t textSize = size - 2;

    std::map<std::string, std::string> environment;
    std::size_t position = 0;
    for (std::size_t i = 0; i < kVariableCount; ++i) {
        if ((chosen & (1u << i)) == 0) {
            continue;
        }
        std::string value;
        while (position < textSize && text[position] != '\0') {
            value += text[position++];
        }
        ++position;  // past the separator
        environment[kVariables[i]] = value;
    }

    auto parsed = ostrel::ConfigFromEnvironment([&](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    });

    if (const auto* error = std::get_if<ostrel::ConfigError>(&parsed)) {
        const std::string message = error->Message();
        if (environment.count(error->variable) == 0) {
            Fail("an error about a variable that is not set", error->variable);
        }
        if (message.rfind("ostrel: " + error->variable + "=", 0) != 0) {
            Fail("the message does not start by naming the variable", message);
        }
        for (char c : message) {
            if (c == '\n' || c == '\r' || c == '\0') {
                Fail("the message is not one line", message);
            }
        }
        return 0;
    }

    // A value that parsed gives settings within the documented ranges.
    const ostrel::Config& config = std::get<ostrel::Config>(parsed);
    if (config.refreshHz < 1 || config.refreshHz > 1000) {
        Fail("refresh rate out of range", std::to_string(config.refreshHz));
    }
    if (config.modes) {
        for (const ostrel::ModeSpec& mode : *config.modes) {
            if (mode.width < 1 || mode.width > 16384 || mode.height < 1 || mode.height > 16384) {
                Fail("mode size out of range", std::to_string(mode.width) + "x" + std::to_string(mode.height));
            }
            if (mode.refreshHz && (*mode.refreshHz < 1 || *mode.refreshHz > 1000)) {
                Fail("mode refresh out of range", std::to_string(*mode.refreshHz));
            }
        }
    }
    for (const ostrel::InputEvent& event : config.input) {
        if (event.kind != ostrel::InputEventKind::Close && (event.virtualKey == 0 || event.virtualKey > 254)) {
            Fail("input key out of range", std::to_string(event.virtualKey));
        }
    }
    if (config.capturePath && config.capturePath->empty()) {
        Fail("an empty capture path was accepted", "");
    }
    return 0;
}
