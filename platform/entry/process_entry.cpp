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

// SA_RESTART: a read or a sleep interrupted by Ctrl+C carries on; the window manager notices the
// request the next time the program looks at its queue.
void RouteTerminationSignalsToClose() {
    struct sigaction action {};
    action.sa_handler = RequestCloseOnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
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
    RouteTerminationSignalsToClose();

    std::string commandLine = CommandLineFromArguments(argc, argv);
    const int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);

    ReportLiveObjects();
    Runtime::Shutdown();
    return exitCode;
}

}  // namespace ostrel
