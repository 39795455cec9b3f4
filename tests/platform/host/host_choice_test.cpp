// Choosing the host from the backend table: an explicit choice or the first that starts, with one
// notice when the window could not be had, and an error only for an explicit window request.
#include "platform/host/host_choice.h"

#include "platform/host/headless_host.h"
#include "platform/host/host_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ostrel {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// A "window" backend that is a headless host under another name.
class NamedHost final : public Host {
public:
    const char* Name() const override { return "window"; }
    DesktopMode Desktop() const override { return {800, 600, 60}; }
    HostWindowId CreateWindow(const std::string&, int, int, int, int) override { return 1; }
    void ShowWindow(HostWindowId, bool) override {}
    void DestroyWindow(HostWindowId) override {}
    void SetFullscreen(HostWindowId, bool) override {}
    void PumpEvents(const std::function<void(const HostEvent&)>&) override {}
    PresentResult PresentFrame(HostWindowId, const FrameView&, std::uint32_t) override { return {}; }
};

std::unique_ptr<Host> WindowThatStarts(const Config&) {
    return std::make_unique<NamedHost>();
}

std::unique_ptr<Host> WindowWithoutDisplay(const Config&) {
    return nullptr;
}

TEST(HostChoiceTest, ChoosesAsAskedOrFallsBackWithANotice) {
    const struct {
        const char* name;
        HostChoice choice;
        bool displayAvailable;
        const char* expectedHost;  // null: none
        std::string expectedStderr;
        std::string expectedError;
    } cases[] = {
        {"automatic with a display", HostChoice::Automatic, true, "window", "", ""},
        {"automatic without a display", HostChoice::Automatic, false, "headless",
         "ostrel: no display available; running headless\n", ""},
        {"headless asked for", HostChoice::Headless, true, "headless", "", ""},
        {"window asked for", HostChoice::Window, true, "window", "", ""},
        {"window asked for without a display", HostChoice::Window, false, nullptr, "",
         "ostrel: OSTREL_HOST=window: no display can be opened"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const std::vector<HostBackend> backends = {
            {"window", test.displayAvailable ? WindowThatStarts : WindowWithoutDisplay},
            {"headless", CreateHeadlessHost}};
        Config config;
        config.host = test.choice;
        std::string error;
        CaptureStderr();
        const std::unique_ptr<Host> host = ChooseHost(config, backends, &error);
        EXPECT_EQ(GetCapturedStderr(), test.expectedStderr);
        EXPECT_EQ(error, test.expectedError);
        if (test.expectedHost == nullptr) {
            EXPECT_EQ(host, nullptr);
        } else {
            ASSERT_NE(host, nullptr);
            EXPECT_STREQ(host->Name(), test.expectedHost);
        }
    }
}

TEST(HostChoiceTest, TheRealTableGivesHeadlessWhenAskedFor) {
    Config config;
    config.host = HostChoice::Headless;
    config.refreshHz = 50;
    std::string error;
    const std::unique_ptr<Host> host = CreateHost(config, &error);
    ASSERT_NE(host, nullptr);
    EXPECT_STREQ(host->Name(), "headless");
    EXPECT_EQ(host->Desktop().refreshHz, 50u);
    EXPECT_TRUE(error.empty());
}

}  // namespace
}  // namespace ostrel
