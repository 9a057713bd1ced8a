#pragma once
// CScriptElement: "script" and "noscript", shown as an icon. Made only by the element factory, which
// stores the final kind code. Its content is kept as markup text, never as child elements
// (IconElement.h has the reading and writing rules).

#include "element/Element.h"
#include "element/markup/MarkupWriter.h"
#include "elements/IconElement.h"

class CScriptElement : public CElement
{
public:
    explicit CScriptElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindScript;
        m_selectable = 1;
    }

    // Slot 11: the icon's box ("bmp00003.bmp", noscript "bmp00004.bmp").
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 15: the attributes, then the content as markup text.
    bool SetElement(_xmlNode* node, bool attributesOnly, bool skipAttributes, bool keepWhiteSpace) override;
    // Slot 37: raised to the icon's size.
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    // Slot 41: the icon, tinted when selected.
    bool SelfPaint(void* dc, CPoint origin) override;
    // Slot 67: the start tag, the content text, the end tag.
    bool GetSourceCode(
        CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var) override;
    bool AppendSourceCode(CSafeBuf& out, int level, int flags, CSafeBuf& a, CSafeBuf& b, CSafeBuf& c,
        SourceCodeVar* var) override
    {
        return AppendWrittenMarkup(this, out, level, flags, a, b, c, var);
    }

    IconPicture m_icon;

private:
    void LoadIcon();
};
