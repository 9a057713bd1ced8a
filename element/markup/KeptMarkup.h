#pragma once
// Content kept as markup text rather than as child elements: what holders
// (objects, maps, form controls) and scripts hold, and the legends of a
// fieldset. The writer writes such text as it stands, so the elements in it
// add levels below the element that keeps it, levels the tree does not show.
// These measure those levels and cut them back, for the repair that keeps a
// written tree within the depth the parser reads.
//
// The text is the markup the parser's serialiser wrote (or a user typed):
// start, end and empty tags, text with references, comments, character data
// sections and processing instructions. Markup that is not well formed is
// read as far as it goes; a "<" that opens nothing is text.

#include "base/text/SafeBuf.h"

class CElement;

// Whether e's m_text holds kept markup (by its kind).
bool KeepsMarkup(const CElement* e);
// The levels of elements that e's kept markup nests (0 when it holds none,
// or when e keeps no markup).
int KeptMarkupHeight(const CElement* e);
// Drops the start and end tags of the elements of markup nested deeper than
// levels (1: those at its top), keeping what they hold: text, references,
// comments and character data stand where they stood.
void FlattenKeptMarkup(CSafeBuf& markup, int levels);
// The text of e's kept markup as a reader shows it: tags, comments and
// processing instructions dropped, references resolved, character data as it
// stands, each run of white space one blank. Empty when e keeps no markup.
CSafeBuf KeptMarkupText(const CElement* e);
