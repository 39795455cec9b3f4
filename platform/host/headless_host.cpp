#include "platform/host/headless_host.h"

#include "platform/host/host_table.h"

#include <cstring>

namespace ostrel {

HeadlessHost::HeadlessHost(std::uint32_t refreshHz)
    : m_desktop{kDesktopWidth, kDesktopHeight, refreshHz}, m_schedule(refreshHz) {}

DesktopMode HeadlessHost::Desktop() const {
    return m_desktop;
}

HostWindowId HeadlessHost::CreateWindow(const std::string& caption, int x, int y, int width, int height) {
    const HostWindowId id = m_nextWindow++;
    m_windows[id] = WindowState{caption, x, y, width, height, false, false};
    return id;
}

void HeadlessHost::ShowWindow(HostWindowId window, bool visible) {
    if (auto found = m_windows.find(window); found != m_windows.end()) {
        found->second.visible = visible;
    }
}

void HeadlessHost::DestroyWindow(HostWindowId window) {
    m_windows.erase(window);
    if (window == m_lastFrameWindow) {
        m_lastFrameWindow = 0;
    }
}

void HeadlessHost::SetFullscreen(HostWindowId window, bool fullscreen) {
    if (auto found = m_windows.find(window); found != m_windows.end()) {
        WindowState& state = found->second;
        state.fullscreen = fullscreen;
        if (fullscreen) {
            state.x = 0;
            state.y = 0;
            state.width = static_cast<int>(m_desktop.width);
            state.height = static_cast<int>(m_desktop.height);
        }
    }
}

void HeadlessHost::PumpEvents(const std::function<void(const HostEvent&)>& deliver) {
    // Taken out first: a delivery may queue further events, which belong to the next pump.
    std::deque<HostEvent> events;
    events.swap(m_pendingEvents);
    for (const HostEvent& event : events) {
        deliver(event);
    }
}

PresentResult HeadlessHost::PresentFrame(HostWindowId window, const FrameView& frame, std::uint32_t refreshesToWait) {
    if (m_windows.count(window) == 0 || frame.pixels == nullptr || frame.width == 0 || frame.height == 0) {
        return {};
    }
    // resize() keeps the capacity, so once sized no frame allocates.
    m_lastFrame.resize(static_cast<std::size_t>(frame.width) * frame.height);
    const auto* sourceRow = reinterpret_cast<const unsigned char*>(frame.pixels);
    for (std::uint32_t row = 0; row < frame.height; ++row) {
        std::memcpy(&m_lastFrame[static_cast<std::size_t>(row) * frame.width], sourceRow,
                    frame.width * sizeof(std::uint32_t));
        sourceRow += frame.pitchBytes;
    }
    m_lastFrameWidth = frame.width;
    m_lastFrameHeight = frame.height;
    m_lastFrameWindow = window;
    ++m_framesPresented;
    return PresentResult{SleepThroughRefreshes(m_schedule, refreshesToWait)};
}

const HeadlessHost::WindowState* HeadlessHost::FindWindow(HostWindowId window) const {
    const auto found = m_windows.find(window);
    return found == m_windows.end() ? nullptr : &found->second;
}

FrameView HeadlessHost::LastFrame() const {
    if (m_framesPresented == 0) {
        return FrameView{};
    }
    return FrameView{m_lastFrame.data(), m_lastFrameWidth, m_lastFrameHeight,
                     static_cast<std::uint32_t>(m_lastFrameWidth * sizeof(std::uint32_t))};
}

HeadlessHost* HeadlessHostOf(Host& host) {
    return dynamic_cast<HeadlessHost*>(&host);
}

std::unique_ptr<Host> CreateHeadlessHost(const Config& config) {
    return std::make_unique<HeadlessHost>(config.refreshHz);
}

}  // namespace ostrel
