// The few system resources the program asks user32 for: the screen size and the arrow cursor.
#include <windows.h>

#include "platform/runtime/runtime.h"

namespace {

// The real platform answers a resource it cannot find with this code.
constexpr DWORD kErrorResourceNameNotFound = 1814;

// Any non-null value will do: the host draws its own cursor, and nothing dereferences a handle.
const HCURSOR kArrowCursor = reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(0x10003));

}  // namespace

int WINAPI GetSystemMetrics(int nIndex) {
    const ostrel::DesktopMode desktop = ostrel::Runtime::Get().GetHost().Desktop();
    switch (nIndex) {
    case SM_CXSCREEN:
        return static_cast<int>(desktop.width);
    case SM_CYSCREEN:
        return static_cast<int>(desktop.height);
    default:
        return 0;  // the real platform's answer for an index it does not know
    }
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    // Only the system's arrow exists: no module of this platform carries cursor resources.
    if (hInstance == nullptr && lpCursorName == IDC_ARROW) {
        return kArrowCursor;
    }
    SetLastError(kErrorResourceNameNotFound);
    return nullptr;
}
