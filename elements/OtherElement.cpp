// The centring block.

#include "elements/OtherElement.h"

#include "style/records/StyleType.h"

bool COtherElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    if (m_kind != kKindCenter)
        return true;
    const int available = m_availRect.right - m_availRect.left;
    if (m_sizeRect.right - m_sizeRect.left < available)
        m_sizeRect.right = m_sizeRect.left + available;
    AlignChild(kAlignCenter);
    return true;
}
