// How each colour format the device renders to packs a 0xAARRGGBB colour into its bytes and
// back. Quantising truncates each channel (no dithering, as the fixed-function blender does with
// dithering off); expanding replicates the high bits into the low ones, so 0x1F becomes 0xFF.
#ifndef OSTREL_PLATFORM_D3D8_RENDER_PIXEL_FORMATS_H
#define OSTREL_PLATFORM_D3D8_RENDER_PIXEL_FORMATS_H

#include <d3d8types.h>

#include <cstdint>
#include <cstring>

namespace ostrel::d3d8::pixel {

constexpr std::uint32_t Channel(D3DCOLOR colour, int shift) { return (colour >> shift) & 0xFFu; }

// Widens an n-bit channel (4 <= n <= 7) to 8 bits by repeating its top bits below it:
// 5 bits v -> (v << 3) | (v >> 2), 4 bits v -> (v << 4) | v.
constexpr std::uint32_t Expand(std::uint32_t value, int bits) {
    return ((value << (8 - bits)) | (value >> (2 * bits - 8))) & 0xFFu;
}

constexpr std::uint16_t PackR5G6B5(D3DCOLOR c) {
    return static_cast<std::uint16_t>(((Channel(c, 16) >> 3) << 11) | ((Channel(c, 8) >> 2) << 5) |
                                      (Channel(c, 0) >> 3));
}
constexpr std::uint16_t PackX1R5G5B5(D3DCOLOR c) {
    return static_cast<std::uint16_t>(((Channel(c, 16) >> 3) << 10) | ((Channel(c, 8) >> 3) << 5) |
                                      (Channel(c, 0) >> 3));
}
constexpr std::uint16_t PackA1R5G5B5(D3DCOLOR c) {
    return static_cast<std::uint16_t>(PackX1R5G5B5(c) | ((Channel(c, 24) >> 7) << 15));
}
constexpr std::uint16_t PackX4R4G4B4(D3DCOLOR c) {
    return static_cast<std::uint16_t>(((Channel(c, 16) >> 4) << 8) | ((Channel(c, 8) >> 4) << 4) |
                                      (Channel(c, 0) >> 4));
}
constexpr std::uint16_t PackA4R4G4B4(D3DCOLOR c) {
    return static_cast<std::uint16_t>(PackX4R4G4B4(c) | ((Channel(c, 24) >> 4) << 12));
}

constexpr D3DCOLOR Opaque(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}
constexpr D3DCOLOR UnpackR5G6B5(std::uint16_t p) {
    return Opaque(Expand((p >> 11) & 0x1Fu, 5), Expand((p >> 5) & 0x3Fu, 6), Expand(p & 0x1Fu, 5));
}
constexpr D3DCOLOR UnpackX1R5G5B5(std::uint16_t p) {
    return Opaque(Expand((p >> 10) & 0x1Fu, 5), Expand((p >> 5) & 0x1Fu, 5), Expand(p & 0x1Fu, 5));
}
constexpr D3DCOLOR UnpackX4R4G4B4(std::uint16_t p) {
    return Opaque(Expand((p >> 8) & 0xFu, 4), Expand((p >> 4) & 0xFu, 4), Expand(p & 0xFu, 4));
}

// The X byte of X8R8G8B8 is stored as zero so that the surface's bytes already are the 0x00RRGGBB
// frame Present wants, and converting it is a plain copy.
constexpr std::uint32_t PackX8R8G8B8(D3DCOLOR c) { return c & 0x00FFFFFFu; }

inline std::uint16_t Load16(const BYTE* p) {
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void Store16(BYTE* p, std::uint16_t v) { std::memcpy(p, &v, sizeof v); }
inline std::uint32_t Load32(const BYTE* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void Store32(BYTE* p, std::uint32_t v) { std::memcpy(p, &v, sizeof v); }

// Stores one colour at p in the given format (R8G8B8 is three bytes, blue first, like the real
// layout). Unknown formats store nothing.
inline void Store(D3DFORMAT format, BYTE* p, D3DCOLOR c) {
    switch (format) {
    case D3DFMT_X8R8G8B8: Store32(p, PackX8R8G8B8(c)); break;
    case D3DFMT_A8R8G8B8: Store32(p, c); break;
    case D3DFMT_R8G8B8:
        p[0] = static_cast<BYTE>(Channel(c, 0));
        p[1] = static_cast<BYTE>(Channel(c, 8));
        p[2] = static_cast<BYTE>(Channel(c, 16));
        break;
    case D3DFMT_R5G6B5: Store16(p, PackR5G6B5(c)); break;
    case D3DFMT_X1R5G5B5: Store16(p, PackX1R5G5B5(c)); break;
    case D3DFMT_A1R5G5B5: Store16(p, PackA1R5G5B5(c)); break;
    case D3DFMT_X4R4G4B4: Store16(p, PackX4R4G4B4(c)); break;
    case D3DFMT_A4R4G4B4: Store16(p, PackA4R4G4B4(c)); break;
    default: break;
    }
}

// Loads one pixel as 0xFFRRGGBB.
inline D3DCOLOR Load(D3DFORMAT format, const BYTE* p) {
    switch (format) {
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8R8G8B8: return Load32(p) | 0xFF000000u;
    case D3DFMT_R8G8B8: return Opaque(p[2], p[1], p[0]);
    case D3DFMT_R5G6B5: return UnpackR5G6B5(Load16(p));
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: return UnpackX1R5G5B5(Load16(p));
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A4R4G4B4: return UnpackX4R4G4B4(Load16(p));
    default: return 0xFF000000u;
    }
}

}  // namespace ostrel::d3d8::pixel

#endif
