// Scenes, clearing and drawing. Every check comes before the first pixel is touched, so a refused
// call leaves both buffers as they were.
#include "platform/d3d8/device.h"

#include "platform/d3d8/fvf.h"
#include "platform/d3d8/render/primitive_counts.h"
#include "platform/d3d8/vertex_buffer.h"

#include <algorithm>
#include <cstdint>

namespace ostrel::d3d8 {

namespace {

constexpr DWORD kClearFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;

// The overlap of two rectangles; empty (x1 >= x2 or y1 >= y2) when they do not meet.
D3DRECT Intersection(const D3DRECT& a, const D3DRECT& b) {
    return {std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2), std::min(a.y2, b.y2)};
}

}  // namespace

HRESULT D3D8Device::BeginScene() {
    if (m_inScene) {
        Warn("IDirect3DDevice8::BeginScene", "already inside BeginScene/EndScene");
        return D3DERR_INVALIDCALL;
    }
    m_inScene = true;
    return D3D_OK;
}

HRESULT D3D8Device::EndScene() {
    if (!m_inScene) {
        Warn("IDirect3DDevice8::EndScene", "without BeginScene");
        return D3DERR_INVALIDCALL;
    }
    m_inScene = false;
    return D3D_OK;
}

D3DRECT D3D8Device::ViewportRect() const {
    // SetViewport keeps the viewport inside the back buffer, so these fit in a LONG.
    return {static_cast<LONG>(m_viewport.X), static_cast<LONG>(m_viewport.Y),
            static_cast<LONG>(m_viewport.X + m_viewport.Width), static_cast<LONG>(m_viewport.Y + m_viewport.Height)};
}

HRESULT D3D8Device::Clear(DWORD Count, CONST D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD) {
    constexpr const char* kFunction = "IDirect3DDevice8::Clear";
    if (Flags == 0 || (Flags & ~kClearFlags) != 0) {
        Warn(kFunction, "flags 0x%x", Flags);
        return D3DERR_INVALIDCALL;
    }
    if (Count > 0 && pRects == nullptr) {
        Warn(kFunction, "%u rectangles but a null pRects", Count);
        return D3DERR_INVALIDCALL;
    }
    if ((Flags & D3DCLEAR_ZBUFFER) != 0 && !m_depthBuffer) {
        Warn(kFunction, "D3DCLEAR_ZBUFFER without a depth buffer");
        return D3DERR_INVALIDCALL;
    }
    if ((Flags & D3DCLEAR_STENCIL) != 0) {
        Warn(kFunction, "D3DCLEAR_STENCIL without a stencil buffer");  // no depth format has one
        return D3DERR_INVALIDCALL;
    }

    const float depth = Z >= 0.0f ? std::min(Z, 1.0f) : 0.0f;  // NaN clears to 0 as well
    const D3DRECT viewport = ViewportRect();
    auto clearInside = [&](const D3DRECT& rect) {
        const D3DRECT area = Intersection(rect, viewport);
        if (area.x1 >= area.x2 || area.y1 >= area.y2) {
            return;
        }
        const auto x1 = static_cast<std::uint32_t>(area.x1), y1 = static_cast<std::uint32_t>(area.y1);
        const auto x2 = static_cast<std::uint32_t>(area.x2), y2 = static_cast<std::uint32_t>(area.y2);
        if ((Flags & D3DCLEAR_TARGET) != 0) {
            m_backBuffer.Fill(Color, x1, y1, x2, y2);
        }
        if ((Flags & D3DCLEAR_ZBUFFER) != 0) {
            m_depthBuffer->Fill(depth, x1, y1, x2, y2);
        }
    };
    if (Count == 0) {
        clearInside(viewport);
    }
    for (DWORD i = 0; i < Count; ++i) {
        clearInside(pRects[i]);
    }
    return D3D_OK;
}

