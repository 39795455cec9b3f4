#include "platform/d3d8/direct3d8.h"

#include "platform/d3d8/adapter_modes.h"
#include "platform/d3d8/device.h"
#include "platform/d3d8/device_request.h"
#include "platform/d3d8/formats.h"
#include "platform/runtime/runtime.h"

#include <algorithm>
#include <new>

namespace ostrel::d3d8 {

namespace {

bool IsAdapterOfTheMachine(UINT adapter) { return adapter == D3DADAPTER_DEFAULT; }

// Full screen may pair an alpha back buffer with the display format that has no alpha.
bool BackBufferSuitsDisplay(D3DFORMAT display, D3DFORMAT backBuffer) {
    return backBuffer == display || (display == D3DFMT_X8R8G8B8 && backBuffer == D3DFMT_A8R8G8B8) ||
           (display == D3DFMT_X1R5G5B5 && backBuffer == D3DFMT_A1R5G5B5);
}

}  // namespace

D3D8Interface::D3D8Interface()
    : RefCounted("IDirect3D8", "IDirect3D8"),
      m_modes(AdapterModesFor(Runtime::Get().GetConfig(), Runtime::Get().GetHost().Desktop())) {}

UINT D3D8Interface::GetAdapterCount() { return 1; }

UINT D3D8Interface::GetAdapterModeCount(UINT Adapter) {
    return IsAdapterOfTheMachine(Adapter) ? static_cast<UINT>(m_modes.size()) : 0;
}

HRESULT D3D8Interface::EnumAdapterModes(UINT Adapter, UINT Mode, D3DDISPLAYMODE* pMode) {
    if (!IsAdapterOfTheMachine(Adapter) || pMode == nullptr || Mode >= m_modes.size()) {
        WarnMisuse("IDirect3D8::EnumAdapterModes", "adapter %u mode %u%s does not exist", Adapter, Mode,
                   pMode == nullptr ? " (null pMode)" : "");
        return D3DERR_INVALIDCALL;
    }
    *pMode = m_modes[Mode];
    return D3D_OK;
}

HRESULT D3D8Interface::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) {
    if (!IsAdapterOfTheMachine(Adapter) || pMode == nullptr) {
        WarnMisuse("IDirect3D8::GetAdapterDisplayMode", "adapter %u or a null pMode", Adapter);
        return D3DERR_INVALIDCALL;
    }
    *pMode = DisplayModeOfDesktop(Runtime::Get().GetHost().Desktop());
    return D3D_OK;
}

