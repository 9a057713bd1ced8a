#pragma once
// GetColor: a CSS colour value as the packed colour of the style slots and
// the painter (RGB layout: red in the low byte, then green, then blue), or
// one of three codes that never reach drawing.
//
// Two forms. The whole-value form (search false) needs the value to be
// exactly one colour: a table name, "#rgb", "#rrggbb", "rgb(r,g,b)" (spaces
// anywhere in it are ignored), "transparent" or "inherit". The search form
// (search true) finds a colour inside a longer text, such as a "border"
// value or a page parameter:
//   - "transparent" or "inherit" anywhere in the text;
//   - a table name standing as a word: at the start or after a character at
//     or below the space, and at the end or before one;
//   - a "#" whose remaining text up to the end is three or six hex digits
//     (text before the "#" is ignored, so a hex colour counts only at the end);
//   - "rgb(" anywhere, its parts each trimmed and free of inner spaces.
// The value is compared without regard to ASCII case. "#abc" means "#aabbcc".
//
// rgb() takes three comma-separated parts up to ")", each at most seven
// characters: a number (a leading "-" and one "." allowed) or a percentage
// of 255 ("100%" is 255); the value, truncated to a whole number, is
// clamped to 0..255. In the whole-value form exactly three parts and nothing
// after the ")" are allowed; the search form reads the first three.

// The codes answered besides packed colours.
constexpr int kColorInvalid = -1;
constexpr int kColorTransparent = -2;
constexpr int kColorInherit = -3;

// A packed colour, or one of the codes above; kColorInvalid for null.
int GetColor(const unsigned short* value, bool search);
