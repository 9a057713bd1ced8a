#pragma once
// Narrowing UTF-16 to 8-bit text, one byte for each unit: its low byte. This
// is how bytes that travel one to a unit (UTF-8 on its way to or from libxml2
// and files, Latin-1 for the C functions) come back out, and the one place
// where that rule is written. A unit above 0xFF loses its high byte, so
// U+0100 and U+4E00 both become 0x00; callers for whom such a unit must not
// pass as another character narrow exactly instead.

#include <string>

constexpr unsigned char LowByte(unsigned int unit) { return static_cast<unsigned char>(unit & 0xFF); }

// Whether a unit keeps its value when narrowed (0x00-0xFF).
constexpr bool NarrowsExactly(unsigned int unit) { return unit <= 0xFF; }

// n units of text as their low bytes; n < 0: up to the terminator. Null text
// gives the empty string.
std::string LowBytes(const unsigned short* text, int n = -1);

// The zero-terminated text as bytes when every unit narrows exactly; false,
// and out empty, when some unit is above 0xFF (or text is null).
bool NarrowExactly(const unsigned short* text, std::string& out);
