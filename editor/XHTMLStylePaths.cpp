// The two wrapping paths of applying a style. A "div" or "blockquote" item
// wraps blocks: a list whose items are all selected goes into it whole, else
// the block around the caret (or around a selection inside one block), and
// the top selected blocks when the selection spans several. Any other
// inline item wraps each run of selected siblings in a copy of an element
// made from the item; a link or an abbreviation without its address or
// title asks for it first.

#include "editor/XHTML.h"

#include "editor/SelectedElements.h"
#include "editor/StyleBarItem.h"
#include "editor/StyleItemElement.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/Selection.h"

#include <vector>

namespace {

// The blocks a wrapper item groups selected elements by.
bool IsGroupingBlock(const CElement* e)
{
    switch (e->m_kind) {
    case kKindP:
    case kKindUl:
    case kKindOl:
    case kKindTable:
    case kKindBlockquote:
    case kKindDiv:
    case kKindPre:
    case kKindAddress: return true;
    default: return IsHeadingKind(e->m_kind);
    }
}

// The grouping block at or above e; else the body when it is e's first
// block parent; else null.
CElement* GroupingBlock(const CElement* e)
{
    for (const CElement* p = e; p; p = p->m_parent) {
        if (IsGroupingBlock(p))
            return const_cast<CElement*>(p);
    }
    CElement* block = e->GetFirstBlockParent();
    return block && block->m_kind == kKindBody ? block : nullptr;
}

// The block a wrapper goes around: the nearest p, heading, pre, address or
// div with a class at or above e.
CElement* WrappableBlock(const CElement* e)
{
    for (const CElement* p = e; p; p = p->m_parent) {
        const long k = p->m_kind;
        CSafeBuf cls;
        if (k == kKindP || IsHeadingKind(k) || k == kKindPre || k == kKindAddress
            || (k == kKindDiv && p->GetAttrNoCase("class", cls)))
            return const_cast<CElement*>(p);
    }
    return nullptr;
}

// The list of kind at or above e.
CElement* ListOf(const CElement* e, long kind)
{
    return e->m_kind == kind ? const_cast<CElement*>(e) : e->IsElementUnderTag(kind);
}

// The one list of kind that holds every selected element when it is
// selected whole; else null.
CElement* WholeSelectedList(const std::vector<CElement*>& selected, long kind)
{
    CElement* list = nullptr;
    for (CElement* e : selected) {
        CElement* own = ListOf(e, kind);
        if (!own || (list && own != list))
            return nullptr;
        list = own;
    }
    return list && IsWholeElementSelected(list) ? list : nullptr;
}

// The text of e's runs, and of the selected characters under root.
CSafeBuf TextOf(CElement* e)
{
    CSafeBuf out;
    int state = 0;
    GetDocText(e, out, state, 0, 0, 0, nullptr);
    return out;
}

CSafeBuf SelectedText(CElement* root)
{
    CSafeBuf out;
    int state = 0;
    SelectionStruct sel;
    GetDocText(root, out, state, 0, 0, 0, &sel);
    if (sel.start < 0 || sel.end < sel.start)
        return CSafeBuf();
    return out.Mid(sel.start, sel.end - sel.start + 1);
}

// The elements under root with tag, in document order.
std::vector<CElement*> ElementsWithTag(CElement* root, const unsigned short* tag)
{
    std::vector<CElement*> out;
    CElement* e = root ? root->m_firstChild : nullptr;
    while (e) {
        if (e->IsTag(tag))
            out.push_back(e);
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e && e != root && !e->m_nextSibling)
            e = e->m_parent;
        e = e && e != root ? e->m_nextSibling : nullptr;
    }
    return out;
}

} // namespace

