// The program's default frame drawn straight through the pipeline: the 10-unit box seen from
// (0, 0, -100) shows only its near face, which must land on exactly the pixels and colours the
// real device gives, in a 32-bit and a 16-bit back buffer.
#include "tests/platform/d3d8/render/render_test_support.h"

#include <gtest/gtest.h>


namespace ostrel::d3d8::test {
namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

std::vector<ColouredVertex> BoxVertices() {
    constexpr float L = -5, R = 5, B = -5, T = 5, N = -5, F = 5;
    return {
        {L, T, N, kBlue}, {L, T, F, kRed},   {R, T, N, kRed},   {R, T, F, kGreen},  // top
        {L, B, N, kRed},  {L, T, N, kBlue},  {R, B, N, kGreen}, {R, T, N, kRed},    // near face ...
        {R, B, F, kBlue}, {R, T, F, kGreen}, {L, B, F, kGreen}, {L, T, F, kRed},    // ... around the sides
        {L, B, N, kRed},  {L, T, N, kBlue},
        {R, B, N, kGreen}, {R, B, F, kBlue}, {L, B, N, kRed},  {L, B, F, kGreen},   // bottom
    };
}

void DrawDefaultFrame(Scene& scene) {
    scene.state.view = LookAtLH({0, 0, -100}, {0, 0, 0}, {0, 1, 0});
    scene.state.projection = PerspectiveFovLH(FloatFromBits(0x3F490FDBu), 1.0f, 1.0f, 500.0f);
    scene.state.cullMode = D3DCULL_CCW;
    scene.state.lighting = false;
    const std::vector<ColouredVertex> box = BoxVertices();
    scene.Draw(D3DPT_TRIANGLESTRIP, box, 2, 0);
    scene.Draw(D3DPT_TRIANGLESTRIP, box, 8, 4);
    scene.Draw(D3DPT_TRIANGLESTRIP, box, 2, 14);
}

struct Probe {
    const char* where;
    std::uint32_t x, y;
    D3DCOLOR expected;  // the face's colours interpolated at the pixel, 8 bits per channel
};

// The face's screen rectangle is x 349.17..450.83, y 261.88..338.12, split along its
// upper-left to lower-right diagonal; these are the exact blends at the probed pixels.
constexpr Probe kProbes[] = {
    {"upper-left corner", 350, 262, 0x0200FD},  {"upper-right corner", 450, 262, 0xFD0002},
    {"lower-left corner", 350, 338, 0xFD0200},  {"lower-right corner", 450, 338, 0x02FD00},
    {"top edge middle", 400, 262, 0x7F0080},    {"bottom edge middle", 400, 338, 0x7F8000},
    {"left edge middle", 350, 300, 0x7D0280},   {"right edge middle", 450, 300, 0x7D8002},
    {"centre", 400, 300, 0x008080},
};

struct FrameFormat {
    D3DFORMAT colour;
    D3DFORMAT depth;
    int tolerance;  // per channel: rounding, plus one quantisation step for 16-bit buffers
};

class DefaultFrame : public ::testing::TestWithParam<FrameFormat> {};

TEST_P(DefaultFrame, CoversExactlyTheNearFacePixels) {
    Scene scene(800, 600, GetParam().colour, GetParam().depth);
    DrawDefaultFrame(scene);

    int covered = 0, outsideFace = 0;
    for (std::uint32_t y = 0; y < 600; ++y)
        for (std::uint32_t x = 0; x < 800; ++x) {
            const bool lit = scene.colour.Read(x, y) != 0xFF000000u;
            const bool inFace = x >= 350 && x <= 450 && y >= 262 && y <= 338;
            covered += lit ? 1 : 0;
            outsideFace += (lit && !inFace) ? 1 : 0;
            ASSERT_EQ(lit, scene.depth->Read(x, y) < 1.0f) << "colour and depth disagree at " << x << "," << y;
        }
    EXPECT_EQ(covered, 101 * 77);
    EXPECT_EQ(outsideFace, 0);
}

TEST_P(DefaultFrame, BlendsTheCornerColoursAcrossTheFace) {
    Scene scene(800, 600, GetParam().colour, GetParam().depth);
    DrawDefaultFrame(scene);
    for (const Probe& probe : kProbes) {
        const D3DCOLOR actual = scene.colour.Read(probe.x, probe.y);
        EXPECT_LE(ChannelDistance(actual, probe.expected), GetParam().tolerance)
            << probe.where << " (" << probe.x << "," << probe.y << "): got 0x" << std::hex << actual;
    }
}

TEST_P(DefaultFrame, StoresTheNearFaceDepth) {
    // z_s = (95 - 1) * 500 / 499 / 95 for the face at view depth 95, the same at every pixel.
    Scene scene(800, 600, GetParam().colour, GetParam().depth);
    DrawDefaultFrame(scene);
    const double expected = (95.0 - 1.0) * 500.0 / 499.0 / 95.0;
    const double step = 1.0 / scene.depth->MaxValue();
    EXPECT_NEAR(scene.depth->Read(400, 300), expected, step + 1e-6);
    EXPECT_NEAR(scene.depth->Read(350, 262), expected, step + 1e-6);
    EXPECT_EQ(scene.depth->Read(349, 300), 1.0f);
}

INSTANTIATE_TEST_SUITE_P(BackBufferFormats, DefaultFrame,
                         ::testing::Values(FrameFormat{D3DFMT_X8R8G8B8, D3DFMT_D32, 3},
                                           FrameFormat{D3DFMT_R5G6B5, D3DFMT_D16, 9}),
                         [](const auto& info) {
                             return info.param.colour == D3DFMT_X8R8G8B8 ? std::string("X8R8G8B8_D32")
                                                                         : std::string("R5G6B5_D16");
                         });

}  // namespace
}  // namespace ostrel::d3d8::test
