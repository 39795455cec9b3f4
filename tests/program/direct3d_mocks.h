// GoogleMock doubles of the three Direct3D 8 interfaces, and the settable platform entry points
// (Direct3DCreate8, timeGetTime) the program's tests link instead of the stand-in's.
#ifndef OSTREL_TESTS_PROGRAM_DIRECT3D_MOCKS_H
#define OSTREL_TESTS_PROGRAM_DIRECT3D_MOCKS_H

#include <windows.h>

#include <d3d8.h>
#include <gmock/gmock.h>

class MockDirect3D8 : public IDirect3D8 {
public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), (override));
    MOCK_METHOD(ULONG, AddRef, (), (override));
    MOCK_METHOD(ULONG, Release, (), (override));
    MOCK_METHOD(UINT, GetAdapterCount, (), (override));
    MOCK_METHOD(UINT, GetAdapterModeCount, (UINT), (override));
    MOCK_METHOD(HRESULT, EnumAdapterModes, (UINT, UINT, D3DDISPLAYMODE*), (override));
    MOCK_METHOD(HRESULT, GetAdapterDisplayMode, (UINT, D3DDISPLAYMODE*), (override));
    MOCK_METHOD(HRESULT, CheckDeviceType, (UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, BOOL), (override));
    MOCK_METHOD(HRESULT, CheckDeviceFormat, (UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT),
                (override));
    MOCK_METHOD(HRESULT, CheckDepthStencilMatch, (UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, D3DFORMAT), (override));
    MOCK_METHOD(HRESULT, CreateDevice,
                (UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*, IDirect3DDevice8**), (override));
};

class MockDevice8 : public IDirect3DDevice8 {
public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), (override));
    MOCK_METHOD(ULONG, AddRef, (), (override));
    MOCK_METHOD(ULONG, Release, (), (override));
    MOCK_METHOD(HRESULT, TestCooperativeLevel, (), (override));
    MOCK_METHOD(HRESULT, GetDirect3D, (IDirect3D8**), (override));
    MOCK_METHOD(HRESULT, GetDisplayMode, (D3DDISPLAYMODE*), (override));
    MOCK_METHOD(HRESULT, Present, (CONST RECT*, CONST RECT*, HWND, CONST RGNDATA*), (override));
    MOCK_METHOD(HRESULT, CreateVertexBuffer, (UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8**), (override));
    MOCK_METHOD(HRESULT, BeginScene, (), (override));
    MOCK_METHOD(HRESULT, EndScene, (), (override));
    MOCK_METHOD(HRESULT, Clear, (DWORD, CONST D3DRECT*, DWORD, D3DCOLOR, float, DWORD), (override));
    MOCK_METHOD(HRESULT, SetTransform, (D3DTRANSFORMSTATETYPE, CONST D3DMATRIX*), (override));
    MOCK_METHOD(HRESULT, GetTransform, (D3DTRANSFORMSTATETYPE, D3DMATRIX*), (override));
    MOCK_METHOD(HRESULT, SetViewport, (CONST D3DVIEWPORT8*), (override));
    MOCK_METHOD(HRESULT, GetViewport, (D3DVIEWPORT8*), (override));
    MOCK_METHOD(HRESULT, SetRenderState, (D3DRENDERSTATETYPE, DWORD), (override));
    MOCK_METHOD(HRESULT, GetRenderState, (D3DRENDERSTATETYPE, DWORD*), (override));
    MOCK_METHOD(HRESULT, DrawPrimitive, (D3DPRIMITIVETYPE, UINT, UINT), (override));
    MOCK_METHOD(HRESULT, SetVertexShader, (DWORD), (override));
    MOCK_METHOD(HRESULT, GetVertexShader, (DWORD*), (override));
    MOCK_METHOD(HRESULT, SetStreamSource, (UINT, IDirect3DVertexBuffer8*, UINT), (override));
    MOCK_METHOD(HRESULT, GetStreamSource, (UINT, IDirect3DVertexBuffer8**, UINT*), (override));
};

class MockVertexBuffer8 : public IDirect3DVertexBuffer8 {
public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), (override));
    MOCK_METHOD(ULONG, AddRef, (), (override));
    MOCK_METHOD(ULONG, Release, (), (override));
    MOCK_METHOD(HRESULT, GetDevice, (IDirect3DDevice8**), (override));
    MOCK_METHOD(D3DRESOURCETYPE, GetType, (), (override));
    MOCK_METHOD(HRESULT, Lock, (UINT, UINT, BYTE**, DWORD), (override));
    MOCK_METHOD(HRESULT, Unlock, (), (override));
    MOCK_METHOD(HRESULT, GetDesc, (D3DVERTEXBUFFER_DESC*), (override));
};

// A mock vertex buffer whose Lock hands out real memory, as a working buffer would.
struct MockVertexBufferWithMemory {
    ::testing::NiceMock<MockVertexBuffer8> buffer;
    BYTE memory[288] = {};
    int locks = 0;

    MockVertexBufferWithMemory() {
        ON_CALL(buffer, Lock).WillByDefault([this](UINT, UINT, BYTE** out, DWORD) {
            ++locks;
            *out = memory;
            return D3D_OK;
        });
    }
};

// What the program's Direct3DCreate8 returns, and what it was asked for.
struct FakeDirect3DCreate {
    static IDirect3D8* next;
    static UINT lastSdkVersion;
    static int calls;
};

// What the program's timeGetTime returns.
struct FakeTimer {
    static DWORD nowMs;
};

#endif
