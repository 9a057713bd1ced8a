#pragma once
// What applying a style needs to know of a style drop-list item: which path
// carries it out (block, font, inline or wrapper) with the code that path
// takes, the value of its class attribute, and a new element made from it.

#include "base/text/SafeBuf.h"

class CElement;
struct STYLE_BAR_ITEM;

// How an item is applied.
enum class StyleItemPath
{
    kInline, // any other element: wrapped around selected runs (code 0)
    kBlock,  // p, h1 to h6, address, pre: the caret's or the selection's blocks
    kFont,   // b, i, strong, em: the inline formatting of the buttons
};

struct StyleItemKind
{
    StyleItemPath path = StyleItemPath::kInline;
    // Block codes: p 1, h1 to h6 2 to 7, address 10, pre 11; font codes:
    // b 2, i 3, strong 7, em 8; 0 otherwise.
    int code = 0;
};

// The item's path and code from its element name (compared exactly).
StyleItemKind ClassifyStyleItem(const STYLE_BAR_ITEM& item);
// The item's element is name (compared exactly).
bool IsStyleItemElement(const STYLE_BAR_ITEM& item, const char* name);

// The value of the item's "class" attribute; false, with cls empty, when it
// has none.
bool StyleItemClass(const STYLE_BAR_ITEM& item, CSafeBuf& cls);

// A new element of the item's element name, inheriting from parent and not
// linked, with the item's attributes set (each value evaluated first:
// "guid()", "date()" ... become their values) and the style sheets applied.
// Null for an item without an element name or when the factory fails.
CElement* NewStyleItemElement(const STYLE_BAR_ITEM& item, CElement* parent);
// Sets the item's attributes on e (values evaluated as above).
void GiveStyleItemAttributes(const STYLE_BAR_ITEM& item, CElement* e);
