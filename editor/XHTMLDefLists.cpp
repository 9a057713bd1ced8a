// Definition lists: inserting a new list, and the context menu's commands
// that insert, move, select and delete terms, definitions and items and
// sort the list by its terms. An item is a run of terms followed by the run
// of definitions after it.

#include "editor/XHTML.h"

#include "editor/ListTree.h"

#include "base/text/U16.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/Selection.h"
#include "element/markup/SourceCode.h"
#include "element/markup/TreeRepair.h"
#include "elements/TypingTree.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kCompactMarkup = 2;
constexpr int kEmptyPairs = 3;

bool IsEntry(const CElement* e) { return e && (e->m_kind == kKindDt || e->m_kind == kKindDd); }

// The first element of the item e belongs to.
CElement* ItemStart(CElement* e)
{
    CElement* start = e;
    if (e->m_kind == kKindDd) {
        while (start->m_prevSibling && start->m_prevSibling->m_kind == kKindDd)
            start = start->m_prevSibling;
        if (start->m_prevSibling && start->m_prevSibling->m_kind == kKindDt) {
            start = start->m_prevSibling;
            while (start->m_prevSibling && start->m_prevSibling->m_kind == kKindDt)
                start = start->m_prevSibling;
        }
    }
    return start;
}

// The elements of the item that starts at start, in order.
std::vector<CElement*> ItemFrom(CElement* start)
{
    std::vector<CElement*> item;
    bool definitions = false;
    for (CElement* e = start; e; e = e->m_nextSibling) {
        if (!item.empty() && e->m_kind == kKindDt && definitions)
            break;
        definitions = definitions || e->m_kind == kKindDd;
        item.push_back(e);
    }
    return item;
}

// The item before the one starting at start: from the first term of its
// run of terms (or its first definition when it has no term).
CElement* PreviousItemStart(CElement* start)
{
    CElement* e = start->m_prevSibling;
    if (!e)
        return nullptr;
    if (e->m_kind == kKindDd)
        return ItemStart(e);
    while (e->m_prevSibling && e->m_prevSibling->m_kind == kKindDt)
        e = e->m_prevSibling;
    return e;
}

// The sort key of an element: its plain text in upper case.
CSafeBuf SortKey(CElement* e)
{
    CSafeBuf text;
    int state = 0;
    GetDocText(e, text, state, 0, 0, 0, nullptr);
    text.MakeUpper();
    return text;
}

bool Less(const CSafeBuf& a, const CSafeBuf& b) { return U16cmp(a, b) < 0; }

struct SortEntry
{
    CElement* element;
    CSafeBuf key; // terms only
};

bool KeyLess(const SortEntry& a, const SortEntry& b) { return Less(a.key, b.key); }

bool IsTerm(const SortEntry& entry) { return entry.element->m_kind == kKindDt; }

// The list's children in the order sorting gives them: first each run of
// terms in the order of their keys, then the items (ItemFrom) in the order
// of their first terms' keys. An item that does not start with a term stays
// where it is and no item passes it. Elements of equal keys keep their
// order. Each key is computed once, so a long list sorts in n log n steps.
std::vector<CElement*> SortedChildren(CElement* list)
{
    std::vector<SortEntry> entries;
    for (CElement* e = list->m_firstChild; e; e = e->m_nextSibling)
        entries.push_back({e, e->m_kind == kKindDt ? SortKey(e) : CSafeBuf()});
    for (auto run = entries.begin(); run != entries.end();) {
        auto runEnd = std::find_if_not(run, entries.end(), IsTerm);
        std::stable_sort(run, runEnd, KeyLess);
        run = runEnd == entries.end() ? runEnd : runEnd + 1;
    }
    // Items as ranges [first, last) of entries.
    std::vector<std::pair<size_t, size_t>> items;
    for (size_t i = 0; i < entries.size();) {
        size_t end = i;
        bool definitions = false;
        while (end < entries.size() && !(end > i && definitions && IsTerm(entries[end]))) {
            definitions = definitions || entries[end].element->m_kind == kKindDd;
            ++end;
        }
        items.emplace_back(i, end);
        i = end;
    }
    auto ledByTerm
        = [&entries](const std::pair<size_t, size_t>& item) { return IsTerm(entries[item.first]); };
    for (auto run = items.begin(); run != items.end();) {
        auto runEnd = std::find_if_not(run, items.end(), ledByTerm);
        std::stable_sort(run, runEnd,
            [&entries](const auto& a, const auto& b) { return KeyLess(entries[a.first], entries[b.first]); });
        run = runEnd == items.end() ? runEnd : runEnd + 1;
    }
    std::vector<CElement*> order;
    order.reserve(entries.size());
    for (const auto& item : items)
        for (size_t i = item.first; i < item.second; ++i)
            order.push_back(entries[i].element);
    return order;
}

} // namespace

