#pragma once
// CCommentElement: a comment (tag name "_comment_"), shown as an icon. Made only by the element
// factory; it constructs with the script's kind and the factory stores 68. Its text is the comment's
// text, trimmed.

#include "element/Element.h"
#include "element/markup/MarkupWriter.h"
#include "elements/IconElement.h"

class CCommentElement : public CElement
{
public:
    explicit CCommentElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindScript;
        m_selectable = 1;
    }

    // Slot 11: the icon's box ("comment16.bmp").
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 37: raised to the icon's size.
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    // Slot 41: the icon, tinted when selected.
    bool SelfPaint(void* dc, CPoint origin) override;
    // Slot 67: "<!-- " + text + " -->", with flag 0x1 on a line of its own
    // indented one TAB a level; the caret marker goes in front (caret mode),
    // the selection markers around (selection mode). A "--" in the text,
    // which would end the comment early, is written as "- -".
    bool GetSourceCode(
        CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var) override;
    bool AppendSourceCode(CSafeBuf& out, int level, int flags, CSafeBuf& a, CSafeBuf& b, CSafeBuf& c,
        SourceCodeVar* var) override
    {
        return AppendWrittenMarkup(this, out, level, flags, a, b, c, var);
    }

    IconPicture m_icon;
};
