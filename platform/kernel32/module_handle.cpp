// The program is the only module: GetModuleHandleA(NULL) names it, any other name is not loaded.
#include <windows.h>

namespace {

constexpr DWORD kErrorModuleNotFound = 126;

// Where an executable is traditionally loaded; only its being non-null matters.
const HMODULE kProgramModule = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x400000));

}  // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    if (lpModuleName == nullptr) {
        return kProgramModule;
    }
    SetLastError(kErrorModuleNotFound);
    return nullptr;
}
