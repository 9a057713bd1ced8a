// Scrolling the document's view: the two scroll bars kept in step with the
// document's size, the window rectangle the tree is laid out in, and
// scrolling to the caret. Scroll-bar values are in units of 2 pixels.

#include "document/XDoc.h"

#include "element/Element.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "style/layout/LayoutPass.h"

#include <algorithm>
#include <cstdlib>

namespace {

void SetRange(DOC_SCROLL_BAR& bar, int minimum, int maximum)
{
    // The minimum first: a bar coming out of -2 ... -1 keeps its value in range.
    bar.SetMinimum(minimum);
    bar.SetMaximum(maximum);
}

} // namespace

bool CXDoc::HorizontalBarShown() const
{
    const CControlServices* control = Control();
    return control ? control->m_horizontalBarShown != 0 : m_layoutFlags[kHorizontalBarAlone] != 0;
}

void CXDoc::ShowHorizontalBar(bool show)
{
    // The control shows or hides its bar and fits the editing area to it.
    if (CControlServices* control = Control())
        control->ShowScrollBar(1, show);
    else
        m_layoutFlags[kHorizontalBarAlone] = show ? 1 : 0;
}

void CXDoc::SetScrollBar()
{
    if (!m_root)
        return;
    m_scrollBarRect = m_root->Lay().m_sizeRect;
    m_scrollBarRect.OffsetRect(m_root->Lay().m_position.x, m_root->Lay().m_position.y);
    bool relayout = false;

    const int right = int(m_scrollBarRect.right);
    if (right > m_viewWidth) {
        SetRange(m_horizontalBar, 0, (right - m_viewWidth) / 2 + 1);
        if (HorizontalBarShown()) {
            if (m_scrollX >= right) {
                m_scrollX = std::max(0, right - m_viewWidth);
                m_horizontalBar.SetValue(m_scrollX / 2);
            }
        } else {
            ShowHorizontalBar(true);
            m_scrollX = 0;
            m_horizontalBar.SetValue(0);
            relayout = true;
        }
    } else if (HorizontalBarShown()) {
        ShowHorizontalBar(false);
    }

    const int bottom = int(m_scrollBarRect.bottom);
    const int windowBottom = int(m_windowRect.bottom);
    unsigned char& verticalActive = m_layoutFlags[kVerticalBarActive];
    if (bottom > windowBottom) {
        SetRange(m_verticalBar, 0, (bottom - windowBottom) / 2 + 1);
        if (verticalActive) {
            if (m_scrollY >= bottom) {
                m_scrollY = std::max(0, bottom - windowBottom);
                m_verticalBar.SetValue(m_scrollY / 2);
            }
        } else {
            m_scrollY = 0;
            verticalActive = 1;
            m_verticalBar.SetValue(0);
            relayout = true;
        }
    } else if (bottom <= m_viewRect.bottom && verticalActive) {
        // The vertical bar is never hidden, only disabled; the offset waits
        // for the next Draw to pull it back.
        verticalActive = 0;
        SetRange(m_verticalBar, -2, -1);
    }

    if (relayout) {
        // A bar that appears narrows or shortens the editing area: the
        // window is laid out again and drawn. (The control re-applying its
        // window comes with the control's scroll bars.)
        CRect rect = m_viewRect;
        rect.right = rect.left + m_viewWidth;
        ResizeWindow(rect);
        Redraw();
    }
}

void CXDoc::ResizeWindow(CRect& rect)
{
    const bool changed = rect.right != m_windowRect.right || rect.bottom != m_windowRect.bottom;
    m_windowRect = rect;
    // The root keeps its rectangles until the size changes: giving them
    // again resets what the last layout left in them.
    if (!m_root || !changed)
        return;
    try {
        SetLayoutWidth(m_root, int(std::labs(rect.right - rect.left)));
        m_root->UpdateElement(0);
        m_root->StyleChanged(1);
        if (!m_layoutFlags[kCombiningSuspended])
            CombineElement(0);
        m_root->Draw(nullptr);
    } catch (...) {
        WriteExcpInfo("ResizeWindow");
    }
}

void CXDoc::AdjCursorPos()
{
    const int oldX = m_scrollX;
    const int oldY = m_scrollY;
    const int width = int(std::labs(m_windowRect.right - m_windowRect.left));
    const int height = int(std::labs(m_windowRect.bottom - m_windowRect.top));
    const int dx = int(m_caretPoint.x) - m_scrollX;
    const int dy = int(m_caretPoint.y) - m_scrollY;
    if (dx < 0 || dx > width)
        m_scrollX = int(m_caretPoint.x) - width / 2;
    if (dy < 0 || dy > height)
        m_scrollY = int(m_caretPoint.y) - height / 2;
    m_scrollX = std::max(m_scrollX, 0);
    m_scrollY = std::max(m_scrollY, 0);
    if (m_scrollX == oldX && m_scrollY == oldY)
        return;
    m_horizontalBar.SetValue(m_scrollX / 2);
    m_verticalBar.SetValue(m_scrollY / 2);
    Redraw();
}
