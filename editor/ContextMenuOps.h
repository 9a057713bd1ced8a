#pragma once
// The edits the context menu makes to the menu it loaded before showing it.
//
// Entries are found by their command identifier and submenus by their menu
// identifier (the "id" of a <menu> in the interface description), never by
// their text: the texts are localised first, so a lookup by title would miss
// in any language but English, or with a language table that lacks a title.
// Every search goes through the submenus at any depth and takes the first
// match in menu order.

#include "platform/ui/Menu.h"

#include <cstdint>

namespace qm::menu {

using ui::Menu;
using ui::MenuItem;

// The identifiers of the submenus of "MenuAll" (resources/Quillmark.menus.xml).
enum ContextSubMenu : std::uint32_t
{
    kSubMenuImage = 129,
    kSubMenuHyperlink = 130,
    kSubMenuList = 131,
    kSubMenuDefinitionList = 132,
    kSubMenuTable = 133,
    kSubMenuAlignCell = 134,
    kSubMenuAlignCellHorizontal = 135,
    kSubMenuAlignCellVertical = 136,
    kSubMenuAlignColumn = 137,
    kSubMenuAlignColumnHorizontal = 138,
    kSubMenuAlignColumnVertical = 139,
    kSubMenuAlignRow = 140,
    kSubMenuAlignRowHorizontal = 141,
    kSubMenuAlignRowVertical = 142,
    kSubMenuSubdocument = 143,
    kSubMenuEditor = 144,
    kSubMenuCustomize = 145,
    kSubMenuCustomizeImages = 146,
    kSubMenuToolbar = 11001,
    kSubMenuButtons = 13000,
    kSubMenuStyles = 13001
};

// The entry with that command, null when none.
MenuItem* FindMenuItem(Menu& menu, std::uint32_t id);
// The submenu with that menu identifier (menu itself when it has it), null
// when none.
Menu* FindMenu(Menu& menu, std::uint32_t menuId);
// The entry that holds the submenu with that menu identifier, null when none.
MenuItem* FindSubMenuItem(Menu& menu, std::uint32_t menuId);

// When keep is false, deletes the top-level entry with that command.
void SetMenuState(Menu& menu, std::uint32_t id, bool keep);
// Deletes the first entry with that command at any depth; false when none.
bool RemoveMenuItem(Menu& menu, std::uint32_t id);
// Deletes the submenu with that menu identifier (with its entry); false when
// none.
bool RemoveSubMenu(Menu& menu, std::uint32_t menuId);
// Enables or disables the entry with that command; false when none.
bool EnableMenuItem(Menu& menu, std::uint32_t id, bool enable);
// The same for the entry at pos of menu's own entries.
bool EnableMenuItemByPos(Menu& menu, std::size_t pos, bool enable);
// Sets the check mark of the entry with that command; false when none.
bool SetMenuItemCheck(Menu& menu, std::uint32_t id, bool check);
// Sets the text of the entry with that command, or with id 0 the title of
// the submenu menuId (both its entry's text and the submenu's title).
bool ChangeMenuString(Menu& menu, std::uint32_t menuId, std::uint32_t id, const std::u16string& text);
// Walking each menu from its last entry: separators at the end, at the
// start and doubled ones go, and so do submenus left without entries.
void CleanMenu(Menu& menu);
// Whether the menu holds an entry that is neither a separator nor a submenu,
// at any depth.
bool HasEntries(const Menu& menu);

} // namespace qm::menu
