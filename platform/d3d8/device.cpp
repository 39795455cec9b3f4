// The device's life: creation from what CreateDevice settled on, its default state, the objects
// it hands out, and what it does when the last reference goes.
#include "platform/d3d8/device.h"

#include "platform/d3d8/device_request.h"
#include "platform/d3d8/direct3d8.h"
#include "platform/d3d8/formats.h"
#include "platform/d3d8/frame_capture.h"
#include "platform/d3d8/fvf.h"
#include "platform/d3d8/vertex_buffer.h"
#include "platform/runtime/runtime.h"
#include "platform/user32/window_table.h"

#include <cstring>
#include <new>
#include <optional>

namespace ostrel::d3d8 {

namespace {

// A bigger buffer than any card of the era could hold is refused before it is allocated.
constexpr UINT kMaxVertexBufferBytes = 256u * 1024u * 1024u;
constexpr DWORD kVertexBufferUsages = D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING | D3DUSAGE_DONOTCLIP |
                                      D3DUSAGE_POINTS | D3DUSAGE_RTPATCHES | D3DUSAGE_NPATCHES | D3DUSAGE_DYNAMIC;

std::string DescriptionOf(const DeviceSetup& setup) {
    const D3DPRESENT_PARAMETERS& parameters = setup.parameters;
    return "IDirect3DDevice8 (" + std::to_string(parameters.BackBufferWidth) + "x" +
           std::to_string(parameters.BackBufferHeight) + " " + FormatName(parameters.BackBufferFormat) + ")";
}

std::unique_ptr<DepthSurface> AutoDepthBufferOf(const D3DPRESENT_PARAMETERS& parameters) {
    if (!parameters.EnableAutoDepthStencil) {
        return nullptr;
    }
    return std::make_unique<DepthSurface>(parameters.BackBufferWidth, parameters.BackBufferHeight,
                                          parameters.AutoDepthStencilFormat);
}

DWORD BitsOfFloat(float value) {
    DWORD bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

HostWindowId FullScreenHostWindow(const DeviceSetup& setup) {
    return setup.parameters.Windowed ? 0 : user32::HostWindowOf(setup.window);
}

}  // namespace

D3D8Device::D3D8Device(D3D8Interface* direct3D, const DeviceSetup& setup)
    : RefCounted("IDirect3DDevice8", DescriptionOf(setup)),
      m_direct3D(direct3D),
      m_setup(setup),
      m_refreshWaitsPerPresent(RefreshWaitsPerPresent(setup.parameters)),
      m_backBuffer(setup.parameters.BackBufferWidth, setup.parameters.BackBufferHeight,
                   setup.parameters.BackBufferFormat),
      m_depthBuffer(AutoDepthBufferOf(setup.parameters)),
      m_presentedFrame(static_cast<std::size_t>(setup.parameters.BackBufferWidth) *
                       setup.parameters.BackBufferHeight) {
    SetDefaultState();
    m_direct3D->AddRef();
    if (HostWindowId window = FullScreenHostWindow(m_setup); window != 0) {
        Runtime::Get().GetHost().SetFullscreen(window, true);
    }
}

D3D8Device::~D3D8Device() = default;

void D3D8Device::SetDefaultState() {
    D3DMATRIX identity{};
    identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
    m_transforms.fill(identity);

    m_viewport = {0, 0, m_backBuffer.Width(), m_backBuffer.Height(), 0.0f, 1.0f};

    // The real runtime's defaults; states it does not name start at 0.
    const bool softwareVertexProcessing = (m_setup.behaviourFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) != 0;
    const struct {
        D3DRENDERSTATETYPE state;
        DWORD value;
    } defaults[] = {
        {D3DRS_ZENABLE, static_cast<DWORD>(m_depthBuffer ? D3DZB_TRUE : D3DZB_FALSE)},
        {D3DRS_FILLMODE, D3DFILL_SOLID},
        {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
        {D3DRS_ZWRITEENABLE, TRUE},
        {D3DRS_LASTPIXEL, TRUE},
        {D3DRS_SRCBLEND, 2},   // D3DBLEND_ONE
        {D3DRS_DESTBLEND, 1},  // D3DBLEND_ZERO
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRS_CLIPPING, TRUE},
        {D3DRS_LIGHTING, TRUE},
        {D3DRS_AMBIENT, 0},
        {D3DRS_COLORVERTEX, TRUE},
        {D3DRS_LOCALVIEWER, TRUE},
        {D3DRS_DIFFUSEMATERIALSOURCE, 1},   // D3DMCS_COLOR1
        {D3DRS_SPECULARMATERIALSOURCE, 2},  // D3DMCS_COLOR2
        {D3DRS_SOFTWAREVERTEXPROCESSING, DWORD{softwareVertexProcessing}},
        {D3DRS_POINTSIZE, BitsOfFloat(1.0f)},
        {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
        {D3DRS_COLORWRITEENABLE, 0xF},
    };
    m_renderStates.fill(0);
    for (const auto& entry : defaults) {
        m_renderStates[entry.state] = entry.value;
    }
}

void D3D8Device::OnLastPublicRelease() {
    WriteCaptureIfAsked();
    UnbindStreams();
    // The window, if it still exists, stops covering the desktop, as when a real device restores
    // the display mode.
    if (HostWindowId window = FullScreenHostWindow(m_setup); window != 0) {
        Runtime::Get().GetHost().SetFullscreen(window, false);
    }
    m_direct3D->Release();
}

void D3D8Device::WriteCaptureIfAsked() const {
    const std::optional<std::string>& path = Runtime::Get().GetConfig().capturePath;
    if (!path || !m_hasPresentedFrame) {
        return;
    }
    const std::string error = WriteFrameAsPng(*path, m_presentedFrame.data(), m_backBuffer.Width(),
                                              m_backBuffer.Height());
    if (!error.empty()) {
        Notice("cannot write the capture to %s: %s", path->c_str(), error.c_str());
    }
}

void D3D8Device::UnbindStreams() {
    for (StreamBinding& binding : m_streams) {
        if (binding.buffer != nullptr) {
            D3D8VertexBuffer* buffer = binding.buffer;
            binding = {};
            buffer->ReleasePrivate();
        }
    }
}

HRESULT D3D8Device::TestCooperativeLevel() { return D3D_OK; }

HRESULT D3D8Device::GetDirect3D(IDirect3D8** ppD3D8) {
    if (ppD3D8 == nullptr) {
        Warn("IDirect3DDevice8::GetDirect3D", "null ppD3D8");
        return D3DERR_INVALIDCALL;
    }
    m_direct3D->AddRef();
    *ppD3D8 = m_direct3D;
    return D3D_OK;
}

HRESULT D3D8Device::GetDisplayMode(D3DDISPLAYMODE* pMode) {
    if (pMode == nullptr) {
        Warn("IDirect3DDevice8::GetDisplayMode", "null pMode");
        return D3DERR_INVALIDCALL;
    }
    *pMode = m_setup.displayMode;
    return D3D_OK;
}

HRESULT D3D8Device::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                       IDirect3DVertexBuffer8** ppVertexBuffer) {
    constexpr const char* kFunction = "IDirect3DDevice8::CreateVertexBuffer";
    if (ppVertexBuffer == nullptr) {
        Warn(kFunction, "null ppVertexBuffer");
        return D3DERR_INVALIDCALL;
    }
    *ppVertexBuffer = nullptr;
    if (Length == 0) {
        Warn(kFunction, "Length 0");
        return D3DERR_INVALIDCALL;
    }
    if (FVF != 0) {
        const UINT vertexSize = VertexSizeOfFvf(FVF);
        if (vertexSize == 0) {
            Warn(kFunction, "FVF 0x%x is not a vertex format", FVF);
            return D3DERR_INVALIDCALL;
        }
        if (Length < vertexSize) {
            Warn(kFunction, "Length %u is less than one vertex of FVF 0x%x (%u bytes)", Length, FVF,
                       vertexSize);
            return D3DERR_INVALIDCALL;
        }
    }
    if ((Usage & ~kVertexBufferUsages) != 0) {
        Warn(kFunction, "Usage 0x%x is not a vertex-buffer usage", Usage);
        return D3DERR_INVALIDCALL;
    }
    if (Pool != D3DPOOL_DEFAULT && Pool != D3DPOOL_MANAGED && Pool != D3DPOOL_SYSTEMMEM) {
        Warn(kFunction, "pool %d is not one a vertex buffer lives in", static_cast<int>(Pool));
        return D3DERR_INVALIDCALL;
    }
    if ((Usage & D3DUSAGE_DYNAMIC) != 0 && Pool == D3DPOOL_MANAGED) {
        Warn(kFunction, "a dynamic buffer cannot be managed");
        return D3DERR_INVALIDCALL;
    }
    if (Runtime::Get().GetConfig().faults.vertexBuffer) {
        Notice("IDirect3DDevice8::CreateVertexBuffer fails: OSTREL_FAIL has vertexbuffer");
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    if (Length > kMaxVertexBufferBytes) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    try {
        *ppVertexBuffer = new D3D8VertexBuffer(this, Length, Usage, FVF, Pool);
    } catch (const std::bad_alloc&) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    return D3D_OK;
}

}  // namespace ostrel::d3d8
