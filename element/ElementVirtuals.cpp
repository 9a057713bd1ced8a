// Base behaviour of the virtual operations that the element itself defines
// (the child-list ones are in ElementChildList.cpp, TreeString in
// ElementTagList.cpp, GetIndex in ElementWalks.cpp).

#include "element/Element.h"

bool CElement::BeforeChildCalReg(void*) { return true; }

bool CElement::IsCanWrap() { return m_canWrap != 0; }

bool CElement::CanDrawChild() { return true; }

bool CElement::ReleaseCDC() { return true; }

bool CElement::IsValidText(const unsigned short* text)
{
    for (const unsigned short* p = text; p && *p; ++p) {
        if (*p > 0x20)
            return true;
    }
    return false;
}

bool CElement::InsertText(const unsigned short*) { return false; }

void CElement::UpdateExtraAttrs() { }

bool CElement::UpdateElement(int mode)
{
    if (m_parent) {
        if (mode == 1) {
            if (!IsHeadingKind(m_kind))
                EditStyle().fontWeight = 100;
            EditStyle().italic = 0;
            EditStyle().underline = 0;
            if (!Style().colorSet)
                EditStyle().color = static_cast<std::int32_t>(RGB(128, 128, 128));
        }
        CopyFromParent(m_parent, mode);
    }
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        c->UpdateElement(mode);
    return true;
}

bool CElement::ReLoad(void*) { return false; }
