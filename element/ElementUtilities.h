#pragma once
// Free utilities on elements: comparing attribute sets, moving inline
// content into a block, lifting a block's content out of it, and two hooks
// that do nothing.

class CElement;

// Both have the same number of attributes and every attribute of a has the
// same value (case-sensitive) in b, in any order. False when either is null.
bool CompareAttributes(const CElement* a, const CElement* b);

// Moves e and the siblings after it, up to the next block sibling, into
// block (appended in order, each inheriting from block), then
// block->StyleChanged(0). The walk also stops before block itself and
// before a sibling that holds block, which cannot go into it. Nothing for a
// null argument or an e without parent.
void MoveToBlock(CElement* e, CElement* block);

// Lifts e's content into e's parent, after e and in order: each block child
// as it is, each run of other children (text, inline elements, comments)
// in a new p. When e is a pre, the text of its last such paragraph is
// normalised and the breaks that stood for the pre's line ends become white
// space (ValidateTextChildFromPre with flag 1). e stays in place, empty;
// what was placed is restyled. Nothing for a null e or one without a parent.
void MoveChildrenInBlockToRoot(CElement* e);

// A new p holding one empty text run, linked before or after e (a child of
// a parent) and restyled; answers the run, or null (nothing linked) when it
// cannot be made.
CElement* ParagraphBeside(CElement* e, bool after);

// Exception-log hooks: they report nothing.
void GWriteExcpInfo(const char*);
void GWriteExcpInfo(const unsigned short*);

// The horizontal offset a span adds: always 0.
int GetOffsetXWithSpan(CElement*);
