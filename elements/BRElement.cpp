// Line breaks, shown as the engine's line-break icon while marks are on.

#include "elements/BRElement.h"

#include "element/services/XHTMLServices.h"
#include "elements/IconElement.h"
#include "platform/cg/Context.h"
#include "style/draw/DrawPrimitives.h"

bool CBRElement::ShowsMark() const { return m_owner && m_owner->m_showLineBreakMarks; }

bool CBRElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    if (!ShowsMark())
        return CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    PlaceIconBox(this, dc, m_owner->m_lineBreakIconWidth, m_owner->m_lineBreakIconHeight);
    return true;
}

bool CBRElement::SelfPaint(void* dc, CPoint origin)
{
    if (!ShowsMark())
        return CElement::SelfPaint(dc, origin);
    auto* context = static_cast<qm::cg::Context*>(dc);
    if (context && m_owner->m_lineBreakIconWidth > 0)
        m_owner->m_lineBreakIcon.CopyImage(nullptr, nullptr, context, GetFlipHeight(this), origin);
    if (m_selected) {
        CRect box = Lay().m_sizeRect;
        box.OffsetRect(origin.x, origin.y);
        xInvertRect(dc, box, this);
    }
    return true;
}
