#include "platform/d3d8/render/rasteriser.h"

#include "platform/d3d8/render/pixel_formats.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ostrel::d3d8 {
namespace {

constexpr int kSubpixelBits = 8;
constexpr std::int64_t kSubpixelOne = std::int64_t{1} << kSubpixelBits;
// Coordinates stay within 2^20 pixels (2^28 sub-pixel units), so an edge function, a product of
// two differences, stays below 2^58 and steps in 64 bits without overflow.
constexpr float kMaxCoordinate = 1048576.0f;

bool Snap(float value, std::int64_t& snapped) {
    if (!(std::fabs(value) <= kMaxCoordinate)) return false;  // also rejects NaN
    snapped = static_cast<std::int64_t>(std::floor(static_cast<double>(value) * kSubpixelOne + 0.5));
    return true;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// The comparison functions as sets of outcomes: bit 0 passes a nearer value, bit 1 an equal
// one, bit 2 a farther one, so the test per pixel is a shift instead of a switch.
std::uint32_t DepthPassMask(D3DCMPFUNC func) {
    switch (func) {
    case D3DCMP_NEVER: return 0b000;
    case D3DCMP_LESS: return 0b001;
    case D3DCMP_EQUAL: return 0b010;
    case D3DCMP_LESSEQUAL: return 0b011;
    case D3DCMP_GREATER: return 0b100;
    case D3DCMP_NOTEQUAL: return 0b101;
    case D3DCMP_GREATEREQUAL: return 0b110;
    default: return 0b111;  // D3DCMP_ALWAYS
    }
}

std::uint32_t ToByte(float value) {
    // Perspective correction can overshoot a hair past the vertices' range near the edges; the
    // argument order makes a NaN come out as 0.
    return static_cast<std::uint32_t>(std::min(255.0f, std::max(0.0f, value)) + 0.5f);
}

// One edge a->b of a clockwise (on screen) triangle: E(p) = A (px - ax) + B (py - ay), positive
// inside. Pixels exactly on the edge belong to it only if it is a top or a left edge, so the
// function carries a bias of -1 for the others and the inside test is E >= 0 for every edge.
struct Edge {
    std::int64_t stepX;  // change of E from one pixel to the next on a row
    std::int64_t stepY;  // change from one row to the next
    std::int64_t atOrigin;

    Edge(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by, std::int64_t originX,
         std::int64_t originY) {
        const std::int64_t a = ay - by;
        const std::int64_t b = bx - ax;
        const bool top = a == 0 && b > 0;  // horizontal, interior below it (y grows downwards)
        const bool left = a > 0;           // runs upwards, interior to its right
        stepX = a * kSubpixelOne;
        stepY = b * kSubpixelOne;
        atOrigin = a * (originX - ax) + b * (originY - ay) - ((top || left) ? 0 : 1);
    }
};

// A value linear in screen space, given at the pixel origin (the bounding box corner) and its
// change per pixel in x and in y.
struct Plane {
    double atOrigin, dx, dy;

    Plane(const double (&x)[3], const double (&y)[3], double a0, double a1, double a2, double originX,
          double originY) {
        const double det = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
        dx = ((a1 - a0) * (y[2] - y[0]) - (a2 - a0) * (y[1] - y[0])) / det;
        dy = ((a2 - a0) * (x[1] - x[0]) - (a1 - a0) * (x[2] - x[0])) / det;
        atOrigin = a0 + dx * (originX - x[0]) + dy * (originY - y[0]);
    }
};

// Everything the pixel loop needs, worked out once per triangle.
struct TriangleSetup {
    std::int64_t minX, minY, maxX, maxY;
    Edge e0, e1, e2;
    Plane z, invW, r, g, b, a;
    const RasterTarget* target;
};

// The pixel loop, compiled once per combination of the choices that would otherwise be tested
// at every pixel: the X8R8G8B8 store, the depth test, flat shading.
template <bool kXrgb32, bool kDepthTest, bool kFlat>
void FillTriangle(const TriangleSetup& t) {
    const RasterTarget& target = *t.target;
    ColourSurface& colour = *target.colour;
    const D3DFORMAT format = colour.Format();
    const std::uint32_t bytesPerPixel = BytesPerPixelOfColourFormat(format);
    DepthSurface* depth = target.depth;
    const double depthMax = kDepthTest ? static_cast<double>(depth->MaxValue()) : 0.0;
    const std::uint32_t passMask = DepthPassMask(target.zFunc);
    const bool zWrite = target.zWrite;
    const float iwDx = static_cast<float>(t.invW.dx), rDx = static_cast<float>(t.r.dx);
    const float gDx = static_cast<float>(t.g.dx), bDx = static_cast<float>(t.b.dx), aDx = static_cast<float>(t.a.dx);

    for (std::int64_t y = t.minY; y <= t.maxY; ++y) {
        const std::int64_t rows = y - t.minY;
        const double rowOffset = static_cast<double>(rows);
        std::int64_t w0 = t.e0.atOrigin + t.e0.stepY * rows;  // once per row, not per pixel
        std::int64_t w1 = t.e1.atOrigin + t.e1.stepY * rows;
        std::int64_t w2 = t.e2.atOrigin + t.e2.stepY * rows;
        std::int64_t x = t.minX;
        // Walk to the row's first covered pixel: only the edge functions need stepping here.
        while (x <= t.maxX && (w0 | w1 | w2) < 0) {
            ++x;
            w0 += t.e0.stepX, w1 += t.e1.stepX, w2 += t.e2.stepX;
        }
        if (x > t.maxX) continue;

        // The attributes at that pixel, then stepped across the span.
        const double columns = static_cast<double>(x - t.minX);
        double z = t.z.atOrigin + t.z.dy * rowOffset + t.z.dx * columns;
        float iw = static_cast<float>(t.invW.atOrigin + t.invW.dy * rowOffset + t.invW.dx * columns);
        float r = static_cast<float>(t.r.atOrigin + t.r.dy * rowOffset + t.r.dx * columns);
        float g = static_cast<float>(t.g.atOrigin + t.g.dy * rowOffset + t.g.dx * columns);
        float b = static_cast<float>(t.b.atOrigin + t.b.dy * rowOffset + t.b.dx * columns);
        float a = static_cast<float>(t.a.atOrigin + t.a.dy * rowOffset + t.a.dx * columns);

        BYTE* colourRow = colour.Row(static_cast<std::uint32_t>(y));
        std::uint32_t* depthRow = kDepthTest ? depth->Row(static_cast<std::uint32_t>(y)) : nullptr;
        // A triangle's row is one span: the first uncovered pixel ends it.
        for (; x <= t.maxX && (w0 | w1 | w2) >= 0;
             ++x, w0 += t.e0.stepX, w1 += t.e1.stepX, w2 += t.e2.stepX, z += t.z.dx, iw += iwDx, r += rDx, g += gDx,
             b += bDx, a += aDx) {
            if constexpr (kDepthTest) {
                const auto incoming = static_cast<std::uint32_t>(std::min(depthMax, std::max(0.0, z)) + 0.5);
                const std::uint32_t stored = depthRow[x];
                const std::uint32_t outcome = (incoming >= stored) + (incoming > stored);  // 0 <, 1 =, 2 >
                if (!((passMask >> outcome) & 1u)) continue;
                if (zWrite) depthRow[x] = incoming;
            }
            D3DCOLOR argb = target.flatColour;
            if constexpr (!kFlat) {
                const float w = 1.0f / iw;
                argb = (ToByte(r * w) << 16) | (ToByte(g * w) << 8) | ToByte(b * w);
                if constexpr (!kXrgb32) argb |= ToByte(a * w) << 24;  // X8R8G8B8 has no alpha to keep
            }
            if constexpr (kXrgb32)
                reinterpret_cast<std::uint32_t*>(colourRow)[x] = pixel::PackX8R8G8B8(argb);
            else
                pixel::Store(format, colourRow + x * bytesPerPixel, argb);
        }
    }
}

template <bool kXrgb32, bool kDepthTest>
void FillTriangleShaded(const TriangleSetup& t) {
    if (t.target->flat)
        FillTriangle<kXrgb32, kDepthTest, true>(t);
    else
        FillTriangle<kXrgb32, kDepthTest, false>(t);
}

template <bool kXrgb32>
void FillTriangleTested(const TriangleSetup& t) {
    if (t.target->depth)
        FillTriangleShaded<kXrgb32, true>(t);
    else
        FillTriangleShaded<kXrgb32, false>(t);
}

}  // namespace

void RasteriseTriangle(const RasterTarget& target, const ScreenVertex& v0, const ScreenVertex& v1,
                       const ScreenVertex& v2) {
    const ScreenVertex* v[3] = {&v0, &v1, &v2};
    std::int64_t sx[3], sy[3];
    for (int i = 0; i < 3; ++i)
        if (!Snap(v[i]->x, sx[i]) || !Snap(v[i]->y, sy[i])) return;

    // Twice the signed area; positive when the vertices run clockwise on screen (y down).
    std::int64_t area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sy[1] - sy[0]) * (sx[2] - sx[0]);
    if (area == 0) return;
    if (target.cull == D3DCULL_CW && area > 0) return;
    if (target.cull == D3DCULL_CCW && area < 0) return;
    if (area < 0) {  // rasterise every triangle clockwise, so "inside" is always E >= 0
        std::swap(v[1], v[2]);
        std::swap(sx[1], sx[2]);
        std::swap(sy[1], sy[2]);
    }

