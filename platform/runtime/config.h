// The platform layer's settings, read once from the OSTREL_* environment variables by the process
// entry. The program itself reads no configuration; only the stand-in libraries consult these.
#ifndef OSTREL_PLATFORM_RUNTIME_CONFIG_H
#define OSTREL_PLATFORM_RUNTIME_CONFIG_H

#include <d3d8types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ostrel {

enum class HostChoice { Automatic, Window, Headless };
enum class PresentMode { Vsync, Immediate };
enum class ScaleMode { Smooth, Sharp, Integer };

struct ModeSpec {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    std::optional<std::uint32_t> refreshHz;  // absent: the host's refresh rate

    bool operator==(const ModeSpec& other) const {
        return width == other.width && height == other.height && format == other.format &&
               refreshHz == other.refreshHz;
    }
};

enum class InputEventKind { KeyDown, KeyUp, Close };

struct InputEvent {
    std::uint64_t afterFrames = 0;  // posted once this many frames have been presented
    InputEventKind kind = InputEventKind::Close;
    std::uint32_t virtualKey = 0;  // for KeyDown and KeyUp

    bool operator==(const InputEvent& other) const {
        return afterFrames == other.afterFrames && kind == other.kind && virtualKey == other.virtualKey;
    }
};

struct FaultSet {
    bool create = false;        // Direct3DCreate8 returns null
    bool device = false;        // CreateDevice fails
    bool vertexBuffer = false;  // CreateVertexBuffer fails
    bool lock = false;          // IDirect3DVertexBuffer8::Lock fails
};

struct Config {
    HostChoice host = HostChoice::Automatic;
    std::optional<std::vector<ModeSpec>> modes;  // absent: the host's own list
    std::vector<D3DFORMAT> depthFormats{D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D16};
    FaultSet faults;
    std::vector<InputEvent> input;
    std::optional<std::string> capturePath;
    std::optional<std::uint32_t> timerStartMs;
    std::uint32_t refreshHz = 60;
    PresentMode present = PresentMode::Vsync;
    ScaleMode scale = ScaleMode::Smooth;
};

struct ConfigError {
    std::string variable;
    std::string value;
    std::string expected;

    // One line for stderr, e.g.
    // "ostrel: OSTREL_REFRESH='abc' is malformed: expected a whole number of hertz from 1 to 1000"
    std::string Message() const;
};

using EnvironmentLookup = std::function<const char*(const char* name)>;

// Reads every OSTREL_* variable through lookup; the first malformed one is reported.
std::variant<Config, ConfigError> ConfigFromEnvironment(const EnvironmentLookup& lookup);

}  // namespace ostrel

#endif
