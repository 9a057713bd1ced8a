#pragma once
// Tree repair: keeps the tree in the shape that layout, the caret and the
// editing rules rely on. Inline content of a block that also holds blocks
// stands in paragraphs; list items stand in lists, cells in rows, rows in
// tables; no line break sits inside an inline element. Moving a break out
// copies the inline elements around it, so the work done for one block is
// bounded (in proportion to the elements read there, the breaks taken in
// order): a break deep in nested inline elements that no longer fits stays
// where it is. The reader and the editing commands call these after they
// change the tree; each works in place and ends with StyleChanged on the
// element whose children it changed. CElement::CheckDocument and
// CElement::CheckAndCure are declared in Element.h.

#include <memory>
#include <vector>

class CElement;

// Repair as a body is read. While a scope stands for a body, the read of
// the body's children (ReadConsumingNodes on it) repairs each child as soon
// as it is read whole, while its elements are fresh, and the body's next
// CheckDocument repairs only what the steps after the read made around
// those children (paragraphs around inline runs, wrappers around stray
// items), passing over every element repaired during the read wherever it
// now stands. The tree that results is the tree the read and a whole
// CheckDocument give. Only the scope's body takes the early path, once: any
// other CheckDocument, and the body's own after that, walk the whole tree.
// Nothing may change the tree between the read and that CheckDocument (the
// caret marker's removal must go without the scope).
class CRepairAsReadScope
{
public:
    // Repairs as read when on (and the repair as read is on, the default).
    CRepairAsReadScope(CElement* body, bool on = true);
    ~CRepairAsReadScope();
    CRepairAsReadScope(const CRepairAsReadScope&) = delete;
    CRepairAsReadScope& operator=(const CRepairAsReadScope&) = delete;

    struct State;

private:
    std::unique_ptr<State> m_state;
    State* m_outer; // the scope's state it stands within, restored after it
};

// Repair as read on (the default) or off, for comparing the two in tests.
void SetRepairAsRead(bool on);

// For the reader: whether e's children are repaired as they are read (a
// scope's body not read yet).
bool RepairsChildrenAsRead(const CElement* e);
// Repairs body's children after before (all of them without one), just read.
void RepairReadChildren(CElement* body, CElement* before);
// The read of the scope's body's children has ended: the elements made from
// here on are to be repaired by CheckDocument.
void EndRepairAsRead();

// Wraps each run of inline content of e into a new paragraph when e holds a
// block child (always on body). Comments and scripts stay where they are
// without ending the paragraph. Nothing for null. Without restyle the
// StyleChanged is left to the caller (a reader that restyles the whole tree
// at its end).
void CheckAndAddP(CElement* e, bool restyle = true);
// White space at the end of a block's content is dropped, back across the
// runs it empties (and comments): the blank that reading a last inline child
// moved out of its end, or that a run had before what follows it went
// elsewhere, which reading the written markup again would drop. Nothing for
// an element that is no block.
void TrimAtEnd(CElement* e);
// Whether e's last child is a text run that ends in a blank.
bool FollowsBlank(const CElement* e);
// CheckAndAddP on container, or without one on the td (else th) or caption
// that holds e inside a table; nothing when e is not inside a table.
void CheckParagraphForTable(CElement* e, CElement* container);
// CheckAndAddP on item, or without one on the nearest dd or dt at or above
// e (the search stops at the first other block).
void CheckParagraphForDLType(CElement* e, CElement* item);
// CheckAndCure for root's tree when every image it holds is among images
// (element identifiers, as CImagesMade notes them while the tree is made):
// only the elements that open with one of them are looked at, not the whole
// tree. The tree is walked whole when root has no owner to find them by.
void CureImageHolders(CElement* root, const std::vector<long>& images);
// Moves a table's caption child to the front, or to the end when its
// caption-side is bottom.
void CheckTableForCaption(CElement* table);
