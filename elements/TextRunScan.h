#pragma once
// Scans over a text run's characters for the normalising of text read from
// markup (CTextElement::ValidateText). Most runs hold neither the caret
// marker nor anything the normalising changes; these tell so eight
// characters at a time where SSE2 is there, one at a time elsewhere.

// The index of the first occurrence of needle (needleLength units, at least
// one) in s[0, n), or -1.
int FindUnits(const unsigned short* s, int n, const unsigned short* needle, int needleLength);

// The length of the leading stretch of s[0, n) that the normalising of white
// space leaves as it stands: it ends before the first unit below a blank (a
// line break, a tab or another control character) and before a blank that
// follows a blank.
int UnchangedPrefix(const unsigned short* s, int n);
