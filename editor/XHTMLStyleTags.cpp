// Inline wrappers over the selection: every run of selected inline content
// goes into its own copy of a model element; the pieces of a wrapped inline
// element go together; a style item's class.

#include "editor/XHTML.h"

#include "editor/InsertSupport.h"
#include "editor/StyleBarItem.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/Selection.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

#include <vector>

namespace {

// The element after e in document order, e's own subtree passed over; the
// walk does not leave within.
CElement* NextOutside(CElement* e, const CElement* within)
{
    for (; e && e != within; e = e->m_parent) {
        if (e->m_nextSibling)
            return e->m_nextSibling;
    }
    return nullptr;
}

// Whether b follows a in document order with nothing between them but the
// edges of inline elements and empty text runs: no content, no line break
// and no block. Both lie in block.
bool Adjacent(CElement* a, CElement* b, const CElement* block)
{
    CElement* e = NextOutside(a, block);
    while (e && e != b) {
        if (e->m_block || e->m_kind == kKindBr)
            return false;
        if (b->IsOneOfParent(e)) {
            e = e->m_firstChild;
            continue;
        }
        if (!e->IsEmptyTag(true))
            return false;
        e = NextOutside(e, block);
    }
    return e == b;
}

// An ancestor of e is one of taken: e goes with it.
bool UnderTaken(const CElement* e, const std::vector<CElement*>& taken)
{
    for (const CElement* p = e->m_parent; p && !p->m_block; p = p->m_parent) {
        for (const CElement* t : taken) {
            if (t == p)
                return true;
        }
    }
    return false;
}

// The selected elements a wrapper may take, in document order: blocks,
// breaks and text shown inside an image are passed over, and a text run
// selected in part is divided so that its selected characters stand alone.
std::vector<CElement*> SelectedInline(CElement* root)
{
    CPtrList all;
    root->GetAllChildren(&all, 0, true, 0, 0);
    std::vector<CElement*> out;
    for (void* pos = all.GetHeadPosition(); pos;) {
        auto* e = static_cast<CElement*>(all.GetNext(pos));
        if (!e->m_selected || e->m_block || !e->m_parent || UnderTaken(e, out))
            continue;
        if (e->IsTextElement()) {
            if (e->IsElementUnderTag(kKindImg))
                continue;
            auto* run = static_cast<CTextElement*>(e);
            const long n = run->m_text.Length();
            if (n > 0 && (run->m_selStart > 0 || run->m_selEnd < n - 1)) {
                e = run->DivideElement(static_cast<int>(run->m_selStart), static_cast<int>(run->m_selEnd));
                if (!e)
                    continue;
            }
        }
        out.push_back(e);
    }
    return out;
}

// e is the same element as model: tag and attributes.
bool IsLike(CElement* e, CElement* model)
{
    return e->IsTagSameWith(model) && CSafeBuf(e->GetTagName()) == CSafeBuf(model->GetTagName());
}

// The elements below wrapper, inline ones only, that are the same as it (tag
// and attributes), outermost first.
void CollectLike(CElement* wrapper, CElement* within, std::vector<CElement*>& out)
{
    for (CElement* c = within->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_block)
            continue;
        if (IsLike(c, wrapper))
            out.push_back(c);
        CollectLike(wrapper, c, out);
    }
}

// An inline ancestor of e, from its parent up, is the same as model: what
// e holds is formatted by it already.
bool UnderLike(const CElement* e, CElement* model)
{
    for (CElement* p = e->m_parent; p && !p->m_block; p = p->m_parent) {
        if (IsLike(p, model))
            return true;
    }
    return false;
}

// Between a and b, neighbours in the selection, the edge of a link that is
// selected in part only: a run does not cross it. The wrapper then goes
// inside the link for the part in it, so that the link stays one; split
// around the wrapper, it would be written as two links.
bool EntersPartOfLink(const CElement* a, const CElement* b)
{
    CElement* linkA = a->IsElementUnderTag(kKindA);
    CElement* linkB = b->IsElementUnderTag(kKindA);
    return linkA != linkB
        && ((linkA && !IsWholeElementSelected(linkA)) || (linkB && !IsWholeElementSelected(linkB)));
}

} // namespace

bool CXHTML::FindStyleBarClass(const STYLE_BAR_ITEM* item, CSafeBuf& cls)
{
    cls.Empty();
    if (!item)
        return false;
    for (const ATTRIBUTE_ITEM* a = item->attributes; a; a = a->next) {
        if (CSafeBuf(a->name).CompareNoCase("class") == 0) {
            cls = CSafeBuf(a->value);
            return true;
        }
    }
    return false;
}

