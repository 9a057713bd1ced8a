// Small structural commands: a horizontal rule, an empty element (a line
// break) at the caret, deleting a shown selection or the context element,
// removing a hyperlink, and the tag-list dialog that edits or removes one
// of the elements around the caret.

#include "editor/XHTML.h"

#include "editor/StructuralFlag.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/ElementUtilities.h"
#include "element/EmptyCell.h"
#include "element/markup/TreeRepair.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"
#include "property_dialogs/TagListDlg.h"

#include <set>
#include <vector>

namespace {

// Edit-guard codes: an editing command (sub-code 4, a rule); the tag list
// asking without a message box.
constexpr int kGuardCommand = 7;
constexpr long kSubRule = 4;
constexpr int kGuardTagListQuiet = 0x8005;

// Tag-list entry states.
constexpr int kEntryFree = 0;
constexpr int kEntryGuarded = 1;
constexpr int kEntryLocked = 2;

// The tag-list dialog's answers.
constexpr int kListEdit = 1;
constexpr int kListRemove = 2;

// Kinds removed whole by the tag list.
bool RemovedWhole(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindTable || k == kKindDl || k == kKindDd || k == kKindDt;
}

// Parts of a table or a list whose content cannot stand where the part
// stands (cells in a table, text in a row or a list, items outside a list;
// a data table's rows outside their group are put back in one when it is
// written): the tag list does not unwrap them.
bool KeptByTagList(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindTr || k == kKindCaption || k == kKindLi || IsCellKind(k) || IsRowGroupKind(k)
        || IsListKind(k);
}

// Containers whose inline content beside a block child stands in
// paragraphs, as reading markup puts it.
bool ParagraphsBesideBlocks(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindDiv || k == kKindFieldset || k == kKindDd || IsCellKind(k);
}

// The first element after e in document order that is not inside it, or
// null at the end of the document.
CElement* ElementAfter(CElement* e)
{
    for (CElement* up = e; up; up = up->m_parent) {
        if (up->m_nextSibling)
            return up->m_nextSibling;
    }
    return nullptr;
}

// An a beside which the collection of a link looks on: a line break or an
// empty text run.
bool PassedOverBesideLink(const CElement* e) { return e->m_kind == kKindBr || IsEmptyRun(e); }

// Adds to link the a siblings around a that have the same attributes,
// passing over line breaks and empty runs.
void CollectEqualNeighbours(CElement* a, std::vector<CElement*>& link, std::set<const CElement*>& seen)
{
    for (int side = 0; side < 2; ++side) {
        for (CElement* s = side ? a->m_nextSibling : a->m_prevSibling; s;
             s = side ? s->m_nextSibling : s->m_prevSibling) {
            if (PassedOverBesideLink(s))
                continue;
            if (s->m_kind != kKindA || !CompareAttributes(a, s))
                break;
            if (seen.insert(s).second)
                link.push_back(s);
        }
    }
}

} // namespace

void CXHTML::OnInserthr()
{
    if (!m_doc.CanInsert(false, false) || !MayChange(kGuardCommand, nullptr, kSubRule))
        return;
    CElement* caret = CaretElementInTree();
    if (!HasStructuralFlag(caret)) {
        // A term holds inline content only: the value would drop a rule
        // put there, so the command is refused with a message.
        static const unsigned short kHr[] = {'h', 'r', 0};
        if (!m_doc.CanInsertTo(nullptr, kHr, nullptr, true))
            return;
        if (!InsertXMLToDiv("<hr/>"))
            m_doc.InsertTagText("<hr/>", nullptr, true, true, false, false);
    } else if (CElement* parent = caret->m_parent) {
        CElement* rule = NewElement("hr", parent);
        if (!rule)
            return;
        const bool after = caret->m_caretOffset == 1;
        parent->InsertChild(rule, caret->GetID(), after);
        if (after)
            PutCaret(rule, 1);
        rule->StyleChanged(2);
    }
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
}

bool CXHTML::DoAddTag(const char* tag, bool moveOut, bool redraw)
{
    CElement* e = AddTagAtCaret(tag, moveOut);
    if (!e)
        return false;
    if (e->m_parent)
        e->m_parent->StyleChanged(0);
    if (redraw) {
        m_doc.DrawDoc(0);
        m_doc.UpdateKeyCursor();
        m_doc.SetLastKeyPos(m_doc.m_caretPoint);
        m_doc.Redraw();
        NotifyChange(true);
    }
    return true;
}

