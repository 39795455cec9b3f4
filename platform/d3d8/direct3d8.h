// Stand-in for the IDirect3D8 object: one adapter whose modes fit the host's desktop, format
// checks answered from the settings, and device creation checked as the real runtime checks it.
// There is no second adapter, no multisampling, no caps and no monitor information.
#ifndef OSTREL_PLATFORM_D3D8_DIRECT3D8_H
#define OSTREL_PLATFORM_D3D8_DIRECT3D8_H

#include <d3d8.h>

#include "platform/d3d8/ref_counted.h"

#include <vector>

namespace ostrel::d3d8 {

class D3D8Interface final : public RefCounted<IDirect3D8> {
public:
    D3D8Interface();

    UINT STDMETHODCALLTYPE GetAdapterCount() override;
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT Adapter) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT Adapter, UINT Mode, D3DDISPLAYMODE* pMode) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT Adapter, D3DDEVTYPE CheckType, D3DFORMAT DisplayFormat,
                                              D3DFORMAT BackBufferFormat, BOOL Windowed) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                                DWORD Usage, D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                                     D3DFORMAT RenderTargetFormat,
                                                     D3DFORMAT DepthStencilFormat) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                                           DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pPresentationParameters,
                                           IDirect3DDevice8** ppReturnedDeviceInterface) override;

private:
    // Built once: a program enumerating modes sees one consistent list for the object's life.
    std::vector<D3DDISPLAYMODE> m_modes;
};

}  // namespace ostrel::d3d8

#endif
