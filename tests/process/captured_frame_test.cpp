// The frame a default headless run leaves in OSTREL_CAPTURE: black except the box's near face,
// which covers exactly x 350-450 and y 262-338, with its corner colours blended across it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "process/program_run.h"

namespace {

struct Probe {
    const char* where;
    std::uint32_t x;
    std::uint32_t y;
    std::uint32_t expected;  // 0xRRGGBB
    int tolerance;           // per channel
};

const Probe kProbes[] = {
    {"upper-left corner: blue", 350, 262, 0x0000FF, 12},
    {"upper-right corner: red", 450, 262, 0xFF0000, 12},
    {"lower-left corner: red", 350, 338, 0xFF0000, 12},
    {"lower-right corner: green", 450, 338, 0x00FF00, 12},
    // The face is two triangles split along the blue-green diagonal, which runs through the centre.
    {"centre: half blue, half green", 400, 300, 0x008080, 12},
    {"top edge midpoint: blue to red", 400, 262, 0x800080, 12},
    {"left edge midpoint: blue to red", 350, 300, 0x800080, 12},
    {"right edge midpoint: red to green", 450, 300, 0x808000, 12},
    {"bottom edge midpoint: red to green", 400, 338, 0x808000, 12},
    {"left of the face", 349, 300, 0x000000, 0},
    {"right of the face", 451, 300, 0x000000, 0},
    {"above the face", 400, 261, 0x000000, 0},
    {"below the face", 400, 339, 0x000000, 0},
    {"screen corner", 0, 0, 0x000000, 0},
};

int Channel(std::uint32_t colour, int shift) {
    return static_cast<int>((colour >> shift) & 0xFF);
}

void ExpectFace(const Image& frame, int toleranceBonus) {
    ASSERT_EQ(frame.width, 800u);
    ASSERT_EQ(frame.height, 600u);
    for (const Probe& probe : kProbes) {
        const std::uint32_t actual = frame.Pixel(probe.x, probe.y);
        for (int shift : {16, 8, 0}) {
            EXPECT_NEAR(Channel(actual, shift), Channel(probe.expected, shift), probe.tolerance + toleranceBonus)
                << probe.where << " at (" << probe.x << ", " << probe.y << "): got " << std::hex << actual;
        }
    }
    std::uint32_t covered = 0, minX = frame.width, maxX = 0, minY = frame.height, maxY = 0;
    for (std::uint32_t y = 0; y < frame.height; ++y) {
        for (std::uint32_t x = 0; x < frame.width; ++x) {
            if (frame.Pixel(x, y) != 0) {
                ++covered;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    EXPECT_EQ(covered, 101u * 77u);
    EXPECT_EQ(minX, 350u);
    EXPECT_EQ(maxX, 450u);
    EXPECT_EQ(minY, 262u);
    EXPECT_EQ(maxY, 338u);
}

RunResult RunWithCapture(const ProgramFolder& folder, std::map<std::string, std::string> environment) {
    RunOptions options;
    options.environment = std::move(environment);
    options.environment["OSTREL_PRESENT"] = "immediate";
    options.environment["OSTREL_INPUT"] = "3:up:ESCAPE";
    options.environment["OSTREL_CAPTURE"] = (folder.Path() / "frame.png").string();
    return folder.Run(options);
}

TEST(CapturedFrame, DefaultRunShowsTheNearFaceInTheMiddle) {
    ProgramFolder folder;
    const RunResult run = RunWithCapture(folder, {});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const std::optional<Image> frame = ReadPng(folder.Path() / "frame.png");
    ASSERT_TRUE(frame.has_value());
    ExpectFace(*frame, 0);
}

TEST(CapturedFrame, SixteenBitAdapterGivesTheSameCoverageWithQuantisedColours) {
    ProgramFolder folder;
    const RunResult run = RunWithCapture(folder, {{"OSTREL_MODES", "800x600:R5G6B5"}, {"OSTREL_DEPTH_FORMATS", "D16"}});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const std::optional<Image> frame = ReadPng(folder.Path() / "frame.png");
    ASSERT_TRUE(frame.has_value());
    ExpectFace(*frame, 8);  // 5 and 6 bits per channel lose up to 8 and 4 levels
    // Quantised: every red and blue value is a 5-bit value expanded by bit replication.
    const std::uint32_t centre = frame->Pixel(400, 300);
    const int red = Channel(centre, 16);
    EXPECT_EQ(red, ((red >> 3) << 3) | (red >> 5));
}

TEST(CapturedFrame, NoCaptureWithoutAPresentedFrame) {
    ProgramFolder folder;
    RunOptions options;
    options.environment = {{"OSTREL_INPUT", "0:up:ESCAPE"},
                           {"OSTREL_CAPTURE", (folder.Path() / "frame.png").string()}};
    const RunResult run = folder.Run(options);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "frame.png"));
}

}  // namespace
