#pragma once
// Whole-text matching with POSIX extended regular expressions.

// True only when pattern matches all of text: the first match starts at the
// first character and ends at the last. False for an invalid pattern or null.
bool RegExMatch(const char* text, const char* pattern);
// UTF-16 operands are matched by the low byte of each unit.
bool RegExMatch(const unsigned short* text, const char* pattern);
bool RegExMatch(const unsigned short* text, const unsigned short* pattern);
