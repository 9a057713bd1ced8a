#pragma once
// Whole-text matching with POSIX extended regular expressions.

// True only when pattern matches all of text: the first match starts at the
// first character and ends at the last. False for an invalid pattern or null.
bool RegExMatch(const char* text, const char* pattern);
// UTF-16 operands are matched as bytes, one for each unit (0x00-0xFF). A unit
// above 0xFF matches nothing, not even itself: such a text or pattern is
// never a match.
bool RegExMatch(const unsigned short* text, const char* pattern);
bool RegExMatch(const unsigned short* text, const unsigned short* pattern);
