// Helpers for the render pipeline's pixel tests: vertex records in the layouts the tests draw,
// left-handed camera matrices built with GLM by the standard formulas (GLM's column-major
// storage of the column-vector matrix is exactly the row-vector matrix's row-major layout), and
// a small scene that owns its surfaces and pipeline.
#ifndef OSTREL_TESTS_PLATFORM_D3D8_RENDER_RENDER_TEST_SUPPORT_H
#define OSTREL_TESTS_PLATFORM_D3D8_RENDER_RENDER_TEST_SUPPORT_H

#include <d3d8.h>

#include "platform/d3d8/render/render_pipeline.h"
#include "platform/d3d8/render/surfaces.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace ostrel::d3d8::test {

struct ColouredVertex {
    static constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;
    float x, y, z;
    D3DCOLOR colour;
};

struct ScreenSpaceVertex {
    static constexpr DWORD kFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
    float x, y, z, rhw;
    D3DCOLOR colour;
};

inline D3DMATRIX MatrixFrom(const glm::mat4& m) {
    D3DMATRIX out;
    std::memcpy(out.m, glm::value_ptr(m), sizeof out.m);
    return out;
}
inline D3DMATRIX Identity() { return MatrixFrom(glm::mat4(1.0f)); }
inline D3DMATRIX LookAtLH(glm::vec3 eye, glm::vec3 at, glm::vec3 up) { return MatrixFrom(glm::lookAtLH(eye, at, up)); }
inline D3DMATRIX PerspectiveFovLH(float fovY, float aspect, float zn, float zf) {
    return MatrixFrom(glm::perspectiveLH_ZO(fovY, aspect, zn, zf));
}
// A rotation as the row-vector world matrix of the column-vector GLM rotation.
inline D3DMATRIX Rotation(float angle, glm::vec3 axis) { return MatrixFrom(glm::rotate(glm::mat4(1.0f), angle, axis)); }

inline float FloatFromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

inline int ChannelDistance(D3DCOLOR a, D3DCOLOR b) {
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return worst;
}

// A target, an optional depth buffer and a pipeline with the device's default state, a camera
// at the origin looking down +z being left to each test.
struct Scene {
    ColourSurface colour;
    std::unique_ptr<DepthSurface> depth;
    RenderPipeline pipeline;
    PipelineState state;

    Scene(std::uint32_t width, std::uint32_t height, D3DFORMAT colourFormat = D3DFMT_X8R8G8B8,
          D3DFORMAT depthFormat = D3DFMT_D32)
        : colour(width, height, colourFormat) {
        if (depthFormat != D3DFMT_UNKNOWN) depth = std::make_unique<DepthSurface>(width, height, depthFormat);
        state.world = state.view = state.projection = Identity();
        state.viewport = D3DVIEWPORT8{0, 0, width, height, 0.0f, 1.0f};
        state.lighting = false;
        state.cullMode = D3DCULL_NONE;
        Clear(0xFF000000u);
    }

    void Clear(D3DCOLOR background, float z = 1.0f) {
        colour.Fill(background);
        if (depth) depth->Fill(z);
    }

    template <typename Vertex>
    void Draw(D3DPRIMITIVETYPE type, const std::vector<Vertex>& vertices, UINT primitiveCount, UINT start = 0) {
        state.fvf = Vertex::kFvf;
        VertexStream stream{reinterpret_cast<const BYTE*>(vertices.data()),
                            static_cast<UINT>(vertices.size() * sizeof(Vertex)), sizeof(Vertex)};
        pipeline.Draw(state, type, stream, start, primitiveCount, colour, depth.get());
    }

    int CountPixels(const std::function<bool(D3DCOLOR)>& matches) const {
        int count = 0;
        for (std::uint32_t y = 0; y < colour.Height(); ++y)
            for (std::uint32_t x = 0; x < colour.Width(); ++x) count += matches(colour.Read(x, y)) ? 1 : 0;
        return count;
    }
    int CountNot(D3DCOLOR background) const {
        return CountPixels([background](D3DCOLOR c) { return c != background; });
    }
};

}  // namespace ostrel::d3d8::test

#endif
