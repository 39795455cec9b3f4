#include "platform/d3d8/render/render_pipeline.h"

#include "platform/d3d8/render/primitive_counts.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ostrel::d3d8 {
namespace {

// Clip planes, in the order a polygon is clipped against them. The real pipeline clips to
// 0 <= z <= w; x and y are clipped only against a guard band far outside the viewport, because
// the rasteriser clips its bounding box to the target anyway and clipping costs precision.
enum ClipPlane : std::uint8_t {
    kNear = 1 << 0,      // z >= 0
    kFar = 1 << 1,       // z <= w
    kPositiveW = 1 << 2, // w >= kMinW: nothing with w <= 0 ever reaches the divide
    kLeft = 1 << 3,      // x >= -guardX * w
    kRight = 1 << 4,     // x <= guardX * w
    kBottom = 1 << 5,    // y >= -guardY * w
    kTop = 1 << 6,       // y <= guardY * w
};
constexpr int kPlaneCount = 7;
constexpr float kMinW = 1e-6f;
constexpr float kGuardBandPixels = 4096.0f;

struct GuardBand {
    float x, y;  // half-extent in normalised device coordinates
};

// Signed distance of a clip-space point to one plane; >= 0 is inside. NaN counts as outside.
template <typename Vertex>
float Distance(const Vertex& v, std::uint8_t plane, GuardBand guard) {
    switch (plane) {
    case kNear: return v.z;
    case kFar: return v.w - v.z;
    case kPositiveW: return v.w - kMinW;
    case kLeft: return v.x + guard.x * v.w;
    case kRight: return guard.x * v.w - v.x;
    case kBottom: return v.y + guard.y * v.w;
    default: return guard.y * v.w - v.y;  // kTop
    }
}

template <typename Vertex>
std::uint8_t OutcodeOf(const Vertex& v, GuardBand guard) {
    std::uint8_t code = 0;
    for (int i = 0; i < kPlaneCount; ++i) {
        const auto plane = static_cast<std::uint8_t>(1 << i);
        if (!(Distance(v, plane, guard) >= 0.0f)) code |= plane;
    }
    return code;
}

// Where the vertex format puts what the pipeline reads, in bytes from the vertex's start.
struct VertexLayout {
    bool pretransformed = false;
    bool hasDiffuse = false;
    UINT diffuseOffset = 0;
};

VertexLayout LayoutOf(DWORD fvf) {
    VertexLayout layout;
    UINT offset = 0;
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    if (position == D3DFVF_XYZRHW) {
        layout.pretransformed = true;
        offset = 16;
    } else if (position >= D3DFVF_XYZB1) {
        offset = 12 + 4 * ((position - D3DFVF_XYZ) / 2);  // blend weights follow x, y, z; unused
    } else {
        offset = 12;
    }
    if (fvf & D3DFVF_NORMAL) offset += 12;
    if (fvf & D3DFVF_PSIZE) offset += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        layout.hasDiffuse = true;
        layout.diffuseOffset = offset;
    }
    return layout;
}

float LoadFloat(const BYTE* p) {
    float f;
    std::memcpy(&f, p, sizeof f);
    return f;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX result;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            result.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                             a.m[i][3] * b.m[3][j];
    return result;
}

D3DCOLOR ColourOf(float r, float g, float b, float a) {
    auto byte = [](float c) { return static_cast<D3DCOLOR>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f)); };
    return (byte(a) << 24) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

}  // namespace

ScreenVertex RenderPipeline::Project(const ClipVertex& v, const D3DVIEWPORT8& viewport) const {
    const float invW = 1.0f / v.w;
    const float halfWidth = static_cast<float>(viewport.Width) * 0.5f;
    const float halfHeight = static_cast<float>(viewport.Height) * 0.5f;
    const float scale = invW * 255.0f;
    return ScreenVertex{static_cast<float>(viewport.X) + (v.x * invW + 1.0f) * halfWidth,
                        static_cast<float>(viewport.Y) + (1.0f - v.y * invW) * halfHeight,
                        viewport.MinZ + v.z * invW * (viewport.MaxZ - viewport.MinZ),
                        invW,
                        v.r * scale,
                        v.g * scale,
                        v.b * scale,
                        v.a * scale};
}

