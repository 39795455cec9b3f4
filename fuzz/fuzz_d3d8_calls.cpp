// The Direct3D 8 stand-in driven by a sequence of calls with arbitrary arguments, as a careless
// program might make them: devices of any description, buffers of any size, locks past the end,
// draws of any count inside and outside a scene, objects released in any order. Every call must
// answer with a code and never crash or touch memory it does not own (the sanitizers check), and
// once the harness has released every reference it holds, no Direct3D object may be left alive.
#include <d3d8.h>
#include <windows.h>

#include "fuzz/fuzz_input.h"
#include "platform/host/host_table.h"
#include "platform/runtime/config.h"
#include "platform/runtime/live_objects.h"
#include "platform/runtime/runtime.h"
#include "platform/user32/window_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using ostrel::fuzz::FuzzInput;

LRESULT CALLBACK FuzzWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_d3d8_calls: %s\n", what);
    std::abort();
}

// An answer is a success (S_OK, or S_FALSE-like) or an error code with the severity bit set;
// nothing else is a code at all.
void ExpectCode(HRESULT result) {
    if (result != D3D_OK && result >= 0 && result != 1) {
        Fail("a call answered with something that is not a code");
    }
}

// Objects the harness holds, with how many references it owns on each. An object whose count
// the harness brought to zero is forgotten: touching it again would be the harness's own bug.
template <typename Interface>
struct Held {
    Interface* object = nullptr;
    unsigned references = 0;
};

struct HeldBuffer : Held<IDirect3DVertexBuffer8> {
    BYTE* locked = nullptr;        // from the last successful Lock, until Unlock
    std::size_t lockedBytes = 0;
};

constexpr int kSlots = 3;

struct Harness {
    HWND window = nullptr;
    Held<IDirect3D8> direct3D[kSlots];
    Held<IDirect3DDevice8> devices[kSlots];
    HeldBuffer buffers[kSlots];

    template <typename Interface>
    static void Forget(Held<Interface>& held) {
        held.object = nullptr;
        held.references = 0;
    }

    template <typename Interface>
    static void ReleaseOnce(Held<Interface>& held) {
        if (held.object == nullptr) {
            return;
        }
        held.object->Release();
        if (--held.references == 0) {
            Forget(held);
        }
    }

    template <typename Interface>
    static void ReleaseAll(Held<Interface>& held) {
        while (held.object != nullptr) {
            ReleaseOnce(held);
        }
    }

    // A newly made object goes into its slot; whatever the slot held is let go first.
    template <typename Interface>
    static void Keep(Held<Interface>& held, Interface* object) {
        ReleaseAll(held);
        if (object != nullptr) {
            held.object = object;
            held.references = 1;
        }
    }
};

const UINT kSides[] = {0, 1, 2, 3, 17, 32, 48, 64, 640, 800, 16385, 0x80000000u, 0xFFFFFFFFu};
const D3DFORMAT kFormats[] = {D3DFMT_UNKNOWN, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R8G8B8, D3DFMT_R5G6B5,
                              D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4,
                              D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D32, static_cast<D3DFORMAT>(0x7fffffff)};
const UINT kLengths[] = {0, 1, 15, 16, 24, 288, 4096, 256u * 1024u * 1024u + 1u, 0x80000000u, 0xFFFFFFFFu};
const DWORD kFvfs[] = {0,
                       D3DFVF_XYZ,
                       D3DFVF_XYZ | D3DFVF_DIFFUSE,
                       D3DFVF_XYZRHW | D3DFVF_DIFFUSE,
                       D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2,
                       D3DFVF_XYZRHW,
                       D3DFVF_DIFFUSE,
                       1,
                       0xFFFFFFFFu};

D3DPRESENT_PARAMETERS RandomParameters(FuzzInput& in, HWND window) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = in.Boolean() ? in.Pick(kSides) : in.Byte();
    parameters.BackBufferHeight = in.Boolean() ? in.Pick(kSides) : in.Byte();
    parameters.BackBufferFormat = in.Pick(kFormats);
    parameters.BackBufferCount = in.Byte() % 4;
    parameters.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(in.Byte() % 3);
    parameters.SwapEffect = static_cast<D3DSWAPEFFECT>(in.Byte() % 6);
    parameters.hDeviceWindow = in.Byte() % 4 == 0 ? reinterpret_cast<HWND>(in.Word()) : window;
    parameters.Windowed = in.Boolean() ? TRUE : FALSE;
    parameters.EnableAutoDepthStencil = in.Boolean() ? TRUE : FALSE;
    parameters.AutoDepthStencilFormat = in.Pick(kFormats);
    parameters.Flags = in.Byte() % 3;
    parameters.FullScreen_RefreshRateInHz = in.Byte() % 2 == 0 ? 0 : in.Word();
    parameters.FullScreen_PresentationInterval = in.Boolean() ? in.Byte() % 3 : in.Word();
    return parameters;
}

