// The software pipeline on its own: vertices with NaN, infinities and huge coordinates, arbitrary
// matrices, viewports and render states, drawn into small colour and depth surfaces of every
// format. It may draw anything, but never crash or write outside the surfaces (the address
// sanitizer guards their storage) or read outside the vertex stream.
#include <d3d8.h>

#include "fuzz/fuzz_input.h"
#include "platform/d3d8/fvf.h"
#include "platform/d3d8/render/primitive_counts.h"
#include "platform/d3d8/render/render_pipeline.h"
#include "platform/d3d8/render/surfaces.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

using ostrel::fuzz::FuzzInput;
using namespace ostrel::d3d8;

const D3DFORMAT kColourFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R8G8B8,  D3DFMT_R5G6B5,
                                    D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4};
const D3DFORMAT kDepthFormats[] = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D32};
const DWORD kFvfs[] = {D3DFVF_XYZ,
                       D3DFVF_XYZ | D3DFVF_DIFFUSE,
                       D3DFVF_XYZRHW | D3DFVF_DIFFUSE,
                       D3DFVF_XYZRHW,
                       D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1,
                       D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2};
const D3DPRIMITIVETYPE kTypes[] = {D3DPT_TRIANGLELIST, D3DPT_TRIANGLESTRIP, D3DPT_TRIANGLEFAN,
                                   D3DPT_POINTLIST,    D3DPT_LINELIST,      D3DPT_LINESTRIP};

// Some coordinates chosen to sit on the pipeline's edges; the rest come from the input.
const float kEdgeValues[] = {0.0f, -0.0f, 1.0f, -1.0f, 1e-30f, 1e30f, -1e30f, 3.4e38f, 1048576.0f, 1048577.0f,
                             __builtin_inff(), -__builtin_inff(), __builtin_nanf("")};

float Coordinate(FuzzInput& in) {
    return in.Byte() % 4 == 0 ? in.Pick(kEdgeValues) : in.Float();
}

D3DMATRIX Matrix(FuzzInput& in) {
    D3DMATRIX matrix{};
    float* cells = &matrix._11;
    if (in.Boolean()) {
        // The identity with a few cells changed: most arbitrary matrices put everything off-screen.
        matrix._11 = matrix._22 = matrix._33 = matrix._44 = 1.0f;
        for (int i = in.Byte() % 4; i > 0; --i) {
            cells[in.Byte() % 16] = Coordinate(in);
        }
    } else {
        for (int i = 0; i < 16; ++i) {
            cells[i] = Coordinate(in);
        }
    }
    return matrix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);

    const std::uint32_t width = 1 + in.Byte() % 40;
    const std::uint32_t height = 1 + in.Byte() % 30;
    ColourSurface colour(width, height, in.Pick(kColourFormats));
    std::unique_ptr<DepthSurface> depth;
    if (in.Byte() % 4 != 0) {
        // Usually the colour surface's size, as the device makes it; sometimes not.
        const bool sameSize = in.Byte() % 4 != 0;
        const std::uint32_t depthWidth = sameSize ? width : 1 + in.Byte() % 40;
        const std::uint32_t depthHeight = sameSize ? height : 1 + in.Byte() % 30;
        depth = std::make_unique<DepthSurface>(depthWidth, depthHeight, in.Pick(kDepthFormats));
        depth->Fill(in.Boolean() ? 1.0f : Coordinate(in));
    }

    PipelineState state;
    state.world = Matrix(in);
    state.view = Matrix(in);
    state.projection = Matrix(in);
    // Usually inside the surface, as SetViewport guarantees; sometimes anywhere at all.
    if (in.Byte() % 4 != 0) {
        state.viewport.X = in.Byte() % width;
        state.viewport.Y = in.Byte() % height;
        state.viewport.Width = 1 + in.Byte() % (width - state.viewport.X);
        state.viewport.Height = 1 + in.Byte() % (height - state.viewport.Y);
    } else {
        state.viewport.X = in.Word();
        state.viewport.Y = in.Word();
        state.viewport.Width = in.Word();
        state.viewport.Height = in.Word();
    }
    state.viewport.MinZ = in.Boolean() ? 0.0f : Coordinate(in);
    state.viewport.MaxZ = in.Boolean() ? 1.0f : Coordinate(in);
    // Render states hold whatever the program set; the device reads them as enumerations, whose
    // values stop at 0x7fffffff.
    state.cullMode = static_cast<D3DCULL>(in.Boolean() ? 1 + in.Byte() % 3 : in.EnumerationWord());
    state.zEnable = static_cast<D3DZBUFFERTYPE>(in.Boolean() ? in.Byte() % 3 : in.EnumerationWord());
    state.zWriteEnable = in.Boolean();
    state.zFunc = static_cast<D3DCMPFUNC>(in.Boolean() ? 1 + in.Byte() % 8 : in.EnumerationWord());
    state.lighting = in.Boolean();
    state.ambient = in.Word();
    state.shadeMode = static_cast<D3DSHADEMODE>(in.Boolean() ? 1 + in.Byte() % 3 : in.EnumerationWord());
    state.fvf = in.Pick(kFvfs);

    const UINT vertexSize = VertexSizeOfFvf(state.fvf);
    const UINT stride = vertexSize + in.Byte() % 8;
    const D3DPRIMITIVETYPE type = in.Pick(kTypes);
    const UINT primitives = 1 + in.Byte() % 16;
    const UINT startVertex = in.Byte() % 4;
    const UINT vertices = startVertex + static_cast<UINT>(VertexCountOfPrimitives(type, primitives));

    // Exactly the bytes the draw reads, as the device checks: anything beyond is outside.
    const std::size_t streamBytes = static_cast<std::size_t>(vertices - 1) * stride + vertexSize;
    std::vector<BYTE> stream(streamBytes);
    for (std::size_t offset = 0; offset + sizeof(float) <= streamBytes; offset += sizeof(float)) {
        const float value = Coordinate(in);
        std::memcpy(&stream[offset], &value, sizeof value);
    }
    // Colours are DWORDs, not floats: give some vertices plain colours too.
    if (vertexSize >= 16 && (state.fvf & D3DFVF_DIFFUSE) != 0) {
        const std::size_t colourOffset = (state.fvf & D3DFVF_XYZRHW) != 0 ? 16 : 12 + ((state.fvf & D3DFVF_NORMAL) ? 12 : 0);
        for (UINT v = 0; v < vertices && colourOffset + 4 <= vertexSize; ++v) {
            const DWORD value = in.Word();
            std::memcpy(&stream[static_cast<std::size_t>(v) * stride + colourOffset], &value, sizeof value);
        }
    }

    RenderPipeline pipeline;
    const VertexStream vertexStream{stream.data(), static_cast<UINT>(streamBytes), stride};
    // Twice, so that scratch space reused from a larger draw is exercised too.
    pipeline.Draw(state, type, vertexStream, startVertex, primitives, colour, depth.get());
    pipeline.Draw(state, type, vertexStream, 0, 1, colour, depth.get());
    return 0;
}
