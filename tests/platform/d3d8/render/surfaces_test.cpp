// Colour and depth surfaces hold what the real formats can hold: channels truncated to the
// format's bits and read back by bit replication, depth rounded to the format's integer steps.
#include "platform/d3d8/render/surfaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace ostrel::d3d8 {
namespace {

struct QuantisationCase {
    D3DFORMAT format;
    const char* name;
    std::uint32_t bytesPerPixel;
    D3DCOLOR written;
    D3DCOLOR readBack;
};

// 0x7F = 0111'1111 and 0x84 = 1000'0100 exercise truncation and replication at every width.
constexpr QuantisationCase kQuantisation[] = {
    {D3DFMT_X8R8G8B8, "X8R8G8B8", 4, 0x127F8405, 0xFF7F8405},
    {D3DFMT_A8R8G8B8, "A8R8G8B8", 4, 0x127F8405, 0xFF7F8405},
    {D3DFMT_R8G8B8, "R8G8B8", 3, 0x127F8405, 0xFF7F8405},
    {D3DFMT_R5G6B5, "R5G6B5", 2, 0x127F8405, 0xFF7B8600},  // 01111 -> 0x7B, 100001 -> 0x86, 00000
    {D3DFMT_X1R5G5B5, "X1R5G5B5", 2, 0x127F8405, 0xFF7B8400},
    {D3DFMT_A1R5G5B5, "A1R5G5B5", 2, 0x927F8405, 0xFF7B8400},
    {D3DFMT_X4R4G4B4, "X4R4G4B4", 2, 0x127F8405, 0xFF778800},
    {D3DFMT_A4R4G4B4, "A4R4G4B4", 2, 0x127F8405, 0xFF778800},
    // Full-scale channels must come back full-scale, not 0xF8 or 0xF0.
    {D3DFMT_R5G6B5, "R5G6B5", 2, 0xFFFFFFFF, 0xFFFFFFFF},
    {D3DFMT_X1R5G5B5, "X1R5G5B5", 2, 0xFFFFFFFF, 0xFFFFFFFF},
    {D3DFMT_X4R4G4B4, "X4R4G4B4", 2, 0xFFFFFFFF, 0xFFFFFFFF},
    // Just below a step truncates down rather than rounding up (no dithering either).
    {D3DFMT_R5G6B5, "R5G6B5", 2, 0xFF0F0B07, 0xFF080800},
    {D3DFMT_X4R4G4B4, "X4R4G4B4", 2, 0xFF1F2F0F, 0xFF112200},
};

TEST(ColourSurface, QuantisesEachFormatByTruncationAndReadsBackByReplication) {
    for (const QuantisationCase& c : kQuantisation) {
        SCOPED_TRACE(c.name);
        ColourSurface surface(3, 2, c.format);
        EXPECT_EQ(BytesPerPixelOfColourFormat(c.format), c.bytesPerPixel);
        EXPECT_EQ(surface.PitchBytes(), 3 * c.bytesPerPixel);
        surface.Write(1, 1, c.written);
        EXPECT_EQ(surface.Read(1, 1), c.readBack) << std::hex << surface.Read(1, 1);
        EXPECT_EQ(surface.Read(0, 1), 0xFF000000u) << "a neighbour changed";
        EXPECT_EQ(surface.Read(2, 1), 0xFF000000u) << "a neighbour changed";
    }
}

TEST(ColourSurface, LaysPixelsOutAsTheRealFormats) {
    struct Layout {
        D3DFORMAT format;
        std::vector<BYTE> bytes;  // of 0xC0A0B0D0 written at (0, 0), little-endian as in memory
    };
    const Layout layouts[] = {
        {D3DFMT_X8R8G8B8, {0xD0, 0xB0, 0xA0, 0x00}},  // X stored as zero: the frame is a plain copy
        {D3DFMT_A8R8G8B8, {0xD0, 0xB0, 0xA0, 0xC0}},
        {D3DFMT_R8G8B8, {0xD0, 0xB0, 0xA0}},          // blue, green, red
        {D3DFMT_R5G6B5, {0x9A, 0xA5}},                // 10100 101100 11010
        {D3DFMT_A1R5G5B5, {0xDA, 0xD2}},              // 1 10100 10110 11010
        {D3DFMT_A4R4G4B4, {0xBD, 0xCA}},              // 1100 1010 1011 1101
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.format);
        ColourSurface surface(2, 1, layout.format);
        surface.Write(0, 0, 0xC0A0B0D0u);
        EXPECT_EQ(std::vector<BYTE>(surface.Row(0), surface.Row(0) + layout.bytes.size()), layout.bytes);
    }
}

TEST(ColourSurface, IgnoresWritesOutsideAndReadsThemAsBlack) {
    ColourSurface surface(2, 2, D3DFMT_X8R8G8B8);
    surface.Fill(0xFF123456u);
    surface.Write(2, 0, 0xFFFFFFFFu);
    surface.Write(0, 2, 0xFFFFFFFFu);
    EXPECT_EQ(surface.Read(1, 1), 0xFF123456u);
    EXPECT_EQ(surface.Read(5, 5), 0xFF000000u);
}

class ColourSurfaceFormats : public ::testing::TestWithParam<D3DFORMAT> {};

