#pragma once
// CImageElement: the image "img". Made only by the element factory, which stores the final kind code.
//
// An image is shown in one of three ways, its display type: 1 the picture
// scaled into its box, 2 its alternative text laid out like inline text, 3
// an outline of its box. The type is the image's own when set (1 to 3),
// else the editing engine's document-wide setting.
//
// Graphic and outline display: the image has no children; its box is sized
// from the picture and its style (CalcWinReg). A picture that cannot be drawn
// is replaced by the engine's missing-picture text, framed, at 11 points in a
// box narrower than 80 pixels and at 13 points from 80 on.
//
// Text display: the alternative text lives in text children that the user
// edits like any text; UpdateAltTxt writes them back into "alt". The image
// is laid out as an inline element holding them.
//
// The caret stands before (offset 0) or after (offset 1) the image; a click
// selects it as a whole. The picture belongs to the document's picture pool
// (element/ElementPictures.h), never to the image.
//
// Files: ImageElement.cpp (picture, display type, alternative text, markup,
// copy), ImageElementLayout.cpp, ImageElementPaint.cpp, ImageElementCaret.cpp.

#include "element/Element.h"
#include "element/markup/MarkupWriter.h"

#include <memory>

class CImage;
namespace qm::text {
class Layout;
class Style;
} // namespace qm::text

class CImageElement : public CElement
{
public:
    explicit CImageElement(STYLE_CLASS* rules);
    ~CImageElement() override;

    // ---- layout (ImageElementLayout.cpp) ----
    // Text display: the alternative text child is made when missing and laid
    // out inline. Otherwise the box: the picture's size, or the style's width
    // and height (a percentage of the container), the other side following
    // the picture's aspect; 75 x 75 when neither gives a size (a picture that
    // failed to load); then borders (3 a side for a linked image without its
    // own border) and paddings. The baseline is the box's bottom.
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    bool IsCanWrap() override;    // text display only
    bool CanDrawChild() override; // text display only
    // Raises size.cx to the box width; a relative width imposes no minimum.
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;

    // ---- picture (ImageElement.cpp) ----
    // Takes the picture of "src" (read ignoring case) from the document's
    // pool, loading it there when new. A source starting "www." (any case)
    // gets "http://" in front and the attribute is rewritten. Relative
    // sources are resolved against the document's base URL.
    bool ReLoad(void* context) override;

    // ---- painting (ImageElementPaint.cpp) ----
    bool SelfPaint(void* dc, CPoint origin) override;
    // A linked image (inside an a) is bordered in blue for that one paint:
    // 3 pixels a side, solid, dashed when the link has no href.
    bool DrawBorder(void* dc, CPoint origin, CRect* clip) override;

    // ---- caret and pointer (ImageElementCaret.cpp) ----
    int GetKeyLen() override;
    int GetKeyPos(CPoint& pt, int) override;
    int GetCloseCursor(CPoint pt, CPoint& caret, int& length, int&, int mode) override;
    bool IsCursorInsideSelection(CPoint pt) override;
    // Selects the image alone; answers whether it was not selected before.
    // flags 0xFFFF does nothing and answers 0.
    int LButtonDown(unsigned int flags, CPoint pt, bool&, CPoint&, int&, bool& selected) override;
    // Text display: right arrow before the image enters its text at the
    // start, left arrow after it enters at the end. Other keys and displays
    // go to the base.
    bool OnChar(unsigned int ch, unsigned int repeat, unsigned int modifiers, bool& handled,
        CPoint& caretPoint, int& caretLength, CElement*& caretElement, bool) override;

    // ---- markup and copies (ImageElement.cpp) ----
    // Always an empty img element (the alternative text children are never
    // written). An image whose text display wrapped into pieces is written
    // by its first piece, with the alternative text of all pieces; the other
    // pieces write nothing (unless in diagnostic form).
    bool GetSourceCode(
        CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var) override;
    bool AppendSourceCode(CSafeBuf& out, int level, int flags, CSafeBuf& a, CSafeBuf& b, CSafeBuf& c,
        SourceCodeVar* var) override
    {
        return AppendWrittenMarkup(this, out, level, flags, a, b, c, var);
    }
    // The base copy with the display type; the copy's alt is empty.
    CElement* Duplicate() override;

    // The display type in force: 1 graphic, 2 text, 3 outline; 0 when
    // neither the image nor the engine has a valid one.
    int GetDisplayType() const;
    // The children's texts joined become "alt"; an empty result shows the
    // decorative-image text in the first child. False without children.
    bool UpdateAltTxt();
    // Text display only: the children show "alt" (or the decorative-image
    // text when it is empty), in one text child.
    bool SetAltTxt();
    // "alt"; for an image wrapped into pieces, the pieces' values in order.
    void GetAltTxt(CSafeBuf& out) const;

    // The style of the missing-picture text at its last paint.
    const qm::text::Style& FallbackTextStyle() const { return *m_textStyle; }

    // ---- fields ----
    CImage* m_picture = nullptr;       // the pool's; not owned
    unsigned char m_loaded = 0;        // ReLoad has run
    unsigned char m_unsized = 0;       // no size could be found: laid out 100 x 100
    unsigned char m_paintedAsText = 0; // the last paint drew the missing-picture text
    int m_displayType = 0;             // own setting: 0 follows the engine; 1, 2, 3
    int m_paintedWidth = 0;            // content box of the last paint
    int m_paintedHeight = 0;

private:
    // The text for the alternative-text display when "alt" is empty.
    CSafeBuf DecorativeText() const;
    void DrawMissingPictureText(void* dc, const CRect& box);

    std::unique_ptr<qm::text::Style> m_textStyle;
    std::unique_ptr<qm::text::Layout> m_textLayout;
};
