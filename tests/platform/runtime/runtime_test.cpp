// The process-wide runtime: what Install resets, and the signal flag's hand-over.
#include "platform/runtime/runtime.h"

#include "platform/host/host_table.h"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

Config HeadlessConfig() {
    Config config;
    config.host = HostChoice::Headless;
    return config;
}

TEST(RuntimeTest, InstallReplacesSettingsAndHostAndRestartsTheCounts) {
    Runtime::Install(HeadlessConfig(), CreateHeadlessHost(HeadlessConfig()));
    Runtime::Get().NotePresentedFrame();
    Runtime::Get().NotePresentedFrame();
    EXPECT_EQ(Runtime::Get().PresentedFrames(), 2u);
    const auto firstStart = Runtime::Get().StartInstant();

    Config config = HeadlessConfig();
    config.refreshHz = 75;
    Runtime::Install(config, CreateHeadlessHost(config));
    EXPECT_EQ(Runtime::Get().PresentedFrames(), 0u);
    EXPECT_GE(Runtime::Get().StartInstant(), firstStart);
    EXPECT_EQ(Runtime::Get().GetConfig().refreshHz, 75u);
    EXPECT_EQ(Runtime::Get().GetHost().Desktop().refreshHz, 75u);
}

TEST(RuntimeTest, AfterShutdownADefaultHeadlessRuntimeIsMadeOnDemand) {
    Config config = HeadlessConfig();
    config.refreshHz = 30;
    Runtime::Install(config, CreateHeadlessHost(config));
    Runtime::Shutdown();
    EXPECT_EQ(Runtime::Get().GetConfig().refreshHz, 60u);
    EXPECT_STREQ(Runtime::Get().GetHost().Name(), "headless");
}

TEST(RuntimeTest, ACloseRequestIsTakenOnce) {
    Runtime::Install(HeadlessConfig(), CreateHeadlessHost(HeadlessConfig()));
    EXPECT_FALSE(Runtime::TakeCloseRequest());
    Runtime::RequestCloseFromSignal();
    Runtime::RequestCloseFromSignal();  // two signals, one request
    EXPECT_TRUE(Runtime::TakeCloseRequest());
    EXPECT_FALSE(Runtime::TakeCloseRequest());
}

TEST(RuntimeTest, InstallForgetsAnEarlierCloseRequest) {
    Runtime::RequestCloseFromSignal();
    Runtime::Install(HeadlessConfig(), CreateHeadlessHost(HeadlessConfig()));
    EXPECT_FALSE(Runtime::TakeCloseRequest());
}

}  // namespace
}  // namespace ostrel
