// Vertex buffers: what CreateVertexBuffer refuses, how Lock and Unlock answer, and what the
// buffer says about itself.
#include "tests/platform/d3d8/d3d8_fixture.h"

namespace ostrel::d3d8::testing {
namespace {

constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

class VertexBufferTest : public D3D8DeviceTest {};

TEST_F(VertexBufferTest, CreateVertexBufferRefusesWhatNoBufferCanBe) {
    const struct {
        UINT length;
        DWORD usage;
        DWORD fvf;
        D3DPOOL pool;
        HRESULT expected;
    } rows[] = {
        {288, 0, kFvf, D3DPOOL_DEFAULT, D3D_OK},
        {288, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, kFvf, D3DPOOL_DEFAULT, D3D_OK},
        {16, 0, kFvf, D3DPOOL_MANAGED, D3D_OK},  // exactly one vertex
        {3, 0, 0, D3DPOOL_SYSTEMMEM, D3D_OK},    // no vertex format: any length
        {0, 0, kFvf, D3DPOOL_DEFAULT, D3DERR_INVALIDCALL},
        {0, 0, 0, D3DPOOL_DEFAULT, D3DERR_INVALIDCALL},
        {15, 0, kFvf, D3DPOOL_DEFAULT, D3DERR_INVALIDCALL},  // less than one vertex
        {288, 0, D3DFVF_DIFFUSE, D3DPOOL_DEFAULT, D3DERR_INVALIDCALL},
        {288, 0, kFvf, static_cast<D3DPOOL>(7), D3DERR_INVALIDCALL},
        {288, 0, kFvf, D3DPOOL_SCRATCH, D3DERR_INVALIDCALL},
        {288, D3DUSAGE_RENDERTARGET, kFvf, D3DPOOL_DEFAULT, D3DERR_INVALIDCALL},
        {288, D3DUSAGE_DYNAMIC, kFvf, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},
    };
    for (const auto& row : rows) {
        auto* buffer = reinterpret_cast<IDirect3DVertexBuffer8*>(0x1);
        EXPECT_EQ(m_device->CreateVertexBuffer(row.length, row.usage, row.fvf, row.pool, &buffer), row.expected)
            << "length " << row.length << " usage 0x" << std::hex << row.usage << " fvf 0x" << row.fvf << " pool "
            << row.pool;
        if (row.expected == D3D_OK) {
            ASSERT_NE(buffer, nullptr);
            buffer->Release();
        } else {
            EXPECT_EQ(buffer, nullptr);
        }
    }
    EXPECT_EQ(m_device->CreateVertexBuffer(288, 0, kFvf, D3DPOOL_DEFAULT, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(VertexBufferTest, DescribesItself) {
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(288, D3DUSAGE_WRITEONLY, kFvf, D3DPOOL_MANAGED, &buffer), D3D_OK);
    D3DVERTEXBUFFER_DESC description{};
    ASSERT_EQ(buffer->GetDesc(&description), D3D_OK);
    EXPECT_EQ(description.Format, D3DFMT_VERTEXDATA);
    EXPECT_EQ(description.Type, D3DRTYPE_VERTEXBUFFER);
    EXPECT_EQ(description.Usage, static_cast<DWORD>(D3DUSAGE_WRITEONLY));
    EXPECT_EQ(description.Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(description.Size, 288u);
    EXPECT_EQ(description.FVF, kFvf);
    EXPECT_EQ(buffer->GetType(), D3DRTYPE_VERTEXBUFFER);
    EXPECT_EQ(buffer->GetDesc(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->GetDevice(nullptr), D3DERR_INVALIDCALL);
    buffer->Release();
}

TEST_F(VertexBufferTest, LockHandsOutTheRequestedBytesOfTheBuffer) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    BYTE* whole = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &whole, 0), D3D_OK);
    ASSERT_NE(whole, nullptr);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);

    const struct {
        UINT offset;
        UINT size;
        HRESULT expected;
    } rows[] = {
        {0, 288, D3D_OK},
        {16, 0, D3D_OK},    // size 0: to the end
        {288, 0, D3D_OK},   // nothing left, but not past the end
        {280, 8, D3D_OK},
        {280, 9, D3DERR_INVALIDCALL},
        {289, 0, D3DERR_INVALIDCALL},
        {0, 289, D3DERR_INVALIDCALL},
        {16, 0xFFFFFFF8u, D3DERR_INVALIDCALL},  // offset + size wraps in 32 bits
    };
    for (const auto& row : rows) {
        BYTE* data = reinterpret_cast<BYTE*>(0x1);
        EXPECT_EQ(buffer->Lock(row.offset, row.size, &data, 0), row.expected)
            << "offset " << row.offset << " size " << row.size;
        if (row.expected == D3D_OK) {
            EXPECT_EQ(data, whole + row.offset);
            EXPECT_EQ(buffer->Unlock(), D3D_OK);
        } else {
            EXPECT_EQ(data, nullptr);
        }
    }
    EXPECT_EQ(buffer->Lock(0, 0, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL) << "no refused Lock may leave the buffer locked";
    buffer->Release();
}

TEST_F(VertexBufferTest, LocksNestAndEachNeedsItsUnlock) {
    IDirect3DVertexBuffer8* buffer = CreateBuffer(288);
    ASSERT_NE(buffer, nullptr);
    BYTE* first = nullptr;
    BYTE* second = nullptr;
    ASSERT_EQ(buffer->Lock(0, 288, &first, 0), D3D_OK);
    ASSERT_EQ(buffer->Lock(0, 288, &second, 0), D3D_OK);
    EXPECT_EQ(first, second);
    first[287] = 0x5A;  // the whole range is writable (ASan watches)
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);

    BYTE* again = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &again, 0), D3D_OK);
    EXPECT_EQ(again[287], 0x5A) << "the bytes stay from lock to lock";
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    buffer->Release();
}

}  // namespace
}  // namespace ostrel::d3d8::testing
