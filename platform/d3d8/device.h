// Stand-in for IDirect3DDevice8: a software device with one back buffer and an optional depth
// buffer, the fixed-function state the program sets, vertex-buffer drawing through the render
// pipeline, and Present to the host window. No textures, lights, index buffers, shaders or
// state blocks; Reset is not offered, so a device is never lost.
#ifndef OSTREL_PLATFORM_D3D8_DEVICE_H
#define OSTREL_PLATFORM_D3D8_DEVICE_H

#include <d3d8.h>

#include "platform/d3d8/ref_counted.h"
#include "platform/d3d8/render/render_pipeline.h"
#include "platform/d3d8/render/surfaces.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ostrel::d3d8 {

class D3D8Interface;
class D3D8VertexBuffer;

// What CreateDevice settled on, after its checks.
struct DeviceSetup {
    HWND window = nullptr;
    D3DPRESENT_PARAMETERS parameters{};  // BackBufferCount already 0 → 1
    D3DDISPLAYMODE displayMode{};        // the full-screen mode, or the desktop for a window
    DWORD behaviourFlags = 0;
};

class D3D8Device final : public RefCounted<IDirect3DDevice8> {
public:
    // Takes a reference on direct3D for the device's life.
    D3D8Device(D3D8Interface* direct3D, const DeviceSetup& setup);

    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D8** ppD3D8) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(D3DDISPLAYMODE* pMode) override;
    HRESULT STDMETHODCALLTYPE Present(CONST RECT* pSourceRect, CONST RECT* pDestRect, HWND hDestWindowOverride,
                                      CONST RGNDATA* pDirtyRegion) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                                 IDirect3DVertexBuffer8** ppVertexBuffer) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD Count, CONST D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                                    DWORD Stencil) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetViewport(CONST D3DVIEWPORT8* pViewport) override;
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT8* pViewport) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                            UINT PrimitiveCount) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD Handle) override;
    HRESULT STDMETHODCALLTYPE GetVertexShader(DWORD* pHandle) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData,
                                              UINT Stride) override;
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8** ppStreamData,
                                              UINT* pStride) override;

private:
    static constexpr UINT kStreamCount = 16;
    static constexpr UINT kRenderStateCount = 256;
    // Transform slots by state number: VIEW, PROJECTION, TEXTURE0-7 and WORLDMATRIX(0-255).
    static constexpr UINT kTransformSlotCount = 512;

    struct StreamBinding {
        D3D8VertexBuffer* buffer = nullptr;  // holds a private reference
        UINT stride = 0;
    };

    ~D3D8Device() override;
    void OnLastPublicRelease() override;

    // Misuse inside a frame loop would repeat its line every frame; each device names each kind
    // of misuse (a function and its message) the first time only.
    template <typename... Arguments>
    void Warn(const char* function, const char* format, Arguments... arguments) {
        for (const WarningKind& kind : m_warned) {
            if (kind.function == function && kind.format == format) {
                return;
            }
        }
        m_warned.push_back({function, format});
        if constexpr (sizeof...(Arguments) == 0) {
            WarnMisuse(function, "%s", format);
        } else {
            WarnMisuse(function, format, arguments...);
        }
    }

    void SetDefaultState();
    PipelineState CurrentPipelineState() const;
    D3DRECT ViewportRect() const;
    void WriteCaptureIfAsked() const;
    void UnbindStreams();

    D3D8Interface* m_direct3D;
    DeviceSetup m_setup;
    UINT m_refreshWaitsPerPresent;

    ColourSurface m_backBuffer;
    std::unique_ptr<DepthSurface> m_depthBuffer;  // null without EnableAutoDepthStencil
    RenderPipeline m_pipeline;

    // The last presented frame in 0x00RRGGBB, allocated once: Present refills it when the back
    // buffer is not already in that form or a capture was asked for; the capture reads it.
    std::vector<std::uint32_t> m_presentedFrame;
    bool m_hasPresentedFrame = false;  // m_presentedFrame holds a presented frame

    std::array<D3DMATRIX, kTransformSlotCount> m_transforms;
    D3DVIEWPORT8 m_viewport{};
    std::array<DWORD, kRenderStateCount> m_renderStates{};
    DWORD m_vertexShader = 0;  // 0: none set yet
    std::array<StreamBinding, kStreamCount> m_streams{};
    bool m_inScene = false;

    struct WarningKind {
        const char* function;
        const char* format;
    };
    std::vector<WarningKind> m_warned;
};

}  // namespace ostrel::d3d8

#endif