namespace {

// A render state holds any DWORD the program set, but the enumerations it is read as hold values
// only up to their FORCE_DWORD member, 0x7fffffff: converting a larger value is undefined
// behaviour. Such a value means no more than FORCE_DWORD itself, so it is read as that.
template <typename Enumeration>
Enumeration EnumerationOfState(DWORD value) {
    constexpr DWORD kLargestEnumerationValue = 0x7fffffff;
    return static_cast<Enumeration>(std::min(value, kLargestEnumerationValue));
}

}  // namespace

PipelineState D3D8Device::CurrentPipelineState() const {
    PipelineState state;
    state.world = m_transforms[D3DTS_WORLD];
    state.view = m_transforms[D3DTS_VIEW];
    state.projection = m_transforms[D3DTS_PROJECTION];
    state.viewport = m_viewport;
    state.cullMode = EnumerationOfState<D3DCULL>(m_renderStates[D3DRS_CULLMODE]);
    state.zEnable = EnumerationOfState<D3DZBUFFERTYPE>(m_renderStates[D3DRS_ZENABLE]);
    state.zWriteEnable = m_renderStates[D3DRS_ZWRITEENABLE] != FALSE;
    state.zFunc = EnumerationOfState<D3DCMPFUNC>(m_renderStates[D3DRS_ZFUNC]);
    state.lighting = m_renderStates[D3DRS_LIGHTING] != FALSE;
    state.ambient = m_renderStates[D3DRS_AMBIENT];
    state.shadeMode = EnumerationOfState<D3DSHADEMODE>(m_renderStates[D3DRS_SHADEMODE]);
    state.fvf = m_vertexShader;
    return state;
}

// Point and line primitives are checked like triangles and then drawn as nothing: the software
// pipeline rasterises triangles only, and the answer stays the real runtime's D3D_OK.
HRESULT D3D8Device::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) {
    constexpr const char* kFunction = "IDirect3DDevice8::DrawPrimitive";
    if (!m_inScene) {
        Warn(kFunction, "outside BeginScene/EndScene");
        return D3DERR_INVALIDCALL;
    }
    const std::uint64_t vertexCount = VertexCountOfPrimitives(PrimitiveType, PrimitiveCount);
    if (PrimitiveCount == 0 || vertexCount == 0) {
        Warn(kFunction, "%u primitives of type %d", PrimitiveCount, static_cast<int>(PrimitiveType));
        return D3DERR_INVALIDCALL;
    }
    const StreamBinding& stream = m_streams[0];
    if (stream.buffer == nullptr) {
        Warn(kFunction, "no vertex buffer on stream 0");
        return D3DERR_INVALIDCALL;
    }
    const UINT vertexSize = VertexSizeOfFvf(m_vertexShader);
    if (vertexSize == 0) {
        Warn(kFunction, "no vertex format set");
        return D3DERR_INVALIDCALL;
    }
    if (stream.stride < vertexSize) {
        Warn(kFunction, "stride %u is less than the %u bytes of a vertex", stream.stride, vertexSize);
        return D3DERR_INVALIDCALL;
    }
    const std::uint64_t endByte = (std::uint64_t{StartVertex} + vertexCount - 1) * stream.stride + vertexSize;
    if (endByte > stream.buffer->SizeBytes()) {
        Warn(kFunction, "vertices %u to %llu read past the %u bytes of the buffer", StartVertex,
                   static_cast<unsigned long long>(StartVertex + vertexCount - 1), stream.buffer->SizeBytes());
        return D3DERR_INVALIDCALL;
    }
    if (!IsTrianglePrimitive(PrimitiveType)) {
        return D3D_OK;
    }
    const VertexStream vertices{stream.buffer->Bytes(), stream.buffer->SizeBytes(), stream.stride};
    m_pipeline.Draw(CurrentPipelineState(), PrimitiveType, vertices, StartVertex, PrimitiveCount, m_backBuffer,
                    m_depthBuffer.get());
    return D3D_OK;
}

}  // namespace ostrel::d3d8
