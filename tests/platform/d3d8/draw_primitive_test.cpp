// DrawPrimitive's checks: each refused call is D3DERR_INVALIDCALL and draws nothing. Whether the
// accepted ones are drawn right is the render pipeline's business; here one coarse look only.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include <cstring>
#include <string>

namespace ostrel::d3d8::testing {
namespace {

constexpr D3DCOLOR kBlack = 0xFF000000;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

struct Vertex {
    float x, y, z;
    D3DCOLOR colour;
};
static_assert(sizeof(Vertex) == 16);

// 18 vertices (the program's 288 bytes); the first four make a strip covering the whole of clip
// space, facing either way, in red.
constexpr UINT kVertexCount = 18;

class DrawPrimitiveTest : public D3D8DeviceTest {
protected:
    DeviceDescription Description() const override {
        DeviceDescription description;
        description.presentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        return description;
    }

    void SetUp() override {
        D3D8DeviceTest::SetUp();
        m_buffer = CreateBuffer(kVertexCount * sizeof(Vertex), kFvf);
        ASSERT_NE(m_buffer, nullptr);
        Vertex vertices[kVertexCount] = {
            {-1.0f, -1.0f, 0.5f, kRed}, {-1.0f, 1.0f, 0.5f, kRed}, {1.0f, -1.0f, 0.5f, kRed}, {1.0f, 1.0f, 0.5f, kRed}};
        BYTE* data = nullptr;
        ASSERT_EQ(m_buffer->Lock(0, 0, &data, 0), D3D_OK);
        std::memcpy(data, vertices, sizeof vertices);
        ASSERT_EQ(m_buffer->Unlock(), D3D_OK);
        ASSERT_EQ(m_device->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
        ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0), D3D_OK);
    }

    void TearDown() override {
        if (m_buffer != nullptr) m_buffer->Release();
        D3D8DeviceTest::TearDown();
    }

    void Bind(UINT stride) {
        ASSERT_EQ(m_device->SetStreamSource(0, m_buffer, stride), D3D_OK);
        ASSERT_EQ(m_device->SetVertexShader(kFvf), D3D_OK);
    }

    D3DCOLOR CentrePixel() {
        EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        const FrameView frame = m_host->Inner().LastFrame();
        const auto* row = reinterpret_cast<const BYTE*>(frame.pixels) + static_cast<std::size_t>(frame.height / 2) *
                                                                           frame.pitchBytes;
        return 0xFF000000u | reinterpret_cast<const std::uint32_t*>(row)[frame.width / 2];
    }

