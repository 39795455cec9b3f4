// Reading the OSTREL_* variables: what each accepts, what each refuses, and the one line a user
// sees for a refused value.
#include "platform/runtime/config.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace ostrel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

using Environment = std::map<std::string, std::string>;

std::variant<Config, ConfigError> Read(const Environment& environment) {
    return ConfigFromEnvironment([&](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    });
}

Config ReadGood(const Environment& environment) {
    auto result = Read(environment);
    if (const auto* error = std::get_if<ConfigError>(&result)) {
        ADD_FAILURE() << error->Message();
        return Config{};
    }
    return std::get<Config>(result);
}

TEST(ConfigTest, NothingSetGivesTheDefaults) {
    const Config config = ReadGood({});
    EXPECT_EQ(config.host, HostChoice::Automatic);
    EXPECT_FALSE(config.modes.has_value());
    EXPECT_THAT(config.depthFormats, ElementsAre(D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D16));
    EXPECT_FALSE(config.faults.create || config.faults.device || config.faults.vertexBuffer || config.faults.lock);
    EXPECT_THAT(config.input, IsEmpty());
    EXPECT_FALSE(config.capturePath.has_value());
    EXPECT_FALSE(config.timerStartMs.has_value());
    EXPECT_EQ(config.refreshHz, 60u);
    EXPECT_EQ(config.present, PresentMode::Vsync);
    EXPECT_EQ(config.scale, ScaleMode::Smooth);
}

struct GoodValue {
    const char* variable;
    const char* value;
    std::function<void(const Config&)> check;
};

ModeSpec Mode(std::uint32_t width, std::uint32_t height, D3DFORMAT format, std::optional<std::uint32_t> hz = {}) {
    return ModeSpec{width, height, format, hz};
}

const std::vector<GoodValue>& GoodValues() {
    static const std::vector<GoodValue> values = {
        {"OSTREL_HOST", "window", [](const Config& c) { EXPECT_EQ(c.host, HostChoice::Window); }},
        {"OSTREL_HOST", "headless", [](const Config& c) { EXPECT_EQ(c.host, HostChoice::Headless); }},
        {"OSTREL_MODES", "", [](const Config& c) { EXPECT_THAT(c.modes.value(), IsEmpty()); }},
        {"OSTREL_MODES", "800x600:X8R8G8B8",
         [](const Config& c) { EXPECT_THAT(c.modes.value(), ElementsAre(Mode(800, 600, D3DFMT_X8R8G8B8))); }},
        {"OSTREL_MODES", "1024x768:R5G6B5@75,640x480:22,800x600:A4R4G4B4@1000",
         [](const Config& c) {
             EXPECT_THAT(c.modes.value(),
                         ElementsAre(Mode(1024, 768, D3DFMT_R5G6B5, 75), Mode(640, 480, D3DFMT_X8R8G8B8),
                                     Mode(800, 600, D3DFMT_A4R4G4B4, 1000)));
         }},
        {"OSTREL_MODES", "1x1:R8G8B8,16384x16384:X1R5G5B5,2x2:X4R4G4B4,3x3:A8R8G8B8,4x4:A1R5G5B5,5x5:27",
         [](const Config& c) {
             EXPECT_THAT(c.modes.value(),
                         ElementsAre(Mode(1, 1, D3DFMT_R8G8B8), Mode(16384, 16384, D3DFMT_X1R5G5B5),
                                     Mode(2, 2, D3DFMT_X4R4G4B4), Mode(3, 3, D3DFMT_A8R8G8B8),
                                     Mode(4, 4, D3DFMT_A1R5G5B5), Mode(5, 5, D3DFMT_R3G3B2)));
         }},
        {"OSTREL_DEPTH_FORMATS", "", [](const Config& c) { EXPECT_THAT(c.depthFormats, IsEmpty()); }},
        {"OSTREL_DEPTH_FORMATS", "D16,D32",
         [](const Config& c) { EXPECT_THAT(c.depthFormats, ElementsAre(D3DFMT_D16, D3DFMT_D32)); }},
        {"OSTREL_DEPTH_FORMATS", "D24X8,75",
         [](const Config& c) { EXPECT_THAT(c.depthFormats, ElementsAre(D3DFMT_D24X8, D3DFMT_D24S8)); }},
        {"OSTREL_FAIL", "", [](const Config& c) { EXPECT_FALSE(c.faults.create || c.faults.device); }},
        {"OSTREL_FAIL", "device",
         [](const Config& c) {
             EXPECT_TRUE(c.faults.device);
             EXPECT_FALSE(c.faults.create || c.faults.vertexBuffer || c.faults.lock);
         }},
        {"OSTREL_FAIL", "lock,create,vertexbuffer,lock",
         [](const Config& c) {
             EXPECT_TRUE(c.faults.create && c.faults.vertexBuffer && c.faults.lock);
             EXPECT_FALSE(c.faults.device);
         }},
        {"OSTREL_INPUT", "", [](const Config& c) { EXPECT_THAT(c.input, IsEmpty()); }},
        {"OSTREL_INPUT", "0:down:ESCAPE,30:up:ESCAPE,4294967295:close",
         [](const Config& c) {
             EXPECT_THAT(c.input, ElementsAre(InputEvent{0, InputEventKind::KeyDown, 0x1B},
                                              InputEvent{30, InputEventKind::KeyUp, 0x1B},
                                              InputEvent{4294967295u, InputEventKind::Close, 0}));
         }},
        {"OSTREL_INPUT", "1:down:SPACE,1:down:RETURN,1:down:Z,1:down:7,1:down:F1,1:down:F12,1:down:27,1:up:254,1:up:01",
         [](const Config& c) {
             std::vector<std::uint32_t> keys;
             for (const InputEvent& event : c.input) keys.push_back(event.virtualKey);
             EXPECT_THAT(keys, ElementsAre(0x20, 0x0D, 'Z', '7', 0x70, 0x7B, 27, 254, 1));
         }},
        {"OSTREL_CAPTURE", "out/frame.png",
         [](const Config& c) { EXPECT_EQ(c.capturePath.value(), "out/frame.png"); }},
        {"OSTREL_CAPTURE", "with space.png",
         [](const Config& c) { EXPECT_EQ(c.capturePath.value(), "with space.png"); }},
        {"OSTREL_TIMER_START", "0", [](const Config& c) { EXPECT_EQ(c.timerStartMs.value(), 0u); }},
        {"OSTREL_TIMER_START", "4294967295",
         [](const Config& c) { EXPECT_EQ(c.timerStartMs.value(), 4294967295u); }},
        {"OSTREL_REFRESH", "1", [](const Config& c) { EXPECT_EQ(c.refreshHz, 1u); }},
        {"OSTREL_REFRESH", "144", [](const Config& c) { EXPECT_EQ(c.refreshHz, 144u); }},
        {"OSTREL_REFRESH", "1000", [](const Config& c) { EXPECT_EQ(c.refreshHz, 1000u); }},
        {"OSTREL_PRESENT", "vsync", [](const Config& c) { EXPECT_EQ(c.present, PresentMode::Vsync); }},
        {"OSTREL_PRESENT", "immediate", [](const Config& c) { EXPECT_EQ(c.present, PresentMode::Immediate); }},
        {"OSTREL_SCALE", "smooth", [](const Config& c) { EXPECT_EQ(c.scale, ScaleMode::Smooth); }},
        {"OSTREL_SCALE", "sharp", [](const Config& c) { EXPECT_EQ(c.scale, ScaleMode::Sharp); }},
        {"OSTREL_SCALE", "integer", [](const Config& c) { EXPECT_EQ(c.scale, ScaleMode::Integer); }},
    };
    return values;
}

