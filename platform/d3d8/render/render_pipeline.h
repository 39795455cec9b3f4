// The device's fixed-function pipeline: vertex fetch by flexible vertex format, world/view/
// projection transform, clipping, viewport mapping, culling, and rasterisation into the colour
// and depth surfaces. The device validates every argument before calling in here.
// Points and lines draw nothing: the device's users draw only triangles. No lights exist, so
// lighting gives the ambient colour; pretransformed (XYZRHW) vertices are neither lit nor clipped.
#ifndef OSTREL_PLATFORM_D3D8_RENDER_RENDER_PIPELINE_H
#define OSTREL_PLATFORM_D3D8_RENDER_RENDER_PIPELINE_H

#include <d3d8.h>

#include "platform/d3d8/render/rasteriser.h"
#include "platform/d3d8/render/surfaces.h"

#include <cstdint>
#include <vector>

namespace ostrel::d3d8 {

struct PipelineState {
    D3DMATRIX world;
    D3DMATRIX view;
    D3DMATRIX projection;
    D3DVIEWPORT8 viewport;
    D3DCULL cullMode = D3DCULL_CCW;
    D3DZBUFFERTYPE zEnable = D3DZB_TRUE;
    bool zWriteEnable = true;
    D3DCMPFUNC zFunc = D3DCMP_LESSEQUAL;
    bool lighting = true;        // on without lights: the ambient colour, as the real pipeline gives
    D3DCOLOR ambient = 0;
    D3DSHADEMODE shadeMode = D3DSHADE_GOURAUD;
    DWORD fvf = 0;
};

struct VertexStream {
    const BYTE* data = nullptr;
    UINT sizeBytes = 0;
    UINT stride = 0;
};

class RenderPipeline {
public:
    // Draws primitiveCount primitives starting at startVertex. The caller has checked that the
    // stream holds every vertex the call reads and that the vertex format has a position.
    void Draw(const PipelineState& state, D3DPRIMITIVETYPE type, const VertexStream& stream, UINT startVertex,
              UINT primitiveCount, ColourSurface& target, DepthSurface* depth);

private:
    // Scratch space reused across draws so that a steady frame allocates nothing.
    struct ClipVertex {
        float x, y, z, w;     // clip space
        float r, g, b, a;     // colour, 0..1
    };
    std::vector<ClipVertex> m_transformed;
    std::vector<ClipVertex> m_clipScratchA;
    std::vector<ClipVertex> m_clipScratchB;
    std::vector<ScreenVertex> m_projected;    // per vertex, valid where its outcode is 0
    std::vector<std::uint8_t> m_outcodes;     // per vertex: the clip planes it lies outside

    void DrawTriangle(const RasterTarget& target, const PipelineState& state, UINT i0, UINT i1, UINT i2,
                      UINT provoking);
    ScreenVertex Project(const ClipVertex& v, const D3DVIEWPORT8& viewport) const;
};

}  // namespace ostrel::d3d8

#endif