D3DMATRIX RandomMatrix(FuzzInput& in) {
    D3DMATRIX matrix;
    float* cells = &matrix._11;
    for (int i = 0; i < 16; ++i) {
        cells[i] = in.Float();
    }
    return matrix;
}

void WriteIntoLocked(FuzzInput& in, HeldBuffer& held) {
    if (held.locked == nullptr || held.lockedBytes == 0) {
        return;
    }
    // The first and the last byte the lock promised, then a run of the input's bytes.
    held.locked[0] = in.Byte();
    held.locked[held.lockedBytes - 1] = in.Byte();
    const std::size_t offset = in.Word() % held.lockedBytes;
    const std::size_t count = std::min<std::size_t>(in.Byte(), held.lockedBytes - offset);
    for (std::size_t i = 0; i < count; ++i) {
        held.locked[offset + i] = in.Byte();
    }
}

void Step(FuzzInput& in, Harness& h) {
    auto& d3d = h.direct3D[in.Byte() % kSlots];
    auto& device = h.devices[in.Byte() % kSlots];
    auto& buffer = h.buffers[in.Byte() % kSlots];
    switch (in.Byte() % 24) {
    case 0:
        Harness::Keep(d3d, Direct3DCreate8(in.Boolean() ? D3D_SDK_VERSION : in.Word()));
        break;
    case 1: {
        if (d3d.object == nullptr) {
            break;
        }
        D3DPRESENT_PARAMETERS parameters = RandomParameters(in, h.window);
        IDirect3DDevice8* made = nullptr;
        const UINT adapter = in.Byte() % 4 == 0 ? in.Byte() : D3DADAPTER_DEFAULT;
        const auto type = static_cast<D3DDEVTYPE>(in.Byte() % 4);
        const HWND focus = in.Byte() % 4 == 0 ? nullptr : h.window;
        const DWORD behaviour = in.Boolean() ? D3DCREATE_SOFTWARE_VERTEXPROCESSING : in.Word();
        const HRESULT result = in.Byte() % 8 == 0
                                   ? d3d.object->CreateDevice(adapter, type, focus, behaviour, nullptr, &made)
                                   : d3d.object->CreateDevice(adapter, type, focus, behaviour, &parameters, &made);
        ExpectCode(result);
        if (result != D3D_OK && made != nullptr) {
            Fail("CreateDevice failed but gave a device");
        }
        Harness::Keep(device, result == D3D_OK ? made : nullptr);
        break;
    }
    case 2: {
        if (device.object == nullptr) {
            break;
        }
        IDirect3DVertexBuffer8* made = nullptr;
        const UINT length = in.Boolean() ? in.Pick(kLengths) : in.Word() % 8192;
        const DWORD usage = in.Boolean() ? D3DUSAGE_WRITEONLY : in.Word();
        const auto pool = static_cast<D3DPOOL>(in.Byte() % 5);
        const HRESULT result = device.object->CreateVertexBuffer(length, usage, in.Pick(kFvfs), pool, &made);
        ExpectCode(result);
        if (result != D3D_OK && made != nullptr) {
            Fail("CreateVertexBuffer failed but gave a buffer");
        }
        Harness::Keep(buffer, result == D3D_OK ? made : nullptr);
        buffer.locked = nullptr;
        buffer.lockedBytes = 0;
        break;
    }
    case 3: {
        if (buffer.object == nullptr) {
            break;
        }
        D3DVERTEXBUFFER_DESC description{};
        ExpectCode(buffer.object->GetDesc(&description));
        const UINT offset = in.Boolean() ? in.Word() % (description.Size + 8) : in.Word();
        const UINT size = in.Boolean() ? in.Word() % (description.Size + 8) : in.Word();
        BYTE* data = nullptr;
        const HRESULT result = buffer.object->Lock(offset, size, &data, in.Word());
        ExpectCode(result);
        if (result == D3D_OK) {
            if (data == nullptr) {
                Fail("Lock succeeded without memory");
            }
            buffer.locked = data;
            buffer.lockedBytes = size == 0 ? description.Size - offset : size;
            WriteIntoLocked(in, buffer);
        }
        break;
    }
    case 4:
        WriteIntoLocked(in, buffer);
        break;
    case 5:
        if (buffer.object != nullptr) {
            if (buffer.object->Unlock() == D3D_OK) {
                buffer.locked = nullptr;
                buffer.lockedBytes = 0;
            }
        }
        break;
    case 6:
        if (device.object != nullptr) {
            const UINT stream = in.Byte() % 10 == 0 ? in.Byte() : 0;
            const UINT stride = in.Boolean() ? in.Byte() % 64 : in.Word();
            ExpectCode(device.object->SetStreamSource(stream, in.Boolean() ? buffer.object : nullptr, stride));
        }
        break;
    case 7:
        if (device.object != nullptr) {
            ExpectCode(device.object->SetVertexShader(in.Boolean() ? in.Pick(kFvfs) : in.Word()));
        }
        break;
    case 8:
        if (device.object != nullptr) {
            const auto type = static_cast<D3DPRIMITIVETYPE>(in.Byte() % 8);
            const UINT start = in.Boolean() ? in.Byte() : in.Word();
            const UINT count = in.Boolean() ? in.Byte() : in.Word();
            ExpectCode(device.object->DrawPrimitive(type, start, count));
        }
        break;
    case 9:
        if (device.object != nullptr) {
            ExpectCode(device.object->BeginScene());
        }
        break;
    case 10:
        if (device.object != nullptr) {
            ExpectCode(device.object->EndScene());
        }
        break;
    case 11:
        if (device.object != nullptr) {
            D3DRECT rects[3];
            for (D3DRECT& rect : rects) {
                rect = {static_cast<LONG>(in.Word()), static_cast<LONG>(in.Word()), static_cast<LONG>(in.Word()),
                        static_cast<LONG>(in.Word())};
            }
            const DWORD count = in.Byte() % 4;
            const DWORD flags = in.Boolean() ? in.Byte() % 8 : in.Word();
            const bool withRects = in.Byte() % 8 != 0;
            const D3DCOLOR colour = in.Word();
            const float z = in.Float();
            const DWORD stencil = in.Word();
            ExpectCode(device.object->Clear(count, withRects ? rects : nullptr, flags, colour, z, stencil));
        }
        break;
    case 12:
        if (device.object != nullptr) {
            const D3DMATRIX matrix = RandomMatrix(in);
            const DWORD state = in.Boolean() ? 2 + in.Byte() % 2 : (in.Boolean() ? 256 : in.EnumerationWord());
            ExpectCode(device.object->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(state),
                                                   in.Byte() % 8 == 0 ? nullptr : &matrix));
        }
        break;
    case 13:
        if (device.object != nullptr) {
            const DWORD state = in.Boolean() ? in.Byte() : in.EnumerationWord();
            ExpectCode(device.object->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), in.Word()));
        }
        break;
    case 14:
        if (device.object != nullptr) {
            D3DVIEWPORT8 viewport{};
            viewport.X = in.Boolean() ? in.Byte() : in.Word();
            viewport.Y = in.Boolean() ? in.Byte() : in.Word();
            viewport.Width = in.Boolean() ? in.Byte() : in.Word();
            viewport.Height = in.Boolean() ? in.Byte() : in.Word();
            viewport.MinZ = in.Float();
            viewport.MaxZ = in.Float();
            ExpectCode(device.object->SetViewport(in.Byte() % 8 == 0 ? nullptr : &viewport));
        }
        break;
    case 15:
        if (device.object != nullptr) {
            const RECT rect = {static_cast<LONG>(in.Word()), static_cast<LONG>(in.Word()),
                               static_cast<LONG>(in.Word()), static_cast<LONG>(in.Word())};
            const bool withRects = in.Byte() % 4 == 0;
            const HWND target = in.Byte() % 4 == 0 ? reinterpret_cast<HWND>(in.Word()) : nullptr;
            ExpectCode(device.object->Present(withRects ? &rect : nullptr, withRects ? &rect : nullptr, target,
                                              nullptr));
        }
        break;
    case 16:
        if (d3d.object != nullptr) {
            d3d.object->AddRef();
            ++d3d.references;
        }
        if (device.object != nullptr) {
            device.object->AddRef();
            ++device.references;
        }
        if (buffer.object != nullptr) {
            buffer.object->AddRef();
            ++buffer.references;
        }
        break;
    case 17:
        // The harness's last reference may go while other objects still hold this one.
        switch (in.Byte() % 3) {
        case 0: Harness::ReleaseOnce(d3d); break;
        case 1: Harness::ReleaseOnce(device); break;
        default:
            if (buffer.references == 1) {
                buffer.locked = nullptr;
                buffer.lockedBytes = 0;
            }
            Harness::ReleaseOnce(buffer);
            break;
        }
        break;
    case 18:
        if (device.object != nullptr) {
            IDirect3D8* parent = nullptr;
            const HRESULT result = device.object->GetDirect3D(in.Byte() % 8 == 0 ? nullptr : &parent);
            ExpectCode(result);
            if (result == D3D_OK) {
                // A reference of its own: kept in a slot or given back at once.
                if (in.Boolean()) {
                    Harness::Keep(d3d, parent);
                } else {
                    parent->Release();
                }
            }
        }
        break;
    case 19:
        if (buffer.object != nullptr) {
            IDirect3DDevice8* owner = nullptr;
            const HRESULT result = buffer.object->GetDevice(in.Byte() % 8 == 0 ? nullptr : &owner);
            ExpectCode(result);
            if (result == D3D_OK) {
                if (in.Boolean()) {
                    Harness::Keep(device, owner);
                } else {
                    owner->Release();
                }
            }
        }
        break;
    case 20:
        if (device.object != nullptr) {
            IDirect3DVertexBuffer8* bound = nullptr;
            UINT stride = 0;
            const UINT stream = in.Byte() % 10 == 0 ? in.Byte() : 0;
            const HRESULT result = device.object->GetStreamSource(stream, &bound, &stride);
            ExpectCode(result);
            if (result == D3D_OK && bound != nullptr) {
                if (in.Boolean()) {
                    Harness::Keep(buffer, bound);
                    buffer.locked = nullptr;
                    buffer.lockedBytes = 0;
                } else {
                    bound->Release();
                }
            }
        }
        break;
    case 21:
        if (device.object != nullptr) {
            D3DMATRIX matrix;
            DWORD value = 0;
            D3DVIEWPORT8 viewport;
            ExpectCode(device.object->GetTransform(static_cast<D3DTRANSFORMSTATETYPE>(in.EnumerationWord()), &matrix));
            ExpectCode(device.object->GetRenderState(static_cast<D3DRENDERSTATETYPE>(in.EnumerationWord()), &value));
            ExpectCode(device.object->GetViewport(&viewport));
            ExpectCode(device.object->TestCooperativeLevel());
        }
        break;
    case 22:
        if (d3d.object != nullptr) {
            D3DDISPLAYMODE mode;
            const UINT adapter = in.Byte() % 4 == 0 ? in.Byte() : D3DADAPTER_DEFAULT;
            const UINT count = d3d.object->GetAdapterModeCount(adapter);
            ExpectCode(d3d.object->EnumAdapterModes(adapter, count == 0 ? in.Byte() : in.Byte() % (count + 2), &mode));
            const D3DFORMAT display = in.Pick(kFormats);
            const D3DFORMAT backBuffer = in.Pick(kFormats);
            const D3DFORMAT depth = in.Pick(kFormats);
            const BOOL windowed = in.Boolean() ? TRUE : FALSE;
            ExpectCode(d3d.object->CheckDeviceType(adapter, D3DDEVTYPE_HAL, display, backBuffer, windowed));
            ExpectCode(d3d.object->CheckDepthStencilMatch(adapter, D3DDEVTYPE_HAL, display, backBuffer, depth));
        }
        break;
    default:
        // The window goes while devices may still present into it, as when the user closes it.
        if (in.Byte() % 4 == 0 && IsWindow(h.window)) {
            DestroyWindow(h.window);
        }
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ostrel::Config config;
    config.host = ostrel::HostChoice::Headless;
    config.present = ostrel::PresentMode::Immediate;
    config.modes = std::vector<ostrel::ModeSpec>{{64, 48, D3DFMT_X8R8G8B8, std::nullopt},
                                                 {32, 24, D3DFMT_R5G6B5, std::nullopt},
                                                 {17, 3, D3DFMT_X1R5G5B5, 75u}};
    ostrel::Runtime::Install(config, ostrel::CreateHeadlessHost(config));
    ostrel::user32::ResetForTests();

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FuzzWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OstrelFuzz";
    RegisterClassExA(&windowClass);

    Harness harness;
    harness.window = CreateWindowExA(0, "OstrelFuzz", "fuzz", WS_OVERLAPPEDWINDOW, 0, 0, 64, 48, nullptr, nullptr,
                                     windowClass.hInstance, nullptr);
    if (harness.window == nullptr) {
        Fail("no window");
    }

    FuzzInput in(data, size);
    for (int steps = 0; steps < 200 && !in.Empty(); ++steps) {
        Step(in, harness);
    }

    // Everything the harness holds goes, in an order the input chose: whatever order the program
    // lets go in, nothing may stay alive.
    const bool devicesFirst = in.Boolean();
    for (int slot = 0; slot < kSlots; ++slot) {
        if (devicesFirst) {
            Harness::ReleaseAll(harness.devices[slot]);
        }
        Harness::ReleaseAll(harness.buffers[slot]);
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        Harness::ReleaseAll(harness.devices[slot]);
        Harness::ReleaseAll(harness.direct3D[slot]);
    }
    if (!ostrel::LiveObjects().empty()) {
        ostrel::ReportLiveObjects();
        Fail("Direct3D objects outlived every reference the program held");
    }
    if (IsWindow(harness.window)) {
        DestroyWindow(harness.window);
    }
    ostrel::user32::ResetForTests();
    return 0;
}
