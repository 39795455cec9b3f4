#include "platform/runtime/config.h"

#include "platform/runtime/config_values.h"

#include <string_view>

namespace ostrel {
namespace {

using namespace config_values;

constexpr std::uint64_t kLargestModeSide = 16384;
constexpr std::uint64_t kLargestRefreshHz = 1000;
constexpr std::uint64_t kLargestFrameCount = 0xFFFFFFFFu;

// Each parser fills its part of the configuration and answers false when the value is malformed;
// the table's text then tells the user what was expected.
using ValueParser = bool (*)(std::string_view value, Config& config);

struct Variable {
    const char* name;
    ValueParser parse;
    const char* expected;
};

template <typename Enum, std::size_t N>
bool ChoiceFromText(std::string_view value, const std::pair<std::string_view, Enum> (&choices)[N], Enum& out) {
    for (const auto& [name, choice] : choices) {
        if (value == name) {
            out = choice;
            return true;
        }
    }
    return false;
}

bool ParseHost(std::string_view value, Config& config) {
    static constexpr std::pair<std::string_view, HostChoice> kChoices[] = {
        {"window", HostChoice::Window}, {"headless", HostChoice::Headless}};
    return ChoiceFromText(value, kChoices, config.host);
}

std::optional<ModeSpec> ModeFromText(std::string_view item) {
    const auto sizeAndRest = SplitAtFirst(item, ':');
    if (!sizeAndRest) {
        return std::nullopt;
    }
    const auto [size, formatAndRate] = *sizeAndRest;
    const auto widthAndHeight = SplitAtFirst(size, 'x');
    if (!widthAndHeight) {
        return std::nullopt;
    }
    const auto width = WholeNumberFromText(widthAndHeight->first, 1, kLargestModeSide);
    const auto height = WholeNumberFromText(widthAndHeight->second, 1, kLargestModeSide);
    if (!width || !height) {
        return std::nullopt;
    }
    ModeSpec mode;
    mode.width = static_cast<std::uint32_t>(*width);
    mode.height = static_cast<std::uint32_t>(*height);
    std::string_view formatText = formatAndRate;
    if (const auto formatAndHz = SplitAtFirst(formatAndRate, '@')) {
        formatText = formatAndHz->first;
        const auto hz = WholeNumberFromText(formatAndHz->second, 1, kLargestRefreshHz);
        if (!hz) {
            return std::nullopt;
        }
        mode.refreshHz = static_cast<std::uint32_t>(*hz);
    }
    const auto format = DisplayFormatFromText(formatText);
    if (!format) {
        return std::nullopt;
    }
    mode.format = *format;
    return mode;
}

bool ParseModes(std::string_view value, Config& config) {
    const auto items = ItemsFromList(value);
    if (!items) {
        return false;
    }
    std::vector<ModeSpec> modes;
    for (const std::string_view item : *items) {
        const auto mode = ModeFromText(item);
        if (!mode) {
            return false;
        }
        modes.push_back(*mode);
    }
    config.modes = std::move(modes);
    return true;
}

bool ParseDepthFormats(std::string_view value, Config& config) {
    const auto items = ItemsFromList(value);
    if (!items) {
        return false;
    }
    std::vector<D3DFORMAT> formats;
    for (const std::string_view item : *items) {
        const auto format = DepthFormatFromText(item);
        if (!format) {
            return false;
        }
        formats.push_back(*format);
    }
    config.depthFormats = std::move(formats);
    return true;
}

bool ParseFaults(std::string_view value, Config& config) {
    const auto items = ItemsFromList(value);
    if (!items) {
        return false;
    }
    FaultSet faults;
    for (const std::string_view item : *items) {
        bool FaultSet::*fault = nullptr;
        static constexpr std::pair<std::string_view, bool FaultSet::*> kFaults[] = {
            {"create", &FaultSet::create},
            {"device", &FaultSet::device},
            {"vertexbuffer", &FaultSet::vertexBuffer},
            {"lock", &FaultSet::lock}};
        if (!ChoiceFromText(item, kFaults, fault)) {
            return false;
        }
        faults.*fault = true;
    }
    config.faults = faults;
    return true;
}

std::optional<InputEvent> InputEventFromText(std::string_view item) {
    const auto framesAndEvent = SplitAtFirst(item, ':');
    if (!framesAndEvent) {
        return std::nullopt;
    }
    const auto frames = WholeNumberFromText(framesAndEvent->first, 0, kLargestFrameCount);
    if (!frames) {
        return std::nullopt;
    }
    InputEvent event;
    event.afterFrames = *frames;
    const std::string_view eventText = framesAndEvent->second;
    if (eventText == "close") {
        event.kind = InputEventKind::Close;
        return event;
    }
    const auto actionAndKey = SplitAtFirst(eventText, ':');
    if (!actionAndKey) {
        return std::nullopt;
    }
    static constexpr std::pair<std::string_view, InputEventKind> kKeyActions[] = {
        {"down", InputEventKind::KeyDown}, {"up", InputEventKind::KeyUp}};
    const auto key = VirtualKeyFromText(actionAndKey->second);
    if (!ChoiceFromText(actionAndKey->first, kKeyActions, event.kind) || !key) {
        return std::nullopt;
    }
    event.virtualKey = *key;
    return event;
}

bool ParseInput(std::string_view value, Config& config) {
    const auto items = ItemsFromList(value);
    if (!items) {
        return false;
    }
    std::vector<InputEvent> events;
    for (const std::string_view item : *items) {
        const auto event = InputEventFromText(item);
        if (!event) {
            return false;
        }
        events.push_back(*event);
    }
    config.input = std::move(events);
    return true;
}

bool ParseCapture(std::string_view value, Config& config) {
    if (value.empty()) {
        return false;
    }
    config.capturePath = std::string(value);
    return true;
}

bool ParseTimerStart(std::string_view value, Config& config) {
    const auto start = WholeNumberFromText(value, 0, 0xFFFFFFFFu);
    if (!start) {
        return false;
    }
    config.timerStartMs = static_cast<std::uint32_t>(*start);
    return true;
}

bool ParseRefresh(std::string_view value, Config& config) {
    const auto hz = WholeNumberFromText(value, 1, kLargestRefreshHz);
    if (!hz) {
        return false;
    }
    config.refreshHz = static_cast<std::uint32_t>(*hz);
    return true;
}

bool ParsePresent(std::string_view value, Config& config) {
    static constexpr std::pair<std::string_view, PresentMode> kChoices[] = {
        {"vsync", PresentMode::Vsync}, {"immediate", PresentMode::Immediate}};
    return ChoiceFromText(value, kChoices, config.present);
}

bool ParseScale(std::string_view value, Config& config) {
    static constexpr std::pair<std::string_view, ScaleMode> kChoices[] = {
        {"smooth", ScaleMode::Smooth}, {"sharp", ScaleMode::Sharp}, {"integer", ScaleMode::Integer}};
    return ChoiceFromText(value, kChoices, config.scale);
}

constexpr Variable kVariables[] = {
    {"OSTREL_HOST", ParseHost, "expected window or headless"},
    {"OSTREL_MODES", ParseModes,
     "expected comma-separated WIDTHxHEIGHT:FORMAT or WIDTHxHEIGHT:FORMAT@HZ (sizes 1 to 16384; FORMAT "
     "X8R8G8B8, R8G8B8, R5G6B5, X1R5G5B5, X4R4G4B4, A8R8G8B8, A1R5G5B5, A4R4G4B4 or a format number; "
     "HZ 1 to 1000), or nothing for no modes"},
    {"OSTREL_DEPTH_FORMATS", ParseDepthFormats,
     "expected comma-separated D32, D24X8, D16 or format numbers, or nothing for none"},
    {"OSTREL_FAIL", ParseFaults, "expected comma-separated create, device, vertexbuffer or lock"},
    {"OSTREL_INPUT", ParseInput,
     "expected comma-separated FRAMES:down:KEY, FRAMES:up:KEY or FRAMES:close (FRAMES 0 to 4294967295; KEY "
     "ESCAPE, SPACE, RETURN, A-Z, 0-9, F1-F12, or a virtual-key number up to 254 written with at least two "
     "digits)"},
    {"OSTREL_CAPTURE", ParseCapture, "expected the path of a PNG file to write"},
    {"OSTREL_TIMER_START", ParseTimerStart, "expected a whole number of milliseconds from 0 to 4294967295"},
    {"OSTREL_REFRESH", ParseRefresh, "expected a whole number of hertz from 1 to 1000"},
    {"OSTREL_PRESENT", ParsePresent, "expected vsync or immediate"},
    {"OSTREL_SCALE", ParseScale, "expected smooth, sharp or integer"},
};

}  // namespace

std::string ConfigError::Message() const {
    return "ostrel: " + variable + "='" + PrintableFromText(value) + "' is malformed: " + expected;
}

std::variant<Config, ConfigError> ConfigFromEnvironment(const EnvironmentLookup& lookup) {
    Config config;
    for (const Variable& variable : kVariables) {
        const char* value = lookup(variable.name);
        if (value == nullptr) {
            continue;  // unset: the default stays
        }
        if (!variable.parse(value, config)) {
            return ConfigError{variable.name, value, variable.expected};
        }
    }
    return config;
}

}  // namespace ostrel
