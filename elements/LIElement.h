#pragma once
// CLIElement: the list item "li". Made only by the element factory, which stores the final kind code.
//
// The item draws its own marker: a shape (disc, circle, square), its number
// as text (ListMarker.h), or a picture (list-style-image). Outside, the
// default, the marker stands in the list's indent left of the item (right of
// it, right to left), aligned with the item's first line; inside, it stands
// at the start of the first line, which the layout widens by the marker's
// room (GetListMarkerSize). The list numbers its items (CULElement).
//
// Geometry, in the item's box, for font size F (absolute) and s = F / 3:
//   outside shape  an s x s box (s made odd), its right edge 8 pixels left
//                  of the item, its bottom 1 pixel above the first line's
//                  bottom;
//   outside text   its ink's right edge 8 pixels left of the item, on the
//                  first line's baseline;
//   inside shape   an s x s box from x = 1, its bottom 6 pixels above the
//                  first line's bottom;
//   inside text    from x = 0, its baseline 4 pixels above the first
//                  line's bottom.
// Right to left mirrors each across the item.

#include <memory>

#include "element/Element.h"

namespace qm::text {
class Layout;
class Style;
} // namespace qm::text

class CImage;

// The first line of an element's content, in its box: the top and bottom of
// the line and its baseline. Without content, the box's own height.
struct ListItemLine
{
    int top = 0;
    int bottom = 0;
    int baseline = 0;
};

class CLIElement : public CElement
{
public:
    explicit CLIElement(STYLE_CLASS* rules);
    ~CLIElement() override;

    // Slot 5: the number of li siblings before this item (0 for the first; 0
    // without a parent).
    int GetIndex() const override;
    // Slot 33: an item with fewer than two children, or with two whose first
    // is an empty text run, does not break (null). Otherwise the base break;
    // a new li half whose first child is not a text run gets an empty run in
    // front, styled from the half. Answers the new half.
    CElement* BreakElement(long childId, bool force) override;
    // Slot 41: paints the marker. True.
    bool SelfPaint(void* dc, CPoint origin) override;

    // Added operations. An inside marker at origin (the item's document
    // position) of a type and shape size.
    virtual bool PaintInside(void* dc, CPoint origin, int type, int size);
    // The list-style-image picture, at its own size from the item's top:
    // outside ending at the item's left edge, inside starting there (mirrored
    // right to left). False when there is no picture.
    virtual bool PaintImage(void* dc, CPoint origin, int size);
    // The room the marker takes on the item's first line. With a picture:
    // its width (0 outside) and its height + F / 3 - 1. Otherwise false (0 x
    // 0) outside or for type none; shapes 3s + 2 by s; text s + ink width -
    // 1 by ink height. The text is measured without a context too.
    virtual bool GetListMarkerSize(void* dc, CSize& size);

    // The item's own type when set, else its list's, else decimal in an ol
    // and disc elsewhere.
    int MarkerType() const;
    // list-style-position inside.
    bool MarkerInside() const { return Style().listPosition.set && Style().listPosition.value == 1; }
    // The absolute font size, and s (made odd for an outside shape).
    int MarkerFontSize() const;
    int MarkerShapeSize(bool outsideShape) const;
    // The marker text for the item's number (empty for shapes and none).
    void GetMarkerText(CSafeBuf& text) const;
    // Where the marker's shape, text ink or picture is painted, in the
    // item's box (outside markers lie left of 0, or right of the box right
    // to left). False when nothing is painted.
    bool GetMarkerBox(CRect& box);
    // The list-style-image picture, null when none is set or it cannot be
    // loaded.
    CImage* MarkerPicture();

    int m_number = 0; // 1-based, set by the list's layout; 0 before

private:
    bool RightToLeft() const { return Style().rtl != 0; }
    unsigned long MarkerColour() const;
    // Sets the marker text in the layout with the item's font; false when
    // the text is empty.
    bool PrepareText();
    // The text's ink rectangle (baseline at 0); false without ink.
    bool TextInk(CRect& ink);
    void DrawShape(void* dc, int type, const CRect& box);
    void DrawText(void* dc, int x, int baseline);

    // The marker's text style and layout, made by PrepareText.
    std::unique_ptr<qm::text::Style> m_markerStyle;
    std::unique_ptr<qm::text::Layout> m_markerLayout;
};

// The first line of e's content (ListItemLine).
ListItemLine FirstLineOf(const CElement* e);
