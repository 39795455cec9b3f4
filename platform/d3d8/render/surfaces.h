// Colour and depth surfaces in the formats the device offers, stored as the real formats lay
// them out, so a 16-bit back buffer really holds 16-bit pixels with that format's precision.
#ifndef OSTREL_PLATFORM_D3D8_RENDER_SURFACES_H
#define OSTREL_PLATFORM_D3D8_RENDER_SURFACES_H

#include <d3d8types.h>

#include <cstdint>
#include <vector>

namespace ostrel::d3d8 {

// Bytes per pixel of a colour format the device can render to; 0 when it cannot.
std::uint32_t BytesPerPixelOfColourFormat(D3DFORMAT format);
// Bytes per pixel of a depth format; 0 when it is not one the device offers (D32, D24X8, D16).
std::uint32_t BytesPerPixelOfDepthFormat(D3DFORMAT format);

class ColourSurface {
public:
    ColourSurface(std::uint32_t width, std::uint32_t height, D3DFORMAT format);

    std::uint32_t Width() const { return m_width; }
    std::uint32_t Height() const { return m_height; }
    D3DFORMAT Format() const { return m_format; }
    std::uint32_t PitchBytes() const { return m_pitchBytes; }
    BYTE* Row(std::uint32_t y) { return m_bytes.data() + static_cast<std::size_t>(y) * m_pitchBytes; }
    const BYTE* Row(std::uint32_t y) const { return m_bytes.data() + static_cast<std::size_t>(y) * m_pitchBytes; }

    // Fills the rectangle [x1, x2) x [y1, y2) (already clipped to the surface) with a colour.
    void Fill(D3DCOLOR colour, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2);
    void Fill(D3DCOLOR colour) { Fill(colour, 0, 0, m_width, m_height); }

    // Writes a pixel given as 0xAARRGGBB, quantised to the format (no dithering).
    void Write(std::uint32_t x, std::uint32_t y, D3DCOLOR colour);
    // Reads a pixel back as 0xFFRRGGBB with each channel expanded to 8 bits.
    D3DCOLOR Read(std::uint32_t x, std::uint32_t y) const;

    // The surface's own pixels when they already are 0x00RRGGBB (X8R8G8B8 stores its X byte as 0),
    // rows packed at PitchBytes(); null for every other format.
    const std::uint32_t* XrgbPixels() const;

    // Converts the whole surface to 0x00RRGGBB pixels (pitch = width * 4) into out, which must
    // hold Width() * Height() pixels. Used by Present and the PNG capture.
    void ConvertToXrgb(std::uint32_t* out) const;

private:
    std::uint32_t m_width;
    std::uint32_t m_height;
    D3DFORMAT m_format;
    std::uint32_t m_bytesPerPixel;
    std::uint32_t m_pitchBytes;
    std::vector<BYTE> m_bytes;
};

class DepthSurface {
public:
    DepthSurface(std::uint32_t width, std::uint32_t height, D3DFORMAT format);

    std::uint32_t Width() const { return m_width; }
    std::uint32_t Height() const { return m_height; }
    D3DFORMAT Format() const { return m_format; }

    void Fill(float depth, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2);
    void Fill(float depth) { Fill(depth, 0, 0, m_width, m_height); }

    // Depth in 0..1 as stored, i.e. after quantisation to the format's precision.
    float Read(std::uint32_t x, std::uint32_t y) const;

    // Depth values as the format's unsigned integers (D16: 16 bits, D24X8: 24 bits, D32: 32 bits),
    // stored in 32-bit cells so the rasteriser compares integers. Exposed for the rasteriser.
    std::uint32_t* Row(std::uint32_t y) { return m_cells.data() + static_cast<std::size_t>(y) * m_width; }
    std::uint32_t MaxValue() const { return m_maxValue; }
    std::uint32_t Quantise(float depth) const;

private:
    std::uint32_t m_width;
    std::uint32_t m_height;
    D3DFORMAT m_format;
    std::uint32_t m_maxValue;
    std::vector<std::uint32_t> m_cells;
};

}  // namespace ostrel::d3d8

#endif