TEST(ConfigTest, AcceptsEveryWellFormedValue) {
    for (const GoodValue& good : GoodValues()) {
        SCOPED_TRACE(std::string(good.variable) + "='" + good.value + "'");
        good.check(ReadGood({{good.variable, good.value}}));
    }
}

struct BadValue {
    const char* variable;
    std::string value;
};

const std::vector<BadValue>& BadValues() {
    static const std::vector<BadValue> values = {
        {"OSTREL_HOST", ""}, {"OSTREL_HOST", "Window"}, {"OSTREL_HOST", "sdl"}, {"OSTREL_HOST", " headless"},
        {"OSTREL_MODES", "800x600"}, {"OSTREL_MODES", "800x600:"}, {"OSTREL_MODES", "800X600:X8R8G8B8"},
        {"OSTREL_MODES", "800x600:D3DFMT_X8R8G8B8"}, {"OSTREL_MODES", "800x600:x8r8g8b8"},
        {"OSTREL_MODES", "800x600:X8R8G8B8,"}, {"OSTREL_MODES", ",800x600:X8R8G8B8"},
        {"OSTREL_MODES", "800x600:X8R8G8B8,,640x480:R5G6B5"}, {"OSTREL_MODES", "0x600:X8R8G8B8"},
        {"OSTREL_MODES", "800x0:X8R8G8B8"}, {"OSTREL_MODES", "16385x600:X8R8G8B8"},
        {"OSTREL_MODES", "-800x600:X8R8G8B8"}, {"OSTREL_MODES", "+800x600:X8R8G8B8"},
        {"OSTREL_MODES", "800x600:X8R8G8B8@"}, {"OSTREL_MODES", "800x600:X8R8G8B8@0"},
        {"OSTREL_MODES", "800x600:X8R8G8B8@1001"}, {"OSTREL_MODES", "800x600:X8R8G8B8@60@60"},
        {"OSTREL_MODES", "800x600:X8R8G8B8 "}, {"OSTREL_MODES", "800x600:0"},
        {"OSTREL_MODES", "800x600:2147483648"}, {"OSTREL_MODES", "800x600x2:X8R8G8B8"},
        {"OSTREL_MODES", "800x600:99999999999999999999999"},
        {"OSTREL_DEPTH_FORMATS", "D24"}, {"OSTREL_DEPTH_FORMATS", "d16"}, {"OSTREL_DEPTH_FORMATS", "D16,"},
        {"OSTREL_DEPTH_FORMATS", "D16, D32"}, {"OSTREL_DEPTH_FORMATS", "X8R8G8B8"},
        {"OSTREL_DEPTH_FORMATS", "0"},
        {"OSTREL_FAIL", "Device"}, {"OSTREL_FAIL", "create,"}, {"OSTREL_FAIL", "vertex_buffer"},
        {"OSTREL_FAIL", "all"},
        {"OSTREL_INPUT", "close"}, {"OSTREL_INPUT", "5"}, {"OSTREL_INPUT", "5:"}, {"OSTREL_INPUT", ":close"},
        {"OSTREL_INPUT", "-1:close"}, {"OSTREL_INPUT", "4294967296:close"}, {"OSTREL_INPUT", "5:Close"},
        {"OSTREL_INPUT", "5:down"}, {"OSTREL_INPUT", "5:down:"}, {"OSTREL_INPUT", "5:press:A"},
        {"OSTREL_INPUT", "5:down:a"}, {"OSTREL_INPUT", "5:down:escape"}, {"OSTREL_INPUT", "5:down:F13"},
        {"OSTREL_INPUT", "5:down:F0"}, {"OSTREL_INPUT", "5:down:255"}, {"OSTREL_INPUT", "5:down:00"},
        {"OSTREL_INPUT", "5:down:AB"}, {"OSTREL_INPUT", "5:close:A"}, {"OSTREL_INPUT", "5:close,"},
        {"OSTREL_INPUT", "5:up:ESCAPE,,6:close"}, {"OSTREL_INPUT", "5 :close"},
        {"OSTREL_CAPTURE", ""},
        {"OSTREL_TIMER_START", ""}, {"OSTREL_TIMER_START", "4294967296"}, {"OSTREL_TIMER_START", "-1"},
        {"OSTREL_TIMER_START", "+5"}, {"OSTREL_TIMER_START", "0x10"}, {"OSTREL_TIMER_START", "12ms"},
        {"OSTREL_TIMER_START", "18446744073709551616"},
        {"OSTREL_REFRESH", "abc"}, {"OSTREL_REFRESH", ""}, {"OSTREL_REFRESH", "0"}, {"OSTREL_REFRESH", "1001"},
        {"OSTREL_REFRESH", "60.0"}, {"OSTREL_REFRESH", " 60"}, {"OSTREL_REFRESH", "60\n"},
        {"OSTREL_PRESENT", ""}, {"OSTREL_PRESENT", "VSYNC"}, {"OSTREL_PRESENT", "vsync,immediate"},
        {"OSTREL_SCALE", ""}, {"OSTREL_SCALE", "nearest"}, {"OSTREL_SCALE", "integer "},
    };
    return values;
}

