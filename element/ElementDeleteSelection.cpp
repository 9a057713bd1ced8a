// Deleting the selected content of a subtree. The selection is the state of
// each element (selected, selectable; a text run adds an inclusive character
// range; a cell or caption selected as a whole carries the whole-cell
// mark). An element answers true when its caller must remove it whole; the
// caller queues it on the document's removed list, since the key handler up
// the stack may still hold an element of it (the caret among them).

#include "element/Element.h"

#include "element/factory/ElementFactory.h"
#include "element/services/XHTMLServices.h"

namespace {

const unsigned short kNoTag[] = {0};
const unsigned short kNoBreakSpace[] = {0x00A0, 0};

bool IsCellOrCaption(const CElement* e) { return IsCellKind(e->m_kind) || e->m_kind == kKindCaption; }

// Appends a text run holding text (empty for none).
void AppendText(CElement* e, const unsigned short* text)
{
    CElement* run = CreateElement(kNoTag, e->m_rules, e->m_root, e->m_owner);
    if (!run)
        return;
    run->m_text = text;
    e->AppendChild(run);
}

void DestroyChildren(CElement* e)
{
    while (CElement* c = e->m_firstChild)
        e->RemoveChild(c->GetID(), true, true);
}

// Every cell of table (nested tables left out) carries the whole-cell mark,
// and there is at least one.
bool AllCellsMarked(const CElement* e, const CElement* table, int& cells)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindTable)
            continue;
        if (IsCellKind(c->m_kind)) {
            if (!c->m_wholeCell)
                return false;
            ++cells;
            continue;
        }
        if (!AllCellsMarked(c, table, cells))
            return false;
    }
    return e != table || cells > 0;
}

bool AllChildrenSelected(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!c->m_selected)
            return false;
    }
    return e->m_firstChild != nullptr;
}

// A selected text run loses its selected characters; true when that was
// all of them.
bool DeleteSelectedText(CElement* run)
{
    const long length = run->m_text.Length();
    const long start = run->m_selStart < 0 ? 0 : run->m_selStart;
    const long end = run->m_selEnd >= length ? length - 1 : run->m_selEnd;
    run->m_selected = 0;
    run->m_selStart = 0;
    run->m_selEnd = 0;
    if (start == 0 && end >= length - 1)
        return true;
    if (end >= start) {
        run->m_text.Delete(static_cast<int>(start), static_cast<int>(end - start + 1));
        if (run->m_owner && run->m_owner->m_doc.m_caretElement == run && run->m_caretOffset > start)
            run->m_caretOffset = start;
    }
    return false;
}

// An inline element holding nothing but text runs of blanks (or nothing at
// all): read back, it is not there.
bool OnlyBlankRuns(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind != kKindText)
            return false;
        const long length = c->m_text.Length();
        for (long i = 0; i < length; ++i) {
            const unsigned short ch = c->m_text.GetAt(static_cast<int>(i));
            if (ch != ' ' && ch != '\t' && ch != '\n' && ch != '\r')
                return false;
        }
    }
    return true;
}

} // namespace

bool CElement::DeleteSelection()
{
    if (m_kind == kKindText)
        return m_selected && DeleteSelectedText(this);
    if (m_selectable && m_selected) {
        if (m_kind == kKindDd || m_kind == kKindDt) {
            DestroyChildren(this);
            AppendText(this, kNoTag);
            m_selected = 0;
            return false;
        }
        if (!m_firstChild)
            return true;
    }
    int cells = 0;
    if (m_kind == kKindTable && AllCellsMarked(this, this, cells))
        return true;
    if (m_kind == kKindDl && AllChildrenSelected(this))
        return true;
    if (IsCellOrCaption(this) && m_wholeCell) {
        DestroyChildren(this);
        AppendText(this, kNoBreakSpace);
        m_wholeCell = 0;
        return false;
    }
    const bool hadChildren = m_firstChild != nullptr;
    for (CElement* c = m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        // An inline element (a link around a picture and a blank) whose
        // content the deletion leaves as blanks alone gives way to them:
        // written, it would read back as nothing, and the blanks still part
        // the words beside it.
        const bool hadContent = c->m_inline && c->m_kind != kKindText && c->m_firstChild && !OnlyBlankRuns(c);
        if (c->DeleteSelection())
            RemoveChild(c->m_id, true, true);
        else if (hadContent && c->m_firstChild && OnlyBlankRuns(c)) {
            // Its runs take its place and no longer take its style; the
            // element goes the way removed elements go.
            CElement* first = c->m_firstChild;
            while (CElement* g = c->m_firstChild) {
                c->RemoveCurrentChildFromList(g);
                InsertInto(g, c, false);
            }
            RemoveChild(c->m_id, true, true);
            for (CElement* r = first; r && r != next; r = r->m_nextSibling)
                r->StyleChanged(2);
        }
        c = next;
    }
    if (hadChildren && !m_firstChild) {
        if (IsCellOrCaption(this) ? m_selected != 0
                                  : m_kind != kKindDd && m_kind != kKindDt && m_kind != kKindBody)
            return true;
        AppendText(this, kNoTag);
    }
    m_selected = 0;
    m_wholeCell = 0;
    return false;
}
