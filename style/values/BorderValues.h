#pragma once
// Border widths and line styles as the border side records store them.

// Line style codes (signed 32-bit in the side records).
constexpr int kLineSolid = 1;
constexpr int kLineDotted = 3;
constexpr int kLineDashed = 4;
constexpr int kLineDouble = 100;
constexpr int kLineGroove = 101;
constexpr int kLineRidge = 102;
constexpr int kLineInset = 103;
constexpr int kLineWindowInset = 104;
constexpr int kLineOutset = 105;
constexpr int kLineNone = 106;
constexpr int kLineInherit = 107;
constexpr int kLineHidden = 108;
constexpr int kLineNotAStyle = 65535;

// The code of a line style word, compared without regard to ASCII case.
// Without search the text must be exactly one of the words. With search the
// first of the words dashed, dotted, solid, double, groove, ridge,
// window-inset, inset, outset, none, hidden, inherit that occurs anywhere in
// the text wins, so a value holding "window-inset" is 104, not 103.
// kLineNotAStyle when nothing fits, and for null.
int GetLineType(const unsigned short* text, bool search);

// A border width in pixels. A text containing "thin" is 1, "medium" 3,
// "thick" 5 (tried in that order, any case). Otherwise the number is made of
// the first run of decimal digits in the text, at most four of them; the
// characters right after those digits, up to ";", white space or the end,
// are its unit. The unit "pt" (any case) converts at the screen's pixels per
// inch over 72; every other unit counts as pixels. -1 when the text (or a
// null pointer) holds no digit. The flag is accepted for callers that pass
// the search form and changes nothing: the words are always searched for.
int GetWidth(const unsigned short* text, bool search = false);
