#pragma once
// Editing menus by item text.

namespace qm::ui {
class Menu;
}

// Deletes the first item whose text equals text exactly. False when the menu
// is null, the text is null or no item has that text.
bool RemoveMenuItem(qm::ui::Menu* menu, const unsigned short* text);
// The same with 8-bit text widened byte by byte.
bool RemoveMenuItem(qm::ui::Menu* menu, const char* text);
