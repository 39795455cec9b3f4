#include "platform/entry/process_entry.h"

#include <windows.h>

#include "platform/host/host_table.h"
#include "platform/runtime/config.h"
#include "platform/runtime/live_objects.h"
#include "platform/runtime/runtime.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ostrel {
namespace {

constexpr int kExitMalformedSettings = 2;

void RequestCloseOnSignal(int) {
    Runtime::RequestCloseFromSignal();
}

sigset_t TerminationSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

// SA_RESTART: a read or a sleep interrupted by Ctrl+C carries on; the window manager notices the
// request the next time the program looks at its queue.
void InstallCloseHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestCloseOnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Done before anything else, with the signals held back until the runtime is installed: a Ctrl+C
// during start-up would otherwise end the process with no log, and one taken before
// Runtime::Install would be cleared by it. Held signals are delivered once the runtime exists,
// including any that arrived before main while the parent had them blocked.
void RouteTerminationSignalsToClose() {
    const sigset_t signals = TerminationSignals();
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    InstallCloseHandlers();
}

// Installed again first, in case the host's libraries put in handlers of their own.
void DeliverHeldTerminationSignals() {
    InstallCloseHandlers();
    const sigset_t signals = TerminationSignals();
    sigprocmask(SIG_UNBLOCK, &signals, nullptr);
}

// What WinMain receives: the arguments after the program's name, separated by spaces.
std::string CommandLineFromArguments(int argc, char** argv) {
    std::string commandLine;
    for (int index = 1; index < argc; ++index) {
        if (index > 1) {
            commandLine += ' ';
        }
        commandLine += argv[index];
    }
    return commandLine;
}

}  // namespace

int RunProcess(int argc, char** argv) {
    RouteTerminationSignalsToClose();
    auto parsed = ConfigFromEnvironment([](const char* name) -> const char* { return std::getenv(name); });
    if (const ConfigError* error = std::get_if<ConfigError>(&parsed)) {
        std::fprintf(stderr, "%s\n", error->Message().c_str());
        return kExitMalformedSettings;
    }
    Config config = std::get<Config>(std::move(parsed));

    std::string hostError;
    std::unique_ptr<Host> host = CreateHost(config, &hostError);
    if (!host) {
        std::fprintf(stderr, "%s\n", hostError.c_str());
        return kExitMalformedSettings;
    }
    Runtime::Install(std::move(config), std::move(host));
    DeliverHeldTerminationSignals();

    std::string commandLine = CommandLineFromArguments(argc, argv);
    const int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);

    ReportLiveObjects();
    Runtime::Shutdown();
    return exitCode;
}

}  // namespace ostrel
