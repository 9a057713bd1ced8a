#pragma once
// The US keyboard as the host types on it: which key (and whether Shift is
// needed) gives a character, and the key event message a key gives under
// its modifiers (the virtual key code in the second byte, the character, when
// it is ASCII, in the low byte).

#include <cstdint>

namespace qm::host {

// False when no US key gives the character (it is typed through an input
// method instead). Return, line feed and Tab give their keys.
bool UsKeyFor(char32_t c, std::uint8_t& code, std::uint16_t& modifiers);

std::uint32_t UsKeyMessage(std::uint8_t code, std::uint16_t modifiers);

// The character a key gives under its modifiers, as a browser hands it over
// in the text-input event that follows the key-down: Return 13, Backspace
// 8, the arrows 28-31, Control with a letter 1-26, Command with a letter the
// letter. 0 when the key gives none.
char16_t UsKeyCharacter(std::uint8_t code, std::uint16_t modifiers);

} // namespace qm::host
