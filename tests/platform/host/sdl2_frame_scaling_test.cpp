// Where the window host draws a frame on a desktop of another size, for each OSTREL_SCALE mode.
#include "platform/host/frame_scaling.h"

#include <gtest/gtest.h>

#include <ostream>

namespace ostrel {

void PrintTo(const PixelRect& rect, std::ostream* out) {
    *out << rect.width << "x" << rect.height << "+" << rect.x << "+" << rect.y;
}

namespace {

struct ScalingCase {
    const char* name;
    PixelSize frame;
    PixelSize window;
    PixelRect fit;      // smooth and sharp
    PixelRect integer;  // integer
};

void PrintTo(const ScalingCase& c, std::ostream* out) {
    *out << c.name;
}

class Sdl2FrameScalingTest : public testing::TestWithParam<ScalingCase> {};

TEST_P(Sdl2FrameScalingTest, SmoothAndSharpKeepTheAspectAndFill) {
    const ScalingCase& c = GetParam();
    EXPECT_EQ(DestinationRectFor(ScaleMode::Smooth, c.frame, c.window), c.fit);
    EXPECT_EQ(DestinationRectFor(ScaleMode::Sharp, c.frame, c.window), c.fit);
}

TEST_P(Sdl2FrameScalingTest, IntegerTakesTheLargestWholeMultiple) {
    const ScalingCase& c = GetParam();
    EXPECT_EQ(DestinationRectFor(ScaleMode::Integer, c.frame, c.window), c.integer);
}

TEST_P(Sdl2FrameScalingTest, StaysInsideTheWindow) {
    const ScalingCase& c = GetParam();
    for (ScaleMode mode : {ScaleMode::Smooth, ScaleMode::Sharp, ScaleMode::Integer}) {
        const PixelRect rect = DestinationRectFor(mode, c.frame, c.window);
        EXPECT_GE(rect.x, 0);
        EXPECT_GE(rect.y, 0);
        EXPECT_LE(rect.x + rect.width, c.window.width);
        EXPECT_LE(rect.y + rect.height, c.window.height);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, Sdl2FrameScalingTest,
    testing::Values(
        // 800×600 on 1024×768: ×1.28 exactly, no bars; 2× does not fit, so integer is 1× centred.
        ScalingCase{"SameShapeLarger", {800, 600}, {1024, 768}, {0, 0, 1024, 768}, {112, 84, 800, 600}},
        ScalingCase{"SameSize", {800, 600}, {800, 600}, {0, 0, 800, 600}, {0, 0, 800, 600}},
        // 4:3 on 16:9: bars at the sides. 1920/800 = 2.4, 1080/600 = 1.8.
        ScalingCase{"WideDesktop", {800, 600}, {1920, 1080}, {240, 0, 1440, 1080}, {560, 240, 800, 600}},
        // 4:3 on 5:4: bars above and below. 1280×960 fits 1280×1024 with 32 rows each side.
        ScalingCase{"TallDesktop", {800, 600}, {1280, 1024}, {0, 32, 1280, 960}, {240, 212, 800, 600}},
        ScalingCase{"DoubleFits", {640, 480}, {1920, 1080}, {240, 0, 1440, 1080}, {320, 60, 1280, 960}},
        ScalingCase{"ExactTriple", {320, 240}, {960, 720}, {0, 0, 960, 720}, {0, 0, 960, 720}},
        // Smaller desktop than the frame: even 1× does not fit, so integer falls back to the fit.
        ScalingCase{"SmallerDesktop", {800, 600}, {640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}},
        ScalingCase{"NarrowSmallerDesktop", {800, 600}, {600, 600}, {0, 75, 600, 450}, {0, 75, 600, 450}},
        // A fractional height rounds to the nearest row: 1366·600/800 = 1024.5 → 1025 > 768, so
        // the height limits: 768·800/600 = 1024 wide, 171 px bars.
        ScalingCase{"LaptopDesktop", {800, 600}, {1366, 768}, {171, 0, 1024, 768}, {283, 84, 800, 600}},
        // 1000·2/3 = 666.7 rows round to 667; the whole multiple is 333 (999×666).
        ScalingCase{"RoundedHeight", {3, 2}, {1000, 1000}, {0, 166, 1000, 667}, {0, 167, 999, 666}},
        // Empty sizes draw nothing.
        ScalingCase{"EmptyFrame", {0, 600}, {1024, 768}, {}, {}},
        ScalingCase{"EmptyWindow", {800, 600}, {1024, 0}, {}, {}}),
    [](const testing::TestParamInfo<ScalingCase>& info) { return std::string(info.param.name); });

TEST(Sdl2ScaleFilterTest, OnlySmoothFilters) {
    EXPECT_EQ(ScaleFilterFor(ScaleMode::Smooth), ScaleFilter::Linear);
    EXPECT_EQ(ScaleFilterFor(ScaleMode::Sharp), ScaleFilter::Nearest);
    EXPECT_EQ(ScaleFilterFor(ScaleMode::Integer), ScaleFilter::Nearest);
}

}  // namespace
}  // namespace ostrel
