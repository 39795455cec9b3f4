#include "platform/d3d8/render/surfaces.h"

#include "platform/d3d8/render/pixel_formats.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ostrel::d3d8 {

std::uint32_t BytesPerPixelOfColourFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8R8G8B8: return 4;
    case D3DFMT_R8G8B8: return 3;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A4R4G4B4: return 2;
    default: return 0;
    }
}

std::uint32_t BytesPerPixelOfDepthFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D32:
    case D3DFMT_D24X8: return 4;
    case D3DFMT_D16: return 2;
    default: return 0;
    }
}

namespace {

// Fills count cells of type Cell with value as fast as memset fills bytes. When every byte of
// the value is the same (black, white, depth 0 and D32's 1.0) it is memset; otherwise a block
// small enough to stay in the first-level cache is filled by hand and copied onwards, which
// streams to memory the way memset does. A plain element loop is several times slower.
template <typename Cell>
void FillCells(Cell* cells, std::size_t count, Cell value) {
    const auto lowByte = static_cast<unsigned char>(value & 0xFFu);
    Cell replicated = 0;
    for (std::size_t i = 0; i < sizeof(Cell); ++i) replicated = static_cast<Cell>((replicated << 8) | lowByte);
    if (replicated == value) {
        std::memset(cells, lowByte, count * sizeof(Cell));
        return;
    }
    constexpr std::size_t kBlockCells = 4096 / sizeof(Cell);
    const std::size_t first = std::min(count, kBlockCells);
    std::fill_n(cells, first, value);
    for (std::size_t done = first; done < count; done += kBlockCells)
        std::memcpy(cells + done, cells, std::min(kBlockCells, count - done) * sizeof(Cell));
}

}  // namespace

// ---- ColourSurface --------------------------------------------------------------------------

ColourSurface::ColourSurface(std::uint32_t width, std::uint32_t height, D3DFORMAT format)
    : m_width(width),
      m_height(height),
      m_format(format),
      m_bytesPerPixel(BytesPerPixelOfColourFormat(format)),
      m_pitchBytes(width * m_bytesPerPixel),
      m_bytes(static_cast<std::size_t>(m_pitchBytes) * height, 0) {}

void ColourSurface::Fill(D3DCOLOR colour, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2) {
    x2 = std::min(x2, m_width);
    y2 = std::min(y2, m_height);
    if (x1 >= x2 || y1 >= y2 || m_bytesPerPixel == 0) return;
    const std::uint32_t count = x2 - x1;

    if (m_bytesPerPixel == 4) {
        // A whole-surface clear is one contiguous run; a rectangle is one run per row.
        const std::uint32_t packed = m_format == D3DFMT_X8R8G8B8 ? pixel::PackX8R8G8B8(colour) : colour;
        if (x1 == 0 && count == m_width) {
            auto* first = reinterpret_cast<std::uint32_t*>(Row(y1));
            FillCells(first, static_cast<std::size_t>(count) * (y2 - y1), packed);
            return;
        }
        for (std::uint32_t y = y1; y < y2; ++y)
            FillCells(reinterpret_cast<std::uint32_t*>(Row(y)) + x1, count, packed);
        return;
    }

    if (m_bytesPerPixel == 2) {
        BYTE sample[2];
        pixel::Store(m_format, sample, colour);
        const std::uint16_t packed = pixel::Load16(sample);
        if (x1 == 0 && count == m_width) {
            FillCells(reinterpret_cast<std::uint16_t*>(Row(y1)), static_cast<std::size_t>(count) * (y2 - y1), packed);
            return;
        }
        for (std::uint32_t y = y1; y < y2; ++y) FillCells(reinterpret_cast<std::uint16_t*>(Row(y)) + x1, count, packed);
        return;
    }

    // Three bytes per pixel: build the first row's span once and copy it to the others.
    BYTE* firstRow = Row(y1) + static_cast<std::size_t>(x1) * 3;
    for (std::uint32_t x = 0; x < count; ++x) pixel::Store(m_format, firstRow + x * 3, colour);
    for (std::uint32_t y = y1 + 1; y < y2; ++y)
        std::memcpy(Row(y) + static_cast<std::size_t>(x1) * 3, firstRow, static_cast<std::size_t>(count) * 3);
}

