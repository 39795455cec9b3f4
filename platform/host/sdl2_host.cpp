// The window host: top-level windows are real SDL2 windows on the user's X11 or Wayland display,
// frames are streamed into a texture and scaled to the window with the aspect kept, and the
// display's refresh paces presentation. It never changes the display mode and never grabs input.
#include "platform/host/frame_scaling.h"
#include "platform/host/host_table.h"
#include "platform/host/refresh_schedule.h"
#include "platform/host/sdl2_keymap.h"
#include "platform/runtime/diagnostics.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ostrel {
namespace {

constexpr std::uint32_t kRefreshWhenUnknownHz = 60;  // what SDL reports as 0: virtual and remote displays

// Hints SDL reads when its video starts, so they are set before.
void SetHintsBeforeVideoStarts() {
    // The platform routes SIGINT/SIGTERM to WM_CLOSE itself; SDL's handler would turn them into SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Alt+Tab away from a full-screen window must neither minimise it nor stop its frames.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
#ifdef SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE
    // Closing a window is WM_CLOSE for that window only; the program decides whether that ends it.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
#endif
}

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Starts SDL's video on a desktop display only. Left to itself SDL would also take over a text
// console through KMS/DRM, which is no window; a user who wants another driver names it in
// SDL_VIDEODRIVER. Quiet on failure: the host table says once that it falls back.
bool StartVideoOnDesktopDisplay() {
    if (IsSet("SDL_VIDEODRIVER")) return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    const char* candidates[] = {IsSet("DISPLAY") ? "x11" : nullptr, IsSet("WAYLAND_DISPLAY") ? "wayland" : nullptr};
    for (const char* driver : candidates) {
        if (driver == nullptr) continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    }
    return false;
}

// Whether the renderer can really wait for the display's refresh. Where it cannot, SDL stands in
// with a sleep on a whole-millisecond grid (62.5 Hz for 60 Hz) that drops every frame a little
// late; that stand-in is switched off so the host's own clock paces instead.
bool RendererWaitsForRefresh(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr) return false;
    const std::string name = info.name;
    if (name == "software") return false;
    // The GL renderers own the current context: a swap interval of 0 after asking for 1 means the
    // driver has no swap control (a virtual X server, some remote displays).
    if (name.rfind("opengl", 0) == 0) return SDL_GL_GetSwapInterval() != 0;
    return true;
}

struct Sdl2Window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;  // the frame's size; recreated only when that changes
    PixelSize textureSize;
    PixelSize windowedSize;  // restored when full screen is left
};

// Marks the span of a call into SDL that may talk to the display server (see ~Sdl2Host).
class SdlCallScope {
public:
    explicit SdlCallScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~SdlCallScope() { --m_depth; }
    SdlCallScope(const SdlCallScope&) = delete;
    SdlCallScope& operator=(const SdlCallScope&) = delete;

private:
    int& m_depth;
};

class Sdl2Host final : public Host {
public:
    Sdl2Host(const Config& config, DesktopMode desktop)
        : m_present(config.present), m_scale(config.scale), m_desktop(desktop), m_schedule(desktop.refreshHz) {}

    ~Sdl2Host() override {
        // Destroyed while one of our SDL calls is still running: Xlib lost the display and called
        // exit() from inside it. Talking to the dead connection again would never return, and the
        // process is ending anyway.
        if (m_sdlCallsInProgress > 0) return;
        for (auto& entry : m_windows) Destroy(entry.second);
        m_windows.clear();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
    }

    const char* Name() const override { return "window"; }
    DesktopMode Desktop() const override { return m_desktop; }

    HostWindowId CreateWindow(const std::string& caption, int x, int y, int width, int height) override;
    void ShowWindow(HostWindowId window, bool visible) override;
    void DestroyWindow(HostWindowId window) override;
    void SetFullscreen(HostWindowId window, bool fullscreen) override;
    void PumpEvents(const std::function<void(const HostEvent&)>& deliver) override;
    PresentResult PresentFrame(HostWindowId window, const FrameView& frame, std::uint32_t refreshesToWait) override;

private:
    Sdl2Window* Find(HostWindowId window);
    HostWindowId IdOfSdlWindow(std::uint32_t sdlWindowId) const;
    HostWindowId KeyboardTarget(std::uint32_t sdlWindowId) const;
    bool IsReleaseForFocusLoss(std::size_t index) const;
    bool EnsureTexture(Sdl2Window& target, PixelSize frameSize);
    static void Destroy(Sdl2Window& target);

