// The image as a caret stop and a click target: the caret stands before
// (offset 0) or after (offset 1) it; a negative offset marks the image
// itself as the caret's place (its top-left corner, a 20-pixel caret). A
// click selects the image alone. In text display the arrows lead into the
// alternative text.

#include "elements/ImageElement.h"

#include "element/services/XHTMLServices.h"
#include "style/layout/LayoutBox.h"

#include <vector>

namespace {

constexpr int kOwnCaretLength = 20;
constexpr unsigned int kLeftArrow = 28;
constexpr unsigned int kRightArrow = 29;

// The element's box in document coordinates.
CRect DocumentBox(CElement* e)
{
    CRect box = e->Lay().m_sizeRect;
    e->ElementToDocument(box);
    return box;
}

// Clears the selection state of every element of root's tree.
void ClearSelection(CElement* root)
{
    std::vector<CElement*> stack;
    if (root)
        stack.push_back(root);
    while (!stack.empty()) {
        CElement* e = stack.back();
        stack.pop_back();
        e->m_selected = 0;
        e->m_wholeCell = 0;
        e->m_selStart = e->m_selEnd = 0;
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
            stack.push_back(c);
    }
    if (root && root->m_owner)
        root->m_owner->m_doc.m_selectedCellCount = 0;
}

} // namespace

int CImageElement::GetKeyLen()
{
    if (m_caretOffset < 0)
        return kOwnCaretLength;
    return CElement::GetKeyLen();
}

int CImageElement::GetKeyPos(CPoint& pt, int n)
{
    if (m_caretOffset >= 0)
        return CElement::GetKeyPos(pt, n);
    pt = CPoint(0, 0);
    ElementToScreen(pt);
    return 1;
}

int CImageElement::GetCloseCursor(CPoint pt, CPoint& caret, int& length, int&, int mode)
{
    CPoint inside = pt;
    if (mode != 1 || !m_picture || !PointToElement(inside))
        return 0;
    // The caret runs along the image's box, which may differ from the
    // picture's own size.
    length = BoxHeight(this);
    const CRect box = DocumentBox(this);
    const int middle = (box.left + box.right) / 2;
    if (pt.x < caret.x && pt.x < middle)
        caret.x = box.left;
    else if (pt.x > caret.x && pt.x > middle)
        caret.x = box.right;
    caret.y = box.bottom;
    return 1;
}

bool CImageElement::IsCursorInsideSelection(CPoint pt)
{
    if (GetDisplayType() == 2)
        return CElement::IsCursorInsideSelection(pt);
    return m_selected && DocumentBox(this).PtInRect(pt);
}

int CImageElement::LButtonDown(unsigned int flags, CPoint, bool&, CPoint&, int&, bool& selected)
{
    if (flags == 0xFFFF)
        return 0;
    const bool wasSelected = m_selected != 0;
    ClearSelection(m_root ? m_root : this);
    m_selected = 1;
    selected = true;
    return wasSelected ? 0 : 1;
}

bool CImageElement::OnChar(unsigned int ch, unsigned int repeat, unsigned int modifiers, bool& handled,
    CPoint& caretPoint, int& caretLength, CElement*& caretElement, bool last)
{
    CElement* target = nullptr;
    long offset = 0;
    if (GetDisplayType() == 2 && m_firstChild) {
        if (m_caretOffset == 0 && ch == kRightArrow) {
            target = m_firstChild;
        } else if (m_caretOffset == 1 && ch == kLeftArrow) {
            target = m_lastChild;
            offset = target->m_text.Length();
        }
    }
    if (!target)
        return CElement::OnChar(ch, repeat, modifiers, handled, caretPoint, caretLength, caretElement, last);
    target->m_caretOffset = offset;
    if (m_owner)
        m_owner->m_doc.m_caretElement = target;
    caretElement = target;
    caretLength = target->GetKeyLen();
    target->GetKeyPos(caretPoint, 0);
    handled = true;
    return true;
}