CElement* CXHTML::AddTagAtCaret(const char* tag, bool moveOut)
{
    RemoveSelection();
    CElement* caret = CaretElementInTree();
    if (!tag || !caret || !caret->m_parent)
        return nullptr;
    bool after = true;
    if (caret->IsTextElement()) {
        if (caret->IsElementUnderTag(kKindImg))
            return nullptr;
        // The text after the caret goes to a new run, which takes the caret.
        caret->BreakElement(0, false);
    } else {
        after = caret->m_caretOffset != 0;
    }
    CElement* parent = caret->m_parent;
    CElement* e = NewElement(tag, parent);
    if (!e)
        return nullptr;
    parent->InsertChild(e, caret->GetID(), after);
    // Out of inline parents where nothing but an empty run follows.
    while (e->m_parent && e->m_parent->m_inline && e->m_parent->m_parent) {
        CElement* next = e->m_nextSibling;
        if (!IsEmptyRun(next) || next->m_nextSibling)
            break;
        CElement* inlineParent = e->m_parent;
        CElement* outer = inlineParent->m_parent;
        e->MoveCurrentElementTo(outer, inlineParent->GetID(), true);
        next->MoveCurrentElementTo(outer, e->GetID(), true);
    }
    if (moveOut && e->m_parent && e->m_parent->m_inline) {
        CElement* top = e->m_parent;
        while (top->m_parent && top->m_parent->m_inline)
            top = top->m_parent;
        e->MoveOutUntil(top, false);
    }
    return e;
}

bool CXHTML::RemoveSelection(bool join)
{
    if (!m_doc.m_selectionPresent)
        return false;
    // A selection inside one paragraph: an empty copy of it waits before it
    // in case the deletion takes the whole paragraph.
    CElement* paragraph = m_doc.IsSelectionUnderSameTag(kKindP);
    CElement* copy = nullptr;
    CElement* copyRun = nullptr;
    if (paragraph && paragraph->m_parent) {
        copy = paragraph->Duplicate();
        if (copy) {
            paragraph->m_parent->InsertChild(copy, paragraph->GetID(), false);
            copyRun = NewRun(copy);
            if (copyRun)
                copy->AppendChild(copyRun);
        }
    }
    m_doc.DeleteSelection(false, false, join);
    if (copy) {
        // A paragraph the deletion made in the removed one's place already
        // holds the caret: the copy is not needed.
        const bool placed = m_doc.IsElementInTree(m_doc.FindElement(m_doc.m_deletionPlace));
        if (!placed && !m_doc.IsElementInTree(paragraph)) {
            copy->StyleChanged(1);
            copy->InitElement(0);
            if (copyRun)
                PutCaret(copyRun, 0);
        } else {
            CElement::RemoveElement(copy, true);
        }
    }
    return true;
}

void CXHTML::OnDelete()
{
    CElement* e = ContextElement();
    if (!e || !e->m_parent || e == m_doc.m_root || e->m_kind == kKindBody)
        return;
    CElement* parent = e->m_parent;
    ForgetBorrowed(m_menuElement, e);
    ForgetBorrowed(m_targetElement, e);
    CElement::RemoveElement(e, true);
    // A cell the element alone filled holds the filler it reads with.
    FillEmptiedCell(parent);
    parent->StyleChanged(0);
    m_doc.CheckKeyFocus();
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
}

void CXHTML::OnRemovelink()
{
    CElement* e = ContextElement();
    if (!e)
        return;
    m_targetElement = e;
    if (!e->m_linkState)
        return;
    CElement* a = e->m_kind == kKindA ? e : e->IsElementUnderTag(kKindA);
    if (!a)
        return;
    if (!a->IsElementUnderTag(kKindA)) {
        CPtrList below;
        a->GetAllChildren(&below, 0, false, 0, 0);
        for (void* pos = below.GetHeadPosition(); pos;)
            static_cast<CElement*>(below.GetNext(pos))->m_linkState = 0;
    }
    // The link: the a, the pieces it wrapped into, and equal a siblings
    // around any of them (the same link across a line break).
    std::vector<CElement*> link{a};
    std::set<const CElement*> seen{a};
    CPtrList pieces;
    a->GetWrappedInlineBrothers(&pieces);
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        auto* piece = static_cast<CElement*>(pieces.GetNext(pos));
        if (seen.insert(piece).second)
            link.push_back(piece);
    }
    for (std::size_t i = 0; i < link.size(); ++i)
        CollectEqualNeighbours(link[i], link, seen);
    std::vector<CElement*> parents;
    for (CElement* piece : link) {
        CElement* parent = piece->m_parent;
        if (!parent)
            continue;
        if (m_targetElement == piece)
            m_targetElement = nullptr;
        if (m_menuElement == piece)
            m_menuElement = nullptr;
        parent->RemoveChildNodeOnly(piece->GetID());
        parents.push_back(parent);
    }
    for (CElement* parent : parents) {
        if (m_doc.IsElementInTree(parent))
            parent->StyleChanged(0);
    }
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyEdit();
}

