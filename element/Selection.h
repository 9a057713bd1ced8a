#pragma once
// Questions and answers about the selection that are not asked of one
// element: its plain text, where the caret goes once it is removed, whether
// an element is selected whole, and the helpers the element kinds share for
// inline formatting around selected content. The model is at the top of
// ElementSelection.cpp.

#include <vector>

class CElement;
class CPtrList;
class CSafeBuf;

// Where the selection lies in the plain text GetDocText builds: the offset
// of its first character and of its last one (inclusive); -1 until the
// first selected text is met.
struct SelectionStruct
{
    int start = -1;
    int end = -1;
};

// Bits of GetDocText's state.
constexpr int kDocTextEndsInSpace = 1;
constexpr int kDocTextWritten = 2;
constexpr int kDocTextBreakDue = 4;

// Appends the plain text of e's subtree to out: the texts of its runs, a
// blank where a block, rule, image or line break stood between two texts.
// state carries the kDocText bits from call to call (0 to start). With sel,
// the selected characters are recorded there. With mode 1 the range start,
// length (length > 0, start >= 0) of the text is selected in the runs that
// hold it instead. Answers the caret's offset in out when the caret stands
// in a text run of the subtree and mode is 0, else -1.
int GetDocText(CElement* e, CSafeBuf& out, int& state, int mode, int start, int length, SelectionStruct* sel);

// A text run with characters and where they start in GetDocText's text.
struct DocTextPiece
{
    CElement* run;
    int at;
};
// GetDocText of e's subtree from a fresh state into out, listing the runs
// that wrote characters in order.
void GetDocTextPieces(CElement* e, CSafeBuf& out, std::vector<DocTextPiece>& pieces);

// The element that takes the caret once the selection of e's document is
// removed, its caret offset set: direction 0 before the selection, 1 after
// it, 2 either, preferring the block of e. A text run that keeps some of its
// characters keeps the caret; otherwise the nearest text run or edge-caret
// element outside the selection in that direction. Null when nothing is
// selected or no such element exists.
CElement* GetPositionAfterSelection(CElement* e, int direction);

// Every selectable element of e's subtree is selected (a text run over all
// its characters).
bool IsWholeElementSelected(CElement* e);
// No element of e's subtree, e included, is selectable without being
// selected.
bool IsAllChildrenSelected(CElement* e);

// Adds to cells, once, the cell, caption or th (nearest of those, in that
// order of search) that holds e inside a table, or the dt, else dd, inside
// a dl. Nothing for a null list.
void AddSelectionCell(const CElement* e, CPtrList* cells);

// The ancestor of e that formatting of kind already applies through: one of
// kind, or for map, object and custom kinds (61, 62, 66) one with templ's
// tag whose class is empty or templ's. Null when none.
CElement* FindFormatAncestor(const CElement* e, int kind, CElement* templ);
// A new inline element to wrap selected content in: a Duplicate of templ,
// else by kind "b" (29), "strong" (27), "em" (28), "i" (30) or "span" (4),
// made for like's document. Null for another kind without templ.
CElement* MakeFormatWrapper(const CElement* like, int kind, CElement* templ);

// wrapper, a new element linked nowhere (a Duplicate's parent pointer is
// forgotten), takes e's place and receives e as its only child
// (CElement::InsertElement). A wrapper that cannot go there is destroyed.
// Answers whether e was wrapped.
bool WrapSelected(CElement* e, CElement* wrapper);

// The control's extra namespace declarations (attribute text such as
// xmlns:x="..."), empty when e has no control or the control none.
void GetExtraNamespaces(const CElement* e, CSafeBuf& out);
