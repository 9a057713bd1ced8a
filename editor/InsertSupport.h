#pragma once
// Small helpers the insertion code of the engine shares.

#include "document/XDoc.h"
#include "element/ElementKinds.h"

#include <vector>

class CElement;
class CSrcElement;
class CXHTMLServices;

namespace qm::insert {

// Edit guard actions and the command sub-code the insertion code asks for.
constexpr int kActionInsert = 2;
constexpr int kActionCommand = 7;
constexpr long kSubCodeBlocks = 10; // block content or line breaks go in

// The nearest ancestor of e (e itself not counted) of that kind; null when
// none or e is null.
CElement* AncestorOfKind(const CElement* e, long kind);
// e lies inside a p or a heading.
bool InsideParagraphOrHeading(const CElement* e);
// e lies inside ancestor.
bool IsInside(const CElement* e, const CElement* ancestor);
// e is a text run without text, or holding only the empty paragraph's
// place holder (one no-break space).
bool IsRunWithoutText(const CElement* e);
// Every child of p is a run without text.
bool HoldsNoText(const CElement* p);
// Reading puts the blank that ends an inline element's text right after the
// element, and the one that starts it right before. An edit that leaves e,
// an inline element outside a pre, ending (atEnd) or starting with a blank
// moves that blank out after or before e the same way, so that the value
// written reads back as it stands (undo and redo read it). A blank that is
// all e holds stays.
void BlankOutsideInline(CElement* e, bool atEnd);
// Reads markup as the content of tree (a body made for engine), the
// control's extra namespace declarations on it, as every fragment about to
// go into the document is read; false when it does not read. Preformatted
// content (going into a pre) keeps its white space as written: a text of
// blanks or line ends between two elements is text there.
bool LoadFragment(
    CXHTMLServices* engine, const unsigned short* markup, CSrcElement& tree, bool preformatted = false);
// Markup from outside the editor is laid out by its source: a run of white
// space holding a line end is one blank. Folds such runs of markup except
// inside its pre elements, whose lines are their text; line ends at the
// markup's edges go.
void FoldLineEndsOutsidePre(CSafeBuf& markup);
// Takes every style element out of a fragment read into tree (not from
// elements whose content is markup text: scripts, noscripts, form controls,
// objects, maps), each as its markup and the rules it holds, in order. The
// document keeps them in its head (CXDoc::AddStyleElements).
std::vector<CXDoc::InsertedStyle> TakeStyleElements(CSrcElement* tree);
// Removes every element named tag below node (not node itself).
void RemoveDescendants(CSrcElement* node, const char* tag);
// The identifier of the block that holds the caret's run; 0 when none.
long CaretBlockId(const CXDoc& doc);
// A paste that split the block it went into leaves the first half ending
// with the blank before the place, the second starting with the one after
// it: as no-break spaces (HoldEdgeBlanks) they read back as they stand, so
// that undo and redo give back the value the paste left. before is
// CaretBlockId before the paste.
void HoldSplitBlanks(CXDoc& doc, long before);
// Puts a text run that stands directly in the body into a new p at its
// place; answers the p, or null when nothing was done.
CElement* WrapRunInParagraph(CElement* run);

} // namespace qm::insert
