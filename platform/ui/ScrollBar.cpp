#include "platform/ui/ScrollBar.h"

#include <algorithm>

namespace qm::ui {

namespace {

constexpr int kMinThumb = 16;

} // namespace

void ScrollBar::SetBounds(int left, int top, int right, int bottom)
{
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

void ScrollBar::Clamp() { m_value = std::max(m_min, std::min(m_value, m_max)); }

void ScrollBar::SetMinimum(int min)
{
    m_min = min;
    Clamp();
}

void ScrollBar::SetMaximum(int max)
{
    m_max = max;
    Clamp();
}

void ScrollBar::SetValue(int value)
{
    m_value = value;
    Clamp();
}

bool ScrollBar::ThumbExtent(int& start, int& end) const
{
    const bool vertical = IsVertical();
    const long long origin = vertical ? m_top : m_left;
    const long long length = vertical ? m_bottom - m_top : m_right - m_left;
    const long long thickness = vertical ? m_right - m_left : m_bottom - m_top;
    const long long arrow = std::min(thickness, length / 2);
    const long long track = length - 2 * arrow;
    if (m_max <= m_min || track < kMinThumb)
        return false;
    const long long range = static_cast<long long>(m_max) - m_min;
    long long thumb = m_view > 0 ? track * m_view / (range + m_view) : track / 2;
    thumb = std::max<long long>(kMinThumb, std::min(thumb, track));
    const long long offset = (track - thumb) * (static_cast<long long>(m_value) - m_min) / range;
    start = static_cast<int>(origin + arrow + offset);
    end = static_cast<int>(origin + arrow + offset + thumb);
    return true;
}

int ScrollBar::TestPart(int h, int v) const
{
    if (!m_visible || m_max <= m_min)
        return 0;
    if (h < m_left || h >= m_right || v < m_top || v >= m_bottom)
        return 0;
    const bool vertical = IsVertical();
    const int along = vertical ? v : h;
    const int origin = vertical ? m_top : m_left;
    const int length = vertical ? m_bottom - m_top : m_right - m_left;
    const int thickness = vertical ? m_right - m_left : m_bottom - m_top;
    const int arrow = std::min(thickness, length / 2);
    if (along < origin + arrow)
        return kPartUpArrow;
    if (along >= origin + length - arrow)
        return kPartDownArrow;
    int start = 0, end = 0;
    if (!ThumbExtent(start, end))
        return 0;
    if (along < start)
        return kPartPageUp;
    if (along >= end)
        return kPartPageDown;
    return kPartThumb;
}

int ScrollBar::Track(int h, int v)
{
    const int part = TestPart(h, v);
    if (part != 0 && m_action) {
        const ActionProc action = m_action; // the procedure may replace itself
        action(*this, part);
    }
    return part;
}

} // namespace qm::ui
