// CreateDevice: the refusals, each for one bad field, with the real runtime's code, the warning
// that names the problem and nothing handed out; then the requests it accepts.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include <gmock/gmock.h>

#include <cstring>
#include <string>

namespace ostrel::d3d8::testing {
namespace {

using ::testing::HasSubstr;

struct CreateRequest {
    UINT adapter = D3DADAPTER_DEFAULT;
    D3DDEVTYPE deviceType = D3DDEVTYPE_HAL;
    HWND focusWindow = nullptr;
    D3DPRESENT_PARAMETERS parameters{};
};

struct Windows {
    HWND live;
    HWND destroyed;
};

struct RefusalCase {
    const char* name;
    void (*spoil)(CreateRequest& request, const Windows& windows);
    HRESULT expected;
    const char* warning;
};

class CreateDeviceRefusalTest : public D3D8Test, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(CreateDeviceRefusalTest, RefusesNamesTheProblemAndHandsOutNothing) {
    const RefusalCase& row = GetParam();
    HWND destroyed = CreateWindowExA(0, "OstrelD3D8Test", "gone", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(DestroyWindow(destroyed));

    CreateRequest request;
    request.focusWindow = m_window;
    request.parameters = ParametersFor(DeviceDescription{});
    row.spoil(request, Windows{m_window, destroyed});
    const D3DPRESENT_PARAMETERS before = request.parameters;

    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    auto* device = reinterpret_cast<IDirect3DDevice8*>(0x1);  // a caller's stale value
    ::testing::internal::CaptureStderr();
    const HRESULT result = direct3D->CreateDevice(request.adapter, request.deviceType, request.focusWindow,
                                                  D3DCREATE_SOFTWARE_VERTEXPROCESSING, &request.parameters, &device);
    const std::string diagnostics = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(result, row.expected);
    EXPECT_EQ(device, nullptr);
    EXPECT_THAT(diagnostics, HasSubstr(std::string("ostrel: warning: IDirect3D8::CreateDevice: ") + row.warning));
    EXPECT_EQ(std::memcmp(&before, &request.parameters, sizeof before), 0) << "a refused call changed the parameters";
    EXPECT_EQ(direct3D->Release(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    OneBadField, CreateDeviceRefusalTest,
    ::testing::Values(
        RefusalCase{"SecondAdapter", [](CreateRequest& r, const Windows&) { r.adapter = 1; }, D3DERR_INVALIDCALL,
                    "adapter 1 does not exist"},
        RefusalCase{"SoftwareDeviceType", [](CreateRequest& r, const Windows&) { r.deviceType = D3DDEVTYPE_SW; },
                    D3DERR_INVALIDCALL, "device type 3 is neither HAL nor REF"},
        RefusalCase{"NoWindowAtAll",
                    [](CreateRequest& r, const Windows&) {
                        r.focusWindow = nullptr;
                        r.parameters.hDeviceWindow = nullptr;
                    },
                    D3DERR_INVALIDCALL, "no focus window and no hDeviceWindow"},
        RefusalCase{"DestroyedFocusWindow", [](CreateRequest& r, const Windows& w) { r.focusWindow = w.destroyed; },
                    D3DERR_INVALIDCALL, "the focus window is not a live window"},
        RefusalCase{"DestroyedDeviceWindow",
                    [](CreateRequest& r, const Windows& w) { r.parameters.hDeviceWindow = w.destroyed; },
                    D3DERR_INVALIDCALL, "hDeviceWindow is not a live window"},
        RefusalCase{"MadeUpDeviceWindow",
                    [](CreateRequest& r, const Windows&) {
                        r.parameters.hDeviceWindow = reinterpret_cast<HWND>(0x5150);
                    },
                    D3DERR_INVALIDCALL, "hDeviceWindow is not a live window"},
        RefusalCase{"SwapEffectZero",
                    [](CreateRequest& r, const Windows&) { r.parameters.SwapEffect = static_cast<D3DSWAPEFFECT>(0); },
                    D3DERR_INVALIDCALL, "SwapEffect 0 is not a swap effect"},
        RefusalCase{"SwapEffectPastCopyVsync",
                    [](CreateRequest& r, const Windows&) { r.parameters.SwapEffect = static_cast<D3DSWAPEFFECT>(5); },
                    D3DERR_INVALIDCALL, "SwapEffect 5 is not a swap effect"},
        RefusalCase{"FourBackBuffers",
                    [](CreateRequest& r, const Windows&) {
                        r.parameters.SwapEffect = D3DSWAPEFFECT_FLIP;
                        r.parameters.BackBufferCount = 4;
                    },
                    D3DERR_INVALIDCALL, "BackBufferCount 4 is more than 3"},
        RefusalCase{"CopyWithTwoBackBuffers",
                    [](CreateRequest& r, const Windows&) {
                        r.parameters.SwapEffect = D3DSWAPEFFECT_COPY;
                        r.parameters.BackBufferCount = 2;
                    },
                    D3DERR_INVALIDCALL, "SwapEffect COPY and COPY_VSYNC take one back buffer, not 2"},
        RefusalCase{"CopyVsyncWithThreeBackBuffers",
                    [](CreateRequest& r, const Windows&) { r.parameters.BackBufferCount = 3; }, D3DERR_INVALIDCALL,
                    "SwapEffect COPY and COPY_VSYNC take one back buffer, not 3"},
        RefusalCase{"PresentationIntervalFive",
                    [](CreateRequest& r, const Windows&) { r.parameters.FullScreen_PresentationInterval = 5; },
                    D3DERR_INVALIDCALL, "FullScreen_PresentationInterval 0x5 is not a presentation interval"},
        RefusalCase{"FullScreenSizeNotAMode",
                    [](CreateRequest& r, const Windows&) { r.parameters.BackBufferWidth = 801; }, D3DERR_INVALIDCALL,
                    "full screen 801x600 X8R8G8B8 at 0 Hz is not one of the adapter's modes"},
        RefusalCase{"FullScreenFormatNotAMode",
                    [](CreateRequest& r, const Windows&) { r.parameters.BackBufferFormat = D3DFMT_A8R8G8B8; },
                    D3DERR_INVALIDCALL, "full screen 800x600 A8R8G8B8 at 0 Hz is not one of the adapter's modes"},
        RefusalCase{"FullScreenRefreshNotAMode",
                    [](CreateRequest& r, const Windows&) { r.parameters.FullScreen_RefreshRateInHz = 61; },
                    D3DERR_INVALIDCALL, "full screen 800x600 X8R8G8B8 at 61 Hz is not one of the adapter's modes"},
        RefusalCase{"DepthFormatNotAccepted",
                    [](CreateRequest& r, const Windows&) { r.parameters.AutoDepthStencilFormat = D3DFMT_D24S8; },
                    D3DERR_INVALIDCALL, "AutoDepthStencilFormat D24S8 is not an accepted depth format"},
        RefusalCase{"Multisampling",
                    [](CreateRequest& r, const Windows&) { r.parameters.MultiSampleType = D3DMULTISAMPLE_2_SAMPLES; },
                    D3DERR_INVALIDCALL, "multisample type 2 is not offered"},
        RefusalCase{"WindowedWithAPresentationInterval",
                    [](CreateRequest& r, const Windows&) {
                        r.parameters.Windowed = TRUE;
                        r.parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
                    },
                    D3DERR_INVALIDCALL, "a windowed device takes FullScreen_PresentationInterval DEFAULT"},
        RefusalCase{"WindowedWithARefreshRate",
                    [](CreateRequest& r, const Windows&) {
                        r.parameters.Windowed = TRUE;
                        r.parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
                        r.parameters.FullScreen_RefreshRateInHz = 60;
                    },
                    D3DERR_INVALIDCALL, "a windowed device takes FullScreen_RefreshRateInHz 0"},
        RefusalCase{"WindowedInAFormatThatDoesNotRender",
                    [](CreateRequest& r, const Windows&) {
                        r.parameters.Windowed = TRUE;
                        r.parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
                        r.parameters.BackBufferFormat = D3DFMT_R3G3B2;
                    },
                    D3DERR_NOTAVAILABLE, "back buffer format R3G3B2 cannot be rendered to"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST_F(D3D8Test, CreateDeviceWithoutParametersOrOutPointerIsAnInvalidCall) {
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    D3DPRESENT_PARAMETERS parameters = ParametersFor({});
    EXPECT_EQ(direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, 0, &parameters, nullptr), D3DERR_INVALIDCALL);

    auto* device = reinterpret_cast<IDirect3DDevice8*>(0x1);
    EXPECT_EQ(direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, 0, nullptr, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(direct3D->Release(), 0u);
}

struct AcceptedCase {
    const char* name;
    void (*adjust)(CreateRequest& request);
};

class CreateDeviceAcceptedTest : public D3D8Test, public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(CreateDeviceAcceptedTest, MakesADevice) {
    CreateRequest request;
    request.focusWindow = m_window;
    request.parameters = ParametersFor(DeviceDescription{});
    GetParam().adjust(request);

    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    IDirect3DDevice8* device = nullptr;
    ASSERT_EQ(direct3D->CreateDevice(request.adapter, request.deviceType, request.focusWindow,
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &request.parameters, &device),
              D3D_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(direct3D->Release(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, CreateDeviceAcceptedTest,
    ::testing::Values(
        AcceptedCase{"TheProgramsRequest", [](CreateRequest&) {}},
        AcceptedCase{"ReferenceDevice", [](CreateRequest& r) { r.deviceType = D3DDEVTYPE_REF; }},
        AcceptedCase{"OnlyAFocusWindow", [](CreateRequest& r) { r.parameters.hDeviceWindow = nullptr; }},
        AcceptedCase{"OnlyADeviceWindow", [](CreateRequest& r) { r.focusWindow = nullptr; }},
        AcceptedCase{"FlipWithThreeBackBuffers",
                     [](CreateRequest& r) {
                         r.parameters.SwapEffect = D3DSWAPEFFECT_FLIP;
                         r.parameters.BackBufferCount = 3;
                     }},
        AcceptedCase{"SixteenBitWithSixteenBitDepth",
                     [](CreateRequest& r) {
                         r.parameters.BackBufferWidth = 640;
                         r.parameters.BackBufferHeight = 480;
                         r.parameters.BackBufferFormat = D3DFMT_R5G6B5;
                         r.parameters.AutoDepthStencilFormat = D3DFMT_D16;
                     }},
        AcceptedCase{"TheDesktopsRefreshRate", [](CreateRequest& r) { r.parameters.FullScreen_RefreshRateInHz = 60; }},
        AcceptedCase{"Immediate",
                     [](CreateRequest& r) {
                         r.parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
                     }},
        AcceptedCase{"NoDepthBufferWithAnUnusableDepthFormat",
                     [](CreateRequest& r) {
                         r.parameters.EnableAutoDepthStencil = FALSE;
                         r.parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
                     }},
        AcceptedCase{"WindowedOfAnySize",
                     [](CreateRequest& r) {
                         r.parameters.Windowed = TRUE;
                         r.parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
                         r.parameters.BackBufferWidth = 123;
                         r.parameters.BackBufferHeight = 45;
                         r.parameters.BackBufferFormat = D3DFMT_X1R5G5B5;
                     }}),
    [](const ::testing::TestParamInfo<AcceptedCase>& info) { return info.param.name; });

TEST_F(D3D8Test, ABackBufferCountOfZeroMeansOneAndIsWrittenBack) {
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    D3DPRESENT_PARAMETERS parameters = ParametersFor({});
    parameters.BackBufferCount = 0;
    IDirect3DDevice8* device = nullptr;
    ASSERT_EQ(direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, 0, &parameters, &device), D3D_OK);
    EXPECT_EQ(parameters.BackBufferCount, 1u);
    device->Release();
    direct3D->Release();
}

TEST_F(D3D8Test, AFullScreenDeviceMakesItsWindowCoverTheDesktopUntilItIsReleased) {
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    CreateDevice({}, &direct3D, &device);
    const HeadlessHost::WindowState* window = m_host->Inner().FindWindow(HostWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->fullscreen);

    D3DDISPLAYMODE mode{};
    EXPECT_EQ(device->GetDisplayMode(&mode), D3D_OK);
    EXPECT_EQ(mode.Width, 800u);
    EXPECT_EQ(mode.Height, 600u);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(mode.RefreshRate, 60u);

    device->Release();
    EXPECT_FALSE(window->fullscreen);
    direct3D->Release();
}

TEST_F(D3D8Test, AWindowedDeviceLeavesItsWindowAsItIs) {
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    DeviceDescription description;
    description.windowed = true;
    CreateDevice(description, &direct3D, &device);
    const HeadlessHost::WindowState* window = m_host->Inner().FindWindow(HostWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->fullscreen);
    device->Release();
    direct3D->Release();
}

}  // namespace
}  // namespace ostrel::d3d8::testing
