// The window host's key translation: SDL's key symbols and positions to Win32 virtual-key codes.
#include "platform/host/sdl2_keymap.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace ostrel {
namespace {

struct KeyCase {
    const char* name;
    SDL_Keycode symbol;
    SDL_Scancode position;
    std::uint32_t expected;
};

void PrintTo(const KeyCase& key, std::ostream* out) {
    *out << key.name;
}

class Sdl2KeymapTest : public testing::TestWithParam<KeyCase> {};

TEST_P(Sdl2KeymapTest, GivesWin32VirtualKey) {
    const KeyCase& key = GetParam();
    EXPECT_EQ(VirtualKeyFromSdlKey(key.symbol, key.position), key.expected) << key.name;
}

// Symbols from a US layout, with the key's own position.
INSTANTIATE_TEST_SUITE_P(
    NamedKeys, Sdl2KeymapTest,
    testing::Values(KeyCase{"Escape", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
                    KeyCase{"Return", SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D},
                    KeyCase{"KeypadEnter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D},
                    KeyCase{"Space", SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20},
                    KeyCase{"Tab", SDLK_TAB, SDL_SCANCODE_TAB, 0x09},
                    KeyCase{"Backspace", SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0x08},
                    KeyCase{"Left", SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},
                    KeyCase{"Up", SDLK_UP, SDL_SCANCODE_UP, 0x26},
                    KeyCase{"Right", SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27},
                    KeyCase{"Down", SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
                    KeyCase{"Insert", SDLK_INSERT, SDL_SCANCODE_INSERT, 0x2D},
                    KeyCase{"Delete", SDLK_DELETE, SDL_SCANCODE_DELETE, 0x2E},
                    KeyCase{"Home", SDLK_HOME, SDL_SCANCODE_HOME, 0x24},
                    KeyCase{"End", SDLK_END, SDL_SCANCODE_END, 0x23},
                    KeyCase{"PageUp", SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0x21},
                    KeyCase{"PageDown", SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0x22},
                    KeyCase{"LeftShift", SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0x10},
                    KeyCase{"RightShift", SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0x10},
                    KeyCase{"LeftCtrl", SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0x11},
                    KeyCase{"RightCtrl", SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0x11},
                    KeyCase{"LeftAlt", SDLK_LALT, SDL_SCANCODE_LALT, 0x12},
                    KeyCase{"RightAlt", SDLK_RALT, SDL_SCANCODE_RALT, 0x12},
                    KeyCase{"Pause", SDLK_PAUSE, SDL_SCANCODE_PAUSE, 0x13},
                    KeyCase{"CapsLock", SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 0x14},
                    KeyCase{"F1", SDLK_F1, SDL_SCANCODE_F1, 0x70},
                    KeyCase{"F4", SDLK_F4, SDL_SCANCODE_F4, 0x73},
                    KeyCase{"F10", SDLK_F10, SDL_SCANCODE_F10, 0x79},
                    KeyCase{"F12", SDLK_F12, SDL_SCANCODE_F12, 0x7B}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// Letters and digits are upper-case ASCII; the layout's symbol wins over the key's position, so a
// QWERTZ 'z' (at the US 'y' position) is VK 'Z'.
INSTANTIATE_TEST_SUITE_P(
    LettersAndDigits, Sdl2KeymapTest,
    testing::Values(KeyCase{"A", SDLK_a, SDL_SCANCODE_A, 'A'}, KeyCase{"Z", SDLK_z, SDL_SCANCODE_Z, 'Z'},
                    KeyCase{"M", SDLK_m, SDL_SCANCODE_M, 'M'}, KeyCase{"Digit0", SDLK_0, SDL_SCANCODE_0, '0'},
                    KeyCase{"Digit1", SDLK_1, SDL_SCANCODE_1, '1'}, KeyCase{"Digit9", SDLK_9, SDL_SCANCODE_9, '9'},
                    KeyCase{"QwertzZ", SDLK_z, SDL_SCANCODE_Y, 'Z'}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// A symbol outside the table (a Cyrillic letter, an AZERTY digit-row character) falls back to the
// key's position for letters and digits only.
INSTANTIATE_TEST_SUITE_P(
    PositionFallback, Sdl2KeymapTest,
    testing::Values(KeyCase{"CyrillicEfOnA", 0x0444, SDL_SCANCODE_A, 'A'},
                    KeyCase{"CyrillicYaOnZ", 0x044F, SDL_SCANCODE_Z, 'Z'},
                    KeyCase{"AzertyAmpersandOn1", SDLK_AMPERSAND, SDL_SCANCODE_1, '1'},
                    KeyCase{"AzertyAGraveOn0", 0x00E0, SDL_SCANCODE_0, '0'}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// Keys without a virtual-key code in the table are dropped (0), whatever their position.
INSTANTIATE_TEST_SUITE_P(
    Unknown, Sdl2KeymapTest,
    testing::Values(KeyCase{"Semicolon", SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0},
                    KeyCase{"F13", SDLK_F13, SDL_SCANCODE_F13, 0},
                    KeyCase{"LeftGui", SDLK_LGUI, SDL_SCANCODE_LGUI, 0},
                    KeyCase{"KeypadPlus", SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 0},
                    KeyCase{"UnknownKey", SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ostrel
