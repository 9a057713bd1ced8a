// Anchors: links laid out as inline elements, named targets as an empty icon.

#include "elements/AElement.h"

#include "base/text/U16.h"
#include "elements/IconElement.h"

bool CAElement::CompleteWebAddress()
{
    // Looked at in place: a layout asks every link, and few need it.
    const CSafeBuf* key = nullptr;
    m_attributes.ForEachPair([&key](const CSafeBuf& name, const CSafeBuf& value) {
        // The names are compared in place: widening "href" for each would
        // cost an allocation per attribute of every link.
        if (!key && U16icmp(name, "href") == 0 && U16nicmp(value, "www.", 4) == 0)
            key = &name;
    });
    if (!key)
        return false;
    CSafeBuf name(*key), value;
    m_attributes.Lookup(static_cast<const unsigned short*>(name), value);
    value.Insert(0, "http://");
    m_attributes.SetAt(static_cast<const unsigned short*>(name), value);
    return true;
}

bool CAElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    CompleteWebAddress();
    if (m_firstChild)
        return CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    PlaceIconBox(this, dc, m_iconWidth, m_iconHeight);
    return true;
}

bool CAElement::GetMinSize(CSize& size, bool ignoreOwnSize)
{
    if (m_firstChild)
        return CElement::GetMinSize(size, ignoreOwnSize);
    if (size.cx < m_iconWidth)
        size.cx = m_iconWidth;
    if (size.cy < m_iconHeight)
        size.cy = m_iconHeight;
    return true;
}

bool CAElement::SelfPaint(void* dc, CPoint origin)
{
    if (!m_firstChild && GetWrappedInlineBrothers(nullptr) == 0)
        return true;
    return CElement::SelfPaint(dc, origin);
}
