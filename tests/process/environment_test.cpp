// A malformed platform setting stops the process before the program starts: exit status 2, one
// line on stderr naming the variable, and an existing log.txt left exactly as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "process/program_run.h"

using ::testing::HasSubstr;

namespace {

struct MalformedCase {
    const char* variable;
    const char* value;
};

class MalformedSetting : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedSetting, ExitsWithStatusTwoAndLeavesTheLogAlone) {
    const MalformedCase& c = GetParam();
    ProgramFolder folder;
    std::ofstream(folder.Path() / "log.txt") << "an earlier run\n";
    RunOptions options;
    options.environment = {{c.variable, c.value}};
    const RunResult run = folder.Run(options);

    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(std::count(run.standardError.begin(), run.standardError.end(), '\n'), 1) << run.standardError;
    EXPECT_THAT(run.standardError, HasSubstr(c.variable));
    EXPECT_THAT(run.standardError, HasSubstr(c.value));
    EXPECT_EQ(run.logLines, std::vector<std::string>{"an earlier run"});
}

INSTANTIATE_TEST_SUITE_P(Variables, MalformedSetting,
                         ::testing::Values(MalformedCase{"OSTREL_HOST", "fullscreen"},
                                           MalformedCase{"OSTREL_MODES", "800x600"},
                                           MalformedCase{"OSTREL_MODES", "800x600:X9R9G9B9"},
                                           MalformedCase{"OSTREL_DEPTH_FORMATS", "D8"},
                                           MalformedCase{"OSTREL_FAIL", "everything"},
                                           MalformedCase{"OSTREL_INPUT", "10:press:ESCAPE"},
                                           MalformedCase{"OSTREL_INPUT", "ten:up:ESCAPE"},
                                           MalformedCase{"OSTREL_TIMER_START", "4294967296"},
                                           MalformedCase{"OSTREL_REFRESH", "sixty"},
                                           MalformedCase{"OSTREL_PRESENT", "fast"},
                                           MalformedCase{"OSTREL_SCALE", "blurry"}));

}  // namespace