CElement* CXHTML::ContextDefList(CElement** entry)
{
    CElement* context = ContextElement();
    CElement* list = AtOrAbove(context, kKindDl);
    CElement* found = nullptr;
    for (CElement* e = context; e && e != list && !found; e = e->m_parent) {
        if (IsEntry(e))
            found = e;
    }
    if (entry)
        *entry = found;
    return list && list->m_parent && MayChange(7, list, 8) ? list : nullptr;
}

void CXHTML::InsertDefEntries(const char* first, const char* second, int where)
{
    CElement* entry = nullptr;
    CElement* list = ContextDefList(&entry);
    if (!list || !entry)
        return;
    CElement* ref = entry;
    bool after = where > 0;
    if (second) {
        const std::vector<CElement*> item = ItemFrom(ItemStart(entry));
        if (after) {
            for (CElement* e : item)
                ref = e->m_kind == kKindDd ? e : ref;
        } else if (item.front()->m_kind == kKindDt) {
            ref = item.front();
        }
    }
    CElement* a = NewEntry(first, list);
    CElement* b = second ? NewEntry(second, list) : nullptr;
    if (!a || (second && !b) || !MoveBeside(a, ref, after)) {
        delete a;
        delete b;
        return;
    }
    if (b)
        MoveBeside(b, a, true);
    list->StyleChanged(0);
    EndListEdit();
}

void CXHTML::OnDInsertTAbove() { InsertDefEntries("dt", nullptr, 0); }
void CXHTML::OnDInsertTBelow() { InsertDefEntries("dt", nullptr, 1); }
void CXHTML::OnDInsertDAbove() { InsertDefEntries("dd", nullptr, 0); }
void CXHTML::OnDInsertDBelow() { InsertDefEntries("dd", nullptr, 1); }
void CXHTML::OnDInsertIAbove() { InsertDefEntries("dt", "dd", 0); }
void CXHTML::OnDInsertIBelow() { InsertDefEntries("dt", "dd", 1); }

void CXHTML::MoveDefEntry(bool down)
{
    CElement* entry = nullptr;
    CElement* list = ContextDefList(&entry);
    CElement* sibling = entry ? (down ? entry->m_nextSibling : entry->m_prevSibling) : nullptr;
    if (!list || !sibling)
        return;
    MoveBeside(entry, sibling, down);
    list->StyleChanged(0);
    EndListEdit();
}

void CXHTML::OnDMoveTUp() { MoveDefEntry(false); }
void CXHTML::OnDMoveTDown() { MoveDefEntry(true); }

void CXHTML::OnDMoveIDown()
{
    CElement* entry = nullptr;
    CElement* list = ContextDefList(&entry);
    if (!list || !entry)
        return;
    const std::vector<CElement*> item = ItemFrom(ItemStart(entry));
    CElement* next = item.back()->m_nextSibling;
    if (!next)
        return;
    CElement* ref = ItemFrom(next).back();
    for (CElement* e : item) {
        MoveBeside(e, ref, true);
        ref = e;
    }
    list->StyleChanged(0);
    EndListEdit();
}

void CXHTML::OnDMoveIUp()
{
    CElement* entry = nullptr;
    CElement* list = ContextDefList(&entry);
    if (!list || !entry)
        return;
    CElement* start = ItemStart(entry);
    CElement* previous = PreviousItemStart(start);
    if (!previous)
        return;
    for (CElement* e : ItemFrom(start))
        MoveBeside(e, previous, false);
    list->StyleChanged(0);
    EndListEdit();
}

