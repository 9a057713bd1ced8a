// Fitting the context menu to the element under the pointer: the edit
// entries follow the selection and the undo lists, each element submenu
// stays only where it applies (image, link, list, definition list, table,
// sub-document) with its entries enabled and checked for that element, and
// the entries of the element itself (properties, delete, image display)
// follow its kind and locks. The table submenu has its own file.

#include "editor/XHTML.h"

#include "editor/ContextMenuOps.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/TreeQueries.h"
#include "element/services/ControlServices.h"
#include "elements/ImageElement.h"
#include "style/cascade/ClassList.h"

namespace {

using namespace qm::menu;

constexpr int kActionContextMenu = 3;
constexpr int kSilent = 0x8000;

CElement* SelfOrAncestor(CElement* e, long kind)
{
    return e->m_kind == kind ? e : e->IsElementUnderTag(kind);
}

bool Locked(CElement* e) { return IsElementLocked(e, false, 0, false); }

bool HasLinkReference(CElement* e)
{
    CElement* a = SelfOrAncestor(e, kKindA);
    CSafeBuf href;
    return a && a->GetAttrString("href", href) && !href.IsEmpty();
}

// The next (or previous) sibling of e that is a dt or dd.
CElement* DefinitionSibling(CElement* e, bool forward)
{
    for (CElement* s = forward ? e->m_nextSibling : e->m_prevSibling; s;
         s = forward ? s->m_nextSibling : s->m_prevSibling) {
        if (s->m_kind == kKindDt || s->m_kind == kKindDd)
            return s;
    }
    return nullptr;
}

// The first sibling of kind after (or before) from; null when none.
CElement* SiblingOfKind(CElement* from, long kind, bool forward)
{
    for (CElement* s = from ? DefinitionSibling(from, forward) : nullptr; s;
         s = DefinitionSibling(s, forward)) {
        if (s->m_kind == kind)
            return s;
    }
    return nullptr;
}

// The li sibling before (or after) item.
bool HasItemSibling(CElement* item, bool forward)
{
    for (CElement* s = forward ? item->m_nextSibling : item->m_prevSibling; s;
         s = forward ? s->m_nextSibling : s->m_prevSibling) {
        if (s->m_kind == kKindLi)
            return true;
    }
    return false;
}

bool ImageHasClass(CElement* image, const CSafeBuf& cls)
{
    return !cls.IsEmpty() && HasClasInMultipleClass(image, cls, nullptr);
}

} // namespace

void CXHTML::PruneEditEntries(qm::ui::Menu& menu, CElement* element)
{
    const bool selection = m_doc.m_selectionPresent != 0;
    SetMenuState(menu, 32811, selection);
    SetMenuState(menu, 32812, selection);
    SetMenuState(menu, 32843, !element->m_block && element->IsElementUnderTag(kKindB));
    SetMenuState(menu, 32842, !element->m_block && element->IsElementUnderTag(kKindI));
    SetMenuState(menu, 32814, m_doc.m_undoList.GetCount() > 0);
    SetMenuState(menu, 32888, m_doc.m_redoList.GetCount() > 0);
}

void CXHTML::PruneElementMenus(qm::ui::Menu& menu, CElement* element)
{
    const bool image = element->m_kind == kKindImg && !Locked(element);
    if (!image) {
        RemoveSubMenu(menu, kSubMenuImage);
    } else {
        CSafeBuf src;
        element->GetAttrString("src", src);
        EnableMenuItem(menu, 32953, !src.IsEmpty());
    }
    CSafeBuf href;
    CElement* link = SelfOrAncestor(element, kKindA);
    if (!HasLinkReference(element) || Locked(element))
        RemoveSubMenu(menu, kSubMenuHyperlink);
    else if (link)
        EnableMenuItem(menu, 32956, link->GetAttrString("href", href) && !href.IsEmpty());

    PruneListMenu(menu, element);
    PruneDefinitionListMenu(menu, element);
    PruneTableMenu(menu, element);

    bool locked = false;
    for (CElement* e = element; e && !locked; e = e->m_parent)
        locked = e->m_locked != 0;
    if (!locked)
        RemoveSubMenu(menu, kSubMenuSubdocument);
}

