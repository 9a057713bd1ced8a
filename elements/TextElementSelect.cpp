// A text run's part in the selection: turning the points of a drag into
// character offsets, splitting the run so that formatting or a link can go
// around its selected characters, and reading those characters.
//
// Offsets are text offsets throughout: each is measured at its column of the
// display text (ToDisplayOffset), so TABs and text-transform never shift
// them.

#include "elements/TextElement.h"

#include "base/codec/Escaping.h"
#include "element/Selection.h"
#include "element/factory/ElementFactory.h"
#include "element/services/XHTMLServices.h"

#include <algorithm>

namespace {

bool HasCaret(const CElement* e) { return e->m_owner && e->m_owner->m_doc.m_caretElement == e; }

// The selected part of [from, to] (offsets of the whole text) moves to
// piece, relative to from.
void GiveSelection(CElement* piece, bool selected, long start, long end, long from, long to)
{
    const long s = std::max(start, from);
    const long e = std::min(end, to);
    if (selected && s <= e) {
        piece->m_selected = 1;
        piece->m_selStart = s - from;
        piece->m_selEnd = e - from;
    } else {
        piece->m_selected = 0;
        piece->m_selStart = 0;
        piece->m_selEnd = 0;
    }
}

bool IsOnlyChildOfCell(const CElement* e)
{
    const CElement* p = e->m_parent;
    return p && p->m_kind == kKindTd && p->m_firstChild == e && p->m_lastChild == e;
}

} // namespace

bool CTextElement::ProcessSelection(
    long startId, CPoint startPoint, long endId, CPoint endPoint, bool& inside, bool reverse, CPtrList* cells)
{
    const bool isStart = m_id == startId;
    const bool isEnd = m_id == endId;
    if (isStart)
        inside = true;
    BuildDisplayText();
    if (!inside)
        return false;
    const long n = m_text.Length();
    if (isStart && n == 0 && !isEnd && IsOnlyChildOfCell(this)) {
        m_prevSelected = m_selected;
        m_selected = 1;
        m_selStart = 0;
        m_selEnd = 0;
    } else if (isStart || isEnd) {
        // Backward, the end element's point fixes the start.
        const bool fixesStart = reverse ? isEnd : isStart;
        const bool fixesEnd = reverse ? isStart : isEnd;
        const CPoint startAt = reverse ? endPoint : startPoint;
        const CPoint endAt = reverse ? startPoint : endPoint;
        CPoint origin(0, 0);
        ElementToScreen(origin);
        auto caretX = [&](long i) { return origin.x + DisplayWidth(ToDisplayOffset(static_cast<int>(i))); };
        long s = 0;
        long e = n - 1;
        bool found = fixesEnd;
        if (fixesStart) {
            s = -1;
            for (long i = 0; i < n && s < 0; ++i) {
                if (caretX(i) >= startAt.x)
                    s = i;
            }
            found = found || s >= 0;
        }
        if (fixesEnd) {
            for (long i = 0; i <= n; ++i) {
                if (caretX(i) >= endAt.x) {
                    e = i - 1;
                    break;
                }
            }
        }
        if (found && s >= 0 && s <= e) {
            const long S = m_selStart;
            const long E = m_selEnd;
            if (!m_selected) {
                m_selected = 1;
                m_selStart = s;
                m_selEnd = e;
                m_prevSelected = 0;
            } else if (s == S && e == E) {
                m_selected = 0;
                m_prevSelected = 1;
            } else if (s == S) {
                m_selStart = std::min(e, E);
                m_selEnd = std::max(e, E);
            } else if (e == E) {
                m_selStart = std::min(s, S);
                m_selEnd = std::max(s, S);
            } else if (e >= E) {
                m_selEnd = e;
            } else {
                m_selStart = s;
            }
        }
    } else {
        m_prevSelected = m_selected;
        m_selected = m_selected ? 0 : 1;
        m_selStart = 0;
        m_selEnd = std::max<long>(n - 1, 0);
    }
    if (isEnd)
        inside = false;
    if (m_selected)
        AddSelectionCell(this, cells);
    return false;
}