    PresentMode m_present;
    ScaleMode m_scale;
    DesktopMode m_desktop;
    RefreshSchedule m_schedule;
    std::map<HostWindowId, Sdl2Window> m_windows;
    HostWindowId m_nextId = 1;
    std::vector<SDL_Event> m_polledEvents;  // one PumpEvents call's events, in arrival order
    int m_sdlCallsInProgress = 0;
    std::optional<RefreshSchedule::Clock::time_point> m_refreshSeenAt;  // when that present returned
};

// Keeps a requested coordinate on the desktop; CW_USEDEFAULT and other far-off values let the
// window system place the window.
int PlacedCoordinate(int requested, int size, std::uint32_t desktopSize) {
    const int limit = static_cast<int>(desktopSize) - size;  // the size is already clamped: 0 always fits
    return requested >= 0 && requested <= limit ? requested : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
}

HostWindowId Sdl2Host::CreateWindow(const std::string& caption, int x, int y, int width, int height) {
    const SdlCallScope inSdl(m_sdlCallsInProgress);
    const int clampedWidth = std::clamp(width, 1, static_cast<int>(std::max<std::uint32_t>(m_desktop.width, 1)));
    const int clampedHeight = std::clamp(height, 1, static_cast<int>(std::max<std::uint32_t>(m_desktop.height, 1)));
    Sdl2Window created;
    created.window = SDL_CreateWindow(caption.c_str(), PlacedCoordinate(x, clampedWidth, m_desktop.width),
                                      PlacedCoordinate(y, clampedHeight, m_desktop.height), clampedWidth,
                                      clampedHeight, SDL_WINDOW_HIDDEN);
    if (created.window == nullptr) {
        Notice("window host: cannot create a window: %s", SDL_GetError());
        return 0;
    }
    // The renderer is made now, while the window is hidden: some renderers recreate the window.
    const Uint32 rendererFlags = m_present == PresentMode::Vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    created.renderer = SDL_CreateRenderer(created.window, -1, rendererFlags);
    if (created.renderer == nullptr) {
        Notice("window host: cannot draw into a window: %s", SDL_GetError());
        SDL_DestroyWindow(created.window);
        return 0;
    }
#if SDL_VERSION_ATLEAST(2, 0, 18)
    if (m_present == PresentMode::Vsync && !RendererWaitsForRefresh(created.renderer)) {
        SDL_RenderSetVSync(created.renderer, 0);
    }
#endif
    created.windowedSize = PixelSize{clampedWidth, clampedHeight};
    const HostWindowId id = m_nextId++;
    m_windows.emplace(id, created);
    return id;
}

Sdl2Window* Sdl2Host::Find(HostWindowId window) {
    const auto found = m_windows.find(window);
    return found == m_windows.end() ? nullptr : &found->second;
}

void Sdl2Host::ShowWindow(HostWindowId window, bool visible) {
    const SdlCallScope inSdl(m_sdlCallsInProgress);
    Sdl2Window* target = Find(window);
    if (target == nullptr) return;
    if (!visible) {
        SDL_HideWindow(target->window);
        return;
    }
    SDL_ShowWindow(target->window);
    SDL_RaiseWindow(target->window);  // a shown top-level window takes the keyboard, as on Win32
}

void Sdl2Host::DestroyWindow(HostWindowId window) {
    const SdlCallScope inSdl(m_sdlCallsInProgress);
    Sdl2Window* target = Find(window);
    if (target == nullptr) return;
    Destroy(*target);
    m_windows.erase(window);
}

void Sdl2Host::Destroy(Sdl2Window& target) {
    if (target.texture != nullptr) SDL_DestroyTexture(target.texture);
    if (target.renderer != nullptr) SDL_DestroyRenderer(target.renderer);
    if (target.window != nullptr) SDL_DestroyWindow(target.window);
    target = Sdl2Window{};
}

