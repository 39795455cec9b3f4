#include <windows.h>

#include <chrono>
#include <thread>

void WINAPI Sleep(DWORD dwMilliseconds) {
    // Sleep(0) gives up the rest of the time slice, as on the real platform.
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}
