#pragma once
// How the page's tag parameters turn into switches, numbers and lists.
// Words are compared without regard to ASCII case; to trim is to drop
// leading and trailing white space.
//
//   rule 1  "yes"/"true" sets; any other non-blank value clears; blank keeps.
//   rule 2  "yes"/"true" sets; anything else, blank too, clears.
//   rule 3  "yes"/"true" sets; "no"/"false" clears; anything else keeps.
//   rule 4  the untrimmed value lower-cased: set unless it contains "no" or
//           "false" anywhere (so blank sets, and a word like "none" clears).
//   rule 5  "yes"/"true" sets; anything else keeps (it can only turn on).

#include "base/text/SafeBuf.h"

void ApplySwitchRule(int rule, const CSafeBuf& value, unsigned char& target);

// "yes" or "true" after trimming.
bool IsYesWord(const CSafeBuf& value);

// A decimal integer (leading blanks, sign, digits) for a 32-bit setting;
// anything unreadable is 0, and so is a number outside the 32-bit range (its
// low bits would be a different number: for Options, every bit on).
int ReadDecimal(const CSafeBuf& value);
