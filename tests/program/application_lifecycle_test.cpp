// Teardown: the statistics block's arithmetic and the order in which owned objects are released.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "program/direct3d_mocks.h"
#include "program/program_fixture.h"

using ::testing::ElementsAre;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

struct StatisticsCase {
    const char* name;
    DWORD startMs;
    DWORD endMs;
    DWORD frames;
    const char* duration;
    const char* average;
};

class StatisticsBlock : public InTemporaryFolder, public ::testing::WithParamInterface<StatisticsCase> {};

TEST_P(StatisticsBlock, ReportsWholeSecondsAndTruncatedAverage) {
    const StatisticsCase& c = GetParam();
    auto* app = new TestApplication();
    app->StartLog();
    app->m_startTime = c.startMs;
    app->m_frameCount = c.frames;
    FakeTimer::nowMs = c.endMs;
    delete app;

    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Statistics:");
    EXPECT_EQ(lines[1], "\tStart Time (ms): " + std::to_string(static_cast<int32_t>(c.startMs)));
    EXPECT_EQ(lines[2], "\tEnd Time (ms): " + std::to_string(static_cast<int32_t>(c.endMs)));
    EXPECT_EQ(lines[3], std::string("\tDuration (s): ") + c.duration);
    EXPECT_EQ(lines[4], "\tTotal Frame Count: " + std::to_string(c.frames));
    EXPECT_EQ(lines[5], std::string("\tAverage FPS: ") + c.average);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, StatisticsBlock,
    ::testing::Values(StatisticsCase{"TenPointNineSeconds", 1000, 11900, 600, "10", "60"},
                      StatisticsCase{"JustUnderAnAverage", 5000, 15000, 599, "10", "59"},
                      StatisticsCase{"ExactMultiple", 0, 20000, 1200, "20", "60"},
                      // 0xFFFFF000 + 10 000 ms wraps past 2^32 to 5904.
                      StatisticsCase{"AcrossTheTimerWrap", 0xFFFFF000u, 5904, 600, "10", "60"},
                      // Under one whole second there is no average: 0, never a division by zero.
                      StatisticsCase{"UnderOneSecond", 4000, 4999, 59, "0", "0"},
                      StatisticsCase{"NoFrames", 0, 3000, 0, "3", "0"}),
    [](const ::testing::TestParamInfo<StatisticsCase>& info) { return std::string(info.param.name); });

class Teardown : public InTemporaryFolder {};

TEST_F(Teardown, AfterFailedInitialisationReportsTheTimerAsEndAndDuration) {
    // The loop never ran, so the start time is still 0.
    auto* app = new TestApplication();
    app->StartLog();
    FakeTimer::nowMs = 123456;
    delete app;
    EXPECT_THAT(LogLines(), ElementsAre("Statistics:", "\tStart Time (ms): 0", "\tEnd Time (ms): 123456",
                                        "\tDuration (s): 123", "\tTotal Frame Count: 0", "\tAverage FPS: 0"));
}

TEST_F(Teardown, WithTheLogOffWritesNothingButStillReleases) {
    NiceMock<MockDirect3D8> direct3d;
    EXPECT_CALL(direct3d, Release()).WillOnce(Return(0));
    auto* app = new TestApplication();
    app->m_pDirect3D = &direct3d;
    delete app;
    EXPECT_FALSE(LogExists());
}

TEST_F(Teardown, ReleasesSceneThenDeviceThenInterface) {
    NiceMock<MockDirect3D8> direct3d;
    NiceMock<MockDevice8> device;
    MockVertexBufferWithMemory vertexBuffer;
    MockVertexBuffer8& buffer = vertexBuffer.buffer;
    ON_CALL(device, CreateVertexBuffer).WillByDefault([&](UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8** out) {
        *out = &buffer;
        return D3D_OK;
    });

    auto* app = new TestApplication();
    app->m_pDirect3D = &direct3d;
    app->m_pDevice = &device;
    app->m_pBox = new Box(&device);
    {
        InSequence order;
        EXPECT_CALL(buffer, Release()).WillOnce(Return(0));
        EXPECT_CALL(device, Release()).WillOnce(Return(0));
        EXPECT_CALL(direct3d, Release()).WillOnce(Return(0));
    }
    delete app;
}

TEST_F(Teardown, AfterDeviceCreationFailedReleasesOnlyTheInterface) {
    NiceMock<MockDirect3D8> direct3d;
    EXPECT_CALL(direct3d, Release()).WillOnce(Return(0));
    auto* app = new TestApplication();
    app->m_pDirect3D = &direct3d;  // what a failed CreateDevice leaves behind
    delete app;
}

TEST(DestroyApplication, DeletesTheGlobalOnceAndClearsIt) {
    g_pApplication = new TestApplication();
    DestroyApplication();
    EXPECT_EQ(g_pApplication, nullptr);
    DestroyApplication();  // already null: nothing happens
    EXPECT_EQ(g_pApplication, nullptr);
}

TEST(ApplicationConstruction, StartsEmptyWithTheLogOff) {
    TestApplication app;
    EXPECT_FALSE(app.m_logEnabled);
    EXPECT_EQ(app.m_pDirect3D, nullptr);
    EXPECT_EQ(app.GetDevice(), nullptr);
    EXPECT_EQ(app.m_frameCount, 0u);
    EXPECT_EQ(app.m_startTime, 0u);
    EXPECT_EQ(app.m_endTime, 0u);
    EXPECT_EQ(app.m_pBox, nullptr);
}

}  // namespace
