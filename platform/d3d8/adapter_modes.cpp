#include "platform/d3d8/adapter_modes.h"

#include "platform/runtime/config.h"

#include <algorithm>
#include <tuple>

namespace ostrel::d3d8 {

namespace {

struct Size {
    UINT width;
    UINT height;
};

// The sizes games of the era asked for; each is offered when the desktop can hold it.
constexpr Size kClassicSizes[] = {
    {640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1600, 1200}, {1920, 1080},
};

// Per size, the formats in the order the adapter lists them.
constexpr D3DFORMAT kHostFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5};

std::vector<D3DDISPLAYMODE> ModesFromSettings(const std::vector<ModeSpec>& listedModes, UINT desktopRefreshHz) {
    std::vector<D3DDISPLAYMODE> modes;
    modes.reserve(listedModes.size());
    for (const ModeSpec& listed : listedModes) {
        modes.push_back({listed.width, listed.height, listed.refreshHz.value_or(desktopRefreshHz), listed.format});
    }
    return modes;
}

std::vector<D3DDISPLAYMODE> ModesOfHost(const DesktopMode& desktop) {
    std::vector<Size> sizes{{desktop.width, desktop.height}};
    for (const Size& size : kClassicSizes) {
        const bool fits = size.width <= desktop.width && size.height <= desktop.height;
        const bool isDesktop = size.width == desktop.width && size.height == desktop.height;
        if (fits && !isDesktop) {
            sizes.push_back(size);
        }
    }
    std::sort(sizes.begin(), sizes.end(),
              [](const Size& a, const Size& b) { return std::tie(a.width, a.height) < std::tie(b.width, b.height); });

    std::vector<D3DDISPLAYMODE> modes;
    for (const Size& size : sizes) {
        for (D3DFORMAT format : kHostFormats) {
            modes.push_back({size.width, size.height, desktop.refreshHz, format});
        }
    }
    return modes;
}

}  // namespace

std::vector<D3DDISPLAYMODE> AdapterModesFor(const Config& config, const DesktopMode& desktop) {
    if (config.modes) {
        return ModesFromSettings(*config.modes, desktop.refreshHz);
    }
    return ModesOfHost(desktop);
}

D3DDISPLAYMODE DisplayModeOfDesktop(const DesktopMode& desktop) {
    return {desktop.width, desktop.height, desktop.refreshHz, D3DFMT_X8R8G8B8};
}

}  // namespace ostrel::d3d8
