// Format questions the program asks before creating its device: which depth formats are usable
// (from OSTREL_DEPTH_FORMATS), which colour formats render, and which pairings a device accepts.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include <vector>

namespace ostrel::d3d8::testing {
namespace {

struct FormatCase {
    std::vector<D3DFORMAT> acceptedDepthFormats;
    UINT adapter;
    DWORD usage;
    D3DRESOURCETYPE resourceType;
    D3DFORMAT format;
    HRESULT expected;
};

class CheckDeviceFormatTest : public D3D8Test, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(CheckDeviceFormatTest, AnswersFromTheSettingsAndTheSurfaces) {
    const FormatCase& row = GetParam();
    Config config;
    config.depthFormats = row.acceptedDepthFormats;
    Reinstall(config);
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    EXPECT_EQ(direct3D->CheckDeviceFormat(row.adapter, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, row.usage,
                                          row.resourceType, row.format),
              row.expected);
    direct3D->Release();
}

const std::vector<D3DFORMAT> kAllDepth{D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D16};
const std::vector<D3DFORMAT> kOnlyD16{D3DFMT_D16};
const std::vector<D3DFORMAT> kNoDepth{};
// A number the settings may give that no depth surface can hold.
const std::vector<D3DFORMAT> kStencilFormat{D3DFMT_D24S8};

INSTANTIATE_TEST_SUITE_P(
    Formats, CheckDeviceFormatTest,
    ::testing::Values(
        FormatCase{kAllDepth, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D32, D3D_OK},
        FormatCase{kAllDepth, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24X8, D3D_OK},
        FormatCase{kAllDepth, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D16, D3D_OK},
        FormatCase{kAllDepth, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24S8, D3DERR_NOTAVAILABLE},
        FormatCase{kAllDepth, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D16_LOCKABLE, D3DERR_NOTAVAILABLE},
        FormatCase{kAllDepth, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_X8R8G8B8, D3DERR_NOTAVAILABLE},
        FormatCase{kAllDepth, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_TEXTURE, D3DFMT_D16, D3DERR_NOTAVAILABLE},
        FormatCase{kOnlyD16, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D32, D3DERR_NOTAVAILABLE},
        FormatCase{kOnlyD16, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24X8, D3DERR_NOTAVAILABLE},
        FormatCase{kOnlyD16, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D16, D3D_OK},
        FormatCase{kNoDepth, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D16, D3DERR_NOTAVAILABLE},
        FormatCase{kStencilFormat, 0, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24S8, D3DERR_NOTAVAILABLE},
        FormatCase{kAllDepth, 0, D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, D3DFMT_X8R8G8B8, D3D_OK},
        FormatCase{kAllDepth, 0, D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, D3DFMT_R5G6B5, D3D_OK},
        FormatCase{kAllDepth, 0, D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, D3DFMT_R3G3B2, D3DERR_NOTAVAILABLE},
        FormatCase{kAllDepth, 0, D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, D3DFMT_D16, D3DERR_NOTAVAILABLE},
        FormatCase{kAllDepth, 1, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D16, D3DERR_INVALIDCALL}));

TEST_F(D3D8Test, CheckDepthStencilMatchAcceptsAnAcceptedDepthFormatBesideARenderableColourFormat) {
    Config config;
    config.depthFormats = {D3DFMT_D24X8};
    Reinstall(config);
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    EXPECT_EQ(direct3D->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, D3DFMT_D24X8),
              D3D_OK);
    EXPECT_EQ(direct3D->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_D32),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(direct3D->CheckDepthStencilMatch(1, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_D24X8),
              D3DERR_INVALIDCALL);
    direct3D->Release();
}

TEST_F(D3D8Test, CheckDeviceTypeAcceptsFullScreenBackBuffersOfADisplayFormat) {
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    const struct {
        D3DDEVTYPE type;
        D3DFORMAT display;
        D3DFORMAT backBuffer;
        BOOL windowed;
        HRESULT expected;
    } rows[] = {
        {D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE, D3D_OK},
        {D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, FALSE, D3D_OK},
        {D3DDEVTYPE_REF, D3DFMT_R5G6B5, D3DFMT_R5G6B5, FALSE, D3D_OK},
        {D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, FALSE, D3DERR_NOTAVAILABLE},
        {D3DDEVTYPE_HAL, D3DFMT_X1R5G5B5, D3DFMT_X1R5G5B5, FALSE, D3DERR_NOTAVAILABLE},  // no such mode
        {D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, TRUE, D3D_OK},
        {D3DDEVTYPE_SW, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE, D3DERR_INVALIDCALL},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(direct3D->CheckDeviceType(0, row.type, row.display, row.backBuffer, row.windowed), row.expected)
            << "display " << row.display << ", back buffer " << row.backBuffer << ", windowed " << row.windowed;
    }
    direct3D->Release();
}

}  // namespace
}  // namespace ostrel::d3d8::testing
