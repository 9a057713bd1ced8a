#pragma once
// Drawing-port geometry: a point (v, h), a rectangle (top, left, bottom,
// right) in 16-bit local pixel coordinates, and the rectangular region used
// as a port's clip. A region is one rectangle or empty; that is all the
// callers ever build (a rectangle clip, or a copy of one).

#include <cstdint>

namespace qm::qd {

struct Point
{
    std::int16_t v;
    std::int16_t h;
};

struct Rect
{
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};

inline bool EmptyRect(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

class Region
{
public:
    Region() : m_rect{0, 0, 0, 0} { }

    bool IsEmpty() const { return EmptyRect(m_rect); }
    // The bounding rectangle; (0,0,0,0) when empty.
    const Rect& Bounds() const { return m_rect; }

    // Makes the region the given rectangle; an inverted rectangle makes it empty.
    void SetRect(int left, int top, int right, int bottom);
    void SetEmpty() { m_rect = Rect{0, 0, 0, 0}; }
    void CopyFrom(const Region& other) { m_rect = other.m_rect; }
    bool Contains(int h, int v) const;

private:
    Rect m_rect;
};

} // namespace qm::qd