void CXHTML::OnTagslist()
{
    CElement* context = ContextElement();
    if (!context)
        return;
    // The listed elements from the context element upward; the dialog shows
    // them from the outermost down.
    std::vector<CElement*> listed;
    for (CElement* e = context; e; e = e->m_parent) {
        if (!e->IsTextElement() && e->m_kind != kKindBody)
            listed.push_back(e);
    }
    if (listed.empty())
        return;
    CTagListDlg dialog;
    for (std::size_t i = listed.size(); i-- > 0;) {
        CElement* e = listed[i];
        int state = kEntryFree;
        if (!m_doc.CanDocumentBeChanged(kGuardTagListQuiet, e, 0, 0, nullptr))
            state = kEntryGuarded;
        else if (e->m_locked)
            state = kEntryLocked;
        dialog.AddTag(e->GetTagName(), state);
    }
    const int result = dialog.Run();
    if (result == kListEdit) {
        const int chosen = dialog.Chosen();
        if (chosen < 0 || chosen >= static_cast<int>(listed.size()))
            return;
        m_targetElement = listed[listed.size() - 1 - static_cast<std::size_t>(chosen)];
        DoProperty();
    } else if (result == kListRemove && !dialog.Removal().empty()) {
        RemoveListedTag(context, dialog.Removal().front());
    }
}

void CXHTML::RemoveListedTag(CElement* context, const CSafeBuf& tag)
{
    CElement* e = context->IsTag(tag) ? context : context->IsElementUnderTag(tag, nullptr);
    CElement* parent = e ? e->m_parent : nullptr;
    if (!parent || KeptByTagList(e))
        return;
    if (m_targetElement == e)
        m_targetElement = nullptr;
    ForgetBorrowed(m_menuElement, e);
    if (RemovedWhole(e)) {
        CElement* caret = CaretElementInTree();
        if (caret && (caret == e || caret->IsOneOfParent(e))) {
            CElement* next = ElementAfter(e);
            CElement* run = next ? next->GetFirstOrLastInputElement(true) : nullptr;
            if (next && next->IsTextElement())
                run = next;
            if (run || next)
                PutCaret(run ? run : next, 0);
        }
        CElement::RemoveElement(e, true);
    } else {
        CPtrList pieces;
        e->GetWrappedInlineBrothers(&pieces);
        for (void* pos = pieces.GetHeadPosition(); pos;) {
            auto* piece = static_cast<CElement*>(pieces.GetNext(pos));
            if (piece->m_parent)
                piece->m_parent->RemoveChildNodeOnly(piece->GetID());
        }
        // A block's inline content goes into paragraphs where it would
        // otherwise stand beside blocks (or, in a blockquote, at all).
        const bool block = e->m_block;
        if (block && (parent == m_doc.m_root || parent->m_kind == kKindBlockquote)) {
            MoveChildrenInBlockToRoot(e);
            CElement::RemoveElement(e, true);
        } else {
            parent->RemoveChildNodeOnly(e->GetID());
            if (block && ParagraphsBesideBlocks(parent))
                CheckAndAddP(parent, false);
        }
    }
    parent->StyleChanged(0);
    if (parent == m_doc.m_root && !parent->m_firstChild) {
        if (CElement* run = NewRun(parent))
            parent->AppendChild(run);
    }
    // A caret that left the tree is placed again before anything is drawn.
    if (!CaretElementInTree())
        m_doc.m_caretElement = nullptr;
    m_doc.CheckKeyFocus();
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    m_doc.UpdateKeyCursor();
    NotifyChange(true);
    DisplayTagBox();
    if (!m_doc.m_selectionPresent)
        ForceHaveFocus();
}