void RenderPipeline::Draw(const PipelineState& state, D3DPRIMITIVETYPE type, const VertexStream& stream,
                          UINT startVertex, UINT primitiveCount, ColourSurface& target, DepthSurface* depth) {
    // The device has checked the range, so the count fits the stream and a UINT.
    if (!IsTrianglePrimitive(type)) return;
    const UINT vertexCount = static_cast<UINT>(VertexCountOfPrimitives(type, primitiveCount));
    const D3DVIEWPORT8& viewport = state.viewport;
    if (vertexCount == 0 || viewport.Width == 0 || viewport.Height == 0) return;

    RasterTarget raster;
    raster.colour = &target;
    const bool depthTest = depth != nullptr && state.zEnable != D3DZB_FALSE;  // USEW buffers z like TRUE
    raster.depth = depthTest ? depth : nullptr;
    raster.zFunc = state.zFunc;
    raster.zWrite = state.zWriteEnable;
    raster.cull = state.cullMode;
    raster.flat = state.shadeMode == D3DSHADE_FLAT;
    std::uint32_t limitX = target.Width(), limitY = target.Height();
    if (raster.depth) {
        limitX = std::min(limitX, depth->Width());
        limitY = std::min(limitY, depth->Height());
    }
    raster.clipX0 = static_cast<std::int32_t>(std::min<std::uint64_t>(viewport.X, limitX));
    raster.clipY0 = static_cast<std::int32_t>(std::min<std::uint64_t>(viewport.Y, limitY));
    raster.clipX1 = static_cast<std::int32_t>(std::min<std::uint64_t>(std::uint64_t{viewport.X} + viewport.Width, limitX));
    raster.clipY1 = static_cast<std::int32_t>(std::min<std::uint64_t>(std::uint64_t{viewport.Y} + viewport.Height, limitY));
    if (raster.clipX0 >= raster.clipX1 || raster.clipY0 >= raster.clipY1) return;

    // Fetch, transform and light every vertex the call reads, once, however many triangles share it.
    m_transformed.resize(vertexCount);
    m_projected.resize(vertexCount);
    m_outcodes.resize(vertexCount);
    const VertexLayout layout = LayoutOf(state.fvf);
    const D3DMATRIX combined = Multiply(Multiply(state.world, state.view), state.projection);
    const GuardBand guard{1.0f + 2.0f * kGuardBandPixels / static_cast<float>(viewport.Width),
                          1.0f + 2.0f * kGuardBandPixels / static_cast<float>(viewport.Height)};
    const bool lit = state.lighting && !layout.pretransformed;
    const float ambientR = static_cast<float>((state.ambient >> 16) & 0xFF) / 255.0f;
    const float ambientG = static_cast<float>((state.ambient >> 8) & 0xFF) / 255.0f;
    const float ambientB = static_cast<float>(state.ambient & 0xFF) / 255.0f;

    for (UINT i = 0; i < vertexCount; ++i) {
        const BYTE* vertex = stream.data + static_cast<std::size_t>(startVertex + i) * stream.stride;
        const D3DCOLOR diffuse = layout.hasDiffuse ? [&] {
            D3DCOLOR c;
            std::memcpy(&c, vertex + layout.diffuseOffset, sizeof c);
            return c;
        }()
                                                   : 0xFFFFFFFFu;  // no diffuse in the format: opaque white
        ClipVertex& out = m_transformed[i];
        out.a = static_cast<float>(diffuse >> 24) / 255.0f;
        if (lit) {
            out.r = ambientR, out.g = ambientG, out.b = ambientB;
        } else {
            out.r = static_cast<float>((diffuse >> 16) & 0xFF) / 255.0f;
            out.g = static_cast<float>((diffuse >> 8) & 0xFF) / 255.0f;
            out.b = static_cast<float>(diffuse & 0xFF) / 255.0f;
        }

        const float x = LoadFloat(vertex), y = LoadFloat(vertex + 4), z = LoadFloat(vertex + 8);
        if (layout.pretransformed) {
            // Already in screen space; the rasteriser drops anything absurd. 1/w is only used
            // to correct colours for perspective, so a meaningless one falls back to 1.
            const float rhw = LoadFloat(vertex + 12);
            const float invW = std::isfinite(rhw) && rhw > 0.0f ? rhw : 1.0f;
            out.x = x, out.y = y, out.z = z, out.w = 1.0f / invW;
            const float scale = invW * 255.0f;
            m_projected[i] = ScreenVertex{x, y, z, invW, out.r * scale, out.g * scale, out.b * scale, out.a * scale};
            m_outcodes[i] = 0;
            continue;
        }
        const D3DMATRIX& m = combined;  // row vector times matrix: v' = v * W * V * P
        out.x = x * m._11 + y * m._21 + z * m._31 + m._41;
        out.y = x * m._12 + y * m._22 + z * m._32 + m._42;
        out.z = x * m._13 + y * m._23 + z * m._33 + m._43;
        out.w = x * m._14 + y * m._24 + z * m._34 + m._44;
        m_outcodes[i] = OutcodeOf(out, guard);
        if (m_outcodes[i] == 0) m_projected[i] = Project(out, viewport);
    }

    // Triangle i of a strip is (i, i+1, i+2) when i is even and (i, i+2, i+1) when odd, so every
    // triangle keeps the first one's winding; its first vertex gives the flat colour. A fan's
    // triangle i is (i+1, i+2, 0): the hub comes last, so flat shading takes the rim vertex.
    for (UINT t = 0; t < primitiveCount; ++t) {
        switch (type) {
        case D3DPT_TRIANGLELIST: DrawTriangle(raster, state, 3 * t, 3 * t + 1, 3 * t + 2, 3 * t); break;
        case D3DPT_TRIANGLESTRIP:
            if (t % 2 == 0)
                DrawTriangle(raster, state, t, t + 1, t + 2, t);
            else
                DrawTriangle(raster, state, t, t + 2, t + 1, t);
            break;
        default: DrawTriangle(raster, state, t + 1, t + 2, 0, t + 1); break;
        }
    }
}