    IDirect3DVertexBuffer8* m_buffer = nullptr;
};

struct DrawCase {
    const char* name;
    UINT stride;
    D3DPRIMITIVETYPE type;
    UINT startVertex;
    UINT primitiveCount;
    HRESULT expected;
};

class DrawPrimitiveArgumentTest : public DrawPrimitiveTest, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(DrawPrimitiveArgumentTest, AnswersAsTheRealRuntime) {
    const DrawCase& row = GetParam();
    Bind(row.stride);
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
    EXPECT_EQ(m_device->DrawPrimitive(row.type, row.startVertex, row.primitiveCount), row.expected);
    ASSERT_EQ(m_device->EndScene(), D3D_OK);
    if (row.expected != D3D_OK) {
        EXPECT_EQ(CentrePixel(), kBlack) << "a refused draw drew";
    }
}

constexpr auto kList = D3DPT_TRIANGLELIST;
constexpr auto kStrip = D3DPT_TRIANGLESTRIP;

INSTANTIATE_TEST_SUITE_P(
    Arguments, DrawPrimitiveArgumentTest,
    ::testing::Values(
        DrawCase{"TheProgramsStrips", 16, kStrip, 12, 4, D3D_OK},
        DrawCase{"WholeBufferAsAList", 16, kList, 0, 6, D3D_OK},
        DrawCase{"LastStripEndsAtTheEnd", 16, kStrip, 15, 1, D3D_OK},
        DrawCase{"Fan", 16, D3DPT_TRIANGLEFAN, 0, 16, D3D_OK},
        // Points and lines are accepted and drawn as nothing: the pipeline rasterises triangles only.
        DrawCase{"Points", 16, D3DPT_POINTLIST, 0, 18, D3D_OK},
        DrawCase{"Lines", 16, D3DPT_LINELIST, 0, 9, D3D_OK},
        DrawCase{"LineStrip", 16, D3DPT_LINESTRIP, 0, 17, D3D_OK},
        DrawCase{"WiderStrideFitsFewerVertices", 20, kStrip, 0, 12, D3D_OK},
        DrawCase{"ListOneTrianglePastTheEnd", 16, kList, 0, 7, D3DERR_INVALIDCALL},
        DrawCase{"StripOneVertexPastTheEnd", 16, kStrip, 16, 1, D3DERR_INVALIDCALL},
        DrawCase{"WiderStridePastTheEnd", 20, kStrip, 0, 13, D3DERR_INVALIDCALL},
        DrawCase{"PointsPastTheEnd", 16, D3DPT_POINTLIST, 0, 19, D3DERR_INVALIDCALL},
        DrawCase{"StartWrapsIn32Bits", 16, kStrip, 0xFFFFFFFFu, 1, D3DERR_INVALIDCALL},
        DrawCase{"CountWrapsIn32Bits", 16, kList, 0, 0x55555556u, D3DERR_INVALIDCALL},
        DrawCase{"NoPrimitives", 16, kStrip, 0, 0, D3DERR_INVALIDCALL},
        DrawCase{"StrideZero", 0, kStrip, 0, 2, D3DERR_INVALIDCALL},
        DrawCase{"StrideSmallerThanAVertex", 12, kStrip, 0, 2, D3DERR_INVALIDCALL},
        DrawCase{"TypeZero", 16, static_cast<D3DPRIMITIVETYPE>(0), 0, 2, D3DERR_INVALIDCALL},
        DrawCase{"TypeSeven", 16, static_cast<D3DPRIMITIVETYPE>(7), 0, 2, D3DERR_INVALIDCALL}),
    [](const ::testing::TestParamInfo<DrawCase>& info) { return info.param.name; });

TEST_F(DrawPrimitiveTest, OutsideASceneIsAnInvalidCall) {
    Bind(16);
    EXPECT_EQ(m_device->DrawPrimitive(kStrip, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(CentrePixel(), kBlack);
}

TEST_F(DrawPrimitiveTest, WithoutAStreamOrAVertexFormatIsAnInvalidCall) {
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
    EXPECT_EQ(m_device->DrawPrimitive(kStrip, 0, 2), D3DERR_INVALIDCALL) << "nothing bound yet";
    ASSERT_EQ(m_device->SetStreamSource(0, m_buffer, 16), D3D_OK);
    EXPECT_EQ(m_device->DrawPrimitive(kStrip, 0, 2), D3DERR_INVALIDCALL) << "no vertex format yet";
    ASSERT_EQ(m_device->SetVertexShader(kFvf), D3D_OK);
    ASSERT_EQ(m_device->SetStreamSource(0, nullptr, 0), D3D_OK);
    EXPECT_EQ(m_device->DrawPrimitive(kStrip, 0, 2), D3DERR_INVALIDCALL) << "stream unbound";
    ASSERT_EQ(m_device->EndScene(), D3D_OK);
    EXPECT_EQ(CentrePixel(), kBlack);
}

TEST_F(DrawPrimitiveTest, ScenesDoNotNest) {
    EXPECT_EQ(m_device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->BeginScene(), D3D_OK);
    EXPECT_EQ(m_device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->EndScene(), D3D_OK);
    EXPECT_EQ(m_device->EndScene(), D3DERR_INVALIDCALL);
}

TEST_F(DrawPrimitiveTest, AnAcceptedDrawReachesTheBackBuffer) {
    Bind(16);
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
    ASSERT_EQ(m_device->DrawPrimitive(kStrip, 0, 2), D3D_OK);
    ASSERT_EQ(m_device->EndScene(), D3D_OK);
    EXPECT_EQ(CentrePixel(), kRed);
}

// A render state takes any DWORD. Values past the enumerations' 0x7fffffff are as unknown as
// 0x7fffffff itself and must draw as it does (the sanitizers catch a careless conversion).
class DrawWithOutOfRangeState : public DrawPrimitiveTest, public ::testing::WithParamInterface<D3DRENDERSTATETYPE> {
protected:
    D3DCOLOR DrawWith(DWORD value) {
        EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0), D3D_OK);
        EXPECT_EQ(m_device->SetRenderState(GetParam(), value), D3D_OK);
        EXPECT_EQ(m_device->BeginScene(), D3D_OK);
        EXPECT_EQ(m_device->DrawPrimitive(kStrip, 0, 2), D3D_OK);
        EXPECT_EQ(m_device->EndScene(), D3D_OK);
        return CentrePixel();
    }
};

TEST_P(DrawWithOutOfRangeState, DrawsAsTheLargestUnknownValue) {
    Bind(16);
    const D3DCOLOR unknown = DrawWith(0x7fffffff);
    EXPECT_EQ(DrawWith(0x80000000u), unknown);
    EXPECT_EQ(DrawWith(0xFFFFFFFFu), unknown);
}

INSTANTIATE_TEST_SUITE_P(States, DrawWithOutOfRangeState,
                         ::testing::Values(D3DRS_CULLMODE, D3DRS_ZENABLE, D3DRS_ZFUNC, D3DRS_SHADEMODE),
                         [](const ::testing::TestParamInfo<D3DRENDERSTATETYPE>& info) {
                             return "State" + std::to_string(static_cast<int>(info.param));
                         });

}  // namespace
}  // namespace ostrel::d3d8::testing