TEST_P(ColourSurfaceFormats, FillsOnlyTheRectangleWithTheQuantisedColour) {
    ColourSurface surface(7, 5, GetParam());
    surface.Fill(0xFF000000u);
    ColourSurface single(1, 1, GetParam());
    single.Write(0, 0, 0xFF8899AAu);
    surface.Fill(0xFF8899AAu, 2, 1, 5, 4);
    for (std::uint32_t y = 0; y < 5; ++y)
        for (std::uint32_t x = 0; x < 7; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
            EXPECT_EQ(surface.Read(x, y), inside ? single.Read(0, 0) : 0xFF000000u) << x << "," << y;
        }
}

TEST_P(ColourSurfaceFormats, ConvertsToXrgbRowByRow) {
    ColourSurface surface(5, 3, GetParam());
    surface.Fill(0xFF204060u);
    surface.Write(4, 0, 0x80FFFFFFu);
    surface.Write(0, 2, 0xFF0000FFu);
    std::vector<std::uint32_t> frame(5 * 3, 0xDEADBEEFu);
    surface.ConvertToXrgb(frame.data());
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 5; ++x)
            EXPECT_EQ(frame[y * 5 + x], surface.Read(x, y) & 0x00FFFFFFu) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(AllColourFormats, ColourSurfaceFormats,
                         ::testing::Values(D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R8G8B8, D3DFMT_R5G6B5,
                                           D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_X4R4G4B4, D3DFMT_A4R4G4B4));

TEST(SurfaceFormats, OnlyTheDeviceFormatsHaveASize) {
    EXPECT_EQ(BytesPerPixelOfColourFormat(D3DFMT_R3G3B2), 0u);
    EXPECT_EQ(BytesPerPixelOfColourFormat(D3DFMT_D16), 0u);
    EXPECT_EQ(BytesPerPixelOfDepthFormat(D3DFMT_D32), 4u);
    EXPECT_EQ(BytesPerPixelOfDepthFormat(D3DFMT_D24X8), 4u);
    EXPECT_EQ(BytesPerPixelOfDepthFormat(D3DFMT_D16), 2u);
    EXPECT_EQ(BytesPerPixelOfDepthFormat(D3DFMT_D24S8), 0u);
    EXPECT_EQ(BytesPerPixelOfDepthFormat(D3DFMT_X8R8G8B8), 0u);
}

struct DepthCase {
    D3DFORMAT format;
    const char* name;
    std::uint32_t maxValue;
};

constexpr DepthCase kDepthFormats[] = {
    {D3DFMT_D32, "D32", 0xFFFFFFFFu},
    {D3DFMT_D24X8, "D24X8", 0x00FFFFFFu},
    {D3DFMT_D16, "D16", 0x0000FFFFu},
};

TEST(DepthSurface, QuantisesToTheNearestStepOfItsFormat) {
    for (const DepthCase& c : kDepthFormats) {
        SCOPED_TRACE(c.name);
        DepthSurface depth(4, 4, c.format);
        const double step = 1.0 / c.maxValue;
        EXPECT_EQ(depth.MaxValue(), c.maxValue);
        EXPECT_EQ(depth.Quantise(0.0f), 0u);
        EXPECT_EQ(depth.Quantise(1.0f), c.maxValue);
        EXPECT_EQ(depth.Quantise(-0.5f), 0u);
        EXPECT_EQ(depth.Quantise(2.0f), c.maxValue);
        EXPECT_EQ(depth.Quantise(std::nanf("")), 0u);
        EXPECT_EQ(depth.Quantise(0.5f), static_cast<std::uint32_t>(std::llround(0.5 * c.maxValue)));
        // Values closer than half a step apart are one value to the buffer; a step apart they are not.
        const float a = 0.25f;
        const float nearA = static_cast<float>(a + 0.25 * step);
        EXPECT_EQ(depth.Quantise(nearA), depth.Quantise(a));
        if (c.format != D3DFMT_D32) {  // D32's step is below a float's resolution near 0.25
            EXPECT_EQ(depth.Quantise(static_cast<float>(a + step)), depth.Quantise(a) + 1);
        }
        depth.Fill(0.3f);
        EXPECT_NEAR(depth.Read(3, 3), 0.3, step / 2 + 1e-7);
        EXPECT_EQ(depth.Row(3)[3], depth.Quantise(0.3f));
    }
}

TEST(DepthSurface, D16KeepsOnlySixteenBits) {
    DepthSurface d16(1, 1, D3DFMT_D16), d32(1, 1, D3DFMT_D32);
    d16.Fill(0.123456789f);
    d32.Fill(0.123456789f);
    EXPECT_FLOAT_EQ(d16.Read(0, 0), 8091.0f / 65535.0f);  // round(0.123456789 * 65535) = 8091
    EXPECT_NEAR(d32.Read(0, 0), 0.123456789, 1e-7);
}

TEST(DepthSurface, FillsOnlyTheRectangle) {
    DepthSurface depth(4, 3, D3DFMT_D24X8);
    depth.Fill(1.0f);
    depth.Fill(0.0f, 1, 1, 3, 2);
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(depth.Read(x, y), (x >= 1 && x < 3 && y == 1) ? 0.0f : 1.0f) << x << "," << y;
}

}  // namespace
}  // namespace ostrel::d3d8
