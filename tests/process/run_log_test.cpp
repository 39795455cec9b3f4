// Whole runs of the program, headless: what log.txt holds for each kind of adapter, depth support
// and injected fault, and that the process exits 0 whenever the program ran.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "process/program_run.h"

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

const char* const kStarted = "InitialiseD3D Started...";
const char* const kThirtyTwoBit = "\t800 x 600 x 32bit back buffer format selected. Format = 22.";
const char* const kSixteenBit = "\t800 x 600 x 16bit back buffer format selected. Format = 23.";
const char* const kNoBackBuffer = "\tUnable to select back buffer format for 800 x 600.";
const char* const kDepth32 = "\t32bit depth buffer selected";
const char* const kDepth24 = "\t24bit depth buffer selected";
const char* const kDepth16 = "\t16bit depth buffer selected";
const char* const kNoDepth = "\tUnable to select depth buffer.";
const char* const kNoDevice = "\tUnable to create device.";
const char* const kNoInterface = "\tUnable to create DirectX9 interface.";
const char* const kFinished = "InitialiseD3D Finished OK";

// Escape pressed and released once this many frames have been presented.
const char* const kEscapeAfterTwelve = "12:down:ESCAPE,12:up:ESCAPE";

struct RunCase {
    const char* name;
    std::map<std::string, std::string> environment;
    std::vector<std::string> startUp;  // the log's lines before the statistics block
    long long frames;                  // the statistics' frame count
};

// Splits the log at "Statistics:" and checks the block's shape; returns the lines before it.
std::vector<std::string> StartUpLinesAfterCheckingStatistics(const std::vector<std::string>& lines) {
    const auto statistics = std::find(lines.begin(), lines.end(), "Statistics:");
    EXPECT_NE(statistics, lines.end()) << "no statistics block";
    if (statistics == lines.end()) {
        return lines;
    }
    const std::vector<std::regex> block = {
        std::regex("\tStart Time \\(ms\\): -?[0-9]+"), std::regex("\tEnd Time \\(ms\\): -?[0-9]+"),
        std::regex("\tDuration \\(s\\): [0-9]+"), std::regex("\tTotal Frame Count: [0-9]+"),
        std::regex("\tAverage FPS: [0-9]+")};
    EXPECT_EQ(static_cast<std::size_t>(lines.end() - statistics), block.size() + 1) << "the block ends the log";
    for (std::size_t i = 0; i < block.size() && statistics + 1 + i < lines.end(); ++i) {
        EXPECT_TRUE(std::regex_match(*(statistics + 1 + i), block[i])) << *(statistics + 1 + i);
    }
    return std::vector<std::string>(lines.begin(), statistics);
}

class ProgramRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(ProgramRun, LogsItsStartUpAndStatistics) {
    const RunCase& c = GetParam();
    ProgramFolder folder;
    RunOptions options;
    options.environment = c.environment;
    options.environment.emplace("OSTREL_PRESENT", "immediate");
    options.environment.emplace("OSTREL_INPUT", kEscapeAfterTwelve);
    const RunResult run = folder.Run(options);

    ASSERT_FALSE(run.timedOut) << run.standardError;
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_THAT(StartUpLinesAfterCheckingStatistics(run.logLines), ElementsAreArray(c.startUp));
    EXPECT_EQ(StatisticValue(run.logLines, "Total Frame Count"), c.frames);
}

