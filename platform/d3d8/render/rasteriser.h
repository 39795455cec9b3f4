// The triangle rasteriser behind the device's draws: Direct3D 9-era rules (samples at integer pixel
// coordinates, top-left fill convention, 8-bit sub-pixel fixed point), Gouraud shading corrected
// for perspective, the depth test and the write through the target's format. No blending, fog,
// texturing or stencil: the device offers none of them.
#ifndef OSTREL_PLATFORM_D3D8_RENDER_RASTERISER_H
#define OSTREL_PLATFORM_D3D8_RENDER_RASTERISER_H

#include <d3d8types.h>

#include "platform/d3d8/render/surfaces.h"

#include <cstdint>

namespace ostrel::d3d8 {

// A vertex after the viewport mapping. Colour channels are 0..255 already divided by w, so that
// interpolating them linearly in screen space and multiplying back by w is perspective-correct.
struct ScreenVertex {
    float x, y;        // pixels; pixel (x, y) is sampled at exactly (x, y)
    float z;           // depth 0..1 as the depth buffer compares it
    float invW;        // 1 / w
    float rOverW, gOverW, bOverW, aOverW;
};

struct RasterTarget {
    ColourSurface* colour = nullptr;
    DepthSurface* depth = nullptr;  // null when there is no depth test
    D3DCMPFUNC zFunc = D3DCMP_LESSEQUAL;
    bool zWrite = true;
    // Pixels that may be written: [clipX0, clipX1) x [clipY0, clipY1), inside the surfaces.
    std::int32_t clipX0 = 0, clipY0 = 0, clipX1 = 0, clipY1 = 0;
    D3DCULL cull = D3DCULL_NONE;
    bool flat = false;  // flat shading: every pixel takes flatColour
    D3DCOLOR flatColour = 0;
};

// Rasterises one triangle in the order given (its winding decides culling). Triangles with a
// non-finite coordinate or one beyond +-2^20 pixels are dropped rather than wrapped: the
// pipeline's guard-band clipping keeps transformed vertices far inside that range.
void RasteriseTriangle(const RasterTarget& target, const ScreenVertex& v0, const ScreenVertex& v1,
                       const ScreenVertex& v2);

}  // namespace ostrel::d3d8

#endif
