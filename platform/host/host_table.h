// Choosing the host: OSTREL_HOST names one; otherwise the first backend of the table that starts
// wins (the SDL2 window, then headless), with one line on stderr when it falls back to headless.
#ifndef OSTREL_PLATFORM_HOST_HOST_TABLE_H
#define OSTREL_PLATFORM_HOST_HOST_TABLE_H

#include "platform/host/host.h"
#include "platform/runtime/config.h"

#include <memory>
#include <string>

namespace ostrel {

std::unique_ptr<Host> CreateHeadlessHost(const Config& config);
std::unique_ptr<Host> CreateSdl2Host(const Config& config);  // null when no display can be opened

// Null only when OSTREL_HOST=window was asked for and no display can be opened; error then says why.
std::unique_ptr<Host> CreateHost(const Config& config, std::string* error);

}  // namespace ostrel

#endif
