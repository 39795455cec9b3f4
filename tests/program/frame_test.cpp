// One frame: clear, camera, box, present, count; and the camera's two matrices.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <d3dx9.h>

#include <array>
#include <cmath>
#include <cstring>

#include "program/direct3d_mocks.h"
#include "program/program_fixture.h"

using ::testing::_;
using ::testing::FloatEq;
using ::testing::InSequence;
using ::testing::IsNull;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        ON_CALL(device, CreateVertexBuffer(_, _, _, _, _))
            .WillByDefault([this](UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8** out) {
                *out = &vertexBuffer.buffer;
                return D3D_OK;
            });
        ON_CALL(device, SetTransform(_, _)).WillByDefault([this](D3DTRANSFORMSTATETYPE state, const D3DMATRIX* m) {
            (state == D3DTS_VIEW ? view : projection) = *m;
            return D3D_OK;
        });
    }

    void TearDown() override {
        delete app.m_pBox;
        app.m_pBox = nullptr;
        app.m_pDevice = nullptr;
    }

    NiceMock<MockDevice8> device;
    MockVertexBufferWithMemory vertexBuffer;
    TestApplication app;
    D3DMATRIX view{};
    D3DMATRIX projection{};
};

TEST_F(Frame, WithoutADeviceNothingHappens) {
    app.RenderFrame();
    EXPECT_EQ(app.m_frameCount, 0u);
}

TEST_F(Frame, ClearsDrawsTheBoxPresentsAndCounts) {
    app.m_pDevice = &device;
    app.m_pBox = new Box(&device);
    {
        InSequence order;
        EXPECT_CALL(device, Clear(0u, IsNull(), static_cast<DWORD>(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), 0xFF000000u,
                                  1.0f, 0u));
        EXPECT_CALL(device, BeginScene());
        EXPECT_CALL(device, SetTransform(D3DTS_VIEW, _));
        EXPECT_CALL(device, SetTransform(D3DTS_PROJECTION, _));
        EXPECT_CALL(device, SetStreamSource(0u, _, 16u));
        EXPECT_CALL(device, SetVertexShader(0x42u));
        EXPECT_CALL(device, DrawPrimitive(D3DPT_TRIANGLESTRIP, _, _)).Times(3);
        EXPECT_CALL(device, EndScene());
        EXPECT_CALL(device, Present(IsNull(), IsNull(), IsNull(), IsNull()));
    }
    app.RenderFrame();
    EXPECT_EQ(app.m_frameCount, 1u);
}

TEST_F(Frame, CountsEveryFrameWhateverTheDeviceAnswers) {
    app.m_pDevice = &device;  // no box: the frame is still cleared, presented and counted
    ON_CALL(device, BeginScene()).WillByDefault(Return(D3DERR_INVALIDCALL));
    ON_CALL(device, Present(_, _, _, _)).WillByDefault(Return(D3DERR_DEVICELOST));
    EXPECT_CALL(device, DrawPrimitive(_, _, _)).Times(0);
    for (int i = 0; i < 3; ++i) {
        app.RenderFrame();
    }
    EXPECT_EQ(app.m_frameCount, 3u);
}

TEST_F(Frame, CameraLooksAlongZFromAHundredUnitsInFront) {
    app.m_pDevice = &device;
    app.SetCameraTransforms();
    const D3DXMATRIX matView(view);
    const D3DXMATRIX matProj(projection);

    D3DXVECTOR3 out;
    const D3DXVECTOR3 eye(0, 0, -100);
    D3DXVec3TransformCoord(&out, &eye, &matView);
    EXPECT_THAT((std::array<float, 3>{out.x, out.y, out.z}), ::testing::ElementsAre(0.0f, 0.0f, 0.0f));
    const D3DXVECTOR3 origin(0, 0, 0);
    D3DXVec3TransformCoord(&out, &origin, &matView);
    EXPECT_THAT((std::array<float, 3>{out.x, out.y, out.z}), ::testing::ElementsAre(0.0f, 0.0f, 100.0f));

    // Depth 0 at the near plane and 1 at the far plane; a quarter-pi field of view, aspect 1.
    D3DXVECTOR3 nearPoint(0, 0, 1), farPoint(0, 0, 500);
    D3DXVec3TransformCoord(&out, &nearPoint, &matProj);
    EXPECT_NEAR(out.z, 0.0f, 1e-6);
    D3DXVec3TransformCoord(&out, &farPoint, &matProj);
    EXPECT_NEAR(out.z, 1.0f, 1e-6);
    const float cotangent = 1.0f / std::tan(D3DX_PI / 8);
    EXPECT_THAT(matProj._11, FloatEq(cotangent));
    EXPECT_THAT(matProj._22, FloatEq(cotangent));
    EXPECT_EQ(matProj._34, 1.0f);
    EXPECT_EQ(matProj._44, 0.0f);
}

}  // namespace
