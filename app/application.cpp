#include "app/application.h"

#include <mmsystem.h>

#include "geometry/box.h"

Application::Application()
    : m_logEnabled(false),
      m_pDirect3D(NULL),
      m_pDevice(NULL),
      m_frameCount(0),
      m_startTime(0),
      m_endTime(0),
      m_pBox(NULL) {
}

Application::~Application() {
    m_endTime = timeGetTime();

    // Unsigned arithmetic keeps the duration true across the timer's wrap at 2^32 ms.
    DWORD seconds = (m_endTime - m_startTime) / 1000;

    WriteLog("Statistics:");
    WriteLog("\tStart Time (ms): %d", m_startTime);
    WriteLog("\tEnd Time (ms): %d", m_endTime);
    WriteLog("\tDuration (s): %d", seconds);
    WriteLog("\tTotal Frame Count: %d", m_frameCount);
    // A run shorter than one whole second has no whole-second average: report 0 rather than divide by 0.
    WriteLog("\tAverage FPS: %d", seconds != 0 ? m_frameCount / seconds : 0);

    if (m_pBox != NULL) {
        delete m_pBox;
        m_pBox = NULL;
    }
    if (m_pDevice != NULL) {
        m_pDevice->Release();
        m_pDevice = NULL;
    }
    if (m_pDirect3D != NULL) {
        m_pDirect3D->Release();
        m_pDirect3D = NULL;
    }
}

IDirect3DDevice8* Application::GetDevice() {
    return m_pDevice;
}

void DestroyApplication() {
    if (g_pApplication != NULL) {
        delete g_pApplication;
        g_pApplication = NULL;
    }
}
