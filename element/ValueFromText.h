#pragma once
// Numbers and lengths read from attribute text, and class-list tests. (The
// first run of digits is GetIntValue, base/text/TextUtils.h; character
// references are removed by RemoveXMLAllEscape, base/codec/Escaping.h.)

#include "base/text/SafeBuf.h"

// A length as attribute text gives it: value is the leading integer with
// unit 0 (pixels); then the first that applies:
//   text holds "%"   unit 1, value the leading integer (percent);
//   text holds "em"  unit 2, value the decimal number x 100, truncated;
//   text holds "pt"  unit 0, value (n + n x 1332 + 500) / 1000 ("12pt" is 16).
// Values are held within the range of int (a number that is not finite
// gives 0). Always answers true.
bool GetIntValueType(CSafeBuf& text, int& unit, int& value);

// The decimal number at the start of the text (its first 99 characters);
// 0 for null.
double utof(const unsigned short* text);

// Whether word stands in the white-space separated list as the start of an
// item (with whole: as a whole item). False for null or empty arguments.
// Used for class lists.
bool IsStringContainedIn(const unsigned short* list, const unsigned short* word, bool whole);
