// Which pixels a triangle covers and what colour they get: the top-left fill convention with
// samples at integer coordinates, shared edges, culling by screen winding, the viewport mapping,
// vertex formats, lighting without lights, and perspective-correct Gouraud shading.
#include "tests/platform/d3d8/render/render_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ostrel::d3d8::test {
namespace {

constexpr D3DCOLOR kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;

// Two screen-space triangles covering the rectangle [x0, x1] x [y0, y1].
std::vector<ScreenSpaceVertex> Rectangle(float x0, float y0, float x1, float y1, D3DCOLOR colour = kWhite,
                                         float z = 0.5f) {
    return {{x0, y0, z, 1, colour}, {x1, y0, z, 1, colour}, {x0, y1, z, 1, colour},
            {x1, y0, z, 1, colour}, {x1, y1, z, 1, colour}, {x0, y1, z, 1, colour}};
}

struct FillCase {
    const char* name;
    float x0, y0, x1, y1;
    std::uint32_t firstX, firstY, lastX, lastY;  // the pixels covered, inclusive
};

// A sample exactly on a top or left edge is inside, on a bottom or right edge outside; so a
// rectangle with whole-number corners covers exactly its width times height pixels.
constexpr FillCase kFillCases[] = {
    {"whole-number corners", 2, 3, 6, 5, 2, 3, 5, 4},
    {"half-pixel corners", 1.5f, 1.5f, 4.5f, 3.5f, 2, 2, 4, 3},
    {"just past the centres", 2.01f, 3.01f, 5.99f, 4.99f, 3, 4, 5, 4},
    {"just before the centres", 1.99f, 2.99f, 6.01f, 5.01f, 2, 3, 6, 5},
    {"sub-pixel steps of 1/256", 2.0f + 1.0f / 256, 3, 6.0f + 1.0f / 256, 4, 3, 3, 6, 3},
};

TEST(Rasteriser, FollowsTheTopLeftFillConvention) {
    for (const FillCase& c : kFillCases) {
        SCOPED_TRACE(c.name);
        Scene scene(10, 8, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
        scene.Draw(D3DPT_TRIANGLELIST, Rectangle(c.x0, c.y0, c.x1, c.y1), 2);
        for (std::uint32_t y = 0; y < 8; ++y)
            for (std::uint32_t x = 0; x < 10; ++x) {
                const bool expected = x >= c.firstX && x <= c.lastX && y >= c.firstY && y <= c.lastY;
                EXPECT_EQ(scene.colour.Read(x, y) == kWhite, expected) << x << "," << y;
            }
    }
}

// Draws each triangle alone and counts, per pixel, how many of them covered it.
std::vector<int> CoverageCounts(const std::vector<std::vector<ScreenSpaceVertex>>& triangles, std::uint32_t size) {
    std::vector<int> counts(size * size, 0);
    Scene scene(size, size, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
    for (const auto& triangle : triangles) {
        scene.Clear(kBlack);
        scene.Draw(D3DPT_TRIANGLELIST, triangle, 1);
        for (std::uint32_t y = 0; y < size; ++y)
            for (std::uint32_t x = 0; x < size; ++x) counts[y * size + x] += scene.colour.Read(x, y) == kWhite;
    }
    return counts;
}

TEST(Rasteriser, TrianglesSharingEdgesCoverEachPixelExactlyOnce) {
    // A convex polygon cut into triangles two ways: around a hub on a pixel centre (edges in
    // every direction, several through pixel centres) and as a fan from one rim vertex. Each
    // way must cover every pixel at most once, and both must cover the same pixels.
    const float hubX = 16, hubY = 16;
    const std::vector<std::pair<float, float>> rim = {
        {16, 2},      {26.5f, 5},     {30, 16},  {27.25f, 27.75f},
        {16, 30},     {5.125f, 26.9f}, {2, 16},   {4, 4}};
    std::vector<std::vector<ScreenSpaceVertex>> aroundHub, fromRim;
    for (std::size_t i = 0; i < rim.size(); ++i) {
        const auto [ax, ay] = rim[i];
        const auto [bx, by] = rim[(i + 1) % rim.size()];
        aroundHub.push_back({{hubX, hubY, 0.5f, 1, kWhite}, {ax, ay, 0.5f, 1, kWhite}, {bx, by, 0.5f, 1, kWhite}});
        if (i >= 1 && i + 1 < rim.size())
            fromRim.push_back({{rim[0].first, rim[0].second, 0.5f, 1, kWhite}, {ax, ay, 0.5f, 1, kWhite},
                               {bx, by, 0.5f, 1, kWhite}});
    }
    const std::vector<int> hubCounts = CoverageCounts(aroundHub, 32);
    const std::vector<int> rimCounts = CoverageCounts(fromRim, 32);
    EXPECT_EQ(*std::max_element(hubCounts.begin(), hubCounts.end()), 1);
    EXPECT_EQ(*std::max_element(rimCounts.begin(), rimCounts.end()), 1);
    EXPECT_EQ(hubCounts, rimCounts);
    EXPECT_GT(std::count(hubCounts.begin(), hubCounts.end(), 1), 500);
}

struct CullCase {
    D3DCULL mode;
    const char* name;
    bool drawsClockwise;         // as seen on screen, y down
    bool drawsCounterClockwise;
};

constexpr CullCase kCullCases[] = {
    {D3DCULL_NONE, "NONE", true, true},
    {D3DCULL_CW, "CW", false, true},
    {D3DCULL_CCW, "CCW", true, false},
};

TEST(Rasteriser, CullsByWindingOnScreen) {
    // Lower left, upper left, lower right: clockwise as the viewer sees it. Clip-space y points
    // up and screen y down, but both show the same picture, so the winding seen is the same.
    const std::vector<ColouredVertex> clockwiseOnScreen = {
        {-0.5f, -0.5f, 0.5f, kWhite}, {-0.5f, 0.5f, 0.5f, kWhite}, {0.5f, -0.5f, 0.5f, kWhite}};
    const std::vector<ColouredVertex> counterClockwiseOnScreen = {
        {-0.5f, -0.5f, 0.5f, kWhite}, {0.5f, -0.5f, 0.5f, kWhite}, {-0.5f, 0.5f, 0.5f, kWhite}};
    for (const CullCase& c : kCullCases) {
        SCOPED_TRACE(c.name);
        Scene scene(16, 16);
        scene.state.cullMode = c.mode;
        scene.Draw(D3DPT_TRIANGLELIST, clockwiseOnScreen, 1);
        EXPECT_EQ(scene.CountNot(kBlack) > 0, c.drawsClockwise);
        scene.Clear(kBlack);
        scene.Draw(D3DPT_TRIANGLELIST, counterClockwiseOnScreen, 1);
        EXPECT_EQ(scene.CountNot(kBlack) > 0, c.drawsCounterClockwise);
        // Screen-space vertices are culled by the same rule.
        scene.Clear(kBlack);
        scene.Draw(D3DPT_TRIANGLELIST, std::vector<ScreenSpaceVertex>{{2, 2, 0.5f, 1, kWhite}, {12, 2, 0.5f, 1, kWhite},
                                                                      {2, 12, 0.5f, 1, kWhite}}, 1);
        EXPECT_EQ(scene.CountNot(kBlack) > 0, c.drawsClockwise);
    }
}

TEST(Rasteriser, StripTrianglesKeepTheFirstTrianglesWinding) {
    // Four strip triangles over a 2x1 grid of squares, clockwise on screen at the start: with
    // counter-clockwise culling every one of them must survive and the strip covers it all.
    Scene scene(16, 8, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
    scene.state.cullMode = D3DCULL_CCW;
    const std::vector<ScreenSpaceVertex> strip = {{0, 8, 0.5f, 1, kWhite}, {0, 0, 0.5f, 1, kWhite},
                                                  {8, 8, 0.5f, 1, kWhite}, {8, 0, 0.5f, 1, kWhite},
                                                  {16, 8, 0.5f, 1, kWhite}, {16, 0, 0.5f, 1, kWhite}};
    scene.Draw(D3DPT_TRIANGLESTRIP, strip, 4);
    EXPECT_EQ(scene.CountNot(kBlack), 16 * 8);
    scene.Clear(kBlack);
    scene.state.cullMode = D3DCULL_CW;
    scene.Draw(D3DPT_TRIANGLESTRIP, strip, 4);
    EXPECT_EQ(scene.CountNot(kBlack), 0);
}

TEST(Rasteriser, DrawsListsAndFansButNotPointsOrLines) {
    const std::vector<ScreenSpaceVertex> fan = {{4, 4, 0.5f, 1, kWhite}, {0, 0, 0.5f, 1, kWhite},
                                                {8, 0, 0.5f, 1, kWhite}, {8, 8, 0.5f, 1, kWhite},
                                                {0, 8, 0.5f, 1, kWhite}, {0, 0, 0.5f, 1, kWhite}};
    Scene scene(8, 8, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
    scene.Draw(D3DPT_TRIANGLEFAN, fan, 4);
    EXPECT_EQ(scene.CountNot(kBlack), 64);
    for (D3DPRIMITIVETYPE type : {D3DPT_POINTLIST, D3DPT_LINELIST, D3DPT_LINESTRIP}) {
        scene.Clear(kBlack);
        scene.Draw(type, fan, 2);
        EXPECT_EQ(scene.CountNot(kBlack), 0) << type;
    }
}

TEST(Rasteriser, MapsClipSpaceOntoTheViewportOnly) {
    // The clip-space square -1..1 fills exactly the viewport, whatever lies around it.
    Scene scene(64, 80);
    scene.state.viewport = D3DVIEWPORT8{10, 20, 30, 40, 0.2f, 0.6f};
    const std::vector<ColouredVertex> square = {{-1, 1, 0.5f, kWhite}, {1, 1, 0.5f, kWhite}, {-1, -1, 0.5f, kWhite},
                                                {1, -1, 0.5f, kWhite}};
    scene.Draw(D3DPT_TRIANGLESTRIP, square, 2);
    for (std::uint32_t y = 0; y < 80; ++y)
        for (std::uint32_t x = 0; x < 64; ++x) {
            const bool inside = x >= 10 && x < 40 && y >= 20 && y < 60;
            ASSERT_EQ(scene.colour.Read(x, y) == kWhite, inside) << x << "," << y;
        }
    EXPECT_NEAR(scene.depth->Read(25, 40), 0.4f, 1e-6f);  // MinZ + 0.5 * (MaxZ - MinZ)
}

TEST(Rasteriser, ClipsHugeTrianglesToTheGuardBandWithoutLosingCoverage) {
    // Vertices a million viewport-widths away are clipped to the guard band, not wrapped.
    Scene scene(40, 30);
    const std::vector<ColouredVertex> huge = {{-1e6f, -1e6f, 0.5f, kWhite}, {-1e6f, 1e6f, 0.5f, kWhite},
                                              {1e6f, -1e6f, 0.5f, kWhite}, {1e6f, 1e6f, 0.5f, kWhite}};
    scene.Draw(D3DPT_TRIANGLESTRIP, huge, 2);
    EXPECT_EQ(scene.CountNot(kBlack), 40 * 30);
}

TEST(Shading, CorrectsColoursForPerspective) {
    // Blue rises from 0 at x = 0 (w = 1) to 255 at x = 100 (w = 3). Interpolating colour/w and
    // 1/w gives 63.75 half-way across, not the 127.5 a screen-space blend would.
    Scene scene(101, 4, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
    const float rhwFar = 1.0f / 3.0f;
    const std::vector<ScreenSpaceVertex> quad = {{0, 0, 0.5f, 1, 0xFF000000u}, {100, 0, 0.5f, rhwFar, 0xFF0000FFu},
                                                 {0, 4, 0.5f, 1, 0xFF000000u}, {100, 4, 0.5f, rhwFar, 0xFF0000FFu}};
    scene.Draw(D3DPT_TRIANGLESTRIP, quad, 2);
    EXPECT_NEAR(static_cast<int>(scene.colour.Read(50, 2) & 0xFF), 64, 1);
    EXPECT_NEAR(static_cast<int>(scene.colour.Read(25, 2) & 0xFF), 26, 1);  // 255 * (0.25/3) / (1 - 0.25 * 2/3)
    EXPECT_EQ(scene.colour.Read(0, 2), 0xFF000000u);
}

TEST(Shading, FlatShadingTakesTheFirstVertexColour) {
    Scene scene(16, 16, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
    scene.state.shadeMode = D3DSHADE_FLAT;
    scene.Draw(D3DPT_TRIANGLELIST,
               std::vector<ScreenSpaceVertex>{{0, 0, 0.5f, 1, 0xFF102030u}, {16, 0, 0.5f, 1, 0xFFFF0000u},
                                              {0, 16, 0.5f, 1, 0xFF00FF00u}},
               1);
    EXPECT_EQ(scene.CountPixels([](D3DCOLOR c) { return c == 0xFF102030u; }), 136);  // 16 + 15 + ... + 1
    EXPECT_EQ(scene.CountNot(kBlack), 136);
}

TEST(Shading, LightingWithoutLightsGivesTheAmbientColourAndTheVertexAlpha) {
    Scene scene(8, 8, D3DFMT_A8R8G8B8, D3DFMT_UNKNOWN);
    scene.state.lighting = true;
    scene.state.ambient = 0x00336699u;
    const std::vector<ColouredVertex> square = {{-1, 1, 0.5f, 0x80FF0000u}, {1, 1, 0.5f, 0x80FF0000u},
                                                {-1, -1, 0.5f, 0x80FF0000u}, {1, -1, 0.5f, 0x80FF0000u}};
    scene.Draw(D3DPT_TRIANGLESTRIP, square, 2);
    std::uint32_t stored;
    std::memcpy(&stored, scene.colour.Row(4) + 4 * 4, sizeof stored);
    EXPECT_EQ(stored, 0x80336699u);

    // Pretransformed vertices bypass lighting: they keep their own colour.
    scene.Draw(D3DPT_TRIANGLELIST, Rectangle(0, 0, 8, 8, 0xFF00FF00u), 2);
    EXPECT_EQ(scene.colour.Read(4, 4), 0xFF00FF00u);
}

struct VertexWithEverything {
    static constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE | D3DFVF_SPECULAR |
                                  D3DFVF_TEX1;
    float x, y, z;
    float nx, ny, nz;
    float pointSize;
    D3DCOLOR diffuse, specular;
    float u, v;
};

struct PositionOnly {
    static constexpr DWORD kFvf = D3DFVF_XYZ;
    float x, y, z;
};

TEST(VertexFetch, FindsTheDiffuseColourPastTheNormalAndPointSize) {
    Scene scene(8, 8, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
    const D3DCOLOR orange = 0xFFFF8000u, specular = 0xFF0000FFu;
    const std::vector<VertexWithEverything> square = {{-1, 1, 0.5f, 0, 0, -1, 9, orange, specular, 0, 0},
                                                      {1, 1, 0.5f, 0, 0, -1, 9, orange, specular, 1, 0},
                                                      {-1, -1, 0.5f, 0, 0, -1, 9, orange, specular, 0, 1},
                                                      {1, -1, 0.5f, 0, 0, -1, 9, orange, specular, 1, 1}};
    scene.Draw(D3DPT_TRIANGLESTRIP, square, 2);
    EXPECT_EQ(scene.CountPixels([orange](D3DCOLOR c) { return c == orange; }), 64);
}

TEST(VertexFetch, AFormatWithoutDiffuseIsOpaqueWhite) {
    Scene scene(8, 8, D3DFMT_A8R8G8B8, D3DFMT_UNKNOWN);
    const std::vector<PositionOnly> square = {{-1, 1, 0.5f}, {1, 1, 0.5f}, {-1, -1, 0.5f}, {1, -1, 0.5f}};
    scene.Draw(D3DPT_TRIANGLESTRIP, square, 2);
    std::uint32_t stored;
    std::memcpy(&stored, scene.colour.Row(3) + 3 * 4, sizeof stored);
    EXPECT_EQ(stored, 0xFFFFFFFFu);
}

TEST(VertexFetch, ReadsFromTheStartVertexOnward) {
    Scene scene(8, 8, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
    std::vector<ScreenSpaceVertex> vertices = Rectangle(0, 0, 8, 8, 0xFFFF0000u);
    const std::vector<ScreenSpaceVertex> second = Rectangle(0, 0, 8, 4, 0xFF00FF00u);
    vertices.insert(vertices.end(), second.begin(), second.end());
    scene.Draw(D3DPT_TRIANGLELIST, vertices, 2, 6);
    EXPECT_EQ(scene.CountPixels([](D3DCOLOR c) { return c == 0xFF00FF00u; }), 32);
    EXPECT_EQ(scene.CountNot(kBlack), 32);
}

}  // namespace
}  // namespace ostrel::d3d8::test
