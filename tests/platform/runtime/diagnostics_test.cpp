// The platform's stderr lines: their exact prefixes, and the leak report at exit.
#include "platform/runtime/diagnostics.h"
#include "platform/runtime/live_objects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ostrel {
namespace {

using ::testing::HasSubstr;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

TEST(DiagnosticsTest, WarningsNameTheFunction) {
    CaptureStderr();
    WarnMisuse("CreateDevice", "null %s at %d", "window", 3);
    EXPECT_EQ(GetCapturedStderr(), "ostrel: warning: CreateDevice: null window at 3\n");
}

TEST(DiagnosticsTest, NoticesCarryOnlyTheProgramPrefix) {
    CaptureStderr();
    Notice("no display available; running %s", "headless");
    EXPECT_EQ(GetCapturedStderr(), "ostrel: no display available; running headless\n");
}

class LiveObjectsTest : public ::testing::Test {
protected:
    void TearDown() override {
        UnregisterLiveObject(&m_first);
        UnregisterLiveObject(&m_second);
    }

    int m_first = 0;
    int m_second = 0;
};

TEST_F(LiveObjectsTest, ReportNamesEachObjectStillAliveWithItsCount) {
    const std::size_t before = LiveObjects().size();
    std::uint32_t firstCount = 1;
    RegisterLiveObject(&m_first, "IDirect3DDevice8", [&] { return firstCount; });
    RegisterLiveObject(&m_second, "IDirect3DVertexBuffer8 (288 bytes)", [] { return 2u; });
    firstCount = 3;  // counts are read at report time, not at registration

    CaptureStderr();
    EXPECT_EQ(ReportLiveObjects(), before + 2);
    const std::string report = GetCapturedStderr();
    EXPECT_THAT(report, HasSubstr("ostrel: leak: IDirect3DDevice8 still holds 3 reference(s)\n"
                                  "ostrel: leak: IDirect3DVertexBuffer8 (288 bytes) still holds 2 reference(s)\n"));
}

TEST_F(LiveObjectsTest, UnregisteredObjectsAreNotReported) {
    const std::size_t before = LiveObjects().size();
    RegisterLiveObject(&m_first, "first", [] { return 1u; });
    RegisterLiveObject(&m_second, "second", [] { return 1u; });
    UnregisterLiveObject(&m_first);
    UnregisterLiveObject(&m_first);  // a second time changes nothing
    ASSERT_EQ(LiveObjects().size(), before + 1);
    EXPECT_EQ(LiveObjects().back().description, "second");
}

TEST_F(LiveObjectsTest, ReRegisteringAnAddressReplacesTheEntry) {
    const std::size_t before = LiveObjects().size();
    RegisterLiveObject(&m_first, "old", [] { return 1u; });
    RegisterLiveObject(&m_first, "new", [] { return 1u; });
    ASSERT_EQ(LiveObjects().size(), before + 1);
    EXPECT_EQ(LiveObjects().back().description, "new");
}

}  // namespace
}  // namespace ostrel
