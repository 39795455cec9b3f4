// The device's fixed-function state: transforms, viewport, render states, the vertex format and
// the vertex streams. Setters check their arguments and change nothing when they refuse.
#include "platform/d3d8/device.h"

#include "platform/d3d8/fvf.h"
#include "platform/d3d8/vertex_buffer.h"

namespace ostrel::d3d8 {

namespace {

bool IsStoredTransform(UINT state) {
    const bool viewOrProjection = state == D3DTS_VIEW || state == D3DTS_PROJECTION;
    const bool texture = state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7;
    const bool world = state >= D3DTS_WORLDMATRIX(0) && state <= D3DTS_WORLDMATRIX(255);
    return viewOrProjection || texture || world;
}

bool IsDepthRange(float z) { return z >= 0.0f && z <= 1.0f; }  // false for NaN too

}  // namespace

HRESULT D3D8Device::SetTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) {
    if (pMatrix == nullptr || !IsStoredTransform(State)) {
        Warn("IDirect3DDevice8::SetTransform", "state %u%s", static_cast<UINT>(State),
                   pMatrix == nullptr ? " with a null matrix" : " is not a transform");
        return D3DERR_INVALIDCALL;
    }
    m_transforms[State] = *pMatrix;
    return D3D_OK;
}

HRESULT D3D8Device::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) {
    if (pMatrix == nullptr || !IsStoredTransform(State)) {
        Warn("IDirect3DDevice8::GetTransform", "state %u%s", static_cast<UINT>(State),
                   pMatrix == nullptr ? " with a null matrix" : " is not a transform");
        return D3DERR_INVALIDCALL;
    }
    *pMatrix = m_transforms[State];
    return D3D_OK;
}

HRESULT D3D8Device::SetViewport(CONST D3DVIEWPORT8* pViewport) {
    constexpr const char* kFunction = "IDirect3DDevice8::SetViewport";
    if (pViewport == nullptr) {
        Warn(kFunction, "null pViewport");
        return D3DERR_INVALIDCALL;
    }
    const D3DVIEWPORT8& viewport = *pViewport;
    const bool fitsAcross = std::uint64_t{viewport.X} + viewport.Width <= m_backBuffer.Width();
    const bool fitsDown = std::uint64_t{viewport.Y} + viewport.Height <= m_backBuffer.Height();
    if (viewport.Width == 0 || viewport.Height == 0 || !fitsAcross || !fitsDown) {
        Warn(kFunction, "%ux%u at (%u, %u) is empty or leaves the %ux%u back buffer", viewport.Width,
                   viewport.Height, viewport.X, viewport.Y, m_backBuffer.Width(), m_backBuffer.Height());
        return D3DERR_INVALIDCALL;
    }
    if (!IsDepthRange(viewport.MinZ) || !IsDepthRange(viewport.MaxZ)) {
        Warn(kFunction, "MinZ %g and MaxZ %g must lie in 0..1", viewport.MinZ, viewport.MaxZ);
        return D3DERR_INVALIDCALL;
    }
    m_viewport = viewport;
    return D3D_OK;
}

HRESULT D3D8Device::GetViewport(D3DVIEWPORT8* pViewport) {
    if (pViewport == nullptr) {
        Warn("IDirect3DDevice8::GetViewport", "null pViewport");
        return D3DERR_INVALIDCALL;
    }
    *pViewport = m_viewport;
    return D3D_OK;
}

// Values are stored as given, as the real runtime stores them; only the state number is checked.
HRESULT D3D8Device::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    if (static_cast<UINT>(State) >= kRenderStateCount) {
        Warn("IDirect3DDevice8::SetRenderState", "state %u is not a render state", static_cast<UINT>(State));
        return D3DERR_INVALIDCALL;
    }
    m_renderStates[State] = Value;
    return D3D_OK;
}

HRESULT D3D8Device::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) {
    if (pValue == nullptr || static_cast<UINT>(State) >= kRenderStateCount) {
        Warn("IDirect3DDevice8::GetRenderState", "state %u%s", static_cast<UINT>(State),
                   pValue == nullptr ? " with a null pValue" : " is not a render state");
        return D3DERR_INVALIDCALL;
    }
    *pValue = m_renderStates[State];
    return D3D_OK;
}

// A handle with bit 0 clear is a flexible vertex format; bit 0 set names a vertex shader, and this
// device creates none, so every such handle is unknown.
HRESULT D3D8Device::SetVertexShader(DWORD Handle) {
    if (VertexSizeOfFvf(Handle) == 0) {
        Warn("IDirect3DDevice8::SetVertexShader", "0x%x is neither a vertex format with a position nor a "
                   "vertex shader of this device", Handle);
        return D3DERR_INVALIDCALL;
    }
    m_vertexShader = Handle;
    return D3D_OK;
}

HRESULT D3D8Device::GetVertexShader(DWORD* pHandle) {
    if (pHandle == nullptr) {
        Warn("IDirect3DDevice8::GetVertexShader", "null pHandle");
        return D3DERR_INVALIDCALL;
    }
    *pHandle = m_vertexShader;
    return D3D_OK;
}

// Binding keeps the buffer alive (a private reference: see ref_counted.h) until it is replaced,
// unbound with null, or the device goes.
HRESULT D3D8Device::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData, UINT Stride) {
    constexpr const char* kFunction = "IDirect3DDevice8::SetStreamSource";
    if (StreamNumber >= kStreamCount) {
        Warn(kFunction, "stream %u is not one of the %u streams", StreamNumber, kStreamCount);
        return D3DERR_INVALIDCALL;
    }
    auto* buffer = dynamic_cast<D3D8VertexBuffer*>(pStreamData);
    if (pStreamData != nullptr && (buffer == nullptr || buffer->Owner() != this)) {
        Warn(kFunction, "the vertex buffer was not created by this device");
        return D3DERR_INVALIDCALL;
    }
    StreamBinding& binding = m_streams[StreamNumber];
    if (buffer != nullptr) {
        buffer->AddRefPrivate();  // before releasing the old one: they may be the same buffer
    }
    D3D8VertexBuffer* previous = binding.buffer;
    binding = {buffer, Stride};
    if (previous != nullptr) {
        previous->ReleasePrivate();
    }
    return D3D_OK;
}

HRESULT D3D8Device::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8** ppStreamData, UINT* pStride) {
    constexpr const char* kFunction = "IDirect3DDevice8::GetStreamSource";
    if (ppStreamData == nullptr || pStride == nullptr) {
        Warn(kFunction, "null ppStreamData or pStride");
        return D3DERR_INVALIDCALL;
    }
    *ppStreamData = nullptr;
    if (StreamNumber >= kStreamCount) {
        Warn(kFunction, "stream %u is not one of the %u streams", StreamNumber, kStreamCount);
        return D3DERR_INVALIDCALL;
    }
    const StreamBinding& binding = m_streams[StreamNumber];
    if (binding.buffer != nullptr) {
        binding.buffer->AddRef();  // the caller owns what it gets, as with every Get of an interface
    }
    *ppStreamData = binding.buffer;
    *pStride = binding.stride;
    return D3D_OK;
}

}  // namespace ostrel::d3d8
