// Flexible vertex formats as the device reads them: which values are formats at all, and how many
// bytes one vertex of a format takes. Vertex shaders (handles with bit 0 set) are not offered.
#ifndef OSTREL_PLATFORM_D3D8_FVF_H
#define OSTREL_PLATFORM_D3D8_FVF_H

#include <windows.h>

namespace ostrel::d3d8 {

// Bytes of one vertex of the format; 0 when the value is not a usable format: bit 0 set (a shader
// handle), no position, more than eight texture coordinate sets, or reserved bits set.
UINT VertexSizeOfFvf(DWORD fvf);

}  // namespace ostrel::d3d8

#endif
