#include "platform/host/sdl2_keymap.h"

#include <array>

namespace ostrel {
namespace {

struct KeyPair {
    SDL_Keycode symbol;
    std::uint32_t virtualKey;
};

// Win32's VK_* values for the keys that are not letters or digits.
constexpr std::array<KeyPair, 36> kNamedKeys{{
    {SDLK_ESCAPE, 0x1B},    {SDLK_RETURN, 0x0D},   {SDLK_KP_ENTER, 0x0D},  // keypad Enter: VK_RETURN (extended)
    {SDLK_SPACE, 0x20},     {SDLK_TAB, 0x09},      {SDLK_BACKSPACE, 0x08},
    {SDLK_LEFT, 0x25},      {SDLK_UP, 0x26},       {SDLK_RIGHT, 0x27},     {SDLK_DOWN, 0x28},
    {SDLK_INSERT, 0x2D},    {SDLK_DELETE, 0x2E},   {SDLK_HOME, 0x24},      {SDLK_END, 0x23},
    {SDLK_PAGEUP, 0x21},    {SDLK_PAGEDOWN, 0x22},
    {SDLK_LSHIFT, 0x10},    {SDLK_RSHIFT, 0x10},   {SDLK_LCTRL, 0x11},     {SDLK_RCTRL, 0x11},
    {SDLK_LALT, 0x12},      {SDLK_RALT, 0x12},     {SDLK_PAUSE, 0x13},     {SDLK_CAPSLOCK, 0x14},
    {SDLK_F1, 0x70},        {SDLK_F2, 0x71},       {SDLK_F3, 0x72},        {SDLK_F4, 0x73},
    {SDLK_F5, 0x74},        {SDLK_F6, 0x75},       {SDLK_F7, 0x76},        {SDLK_F8, 0x77},
    {SDLK_F9, 0x78},        {SDLK_F10, 0x79},      {SDLK_F11, 0x7A},       {SDLK_F12, 0x7B},
}};

std::uint32_t VirtualKeyFromSymbol(SDL_Keycode symbol) {
    // SDL's symbols for printable keys are the lower-case characters; VK_A..VK_Z are upper-case ASCII.
    if (symbol >= SDLK_a && symbol <= SDLK_z) return static_cast<std::uint32_t>('A' + (symbol - SDLK_a));
    if (symbol >= SDLK_0 && symbol <= SDLK_9) return static_cast<std::uint32_t>('0' + (symbol - SDLK_0));
    for (const KeyPair& pair : kNamedKeys) {
        if (pair.symbol == symbol) return pair.virtualKey;
    }
    return 0;
}

std::uint32_t VirtualKeyFromPosition(SDL_Scancode position) {
    if (position >= SDL_SCANCODE_A && position <= SDL_SCANCODE_Z) {
        return static_cast<std::uint32_t>('A' + (position - SDL_SCANCODE_A));
    }
    // The digit row runs 1, 2, …, 9, 0 in scancode order.
    if (position >= SDL_SCANCODE_1 && position <= SDL_SCANCODE_9) {
        return static_cast<std::uint32_t>('1' + (position - SDL_SCANCODE_1));
    }
    if (position == SDL_SCANCODE_0) return '0';
    return 0;
}

}  // namespace

std::uint32_t VirtualKeyFromSdlKey(SDL_Keycode symbol, SDL_Scancode position) {
    const std::uint32_t fromSymbol = VirtualKeyFromSymbol(symbol);
    return fromSymbol != 0 ? fromSymbol : VirtualKeyFromPosition(position);
}

}  // namespace ostrel
