// Start-up: Direct3D interface, back-buffer and depth formats with their fallbacks, the device's
// presentation parameters and render states, and exactly what the log says at each step.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "program/direct3d_mocks.h"
#include "program/failing_allocation.h"
#include "program/program_fixture.h"

using ::testing::_;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x1234);

class DeviceInitialisation : public InTemporaryFolder {
protected:
    void SetUp() override {
        InTemporaryFolder::SetUp();
        FakeDirect3DCreate::next = &direct3d;
        FakeDirect3DCreate::calls = 0;
        ON_CALL(direct3d, GetAdapterModeCount(_)).WillByDefault([this](UINT adapter) {
            return adapter == 0 ? static_cast<UINT>(modes.size()) : 0u;
        });
        ON_CALL(direct3d, EnumAdapterModes(_, _, _)).WillByDefault([this](UINT, UINT index, D3DDISPLAYMODE* mode) {
            *mode = modes.at(index);
            return D3D_OK;
        });
        ON_CALL(direct3d, CheckDeviceFormat(_, _, _, _, _, _))
            .WillByDefault([this](UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT depth) {
                depthAsked.push_back(depth);
                auto answer = depthAnswers.find(depth);
                return answer == depthAnswers.end() ? D3DERR_NOTAVAILABLE : answer->second;
            });
        ON_CALL(direct3d, CreateDevice(_, _, _, _, _, _))
            .WillByDefault([this](UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS* parameters,
                                  IDirect3DDevice8** out) {
                presentParameters = *parameters;
                if (deviceResult < 0) {
                    return deviceResult;
                }
                *out = &device;
                return deviceResult;
            });
        ON_CALL(device, CreateVertexBuffer(_, _, _, _, _))
            .WillByDefault([this](UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8** out) {
                *out = &vertexBuffer.buffer;
                return D3D_OK;
            });
    }

    void TearDown() override {
        // The doubles live on the fixture: detach them before the teardown would release them.
        app.m_pDirect3D = nullptr;
        app.m_pDevice = nullptr;
        delete app.m_pBox;
        app.m_pBox = nullptr;
        app.m_logEnabled = false;
        FakeDirect3DCreate::next = nullptr;
        InTemporaryFolder::TearDown();
    }

    std::vector<D3DDISPLAYMODE> modes = {
        {640, 480, 60, D3DFMT_X8R8G8B8}, {640, 480, 60, D3DFMT_R5G6B5},
        {800, 600, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_R5G6B5},
    };
    std::map<D3DFORMAT, HRESULT> depthAnswers = {
        {D3DFMT_D32, D3D_OK}, {D3DFMT_D24X8, D3D_OK}, {D3DFMT_D16, D3D_OK}};
    std::vector<D3DFORMAT> depthAsked;
    HRESULT deviceResult = D3D_OK;
    D3DPRESENT_PARAMETERS presentParameters{};

    NiceMock<MockDirect3D8> direct3d;
    NiceMock<MockDevice8> device;
    MockVertexBufferWithMemory vertexBuffer;
    TestApplication app;
};

TEST_F(DeviceInitialisation, SuccessWritesFourLinesAndAFullScreenDevice) {
    EXPECT_CALL(direct3d, CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, kWindow,
                                       static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING), _, _));
    app.StartLog();
    EXPECT_TRUE(app.Initialise(kWindow, 800, 600));

    EXPECT_EQ(FakeDirect3DCreate::lastSdkVersion, 220u);
    EXPECT_THAT(LogLines(), ElementsAre("InitialiseD3D Started...",
                                        "\t800 x 600 x 32bit back buffer format selected. Format = 22.",
                                        "\t32bit depth buffer selected", "InitialiseD3D Finished OK"));

    const D3DPRESENT_PARAMETERS& p = presentParameters;
    EXPECT_EQ(p.BackBufferWidth, 800u);
    EXPECT_EQ(p.BackBufferHeight, 600u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_COPY_VSYNC);
    EXPECT_EQ(p.hDeviceWindow, kWindow);
    EXPECT_EQ(p.Windowed, FALSE);
    EXPECT_EQ(p.EnableAutoDepthStencil, TRUE);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D32);
    EXPECT_EQ(p.Flags, 0u);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.FullScreen_PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_ONE));

    EXPECT_EQ(app.GetDevice(), &device);
    ASSERT_NE(app.m_pBox, nullptr);
}

