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

} // namespace qm::host
