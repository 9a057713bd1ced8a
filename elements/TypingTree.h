#pragma once
// The questions about the tree that typing asks around the caret: where a
// run stands in its block, the text runs before and after it in document
// order, and the document's caret.

class CElement;
class CTextElement;

// A text run without text.
bool IsEmptyRun(const CElement* e);
// Every child of e is a text run without text (or e has none).
bool OnlyEmptyRuns(const CElement* e);
// The p that is all e holds, text runs without text beside it passed over
// (a cell read with inline content starts with one); null otherwise.
CElement* LoneParagraph(const CElement* e);
// The lone paragraph of e (as LoneParagraph) when it carries no attribute:
// a wrapper that a cell's or entry's text may lose, as reading a cell takes
// it off. One with attributes (a class, a style, an id) is the author's
// block and stays.
CElement* LoneBareParagraph(const CElement* e);
// e comes first (last) in top: at every level up to top, e or its ancestor
// is the first (last) child, empty text runs before (after) it passed over.
bool IsFirstContentOf(const CElement* e, const CElement* top);
bool IsLastContentOf(const CElement* e, const CElement* top);
// The text run before (after) e in document order, null when none; the
// walk does not leave within (null: the whole tree) and, with stopAtObjects,
// stops at an image, rule or other element that stands alone (null).
CTextElement* PreviousRun(const CElement* e, const CElement* within, bool stopAtObjects);
CTextElement* NextRun(const CElement* e, const CElement* within, bool stopAtObjects);
// The nearest text run with text before (after) e, not leaving block and
// stopping at objects as above; null when none.
CTextElement* PreviousRunWithText(const CElement* e, const CElement* block);
CTextElement* NextRunWithText(const CElement* e, const CElement* block);
// The document's caret goes to e at offset (e's caret offset is set even
// without a document).
void PutCaret(CElement* e, long offset);
// e has the document's caret.
bool HoldsCaret(const CElement* e);
// A new empty text run inheriting from parent; not linked. Null when the
// factory fails.
CTextElement* NewRun(CElement* parent);
// A new element with tag, inheriting from parent; not linked.
CElement* NewElement(const char* tag, CElement* parent);
// A blank of a block's text, the no-break space included.
inline bool IsBlankUnit(unsigned short c)
{
    return c == ' ' || c == 0xA0 || c == '\t' || c == '\r' || c == '\n';
}
// The place holder of an empty block: a text run whose text is one
// no-break space, and no other text in its block. One beside other text (a
// blank that Return held at the start of a block) is a blank between words,
// which what is typed or inserted before it keeps.
bool HoldsPlaceHolder(const CElement* run);
// Where Backspace or Delete joined two blocks, at offset in run: a no-break
// space that held a blank at the edge of either block's text
// (HoldEdgeBlanks), and now stands between a character of each, becomes a
// plain blank again, which reads back there. One beside another blank stays.
void ReleaseSeamBlank(CTextElement* run, long offset);
