// The main window's procedure: releasing Escape destroys the window, and its destruction posts
// the quit message that ends the main loop.
#ifndef OSTREL_SHELL_WINDOW_PROC_H
#define OSTREL_SHELL_WINDOW_PROC_H

#include <windows.h>

LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