void CXHTML::RemoveInlineBrothers(CElement* element, bool destroy)
{
    if (!element)
        return;
    CPtrList pieces;
    element->GetWrappedInlineBrothers(&pieces);
    std::vector<long> ids;
    for (void* pos = pieces.GetHeadPosition(); pos;)
        ids.push_back(static_cast<CElement*>(pieces.GetNext(pos))->GetID());
    // A piece may go with an earlier one: each is looked up afresh.
    for (long id : ids) {
        CElement* piece = m_doc.FindElement(id);
        CElement* parent = piece ? piece->m_parent : nullptr;
        if (!parent || !m_doc.IsElementExist(parent))
            continue;
        if (destroy) {
            parent->RemoveChild(id, true, false);
        } else {
            parent->RemoveChildNodeOnly(id);
            parent->StyleChanged(1);
        }
    }
}

bool CXHTML::InsertTagToSelections(CElement* model)
{
    CElement* root = m_doc.m_root;
    if (!model || !root || !m_doc.m_selectionPresent)
        return false;
    const std::vector<CElement*> selected = SelectedInline(root);

    // Runs: neighbours in one block with nothing between them; a br ends
    // a run and is not wrapped.
    std::vector<std::vector<CElement*>> runs;
    CElement* runBlock = nullptr;
    for (CElement* e : selected) {
        if (e->m_kind == kKindBr) {
            runBlock = nullptr;
            continue;
        }
        CElement* block = e->GetFirstBlockParent();
        if (runs.empty() || !runBlock || block != runBlock || !Adjacent(runs.back().back(), e, block)
            || EntersPartOfLink(runs.back().back(), e))
            runs.emplace_back();
        runs.back().push_back(e);
        runBlock = block;
    }

    bool wrapped = false;
    for (std::vector<CElement*>& run : runs) {
        // The empty runs reading leaves before an inline element that
        // starts a line hold nothing to style; kept at a run's edge they
        // would split that element (a link after a break) from the rest.
        while (run.size() > 1 && IsEmptyRun(run.front()))
            run.erase(run.begin());
        while (run.size() > 1 && IsEmptyRun(run.back()))
            run.pop_back();
        // A run of comments alone (between blocks, say) holds nothing to
        // style: wrapped, it would leave an empty inline element there.
        bool commentsOnly = true;
        for (CElement* e : run)
            commentsOnly = commentsOnly && e->m_kind == kKindComment;
        if (commentsOnly)
            continue;
        // Members at different depths: their ancestors are split so that
        // the run becomes siblings under their common ancestor.
        bool oneParent = true;
        for (CElement* e : run)
            oneParent = oneParent && e->m_parent == run.front()->m_parent;
        if (!oneParent) {
            CPtrList list;
            for (CElement* e : run)
                list.AddTail(e);
            if (!m_doc.ReunionElements(&list))
                continue;
            run.clear();
            for (void* pos = list.GetHeadPosition(); pos;)
                run.push_back(static_cast<CElement*>(list.GetNext(pos)));
        }
        CElement* parent = run.front()->m_parent;
        // Inside a like element already (the rest of a bold text the
        // selection started in), the run would only nest in another.
        if (UnderLike(run.front(), model))
            continue;
        CElement* copy = model->Duplicate();
        if (!parent || !copy) {
            delete copy;
            continue;
        }
        if (!parent->InsertChild(copy, run.front()->GetID(), false)) {
            parent->RemoveCurrentChildFromList(copy);
            delete copy;
            continue;
        }
        copy->CopyFromParent(parent, 1);
        for (CElement* e : run) {
            if (e->m_parent != parent || !parent->RemoveCurrentChildFromList(e))
                continue;
            copy->AppendChild(e);
        }
        // A piece of a like element that the run brought along (split off
        // at the selection's edge) would only nest in the copy: its
        // children take its place.
        std::vector<CElement*> like;
        CollectLike(copy, copy, like);
        for (CElement* e : like) {
            if (CElement* holder = e->m_parent)
                holder->RemoveChildNodeOnly(e->GetID());
        }
        // A piece of an inline element split at the selection's edge
        // and the wrapper itself may end in a blank.
        if (copy->m_lastChild && !copy->m_lastChild->IsTextElement())
            qm::insert::BlankOutsideInline(copy->m_lastChild, true);
        if (copy->m_firstChild && !copy->m_firstChild->IsTextElement())
            qm::insert::BlankOutsideInline(copy->m_firstChild, false);
        qm::insert::BlankOutsideInline(copy, true);
        qm::insert::BlankOutsideInline(copy, false);
        if (copy->m_prevSibling)
            qm::insert::BlankOutsideInline(copy->m_prevSibling, true);
        if (copy->m_nextSibling)
            qm::insert::BlankOutsideInline(copy->m_nextSibling, false);
        copy->StyleChanged(1);
        wrapped = true;
    }
    return wrapped;
}
