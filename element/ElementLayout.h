#pragma once
// CElementLayout: what the layout pass and the painter record on an element
// (its box, the font its text is measured with, the rows of its last paint).
// An element makes it when layout or painting first reaches it
// (CElementFields::Lay), so a tree that is read and written without being
// laid out does not pay for it. The records come from the element pool.

#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"
#include "style/layout/TextFontSetting.h"

#include <cstddef>
#include <cstdint>

struct CElementLayout
{
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);

    // ---- geometry (meanings fixed by the layout pass) ----
    CRect m_cssRect;       // right: width from `width`, bottom: height from `height`
    CRect m_availRect;     // right, bottom: width and height available to the children
    CRect m_containerRect; // right, bottom: what percentages resolve against
    CRect m_sizeRect;      // (0, 0, width, height) of the box
    CRect m_contentRect;   // handed down by SetElementRect mode 0
    CPoint m_position;     // of the box relative to the parent's box
    CPoint m_baseline;     // y: from the top of the box to the text baseline
    CPoint m_indent;       // x: first-line indent
    CPoint m_marginLeftTop;
    CPoint m_marginRightBottom;
    long m_lineGroup = 0; // shared by the children placed on one line

    // ---- layout state (style/layout/, style/floats/) ----
    unsigned long m_layoutPass = 0;      // the layout pass that last placed the element
    unsigned long m_floatsBelowPass = 0; // the last pass that placed a float below the element
    int m_pxFontSize = 0;                // the font size in pixels (LoadCDCSetting); 0 until known
    unsigned char m_textFontStale = 1;   // m_textFont changed since the text style was made from it
    unsigned char m_touchesFloat = 0;    // the last layout moved some content clear of a float
    unsigned char m_painted = 0;         // painted at all by the last paint
    TEXT_FONT_SETTING m_textFont;        // the font the element's text is measured and drawn with

    // ---- the last paint ----
    // Recorded before an edit (GetAreaInfo): the size rectangle and the
    // document position of the last paint.
    CRect m_prevRect;
    CPoint m_prevDocPos;
    // The rows the painting of the element and its subtree may reach
    // (bottom exclusive), its available width and its number of children.
    int m_paintTop = 0;
    int m_paintBottom = 0;
    // Rows by which the records of the element's descendants lag behind
    // its own: a subtree moved as a whole moves its top's record and adds
    // here, and a walk that reads the children's records pushes it down to
    // them first (qm::paint::ShiftRecords, PushRecordShift).
    int m_recordShift = 0;
    int m_paintFill = 0;
    long m_paintChildren = 0;

    // ---- layout reuse (style/layout/LayoutReuse.h) ----
    // What a child of the root was when it was last laid out whole: the sum
    // of its subtree's text change counts and the subtree's element count,
    // and whether that layout may be kept while neither changes.
    std::uint32_t m_reuseTexts = 0;
    std::uint32_t m_reuseElements = 0;
    unsigned char m_reusable = 0;
};
