// What the stand-in adapter knows about formats: their names for diagnostics, which colour
// formats it can display and render to, and which depth formats the settings let it offer.
// It knows nothing of textures, stencil or multisampling: the device offers none of them.
#ifndef OSTREL_PLATFORM_D3D8_FORMATS_H
#define OSTREL_PLATFORM_D3D8_FORMATS_H

#include <d3d8types.h>

#include <string>

namespace ostrel {
struct Config;
}

namespace ostrel::d3d8 {

// "X8R8G8B8", "D24X8", … without the D3DFMT_ prefix; the number for a format without a name.
std::string FormatName(D3DFORMAT format);

// A colour format the back buffer can be created in.
bool IsRenderableColourFormat(D3DFORMAT format);

// A depth format the settings accept (OSTREL_DEPTH_FORMATS) and the depth surface can hold.
bool IsAcceptedDepthFormat(const Config& config, D3DFORMAT format);

}  // namespace ostrel::d3d8

#endif
