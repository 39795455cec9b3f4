// Window classes: what RegisterClassExA refuses and why, lookup by name or atom, and the
// conditions under which a class can go away.
#include "tests/platform/user32/user32_fixture.h"

namespace ostrel::user32::testing {
namespace {

LRESULT CALLBACK AnyProcedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

WNDCLASSEXA ValidClass(const char* name) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = AnyProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    return windowClass;
}

class WindowClassTest : public User32Test {};

TEST_F(WindowClassTest, RegistrationRefusesBadDescriptionsWithTheRealCodes) {
    const struct {
        const char* name;
        void (*spoil)(WNDCLASSEXA&);
        DWORD error;
    } cases[] = {
        {"cbSize too small", [](WNDCLASSEXA& c) { c.cbSize = sizeof c - 4; }, ERROR_INVALID_PARAMETER},
        {"cbSize zero", [](WNDCLASSEXA& c) { c.cbSize = 0; }, ERROR_INVALID_PARAMETER},
        {"no procedure", [](WNDCLASSEXA& c) { c.lpfnWndProc = nullptr; }, ERROR_INVALID_PARAMETER},
        {"no name", [](WNDCLASSEXA& c) { c.lpszClassName = nullptr; }, ERROR_INVALID_PARAMETER},
        {"empty name", [](WNDCLASSEXA& c) { c.lpszClassName = ""; }, ERROR_INVALID_PARAMETER},
        {"negative extra bytes", [](WNDCLASSEXA& c) { c.cbWndExtra = -1; }, ERROR_INVALID_PARAMETER},
        {"name taken", [](WNDCLASSEXA& c) { c.lpszClassName = kTestClassName; }, ERROR_CLASS_ALREADY_EXISTS},
        {"name taken in other case", [](WNDCLASSEXA& c) { c.lpszClassName = "OSTRELUSER32TEST"; },
         ERROR_CLASS_ALREADY_EXISTS},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        WNDCLASSEXA windowClass = ValidClass("Fresh");
        test.spoil(windowClass);
        SetLastError(0);
        EXPECT_EQ(RegisterClassExA(&windowClass), 0);
        EXPECT_EQ(GetLastError(), test.error);
    }
    SetLastError(0);
    EXPECT_EQ(RegisterClassExA(nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // Nothing refused was registered.
    EXPECT_FALSE(UnregisterClassA("Fresh", nullptr));
}

TEST_F(WindowClassTest, EachClassGetsItsOwnAtomAndAnswersToIt) {
    const WNDCLASSEXA first = ValidClass("First");
    const WNDCLASSEXA second = ValidClass("Second");
    const ATOM firstAtom = RegisterClassExA(&first);
    const ATOM secondAtom = RegisterClassExA(&second);
    ASSERT_NE(firstAtom, 0);
    ASSERT_NE(secondAtom, 0);
    EXPECT_NE(firstAtom, secondAtom);
    const auto* byAtom = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(secondAtom));
    EXPECT_NE(CreateWindowExA(0, byAtom, "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_NE(CreateWindowExA(0, "first", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowClassTest, CreatingFromAnUnknownClassFails) {
    for (const LPCSTR name : {"Nowhere", static_cast<LPCSTR>(nullptr)}) {
        SetLastError(0);
        EXPECT_EQ(CreateWindowExA(0, name, "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    }
    EXPECT_EQ(m_host->WindowCount(), 0u);
}

TEST_F(WindowClassTest, AClassWithWindowsStaysUntilTheyAreGone) {
    const HWND window = CreateTestWindow();
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassA(kTestClassName, GetModuleHandleA(nullptr)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));

    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(UnregisterClassA(kTestClassName, GetModuleHandleA(nullptr)));

    SetLastError(0);
    EXPECT_FALSE(UnregisterClassA(kTestClassName, GetModuleHandleA(nullptr)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
    SetLastError(0);
    EXPECT_EQ(CreateTestWindow(), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));

    // The name is free again.
    const WNDCLASSEXA again = ValidClass(kTestClassName);
    EXPECT_NE(RegisterClassExA(&again), 0);
}

TEST_F(WindowClassTest, AChildStyleWithoutAParentIsRefused) {
    EXPECT_EQ(CreateTestWindow("orphan", WS_CHILD), nullptr);
    EXPECT_EQ(m_host->WindowCount(), 0u);
}

}  // namespace
}  // namespace ostrel::user32::testing