HRESULT D3D8Interface::CheckDeviceType(UINT Adapter, D3DDEVTYPE CheckType, D3DFORMAT DisplayFormat,
                                       D3DFORMAT BackBufferFormat, BOOL Windowed) {
    if (!IsAdapterOfTheMachine(Adapter) || (CheckType != D3DDEVTYPE_HAL && CheckType != D3DDEVTYPE_REF)) {
        WarnMisuse("IDirect3D8::CheckDeviceType", "adapter %u, device type %d", Adapter,
                   static_cast<int>(CheckType));
        return D3DERR_INVALIDCALL;
    }
    if (!IsRenderableColourFormat(BackBufferFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    if (Windowed) {
        return D3D_OK;  // the frame is converted for the desktop whatever its format
    }
    const bool displayable = std::any_of(m_modes.begin(), m_modes.end(),
                                         [&](const D3DDISPLAYMODE& mode) { return mode.Format == DisplayFormat; });
    return displayable && BackBufferSuitsDisplay(DisplayFormat, BackBufferFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT D3D8Interface::CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT, DWORD Usage,
                                         D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) {
    if (!IsAdapterOfTheMachine(Adapter) || (DeviceType != D3DDEVTYPE_HAL && DeviceType != D3DDEVTYPE_REF)) {
        WarnMisuse("IDirect3D8::CheckDeviceFormat", "adapter %u, device type %d", Adapter,
                   static_cast<int>(DeviceType));
        return D3DERR_INVALIDCALL;
    }
    if (RType != D3DRTYPE_SURFACE) {
        return D3DERR_NOTAVAILABLE;  // no textures or volumes
    }
    if ((Usage & D3DUSAGE_DEPTHSTENCIL) != 0) {
        const bool alsoColour = (Usage & D3DUSAGE_RENDERTARGET) != 0;
        return !alsoColour && IsAcceptedDepthFormat(Runtime::Get().GetConfig(), CheckFormat) ? D3D_OK
                                                                                             : D3DERR_NOTAVAILABLE;
    }
    return IsRenderableColourFormat(CheckFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT D3D8Interface::CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT,
                                              D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat) {
    if (!IsAdapterOfTheMachine(Adapter) || (DeviceType != D3DDEVTYPE_HAL && DeviceType != D3DDEVTYPE_REF)) {
        WarnMisuse("IDirect3D8::CheckDepthStencilMatch", "adapter %u, device type %d", Adapter,
                   static_cast<int>(DeviceType));
        return D3DERR_INVALIDCALL;
    }
    // The software depth buffer works beside any colour buffer, whatever their bit depths.
    const bool usable = IsRenderableColourFormat(RenderTargetFormat) &&
                        IsAcceptedDepthFormat(Runtime::Get().GetConfig(), DepthStencilFormat);
    return usable ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT D3D8Interface::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                                    D3DPRESENT_PARAMETERS* pPresentationParameters,
                                    IDirect3DDevice8** ppReturnedDeviceInterface) {
    constexpr const char* kFunction = "IDirect3D8::CreateDevice";
    // The out pointer is cleared first, so a caller that ignores the result still sees no device.
    if (ppReturnedDeviceInterface == nullptr) {
        WarnMisuse(kFunction, "null ppReturnedDeviceInterface");
        return D3DERR_INVALIDCALL;
    }
    *ppReturnedDeviceInterface = nullptr;
    if (pPresentationParameters == nullptr) {
        WarnMisuse(kFunction, "null pPresentationParameters");
        return D3DERR_INVALIDCALL;
    }

    Runtime& runtime = Runtime::Get();
    const DeviceRequest request{Adapter, DeviceType, hFocusWindow, *pPresentationParameters};
    if (HRESULT result = CheckDeviceRequest(request, m_modes, runtime.GetConfig()); result != D3D_OK) {
        return result;
    }
    // As the real runtime does, the caller's parameters say what was made of them.
    if (pPresentationParameters->BackBufferCount == 0) {
        pPresentationParameters->BackBufferCount = 1;
    }
    if (runtime.GetConfig().faults.device) {
        Notice("IDirect3D8::CreateDevice fails: OSTREL_FAIL has device");
        return D3DERR_NOTAVAILABLE;
    }

    DeviceSetup setup;
    setup.window = DeviceWindowOf(request);
    setup.parameters = *pPresentationParameters;
    setup.behaviourFlags = BehaviorFlags;
    if (pPresentationParameters->Windowed) {
        setup.displayMode = DisplayModeOfDesktop(runtime.GetHost().Desktop());
    } else {
        const UINT refreshHz = pPresentationParameters->FullScreen_RefreshRateInHz;
        setup.displayMode = {pPresentationParameters->BackBufferWidth, pPresentationParameters->BackBufferHeight,
                             refreshHz != 0 ? refreshHz : runtime.GetHost().Desktop().refreshHz,
                             pPresentationParameters->BackBufferFormat};
    }
    try {
        *ppReturnedDeviceInterface = new D3D8Device(this, setup);
    } catch (const std::bad_alloc&) {
        WarnMisuse(kFunction, "no memory for a %ux%u back buffer", setup.parameters.BackBufferWidth,
                   setup.parameters.BackBufferHeight);
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    return D3D_OK;
}

}  // namespace ostrel::d3d8

IDirect3D8* WINAPI Direct3DCreate8(UINT SDKVersion) {
    if (ostrel::Runtime::Get().GetConfig().faults.create) {
        ostrel::Notice("Direct3DCreate8 fails: OSTREL_FAIL has create");
        return nullptr;
    }
    if (SDKVersion != D3D_SDK_VERSION) {
        ostrel::WarnMisuse("Direct3DCreate8", "SDK version %u is not %d", SDKVersion, D3D_SDK_VERSION);
        return nullptr;
    }
    return new ostrel::d3d8::D3D8Interface();
}