INSTANTIATE_TEST_SUITE_P(
    Adapters, ProgramRun,
    ::testing::Values(
        RunCase{"Default", {}, {kStarted, kThirtyTwoBit, kDepth32, kFinished}, 12},
        RunCase{"SixteenBitOnlyAdapter",
                {{"OSTREL_MODES", "640x480:R5G6B5,800x600:R5G6B5"}},
                {kStarted, kSixteenBit, kDepth32, kFinished},
                12},
        RunCase{"No800x600Mode", {{"OSTREL_MODES", "640x480:X8R8G8B8,1024x768:X8R8G8B8"}}, {kStarted, kNoBackBuffer}, 0},
        RunCase{"OnlyA8R8G8B8At800x600", {{"OSTREL_MODES", "800x600:A8R8G8B8"}}, {kStarted, kNoBackBuffer}, 0},
        RunCase{"AdapterWithNoModes", {{"OSTREL_MODES", ""}}, {kStarted, kNoBackBuffer}, 0},
        RunCase{"Depth24", {{"OSTREL_DEPTH_FORMATS", "D24X8,D16"}}, {kStarted, kThirtyTwoBit, kDepth24, kFinished}, 12},
        RunCase{"Depth16", {{"OSTREL_DEPTH_FORMATS", "D16"}}, {kStarted, kThirtyTwoBit, kDepth16, kFinished}, 12},
        RunCase{"NoDepthStillRuns", {{"OSTREL_DEPTH_FORMATS", ""}}, {kStarted, kThirtyTwoBit, kNoDepth, kFinished}, 12},
        RunCase{"NoInterface", {{"OSTREL_FAIL", "create"}}, {kStarted, kNoInterface}, 0},
        RunCase{"DeviceRefused", {{"OSTREL_FAIL", "device"}}, {kStarted, kThirtyTwoBit, kDepth32, kNoDevice}, 0},
        RunCase{"NoVertexBufferStillRuns",
                {{"OSTREL_FAIL", "vertexbuffer"}},
                {kStarted, kThirtyTwoBit, kDepth32, kFinished},
                12},
        RunCase{"LockFailsStillRuns", {{"OSTREL_FAIL", "lock"}}, {kStarted, kThirtyTwoBit, kDepth32, kFinished}, 12}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST(ProgramRunOutput, ANormalHeadlessRunPrintsNothingOnStandardError) {
    ProgramFolder folder;
    RunOptions options;
    options.environment = {{"OSTREL_PRESENT", "immediate"}, {"OSTREL_INPUT", kEscapeAfterTwelve}};
    const RunResult run = folder.Run(options);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_THAT(run.standardError, IsEmpty());
}

TEST(ProgramRunOutput, TwoRunsLeaveOnlyTheSecondRunsLines) {
    ProgramFolder folder;
    RunOptions first;
    first.environment = {{"OSTREL_FAIL", "create"}};
    ASSERT_EQ(folder.Run(first).exitStatus, 0);
    RunOptions second;
    second.environment = {{"OSTREL_FAIL", "device"}};
    const RunResult run = folder.Run(second);
    EXPECT_EQ(std::count(run.logLines.begin(), run.logLines.end(), kStarted), 1);
    EXPECT_EQ(std::count(run.logLines.begin(), run.logLines.end(), kNoDevice), 1);
}

TEST(ProgramRunOutput, AStartJustBeforeTheTimerWrapReportsTheTrueDuration) {
    ProgramFolder folder;
    RunOptions options;
    // Paced at 60 Hz, 90 frames take one and a half seconds: the timer wraps on the way.
    options.environment = {{"OSTREL_TIMER_START", "4294966796"}, {"OSTREL_INPUT", "90:up:ESCAPE"}};
    const RunResult run = folder.Run(options);
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const long long start = *StatisticValue(run.logLines, "Start Time (ms)");
    const long long end = *StatisticValue(run.logLines, "End Time (ms)");
    EXPECT_LT(start, 0);  // 4294966796 and up print as negative numbers
    EXPECT_GE(end, 0);    // past the wrap
    const std::uint32_t elapsed = static_cast<std::uint32_t>(end) - static_cast<std::uint32_t>(start);
    EXPECT_EQ(*StatisticValue(run.logLines, "Duration (s)"), elapsed / 1000);
    EXPECT_GE(*StatisticValue(run.logLines, "Duration (s)"), 1);
    EXPECT_EQ(*StatisticValue(run.logLines, "Total Frame Count"), 90);
}

TEST(ProgramRunOutput, ALogThatCannotBeOpenedStillLetsTheRunEndNormally) {
    ProgramFolder folder;
    std::filesystem::create_directory(folder.Path() / "log.txt");
    RunOptions options;
    options.environment = {{"OSTREL_PRESENT", "immediate"}, {"OSTREL_INPUT", kEscapeAfterTwelve}};
    const RunResult run = folder.Run(options);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "log.txt"));
}

}  // namespace
