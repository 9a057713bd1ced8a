// The centring block.

#include "elements/OtherElement.h"

#include "elements/TDElement.h"
#include "style/records/StyleType.h"

bool COtherElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    // In a cell measured without a box it keeps its content's width.
    if (m_kind != kKindCenter || !SpansGivenWidth(this))
        return true;
    const int available = Lay().m_availRect.right - Lay().m_availRect.left;
    if (Lay().m_sizeRect.right - Lay().m_sizeRect.left < available)
        Lay().m_sizeRect.right = Lay().m_sizeRect.left + available;
    AlignChild(kAlignCenter);
    return true;
}
