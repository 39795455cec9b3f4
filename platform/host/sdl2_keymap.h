// Stands in for the keyboard driver's translation of physical keys into Win32 virtual-key codes,
// for the keys a full-screen program reads. Keys outside the table have no code and are dropped;
// the left and right modifier keys both give the generic code (VK_SHIFT, not VK_LSHIFT), as
// WM_KEYDOWN reports them.
#ifndef OSTREL_PLATFORM_HOST_SDL2_KEYMAP_H
#define OSTREL_PLATFORM_HOST_SDL2_KEYMAP_H

#include <SDL2/SDL_keycode.h>

#include <cstdint>

namespace ostrel {

// The virtual-key code of a key SDL reported, or 0 when the key has none. The key symbol (which
// follows the keyboard layout) is tried first; letters and digits on a layout whose symbols are
// not Latin fall back to the key's position, which is what Win32 does for such layouts.
std::uint32_t VirtualKeyFromSdlKey(SDL_Keycode symbol, SDL_Scancode position);

}  // namespace ostrel

#endif
