// Clear: its refusals leave both buffers alone; what it clears is the viewport, or the given
// rectangles cut to the viewport. Colours are read back coarsely through Present.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include <string>

namespace ostrel::d3d8::testing {
namespace {

constexpr D3DCOLOR kBlack = 0xFF000000;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;
constexpr D3DCOLOR kBlue = 0xFF0000FF;

class ClearTest : public D3D8DeviceTest {
protected:
    DeviceDescription Description() const override {
        DeviceDescription description;
        description.presentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        return description;
    }

    // The pixel as presented, in 0xFFRRGGBB.
    D3DCOLOR PresentedPixel(UINT x, UINT y) {
        EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        const FrameView frame = m_host->Inner().LastFrame();
        if (frame.pixels == nullptr || x >= frame.width || y >= frame.height) {
            ADD_FAILURE() << "no frame, or (" << x << ", " << y << ") is outside it";
            return 0;
        }
        const auto* row = reinterpret_cast<const BYTE*>(frame.pixels) + static_cast<std::size_t>(y) * frame.pitchBytes;
        return 0xFF000000u | reinterpret_cast<const std::uint32_t*>(row)[x];
    }
};

TEST_F(ClearTest, RefusedClearsChangeNothing) {
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
    const D3DRECT rect{0, 0, 10, 10};
    const struct {
        DWORD count;
        const D3DRECT* rects;
        DWORD flags;
    } rows[] = {
        {0, nullptr, 0},                                        // nothing to clear
        {0, nullptr, 0x8},                                      // an unknown flag
        {0, nullptr, D3DCLEAR_TARGET | 0x100},                  // a known and an unknown flag
        {1, nullptr, D3DCLEAR_TARGET},                          // a count without rectangles
        {0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_STENCIL},       // no depth format has a stencil
        {1, &rect, D3DCLEAR_TARGET | D3DCLEAR_STENCIL},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(m_device->Clear(row.count, row.rects, row.flags, kBlue, 1.0f, 0), D3DERR_INVALIDCALL)
            << "count " << row.count << " flags 0x" << std::hex << row.flags;
    }
    EXPECT_EQ(PresentedPixel(5, 5), kRed);
}

TEST_F(ClearTest, TheProgramsClearOfColourAndDepthSucceeds) {
    EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kGreen, 1.0f, 0), D3D_OK);
    EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, kRed, 0.5f, 0), D3D_OK);
    EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, kRed, 7.0f, 0), D3D_OK) << "depth is clamped, not refused";
    EXPECT_EQ(PresentedPixel(400, 300), kGreen);
}

TEST_F(ClearTest, ClearingTheViewportLeavesTheRestAlone) {
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    const D3DVIEWPORT8 viewport{100, 100, 200, 200, 0.0f, 1.0f};
    ASSERT_EQ(m_device->SetViewport(&viewport), D3D_OK);
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0), D3D_OK);
    EXPECT_EQ(PresentedPixel(100, 100), kGreen);
    EXPECT_EQ(PresentedPixel(299, 299), kGreen);
    EXPECT_EQ(PresentedPixel(99, 150), kBlack);
    EXPECT_EQ(PresentedPixel(300, 150), kBlack);
}

TEST_F(ClearTest, RectanglesAreCutToTheViewport) {
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    const D3DVIEWPORT8 viewport{100, 100, 200, 200, 0.0f, 1.0f};
    ASSERT_EQ(m_device->SetViewport(&viewport), D3D_OK);
    const D3DRECT rects[] = {
        {-50, -50, 150, 150},   // reaches out of the surface and the viewport
        {250, 250, 5000, 5000}, // reaches past the surface
        {200, 120, 180, 140},   // inverted: nothing
    };
    ASSERT_EQ(m_device->Clear(3, rects, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
    EXPECT_EQ(PresentedPixel(120, 120), kRed);
    EXPECT_EQ(PresentedPixel(50, 50), kBlack) << "outside the viewport";
    EXPECT_EQ(PresentedPixel(160, 120), kBlack) << "outside the rectangles";
    EXPECT_EQ(PresentedPixel(299, 299), kRed);
    EXPECT_EQ(PresentedPixel(350, 350), kBlack) << "outside the viewport";
    EXPECT_EQ(PresentedPixel(190, 130), kBlack) << "the inverted rectangle";
}

class ClearWithoutDepthTest : public ClearTest {
protected:
    DeviceDescription Description() const override {
        DeviceDescription description = ClearTest::Description();
        description.depthFormat = D3DFMT_UNKNOWN;
        return description;
    }
};

TEST_F(ClearWithoutDepthTest, ClearingDepthIsAnInvalidCallThatClearsNoColourEither) {
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
    EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlue, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, kBlue, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(PresentedPixel(400, 300), kRed);
}

// A program that misuses the device every frame gets one line per kind of misuse, not one a frame.
TEST_F(ClearWithoutDepthTest, RepeatedMisuseIsNamedOncePerDevice) {
    ::testing::internal::CaptureStderr();
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0),
                  D3DERR_INVALIDCALL);
        EXPECT_EQ(m_device->EndScene(), D3DERR_INVALIDCALL);
    }
    const std::string diagnostics = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(diagnostics,
              "ostrel: warning: IDirect3DDevice8::Clear: D3DCLEAR_ZBUFFER without a depth buffer\n"
              "ostrel: warning: IDirect3DDevice8::EndScene: without BeginScene\n");
}

}  // namespace
}  // namespace ostrel::d3d8::testing
