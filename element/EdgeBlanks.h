#pragma once
// Blanks that an edit leaves at the edge of a block's text. Reading drops a
// blank that starts a block's text (RemoveExtraSpace) and one that ends it
// (the reader's trimming at a block's end and next to a block), so a blank
// left there by a deletion, a split or a change of block would be lost by
// the next write and read (undo, redo, the value, the source view) while
// the tree still had it: joining the block to its neighbour later would then
// glue two words. Such a blank becomes a no-break space, which reads back
// as it stands and shows the same.

class CElement;

// Turns the blanks at the edges of the text of block, and of every block
// inside it, into no-break spaces; a pre and what it holds are left alone
// (they keep their blanks as they are). typingAt, when set, is the run the
// caret stands in with a character about to be typed there: its blank right
// beside the caret is left, as the character comes between it and the edge.
// One held right beside the document's caret is remembered there
// (m_heldBlankBlock, m_heldBlankAt). Answers whether a blank changed.
bool HoldEdgeBlanks(CElement* block, const CElement* typingAt = nullptr);

// Deletes those blanks instead, as reading the text there would (for text
// that came out of a pre, whose blanks at its edges laid the lines out and
// parted no words); a caret after a deleted blank moves back with its
// text. Answers whether a blank went.
bool DropEdgeBlanks(CElement* block);

// Where offset of run stands in the text of run's nearest block: the
// lengths of the text runs before run in the block, in document order,
// plus offset. Wrapping a run into pieces and joining them keep it. -1
// when run stands in no block.
long OffsetInBlock(const CElement* run, long offset);