TEST(ConfigTest, RefusesEveryMalformedValueNamingItAndTheExpectedForm) {
    for (const BadValue& bad : BadValues()) {
        SCOPED_TRACE(std::string(bad.variable) + "='" + bad.value + "'");
        const auto result = Read({{bad.variable, bad.value}});
        const auto* error = std::get_if<ConfigError>(&result);
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->variable, bad.variable);
        EXPECT_EQ(error->value, bad.value);
        const std::string message = error->Message();
        EXPECT_THAT(message, StartsWith(std::string("ostrel: ") + bad.variable + "='"));
        EXPECT_THAT(message, HasSubstr("' is malformed: expected "));
        EXPECT_EQ(message.find('\n'), std::string::npos);
    }
}

TEST(ConfigTest, TheMessageIsOneLineEvenForAValueWithControlCharacters) {
    EXPECT_EQ(std::get<ConfigError>(Read({{"OSTREL_REFRESH", "abc"}})).Message(),
              "ostrel: OSTREL_REFRESH='abc' is malformed: expected a whole number of hertz from 1 to 1000");
    EXPECT_EQ(std::get<ConfigError>(Read({{"OSTREL_SCALE", "big\nger\t"}})).Message(),
              "ostrel: OSTREL_SCALE='big\\x0Ager\\x09' is malformed: expected smooth, sharp or integer");
}

TEST(ConfigTest, TheFirstMalformedVariableInTableOrderIsReported) {
    const auto result = Read({{"OSTREL_SCALE", "x"}, {"OSTREL_REFRESH", "x"}, {"OSTREL_HOST", "headless"}});
    EXPECT_EQ(std::get<ConfigError>(result).variable, "OSTREL_REFRESH");
}

TEST(ConfigTest, VariablesCombine) {
    const Config config = ReadGood({{"OSTREL_HOST", "headless"},
                                    {"OSTREL_REFRESH", "75"},
                                    {"OSTREL_FAIL", "device"},
                                    {"OSTREL_INPUT", "10:up:ESCAPE"},
                                    {"OSTREL_PRESENT", "immediate"}});
    EXPECT_EQ(config.host, HostChoice::Headless);
    EXPECT_EQ(config.refreshHz, 75u);
    EXPECT_TRUE(config.faults.device);
    EXPECT_THAT(config.input, ElementsAre(InputEvent{10, InputEventKind::KeyUp, 0x1B}));
    EXPECT_EQ(config.present, PresentMode::Immediate);
}

}  // namespace
}  // namespace ostrel
