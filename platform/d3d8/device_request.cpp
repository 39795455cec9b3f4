#include "platform/d3d8/device_request.h"

#include "platform/d3d8/formats.h"
#include "platform/runtime/config.h"
#include "platform/runtime/diagnostics.h"

#include <algorithm>

namespace ostrel::d3d8 {

namespace {

constexpr const char* kFunction = "IDirect3D8::CreateDevice";
// Larger surfaces than any adapter of the era offered; refused before trying to allocate them.
constexpr UINT kMaxBackBufferSide = 16384;

HRESULT Refuse(HRESULT code, const char* problem) {
    WarnMisuse(kFunction, "%s", problem);
    return code;
}

bool IsKnownPresentationInterval(UINT interval) {
    switch (interval) {
        case D3DPRESENT_INTERVAL_DEFAULT:
        case D3DPRESENT_INTERVAL_ONE:
        case D3DPRESENT_INTERVAL_TWO:
        case D3DPRESENT_INTERVAL_THREE:
        case D3DPRESENT_INTERVAL_FOUR:
        case D3DPRESENT_INTERVAL_IMMEDIATE:
            return true;
        default:
            return false;
    }
}

bool IsAdapterMode(const std::vector<D3DDISPLAYMODE>& modes, const D3DPRESENT_PARAMETERS& parameters) {
    return std::any_of(modes.begin(), modes.end(), [&](const D3DDISPLAYMODE& mode) {
        return mode.Width == parameters.BackBufferWidth && mode.Height == parameters.BackBufferHeight &&
               mode.Format == parameters.BackBufferFormat &&
               (parameters.FullScreen_RefreshRateInHz == D3DPRESENT_RATE_DEFAULT ||
                parameters.FullScreen_RefreshRateInHz == mode.RefreshRate);
    });
}

HRESULT CheckWindows(const DeviceRequest& request) {
    const HWND deviceWindow = request.parameters.hDeviceWindow;
    if (request.focusWindow == nullptr && deviceWindow == nullptr) {
        return Refuse(D3DERR_INVALIDCALL, "no focus window and no hDeviceWindow");
    }
    if (request.focusWindow != nullptr && !IsWindow(request.focusWindow)) {
        return Refuse(D3DERR_INVALIDCALL, "the focus window is not a live window");
    }
    if (deviceWindow != nullptr && !IsWindow(deviceWindow)) {
        return Refuse(D3DERR_INVALIDCALL, "hDeviceWindow is not a live window");
    }
    return D3D_OK;
}

HRESULT CheckSwapChain(const D3DPRESENT_PARAMETERS& parameters) {
    const UINT swapEffect = parameters.SwapEffect;
    if (swapEffect == 0 || swapEffect > D3DSWAPEFFECT_COPY_VSYNC) {
        WarnMisuse(kFunction, "SwapEffect %u is not a swap effect", swapEffect);
        return D3DERR_INVALIDCALL;
    }
    if (parameters.BackBufferCount > D3DPRESENT_BACK_BUFFERS_MAX) {
        WarnMisuse(kFunction, "BackBufferCount %u is more than %ld", parameters.BackBufferCount,
                   D3DPRESENT_BACK_BUFFERS_MAX);
        return D3DERR_INVALIDCALL;
    }
    const bool copies = swapEffect == D3DSWAPEFFECT_COPY || swapEffect == D3DSWAPEFFECT_COPY_VSYNC;
    if (copies && parameters.BackBufferCount > 1) {
        WarnMisuse(kFunction, "SwapEffect COPY and COPY_VSYNC take one back buffer, not %u",
                   parameters.BackBufferCount);
        return D3DERR_INVALIDCALL;
    }
    if (!IsKnownPresentationInterval(parameters.FullScreen_PresentationInterval)) {
        WarnMisuse(kFunction, "FullScreen_PresentationInterval 0x%x is not a presentation interval",
                   parameters.FullScreen_PresentationInterval);
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT CheckFullScreenMode(const D3DPRESENT_PARAMETERS& parameters, const std::vector<D3DDISPLAYMODE>& modes) {
    if (!IsAdapterMode(modes, parameters)) {
        WarnMisuse(kFunction, "full screen %ux%u %s at %u Hz is not one of the adapter's modes",
                   parameters.BackBufferWidth, parameters.BackBufferHeight,
                   FormatName(parameters.BackBufferFormat).c_str(), parameters.FullScreen_RefreshRateInHz);
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT CheckWindowedBuffer(const D3DPRESENT_PARAMETERS& parameters) {
    // A windowed device has no display mode of its own: no refresh rate and no interval to ask for.
    if (parameters.FullScreen_RefreshRateInHz != D3DPRESENT_RATE_DEFAULT) {
        return Refuse(D3DERR_INVALIDCALL, "a windowed device takes FullScreen_RefreshRateInHz 0");
    }
    if (parameters.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_DEFAULT) {
        return Refuse(D3DERR_INVALIDCALL, "a windowed device takes FullScreen_PresentationInterval DEFAULT");
    }
    if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0) {
        return Refuse(D3DERR_INVALIDCALL, "this stand-in needs the windowed back buffer's size");
    }
    if (parameters.BackBufferWidth > kMaxBackBufferSide || parameters.BackBufferHeight > kMaxBackBufferSide) {
        WarnMisuse(kFunction, "back buffer %ux%u is larger than %ux%u", parameters.BackBufferWidth,
                   parameters.BackBufferHeight, kMaxBackBufferSide, kMaxBackBufferSide);
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

}  // namespace

HRESULT CheckDeviceRequest(const DeviceRequest& request, const std::vector<D3DDISPLAYMODE>& modes,
                           const Config& config) {
    const D3DPRESENT_PARAMETERS& parameters = request.parameters;
    if (request.adapter != D3DADAPTER_DEFAULT) {
        WarnMisuse(kFunction, "adapter %u does not exist", request.adapter);
        return D3DERR_INVALIDCALL;
    }
    if (request.deviceType != D3DDEVTYPE_HAL && request.deviceType != D3DDEVTYPE_REF) {
        WarnMisuse(kFunction, "device type %d is neither HAL nor REF", static_cast<int>(request.deviceType));
        return D3DERR_INVALIDCALL;
    }
    if (HRESULT result = CheckWindows(request); result != D3D_OK) {
        return result;
    }
    if (HRESULT result = CheckSwapChain(parameters); result != D3D_OK) {
        return result;
    }
    HRESULT sizeResult = parameters.Windowed ? CheckWindowedBuffer(parameters) : CheckFullScreenMode(parameters, modes);
    if (sizeResult != D3D_OK) {
        return sizeResult;
    }
    if (parameters.EnableAutoDepthStencil && !IsAcceptedDepthFormat(config, parameters.AutoDepthStencilFormat)) {
        WarnMisuse(kFunction, "AutoDepthStencilFormat %s is not an accepted depth format",
                   FormatName(parameters.AutoDepthStencilFormat).c_str());
        return D3DERR_INVALIDCALL;
    }
    if (parameters.MultiSampleType != D3DMULTISAMPLE_NONE) {
        WarnMisuse(kFunction, "multisample type %d is not offered", static_cast<int>(parameters.MultiSampleType));
        return D3DERR_INVALIDCALL;
    }
    if (!IsRenderableColourFormat(parameters.BackBufferFormat)) {
        WarnMisuse(kFunction, "back buffer format %s cannot be rendered to",
                   FormatName(parameters.BackBufferFormat).c_str());
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

HWND DeviceWindowOf(const DeviceRequest& request) {
    return request.parameters.hDeviceWindow != nullptr ? request.parameters.hDeviceWindow : request.focusWindow;
}

UINT RefreshWaitsPerPresent(const D3DPRESENT_PARAMETERS& parameters) {
    // A window is not synchronised to the display, except by the swap effect that asks for it.
    if (parameters.Windowed) {
        return parameters.SwapEffect == D3DSWAPEFFECT_COPY_VSYNC ? 1 : 0;
    }
    switch (parameters.FullScreen_PresentationInterval) {
        case D3DPRESENT_INTERVAL_IMMEDIATE:
            return 0;
        case D3DPRESENT_INTERVAL_TWO:
            return 2;
        case D3DPRESENT_INTERVAL_THREE:
            return 3;
        case D3DPRESENT_INTERVAL_FOUR:
            return 4;
        default:  // DEFAULT and ONE
            return 1;
    }
}

}  // namespace ostrel::d3d8
