// Writing a presented frame to a PNG file, for OSTREL_CAPTURE. Only 8-bit RGB; nothing is read.
#ifndef OSTREL_PLATFORM_D3D8_FRAME_CAPTURE_H
#define OSTREL_PLATFORM_D3D8_FRAME_CAPTURE_H

#include <cstdint>
#include <string>

namespace ostrel::d3d8 {

// Writes width x height pixels of 0x00RRGGBB, rows top to bottom and tightly packed, as an 8-bit
// RGB PNG. The file appears complete or not at all (written beside it, then renamed). Returns an
// empty string on success, else why it failed.
std::string WriteFrameAsPng(const std::string& path, const std::uint32_t* pixels, std::uint32_t width,
                            std::uint32_t height);

}  // namespace ostrel::d3d8

#endif
