#pragma once
// The textual passes that CXHTML::ValidateXML runs on UTF-16 markup around
// HTML Tidy: the character references resolved before Tidy reads the text,
// the test for a body start tag, and the clean-ups of what Tidy wrote. Each
// pass rewrites the buffer in place and leaves it alone when it has nothing
// to do.

class CSafeBuf;

// The named references of the HTML2XML table become their characters, and
// so do the numeric references of the table's pairs whose named form does
// not occur in the text. The pairs are taken in table order; before the
// first and again after every pair that changed the text, the text is
// scanned for a candidate reference ("&", a character that is neither "#"
// nor "&", then a ";" at most 9 characters after it with no "&" between),
// and the pass ends when none is left: so "&#233;" in a text without any
// named reference stays as it is. The five markup references ("&quot;",
// "&amp;", "&lt;", "&gt;", "&apos;" and their numbers "&#34;", "&#38;",
// "&#60;", "&#62;", "&#39;") are never resolved: "&lt;script&gt;" stays text.
// The result is that of replacing pair by pair, in one pass over the text
// (two when no candidate but the table's names occurs).
void ResolveCharacterReferences(CSafeBuf& markup);

// Whether the text holds a body start tag: "<", blanks or tabs, the
// lower-case word "body", then a blank, a tab, "/" or ">".
bool HasBodyStartTag(const CSafeBuf& markup);

// Removes every section from "<?" through the next "?>"; an unclosed "<?"
// and what follows it stay.
void RemoveProcessingInstructions(CSafeBuf& markup);

// Removes the first tag (the first "<" through the next ">") and then the
// last one (the last "<" through the ">" after it); a tag without its ">"
// stays.
void RemoveFirstAndLastTag(CSafeBuf& markup);

// Tidy writes the text of a script or style element as it is, inside a
// character data section of its own making when it adds one: a "]]>" in
// that text ends the section early, and what follows is no XML. Each such
// "]]>" inside the element's section (from its first "<![CDATA[" to its last
// "]]>") is split over two sections ("]]]]><![CDATA[>"); one outside a
// section becomes "]]&gt;". Either way an XML reader gives back the text.
void SplitSectionEndsInScripts(CSafeBuf& markup);

// Removes every comment ("<!--" through the next "-->") but those inside
// the text of script, style, textarea and title elements and inside
// character data sections, which are text; an unclosed comment and what
// follows it stay. (Tidy, told to hide comments, also drops a line end
// right after one: "a<!-- c -->" and a line end before "<b>b</b>" would
// come out as "a<b>b</b>", two lines of a pre as one.)
void RemoveCommentsOutsideText(CSafeBuf& markup);

// Removes every section from "<![" through the next "]>" except character
// data sections ("<![CDATA[" through "]]>"), which stay whole with whatever
// they hold; an unclosed section stays.
void RemoveMarkedSections(CSafeBuf& markup);

// Deletes "file:///" from the values of the attributes that hold addresses
// (href, src, action, background, cite, classid, codebase, data, longdesc,
// lowsrc, dynsrc, profile, usemap; with or without a namespace prefix, in
// any letter case), searching the value again from its start after each
// deletion, so a local file link keeps only its path. Text, comments,
// character data, the content of script and style elements and the values
// of other attributes are left alone.
void RemoveFileSchemeFromAddresses(CSafeBuf& markup);