CTextElement* CTextElement::DivideElement(int start, int end)
{
    const int n = m_text.Length();
    start = std::max(start, 0);
    end = std::min(end, n - 1);
    if (end < start)
        return nullptr;
    if (start == 0 && end == n - 1)
        return this;
    if (!m_parent)
        return nullptr;
    const bool selected = m_selected && m_selStart <= m_selEnd;
    const long selStart = m_selStart;
    const long selEnd = m_selEnd;
    const bool caret = HasCaret(this);
    const long caretAt = m_caretOffset;
    auto newRun = [this](const CSafeBuf& text) -> CTextElement* {
        CElement* e = CreateElement(static_cast<const unsigned short*>(nullptr), m_rules, m_root, m_owner);
        CTextElement* run = dynamic_cast<CTextElement*>(e);
        if (!run) {
            delete e;
            return nullptr;
        }
        run->m_style = m_style;
        run->m_text = text;
        if (!text.IsEmpty())
            run->m_linkState = m_linkState;
        return run;
    };

    // The pieces: [0, start) stays here unless start is 0; the middle and
    // what follows it are new runs.
    CTextElement* middle = start == 0 ? this : newRun(m_text.Mid(start, end - start + 1));
    CTextElement* rest = end < n - 1 ? newRun(m_text.Mid(end + 1, n - end - 1)) : nullptr;
    if (!middle || (end < n - 1 && !rest)) {
        if (middle != this)
            delete middle;
        delete rest;
        return nullptr;
    }
    CElement* at = this;
    if (middle != this) {
        m_parent->InsertInto(middle, this, true);
        at = middle;
    }
    if (rest)
        m_parent->InsertInto(rest, at, true);
    m_text = start == 0 ? m_text.Left(end + 1) : m_text.Left(start);

    if (start > 0)
        GiveSelection(this, selected, selStart, selEnd, 0, start - 1);
    GiveSelection(middle, selected, selStart, selEnd, start, end);
    if (rest)
        GiveSelection(rest, selected, selStart, selEnd, end + 1, n - 1);

    if (caret) {
        CElement* holder = this;
        long offset = caretAt;
        if (start > 0 && caretAt > start) {
            holder = middle;
            offset = caretAt - start;
        }
        if (rest && caretAt > end + 1) {
            holder = rest;
            offset = caretAt - end - 1;
        }
        holder->m_caretOffset = offset;
        m_owner->m_doc.m_caretElement = holder;
    }
    return middle;
}

int CTextElement::DoSelection(int kind, bool apply, CElement* templ)
{
    try {
        const long n = m_text.Length();
        if (!m_selected || m_selStart < 0 || m_selStart > m_selEnd || m_selStart >= n || !m_parent)
            return 0;
        if (CElement* match = FindFormatAncestor(this, kind, templ)) {
            if (apply || !match->m_parent)
                return 0;
            CTextElement* part = DivideElement(static_cast<int>(m_selStart), static_cast<int>(m_selEnd));
            if (!part)
                return 0;
            CElement* above = match->m_parent;
            if (!part->JumpOut(match->GetID(), true))
                return 0;
            above->StyleChanged(1);
            return 1;
        }
        if (!apply)
            return 0;
        CElement* wrapper = MakeFormatWrapper(this, kind, templ);
        if (!wrapper)
            return 0;
        CTextElement* part = DivideElement(static_cast<int>(m_selStart), static_cast<int>(m_selEnd));
        if (!part) {
            delete wrapper;
            return 0;
        }
        return WrapSelected(part, wrapper) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

CElement* CTextElement::PackSelection(CElement* wrapper)
{
    if (!wrapper || !m_selected || m_linkState != 0 || m_selStart > m_selEnd)
        return nullptr;
    const long n = m_text.Length();
    if (m_selStart <= 0 && m_selEnd >= n - 1)
        return CElement::PackSelection(wrapper);
    CTextElement* part = DivideElement(static_cast<int>(m_selStart), static_cast<int>(m_selEnd));
    if (!part)
        return nullptr;
    if (part == this)
        return CElement::PackSelection(wrapper);
    if (WrapSelected(part, wrapper->Duplicate()))
        part->m_linkState = 1;
    return nullptr;
}

bool CTextElement::DeleteSelection()
{
    const long n = m_text.Length();
    if (!m_selected || m_selStart < 0 || m_selStart > m_selEnd)
        return false;
    if (m_selStart == 0 && m_selEnd >= n - 1)
        return true;
    const long end = std::min<long>(m_selEnd, n - 1);
    if (m_selStart < n) {
        const long count = end - m_selStart + 1;
        if (HasCaret(this) && m_caretOffset > m_selStart)
            m_caretOffset = m_caretOffset > end ? m_caretOffset - count : m_selStart;
        m_text.Delete(static_cast<int>(m_selStart), static_cast<int>(count));
    }
    m_selected = 0;
    m_selStart = 0;
    m_selEnd = 0;
    return false;
}

bool CTextElement::IsCursorInsideSelection(CPoint pt)
{
    if (!HasOwnSelection())
        return false;
    CRect box = Lay().m_sizeRect;
    ElementToDocument(box);
    if (pt.x < box.left || pt.x >= box.right || pt.y < box.top || pt.y >= box.bottom)
        return false;
    return pt.x >= box.left + m_selStartPoint.x && pt.x <= box.left + m_selEndPoint.x;
}

bool CTextElement::GetSelectedText(CSafeBuf& out) const
{
    const long n = m_text.Length();
    if (!m_selected || m_selStart < 0 || m_selStart > m_selEnd || m_selEnd > n)
        return false;
    const long end = std::min<long>(m_selEnd, n - 1);
    out = m_text.Mid(static_cast<int>(m_selStart), static_cast<int>(end - m_selStart + 1));
    return true;
}

bool CTextElement::GetSelectionCode(CSafeBuf& out, int, bool)
{
    CSafeBuf text;
    if (!GetSelectedText(text))
        return false;
    EscapeXMLChar(text, false);
    out = text;
    return true;
}
