#include "app/application.h"

namespace {

bool IsSixteenBitFormat(D3DFORMAT format) {
    return format == D3DFMT_R5G6B5 || format == D3DFMT_X1R5G5B5 || format == D3DFMT_X4R4G4B4;
}

// Formats with an alpha channel are never chosen for the display.
bool IsThirtyTwoBitFormat(D3DFORMAT format) {
    return format == D3DFMT_R8G8B8 || format == D3DFMT_X8R8G8B8;
}

}  // namespace

D3DFORMAT Application::FindDisplayFormat(UINT width, UINT height, UINT depth) {
    D3DDISPLAYMODE d3ddm;

    // The count is asked again on every pass, as the adapter may change its list.
    for (UINT i = 0; i < m_pDirect3D->GetAdapterModeCount(D3DADAPTER_DEFAULT); i++) {
        ZeroMemory(&d3ddm, sizeof(d3ddm));
        m_pDirect3D->EnumAdapterModes(D3DADAPTER_DEFAULT, i, &d3ddm);

        if (d3ddm.Width != width || d3ddm.Height != height) {
            continue;
        }
        if (IsSixteenBitFormat(d3ddm.Format)) {
            if (depth == 16) {
                return d3ddm.Format;
            }
        } else if (IsThirtyTwoBitFormat(d3ddm.Format)) {
            if (depth == 32) {
                return d3ddm.Format;
            }
        }
    }

    return D3DFMT_UNKNOWN;
}
