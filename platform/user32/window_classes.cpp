// RegisterClassExA and UnregisterClassA: classes are looked up by name (without regard to case)
// or by the atom RegisterClassExA returned. The instance handle is recorded but not part of the
// key: the stand-in has one module, so application-local and global classes coincide.
#include <windows.h>

#include "platform/runtime/diagnostics.h"
#include "platform/user32/window_manager_state.h"

#include <algorithm>

using namespace ostrel;
using namespace ostrel::user32;

namespace {

bool IsStringName(LPCSTR name) {
    return reinterpret_cast<std::uintptr_t>(name) > 0xFFFF && name[0] != '\0';
}

}  // namespace

ATOM WINAPI RegisterClassExA(CONST WNDCLASSEXA* lpwcx) {
    const char* misuse = nullptr;
    if (lpwcx == nullptr) {
        misuse = "null class description";
    } else if (lpwcx->cbSize != sizeof(WNDCLASSEXA)) {
        misuse = "cbSize is not sizeof(WNDCLASSEXA)";
    } else if (lpwcx->lpfnWndProc == nullptr) {
        misuse = "null window procedure";
    } else if (lpwcx->lpszClassName == nullptr || !IsStringName(lpwcx->lpszClassName)) {
        misuse = "missing class name";
    } else if (lpwcx->cbClsExtra < 0 || lpwcx->cbWndExtra < 0) {
        misuse = "negative extra bytes";
    }
    if (misuse != nullptr) {
        WarnMisuse("RegisterClassExA", "%s", misuse);
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(lpwcx->lpszClassName) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowManagerState& state = State();
    WindowClass registered;
    registered.atom = state.nextAtom++;
    registered.name = lpwcx->lpszClassName;
    registered.procedure = lpwcx->lpfnWndProc;
    registered.style = lpwcx->style;
    registered.instance = lpwcx->hInstance;
    state.classes.push_back(registered);
    return registered.atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    const WindowClass* found = FindClass(lpClassName);
    if (found == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    WindowManagerState& state = State();
    const ATOM atom = found->atom;
    if (std::any_of(state.windows.begin(), state.windows.end(),
                    [atom](const Window& window) { return window.classAtom == atom; })) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    state.classes.erase(std::remove_if(state.classes.begin(), state.classes.end(),
                                       [atom](const WindowClass& windowClass) { return windowClass.atom == atom; }),
                        state.classes.end());
    return TRUE;
}
