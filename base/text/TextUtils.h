#pragma once
// Small free functions on UTF-16 text shared by many parts of the system:
// cutting marked sections out of a text, quotes, line breaks, sorting
// fixed-width strings, identifier and number tests, entity positions, packed
// integers in byte buffers, lengths with units, UTF-8 re-encoding, the last
// word of a text, and file-name wildcards.

#include "base/text/SafeBuf.h"

// Removes in place every section from begin through the next end (both
// included), except a section whose text right after begin starts with
// except (when except is given). A begin without a later end stays.
// length < 0 means the text's own length. Answers the new length (0 for a
// null text, begin or end; the length unchanged for an empty begin or end).
int RemoveSectionInString(unsigned short* text, const unsigned short* begin, const unsigned short* end,
    const unsigned short* except, int length);

// A leading '"' or '\'' is removed and then a trailing one (of either kind);
// without a leading one only a trailing one is removed.
void RemoveQuote(unsigned short* text);

// Sorts count zero-terminated strings stored width units apart into
// ascending code-unit order. A string that fills its whole slot without a
// terminator is compared as if cut at the slot's end.
void SortString(unsigned short* table, int count, int width);

// True when pos lies between the "&" and the ";" of a character or entity
// reference (name of letters, digits and '#', at most 10 units each side).
bool IsPositionInsideEntity(const unsigned short* text, int pos);

// CSS class and id names: ASCII letters, digits, '_', '-' and units above
// 0xA0, not starting with a digit. length < 0: the text's own length.
bool CheckNameConvention(const unsigned short* name, int length);

// Only digits; with allowSignAndPoint a '-' at index 0 and one '.' anywhere.
// length < 0: the text's own length. False when empty.
bool IsStringOnlyNumber(const unsigned short* text, int length, bool allowSignAndPoint);

// Below 128 and neither an ASCII letter nor a digit.
bool IsCharSymbol(unsigned short ch);

// Unsigned integer at byte pos: kind 0 16-bit little-endian, 1 32-bit
// little-endian, 2 16-bit big-endian, any other 32-bit big-endian. 0 when
// pos is negative or the value does not lie wholly inside size bytes.
unsigned int GetInt(const char* bytes, long pos, long size, int kind);
// The same over units that each carry one byte in their low half.
unsigned int GetInt(const unsigned short* units, long pos, long size, int kind);

// value = the leading integer, unit 0; then the first that applies: "%" (5),
// "em" (1), "cm" (2), "mm" (3), "in" (6) (these four: value = the decimal
// number x 100, truncated and held within the range of int), "pt" (4,
// integer value). True, except when one of those four units comes with a
// number that is not finite ("nanem", "infin", "1e999cm"): false, value and
// unit 0.
bool ParseLengthStr(const unsigned short* text, int& value, int& unit);

// Replaces text by its UTF-8 bytes, one byte per unit (0x00-0xFF), to hand
// UTF-8 to byte interfaces through GetAnsiBuffer. Unchanged on failure.
void UTF8Encoding(CSafeBuf& text);

// Does nothing; answers 0.
int TidyUnicodeString(CSafeBuf& text);

// File-name matching, ASCII case ignored: '*' any run, '?' any one
// character. True for a null or empty pattern, for "*", "*.*" and ".*", and
// for a pattern equal to the name; false for a null or empty name.
bool WildcardComparePattern(const char* pattern, const char* name);

// Removes CR, LF and TAB from the start (where < 0), the end (where > 0) or
// both ends (where == 0).
void TrimCR(CSafeBuf& text, int where);
// Removes every CR, LF and TAB.
void RemoveCR(CSafeBuf& text);
// True when the text holds an ASCII capital letter.
bool HasUpperCase(const CSafeBuf& text);

// Replaces the last word of text by word: characters are removed from the end
// until a separator (space ) ? * % ! } ] -, the codes 150 and 248, or any code
// above 10000) stands more than word's length from the end; then word is
// appended. Nothing when text is shorter than word; same length: text = word.
void ReplaceLastWordWith(CSafeBuf& text, const unsigned short* word);
void ReplaceLastWordWith(CSafeBuf& text, const char* word); // bytes zero-extended

// The first run of decimal digits, after the first occurrence of after when
// after is not 0; at most 99 digits are read and the value saturates at
// INT_MAX. -1 for a null text, when after does not occur, or no digits follow.
int GetIntValue(const unsigned short* text, unsigned short after);
int GetIntValue(const char* text, char after);
