// The one object that holds a run together: the Direct3D interface, the device, the scene's box,
// the run statistics and the log switch.
#ifndef OSTREL_APP_APPLICATION_H
#define OSTREL_APP_APPLICATION_H

#include <windows.h>

#include <d3d8.h>

class Box;

class Application {
public:
    Application();
    virtual ~Application();

    IDirect3DDevice8* GetDevice();

    // Event log (event_log.cpp)
    void StartLog();
    void WriteLog(const char* format, ...);

    // Start-up (render/device_init.cpp, render/display_format.cpp, geometry/scene.cpp)
    bool Initialise(HWND hWnd, UINT width, UINT height);
    HRESULT InitialiseD3D(HWND hWnd, UINT width, UINT height);
    D3DFORMAT FindDisplayFormat(UINT width, UINT height, UINT depth);
    bool CreateScene();

    // Running (main_loop.cpp, render/frame.cpp)
    void RunMessageLoop();
    void RenderFrame();
    void SetCameraTransforms();

protected:
    bool m_logEnabled;
    IDirect3D8* m_pDirect3D;
    IDirect3DDevice8* m_pDevice;
    DWORD m_frameCount;
    DWORD m_startTime;
    DWORD m_endTime;
    Box* m_pBox;
};

extern Application* g_pApplication;

void DestroyApplication();

#endif
