// Reference counts as the real runtime keeps them: a device holds its IDirect3D8, a buffer holds
// its device, a bound stream keeps its buffer alive without showing in the buffer's count, and
// the program's teardown order (buffer, device, interface) leaves nothing behind.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include <gmock/gmock.h>

#include <string>

namespace ostrel::d3d8::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

ULONG CountOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

std::vector<std::string> LiveDescriptions() {
    std::vector<std::string> descriptions;
    for (const LiveObject& object : LiveObjects()) {
        descriptions.push_back(object.description);
    }
    return descriptions;
}

class ReferenceCountTest : public D3D8DeviceTest {};

TEST_F(ReferenceCountTest, TheDeviceHoldsItsDirect3DAndGetDirect3DAddsOne) {
    EXPECT_EQ(CountOf(m_device), 1u);
    EXPECT_EQ(CountOf(m_direct3D), 2u);
    IDirect3D8* fromDevice = nullptr;
    ASSERT_EQ(m_device->GetDirect3D(&fromDevice), D3D_OK);
    EXPECT_EQ(fromDevice, m_direct3D);
    EXPECT_EQ(fromDevice->Release(), 2u);
    EXPECT_EQ(m_device->GetDirect3D(nullptr), D3DERR_INVALIDCALL);
}

TEST_F(ReferenceCountTest, TheBufferHoldsItsDeviceAndGetDeviceAddsOne) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(CountOf(buffer), 1u);
    EXPECT_EQ(CountOf(m_device), 2u);
    IDirect3DDevice8* fromBuffer = nullptr;
    ASSERT_EQ(buffer->GetDevice(&fromBuffer), D3D_OK);
    EXPECT_EQ(fromBuffer, m_device);
    EXPECT_EQ(fromBuffer->Release(), 2u);
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(CountOf(m_device), 1u);
}

TEST_F(ReferenceCountTest, TheProgramsTeardownOrderFreesABufferThatIsStillBound) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(m_device->SetStreamSource(0, buffer, 16), D3D_OK);
    EXPECT_EQ(CountOf(buffer), 1u) << "binding is not part of the count the program sees";

    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(CountOf(m_device), 1u) << "a buffer the program let go of does not keep the device";
    EXPECT_THAT(LiveDescriptions(), Contains("IDirect3DVertexBuffer8 (288 bytes)")) << "the binding keeps it";

    EXPECT_EQ(m_device->Release(), 0u);
    m_device = nullptr;
    EXPECT_THAT(LiveDescriptions(), Not(Contains("IDirect3DVertexBuffer8 (288 bytes)")));
    EXPECT_EQ(m_direct3D->Release(), 0u);
    m_direct3D = nullptr;
}

TEST_F(ReferenceCountTest, ADeviceReleasedBeforeItsBufferLivesUntilTheBufferGoes) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(m_device->SetStreamSource(0, buffer, 16), D3D_OK);
    EXPECT_EQ(m_device->Release(), 1u);
    m_device = nullptr;
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(CountOf(m_direct3D), 1u) << "the device went and gave back its IDirect3D8";
}

TEST_F(ReferenceCountTest, GetStreamSourceHandsBackABoundBufferTheProgramHadReleased) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(m_device->SetStreamSource(0, buffer, 16), D3D_OK);
    ASSERT_EQ(buffer->Release(), 0u);

    IDirect3DVertexBuffer8* bound = nullptr;
    UINT stride = 0;
    ASSERT_EQ(m_device->GetStreamSource(0, &bound, &stride), D3D_OK);
    EXPECT_EQ(bound, buffer);
    EXPECT_EQ(stride, 16u);
    EXPECT_EQ(CountOf(bound), 1u);
    EXPECT_EQ(CountOf(m_device), 2u) << "held by the program again, the buffer holds its device again";
    EXPECT_EQ(bound->Release(), 0u);

    ASSERT_EQ(m_device->SetStreamSource(0, nullptr, 0), D3D_OK);
    EXPECT_THAT(LiveDescriptions(), Not(Contains("IDirect3DVertexBuffer8 (288 bytes)")))
        << "unbinding dropped the last reference";
}

TEST_F(ReferenceCountTest, RebindingTheBoundBufferKeepsItAlive) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(m_device->SetStreamSource(0, buffer, 16), D3D_OK);
    ASSERT_EQ(buffer->Release(), 0u);
    ASSERT_EQ(m_device->SetStreamSource(0, buffer, 16), D3D_OK);
    EXPECT_THAT(LiveDescriptions(), Contains("IDirect3DVertexBuffer8 (288 bytes)"));
}

TEST_F(ReferenceCountTest, OverReleasingReturnsZeroWarnsAndChangesNothing) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(m_device->SetStreamSource(0, buffer, 16), D3D_OK);
    ASSERT_EQ(buffer->Release(), 0u);  // still alive through the binding, with no count of its own

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                HasSubstr("ostrel: warning: IDirect3DVertexBuffer8: released more often than referenced"));
    EXPECT_EQ(CountOf(m_device), 1u);
    EXPECT_THAT(LiveDescriptions(), Contains("IDirect3DVertexBuffer8 (288 bytes)"));
}

TEST_F(ReferenceCountTest, LiveObjectsDescribeEachObject) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    const std::vector<std::string> descriptions = LiveDescriptions();
    EXPECT_THAT(descriptions, Contains("IDirect3D8"));
    EXPECT_THAT(descriptions, Contains("IDirect3DDevice8 (800x600 X8R8G8B8)"));
    EXPECT_THAT(descriptions, Contains("IDirect3DVertexBuffer8 (288 bytes)"));
    buffer->Release();
}

TEST_F(ReferenceCountTest, QueryInterfaceOffersNoOtherInterface) {
    const IID anyInterface{};
    void* object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(m_device->QueryInterface(anyInterface, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(m_direct3D->QueryInterface(anyInterface, nullptr), E_POINTER);
    EXPECT_EQ(CountOf(m_device), 1u);
}

}  // namespace
}  // namespace ostrel::d3d8::testing
