#include "platform/runtime/live_objects.h"

#include "platform/runtime/diagnostics.h"

#include <algorithm>

namespace ostrel {
namespace {

// In registration order, so the leak report lists objects in the order they were made.
// A function-local static: objects may register during other statics' initialisation.
std::vector<LiveObject>& Registry() {
    static std::vector<LiveObject> registry;
    return registry;
}

std::vector<LiveObject>::iterator Find(const void* address) {
    auto& registry = Registry();
    return std::find_if(registry.begin(), registry.end(),
                        [address](const LiveObject& object) { return object.address == address; });
}

}  // namespace

void RegisterLiveObject(const void* address, std::string description,
                        std::function<std::uint32_t()> referenceCount) {
    LiveObject object{address, std::move(description), std::move(referenceCount)};
    auto existing = Find(address);
    if (existing != Registry().end()) {
        // The address was reused without an unregistration: the newest object is the one alive.
        *existing = std::move(object);
        return;
    }
    Registry().push_back(std::move(object));
}

void UnregisterLiveObject(const void* address) {
    auto existing = Find(address);
    if (existing != Registry().end()) {
        Registry().erase(existing);
    }
}

std::vector<LiveObject> LiveObjects() {
    return Registry();
}

std::size_t ReportLiveObjects() {
    const std::vector<LiveObject> alive = Registry();
    for (const LiveObject& object : alive) {
        const std::uint32_t references = object.referenceCount ? object.referenceCount() : 0;
        Notice("leak: %s still holds %u reference(s)", object.description.c_str(), references);
    }
    return alive.size();
}

}  // namespace ostrel
