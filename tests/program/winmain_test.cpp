// The whole program against doubles: WinMain's path with initialisation failing and with the
// Application itself failing to allocate. Full runs on the stand-in live in the process tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "program/direct3d_mocks.h"
#include "program/failing_allocation.h"
#include "program/program_fixture.h"

#include "platform/host/host_table.h"
#include "platform/runtime/runtime.h"
#include "platform/user32/window_table.h"

using ::testing::ElementsAre;

namespace {

class WinMainRun : public InTemporaryFolder {
protected:
    void SetUp() override {
        InTemporaryFolder::SetUp();
        ostrel::Config config;
        config.host = ostrel::HostChoice::Headless;
        ostrel::Runtime::Install(config, ostrel::CreateHeadlessHost(config));
        ostrel::user32::ResetForTests();
    }
};

TEST_F(WinMainRun, FailedInitialisationStillEndsWithStatisticsAndExitCodeZero) {
    FakeDirect3DCreate::next = nullptr;
    FakeTimer::nowMs = 5000;
    EXPECT_EQ(WinMain(NULL, NULL, NULL, SW_SHOWDEFAULT), 0);
    EXPECT_THAT(LogLines(), ElementsAre("InitialiseD3D Started...", "\tUnable to create DirectX9 interface.",
                                        "Statistics:", "\tStart Time (ms): 0", "\tEnd Time (ms): 5000",
                                        "\tDuration (s): 5", "\tTotal Frame Count: 0", "\tAverage FPS: 0"));
    EXPECT_EQ(g_pApplication, nullptr);
}

TEST_F(WinMainRun, AnApplicationThatCannotBeAllocatedEndsQuietlyWithExitCodeZero) {
    int result = -1;
    {
        NothrowNewFails outOfMemory;
        result = WinMain(NULL, NULL, NULL, SW_SHOWDEFAULT);
    }
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(LogExists());
    EXPECT_EQ(g_pApplication, nullptr);
}

}  // namespace
