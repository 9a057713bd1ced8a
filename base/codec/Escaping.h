#pragma once
// Escaping and unescaping of text in place: markup characters for XML and
// HTML, quotes inside attribute values, backslash escapes of style sheets,
// and the removal of entity references that an XML parser would not know.

#include "base/text/SafeBuf.h"

#include <cstddef>

// "&" "<" ">" and the double quote become "&amp;" "&lt;" "&gt;" "&quot;"; the
// apostrophe stays. With spaces, in every run of spaces the first stays a
// space and each following one becomes "&#160;" (so the run survives a reader
// that collapses white space).
void EscapeXMLChar(CSafeBuf& text, bool spaces);
// Appends length units of s to out, escaped as EscapeXMLChar escapes them.
// s must not point into out.
void AppendEscapedXML(CSafeBuf& out, const unsigned short* s, int length, bool spaces);
// The same for an attribute value (spaces false), with TAB, LF and CR
// written as character references: a reader turns them into blanks when
// they stand as they are.
void AppendEscapedXMLAttribute(CSafeBuf& out, const unsigned short* s, int length);

// Every character above 255 and U+00A0 become decimal character references.
// A surrogate pair becomes one reference to its code point; a surrogate
// without its partner becomes "&#65533;" (a reference to a surrogate is not
// allowed in XML). Characters 128-255 other than U+00A0 stay.
void EscapeHTMLUnicode(CSafeBuf& text);

// Makes a value safe inside an attribute delimited by double quotes
// (doubleQuoted: each '"' becomes "&#34;") or by apostrophes (each "'"
// becomes "&#39;"). Nothing else changes.
void ValidateAttribute(CSafeBuf& value, bool doubleQuoted);

// Undoes backslash escapes of style-sheet text: \r \n \t give CR, LF, TAB;
// a backslash and two hex digits give that code; a backslash and one hex
// digit followed by a non-hex character drop the digit and give that
// character; a backslash and any other character give the character; a
// backslash at the very end disappears.
void EscapeString(CSafeBuf& text);

// With remove set, deletes every named character reference ("&", a name and
// ";" at most 14 characters after the "&") except the ones XML predefines
// (names starting with "lt", "gt", "amp", "quot", and "apos"); numeric
// references stay. A "&" not followed by a well-formed name and ";" is not a
// reference and is left alone. With remove clear nothing changes.
void RemoveXMLAllEscape(CSafeBuf& text, bool remove);
// RemoveXMLAllEscape's rule at s[i], for code that removes references while
// it copies text of its own (UTF-16 units, or UTF-8 bytes): one past the ";"
// of the named reference starting at i when it is one to delete, else i.
size_t RemovedReferenceEnd(const unsigned short* s, size_t length, size_t i);
size_t RemovedReferenceEnd(const char* s, size_t length, size_t i);
