#pragma once
// Whole-text matching with POSIX extended regular expressions.

// True only when pattern matches all of text: the first match starts at the
// first character and ends at the last. False for an invalid pattern or null,
// and for a pattern the matcher could not handle in bounded time and memory:
// longer than 1024 bytes, with a back-reference, with stacked repetitions
// ("a++", "a*{2}"), or expanding through its repetitions to more than
// 10,000 atoms ("((a{99}){99}){99}") or to more than 600 empty steps (group
// bounds, alternatives, the loop or skip of each repeated copy:
// "(()*){300}").
bool RegExMatch(const char* text, const char* pattern);
// UTF-16 operands are matched as bytes, one for each unit (0x00-0xFF). A unit
// above 0xFF matches nothing, not even itself: such a text or pattern is
// never a match.
bool RegExMatch(const unsigned short* text, const char* pattern);
bool RegExMatch(const unsigned short* text, const unsigned short* pattern);
