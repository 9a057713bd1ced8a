#pragma once
// The named CSS colours: ColorTableName[i] is a lower-case keyword and
// ColorTableValue[i] its colour as 0xRRGGBB (red in the high byte, unlike
// the packed RGB layout). GetColor tries the rows in this order, so a longer
// name ("aquamarine") stands before a name it begins with ("aqua").
//
// The grey spellings "grey", "darkgrey", "dimgrey", "darkslategrey",
// "slategrey", "lightslategrey" and the spelling "lightgray" are not rows:
// "gray" and its compounds are, and "lightgrey".

constexpr int kColorTableSize = 140;

extern const char* const ColorTableName[kColorTableSize];
extern const unsigned int ColorTableValue[kColorTableSize];