void ColourSurface::Write(std::uint32_t x, std::uint32_t y, D3DCOLOR colour) {
    if (x >= m_width || y >= m_height) return;
    pixel::Store(m_format, Row(y) + static_cast<std::size_t>(x) * m_bytesPerPixel, colour);
}

D3DCOLOR ColourSurface::Read(std::uint32_t x, std::uint32_t y) const {
    if (x >= m_width || y >= m_height) return 0xFF000000u;
    return pixel::Load(m_format, Row(y) + static_cast<std::size_t>(x) * m_bytesPerPixel);
}

const std::uint32_t* ColourSurface::XrgbPixels() const {
    return m_format == D3DFMT_X8R8G8B8 ? reinterpret_cast<const std::uint32_t*>(m_bytes.data()) : nullptr;
}

void ColourSurface::ConvertToXrgb(std::uint32_t* out) const {
    const std::size_t pixels = static_cast<std::size_t>(m_width) * m_height;
    if (m_format == D3DFMT_X8R8G8B8) {
        // Stored with a zero X byte: the surface already is the frame.
        std::memcpy(out, m_bytes.data(), pixels * 4);
        return;
    }
    if (m_format == D3DFMT_A8R8G8B8) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(m_bytes.data());
        for (std::size_t i = 0; i < pixels; ++i) out[i] = in[i] & 0x00FFFFFFu;
        return;
    }
    for (std::uint32_t y = 0; y < m_height; ++y) {
        const BYTE* in = Row(y);
        std::uint32_t* outRow = out + static_cast<std::size_t>(y) * m_width;
        for (std::uint32_t x = 0; x < m_width; ++x, in += m_bytesPerPixel)
            outRow[x] = pixel::Load(m_format, in) & 0x00FFFFFFu;
    }
}

// ---- DepthSurface ---------------------------------------------------------------------------

namespace {

std::uint32_t MaxValueOfDepthFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D32: return 0xFFFFFFFFu;
    case D3DFMT_D24X8: return 0x00FFFFFFu;
    case D3DFMT_D16: return 0x0000FFFFu;
    default: return 0;
    }
}

}  // namespace

DepthSurface::DepthSurface(std::uint32_t width, std::uint32_t height, D3DFORMAT format)
    : m_width(width),
      m_height(height),
      m_format(format),
      m_maxValue(MaxValueOfDepthFormat(format)),
      m_cells(static_cast<std::size_t>(width) * height, 0) {}

std::uint32_t DepthSurface::Quantise(float depth) const {
    // Double keeps all 32 bits of D32 exact; NaN (which fails both comparisons) counts as 0.
    const double clamped = depth > 0.0f ? (depth < 1.0f ? static_cast<double>(depth) : 1.0) : 0.0;
    return static_cast<std::uint32_t>(std::llround(clamped * m_maxValue));
}

void DepthSurface::Fill(float depth, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2) {
    x2 = std::min(x2, m_width);
    y2 = std::min(y2, m_height);
    if (x1 >= x2 || y1 >= y2) return;
    const std::uint32_t value = Quantise(depth);
    if (x1 == 0 && x2 == m_width) {
        FillCells(Row(y1), static_cast<std::size_t>(m_width) * (y2 - y1), value);
        return;
    }
    for (std::uint32_t y = y1; y < y2; ++y) FillCells(Row(y) + x1, x2 - x1, value);
}

float DepthSurface::Read(std::uint32_t x, std::uint32_t y) const {
    if (x >= m_width || y >= m_height || m_maxValue == 0) return 0.0f;
    const std::uint32_t cell = m_cells[static_cast<std::size_t>(y) * m_width + x];
    return static_cast<float>(static_cast<double>(cell) / m_maxValue);
}

}  // namespace ostrel::d3d8
