// Taking a style off again, and the two questions applying a style asks of
// the selection: whether its blocks (or elements) hold a tag, and whether
// it lies under an element of a tag and class.

#include "editor/XHTML.h"

#include "editor/SelectedElements.h"
#include "editor/StyleBarItem.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TypingTree.h"

#include "base/collections/StringList.h"

#include <set>
#include <vector>

namespace {

// Some descendant of e (not e) satisfies test.
template <typename Test>
bool AnyDescendant(const CElement* e, Test test)
{
    std::vector<const CElement*> pending;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        pending.push_back(c);
    while (!pending.empty()) {
        const CElement* c = pending.back();
        pending.pop_back();
        if (test(c))
            return true;
        for (const CElement* g = c->m_firstChild; g; g = g->m_nextSibling)
            pending.push_back(g);
    }
    return false;
}

bool ListsTag(const CStringList& tags, const CElement* e)
{
    return e->GetTagName()[0] && tags.Find(e->GetTagName()) != nullptr;
}

} // namespace

void CXHTML::RemoveTagByItem(STYLE_BAR_ITEM* item)
{
    if (!item || !item->element[0] || !m_doc.m_root)
        return;
    CSafeBuf cls;
    FindStyleBarClass(item, cls);
    std::vector<long> starts;
    if (m_doc.m_selectionPresent) {
        starts = SelectedElementIds(m_doc.m_root);
    } else if (CElement* caret = CaretElementInTree()) {
        starts.push_back(caret->GetID());
    }
    for (long id : starts) {
        CElement* start = m_doc.FindElement(id);
        CElement* found = start ? start->IsElementUnderTag(item->element, cls) : nullptr;
        CElement* parent = found ? found->m_parent : nullptr;
        if (!parent)
            continue;
        const bool inlineDiv = found->m_kind == kKindDiv && parent == m_doc.m_root
            && !AnyDescendant(found, [](const CElement* c) { return c->m_block != 0; });
        if (inlineDiv) {
            // A div of inline content directly under the body: a p holds
            // that content instead.
            CElement* p = NewElement("p", parent);
            if (!p)
                continue;
            parent->InsertChild(p, found->GetID(), false);
            found->MoveChildrenTo(p, 0, true, 0, 0);
            parent->RemoveChild(found->GetID(), true, false);
            p->StyleChanged(1);
            continue;
        }
        RemoveInlineBrothers(found, false);
        if (!m_doc.IsElementExist(found) || !found->m_parent)
            continue;
        parent = found->m_parent;
        ELEMENT_STYLE given = found->Style();
        start->RemoveStyle(&given);
        parent->RemoveChildNodeOnly(found->GetID());
        parent->StyleChanged(1);
    }
}

bool CXHTML::ValidateSelection(CStringList* tags, bool byBlock)
{
    if (!tags || !m_doc.m_root)
        return true;
    std::vector<CElement*> considered;
    if (m_doc.m_selectionPresent) {
        for (long id : SelectedElementIds(m_doc.m_root)) {
            if (CElement* e = m_doc.FindElement(id))
                considered.push_back(e);
        }
    } else {
        CElement* caret = CaretElementInTree();
        if (!caret)
            return false;
        considered.push_back(caret);
    }
    std::set<const CElement*> judgedAlready; // many selected runs share a block
    for (CElement* e : considered) {
        CElement* judged = byBlock && !e->m_block ? e->GetFirstBlockParent() : e;
        if (judged && judgedAlready.insert(judged).second
            && AnyDescendant(judged, [tags](const CElement* c) { return ListsTag(*tags, c); }))
            return false;
    }
    return true;
}

bool CXHTML::IsCurrentUnderTag(const unsigned short* tag, const unsigned short* cls)
{
    if (!tag || !m_doc.m_root)
        return false;
    if (m_doc.m_selectionPresent)
        return m_doc.m_root->IsSelectionUnderTag(tag, cls, 2);
    CElement* caret = CaretElementInTree();
    return caret && caret->IsElementUnderTag(tag, cls) != nullptr;
}