CXHTML::StyleWrap CXHTML::WrapBlocksInStyle(const STYLE_BAR_ITEM& item)
{
    const bool selection = m_doc.m_selectionPresent != 0;
    const bool blockPath = (Options() & 2048) != 0;
    std::vector<CElement*> selected;
    if (selection) {
        for (long id : SelectedElementIds(m_doc.m_root)) {
            if (CElement* e = m_doc.FindElement(id))
                selected.push_back(e);
        }
    }
    CElement* firstBlock = nullptr;
    bool several = false;
    for (CElement* e : selected) {
        CElement* block = GroupingBlock(e);
        if (!block)
            continue;
        if (!firstBlock)
            firstBlock = block;
        else if (block != firstBlock)
            several = true;
    }
    if (selection && !firstBlock)
        return StyleWrap::kInlineRuns;

    CElement* wrapped = nullptr; // what goes into the new element, in order
    std::vector<CElement*> blocks;
    if (selection) {
        wrapped = WholeSelectedList(selected, kKindUl);
        if (!wrapped)
            wrapped = WholeSelectedList(selected, kKindOl);
        if (wrapped)
            blocks.push_back(wrapped);
    }
    if (blocks.empty() && !several) {
        CElement* start = selection ? m_doc.m_root->GetFirstSelection(0) : CaretElementInTree();
        CElement* block = start ? WrappableBlock(start) : nullptr;
        if (!block)
            return StyleWrap::kNothing;
        if (blockPath)
            return StyleWrap::kBlockPath;
        blocks.push_back(block);
    }
    if (blocks.empty()) {
        if (blockPath)
            return StyleWrap::kBlockPath;
        CPtrList tops;
        m_doc.GetTopSelectedBlocks(&tops);
        for (void* pos = tops.GetHeadPosition(); pos;)
            blocks.push_back(static_cast<CElement*>(tops.GetNext(pos)));
    }
    if (blocks.empty() || !blocks.front()->m_parent)
        return StyleWrap::kNothing;

    CElement* parent = blocks.front()->m_parent;
    CElement* wrapper = NewStyleItemElement(item, parent);
    if (!wrapper)
        return StyleWrap::kNothing;
    parent->InsertChild(wrapper, blocks.front()->GetID(), false);
    for (CElement* block : blocks)
        block->MoveCurrentElementTo(wrapper, 0, true);
    wrapper->StyleChanged(1);
    EndEdit();
    return StyleWrap::kWrapped;
}

bool CXHTML::WrapRunsInStyle(STYLE_BAR_ITEM& item, bool checked, bool& done, bool& refreshBox, int& row)
{
    if (!m_doc.m_selectionPresent || !m_doc.m_root) {
        row = -1;
        return true;
    }
    // What a pre cannot hold.
    for (const char* tag : {"object", "big", "small", "sup", "sub"}) {
        if (!IsStyleItemElement(item, tag))
            continue;
        for (long id : SelectedElementIds(m_doc.m_root)) {
            CElement* e = m_doc.FindElement(id);
            if (e && (e->m_kind == kKindPre || e->IsElementUnderTag(kKindPre))) {
                DisplayMessageBox("message-box/cannot-insert-into-given-location");
                return false;
            }
        }
    }
    CElement* model = NewStyleItemElement(item, m_doc.m_root);
    if (!model)
        return false;
    CSafeBuf value;
    bool asked = true;
    if (model->IsTag("a") && !model->GetAttrString("href", value) && !model->GetAttrString("id", value)) {
        asked = DoHREFPrp(model, true);
    } else if (model->IsTag("abbr") || model->IsTag("acronym")) {
        model->GetAttrString("title", value);
        value.Trim();
        if (value.IsEmpty() && !TakeTitleFromEqualElement(model))
            asked = DoCommonPrp(model);
    }
    if (!asked) {
        delete model;
        done = true;
        refreshBox = true;
        return true;
    }
    if (IsStyleItemElement(item, "div") || IsStyleItemElement(item, "blockquote")) {
        if (!WrapRunsAsBlocks(model)) {
            delete model;
            return true;
        }
    } else {
        InsertTagToSelections(model);
    }
    delete model;
    done = true;
    if (!checked)
        refreshBox = true;
    m_doc.m_root->CheckDocument();
    EndEdit();
    return true;
}

bool CXHTML::WrapRunsAsBlocks(CElement* model)
{
    for (long id : SelectedElementIds(m_doc.m_root)) {
        CElement* e = m_doc.FindElement(id);
        if (e
            && (e->IsElementUnderTag(kKindP) || e->IsElementUnderClass(0)
                || e->IsElementUnderTag(kKindAddress)))
            return false;
    }
    // Identifiers are serial numbers: the copies the runs went into are the
    // elements of the model's tag made after the model.
    const long before = model->GetID();
    InsertTagToSelections(model);
    for (CElement* copy : ElementsWithTag(m_doc.m_root, model->GetTagName())) {
        if (copy->GetID() <= before)
            continue;
        while (copy->m_parent && copy->m_parent->IsStandardInlineElement() && copy->SwitchParent()) { }
        if (CElement* p = copy->IsElementUnderTag(kKindP))
            copy->MoveOutUntil(p, true);
        copy->StyleChanged(1);
    }
    return true;
}

bool CXHTML::TakeTitleFromEqualElement(CElement* model)
{
    const CSafeBuf text = SelectedText(m_doc.m_root);
    if (text.IsEmpty())
        return false;
    for (CElement* e : ElementsWithTag(m_doc.m_root, model->GetTagName())) {
        CSafeBuf title;
        e->GetAttrString("title", title);
        title.Trim();
        if (!title.IsEmpty() && TextOf(e) == text) {
            model->SetAttrString("title", static_cast<const unsigned short*>(title));
            return true;
        }
    }
    return false;
}
