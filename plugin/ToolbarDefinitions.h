#pragma once
// Reading the toolbar's configuration: the toolbar string that names the
// buttons of a view, the built-in button names, and the lookup of a button's
// definition in the button-definition document (root `buttons`).
//
// A toolbar string is a comma-separated list of button names. An empty item
// is a gap; the item "|" alone ends the current bar. An item with "|" after
// its first character is read as the name before it, a bar break and the
// name after it ("a|b": two bars on one row); one with ";" there instead
// (and no "|") is read the same way, and the bar begun while reading it
// starts a new row ("a;b"). Only the first such character splits the item;
// the break and the part after it are dropped when nothing follows. An item
// that begins with "|" or ";" is not split: "|a" is one button named "|a".

#include "base/text/SafeBuf.h"

#include <libxml/tree.h>

#include <vector>

struct ToolbarItem
{
    CSafeBuf name;       // trimmed; "|" for a bar break, empty for a gap
    bool newRow = false; // a bar begun while reading this item starts a new row
};

// The items of a toolbar string, in order.
void SplitToolbarString(const unsigned short* text, std::vector<ToolbarItem>& items);

// The kind of a built-in button name (compared exactly): 1 for the empty
// name (a gap), -2 for "|", 7 to 39 for the built-in commands, 0 for any
// other name. The aliases are rewritten in name: "numbering" becomes
// "ordered-list", "bullets" "unordered-list", "line" "separator". toggle is
// set for the kinds whose button stays pressed, and never cleared.
int BuiltInButtonType(CSafeBuf& name, bool& toggle);

// The first element of the subtree at node, in document order (node
// included), that has a child element "id" whose text equals id exactly;
// null when there is none. The text is compared as it stands: no query is
// built from it, so any text (quotes and brackets included) is only ever a
// name.
xmlNode* FindButtonDefinition(xmlNode* node, const CSafeBuf& id);
