#include "app/application.h"

#include <mmsystem.h>

void Application::RunMessageLoop() {
    MSG msg;
    // Only msg.message is read before the loop; start from "no quit message" whatever Peek finds.
    ZeroMemory(&msg, sizeof(msg));
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);

    m_startTime = timeGetTime();

    while (msg.message != WM_QUIT) {
        if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            // Nothing waiting: draw. Present paces the loop to the display's refresh.
            RenderFrame();
        }
    }
}
