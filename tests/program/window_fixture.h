// A headless window manager with one class and one window, fresh for every test.
#ifndef OSTREL_TESTS_PROGRAM_WINDOW_FIXTURE_H
#define OSTREL_TESTS_PROGRAM_WINDOW_FIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/host/host_table.h"
#include "platform/runtime/runtime.h"
#include "platform/user32/window_table.h"

class WithAWindow {
protected:
    void CreateTestWindow(WNDPROC procedure, ostrel::Config config = ostrel::Config()) {
        config.host = ostrel::HostChoice::Headless;
        ostrel::Runtime::Install(config, ostrel::CreateHeadlessHost(config));
        ostrel::user32::ResetForTests();

        WNDCLASSEX wc{};
        wc.cbSize = sizeof(WNDCLASSEX);
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "OstrelTestClass";
        ASSERT_NE(RegisterClassExA(&wc), 0);
        window = CreateWindowExA(0, "OstrelTestClass", "test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, NULL, NULL,
                                 wc.hInstance, NULL);
        ASSERT_NE(window, nullptr);
    }

    static bool QuitIsWaiting() {
        MSG msg{};
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return true;
            }
        }
        return false;
    }

    HWND window = nullptr;
};

#endif
