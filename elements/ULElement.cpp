// The lists: numbering their items, and breaking a line inside them.

#include "elements/ULElement.h"

#include "elements/LIElement.h"
#include "elements/LeadingTextRun.h"

void CULElement::NumberItems()
{
    int n = 0;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind != kKindLi)
            continue;
        if (CLIElement* item = dynamic_cast<CLIElement*>(c))
            item->m_number = ++n;
    }
}

bool CULElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    // Numbered before as well: an inside marker's room depends on its text.
    NumberItems();
    CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    NumberItems();
    return true;
}

CElement* CULElement::BreakElement(long childId, bool force)
{
    CElement* half = CElement::BreakElement(childId, force);
    if (!half)
        return nullptr;
    CElement* parent = half->m_parent;
    if (parent && parent->m_kind == kKindLi)
        GiveLeadingTextRun(parent);
    return half;
}