void RenderPipeline::DrawTriangle(const RasterTarget& target, const PipelineState& state, UINT i0, UINT i1,
                                  UINT i2, UINT provoking) {
    RasterTarget raster = target;
    if (raster.flat) {
        const ClipVertex& p = m_transformed[provoking];
        raster.flatColour = ColourOf(p.r, p.g, p.b, p.a);
    }
    const std::uint8_t c0 = m_outcodes[i0], c1 = m_outcodes[i1], c2 = m_outcodes[i2];
    if ((c0 | c1 | c2) == 0) {
        RasteriseTriangle(raster, m_projected[i0], m_projected[i1], m_projected[i2]);
        return;
    }
    if ((c0 & c1 & c2) != 0) return;  // wholly outside one plane

    // Sutherland-Hodgman against only the planes some vertex is outside of.
    const D3DVIEWPORT8& viewport = state.viewport;
    const GuardBand guard{1.0f + 2.0f * kGuardBandPixels / static_cast<float>(viewport.Width),
                          1.0f + 2.0f * kGuardBandPixels / static_cast<float>(viewport.Height)};
    std::vector<ClipVertex>& polygon = m_clipScratchA;
    std::vector<ClipVertex>& clipped = m_clipScratchB;
    polygon.assign({m_transformed[i0], m_transformed[i1], m_transformed[i2]});
    const std::uint8_t planes = c0 | c1 | c2;
    for (int bit = 0; bit < kPlaneCount && polygon.size() >= 3; ++bit) {
        const auto plane = static_cast<std::uint8_t>(1 << bit);
        if (!(planes & plane)) continue;
        clipped.clear();
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const ClipVertex& current = polygon[i];
            const ClipVertex& next = polygon[(i + 1) % polygon.size()];
            const float dCurrent = Distance(current, plane, guard), dNext = Distance(next, plane, guard);
            const bool currentInside = dCurrent >= 0.0f, nextInside = dNext >= 0.0f;
            if (currentInside) clipped.push_back(current);
            if (currentInside == nextInside) continue;
            // Always interpolate from the inside end, so the neighbouring triangle that shares
            // this edge (walking it the other way) computes the very same point: no cracks.
            const ClipVertex& in = currentInside ? current : next;
            const ClipVertex& out = currentInside ? next : current;
            const float dIn = currentInside ? dCurrent : dNext, dOut = currentInside ? dNext : dCurrent;
            const float s = dIn / (dIn - dOut);
            auto lerp = [s](float a, float b) { return a + s * (b - a); };
            clipped.push_back(ClipVertex{lerp(in.x, out.x), lerp(in.y, out.y), lerp(in.z, out.z), lerp(in.w, out.w),
                                         lerp(in.r, out.r), lerp(in.g, out.g), lerp(in.b, out.b), lerp(in.a, out.a)});
        }
        std::swap(polygon, clipped);
    }
    if (polygon.size() < 3) return;

    // The clipped polygon is convex and keeps the triangle's winding: draw it as a fan.
    for (const ClipVertex& v : polygon)
        if (!(v.w > 0.0f)) return;
    ScreenVertex first{}, previous{};
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const ScreenVertex current = Project(polygon[i], viewport);
        if (i >= 2) RasteriseTriangle(raster, first, previous, current);
        if (i == 0) first = current;
        previous = current;
    }
}

}  // namespace ostrel::d3d8
