#pragma once
// Taking texts apart: the parts between separators, cutting a text short,
// and reading one line into a buffer of known size.
//
// GetPartStr hands its part to the caller in a CSafeBuf, whole: a part is
// never cut short, and no buffer is shared between calls. It answers false
// (and empties part) where there is no part:
//   - for a null or empty text, or a position below 0, at the end or past
//     it;
//   - for an empty part at the end of the text: the position stands on a
//     separator that ends the text (position still moves to the end).
// An empty part between two separators is a part (true, empty text): "a,,b"
// split at "," gives "a", "", "b" and then false.
//
// position counts units from the start of the text; every position these
// calls leave behind is within it. A call reads the text up to position to
// be sure that position lies within it, then its own part.

#include "base/text/SafeBuf.h"

// The text from position up to the next separator (or the end). position
// moves past that separator, or to the end when there is none. A separator of
// 0 never occurs, so the part is the rest of the text.
bool GetPartStr(const unsigned short* text, int& position, unsigned short separator, CSafeBuf& part);
// The same with a separator text; a null or empty separator never occurs.
bool GetPartStr(const unsigned short* text, int& position, const unsigned short* separator, CSafeBuf& part);

// The part that follows the first occurrence of start, up to the next
// separator. False when start (or text) is null or start does not occur.
bool GetPartStr(
    const unsigned short* text, const unsigned short* start, unsigned short separator, CSafeBuf& part);
bool GetPartStr(
    const unsigned short* text, const unsigned short* start, const unsigned short* separator, CSafeBuf& part);

// Shortens text, which holds length characters, by count characters from
// the front (the rest moves down) or from the end, and terminates it. count
// is taken within 0..length. Sets length to the new length and answers it;
// a null text answers 0.
int CutString(unsigned short* text, int& length, int count, bool fromFront);

// Copies into line the characters of text up to the separator, at most
// maximum of them, and terminates it: line holds maximum + 1 units, the
// terminator included. When the line fits, carriage
// returns and line feeds are dropped from the end of the copy and the answer
// is the position after the separator (the end of the text when there is
// none). When it does not fit, the answer is the position after the last
// character copied, so the next call reads on from there and nothing is lost.
// Null for a null or empty text, and when line is null or maximum is below 1
// (no room for a character); line is then emptied when maximum is not
// negative.
const unsigned short* GetLine(
    const unsigned short* text, unsigned short* line, unsigned short separator, int maximum);
inline unsigned short* GetLine(
    unsigned short* text, unsigned short* line, unsigned short separator, int maximum)
{
    return const_cast<unsigned short*>(
        GetLine(static_cast<const unsigned short*>(text), line, separator, maximum));
}
