// The small services around the windows: screen size, module handle, arrow cursor, last error.
#include "tests/platform/user32/user32_fixture.h"

namespace ostrel::user32::testing {
namespace {

class SystemResourcesTest : public User32Test {};

TEST_F(SystemResourcesTest, ScreenMetricsAreTheHostsDesktop) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), static_cast<int>(m_host->Desktop().width));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), static_cast<int>(m_host->Desktop().height));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    EXPECT_EQ(GetSystemMetrics(9999), 0);
}

TEST_F(SystemResourcesTest, OnlyTheProgramsOwnModuleIsLoaded) {
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
    EXPECT_EQ(GetModuleHandleA("d3d8.dll"), nullptr);
}

TEST_F(SystemResourcesTest, TheArrowIsTheOnlyCursor) {
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32513)), nullptr);
}

TEST_F(SystemResourcesTest, LastErrorKeepsWhatWasSetUntilAFailureChangesIt) {
    SetLastError(1234);
    EXPECT_EQ(GetLastError(), 1234u);
    EXPECT_NE(CreateTestWindow(), nullptr);  // success leaves it alone
    EXPECT_EQ(GetLastError(), 1234u);
}

}  // namespace
}  // namespace ostrel::user32::testing
