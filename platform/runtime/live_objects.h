// Bookkeeping of reference-counted platform objects, so that whatever is still alive when the
// process exits can be named on stderr, as a leak-checking runtime would.
#ifndef OSTREL_PLATFORM_RUNTIME_LIVE_OBJECTS_H
#define OSTREL_PLATFORM_RUNTIME_LIVE_OBJECTS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ostrel {

struct LiveObject {
    const void* address = nullptr;
    std::string description;  // e.g. "IDirect3DVertexBuffer8 (288 bytes)"
    std::function<std::uint32_t()> referenceCount;
};

void RegisterLiveObject(const void* address, std::string description, std::function<std::uint32_t()> referenceCount);
void UnregisterLiveObject(const void* address);
std::vector<LiveObject> LiveObjects();

// Writes one line per live object: "ostrel: leak: <description> still holds <n> reference(s)".
// Returns the number of objects reported.
std::size_t ReportLiveObjects();

}  // namespace ostrel

#endif
