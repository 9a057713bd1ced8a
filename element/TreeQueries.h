#pragma once
// Questions about the element tree that are not asked of one element: what
// lies below or around an element, where two elements meet, and small tests
// on a subtree's content, and whether an element is locked against edits.
// They read the tree and change nothing, except ReverseChild and
// SetAllMaxContainer.

class CElement;
class CListInt;
class CPtrList;
struct POINT;

// The next element of root's subtree after e in document order, or null.
CElement* NextInSubtree(CElement* e, const CElement* root);

// e itself or an element below it has the identifier id.
bool IsSubElementOf(const CElement* e, long id);
// An element below e (not e itself) has the identifier; false for null e.
bool IsDescendantOf(const CElement* e, long id);

// Under e's nearest block ancestor: the run of siblings around e's branch,
// from the first one after a block sibling up to the next block sibling
// (included) or the end, each followed by all its descendants.
void GetCurrentBlockChildren(CElement* e, CPtrList* out);
// e's ancestors from the parent up.
void GetParentList(CElement* e, CPtrList* out);
// For e and each ancestor below the body, its position in its parent
// (GetCurrentIndex), from e upward.
void GetParentIndexList(const CElement* e, CListInt* out);

// The nearest common ancestor (an element counts as its own ancestor); null
// when there is none.
CElement* FindSameParent(CElement* a, CElement* b);
// The nearest ancestor that is a p, a heading or a pre.
CElement* IsUnderParagraph(const CElement* e);
// For an li whose last child is a list: that list's last li, repeated while
// the answer's last child is again a list. Null when e is not an li or an li
// on the way has no children.
CElement* GetLastTextLiOfNestedList(CElement* e);
// Compares document positions through the index paths of
// GetParentIndexList, from the top down. False when c or a is null or
// direction is not 1 or 2; true when c is a and not b. Otherwise, at the
// first level where a's path differs from b's (c's when b is null),
// direction 1 answers whether a's index is the smaller and differs from c's
// at that level, direction 2 whether it is the larger. The points are not
// used.
bool IsPointCloser(const POINT&, const POINT&, const POINT&, const CElement* a, const CElement* b,
    const CElement* c, int direction);

// Some child (with deep, some descendant) is a block.
bool IsThereBlockTypeChild(const CElement* e, bool deep);
// Some child is a block; with throughCustom, custom elements among the
// children are searched through at any depth.
bool IsThereBlockChild(const CElement* e, bool throughCustom);
// The number of block children.
int CountChildBlockEle(const CElement* e);
// e is an image that comes first in its block, or a text run holding Arabic
// or Hebrew letters (CSafeBuf::HasArabicOrHebrew), or has such a text child,
// or (with deep) has a child with children that answers true.
bool IsRTLChild(const CElement* e, bool deep);

// Whether an edit at e is refused. e's own lock flag (m_locked) refuses,
// unless ignoreFlag, and unless selecting is not 0 and e is wholly selected
// (IsWholeElementSelected); then a "-qm-lock" value given to e itself (not
// inherited) decides: true or yes refuses, false or no allows. A text run
// has neither. Otherwise, unless selfOnly, the parent is asked the same with
// its own flag counted; the root answers false. False for null e and for
// an element without an owner document.
bool IsElementLocked(CElement* e, bool selfOnly, int selecting, bool ignoreFlag);
// e's own say in IsElementLocked: 1 locked, 0 not locked, -1 as its parent
// decides (a text run, an element without a flag or a value of its own).
int OwnLockState(const CElement* e, int selecting, bool ignoreFlag);

// Reverses the order of e's children.
void ReverseChild(CElement* e);
// Sets the right edge of the container rectangle of every descendant of e.
void SetAllMaxContainer(CElement* e, int edge);
