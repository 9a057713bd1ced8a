// The context menu: a Control-click or Control+Space opens the menu
// "MenuAll" of the interface description "Quillmark" for the element under
// the pointer. The menu is localised first; then whatever does not fit the
// element goes (the element submenus by their menu identifiers, so the
// pruning is the same in every language), check marks and enabled states
// are set, the page's own entries go on top, and the menu pops up. The
// chosen command runs through the command table with the plug-in's port
// current, as a toolbar button's would.

#include "editor/XHTML.h"

#include "base/app/LangString.h"
#include "base/shims/PortShims.h"
#include "editor/ContextMenuOps.h"
#include "editor/ContextMenuTexts.h"
#include "editor/PluginPortScope.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/services/ControlServices.h"
#include "platform/ui/MenuFile.h"

namespace {

using namespace qm::menu;

constexpr int kOptionPageEntriesOnly = 4;

// The entries Options bit 4 leaves out, beside the element submenus.
constexpr std::uint32_t kEditorEntries[]
    = {32811, 32812, 32813, 32818, 32814, 32888, 32859, 32891, 32843, 32842, 32887, 32768};
constexpr std::uint32_t kElementSubMenus[] = {kSubMenuImage, kSubMenuHyperlink, kSubMenuList,
    kSubMenuDefinitionList, kSubMenuTable, kSubMenuSubdocument, kSubMenuCustomize};

std::u16string Text(const CSafeBuf& text)
{
    const unsigned short* units = text;
    return std::u16string(units, units + text.Length());
}

bool IsCellOrCaption(const CElement* e) { return IsCellKind(e->m_kind) || e->m_kind == kKindCaption; }

// The cell of a cell selection that holds e, null when none.
CElement* MarkedCellAround(CElement* e)
{
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        if (IsCellKind(a->m_kind))
            return a->m_wholeCell ? a : nullptr;
    }
    return nullptr;
}

void Localise(CLangString* table, Menu& menu, const ContextMenuText& t)
{
    const CSafeBuf text = table ? table->GetItem(t.key, t.english) : CSafeBuf(t.english);
    ChangeMenuString(menu, t.menuId, t.command, Text(text.IsEmpty() ? CSafeBuf(t.english) : text));
}

} // namespace

CElement* CXHTML::ContextMenuElement(CPoint point)
{
    const CPoint docPoint(point.x + m_doc.m_scrollX, point.y + m_doc.m_scrollY);
    if (!m_doc.IsElementInTree(m_doc.m_pointerElement) && !m_doc.ValidateCursorOn(docPoint))
        return nullptr;
    CElement* element = m_doc.m_pointerElement;
    if (!element || !m_doc.IsElementInTree(element))
        return nullptr;
    m_menuElement = element;
    // The menu's commands act on the element it opened on, not on the
    // target an earlier command left.
    m_targetElement = nullptr;
    // A paste chosen from the menu goes where the menu opened.
    if (element->IsTextElement() || IsCellOrCaption(element))
        m_pastePoint = point;
    m_menuPoint = docPoint;
    if (element->m_kind != kKindTable && element->m_kind != kKindTr && !IsCellKind(element->m_kind)) {
        if (CElement* cell = MarkedCellAround(element))
            element = cell;
    }
    return element;
}

bool CXHTML::OnContextMenu(CPoint point)
{
    if (m_control)
        m_control->GoFireContextMenuActivated();
    CElement* element = nullptr;
    qm::ui::Menu menu;
    try {
        element = ContextMenuElement(point);
        if (!element || !qm::ui::LoadMenu("Quillmark", "MenuAll", menu))
            return false;
        SetPopupMenuLang(menu, 1, element);

        if (Options() & kOptionPageEntriesOnly) {
            for (std::uint32_t id : kElementSubMenus)
                RemoveSubMenu(menu, id);
            for (std::uint32_t id : kEditorEntries)
                SetMenuState(menu, id, false);
        }

        // A menu opened outside the selection is for what lies under the
        // pointer: the selection goes (cells of a cell selection keep it).
        CElement* root = m_doc.m_root;
        if (m_doc.m_selectionPresent && root && !root->IsCursorInsideSelection(m_menuPoint)
            && !(IsCellKind(element->m_kind) && element->m_wholeCell) && !element->IsElementUnderTag(kKindTd)
            && !element->IsElementUnderTag(kKindTh)) {
            m_doc.CleanSelection();
            DisplayClipButton();
            m_doc.DrawDoc(2);
            m_doc.Redraw();
        }

        PruneEditEntries(menu, element);
        PruneElementMenus(menu, element);
        RemoveSubMenu(menu, kSubMenuCustomize);
        PruneImageEntries(menu, element);
        SetAllTasksMenu(menu);
        SetPopupMenuLang(menu, 2, element);
        AddUserMenus(menu);
        CleanMenu(menu);
    } catch (...) {
        return false;
    }
    if (!HasEntries(menu))
        return false;
    ShowContextMenu(menu, point);
    return true;
}

void CXHTML::ShowContextMenu(qm::ui::Menu& menu, CPoint point)
{
    Point global{static_cast<std::int16_t>(point.y), static_cast<std::int16_t>(point.x)};
    std::uint32_t chosen = 0;
    {
        CPluginPortScope port(m_window);
        dLocalToGlobal(&global);
    }
    if (m_control)
        m_control->SetPopupShowing(true);
    chosen = qm::ui::PopUpMenuSelect(menu, global.v, global.h);
    if (m_control)
        m_control->SetPopupShowing(false);
    if (chosen != 0) {
        CPluginPortScope port(m_window);
        PostMessage(1, chosen, 0);
    }
}

void CXHTML::SetPopupMenuLang(qm::ui::Menu& menu, int pass, CElement* element)
{
    std::size_t count = 0;
    const ContextMenuText* texts = pass == 2 ? ContextMenuTaskTexts(count) : ContextMenuFixedTexts(count);
    for (std::size_t i = 0; i < count; ++i)
        Localise(m_langString, menu, texts[i]);
    if (pass == 2)
        return;
    const CElement* item = element && element->m_kind == kKindLi
        ? element
        : (element ? element->IsElementUnderTag(kKindLi) : nullptr);
    const bool numbered = item && item->m_parent && item->m_parent->m_kind == kKindOl;
    Localise(m_langString, menu, ContextMenuListTitle(numbered));
    Localise(m_langString, menu, ContextMenuListTypeEntry(numbered));
}

void CXHTML::AddUserMenus(qm::ui::Menu& menu)
{
    const CONTEXT_MENU_ENTRY* entries = m_control ? m_control->PageMenuEntries() : nullptr;
    if (!entries)
        return;
    qm::ui::Menu top;
    for (const CONTEXT_MENU_ENTRY* e = entries; e; e = e->next)
        top.AppendText(Text(e->label), e->id);
    qm::ui::MenuItem separator;
    separator.separator = true;
    top.Append(separator);
    for (const qm::ui::MenuItem& item : menu.Items())
        top.Append(item);
    top.SetId(menu.Id());
    top.SetTitle(menu.Title());
    menu = std::move(top);
}
