#include "platform/d3d8/frame_capture.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace ostrel::d3d8 {

namespace {

struct PngError {
    std::string message;
};

// libpng reports errors by longjmp; the message is kept for the caller before the jump.
void OnPngError(png_structp png, png_const_charp message) {
    static_cast<PngError*>(png_get_error_ptr(png))->message = message;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Everything the longjmp can skip is owned outside this function, so nothing leaks across it.
bool WritePng(std::FILE* file, const std::vector<png_bytep>& rows, std::uint32_t width, std::uint32_t height,
              PngError& error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    if (png == nullptr) {
        error.message = "libpng could not start";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        if (error.message.empty()) error.message = "libpng could not start";
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string WriteFrameAsPng(const std::string& path, const std::uint32_t* pixels, std::uint32_t width,
                            std::uint32_t height) {
    std::vector<png_byte> rgb(static_cast<std::size_t>(width) * height * 3);
    std::vector<png_bytep> rows(height);
    for (std::uint32_t y = 0; y < height; ++y) {
        rows[y] = rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = pixels[static_cast<std::size_t>(y) * width + x];
            rows[y][x * 3 + 0] = static_cast<png_byte>(pixel >> 16);
            rows[y][x * 3 + 1] = static_cast<png_byte>(pixel >> 8);
            rows[y][x * 3 + 2] = static_cast<png_byte>(pixel);
        }
    }

    const std::string temporaryPath = path + ".tmp";
    std::FILE* file = std::fopen(temporaryPath.c_str(), "wb");
    if (file == nullptr) {
        return std::strerror(errno);
    }
    PngError error;
    const bool written = WritePng(file, rows, width, height, error);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(temporaryPath.c_str());
        return written ? std::string("could not finish the file") : error.message;
    }
    if (std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(temporaryPath.c_str());
        return reason;
    }
    return {};
}

}  // namespace ostrel::d3d8
