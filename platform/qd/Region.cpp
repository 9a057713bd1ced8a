#include "platform/qd/Region.h"

#include <algorithm>

namespace qm::qd {

namespace {
std::int16_t Clamp16(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }
} // namespace

void Region::SetRect(int left, int top, int right, int bottom)
{
    Rect r{Clamp16(top), Clamp16(left), Clamp16(bottom), Clamp16(right)};
    if (EmptyRect(r))
        SetEmpty();
    else
        m_rect = r;
}

bool Region::Contains(int h, int v) const
{
    return !IsEmpty() && h >= m_rect.left && h < m_rect.right && v >= m_rect.top && v < m_rect.bottom;
}

} // namespace qm::qd
