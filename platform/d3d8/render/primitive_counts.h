// How many vertices a draw reads: one rule for the device's range checks, the pipeline and tests.
#ifndef OSTREL_PLATFORM_D3D8_RENDER_PRIMITIVE_COUNTS_H
#define OSTREL_PLATFORM_D3D8_RENDER_PRIMITIVE_COUNTS_H

#include <d3d8types.h>

#include <cstdint>

namespace ostrel::d3d8 {

// Vertices read by count primitives of a type; 0 for a value that is no primitive type. 64-bit,
// so that a count near 2^32 cannot wrap round to a small number.
constexpr std::uint64_t VertexCountOfPrimitives(D3DPRIMITIVETYPE type, UINT count) {
    const std::uint64_t primitives = count;
    switch (type) {
    case D3DPT_POINTLIST: return primitives;
    case D3DPT_LINELIST: return primitives * 2;
    case D3DPT_LINESTRIP: return primitives + 1;
    case D3DPT_TRIANGLELIST: return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitives + 2;
    default: return 0;
    }
}

constexpr bool IsTrianglePrimitive(D3DPRIMITIVETYPE type) {
    return type == D3DPT_TRIANGLELIST || type == D3DPT_TRIANGLESTRIP || type == D3DPT_TRIANGLEFAN;
}

}  // namespace ostrel::d3d8

#endif
