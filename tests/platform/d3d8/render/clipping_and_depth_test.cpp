// Clipping in homogeneous space (a triangle crossing the near or far plane is cut there, never
// drawn wrapped through infinity) and the depth buffer: every comparison function, the write
// mask, each depth format's precision, and the depth test deciding which face of a cube shows.
#include "tests/platform/d3d8/render/render_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ostrel::d3d8::test {
namespace {

constexpr D3DCOLOR kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u;

// A 64x64 target and a 90-degree camera at the origin looking down +z, near 1, far 100.
Scene PerspectiveScene(float farPlane = 100.0f) {
    Scene scene(64, 64);
    scene.state.view = Identity();
    scene.state.projection = PerspectiveFovLH(static_cast<float>(M_PI) / 2, 1.0f, 1.0f, farPlane);
    return scene;
}

// The screen row of a point on the floor y = -1 at view depth z (90 degrees: y_ndc = -1/z).
double FloorRow(double z) { return (1.0 + 1.0 / z) * 32.0; }

TEST(Clipping, CutsATriangleCrossingTheNearPlaneInsteadOfWrappingIt) {
    // A floor triangle reaching behind the camera. Unclipped, the vertex behind would project
    // above the horizon (its w is negative); clipped, the floor fills only rows below it.
    Scene scene = PerspectiveScene();
    const std::vector<ColouredVertex> floor = {{-4, -1, 20, kWhite}, {4, -1, 20, kWhite}, {0, -1, -10, kWhite}};
    scene.Draw(D3DPT_TRIANGLELIST, floor, 1);
    int drawn = 0;
    for (std::uint32_t y = 0; y < 64; ++y)
        for (std::uint32_t x = 0; x < 64; ++x)
            if (scene.colour.Read(x, y) == kWhite) {
                ++drawn;
                EXPECT_GT(y, FloorRow(20.0) - 1) << "drawn above the far edge at " << x << "," << y;
            }
    EXPECT_GT(drawn, 200);
    // The cut runs along the near plane, below the bottom of the screen: the floor reaches it.
    EXPECT_EQ(scene.colour.Read(32, 63), kWhite);
}

TEST(Clipping, DropsTrianglesBehindTheCameraOrWithAVertexAtItsEye) {
    Scene scene = PerspectiveScene();
    scene.Draw(D3DPT_TRIANGLELIST,
               std::vector<ColouredVertex>{{-4, -1, -5, kWhite}, {4, -1, -5, kWhite}, {0, 3, -5, kWhite}}, 1);
    EXPECT_EQ(scene.CountNot(kBlack), 0);
    // A vertex at the eye itself has w = 0; it is clipped away, nothing is divided by it.
    scene.Draw(D3DPT_TRIANGLELIST,
               std::vector<ColouredVertex>{{0, 0, 0, kWhite}, {4, -1, 0.5f, kWhite}, {-4, -1, 0.5f, kWhite}}, 1);
    EXPECT_EQ(scene.CountNot(kBlack), 0);
}

TEST(Clipping, CutsATriangleCrossingTheFarPlane) {
    // The floor from depth 2 to 1000 with the far plane at 100: nothing beyond 100 is drawn,
    // and every stored depth is at most 1.
    Scene scene = PerspectiveScene(100.0f);
    scene.Clear(kBlack, 1.0f);
    const std::vector<ColouredVertex> floor = {{-400, -1, 1000, kWhite}, {400, -1, 1000, kWhite}, {0, -1, 2, kWhite}};
    scene.Draw(D3DPT_TRIANGLELIST, floor, 1);
    int drawn = 0;
    for (std::uint32_t y = 0; y < 64; ++y)
        for (std::uint32_t x = 0; x < 64; ++x)
            if (scene.colour.Read(x, y) == kWhite) {
                ++drawn;
                EXPECT_GE(y, std::floor(FloorRow(100.0))) << x << "," << y;
                EXPECT_LE(scene.depth->Read(x, y), 1.0f);
            }
    EXPECT_GT(drawn, 100);
}

struct CompareCase {
    D3DCMPFUNC func;
    const char* name;
    bool passesNearer, passesEqual, passesFarther;
};

constexpr CompareCase kCompareCases[] = {
    {D3DCMP_NEVER, "NEVER", false, false, false},
    {D3DCMP_LESS, "LESS", true, false, false},
    {D3DCMP_EQUAL, "EQUAL", false, true, false},
    {D3DCMP_LESSEQUAL, "LESSEQUAL", true, true, false},
    {D3DCMP_GREATER, "GREATER", false, false, true},
    {D3DCMP_NOTEQUAL, "NOTEQUAL", true, false, true},
    {D3DCMP_GREATEREQUAL, "GREATEREQUAL", false, true, true},
    {D3DCMP_ALWAYS, "ALWAYS", true, true, true},
};

// A full-target quad at depth z in screen space.
std::vector<ScreenSpaceVertex> QuadAt(float z, D3DCOLOR colour) {
    return {{0, 0, z, 1, colour}, {8, 0, z, 1, colour}, {0, 8, z, 1, colour}, {8, 8, z, 1, colour}};
}

TEST(DepthTest, AppliesEveryComparisonFunction) {
    for (const CompareCase& c : kCompareCases) {
        SCOPED_TRACE(c.name);
        const std::pair<float, bool> draws[] = {{0.25f, c.passesNearer}, {0.5f, c.passesEqual}, {0.75f, c.passesFarther}};
        for (const auto& [z, passes] : draws) {
            Scene scene(8, 8);
            scene.Clear(kBlack, 0.5f);
            scene.state.zFunc = c.func;
            scene.Draw(D3DPT_TRIANGLESTRIP, QuadAt(z, kWhite), 2);
            EXPECT_EQ(scene.CountNot(kBlack), passes ? 64 : 0) << "z " << z;
            EXPECT_FLOAT_EQ(scene.depth->Read(3, 3), passes ? z : 0.5f) << "z " << z;
        }
    }
}

TEST(DepthTest, WriteMaskAndZEnableAreHonoured) {
    Scene scene(8, 8);
    scene.Clear(kBlack, 0.5f);
    scene.state.zWriteEnable = false;
    scene.Draw(D3DPT_TRIANGLESTRIP, QuadAt(0.25f, kWhite), 2);
    EXPECT_EQ(scene.CountNot(kBlack), 64);
    EXPECT_FLOAT_EQ(scene.depth->Read(3, 3), 0.5f);

    // Depth disabled: a farther quad still draws and the buffer keeps its value.
    scene.state.zWriteEnable = true;
    scene.state.zEnable = D3DZB_FALSE;
    scene.Draw(D3DPT_TRIANGLESTRIP, QuadAt(0.75f, kRed), 2);
    EXPECT_EQ(scene.colour.Read(3, 3), kRed);
    EXPECT_FLOAT_EQ(scene.depth->Read(3, 3), 0.5f);
}

TEST(DepthTest, WithoutADepthBufferTheLastDrawWins) {
    Scene scene(8, 8, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN);
    scene.Draw(D3DPT_TRIANGLESTRIP, QuadAt(0.25f, kRed), 2);
    scene.Draw(D3DPT_TRIANGLESTRIP, QuadAt(0.75f, kGreen), 2);
    EXPECT_EQ(scene.CountPixels([](D3DCOLOR c) { return c == kGreen; }), 64);
}

struct PrecisionCase {
    D3DFORMAT format;
    const char* name;
    float gap;          // how far behind the first quad the second one is drawn
    bool distinguished;
};

// D16 steps are 1/65535 (1.5e-5), D24X8 1/16777215 (6e-8); D32's are finer than a float near 0.5.
constexpr PrecisionCase kPrecisionCases[] = {
    {D3DFMT_D16, "D16, 4e-6 apart", 4e-6f, false},
    {D3DFMT_D16, "D16, 3e-5 apart", 3e-5f, true},
    {D3DFMT_D24X8, "D24X8, 4e-6 apart", 4e-6f, true},
    {D3DFMT_D24X8, "D24X8, 2e-8 apart", 2e-8f, false},
    {D3DFMT_D32, "D32, 4e-6 apart", 4e-6f, true},
    {D3DFMT_D32, "D32, 1e-7 apart", 1e-7f, true},
};

TEST(DepthTest, SeparatesSurfacesOnlyAsFinelyAsItsFormat) {
    // The farther quad is drawn first, then the nearer one with LESS: it shows only where the
    // buffer can tell the two depths apart.
    for (const PrecisionCase& c : kPrecisionCases) {
        SCOPED_TRACE(c.name);
        Scene scene(8, 8, D3DFMT_X8R8G8B8, c.format);
        scene.state.zFunc = D3DCMP_LESS;
        scene.Draw(D3DPT_TRIANGLESTRIP, QuadAt(0.5f + c.gap, kRed), 2);
        scene.Draw(D3DPT_TRIANGLESTRIP, QuadAt(0.5f, kGreen), 2);
        EXPECT_EQ(scene.colour.Read(4, 4), c.distinguished ? kGreen : kRed);
    }
}

// A unit cube as a triangle list, one colour per face, each face clockwise seen from outside.
std::vector<ColouredVertex> Cube(const D3DCOLOR (&faceColours)[6]) {
    const glm::vec3 corners[8] = {{-1, -1, -1}, {1, -1, -1}, {-1, 1, -1}, {1, 1, -1},
                                  {-1, -1, 1},  {1, -1, 1},  {-1, 1, 1},  {1, 1, 1}};
    // Each face: lower-left, upper-left, lower-right, upper-right as seen from outside.
    const int faces[6][4] = {{0, 2, 1, 3}, {5, 7, 4, 6}, {4, 6, 0, 2}, {1, 3, 5, 7}, {4, 0, 5, 1}, {2, 6, 3, 7}};
    std::vector<ColouredVertex> vertices;
    for (int f = 0; f < 6; ++f) {
        const int order[6] = {0, 1, 2, 2, 1, 3};
        for (int i : order) {
            const glm::vec3& p = corners[faces[f][i]];
            vertices.push_back({p.x, p.y, p.z, faceColours[f]});
        }
    }
    return vertices;
}

TEST(DepthTest, DecidesWhichFaceOfARotatedCubeShows) {
    // Faces -z, +z, -x, +x, -y, +y, turned 35 degrees about y and 25 about x, seen from -z. A
    // face shows when the eye is on its outer side. Drawing the hidden faces last, with culling
    // off, leaves only the depth test to keep them hidden.
    const D3DCOLOR colours[6] = {0xFFFF0000u, 0xFF00FFFFu, 0xFF00FF00u, 0xFFFF00FFu, 0xFF0000FFu, 0xFFFFFF00u};
    const glm::vec3 normals[6] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
    const std::vector<ColouredVertex> cube = Cube(colours);
    const glm::mat4 rotation = glm::rotate(glm::rotate(glm::mat4(1.0f), glm::radians(25.0f), glm::vec3(1, 0, 0)),
                                           glm::radians(35.0f), glm::vec3(0, 1, 0));
    const glm::vec3 eye(0, 0, -6);
    std::vector<int> visible, hidden;
    for (int face = 0; face < 6; ++face) {
        const glm::vec3 normal = glm::vec3(rotation * glm::vec4(normals[face], 0.0f));  // also the face's centre
        (glm::dot(normal, eye - normal) > 0 ? visible : hidden).push_back(face);
    }
    ASSERT_EQ(visible.size(), 3u);

    auto render = [&](D3DZBUFFERTYPE zEnable) {
        auto scene = std::make_unique<Scene>(96, 96);
        scene->state.world = MatrixFrom(rotation);
        scene->state.view = LookAtLH(eye, {0, 0, 0}, {0, 1, 0});
        scene->state.projection = PerspectiveFovLH(static_cast<float>(M_PI) / 4, 1.0f, 1.0f, 100.0f);
        scene->state.zEnable = zEnable;
        std::vector<ColouredVertex> hiddenLast;
        for (const std::vector<int>* group : {&visible, &hidden})
            for (int face : *group) hiddenLast.insert(hiddenLast.end(), cube.begin() + face * 6, cube.begin() + face * 6 + 6);
        scene->Draw(D3DPT_TRIANGLELIST, hiddenLast, 12);
        return scene;
    };
    auto count = [](const Scene& scene, D3DCOLOR colour) {
        return scene.CountPixels([colour](D3DCOLOR c) { return c == colour; });
    };

    const auto withDepth = render(D3DZB_TRUE);
    for (int face : visible) EXPECT_GT(count(*withDepth, colours[face]), 100) << "face " << face;
    for (int face : hidden) EXPECT_EQ(count(*withDepth, colours[face]), 0) << "face " << face;

    // The same draws without the depth test let the hidden faces, drawn last, cover the others.
    const auto withoutDepth = render(D3DZB_FALSE);
    for (int face : hidden) EXPECT_GT(count(*withoutDepth, colours[face]), 100) << "face " << face;

    // Back-face culling alone, in the cube's own order, gives the same picture as depth alone.
    auto culled = render(D3DZB_FALSE);
    culled->Clear(kBlack);
    culled->state.cullMode = D3DCULL_CCW;
    culled->Draw(D3DPT_TRIANGLELIST, cube, 12);
    for (int face = 0; face < 6; ++face)
        EXPECT_EQ(count(*culled, colours[face]), count(*withDepth, colours[face])) << "face " << face;
}

}  // namespace
}  // namespace ostrel::d3d8::test
