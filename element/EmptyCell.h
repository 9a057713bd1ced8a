#pragma once
// What a table cell or caption holds when its markup has no content: one
// text run with a no-break space (the filler), which keeps the cell its
// height. Edits that empty a cell give it the same, so that the value
// written is the one read back.

class CElement;

// The element's text content is only the filler of an empty cell: one
// no-break space.
bool IsEmptyCellFiller(const CElement* e);
// Appends to e, left without children, the text run it holds when its
// markup is read: the filler in a cell or caption, an empty run elsewhere.
// The new run, or null when e still has children or none could be made.
CElement* AppendRunAsRead(CElement* e);
// A cell or caption an edit has left holding nothing but empty text runs
// (or nothing at all) is given what it holds when its markup is read: one
// run with the filler. The runs it held are queued as removed; a caret on
// one of them moves to the filler's start. True when e was so filled.
bool FillEmptiedCell(CElement* e);
