#pragma once
// A scan over a text run's characters for the normalising of text read from
// markup (CTextElement::ValidateText). Most runs hold nothing the normalising
// changes; this tells so eight characters at a time where SSE2 is there, one
// at a time elsewhere.

// The length of the leading stretch of s[0, n) that the normalising of white
// space leaves as it stands: it ends before the first unit below a blank (a
// line break, a tab or another control character) and before a blank that
// follows a blank.
int UnchangedPrefix(const unsigned short* s, int n);
