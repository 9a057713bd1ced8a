#pragma once
// The text of a list item's marker: its number written in the list's style,
// with the period that follows it (or precedes it, right to left).
//
// Marker types are the list-style-type codes of the style record: disc 0,
// circle 1, square 2, decimal 3, decimal-leading-zero 4, lower-roman 5,
// upper-roman 6, lower-greek 7, lower-latin 8, upper-latin 9, armenian 10,
// georgian 11, lower-alpha 12, upper-alpha 13, none 14.

#include "base/text/SafeBuf.h"

constexpr int kListDisc = 0;
constexpr int kListCircle = 1;
constexpr int kListSquare = 2;
constexpr int kListDecimal = 3;
constexpr int kListDecimalLeadingZero = 4;
constexpr int kListLowerRoman = 5;
constexpr int kListUpperRoman = 6;
constexpr int kListLowerGreek = 7;
constexpr int kListLowerLatin = 8;
constexpr int kListUpperLatin = 9;
constexpr int kListArmenian = 10;
constexpr int kListGeorgian = 11;
constexpr int kListLowerAlpha = 12;
constexpr int kListUpperAlpha = 13;
constexpr int kListNone = 14;

// Types 0 to 2 draw a shape; 3 to 13 draw text.
inline bool IsListShape(int type) { return type >= kListDisc && type <= kListSquare; }
inline bool IsListText(int type) { return type >= kListDecimal && type <= kListUpperAlpha; }

// n in letters, bijective base 26: 1 "A" ... 26 "Z", 27 "AA" ... 702 "ZZ",
// 703 "AAA" (upper case). Empty for n below 1.
void ListNumberToLetters(long n, CSafeBuf& text);

// The marker text of item n for a text type: "%d" (3), "%02d" (4), Roman
// numerals (5 lower, 6 upper), letters (8 and 12 lower, 9 and 13 upper), no
// digits for 7, 10 and 11; then "." after it, or in front of it when
// rightToLeft. Empty for the other types.
void ListMarkerText(int type, long n, bool rightToLeft, CSafeBuf& text);
