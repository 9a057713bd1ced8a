// Scripts: an icon in the document, their content kept as markup text.

#include "elements/ScriptElement.h"

void CScriptElement::LoadIcon()
{
    LoadIconResource(m_icon, m_kind == kKindNoscript ? "bmp00004.bmp" : "bmp00003.bmp");
}

bool CScriptElement::CalcWinReg(void* dc, bool, bool, CalcInfo*)
{
    LoadIcon();
    PlaceIconBox(this, dc, m_icon.width, m_icon.height);
    return true;
}

bool CScriptElement::SetElement(_xmlNode* node, bool, bool, bool)
{
    return node && ReadIconElementText(this, node);
}

bool CScriptElement::GetMinSize(CSize& size, bool)
{
    LoadIcon();
    RaiseToIcon(size, m_icon);
    return true;
}

bool CScriptElement::SelfPaint(void* dc, CPoint origin)
{
    PaintIcon(this, m_icon, dc, origin);
    return true;
}

bool CScriptElement::GetSourceCode(
    CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var)
{
    WriteIconElement(this, out, level, flags, var);
    return true;
}
