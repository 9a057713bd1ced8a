#pragma once
// Documents for painting tests, read from markup through the reader and the
// cascade, with their geometry given by hand instead of by the layout pass,
// so that a painting test depends on painting alone. Attributes that stand
// for layout results (taken out before painting):
//
//   _box="x y w h"   position relative to the parent and size of the box
//   _avail="w"       available width (what a block fills)
//   _margin="t b"    top and bottom margins
//   _group="n"       inline group: the pieces of one wrapped inline element
//   _selected="1"    selected;  _handles="1"  resize handles shown
//
// Floating elements (by their style) are entered in the body's float list.

#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"

#include <memory>
#include <string>
#include <vector>

class CElement;

namespace qmtest {

struct PaintedDocument
{
    CXHTML owner;
    std::unique_ptr<CMarkupDocument> markup;
    CElement* body = nullptr;
};

// Reads the markup and sets the hand-made geometry; null when it does not
// read. Nothing is painted yet.
std::unique_ptr<PaintedDocument> ReadPaintDocument(const std::string& markup);
// Sets the geometry attributes of e and its subtree again (after a test
// edits them).
void ApplyGeometry(CElement* e);
// The element whose id attribute is id, or null.
CElement* FindById(CElement* root, const std::string& id);
// Every pixel of the bitmap (RGBA as stored) of rows [0, rows).
std::vector<unsigned> BitmapPixels(const CElement* body, int rows);

} // namespace qmtest
