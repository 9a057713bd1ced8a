// The context menu's "Toolbar" submenu: the toolbar's buttons and the style
// drop-list's entries, for a user who has the toolbar out of reach. Each
// submenu stays only when the control shows what it lists.

#include "editor/XHTML.h"

#include "editor/ContextMenuOps.h"
#include "element/services/ControlServices.h"

void CXHTML::SetAllTasksMenu(qm::ui::Menu& menu)
{
    using namespace qm::menu;
    qm::ui::Menu* buttons = FindMenu(menu, kSubMenuButtons);
    const bool toolbar = buttons && m_control && m_control->FillToolbarButtonsMenu(*buttons);
    if (!toolbar)
        RemoveSubMenu(menu, kSubMenuButtons);
    qm::ui::Menu* styles = FindMenu(menu, kSubMenuStyles);
    const bool styleList = styles && m_control && m_control->ShowsStyleList();
    if (styleList)
        PrepareStyleMenu(styles);
    else
        RemoveSubMenu(menu, kSubMenuStyles);
    if (!toolbar && !styleList)
        RemoveSubMenu(menu, kSubMenuToolbar);
}
