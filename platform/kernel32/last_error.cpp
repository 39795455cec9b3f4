// The calling thread's last-error code, as kernel32 keeps it: set by a failing call, left alone
// by a succeeding one.
#include <windows.h>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

}  // namespace

DWORD WINAPI GetLastError(void) {
    return lastError;
}

void WINAPI SetLastError(DWORD dwErrCode) {
    lastError = dwErrCode;
}