void CXHTML::PruneListMenu(qm::ui::Menu& menu, CElement* element)
{
    CElement* item = SelfOrAncestor(element, kKindLi);
    if (!item) {
        RemoveSubMenu(menu, kSubMenuList);
        return;
    }
    // A nested list is the last child of the item it belongs to.
    const CElement* list = item->m_parent;
    const bool nested = list && list->m_parent && list->m_parent->m_kind == kKindLi;
    EnableMenuItem(menu, 32803, nested);
    EnableMenuItem(menu, 32916, HasItemSibling(item, false));
    EnableMenuItem(menu, 32917, HasItemSibling(item, true));
}

void CXHTML::PruneDefinitionListMenu(qm::ui::Menu& menu, CElement* element)
{
    CElement* e = SelfOrAncestor(element, kKindDt);
    if (!e)
        e = SelfOrAncestor(element, kKindDd);
    if (!e) {
        RemoveSubMenu(menu, kSubMenuDefinitionList);
        return;
    }
    const bool term = e->m_kind == kKindDt;
    const long same = term ? kKindDt : kKindDd;
    // The entries for the other part of an item.
    const std::uint32_t descriptions[] = {32934, 32935, 32939, 32943, 32947};
    const std::uint32_t terms[] = {32932, 32933, 32938, 32942, 32946};
    for (std::uint32_t id : term ? descriptions : terms)
        EnableMenuItem(menu, id, false);
    const bool earlier = SiblingOfKind(e, same, false) != nullptr;
    const bool later = SiblingOfKind(e, same, true) != nullptr;
    EnableMenuItem(menu, term ? 32932 : 32934, earlier);
    EnableMenuItem(menu, term ? 32933 : 32935, later);
    // An item is a run of terms with the descriptions that follow them.
    const bool itemBefore = term ? SiblingOfKind(e, kKindDd, false) != nullptr
                                 : SiblingOfKind(SiblingOfKind(e, kKindDt, false), kKindDd, false) != nullptr;
    const bool itemAfter = term ? SiblingOfKind(SiblingOfKind(e, kKindDd, true), kKindDt, true) != nullptr
                                : SiblingOfKind(e, kKindDt, true) != nullptr;
    EnableMenuItem(menu, 32930, itemBefore);
    EnableMenuItem(menu, 32931, itemAfter);
}

void CXHTML::PruneImageEntries(qm::ui::Menu& menu, CElement* element)
{
    // Properties and the tag list are not offered for the page itself.
    const bool page = element->m_kind == kKindBody
        || (element->IsTextElement() && element->m_parent && element->m_parent->m_kind == kKindBody);
    if (page) {
        RemoveMenuItem(menu, 32768);
        RemoveMenuItem(menu, 32887);
    }
    if (!m_control || !m_control->HasToolbarButtonById("help"))
        RemoveMenuItem(menu, 32949);
    m_doc.CanDocumentBeChanged(kActionContextMenu | kSilent, element, 0, 0, &menu);

    const bool image = element->m_kind == kKindImg && !Locked(element);
    if (!image) {
        for (std::uint32_t id : {32818u, 32875u, 32876u, 32877u})
            RemoveMenuItem(menu, id);
        return;
    }
    if (auto* picture = dynamic_cast<CImageElement*>(element)) {
        const int type = picture->GetDisplayType();
        if (type >= 1 && type <= 3) {
            const std::uint32_t id = 32874u + static_cast<std::uint32_t>(type);
            SetMenuItemCheck(menu, id, true);
            EnableMenuItem(menu, id, false);
        }
    }
    const CSafeBuf none;
    const CSafeBuf& left = m_control ? m_control->ImageFloatClass(false) : none;
    const CSafeBuf& right = m_control ? m_control->ImageFloatClass(true) : none;
    if (left.IsEmpty())
        RemoveMenuItem(menu, 32870);
    else
        SetMenuItemCheck(menu, 32870, ImageHasClass(element, left));
    if (right.IsEmpty())
        RemoveMenuItem(menu, 32869);
    else
        SetMenuItemCheck(menu, 32869, ImageHasClass(element, right));
}

CElement* CXHTML::NearestLockedElement() const
{
    for (CElement* e = ContextElement(); e; e = e->m_parent) {
        if (e->m_locked)
            return e;
    }
    return nullptr;
}
