// The bridge between the stand-in platform and the machine: a desktop, top-level windows, input
// events, frames to show and the display's refresh. Two backends implement it (an SDL2 window and
// a headless one that keeps frames in memory); the rest of the platform never knows which runs.
#ifndef OSTREL_PLATFORM_HOST_HOST_H
#define OSTREL_PLATFORM_HOST_HOST_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ostrel {

struct Config;

struct DesktopMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refreshHz = 0;
};

using HostWindowId = std::uint32_t;  // 0 is never a valid window

enum class HostEventKind { KeyDown, KeyUp, Close };

struct HostEvent {
    HostEventKind kind = HostEventKind::Close;
    HostWindowId window = 0;
    std::uint32_t virtualKey = 0;  // Win32 virtual-key code, for KeyDown and KeyUp
    bool repeat = false;           // KeyDown only: the key was already down (auto-repeat)
};

// A frame in 32-bit 0x00RRGGBB pixels, rows top to bottom; pitch in bytes.
struct FrameView {
    const std::uint32_t* pixels = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t pitchBytes = 0;
};

// What one present did beyond showing the frame.
struct PresentResult {
    // Refreshes that passed without a new frame before this one was shown, beyond those the caller
    // asked to wait for: a frame that came late. Always 0 when the present does not wait.
    std::uint32_t missedRefreshes = 0;
};

class Host {
public:
    virtual ~Host() = default;

    virtual const char* Name() const = 0;
    virtual DesktopMode Desktop() const = 0;

    // Windows are created hidden.
    virtual HostWindowId CreateWindow(const std::string& caption, int x, int y, int width, int height) = 0;
    virtual void ShowWindow(HostWindowId window, bool visible) = 0;
    virtual void DestroyWindow(HostWindowId window) = 0;
    // A full-screen device makes its window cover the desktop; the display mode never changes.
    virtual void SetFullscreen(HostWindowId window, bool fullscreen) = 0;

    // Delivers every event that arrived since the last call. Never blocks.
    virtual void PumpEvents(const std::function<void(const HostEvent&)>& deliver) = 0;

    // Shows a frame in the window, scaled to it with the aspect kept, then blocks (sleeping, not
    // spinning) until the refreshesToWait-th refresh of the display since the previous frame was
    // shown. 0 returns at once: the caller alone decides whether presentation is paced.
    virtual PresentResult PresentFrame(HostWindowId window, const FrameView& frame,
                                       std::uint32_t refreshesToWait) = 0;
};

struct HostBackend {
    const char* name;  // "window" or "headless"
    std::unique_ptr<Host> (*create)(const Config& config);  // null when it cannot start
};

}  // namespace ostrel

#endif
