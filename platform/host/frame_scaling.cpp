#include "platform/host/frame_scaling.h"

#include <algorithm>
#include <cstdint>

namespace ostrel {
namespace {

bool IsEmpty(PixelSize size) {
    return size.width <= 0 || size.height <= 0;
}

PixelRect CentredIn(PixelSize window, int width, int height) {
    return PixelRect{(window.width - width) / 2, (window.height - height) / 2, width, height};
}

// a·b/c rounded to nearest, in 64 bits so desktop-sized products cannot overflow.
int ScaledRounded(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    return static_cast<int>((2 * product + c) / (2 * static_cast<std::int64_t>(c)));
}

}  // namespace

PixelRect AspectFitRect(PixelSize frame, PixelSize window) {
    if (IsEmpty(frame) || IsEmpty(window)) return PixelRect{};
    // Compare frame.w/frame.h with window.w/window.h by cross-multiplying: no rounding decides the side.
    const std::int64_t frameWide = static_cast<std::int64_t>(frame.width) * window.height;
    const std::int64_t windowWide = static_cast<std::int64_t>(window.width) * frame.height;
    if (frameWide >= windowWide) {  // the width limits: bars above and below (or none)
        const int height = std::max(1, ScaledRounded(frame.height, window.width, frame.width));
        return CentredIn(window, window.width, std::min(height, window.height));
    }
    const int width = std::max(1, ScaledRounded(frame.width, window.height, frame.height));
    return CentredIn(window, std::min(width, window.width), window.height);
}

PixelRect IntegerScaleRect(PixelSize frame, PixelSize window) {
    if (IsEmpty(frame) || IsEmpty(window)) return PixelRect{};
    const int factor = std::min(window.width / frame.width, window.height / frame.height);
    if (factor < 1) return AspectFitRect(frame, window);
    return CentredIn(window, frame.width * factor, frame.height * factor);
}

PixelRect DestinationRectFor(ScaleMode mode, PixelSize frame, PixelSize window) {
    return mode == ScaleMode::Integer ? IntegerScaleRect(frame, window) : AspectFitRect(frame, window);
}

ScaleFilter ScaleFilterFor(ScaleMode mode) {
    return mode == ScaleMode::Smooth ? ScaleFilter::Linear : ScaleFilter::Nearest;
}

}  // namespace ostrel