void CXHTML::SelectDefElements(const std::vector<CElement*>& elements)
{
    if (elements.empty() || !m_doc.m_root)
        return;
    m_doc.m_root->CleanSelection(true);
    for (CElement* e : elements) {
        e->SelectAllChildren(true);
        e->m_selected = 1;
    }
    m_doc.m_selectionPresent = 1;
    SetCopyState();
    m_doc.DrawDoc(2);
    if (IsWindowVisible())
        m_doc.Redraw();
}

void CXHTML::OnDSelectTerm()
{
    CElement* entry = nullptr;
    if (ContextDefList(&entry) && entry)
        SelectDefElements({entry});
}

void CXHTML::OnDSelectItem()
{
    CElement* entry = nullptr;
    if (ContextDefList(&entry) && entry)
        SelectDefElements(ItemFrom(ItemStart(entry)));
}

void CXHTML::OnDSelectList()
{
    if (CElement* list = ContextDefList(nullptr))
        SelectDefElements({list});
}

void CXHTML::RemoveDefEntries(CElement* list, const std::vector<CElement*>& entries)
{
    CElement* parent = list->m_parent;
    for (CElement* e : entries) {
        if (CaretWithin(e))
            m_doc.MoveFocusToNextElement(entries.back());
        if (CaretWithin(e))
            m_doc.m_caretElement = nullptr;
        DestroyElement(e);
    }
    if (OnlyEmptyRuns(list))
        RemoveWholeList(list);
    else
        parent->StyleChanged(0);
    m_doc.CheckKeyFocus();
    EndListEdit();
}

void CXHTML::OnDDeleteTerm()
{
    CElement* entry = nullptr;
    if (CElement* list = ContextDefList(&entry); list && entry)
        RemoveDefEntries(list, {entry});
}

void CXHTML::OnDDeleteItem()
{
    CElement* entry = nullptr;
    if (CElement* list = ContextDefList(&entry); list && entry)
        RemoveDefEntries(list, ItemFrom(ItemStart(entry)));
}

void CXHTML::OnDDeleteList()
{
    CElement* list = ContextDefList(nullptr);
    if (!list)
        return;
    RemoveWholeList(list);
    m_doc.CheckKeyFocus();
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
}

void CXHTML::OnDSort()
{
    CElement* list = ContextDefList(nullptr);
    if (!list)
        return;
    const std::vector<CElement*> order = SortedChildren(list);
    size_t at = 0;
    const CElement* e = list->m_firstChild;
    while (e && at < order.size() && e == order[at]) {
        e = e->m_nextSibling;
        ++at;
    }
    if (!e)
        return; // already in order
    for (CElement* e : order)
        e->MoveCurrentElementTo(list, 0, true);
    list->StyleChanged(0);
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
}

void CXHTML::OnDefList()
{
    if (!m_doc.CanInsert(false, false)) {
        if (!m_doc.m_selectionPresent)
            ForceHaveFocus();
        return;
    }
    if (!MayChange(7, nullptr, 5) || !m_doc.m_root)
        return;
    CElement* list = NewElement("dl", m_doc.m_root);
    if (!list)
        return;
    for (int i = 0; i < kEmptyPairs; ++i) {
        list->AppendChild(NewEntry("dt", list));
        list->AppendChild(NewEntry("dd", list));
    }
    if (DoDefListPrp(list, true)) {
        CSafeBuf markup;
        CSafeBuf a, b, c;
        list->GetSourceCode(markup, 0, kCompactMarkup, a, b, c, nullptr);
        if (!InsertXMLToDiv(markup)) {
            if (CElement* added = m_doc.InsertTagText(markup, nullptr, true, true, true, true)) {
                m_doc.PutCursorIn(added);
                if (AtOrAbove(added->m_parent, kKindDiv))
                    CheckAndAddP(added);
            }
        }
        m_doc.DrawDoc(0);
        m_doc.Redraw();
        NotifyChange(true);
        m_doc.SetLastKeyPos(m_doc.m_caretPoint);
    }
    delete list;
    DisplayStyleButton(m_doc.m_caretElement);
    if (!m_doc.m_selectionPresent)
        ForceHaveFocus();
}
