// The device's state: the real runtime's defaults, and setters that refuse what is out of range
// without changing what was there.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include <cstring>

namespace ostrel::d3d8::testing {
namespace {

D3DMATRIX Identity() {
    D3DMATRIX matrix{};
    matrix._11 = matrix._22 = matrix._33 = matrix._44 = 1.0f;
    return matrix;
}

D3DMATRIX Numbered() {
    D3DMATRIX matrix{};
    for (int i = 0; i < 16; ++i) matrix.m[i / 4][i % 4] = static_cast<float>(i + 1);
    return matrix;
}

bool SameMatrix(const D3DMATRIX& a, const D3DMATRIX& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class DeviceStateTest : public D3D8DeviceTest {
protected:
    DWORD RenderState(D3DRENDERSTATETYPE state) {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(m_device->GetRenderState(state, &value), D3D_OK);
        return value;
    }
};

TEST_F(DeviceStateTest, RenderStatesStartAtTheRealDefaults) {
    const struct {
        D3DRENDERSTATETYPE state;
        DWORD value;
    } defaults[] = {
        {D3DRS_ZENABLE, D3DZB_TRUE},  // the device has an automatic depth buffer
        {D3DRS_ZWRITEENABLE, TRUE},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_LIGHTING, TRUE},
        {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
        {D3DRS_FILLMODE, D3DFILL_SOLID},
        {D3DRS_AMBIENT, 0},
        {D3DRS_ALPHABLENDENABLE, FALSE},
        {D3DRS_CLIPPING, TRUE},
        {D3DRS_COLORWRITEENABLE, 0xF},
        {D3DRS_SOFTWAREVERTEXPROCESSING, TRUE},  // created with software vertex processing
    };
    for (const auto& entry : defaults) {
        EXPECT_EQ(RenderState(entry.state), entry.value) << "render state " << entry.state;
    }
}

class DeviceWithoutDepthTest : public DeviceStateTest {
protected:
    DeviceDescription Description() const override {
        DeviceDescription description;
        description.depthFormat = D3DFMT_UNKNOWN;
        return description;
    }
};

TEST_F(DeviceWithoutDepthTest, DepthTestingStartsOffWithoutADepthBuffer) {
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_FALSE));
}

TEST_F(DeviceStateTest, RenderStatesKeepAnyValueButOnlyStateNumbersUpTo255) {
    EXPECT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, 12345), D3D_OK);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), 12345u);
    EXPECT_EQ(m_device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(255), 7), D3D_OK);
    EXPECT_EQ(RenderState(static_cast<D3DRENDERSTATETYPE>(255)), 7u);

    EXPECT_EQ(m_device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(256), 1), D3DERR_INVALIDCALL);
    DWORD value = 0;
    EXPECT_EQ(m_device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(256), &value), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetRenderState(D3DRS_LIGHTING, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(DeviceStateTest, TransformsStartAsIdentityAndKeepWhatIsSet) {
    for (D3DTRANSFORMSTATETYPE state : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) {
        D3DMATRIX matrix = Numbered();
        ASSERT_EQ(m_device->GetTransform(state, &matrix), D3D_OK);
        EXPECT_TRUE(SameMatrix(matrix, Identity())) << "transform " << state;

        const D3DMATRIX set = Numbered();
        ASSERT_EQ(m_device->SetTransform(state, &set), D3D_OK);
        ASSERT_EQ(m_device->GetTransform(state, &matrix), D3D_OK);
        EXPECT_TRUE(SameMatrix(matrix, set)) << "transform " << state;
    }
}

TEST_F(DeviceStateTest, TransformStatesThatDoNotExistAreInvalidCalls) {
    const D3DMATRIX matrix = Numbered();
    for (UINT state : {0u, 1u, 4u, 15u, 24u, 255u, 512u, 0x7fffffffu}) {
        const auto type = static_cast<D3DTRANSFORMSTATETYPE>(state);
        EXPECT_EQ(m_device->SetTransform(type, &matrix), D3DERR_INVALIDCALL) << "state " << state;
        D3DMATRIX read{};
        EXPECT_EQ(m_device->GetTransform(type, &read), D3DERR_INVALIDCALL) << "state " << state;
    }
    EXPECT_EQ(m_device->SetTransform(D3DTS_VIEW, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetTransform(D3DTS_VIEW, nullptr), D3DERR_INVALIDCALL);
    D3DMATRIX view{};
    ASSERT_EQ(m_device->GetTransform(D3DTS_VIEW, &view), D3D_OK);
    EXPECT_TRUE(SameMatrix(view, Identity()));
}

TEST_F(DeviceStateTest, TheViewportStartsAsTheWholeBackBuffer) {
    D3DVIEWPORT8 viewport{1, 2, 3, 4, 0.5f, 0.5f};
    ASSERT_EQ(m_device->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.X, 0u);
    EXPECT_EQ(viewport.Y, 0u);
    EXPECT_EQ(viewport.Width, 800u);
    EXPECT_EQ(viewport.Height, 600u);
    EXPECT_EQ(viewport.MinZ, 0.0f);
    EXPECT_EQ(viewport.MaxZ, 1.0f);
    EXPECT_EQ(m_device->GetViewport(nullptr), D3DERR_INVALIDCALL);
}

TEST_F(DeviceStateTest, SetViewportTakesOnlyViewportsInsideTheBackBuffer) {
    const struct {
        D3DVIEWPORT8 viewport;
        HRESULT expected;
    } rows[] = {
        {{0, 0, 800, 600, 0.0f, 1.0f}, D3D_OK},
        {{100, 50, 700, 550, 0.25f, 0.75f}, D3D_OK},
        {{100, 0, 701, 600, 0.0f, 1.0f}, D3DERR_INVALIDCALL},
        {{0, 1, 800, 600, 0.0f, 1.0f}, D3DERR_INVALIDCALL},
        {{0xFFFFFFFFu, 0, 2, 600, 0.0f, 1.0f}, D3DERR_INVALIDCALL},  // X + Width wraps in 32 bits
        {{0, 0, 0, 600, 0.0f, 1.0f}, D3DERR_INVALIDCALL},
        {{0, 0, 800, 600, -0.1f, 1.0f}, D3DERR_INVALIDCALL},
        {{0, 0, 800, 600, 0.0f, 1.5f}, D3DERR_INVALIDCALL},
    };
    for (const auto& row : rows) {
        const D3DVIEWPORT8 previous{10, 20, 30, 40, 0.0f, 1.0f};
        ASSERT_EQ(m_device->SetViewport(&previous), D3D_OK);
        EXPECT_EQ(m_device->SetViewport(&row.viewport), row.expected)
            << row.viewport.X << "," << row.viewport.Y << " " << row.viewport.Width << "x" << row.viewport.Height;
        D3DVIEWPORT8 now{};
        ASSERT_EQ(m_device->GetViewport(&now), D3D_OK);
        const D3DVIEWPORT8& expected = row.expected == D3D_OK ? row.viewport : previous;
        EXPECT_EQ(std::memcmp(&now, &expected, sizeof now), 0);
    }
    EXPECT_EQ(m_device->SetViewport(nullptr), D3DERR_INVALIDCALL);
}

TEST_F(DeviceStateTest, SetVertexShaderTakesVertexFormatsWithAPosition) {
    const struct {
        DWORD handle;
        HRESULT expected;
    } rows[] = {
        {D3DFVF_XYZ | D3DFVF_DIFFUSE, D3D_OK},
        {D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, D3D_OK},
        {D3DFVF_XYZ, D3D_OK},
        {D3DFVF_DIFFUSE, D3DERR_INVALIDCALL},  // no position
        {0, D3DERR_INVALIDCALL},
        {D3DFVF_XYZ | D3DFVF_RESERVED0, D3DERR_INVALIDCALL},  // a shader handle; none exist
        {1, D3DERR_INVALIDCALL},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(m_device->SetVertexShader(D3DFVF_XYZ), D3D_OK);
        EXPECT_EQ(m_device->SetVertexShader(row.handle), row.expected) << "handle 0x" << std::hex << row.handle;
        DWORD now = 0;
        ASSERT_EQ(m_device->GetVertexShader(&now), D3D_OK);
        EXPECT_EQ(now, row.expected == D3D_OK ? row.handle : static_cast<DWORD>(D3DFVF_XYZ));
    }
    EXPECT_EQ(m_device->GetVertexShader(nullptr), D3DERR_INVALIDCALL);
}

TEST_F(DeviceStateTest, StreamsBeyondFifteenAndForeignBuffersAreRefused) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(m_device->SetStreamSource(16, buffer, 16), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetStreamSource(15, buffer, 16), D3D_OK);

    IDirect3D8* otherDirect3D = nullptr;
    IDirect3DDevice8* otherDevice = nullptr;
    CreateDevice({}, &otherDirect3D, &otherDevice);
    EXPECT_EQ(otherDevice->SetStreamSource(0, buffer, 16), D3DERR_INVALIDCALL);

    IDirect3DVertexBuffer8* bound = nullptr;
    UINT stride = 0;
    EXPECT_EQ(otherDevice->GetStreamSource(0, &bound, &stride), D3D_OK);
    EXPECT_EQ(bound, nullptr);
    EXPECT_EQ(m_device->GetStreamSource(16, &bound, &stride), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetStreamSource(0, nullptr, &stride), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetStreamSource(0, &bound, nullptr), D3DERR_INVALIDCALL);

    otherDevice->Release();
    otherDirect3D->Release();
    buffer->Release();
}

TEST_F(DeviceStateTest, TestCooperativeLevelIsAlwaysFine) { EXPECT_EQ(m_device->TestCooperativeLevel(), D3D_OK); }

}  // namespace
}  // namespace ostrel::d3d8::testing
