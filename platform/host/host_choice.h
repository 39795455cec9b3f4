// Choosing a host from a table of backends, kept apart from the real table so that the choice
// itself can be tried with backends that start or fail on demand.
#ifndef OSTREL_PLATFORM_HOST_HOST_CHOICE_H
#define OSTREL_PLATFORM_HOST_HOST_CHOICE_H

#include "platform/host/host.h"
#include "platform/runtime/config.h"

#include <memory>
#include <string>
#include <vector>

namespace ostrel {

// Automatic: the first backend that starts, in table order; a Notice when that is not the first.
// Window or Headless: that backend only; null with *error set when it cannot start.
std::unique_ptr<Host> ChooseHost(const Config& config, const std::vector<HostBackend>& backends,
                                 std::string* error);

}  // namespace ostrel

#endif
