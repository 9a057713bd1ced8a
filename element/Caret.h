#pragma once
// The caret (the key cursor of the element tree) is one position in the
// document: the element that holds it, kept by the document
// (CXDoc::m_caretElement), and that element's caret offset
// (CElement::m_caretOffset). In a text run the offset is a character index
// from 0 to the text's length; an element that takes the caret whole (its
// edge-caret flag set: pre, hr, lists, table, dl, img, div, form, fieldset,
// blockquote) has two stops, 0 before it and 1 after it. Other elements
// are stops only when CanGetKeyFocus answers true (text runs do).
//
// The element operations (moving, hit-testing, block position tests) are
// members of CElement (Element.h, ElementCaret*.cpp); these are the ones
// that are asked of the document's caret rather than of one element.

#include "base/geometry/Point.h"

class CElement;

// Makes e the document's caret element; null (or e without an owner)
// changes nothing.
void SetKeyOnElement(CElement* e);
// Whether the caret element is e or lies below it; false when e is null,
// has no owner, or nothing holds the caret.
bool IsKeyCursorUnderElement(const CElement* e);
// Whether e's caret offset stands at its first (first) or last position: a
// text run at 0 or at its length or beyond; an edge-caret element at 0 or
// 1. With loneSpaceCell a text run that is the only child of a table cell
// and holds exactly one no-break space counts as both. False otherwise.
bool IsCursorAtLastOrFirst(const CElement* e, bool first, bool loneSpaceCell);

// After the tree was read from markup: the element that must take the
// caret, its offset set, where the caret marker word stood, or null. A text
// run takes the offset its reader noted (or where the word still stands in
// its text, which is then removed); an element carrying the word as an
// attribute loses the attribute's value and takes the caret itself (edge
// stops, offset 0) or passes it to the next stop after it (else before it).
// The first marked element in document order wins.
CElement* FindCursorFromSource(CElement* e);
// After the tree was read from markup that marks the caret: takes the
// selection's marker words out of the texts of e's subtree. Reading does not
// restore a selection, and the words are no text of the document's.
void RemoveSelectionMarkers(CElement* e);

// After typing: removes empty elements around the caret element e. When e
// is an empty run alone in an empty inline parent, that parent is dissolved
// (its children take its place) and with direction 1 (2) the previous
// (next) inline sibling's last (first) text run takes the caret at its end
// (start); answers true then. Otherwise RemoveEmptyElementAround(e).
bool CleanKeyContext(CElement* e, int direction);
// Destroys the empty siblings (IsEmptyTag(true)) directly before e, then
// those directly after it; answers whether one was destroyed.
bool RemoveEmptyElementAround(CElement* e);

// The first descendant of e (depth first, each tested before its children)
// whose box holds pt, else e itself when its box holds it, else null. pt is
// in e's own coordinates.
CElement* ForceCursorInsideCheck(CElement* e, const CPoint& pt);
// Compares the ancestor chains of a and b from the root down: at the first
// level where they differ, true when one of the two differing ancestors is
// a block and a's stands before b's in their common parent. False when a
// chain ends first or either is null.
bool IsAboveBlock(const CElement* a, const CElement* b);
