#pragma once
// Menus read from our own interface-description files: the resources
// folder's "<interface>.menus.xml" (for example resources/Quillmark.menus.xml)
// holds <menus> with named <menu> elements. Inside a menu:
//   <item text="Cut" command="32811"/>   an entry (command: a decimal number;
//                                        enabled="false", checked="true")
//   <separator/>
//   <menu text="Image" id="129"> ...     a submenu under an entry of that text
// Menus nest at most eight deep; deeper ones, unknown elements and an item
// whose command is not a number make the file unreadable.

#include "platform/ui/Menu.h"

#include <string>

namespace qm::ui {

// Reads the menu named menuName from the XML text; false (out emptied) when
// the text cannot be read or has no such menu.
bool ReadMenu(const std::string& xml, const std::string& menuName, Menu& out);
// The same from the resources folder's interface-description file.
bool LoadMenu(const std::string& interfaceName, const std::string& menuName, Menu& out);

} // namespace qm::ui