TEST_F(DeviceInitialisation, RenderStatesInOrderAlsoWithoutADepthBuffer) {
    depthAnswers.clear();
    {
        InSequence order;
        EXPECT_CALL(device, SetRenderState(D3DRS_CULLMODE, static_cast<DWORD>(D3DCULL_CCW)));
        EXPECT_CALL(device, SetRenderState(D3DRS_LIGHTING, static_cast<DWORD>(FALSE)));
        EXPECT_CALL(device, SetRenderState(D3DRS_ZENABLE, static_cast<DWORD>(D3DZB_TRUE)));
    }
    EXPECT_EQ(app.InitialiseD3D(kWindow, 800, 600), S_OK);
    EXPECT_EQ(presentParameters.EnableAutoDepthStencil, FALSE);
    EXPECT_EQ(presentParameters.AutoDepthStencilFormat, D3DFMT_UNKNOWN);
}

struct DepthCase {
    const char* name;
    std::map<D3DFORMAT, HRESULT> answers;
    std::vector<D3DFORMAT> asked;
    const char* logLine;
    BOOL enabled;
    D3DFORMAT chosen;
};

class DepthFallback : public DeviceInitialisation, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(DepthFallback, TakesTheFirstFormatAnsweredExactlyOk) {
    const DepthCase& c = GetParam();
    depthAnswers = c.answers;
    app.StartLog();
    EXPECT_EQ(app.InitialiseD3D(kWindow, 800, 600), S_OK);
    EXPECT_THAT(depthAsked, ElementsAreArray(c.asked));
    EXPECT_THAT(LogLines(), ElementsAre("InitialiseD3D Started...",
                                        "\t800 x 600 x 32bit back buffer format selected. Format = 22.", c.logLine,
                                        "InitialiseD3D Finished OK"));
    EXPECT_EQ(presentParameters.EnableAutoDepthStencil, c.enabled);
    EXPECT_EQ(presentParameters.AutoDepthStencilFormat, c.chosen);
}

const std::vector<D3DFORMAT> kAllThree = {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D16};

INSTANTIATE_TEST_SUITE_P(
    Answers, DepthFallback,
    ::testing::Values(
        DepthCase{"D32", {{D3DFMT_D32, D3D_OK}}, {D3DFMT_D32}, "\t32bit depth buffer selected", TRUE, D3DFMT_D32},
        DepthCase{"D24X8", {{D3DFMT_D24X8, D3D_OK}, {D3DFMT_D16, D3D_OK}}, {D3DFMT_D32, D3DFMT_D24X8},
                  "\t24bit depth buffer selected", TRUE, D3DFMT_D24X8},
        DepthCase{"D16", {{D3DFMT_D16, D3D_OK}}, kAllThree, "\t16bit depth buffer selected", TRUE, D3DFMT_D16},
        DepthCase{"None", {}, kAllThree, "\tUnable to select depth buffer.", FALSE, D3DFMT_UNKNOWN},
        // A success code other than D3D_OK is not acceptance.
        DepthCase{"SuccessCodeOtherThanOk", {{D3DFMT_D32, S_FALSE}, {D3DFMT_D24X8, S_FALSE}, {D3DFMT_D16, D3D_OK}},
                  kAllThree, "\t16bit depth buffer selected", TRUE, D3DFMT_D16},
        DepthCase{"OnlyOtherSuccessCodes", {{D3DFMT_D32, S_FALSE}, {D3DFMT_D24X8, 2}, {D3DFMT_D16, 0x7FFFFFFF}},
                  kAllThree, "\tUnable to select depth buffer.", FALSE, D3DFMT_UNKNOWN}),
    [](const ::testing::TestParamInfo<DepthCase>& info) { return std::string(info.param.name); });

