// Stand-in for IDirect3DVertexBuffer8: bytes in system memory whatever the pool, locked for
// writing by pointer. There is no discard renaming and no overlap with drawing: a Lock simply
// returns the bytes, as a software device would.
#ifndef OSTREL_PLATFORM_D3D8_VERTEX_BUFFER_H
#define OSTREL_PLATFORM_D3D8_VERTEX_BUFFER_H

#include <d3d8.h>

#include "platform/d3d8/ref_counted.h"

#include <vector>

namespace ostrel::d3d8 {

class D3D8Device;

class D3D8VertexBuffer final : public RefCounted<IDirect3DVertexBuffer8> {
public:
    // Takes a reference on device while the program holds the buffer.
    D3D8VertexBuffer(D3D8Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice8** ppDevice) override;
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override;
    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* pDesc) override;

    const D3D8Device* Owner() const { return m_device; }
    const BYTE* Bytes() const { return m_bytes.data(); }
    UINT SizeBytes() const { return static_cast<UINT>(m_bytes.size()); }

private:
    ~D3D8VertexBuffer() override = default;
    void OnFirstPublicReference() override;
    void OnLastPublicRelease() override;

    D3D8Device* m_device;
    DWORD m_usage;
    DWORD m_fvf;
    D3DPOOL m_pool;
    std::vector<BYTE> m_bytes;
    UINT m_lockCount = 0;  // the real runtime lets locks nest; each needs its Unlock
};

}  // namespace ostrel::d3d8

#endif