void Sdl2Host::SetFullscreen(HostWindowId window, bool fullscreen) {
    const SdlCallScope inSdl(m_sdlCallsInProgress);
    Sdl2Window* target = Find(window);
    if (target == nullptr) return;
    if (!fullscreen) {
        SDL_SetWindowFullscreen(target->window, 0);
        SDL_SetWindowBordered(target->window, SDL_TRUE);
        SDL_SetWindowSize(target->window, target->windowedSize.width, target->windowedSize.height);
        return;
    }
    // "Desktop" full screen covers the screen at its current mode; the mode itself never changes.
    if (SDL_SetWindowFullscreen(target->window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) return;
    // A bare X server without a window manager may refuse: a borderless desktop-sized window looks the same.
    SDL_SetWindowBordered(target->window, SDL_FALSE);
    SDL_SetWindowPosition(target->window, 0, 0);
    SDL_SetWindowSize(target->window, static_cast<int>(m_desktop.width), static_cast<int>(m_desktop.height));
}

HostWindowId Sdl2Host::IdOfSdlWindow(std::uint32_t sdlWindowId) const {
    for (const auto& entry : m_windows) {
        if (SDL_GetWindowID(entry.second.window) == sdlWindowId) return entry.first;
    }
    return 0;
}

// Keys go to the window SDL says has the keyboard. Without a window manager nothing hands out
// focus, yet the X server still sends the keys to our window: they then belong to our first window.
HostWindowId Sdl2Host::KeyboardTarget(std::uint32_t sdlWindowId) const {
    const HostWindowId focused = IdOfSdlWindow(sdlWindowId);
    if (focused != 0 || m_windows.empty()) return focused;
    return m_windows.begin()->first;
}

// SDL answers a lost keyboard focus by releasing every key it saw held, just before it reports
// the focus loss. Win32 sends no WM_KEYUP then (the release goes to whichever window has the focus
// when the key comes up), and a program that ends on releasing Escape must not end on Alt+Tab.
bool Sdl2Host::IsReleaseForFocusLoss(std::size_t index) const {
    std::size_t next = index + 1;
    while (next < m_polledEvents.size() && m_polledEvents[next].type == SDL_KEYUP) ++next;
    return next < m_polledEvents.size() && m_polledEvents[next].type == SDL_WINDOWEVENT &&
           m_polledEvents[next].window.event == SDL_WINDOWEVENT_FOCUS_LOST;
}

void Sdl2Host::PumpEvents(const std::function<void(const HostEvent&)>& deliver) {
    const SdlCallScope inSdl(m_sdlCallsInProgress);
    // All of them first: telling a real release from a focus-loss release needs the events after it.
    m_polledEvents.clear();  // keeps its capacity: no allocation once it has grown
    SDL_Event polled;
    while (SDL_PollEvent(&polled) != 0) m_polledEvents.push_back(polled);

    for (std::size_t index = 0; index < m_polledEvents.size(); ++index) {
        const SDL_Event& event = m_polledEvents[index];
        switch (event.type) {
        case SDL_KEYUP:
            if (IsReleaseForFocusLoss(index)) break;
            [[fallthrough]];
        case SDL_KEYDOWN: {
            const std::uint32_t virtualKey = VirtualKeyFromSdlKey(event.key.keysym.sym, event.key.keysym.scancode);
            const HostWindowId target = KeyboardTarget(event.key.windowID);
            if (virtualKey == 0 || target == 0) break;  // keys Win32 has no code for are dropped
            HostEvent key;
            key.kind = event.type == SDL_KEYDOWN ? HostEventKind::KeyDown : HostEventKind::KeyUp;
            key.window = target;
            key.virtualKey = virtualKey;
            key.repeat = event.type == SDL_KEYDOWN && event.key.repeat != 0;
            deliver(key);
            break;
        }
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                const HostWindowId target = IdOfSdlWindow(event.window.windowID);
                if (target != 0) deliver(HostEvent{HostEventKind::Close, target, 0, false});
            }
            break;
        case SDL_QUIT: {
            // The session is ending: every window is asked to close. deliver may destroy windows.
            std::vector<HostWindowId> open;
            for (const auto& entry : m_windows) open.push_back(entry.first);
            for (HostWindowId id : open) {
                if (Find(id) != nullptr) deliver(HostEvent{HostEventKind::Close, id, 0, false});
            }
            break;
        }
        default:
            break;
        }
    }
}