TEST_F(DeviceInitialisation, SixteenBitOnlyAdapterChoosesItsFormat) {
    modes = {{800, 600, 60, D3DFMT_R5G6B5}};
    app.StartLog();
    EXPECT_EQ(app.InitialiseD3D(kWindow, 800, 600), S_OK);
    EXPECT_EQ(LogLines().at(1), "\t800 x 600 x 16bit back buffer format selected. Format = 23.");
    EXPECT_EQ(presentParameters.BackBufferFormat, D3DFMT_R5G6B5);
}

TEST_F(DeviceInitialisation, NoInterfaceFailsAndHoldsNothing) {
    FakeDirect3DCreate::next = nullptr;
    app.StartLog();
    EXPECT_FALSE(app.Initialise(kWindow, 800, 600));
    EXPECT_THAT(LogLines(), ElementsAre("InitialiseD3D Started...", "\tUnable to create DirectX9 interface."));
    EXPECT_EQ(app.m_pDirect3D, nullptr);
    EXPECT_EQ(app.m_pBox, nullptr);
}

TEST_F(DeviceInitialisation, NoModeAtTheSizeFailsBeforeAnyDepthOrDeviceStep) {
    modes = {{640, 480, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_A8R8G8B8}};
    EXPECT_CALL(direct3d, CheckDeviceFormat(_, _, _, _, _, _)).Times(0);
    EXPECT_CALL(direct3d, CreateDevice(_, _, _, _, _, _)).Times(0);
    app.StartLog();
    EXPECT_FALSE(app.Initialise(kWindow, 800, 600));
    EXPECT_THAT(LogLines(),
                ElementsAre("InitialiseD3D Started...", "\tUnable to select back buffer format for 800 x 600."));
    EXPECT_EQ(app.m_pDirect3D, &direct3d);
    EXPECT_EQ(app.m_pDevice, nullptr);
}

TEST_F(DeviceInitialisation, RefusedDeviceFailsAndHoldsOnlyTheInterface) {
    deviceResult = D3DERR_NOTAVAILABLE;
    EXPECT_CALL(device, SetRenderState(_, _)).Times(0);
    app.StartLog();
    EXPECT_FALSE(app.Initialise(kWindow, 800, 600));
    EXPECT_THAT(LogLines(), ElementsAre("InitialiseD3D Started...",
                                        "\t800 x 600 x 32bit back buffer format selected. Format = 22.",
                                        "\t32bit depth buffer selected", "\tUnable to create device."));
    EXPECT_EQ(app.m_pDirect3D, &direct3d);
    EXPECT_EQ(app.m_pDevice, nullptr);
    EXPECT_EQ(app.m_pBox, nullptr);
}

TEST_F(DeviceInitialisation, ABoxThatCannotBeAllocatedFailsStartUp) {
    ASSERT_EQ(app.InitialiseD3D(kWindow, 800, 600), S_OK);
    NothrowNewFails outOfMemory;
    EXPECT_FALSE(app.CreateScene());
    EXPECT_EQ(app.m_pBox, nullptr);
}

TEST_F(DeviceInitialisation, ABoxWithoutAVertexBufferStillCountsAsAScene) {
    ON_CALL(device, CreateVertexBuffer(_, _, _, _, _)).WillByDefault(Return(D3DERR_OUTOFVIDEOMEMORY));
    EXPECT_CALL(vertexBuffer.buffer, Lock(_, _, _, _)).Times(0);
    app.StartLog();
    EXPECT_TRUE(app.Initialise(kWindow, 800, 600));
    EXPECT_NE(app.m_pBox, nullptr);
}

}  // namespace
