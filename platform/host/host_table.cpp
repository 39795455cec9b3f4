#include "platform/host/host_table.h"

#include "platform/host/host_choice.h"
#include "platform/runtime/diagnostics.h"

#include <cstring>

namespace ostrel {
namespace {

const char* BackendNameOf(HostChoice choice) {
    return choice == HostChoice::Window ? "window" : "headless";
}

}  // namespace

std::unique_ptr<Host> ChooseHost(const Config& config, const std::vector<HostBackend>& backends,
                                 std::string* error) {
    if (config.host != HostChoice::Automatic) {
        const char* wanted = BackendNameOf(config.host);
        for (const HostBackend& backend : backends) {
            if (std::strcmp(backend.name, wanted) == 0) {
                if (auto host = backend.create(config)) {
                    return host;
                }
                break;
            }
        }
        if (error != nullptr) {
            *error = std::string("ostrel: OSTREL_HOST=") + wanted +
                     (config.host == HostChoice::Window ? ": no display can be opened" : ": cannot start");
        }
        return nullptr;
    }
    for (std::size_t index = 0; index < backends.size(); ++index) {
        if (auto host = backends[index].create(config)) {
            if (index > 0) {
                Notice("no display available; running %s", backends[index].name);
            }
            return host;
        }
    }
    if (error != nullptr) {
        *error = "ostrel: no host can start";
    }
    return nullptr;
}

std::unique_ptr<Host> CreateHost(const Config& config, std::string* error) {
    // The window first: a user at a desktop expects to see the program.
    static const std::vector<HostBackend> kBackends = {
        {"window", CreateSdl2Host},
        {"headless", CreateHeadlessHost},
    };
    return ChooseHost(config, kBackends, error);
}

}  // namespace ostrel
