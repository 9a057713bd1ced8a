#pragma once
// Keys of the desktop as the plug-in gets them: a GDK key (its symbol and
// modifier state) becomes the virtual key code, the key event message and
// the modifiers of the US layout. Shift, Control and Caps Lock map to
// themselves, Alt to Option and Super to Command.
//
// The desktop's Redo, Control+Shift+Z, is handed over as Command+Shift+Z:
// the US layout gives Control+Z's character for it.
//
// The symbol to map is the one the physical key gives without modifiers
// (the window looks it up from the hardware code), so Shift+1 is the "1"
// key with Shift and the message carries "!".

#include <cstdint>

namespace qm::host {

struct MappedKey
{
    std::uint8_t code = 0;
    std::uint16_t modifiers = 0;
    std::uint32_t message = 0;
};

std::uint16_t MapGdkModifiers(unsigned state);
// False for keys the US layout does not have (modifier keys alone, media keys).
bool MapGdkKey(unsigned keyval, unsigned state, MappedKey& out);
// The other way, for playing a page's key steps: the GDK symbol of a
// virtual key code (0 when there is none) and the GDK state of modifiers.
unsigned GdkKeyvalFor(std::uint8_t code);
unsigned GdkStateFor(std::uint16_t modifiers);

} // namespace qm::host
