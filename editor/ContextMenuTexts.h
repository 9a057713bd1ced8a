#pragma once
// The language-table keys of the context menu's entries and submenu titles,
// with their English texts (the same as the bundled English texts,
// resources/en.htm). An entry is named by its command, a submenu title by
// its menu identifier (command 0). Two texts depend on the list under the
// pointer: the list submenu's title names its type ("Numbered List" inside
// an ol, else "Bulleted List"), and its change-type entry (32955) the other
// type ("Change To Bulleted List" inside an ol).

#include <cstddef>
#include <cstdint>

struct ContextMenuText
{
    const char* key;
    std::uint32_t menuId;  // the submenu whose title this is (command 0)
    std::uint32_t command; // the entry; 0 for a title
    const char* english;
};

// The fixed entries and titles, localised before the menu is pruned.
const ContextMenuText* ContextMenuFixedTexts(std::size_t& count);
// The titles of the toolbar submenus, localised after they were filled.
const ContextMenuText* ContextMenuTaskTexts(std::size_t& count);

// The list-dependent texts, for a numbered list (an ol) or a bulleted one.
const ContextMenuText& ContextMenuListTitle(bool numbered);
const ContextMenuText& ContextMenuListTypeEntry(bool numbered);
