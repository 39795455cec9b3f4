// The two platform entry points the program's tests control: the Direct3D factory and the timer.
#include <mmsystem.h>

#include "program/direct3d_mocks.h"

IDirect3D8* FakeDirect3DCreate::next = nullptr;
UINT FakeDirect3DCreate::lastSdkVersion = 0;
int FakeDirect3DCreate::calls = 0;
DWORD FakeTimer::nowMs = 0;

IDirect3D8* WINAPI Direct3DCreate8(UINT SDKVersion) {
    FakeDirect3DCreate::lastSdkVersion = SDKVersion;
    ++FakeDirect3DCreate::calls;
    return FakeDirect3DCreate::next;
}

DWORD WINAPI timeGetTime(void) {
    return FakeTimer::nowMs;
}
