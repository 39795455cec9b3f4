// OSTREL_FAIL: each injected fault fails its one call with the code a program must cope with,
// after the call's own checks, and hands out nothing.
#include "tests/platform/d3d8/d3d8_fixture.h"

namespace ostrel::d3d8::testing {
namespace {

class FaultInjectionTest : public D3D8Test {
protected:
    void InstallFault(bool FaultSet::*fault) {
        FaultSet faults;
        faults.*fault = true;
        Config config;
        config.faults = faults;
        Reinstall(config);
    }
};

TEST_F(FaultInjectionTest, CreateMakesDirect3DCreate8ReturnNull) {
    InstallFault(&FaultSet::create);
    EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION), nullptr);
}

TEST_F(FaultInjectionTest, AnotherSdkVersionGetsNoInterface) {
    EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION - 1), nullptr);
    EXPECT_EQ(Direct3DCreate8(0), nullptr);
}

TEST_F(FaultInjectionTest, DeviceMakesAValidCreateDeviceUnavailable) {
    InstallFault(&FaultSet::device);
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    D3DPRESENT_PARAMETERS parameters = ParametersFor({});
    auto* device = reinterpret_cast<IDirect3DDevice8*>(0x1);
    EXPECT_EQ(direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, 0, &parameters, &device), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);

    // The parameters are still checked first: a bad request keeps its own answer.
    parameters.SwapEffect = static_cast<D3DSWAPEFFECT>(0);
    EXPECT_EQ(direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, 0, &parameters, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(direct3D->Release(), 0u);
}

TEST_F(FaultInjectionTest, VertexBufferRunsOutOfVideoMemory) {
    InstallFault(&FaultSet::vertexBuffer);
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    CreateDevice({}, &direct3D, &device);
    auto* buffer = reinterpret_cast<IDirect3DVertexBuffer8*>(0x1);
    EXPECT_EQ(device->CreateVertexBuffer(288, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT, &buffer),
              D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(device->CreateVertexBuffer(0, 0, 0, D3DPOOL_DEFAULT, &buffer), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(direct3D->Release(), 0u);
}

TEST_F(FaultInjectionTest, LockFailsAndGivesNoPointer) {
    InstallFault(&FaultSet::lock);
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    CreateDevice({}, &direct3D, &device);
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(288, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT, &buffer), D3D_OK);
    BYTE* data = reinterpret_cast<BYTE*>(0x1);
    EXPECT_EQ(buffer->Lock(0, 288, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL) << "a failed Lock left the buffer locked";
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(direct3D->Release(), 0u);
}

}  // namespace
}  // namespace ostrel::d3d8::testing
