#pragma once
// Edits of markup held as plain text, before or after it goes through the
// XML parser: namespace colons in names, removing one tag, and finding the
// text between two markers outside quoted stretches.

#include "base/text/SafeBuf.h"

// In every start and end tag the first colon of the tag name and the first
// colon of each attribute name become "-" ("o:p" -> "o-p", "xml:lang" ->
// "xml-lang"). Colons in text, in quoted attribute values and in "<!"
// declarations and comments stay.
void RemoveTagNamespace(CSafeBuf& markup);

// Removes the start tag that holds the first occurrence of name: the text
// before name, across white space, must reach "<" and the text after it must
// reach ">" before any "<". Nothing changes otherwise, when name does not
// occur, or occurs at position 0. End tags are never removed.
void RemoveXMLTag(CSafeBuf& markup, const unsigned short* name);
void RemoveXMLTag(CSafeBuf& markup, const char* name);

// RemoveXMLTag for "!DOCTYPE", where the first occurrence looked at is the
// first that is markup: one in a comment, a CDATA section, a processing
// instruction or the content of a script or style element is text (script
// code) and stays, and so does the text around it.
void RemoveDoctype(CSafeBuf& markup);

// which 1 removes the first tag (the first "<" through the first ">" after
// it), which 2 the last tag (the last "<" through the last ">", when that
// ">" follows it), which 0 both, first then last. Unchanged when a bracket
// is missing.
void RemoveTag(CSafeBuf& text, int which);

// Finds the first start marker and then the first end marker after it that
// does not stand inside single or double quotes. out receives the text
// between the two markers. Answers the position of start, or -1 (out empty)
// when a marker is missing or not found.
int FindSubStringBetween(CSafeBuf& text, CSafeBuf& out, const char* start, const char* end);
