// Present: the back buffer, as the host's 32-bit pixels, goes to the device window,
// then the call waits for as many display refreshes as the presentation interval asks.
#include "platform/d3d8/device.h"

#include "platform/runtime/runtime.h"
#include "platform/user32/window_table.h"

namespace ostrel::d3d8 {

HRESULT D3D8Device::Present(CONST RECT* pSourceRect, CONST RECT* pDestRect, HWND, CONST RGNDATA*) {
    constexpr const char* kFunction = "IDirect3DDevice8::Present";
    const D3DSWAPEFFECT swapEffect = m_setup.parameters.SwapEffect;
    const bool copies = swapEffect == D3DSWAPEFFECT_COPY || swapEffect == D3DSWAPEFFECT_COPY_VSYNC;
    // Only a copying swap chain can show part of its buffer; this one always shows all of it.
    if (!copies && (pSourceRect != nullptr || pDestRect != nullptr)) {
        Warn(kFunction, "source or destination rectangles need SwapEffect COPY or COPY_VSYNC");
        return D3DERR_INVALIDCALL;
    }
    const HostWindowId window = user32::HostWindowOf(m_setup.window);
    if (window == 0) {
        Warn(kFunction, "the device window no longer exists");
        return D3DERR_INVALIDCALL;
    }

    Runtime& runtime = Runtime::Get();
    // An X8R8G8B8 back buffer already holds the host's pixels and is shown as it is. Other formats
    // are converted, and so is every frame when a capture was asked for: the capture is the last
    // presented frame, and the back buffer may be drawn on again before the device is released.
    const std::uint32_t* pixels = m_backBuffer.XrgbPixels();
    if (pixels == nullptr || runtime.GetConfig().capturePath) {
        m_backBuffer.ConvertToXrgb(m_presentedFrame.data());
        pixels = m_presentedFrame.data();
        m_hasPresentedFrame = true;
    }
    Host& host = runtime.GetHost();
    // Immediate presentation is decided here alone: the host only waits for what it is asked to.
    const std::uint32_t refreshesToWait =
        runtime.GetConfig().present == PresentMode::Vsync ? m_refreshWaitsPerPresent : 0;
    host.PresentFrame(window, {pixels, m_backBuffer.Width(), m_backBuffer.Height(), m_backBuffer.Width() * 4},
                      refreshesToWait);
    runtime.NotePresentedFrame();
    return D3D_OK;
}

}  // namespace ostrel::d3d8
