// Process-wide state of the stand-in platform: the settings read at start-up, the host that shows
// windows and frames, and the count of presented frames that scripted input is keyed to.
// The stand-in libraries reach each other only through here and through the real API.
#ifndef OSTREL_PLATFORM_RUNTIME_RUNTIME_H
#define OSTREL_PLATFORM_RUNTIME_RUNTIME_H

#include "platform/host/host.h"
#include "platform/runtime/config.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <memory>

namespace ostrel {

class Runtime {
public:
    // The installed runtime; when nothing was installed, a default one (default settings, headless
    // host) is made on first use, so unit tests need no set-up.
    static Runtime& Get();

    // Replaces settings and host. The process entry calls it once; tests call it per case.
    static void Install(Config config, std::unique_ptr<Host> host);

    // Destroys the installed runtime and its host (closing the window) once WinMain has returned;
    // a later Get() would make a default one again.
    static void Shutdown();

    const Config& GetConfig() const { return m_config; }
    Host& GetHost() { return *m_host; }

    std::uint64_t PresentedFrames() const { return m_presentedFrames; }
    void NotePresentedFrame() { ++m_presentedFrames; }

    // When this runtime was installed: the origin of timeGetTime.
    std::chrono::steady_clock::time_point StartInstant() const { return m_startInstant; }

    // SIGINT and SIGTERM: the handler only raises a flag (async-signal-safe); the window manager
    // turns it into WM_CLOSE for every top-level window the next time it looks at its queue.
    static void RequestCloseFromSignal();
    static bool TakeCloseRequest();

private:
    Runtime(Config config, std::unique_ptr<Host> host);

    Config m_config;
    std::unique_ptr<Host> m_host;
    std::uint64_t m_presentedFrames = 0;
    std::chrono::steady_clock::time_point m_startInstant;
};

}  // namespace ostrel

#endif
