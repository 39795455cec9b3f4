// The leak report written at process exit, as the program's user sees it on stderr: an object the
// program forgot to release is named with its size and count, and nothing is named once it goes.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include <gmock/gmock.h>

#include <string>

namespace ostrel::d3d8::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class LeakReportTest : public D3D8DeviceTest {};

TEST_F(LeakReportTest, NamesAVertexBufferThatWasNotReleasedUntilItIs) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    // The program's own references go, except the buffer's: the buffer keeps the device, the
    // device its IDirect3D8.
    EXPECT_EQ(m_device->Release(), 1u);
    m_device = nullptr;
    EXPECT_EQ(m_direct3D->Release(), 1u);
    m_direct3D = nullptr;

    ::testing::internal::CaptureStderr();
    const std::size_t reported = ReportLiveObjects();
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_GE(reported, 1u);
    EXPECT_THAT(report, HasSubstr("ostrel: leak: IDirect3DVertexBuffer8 (288 bytes) still holds 1 reference(s)\n"));

    EXPECT_EQ(buffer->Release(), 0u);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ReportLiveObjects(), 0u);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), IsEmpty());
}

}  // namespace
}  // namespace ostrel::d3d8::testing
