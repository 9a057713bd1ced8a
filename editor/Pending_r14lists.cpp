// Minimal working forms of block-format and style members that the list and
// Tab commands call: a block into a one-item list, a blockquote level added
// or removed, and a style item's attributes on the caret's paragraph.

#include "editor/XHTML.h"

#include "editor/ListTree.h"
#include "editor/StyleBarItem.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

namespace {

bool HoldsLists(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindP || k == kKindDiv || k == kKindBody || k == kKindTable || IsCellKind(k) || k == kKindTr
        || k == kKindUl || k == kKindOl || k == kKindLi;
}

// The nearest block above element that a list is made in, and the child of
// it on the way to element.
CElement* ListBlock(CElement* element, CElement*& child, bool definitions)
{
    child = element;
    for (CElement* p = element->m_parent; p; child = p, p = p->m_parent) {
        if (HoldsLists(p) || (definitions && p->m_kind == kKindDd))
            return p;
    }
    return nullptr;
}

} // namespace

void CXHTML::BeforePutIntoTag(CElement* element, int listKind)
{
    if (!element || (listKind != kKindUl && listKind != kKindOl))
        return;
    CElement* child = nullptr;
    CElement* block = ListBlock(element, child, false);
    if (!block || !block->m_parent)
        return;
    CElement* br = nullptr;
    for (CElement* c = child->m_prevSibling; c && !br; c = c->m_prevSibling) {
        if (c->m_kind == kKindBr)
            br = c;
    }
    if (br && block->BreakElement(br->GetID(), false))
        DestroyElement(br);
}

void CXHTML::PutIntoTag(CElement* element, int listKind)
{
    if (!element || (listKind != kKindUl && listKind != kKindOl))
        return;
    CElement* child = nullptr;
    CElement* block = ListBlock(element, child, true);
    if (!block)
        return;
    const bool beside = block->m_kind == kKindDiv || block->m_kind == kKindP || block->m_kind == kKindLi;
    CElement* home = beside ? block->m_parent : block;
    if (!home)
        return;
    CElement* list = NewElement(listKind == kKindUl ? "ul" : "ol", home);
    CElement* item = list ? NewElement("li", list) : nullptr;
    if (!item) {
        delete list;
        return;
    }
    list->AppendChild(item);
    // The element's line: the inline siblings around its branch, up to a
    // block or a line break.
    CElement* first = child;
    while (first->m_prevSibling && !first->m_prevSibling->m_block && first->m_prevSibling->m_kind != kKindBr)
        first = first->m_prevSibling;
    MoveBeside(list, beside ? block : first, false);
    list->StyleChanged(1);
    if (block->m_kind == kKindDiv) {
        block->MoveCurrentElementTo(item, 0, true);
    } else {
        for (CElement* c = first; c;) {
            CElement* next = c->m_nextSibling;
            if (c->m_kind == kKindBr) {
                DestroyElement(c);
                break;
            }
            if (c->m_block && c != child)
                break;
            c->MoveCurrentElementTo(item, 0, true);
            c = next;
        }
        if (beside && block->IsEmptyTag(false) && !CaretWithin(block))
            DestroyElement(block);
    }
    if (!item->m_firstChild)
        item->AppendChild(NewRun(item));
    for (CElement* other : {list->m_prevSibling, list->m_nextSibling}) {
        if (!other || other->m_kind != listKind)
            continue;
        if (other == list->m_prevSibling) {
            MoveChildrenToEnd(list, other);
            DestroyElement(list);
            list = other;
        } else {
            MoveChildrenToEnd(other, list);
            DestroyElement(other);
        }
    }
    list->StyleChanged(1);
}

int CXHTML::ProcessHeading(int code, CElement* element, int mode, STYLE_BAR_ITEM*)
{
    constexpr int kBlockquoteCode = 8;
    if (code != kBlockquoteCode || !element || !m_doc.IsElementInTree(element))
        return 0;
    if (mode == 3) {
        CElement* quote = NewElement("blockquote", element->m_parent ? element->m_parent : element);
        if (!quote || !element->MoveElementAndParentTo(quote)) {
            delete quote;
            return 0;
        }
        return 2;
    }
    if (mode == 4) {
        CElement* quote = AtOrAbove(element->m_parent, kKindBlockquote);
        CElement* parent = quote ? quote->m_parent : nullptr;
        if (!parent)
            return 0;
        bool blocks = false;
        for (CElement* c = quote->m_firstChild; c && !blocks; c = c->m_nextSibling)
            blocks = c->m_block;
        if (!blocks) {
            CElement* p = NewElement("p", parent);
            if (!p || !MoveBeside(p, quote, false)) {
                delete p;
                return 0;
            }
            MoveChildrenToEnd(quote, p);
        }
        parent->RemoveChildNodeOnly(quote->GetID());
        parent->StyleChanged(1);
        return -1;
    }
    return 0;
}

bool CXHTML::ProcessStyle(
    STYLE_BAR_ITEM* item, bool checked, bool& marked, bool& done, bool& refreshBox, int&, int)
{
    CElement* p = AtOrAbove(m_doc.m_caretElement, kKindP);
    if (!item || !p || !m_doc.IsElementInTree(p))
        return false;
    bool changed = false;
    for (ATTRIBUTE_ITEM* a = item->attributes; a; a = a->next) {
        CSafeBuf now;
        p->GetAttrString(a->name, now);
        const CSafeBuf wanted(checked ? CSafeBuf() : CSafeBuf(a->value));
        if (now == wanted || (checked && now != CSafeBuf(a->value)))
            continue;
        p->SetAttrString(a->name, wanted);
        changed = true;
    }
    if (!changed)
        return false;
    p->StyleChanged(1);
    marked = !checked;
    done = refreshBox = true;
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
    return true;
}
