// Where a frame lands in a window of another size: the full-screen display mode never changes, so
// the back buffer is scaled to the desktop with its aspect kept and black bars fill the rest.
// Pure arithmetic; the window host draws into the rectangle these functions return.
#ifndef OSTREL_PLATFORM_HOST_FRAME_SCALING_H
#define OSTREL_PLATFORM_HOST_FRAME_SCALING_H

#include "platform/runtime/config.h"

namespace ostrel {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

struct PixelSize {
    int width = 0;
    int height = 0;
};

enum class ScaleFilter { Linear, Nearest };

// The largest rectangle of the frame's shape that fits the window, centred (rounded to whole pixels).
PixelRect AspectFitRect(PixelSize frame, PixelSize window);

// The frame at the largest whole multiple that fits, centred; when not even 1× fits, AspectFitRect.
PixelRect IntegerScaleRect(PixelSize frame, PixelSize window);

// The destination rectangle OSTREL_SCALE asks for. An empty frame or window gives an empty rectangle.
PixelRect DestinationRectFor(ScaleMode mode, PixelSize frame, PixelSize window);

// smooth filters; sharp and integer take the nearest pixel.
ScaleFilter ScaleFilterFor(ScaleMode mode);

}  // namespace ostrel

#endif
