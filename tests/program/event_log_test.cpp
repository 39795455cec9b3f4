// The event log: switched on once, emptied at start, one complete line per WriteLog.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "program/program_fixture.h"

using ::testing::ElementsAre;

namespace {

class EventLog : public InTemporaryFolder {
protected:
    TestApplication app;  // never started unless a test does it; its teardown then logs nothing
};

TEST_F(EventLog, WriteBeforeStartCreatesNoFile) {
    app.WriteLog("InitialiseD3D Started...");
    EXPECT_FALSE(LogExists());
}

TEST_F(EventLog, StartEmptiesWhatAPreviousRunLeft) {
    std::ofstream("log.txt") << "an earlier run\n";
    app.StartLog();
    EXPECT_TRUE(LogExists());
    EXPECT_EQ(std::filesystem::file_size("log.txt"), 0u);
    app.WriteLog("first");
    EXPECT_THAT(LogLines(), ElementsAre("first"));
    app.m_logEnabled = false;  // keep the teardown's block out of later assertions
}

TEST_F(EventLog, EachLineIsCompleteAsSoonAsWriteReturns) {
    app.StartLog();
    app.WriteLog("\t%d x %d x 32bit back buffer format selected. Format = %d.", 800, 600, 22);
    EXPECT_THAT(LogLines(), ElementsAre("\t800 x 600 x 32bit back buffer format selected. Format = 22."));
    app.WriteLog("InitialiseD3D Finished OK");
    EXPECT_THAT(LogLines(), ElementsAre("\t800 x 600 x 32bit back buffer format selected. Format = 22.",
                                        "InitialiseD3D Finished OK"));
    app.m_logEnabled = false;
}

TEST_F(EventLog, LargeUnsignedValuesPrintAsSignedDecimal) {
    app.StartLog();
    const DWORD value = 2147483648u;
    app.WriteLog("\tStart Time (ms): %d", value);
    EXPECT_THAT(LogLines(), ElementsAre("\tStart Time (ms): -2147483648"));
    app.m_logEnabled = false;
}

TEST_F(EventLog, SecondRunKeepsOnlyItsOwnLines) {
    {
        TestApplication first;
        first.StartLog();
        first.WriteLog("first run");
    }
    TestApplication second;
    second.StartLog();
    second.WriteLog("second run");
    second.m_logEnabled = false;
    EXPECT_THAT(LogLines(), ElementsAre("second run"));
}

TEST_F(EventLog, ALogThatCannotBeOpenedDropsLinesWithoutFailing) {
    std::filesystem::create_directory("log.txt");  // a directory where the file should be
    app.StartLog();
    app.WriteLog("dropped");
    EXPECT_TRUE(std::filesystem::is_directory("log.txt"));
}

TEST_F(EventLog, AReadOnlyFolderDropsLinesWithoutFailing) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    chmod(m_folder.c_str(), 0555);
    app.StartLog();
    app.WriteLog("dropped");
    EXPECT_FALSE(LogExists());
}

}  // namespace
