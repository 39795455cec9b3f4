// The host without a display: a desktop of 1920x1080 at OSTREL_REFRESH hertz, windows that are
// only ids in memory, and the last presented frame kept in memory, as a dummy video driver does.
// No events come from the machine; tests may queue some to stand in for a user at the keyboard.
#ifndef OSTREL_PLATFORM_HOST_HEADLESS_HOST_H
#define OSTREL_PLATFORM_HOST_HEADLESS_HOST_H

#include "platform/host/host.h"
#include "platform/host/refresh_schedule.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace ostrel {

class HeadlessHost final : public Host {
public:
    static constexpr std::uint32_t kDesktopWidth = 1920;
    static constexpr std::uint32_t kDesktopHeight = 1080;

    struct WindowState {
        std::string caption;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool visible = false;
        bool fullscreen = false;
    };

    explicit HeadlessHost(std::uint32_t refreshHz);

    const char* Name() const override { return "headless"; }
    DesktopMode Desktop() const override;
    HostWindowId CreateWindow(const std::string& caption, int x, int y, int width, int height) override;
    void ShowWindow(HostWindowId window, bool visible) override;
    void DestroyWindow(HostWindowId window) override;
    void SetFullscreen(HostWindowId window, bool fullscreen) override;
    void PumpEvents(const std::function<void(const HostEvent&)>& deliver) override;
    PresentResult PresentFrame(HostWindowId window, const FrameView& frame, std::uint32_t refreshesToWait) override;

    // What a test can look at or do.
    const WindowState* FindWindow(HostWindowId window) const;  // null once destroyed
    std::size_t WindowCount() const { return m_windows.size(); }
    FrameView LastFrame() const;  // pixels null before the first frame
    HostWindowId LastFrameWindow() const { return m_lastFrameWindow; }
    std::uint64_t FramesPresented() const { return m_framesPresented; }
    void QueueEvent(const HostEvent& event) { m_pendingEvents.push_back(event); }

private:
    DesktopMode m_desktop;
    RefreshSchedule m_schedule;
    std::map<HostWindowId, WindowState> m_windows;
    HostWindowId m_nextWindow = 1;
    std::deque<HostEvent> m_pendingEvents;
    std::vector<std::uint32_t> m_lastFrame;  // tightly packed; reused from frame to frame
    std::uint32_t m_lastFrameWidth = 0;
    std::uint32_t m_lastFrameHeight = 0;
    HostWindowId m_lastFrameWindow = 0;
    std::uint64_t m_framesPresented = 0;
};

// The installed host as the headless one, or null when another backend runs.
HeadlessHost* HeadlessHostOf(Host& host);

}  // namespace ostrel

#endif