bool Sdl2Host::EnsureTexture(Sdl2Window& target, PixelSize frameSize) {
    if (target.texture != nullptr && target.textureSize.width == frameSize.width &&
        target.textureSize.height == frameSize.height) {
        return true;
    }
    if (target.texture != nullptr) SDL_DestroyTexture(target.texture);
    target.textureSize = PixelSize{};
    // RGB888 is SDL's name for 32-bit 0x00RRGGBB words, the frame's own layout: uploads copy, never convert.
    target.texture = SDL_CreateTexture(target.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                       frameSize.width, frameSize.height);
    if (target.texture == nullptr) {
        Notice("window host: cannot make a %dx%d texture: %s", frameSize.width, frameSize.height, SDL_GetError());
        return false;
    }
    const bool linear = ScaleFilterFor(m_scale) == ScaleFilter::Linear;
#if SDL_VERSION_ATLEAST(2, 0, 12)
    SDL_SetTextureScaleMode(target.texture, linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
#else
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, linear ? "linear" : "nearest");  // read when a texture is made
#endif
    target.textureSize = frameSize;
    return true;
}

PresentResult Sdl2Host::PresentFrame(HostWindowId window, const FrameView& frame, std::uint32_t refreshesToWait) {
    const SdlCallScope inSdl(m_sdlCallsInProgress);
    Sdl2Window* target = Find(window);
    if (target == nullptr || frame.pixels == nullptr || frame.width == 0 || frame.height == 0) return {};
    const PixelSize frameSize{static_cast<int>(frame.width), static_cast<int>(frame.height)};
    if (!EnsureTexture(*target, frameSize)) return {};
    SDL_UpdateTexture(target->texture, nullptr, frame.pixels, static_cast<int>(frame.pitchBytes));

    PixelSize output;
    SDL_GetRendererOutputSize(target->renderer, &output.width, &output.height);
    const PixelRect destination = DestinationRectFor(m_scale, frameSize, output);
    const SDL_Rect destinationRect{destination.x, destination.y, destination.width, destination.height};
    SDL_SetRenderDrawColor(target->renderer, 0, 0, 0, 255);
    SDL_RenderClear(target->renderer);  // the bars
    SDL_RenderCopy(target->renderer, target->texture, nullptr, &destinationRect);

    const auto before = RefreshSchedule::Clock::now();
    SDL_RenderPresent(target->renderer);
    const auto after = RefreshSchedule::Clock::now();
    if (refreshesToWait == 0) return {};
    // A present that took half a refresh or more was held back by the display (or by SDL's own
    // pacing of renderers that cannot wait): that refresh's wait has been done.
    std::uint32_t waitsLeft = refreshesToWait;
    if ((after - before) * 2 >= m_schedule.Period()) {
        m_refreshSeenAt = after;
        --waitsLeft;
    } else if (m_refreshSeenAt) {
        // The display waited before and not this time (a frame that took most of a refresh, a
        // hidden window): restart the clock on the refresh it last showed, so its deadlines fall
        // on the display's own refreshes. Anchored one period earlier, that refresh is deadline 1.
        m_schedule = RefreshSchedule(m_desktop.refreshHz);
        m_schedule.NextDeadline(*m_refreshSeenAt - m_schedule.Period());
        m_refreshSeenAt.reset();
    }
    // No refresh was waited for (a virtual or remote display): keep the refresh rate by the clock.
    return PresentResult{SleepThroughRefreshes(m_schedule, waitsLeft)};
}

}  // namespace

std::unique_ptr<Host> CreateSdl2Host(const Config& config) {
    SetHintsBeforeVideoStarts();
    if (!StartVideoOnDesktopDisplay()) {
        SDL_Quit();
        return nullptr;
    }
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
        SDL_Quit();
        return nullptr;
    }
    DesktopMode desktop;
    desktop.width = static_cast<std::uint32_t>(mode.w);
    desktop.height = static_cast<std::uint32_t>(mode.h);
    desktop.refreshHz = mode.refresh_rate > 0 ? static_cast<std::uint32_t>(mode.refresh_rate) : kRefreshWhenUnknownHz;
    return std::make_unique<Sdl2Host>(config, desktop);
}

}  // namespace ostrel
