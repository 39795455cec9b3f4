#include "platform/d3d8/vertex_buffer.h"

#include "platform/d3d8/device.h"
#include "platform/runtime/runtime.h"

#include <cstdint>

namespace ostrel::d3d8 {

D3D8VertexBuffer::D3D8VertexBuffer(D3D8Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : RefCounted("IDirect3DVertexBuffer8", "IDirect3DVertexBuffer8 (" + std::to_string(length) + " bytes)"),
      m_device(device),
      m_usage(usage),
      m_fvf(fvf),
      m_pool(pool),
      m_bytes(length) {
    m_device->AddRef();
}

// A buffer the program let go of but the device still binds does not keep the device alive;
// once the program holds it again (GetStreamSource), it does.
void D3D8VertexBuffer::OnFirstPublicReference() { m_device->AddRef(); }
void D3D8VertexBuffer::OnLastPublicRelease() { m_device->Release(); }

HRESULT D3D8VertexBuffer::GetDevice(IDirect3DDevice8** ppDevice) {
    if (ppDevice == nullptr) {
        WarnMisuse("IDirect3DVertexBuffer8::GetDevice", "null ppDevice");
        return D3DERR_INVALIDCALL;
    }
    m_device->AddRef();
    *ppDevice = m_device;
    return D3D_OK;
}

D3DRESOURCETYPE D3D8VertexBuffer::GetType() { return D3DRTYPE_VERTEXBUFFER; }

HRESULT D3D8VertexBuffer::Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData, DWORD) {
    constexpr const char* kFunction = "IDirect3DVertexBuffer8::Lock";
    if (ppbData == nullptr) {
        WarnMisuse(kFunction, "null ppbData");
        return D3DERR_INVALIDCALL;
    }
    *ppbData = nullptr;
    if (Runtime::Get().GetConfig().faults.lock) {
        Notice("IDirect3DVertexBuffer8::Lock fails: OSTREL_FAIL has lock");
        return D3DERR_INVALIDCALL;
    }
    const UINT size = SizeBytes();
    // A size of 0 locks from the offset to the end of the buffer.
    const std::uint64_t end = SizeToLock == 0 ? size : std::uint64_t{OffsetToLock} + SizeToLock;
    if (OffsetToLock > size || end > size) {
        WarnMisuse(kFunction, "bytes %u to %llu of a %u-byte buffer", OffsetToLock,
                   static_cast<unsigned long long>(end), size);
        return D3DERR_INVALIDCALL;
    }
    ++m_lockCount;
    *ppbData = m_bytes.data() + OffsetToLock;
    return D3D_OK;
}

HRESULT D3D8VertexBuffer::Unlock() {
    if (m_lockCount == 0) {
        WarnMisuse("IDirect3DVertexBuffer8::Unlock", "the buffer is not locked");
        return D3DERR_INVALIDCALL;
    }
    --m_lockCount;
    return D3D_OK;
}

HRESULT D3D8VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* pDesc) {
    if (pDesc == nullptr) {
        WarnMisuse("IDirect3DVertexBuffer8::GetDesc", "null pDesc");
        return D3DERR_INVALIDCALL;
    }
    *pDesc = {D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, m_usage, m_pool, SizeBytes(), m_fvf};
    return D3D_OK;
}

}  // namespace ostrel::d3d8
