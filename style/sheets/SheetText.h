#pragma once
// A style sheet's text taken apart into rules, before any rule is parsed.
//
//   - Comments "/* ... */" are removed (an unclosed one runs to the end).
//   - Braces are balanced first, as a browser reads a sheet: blocks still
//     open at the end are closed there (an open quote too), and a "}" that
//     closes no block is kept as the start of the next rule's selector, which
//     it makes invalid; so neither loses the rules around it.
//   - The text is split into rules "selector { body }"; braces inside quotes
//     and nested blocks stay in the body (base/text/StringSplitter.h, mode 0).
//   - @-statements that end in ";" (@charset "utf-8"; @import url(a.css);
//     @namespace ...;) are dropped where they stand; the rule after them is
//     kept.
//   - An @media block whose media list names "all" or "screen" (any case,
//     one of its comma-separated entries) gives the rules inside it; any
//     other @-block (@media print, @font-face, @page ...) is dropped, and so
//     is an @-block nested inside a media block.

#include "base/text/SafeBuf.h"

#include <vector>

struct SheetRule
{
    CSafeBuf selector; // trimmed
    CSafeBuf body;     // trimmed, between the rule's outer braces
};

void RemoveCssComments(CSafeBuf& text);

// Whether text looks like a web page rather than a style sheet: "<html" or
// "<HTML" starts within its first 500 characters.
bool IsWebPageText(const CSafeBuf& text);

// Closes the blocks (and the quote) still open at the end of text and marks
// each "}" that closes no block (see above).
void BalanceBraces(CSafeBuf& text);

// Whether a media list ("print", "screen, print" ...) is for the screen: one
// of its comma-separated entries is "all" or "screen", any case.
bool IsScreenMedia(const CSafeBuf& list);
// The same for the media attribute of a style element or a linked sheet,
// which applies everywhere when it is missing or blank.
bool IsScreenMediaAttribute(const CSafeBuf& media);

// The rules of a sheet (comments already removed), in sheet order.
void SplitSheet(const unsigned short* text, std::vector<SheetRule>& out);
