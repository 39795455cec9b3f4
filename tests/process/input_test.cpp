// What ends a run and what does not: Escape released, other keys, a held Escape, a window close,
// SIGINT and SIGTERM. Each ends with exit code 0 and the statistics block.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "process/program_run.h"

namespace {

struct EndingCase {
    const char* name;
    const char* input;
    long long frames;  // frames counted when the run ended
};

class RunEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(RunEnding, EndsExactlyWhenItShould) {
    const EndingCase& c = GetParam();
    ProgramFolder folder;
    RunOptions options;
    options.environment = {{"OSTREL_PRESENT", "immediate"}, {"OSTREL_INPUT", c.input}};
    const RunResult run = folder.Run(options);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_EQ(StatisticValue(run.logLines, "Total Frame Count"), c.frames);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RunEnding,
    ::testing::Values(EndingCase{"EscapeReleased", "150:down:ESCAPE,150:up:ESCAPE", 150},
                      EndingCase{"EscapeReleasedBeforeTheFirstFrame", "0:up:ESCAPE", 0},
                      EndingCase{"EscapeHeldIsNotAnEnd", "5:down:ESCAPE,40:close", 40},
                      EndingCase{"OtherKeysReleasedAreNotAnEnd", "3:down:SPACE,4:up:SPACE,5:up:A,6:up:F1,7:up:RETURN,"
                                                                 "30:close",
                                 30},
                      EndingCase{"EscapePressedLongThenReleased", "5:down:ESCAPE,6:down:ESCAPE,50:up:ESCAPE", 50},
                      EndingCase{"WindowClosed", "25:close", 25},
                      EndingCase{"KeyByNumber", "20:up:27", 20}),
    [](const ::testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

class SignalEnding : public ::testing::TestWithParam<int> {};

TEST_P(SignalEnding, EndsTheRunWithItsStatistics) {
    ProgramFolder folder;
    RunOptions options;
    options.signalWhenRunning = GetParam();
    const RunResult run = folder.Run(options);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.terminatingSignal, 0);
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_GT(StatisticValue(run.logLines, "Total Frame Count").value_or(-1), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalEnding, ::testing::Values(SIGINT, SIGTERM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

}  // namespace
