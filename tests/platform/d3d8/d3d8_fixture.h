// The Direct3D 8 stand-in's tests share this: a fresh runtime on the headless host for each case,
// one live window, and a device made from a small description.
#ifndef OSTREL_TESTS_PLATFORM_D3D8_D3D8_FIXTURE_H
#define OSTREL_TESTS_PLATFORM_D3D8_D3D8_FIXTURE_H

#include <d3d8.h>
#include <windows.h>

#include "platform/host/headless_host.h"
#include "platform/host/host_table.h"
#include "platform/runtime/config.h"
#include "platform/runtime/live_objects.h"
#include "platform/runtime/runtime.h"
#include "platform/user32/window_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ostrel::d3d8::testing {

// The headless host, except that waiting for a refresh is only counted (tests never sleep), and
// full-screen switches are remembered.
class CountingHost final : public Host {
public:
    explicit CountingHost(const Config& config) : m_inner(config.refreshHz) {}

    const char* Name() const override { return m_inner.Name(); }
    DesktopMode Desktop() const override { return m_inner.Desktop(); }
    HostWindowId CreateWindow(const std::string& caption, int x, int y, int width, int height) override {
        return m_inner.CreateWindow(caption, x, y, width, height);
    }
    void ShowWindow(HostWindowId window, bool visible) override { m_inner.ShowWindow(window, visible); }
    void DestroyWindow(HostWindowId window) override { m_inner.DestroyWindow(window); }
    void SetFullscreen(HostWindowId window, bool fullscreen) override { m_inner.SetFullscreen(window, fullscreen); }
    void PumpEvents(const std::function<void(const HostEvent&)>& deliver) override { m_inner.PumpEvents(deliver); }
    PresentResult PresentFrame(HostWindowId window, const FrameView& frame, std::uint32_t refreshesToWait) override {
        refreshWaits += static_cast<int>(refreshesToWait);
        return m_inner.PresentFrame(window, frame, 0);
    }

    HeadlessHost& Inner() { return m_inner; }
    int refreshWaits = 0;

private:
    HeadlessHost m_inner;
};

// What a test says about the device it wants; everything else is what the program passes.
struct DeviceDescription {
    UINT width = 800;
    UINT height = 600;
    D3DFORMAT format = D3DFMT_X8R8G8B8;
    D3DFORMAT depthFormat = D3DFMT_D24X8;  // D3DFMT_UNKNOWN: no depth buffer
    bool windowed = false;
    D3DSWAPEFFECT swapEffect = D3DSWAPEFFECT_COPY_VSYNC;
    UINT presentationInterval = D3DPRESENT_INTERVAL_ONE;
};

inline LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class D3D8Test : public ::testing::Test {
protected:
    void SetUp() override {
        m_liveObjectsBefore = LiveObjects().size();
        Reinstall(Config{});
    }

    void TearDown() override {
        if (m_window != nullptr && IsWindow(m_window)) {
            DestroyWindow(m_window);
        }
        user32::ResetForTests();
        EXPECT_EQ(LiveObjects().size(), m_liveObjectsBefore) << "a Direct3D object outlived its test";
    }

    // A fresh runtime with these settings on the counting headless host, and a fresh window.
    void Reinstall(Config config) {
        config.host = HostChoice::Headless;
        auto host = std::make_unique<CountingHost>(config);
        m_host = host.get();
        Runtime::Install(std::move(config), std::move(host));
        user32::ResetForTests();

        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OstrelD3D8Test";
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
        m_window = CreateWindowExA(0, "OstrelD3D8Test", "d3d8 test", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                   nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(m_window, nullptr);
    }

    D3DPRESENT_PARAMETERS ParametersFor(const DeviceDescription& description) const {
        D3DPRESENT_PARAMETERS parameters{};
        parameters.BackBufferWidth = description.width;
        parameters.BackBufferHeight = description.height;
        parameters.BackBufferFormat = description.format;
        parameters.BackBufferCount = 1;
        parameters.SwapEffect = description.swapEffect;
        parameters.hDeviceWindow = m_window;
        parameters.Windowed = description.windowed ? TRUE : FALSE;
        parameters.EnableAutoDepthStencil = description.depthFormat != D3DFMT_UNKNOWN ? TRUE : FALSE;
        parameters.AutoDepthStencilFormat = description.depthFormat;
        parameters.FullScreen_PresentationInterval = description.windowed ? 0 : description.presentationInterval;
        return parameters;
    }

    // A device as described, or a failed assertion. The caller releases both objects.
    void CreateDevice(const DeviceDescription& description, IDirect3D8** direct3D, IDirect3DDevice8** device) {
        *device = nullptr;
        *direct3D = Direct3DCreate8(D3D_SDK_VERSION);
        ASSERT_NE(*direct3D, nullptr);
        D3DPRESENT_PARAMETERS parameters = ParametersFor(description);
        ASSERT_EQ((*direct3D)->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window,
                                            D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, device),
                  D3D_OK);
        ASSERT_NE(*device, nullptr);
    }

    HostWindowId HostWindow() const { return user32::HostWindowOf(m_window); }

    CountingHost* m_host = nullptr;
    HWND m_window = nullptr;

private:
    std::size_t m_liveObjectsBefore = 0;
};

// A test that wants a device from the start: created in SetUp, released in TearDown.
class D3D8DeviceTest : public D3D8Test {
protected:
    void SetUp() override {
        D3D8Test::SetUp();
        CreateDevice(Description(), &m_direct3D, &m_device);
    }

    void TearDown() override {
        if (m_device != nullptr) {
            EXPECT_EQ(m_device->Release(), 0u);
        }
        if (m_direct3D != nullptr) {
            EXPECT_EQ(m_direct3D->Release(), 0u);
        }
        D3D8Test::TearDown();
    }

    virtual DeviceDescription Description() const { return {}; }

    // A vertex buffer of the program's kind: 0x42 vertices (position, colour) of 16 bytes.
    IDirect3DVertexBuffer8* CreateBuffer(UINT length, DWORD fvf = D3DFVF_XYZ | D3DFVF_DIFFUSE) {
        IDirect3DVertexBuffer8* buffer = nullptr;
        EXPECT_EQ(m_device->CreateVertexBuffer(length, 0, fvf, D3DPOOL_DEFAULT, &buffer), D3D_OK);
        return buffer;
    }

    IDirect3D8* m_direct3D = nullptr;
    IDirect3DDevice8* m_device = nullptr;
};

}  // namespace ostrel::d3d8::testing

#endif
