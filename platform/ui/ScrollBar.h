#pragma once
// A scroll bar: a control at a rectangle in its window's local coordinates,
// vertical when it is at least as tall as it is wide, with a value between a
// minimum and a maximum and the size of the view it scrolls.
//
// Parts (the platform's control part codes): 20 the up or left arrow, 21 the
// down or right arrow, 22 the page-up or page-left area, 23 the page-down or
// page-right area, 129 the thumb; 0 for a point outside the bar and for any
// point of a hidden bar or of one with nothing to scroll (maximum not above
// minimum).
//
// Geometry along the bar: an arrow at each end, a square of the bar's
// thickness (at most half the bar's length each); the track between them;
// the thumb's length is track x view / (range + view), range being maximum -
// minimum (half the track when the view size is 0), at least 16 pixels, and
// its start moves from the track's start to its end as the value goes from
// minimum to maximum. A track shorter than 16 pixels has no thumb and no
// page areas.
//
// Live action: a press on the bar (Track) calls the action procedure once
// with the part pressed, as the platform does at the start of tracking; the
// procedure scrolls and usually sets the value. Holding an arrow down is
// repeated presses to the caller.

#include <cstdint>
#include <functional>

namespace qm::ui {

constexpr int kPartUpArrow = 20;
constexpr int kPartDownArrow = 21;
constexpr int kPartPageUp = 22;
constexpr int kPartPageDown = 23;
constexpr int kPartThumb = 129;

class ScrollBar
{
public:
    using ActionProc = std::function<void(ScrollBar& bar, int part)>;

    void SetBounds(int left, int top, int right, int bottom);
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Right() const { return m_right; }
    int Bottom() const { return m_bottom; }
    bool IsVertical() const { return m_bottom - m_top >= m_right - m_left; }

    int Minimum() const { return m_min; }
    int Maximum() const { return m_max; }
    int Value() const { return m_value; }
    int ViewSize() const { return m_view; }
    // Each keeps the value within [minimum, maximum] (the minimum wins when
    // the maximum is below it).
    void SetMinimum(int min);
    void SetMaximum(int max);
    void SetValue(int value);
    void SetViewSize(int view) { m_view = view < 0 ? 0 : view; }

    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

    // The owner's data, e.g. the control that scrolls with the bar.
    void* Reference() const { return m_reference; }
    void SetReference(void* reference) { m_reference = reference; }

    void SetActionProc(ActionProc proc) { m_action = std::move(proc); }

    // The part at a point of local coordinates.
    int TestPart(int h, int v) const;
    // The thumb's extent along the bar, in local coordinates (start
    // inclusive, end exclusive); false when the bar has no thumb.
    bool ThumbExtent(int& start, int& end) const;
    // A press at a point: the part pressed, after the action procedure ran
    // for it (not for part 0).
    int Track(int h, int v);

private:
    void Clamp();

    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    int m_min = 0;
    int m_max = 0;
    int m_value = 0;
    int m_view = 0;
    bool m_visible = true;
    void* m_reference = nullptr;
    ActionProc m_action;
};

} // namespace qm::ui