    // Pixels whose sample points lie in the bounding box, clipped to the writable rectangle.
    const std::int64_t minX = std::max<std::int64_t>(CeilDiv(std::min({sx[0], sx[1], sx[2]}), kSubpixelOne), target.clipX0);
    const std::int64_t minY = std::max<std::int64_t>(CeilDiv(std::min({sy[0], sy[1], sy[2]}), kSubpixelOne), target.clipY0);
    const std::int64_t maxX = std::min<std::int64_t>(FloorDiv(std::max({sx[0], sx[1], sx[2]}), kSubpixelOne), target.clipX1 - 1);
    const std::int64_t maxY = std::min<std::int64_t>(FloorDiv(std::max({sy[0], sy[1], sy[2]}), kSubpixelOne), target.clipY1 - 1);
    if (minX > maxX || minY > maxY) return;

    const std::int64_t originX = minX * kSubpixelOne, originY = minY * kSubpixelOne;
    // Attributes are interpolated over the snapped positions, the same triangle the edges cover.
    double px[3], py[3];
    for (int i = 0; i < 3; ++i) {
        px[i] = static_cast<double>(sx[i]) / kSubpixelOne;
        py[i] = static_cast<double>(sy[i]) / kSubpixelOne;
    }
    const double ox = static_cast<double>(minX), oy = static_cast<double>(minY);
    auto plane = [&](float ScreenVertex::*field, double scale) {
        return Plane(px, py, v[0]->*field * scale, v[1]->*field * scale, v[2]->*field * scale, ox, oy);
    };
    // Depth is linear in screen space, as hardware interpolates it, kept in the buffer's units.
    const double depthMax = target.depth ? static_cast<double>(target.depth->MaxValue()) : 0.0;
    const TriangleSetup setup{minX, minY, maxX, maxY,
                              Edge(sx[1], sy[1], sx[2], sy[2], originX, originY),  // opposite v0
                              Edge(sx[2], sy[2], sx[0], sy[0], originX, originY),  // opposite v1
                              Edge(sx[0], sy[0], sx[1], sy[1], originX, originY),  // opposite v2
                              plane(&ScreenVertex::z, depthMax), plane(&ScreenVertex::invW, 1.0),
                              plane(&ScreenVertex::rOverW, 1.0), plane(&ScreenVertex::gOverW, 1.0),
                              plane(&ScreenVertex::bOverW, 1.0), plane(&ScreenVertex::aOverW, 1.0),
                              &target};
    if (target.colour->Format() == D3DFMT_X8R8G8B8)
        FillTriangleTested<true>(setup);
    else
        FillTriangleTested<false>(setup);
}

}  // namespace ostrel::d3d8
