// The display modes the stand-in's one adapter offers. Full screen never switches the machine's
// mode (the window covers the desktop and the frame is scaled), so the list is what fits on the
// desktop, unless the settings (OSTREL_MODES) give one.
#ifndef OSTREL_PLATFORM_D3D8_ADAPTER_MODES_H
#define OSTREL_PLATFORM_D3D8_ADAPTER_MODES_H

#include <d3d8types.h>

#include "platform/host/host.h"

#include <vector>

namespace ostrel {
struct Config;
}

namespace ostrel::d3d8 {

// The modes in enumeration order. From the settings when they list modes (a mode without a refresh
// rate gets the desktop's), else the desktop mode and the classic sizes that fit inside it, each
// in X8R8G8B8 then R5G6B5, by width, then height, then refresh rate highest first.
std::vector<D3DDISPLAYMODE> AdapterModesFor(const Config& config, const DesktopMode& desktop);

// The desktop as a display mode: the host shows 32-bit colour.
D3DDISPLAYMODE DisplayModeOfDesktop(const DesktopMode& desktop);

}  // namespace ostrel::d3d8

#endif
