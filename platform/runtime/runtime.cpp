#include "platform/runtime/runtime.h"

#include "platform/host/host_table.h"

namespace ostrel {
namespace {

std::unique_ptr<Runtime>& Installed() {
    static std::unique_ptr<Runtime> installed;
    return installed;
}

// Written by the signal handler, so only a volatile sig_atomic_t is allowed here. Two signals
// close together merge into one request, which is what a user pressing Ctrl+C twice means.
volatile std::sig_atomic_t closeRequested = 0;

}  // namespace

Runtime::Runtime(Config config, std::unique_ptr<Host> host)
    : m_config(std::move(config)), m_host(std::move(host)), m_startInstant(std::chrono::steady_clock::now()) {
    if (!m_host) {
        m_host = CreateHeadlessHost(m_config);
    }
}

Runtime& Runtime::Get() {
    auto& installed = Installed();
    if (!installed) {
        Config defaults;
        std::unique_ptr<Host> host = CreateHeadlessHost(defaults);
        installed.reset(new Runtime(std::move(defaults), std::move(host)));
    }
    return *installed;
}

void Runtime::Install(Config config, std::unique_ptr<Host> host) {
    auto& installed = Installed();
    // The old host goes first, so that two hosts never hold the machine's display at once.
    installed.reset();
    closeRequested = 0;
    installed.reset(new Runtime(std::move(config), std::move(host)));
}

void Runtime::Shutdown() {
    Installed().reset();
}

void Runtime::RequestCloseFromSignal() {
    closeRequested = 1;
}

bool Runtime::TakeCloseRequest() {
    if (closeRequested == 0) {
        return false;
    }
    closeRequested = 0;
    return true;
}

}  // namespace ostrel
