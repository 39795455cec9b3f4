// What the rest of the stand-in platform may ask the window manager beyond the Win32 API.
#ifndef OSTREL_PLATFORM_USER32_WINDOW_TABLE_H
#define OSTREL_PLATFORM_USER32_WINDOW_TABLE_H

#include <windows.h>

#include "platform/host/host.h"

namespace ostrel::user32 {

// The host window behind a live HWND; 0 when hWnd is null, destroyed or never existed.
HostWindowId HostWindowOf(HWND hWnd);

// Forgets every class, window and queued message (tests run many cases in one process).
void ResetForTests();

}  // namespace ostrel::user32

#endif
