#include "platform/d3d8/fvf.h"

#include <d3d8types.h>

namespace ostrel::d3d8 {

namespace {

constexpr UINT kFloatBytes = 4;
constexpr UINT kMaxTextureCoordinateSets = 8;
constexpr int kTextureSizeShift = 16;  // two bits per set from bit 16: D3DFVF_TEXCOORDSIZEn

// Bytes of the position, indexed by the D3DFVF_POSITION_MASK bits shifted down by one.
constexpr UINT kPositionBytes[] = {
    0,               // none
    3 * kFloatBytes, // XYZ
    4 * kFloatBytes, // XYZRHW
    4 * kFloatBytes, // XYZB1
    5 * kFloatBytes, // XYZB2
    6 * kFloatBytes, // XYZB3
    7 * kFloatBytes, // XYZB4
    8 * kFloatBytes, // XYZB5
};

// Floats of one texture coordinate set, by its two size bits: 0 means two, the common case.
constexpr UINT kTextureFloats[] = {2, 3, 4, 1};

}  // namespace

UINT VertexSizeOfFvf(DWORD fvf) {
    if ((fvf & D3DFVF_RESERVED0) != 0 || (fvf & D3DFVF_RESERVED2) != 0) {
        return 0;
    }
    const UINT position = kPositionBytes[(fvf & D3DFVF_POSITION_MASK) >> 1];
    if (position == 0) {
        return 0;
    }
    const UINT textureSets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (textureSets > kMaxTextureCoordinateSets) {
        return 0;
    }
    UINT size = position;
    if ((fvf & D3DFVF_NORMAL) != 0) size += 3 * kFloatBytes;
    if ((fvf & D3DFVF_PSIZE) != 0) size += kFloatBytes;
    if ((fvf & D3DFVF_DIFFUSE) != 0) size += 4;   // one D3DCOLOR
    if ((fvf & D3DFVF_SPECULAR) != 0) size += 4;  // one D3DCOLOR
    for (UINT set = 0; set < textureSets; ++set) {
        size += kTextureFloats[(fvf >> (kTextureSizeShift + 2 * set)) & 3] * kFloatBytes;
    }
    return size;
}

}  // namespace ostrel::d3d8
