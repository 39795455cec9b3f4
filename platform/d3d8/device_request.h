// The checks CreateDevice makes before building anything, in the order the real runtime makes
// them, each refusal named on stderr. They read the request; they build and change nothing.
#ifndef OSTREL_PLATFORM_D3D8_DEVICE_REQUEST_H
#define OSTREL_PLATFORM_D3D8_DEVICE_REQUEST_H

#include <d3d8.h>

#include <vector>

namespace ostrel {
struct Config;
}

namespace ostrel::d3d8 {

struct DeviceRequest {
    UINT adapter;
    D3DDEVTYPE deviceType;
    HWND focusWindow;
    const D3DPRESENT_PARAMETERS& parameters;
};

// D3D_OK when a device can be made for the request, else the real runtime's answer.
HRESULT CheckDeviceRequest(const DeviceRequest& request, const std::vector<D3DDISPLAYMODE>& modes,
                           const Config& config);

// The window the device presents into: hDeviceWindow, or the focus window when that is null.
HWND DeviceWindowOf(const DeviceRequest& request);

// How many display refreshes each Present waits for: the full-screen presentation interval (none
// for IMMEDIATE); in a window, one for COPY_VSYNC and none otherwise.
UINT RefreshWaitsPerPresent(const D3DPRESENT_PARAMETERS& parameters);

}  // namespace ostrel::d3d8

#endif
