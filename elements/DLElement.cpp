// The definition list: indenting its definitions (mirrored right to left),
// breaking lines inside them, and counting, adding and removing items.

#include "elements/DLElement.h"

#include "element/factory/ElementFactory.h"
#include "element/services/XDocServices.h"
#include "element/services/XHTMLServices.h"
#include "elements/LeadingTextRun.h"

namespace {

bool IsTerm(const CElement* e) { return e->m_kind == kKindDt; }
bool IsDefinition(const CElement* e) { return e->m_kind == kKindDd; }

// Whether e is holder or lies below it. Searched downward: e may be a
// detached element whose former parent is gone.
bool Holds(const CElement* holder, const CElement* e)
{
    for (const CElement* c = holder; c;) {
        if (c == e)
            return true;
        if (c->m_firstChild) {
            c = c->m_firstChild;
            continue;
        }
        while (c != holder && !c->m_nextSibling)
            c = c->m_parent;
        c = c == holder ? nullptr : c->m_nextSibling;
    }
    return false;
}

} // namespace

bool CDLElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    if (!Style().rtl)
        return true;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        const int margin = c->Lay().m_marginLeftTop.x;
        if (IsDefinition(c) && margin > 0 && c->Lay().m_position.x >= margin)
            c->Lay().m_position.x -= margin;
    }
    return true;
}

CElement* CDLElement::BreakElement(long childId, bool force)
{
    CElement* half = CElement::BreakElement(childId, force);
    if (!half)
        return nullptr;
    CElement* parent = half->m_parent;
    if (parent && IsDefinition(parent))
        GiveLeadingTextRun(parent);
    return half;
}

bool CDLElement::GetMinSize(CSize& size, bool ignoreOwnSize)
{
    CSize least(0, 0);
    CElement::GetMinSize(least, ignoreOwnSize);
    size.cx = size.cx > least.cx ? size.cx : least.cx;
    size.cy = size.cy > least.cy ? size.cy : least.cy;
    return true;
}

int CDLElement::CountItems()
{
    enum State
    {
        None,
        AfterTerm,
        AfterDefinition
    } state
        = None;
    int items = 0;
    for (const CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!IsTerm(c) && !IsDefinition(c))
            continue;
        if (state == None || (IsTerm(c) && state == AfterDefinition))
            ++items;
        state = IsTerm(c) ? AfterTerm : AfterDefinition;
    }
    return items;
}

CElement* CDLElement::AppendWithRun(const char* tag)
{
    CElement* e = CreateElement(tag, m_rules, m_root, m_owner);
    if (!e)
        return nullptr;
    if (!AppendChild(e)) {
        delete e;
        return nullptr;
    }
    if (CElement* run = CreateElement("", m_rules, m_root, m_owner)) {
        if (!e->AppendChild(run))
            delete run;
    }
    return e;
}

void CDLElement::MoveCaretOutOf(CElement* e)
{
    if (!m_owner)
        return;
    CXDocServices& doc = m_owner->m_doc;
    if (!doc.m_caretElement || !Holds(e, doc.m_caretElement))
        return;
    for (int direction : {1, 0}) {
        CElement* next = e->MoveKeyFocusToNext(e->GetID(), direction);
        if (next && doc.IsElementExist(next) && !Holds(e, next)) {
            doc.m_caretElement = next;
            return;
        }
    }
    // No caret position outside the removed item: the list itself takes the
    // caret, after it.
    doc.m_caretElement = this;
    m_caretOffset = 1;
}

bool CDLElement::AddOrRemoveItems(int n)
{
    if (n == 0)
        return false;
    if (n > 0) {
        if (m_lastChild && IsTerm(m_lastChild))
            AppendWithRun("dd");
        for (int i = 0; i < n; ++i) {
            if (!AppendWithRun("dt") || !AppendWithRun("dd"))
                break;
        }
    } else {
        enum State
        {
            None,
            AfterTerm,
            AfterDefinition
        } state
            = None;
        long left = -static_cast<long>(n);
        for (CElement* c = m_lastChild; c;) {
            CElement* before = c->m_prevSibling;
            if (IsDefinition(c) && state == AfterTerm && --left == 0)
                break;
            if (IsTerm(c) || IsDefinition(c)) {
                state = IsTerm(c) ? AfterTerm : AfterDefinition;
                MoveCaretOutOf(c);
                RemoveChild(c->GetID(), true, true);
            }
            c = before;
        }
    }
    StyleChanged(1);
    return true;
}
