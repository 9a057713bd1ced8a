// Holders of maps, objects and form controls: an icon in the document,
// their content kept as markup text.

#include "elements/HolderElement.h"

int CHolderElement::IconCode() const
{
    switch (m_kind) {
    case kKindMap: return kIconMap;
    case kKindObject: return kIconObject;
    case kKindFormControl: return kIconForm;
    default: return -1;
    }
}

void CHolderElement::LoadIcon(int code)
{
    switch (code) {
    case kIconNone: m_icon.loaded = true; break;
    case kIconForm: LoadControlIcon(m_icon, this, "form", "bmp00005.bmp"); break;
    case kIconMap: LoadIconResource(m_icon, "bmp00009.bmp"); break;
    case kIconObject: LoadIconResource(m_icon, "bmp00008.bmp"); break;
    default: LoadIconResource(m_icon, "bmp00005.bmp"); break;
    }
}

bool CHolderElement::CalcWinReg(void* dc, bool, bool, CalcInfo*)
{
    LoadIcon(IconCode());
    PlaceIconBox(this, dc, m_icon.width, m_icon.height);
    return true;
}

bool CHolderElement::SetElement(_xmlNode* node, bool, bool, bool)
{
    return node && ReadIconElementText(this, node);
}

bool CHolderElement::GetMinSize(CSize& size, bool)
{
    LoadIcon(IconCode());
    RaiseToIcon(size, m_icon);
    return true;
}

bool CHolderElement::SelfPaint(void* dc, CPoint origin)
{
    PaintIcon(this, m_icon, dc, origin);
    return true;
}

bool CHolderElement::GetSourceCode(
    CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var)
{
    WriteIconElement(this, out, level, flags, var);
    return true;
}
