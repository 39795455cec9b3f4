// Whole runs disturbed at awkward moments: a termination signal at each stage of start-up, the log
// deleted or replaced by a directory while the loop runs, the window destroyed while the device
// is still alive. Every one ends with exit code 0, no leak report, and whatever could be logged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "process/program_run.h"

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const char* const kStarted = "InitialiseD3D Started...";
const char* const kFinished = "InitialiseD3D Finished OK";

// What every disturbed run has in common: it ended by itself, with exit code 0 and no leak.
void ExpectCleanEnd(const RunResult& run) {
    EXPECT_FALSE(run.timedOut) << run.standardError;
    EXPECT_EQ(run.terminatingSignal, 0) << run.standardError;
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_THAT(run.standardError, Not(HasSubstr("ostrel: leak:")));
}

// The start-up lines and a complete statistics block, in that order.
void ExpectWholeLog(const RunResult& run) {
    EXPECT_TRUE(run.logExists);
    EXPECT_THAT(run.logLines, Contains(kStarted));
    EXPECT_THAT(run.logLines, Contains(kFinished));
    const auto statistics = std::find(run.logLines.begin(), run.logLines.end(), "Statistics:");
    ASSERT_NE(statistics, run.logLines.end());
    EXPECT_EQ(run.logLines.end() - statistics, 6);
    EXPECT_TRUE(StatisticValue(run.logLines, "Total Frame Count").has_value());
    EXPECT_TRUE(StatisticValue(run.logLines, "Average FPS").has_value());
}

struct SignalMomentCase {
    const char* name;
    void (*arrange)(RunOptions& options, int signal);
};

struct SignalCase {
    SignalMomentCase moment;
    int signal;
};

void PrintTo(const SignalCase& c, std::ostream* out) {
    *out << c.moment.name << (c.signal == SIGINT ? " SIGINT" : " SIGTERM");
}

class SignalAtEachStage : public ::testing::TestWithParam<SignalCase> {};

// Without scripted input, only the signal can end these runs; the runner's timeout catches a
// signal that was lost.
TEST_P(SignalAtEachStage, EndsTheRunCleanlyWithTheWholeLog) {
    ProgramFolder folder;
    RunOptions options;
    options.environment = {{"OSTREL_PRESENT", "immediate"}};
    GetParam().moment.arrange(options, GetParam().signal);
    const RunResult run = folder.Run(options);
    ExpectCleanEnd(run);
    ExpectWholeLog(run);
}

const SignalMomentCase kMoments[] = {
    // Pending before main runs: it must neither kill the process nor be cleared by the set-up of
    // the platform, and it closes the window the first time the program looks at its queue,
    // which is just before the loop.
    {"PendingBeforeMain", [](RunOptions& options, int signal) { options.signalHeldFromStart = signal; }},
    // The program is in its start-up: the log exists, the device may not yet.
    {"DuringStartUp", [](RunOptions& options, int signal) { options.signalOnceLogExists = signal; }},
    {"InTheLoop", [](RunOptions& options, int signal) { options.signalWhenRunning = signal; }},
};

std::vector<SignalCase> AllSignalCases() {
    std::vector<SignalCase> cases;
    for (const SignalMomentCase& moment : kMoments) {
        for (int signal : {SIGINT, SIGTERM}) {
            cases.push_back({moment, signal});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Moments, SignalAtEachStage, ::testing::ValuesIn(AllSignalCases()),
                         [](const ::testing::TestParamInfo<SignalCase>& info) {
                             return std::string(info.param.moment.name) +
                                    (info.param.signal == SIGINT ? "_SIGINT" : "_SIGTERM");
                         });

// A signal pending from the start is taken before the first frame: the run has no frames at all.
TEST(SignalPendingBeforeMain, ClosesTheWindowBeforeTheFirstFrame) {
    ProgramFolder folder;
    RunOptions options;
    options.environment = {{"OSTREL_PRESENT", "immediate"}};
    options.signalHeldFromStart = SIGTERM;
    const RunResult run = folder.Run(options);
    ExpectCleanEnd(run);
    EXPECT_EQ(StatisticValue(run.logLines, "Total Frame Count"), 0);
}

TEST(LogDisturbedMidRun, DeletedLogGetsTheStatisticsInANewFile) {
    ProgramFolder folder;
    RunOptions options;
    options.environment = {{"OSTREL_PRESENT", "immediate"}};
    options.whenRunning = [](const std::filesystem::path& path) { std::filesystem::remove(path / "log.txt"); };
    options.signalWhenRunning = SIGTERM;
    const RunResult run = folder.Run(options);
    ExpectCleanEnd(run);
    ASSERT_TRUE(run.logExists);
    // Only what was written after the deletion: the statistics block, whole.
    ASSERT_FALSE(run.logLines.empty());
    EXPECT_EQ(run.logLines.front(), "Statistics:");
    EXPECT_EQ(run.logLines.size(), 6u);
    EXPECT_GT(StatisticValue(run.logLines, "Total Frame Count").value_or(-1), 0);
}

TEST(LogDisturbedMidRun, LogReplacedByADirectoryDropsTheLinesAndStillExitsZero) {
    ProgramFolder folder;
    RunOptions options;
    options.environment = {{"OSTREL_PRESENT", "immediate"}};
    options.whenRunning = [](const std::filesystem::path& path) {
        std::filesystem::remove(path / "log.txt");
        std::filesystem::create_directory(path / "log.txt");
    };
    options.signalWhenRunning = SIGTERM;
    const RunResult run = folder.Run(options);
    ExpectCleanEnd(run);
    EXPECT_FALSE(run.logExists);
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "log.txt"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path() / "log.txt"));
}

// Escape and a window close both destroy the window while the device still refers to it; the
// device is released afterwards, in the application's destructor.
struct WindowGoneCase {
    const char* name;
    const char* input;
};

class WindowDestroyedBeforeDevice : public ::testing::TestWithParam<WindowGoneCase> {};

TEST_P(WindowDestroyedBeforeDevice, ReleasesEverythingAndLogsTheRun) {
    ProgramFolder folder;
    RunOptions options;
    options.environment = {{"OSTREL_PRESENT", "immediate"}, {"OSTREL_INPUT", GetParam().input}};
    const RunResult run = folder.Run(options);
    ExpectCleanEnd(run);
    ExpectWholeLog(run);
    EXPECT_EQ(StatisticValue(run.logLines, "Total Frame Count"), 20);
}

INSTANTIATE_TEST_SUITE_P(Endings, WindowDestroyedBeforeDevice,
                         ::testing::Values(WindowGoneCase{"Escape", "20:down:ESCAPE,20:up:ESCAPE"},
                                           WindowGoneCase{"Close", "20:close"}),
                         [](const ::testing::TestParamInfo<WindowGoneCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
