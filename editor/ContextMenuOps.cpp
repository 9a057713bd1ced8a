#include "editor/ContextMenuOps.h"

namespace qm::menu {

MenuItem* FindMenuItem(Menu& menu, std::uint32_t id)
{
    for (std::size_t i = 0; i < menu.Count(); ++i) {
        MenuItem& item = menu.Item(i);
        if (item.submenu) {
            if (MenuItem* found = FindMenuItem(*item.submenu, id))
                return found;
        } else if (!item.separator && item.command == id) {
            return &item;
        }
    }
    return nullptr;
}

Menu* FindMenu(Menu& menu, std::uint32_t menuId)
{
    if (menu.Id() == menuId)
        return &menu;
    MenuItem* item = FindSubMenuItem(menu, menuId);
    return item ? item->submenu.get() : nullptr;
}

MenuItem* FindSubMenuItem(Menu& menu, std::uint32_t menuId)
{
    for (std::size_t i = 0; i < menu.Count(); ++i) {
        MenuItem& item = menu.Item(i);
        if (!item.submenu)
            continue;
        if (item.submenu->Id() == menuId)
            return &item;
        if (MenuItem* found = FindSubMenuItem(*item.submenu, menuId))
            return found;
    }
    return nullptr;
}

void SetMenuState(Menu& menu, std::uint32_t id, bool keep)
{
    if (keep)
        return;
    for (std::size_t i = 0; i < menu.Count(); ++i) {
        const MenuItem& item = menu.Item(i);
        if (!item.submenu && !item.separator && item.command == id) {
            menu.Remove(i);
            return;
        }
    }
}

bool RemoveMenuItem(Menu& menu, std::uint32_t id)
{
    for (std::size_t i = 0; i < menu.Count(); ++i) {
        MenuItem& item = menu.Item(i);
        if (item.submenu) {
            if (RemoveMenuItem(*item.submenu, id))
                return true;
        } else if (!item.separator && item.command == id) {
            return menu.Remove(i);
        }
    }
    return false;
}

bool RemoveSubMenu(Menu& menu, std::uint32_t menuId)
{
    for (std::size_t i = 0; i < menu.Count(); ++i) {
        MenuItem& item = menu.Item(i);
        if (!item.submenu)
            continue;
        if (item.submenu->Id() == menuId)
            return menu.Remove(i);
        if (RemoveSubMenu(*item.submenu, menuId))
            return true;
    }
    return false;
}

bool EnableMenuItem(Menu& menu, std::uint32_t id, bool enable)
{
    MenuItem* item = FindMenuItem(menu, id);
    if (item)
        item->enabled = enable;
    return item != nullptr;
}

bool EnableMenuItemByPos(Menu& menu, std::size_t pos, bool enable)
{
    if (pos >= menu.Count())
        return false;
    menu.Item(pos).enabled = enable;
    return true;
}

bool SetMenuItemCheck(Menu& menu, std::uint32_t id, bool check)
{
    MenuItem* item = FindMenuItem(menu, id);
    if (item)
        item->checked = check;
    return item != nullptr;
}

bool ChangeMenuString(Menu& menu, std::uint32_t menuId, std::uint32_t id, const std::u16string& text)
{
    if (id == 0) {
        MenuItem* item = FindSubMenuItem(menu, menuId);
        if (!item)
            return false;
        item->text = text;
        item->submenu->SetTitle(text);
        return true;
    }
    MenuItem* item = FindMenuItem(menu, id);
    if (item)
        item->text = text;
    return item != nullptr;
}

void CleanMenu(Menu& menu)
{
    for (std::size_t i = menu.Count(); i-- > 0;) {
        MenuItem& item = menu.Item(i);
        if (item.submenu) {
            CleanMenu(*item.submenu);
            if (item.submenu->Count() == 0)
                menu.Remove(i);
        }
    }
    for (std::size_t i = menu.Count(); i-- > 0;) {
        if (!menu.Item(i).separator)
            continue;
        const bool last = i + 1 == menu.Count();
        const bool doubled = !last && menu.Item(i + 1).separator;
        if (last || i == 0 || doubled)
            menu.Remove(i);
    }
    // A separator that became first when the entries before it went.
    while (menu.Count() > 0 && menu.Item(0).separator)
        menu.Remove(0);
}

bool HasEntries(const Menu& menu)
{
    for (const MenuItem& item : menu.Items()) {
        if (item.submenu ? HasEntries(*item.submenu) : !item.separator)
            return true;
    }
    return false;
}

} // namespace qm::menu
