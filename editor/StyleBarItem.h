#pragma once
// STYLE_BAR_ITEM: one entry of the style drop-list. The control builds the
// chain from its style document and owns it; the engine reads the same chain
// to apply a style, to mark the styles that hold at the caret and to find the
// entry of a class. Texts are cut to their fields (never splitting a
// surrogate pair); the arrays keep one more unit for the terminator.

#include "element/services/AttributeItem.h"

struct STYLE_BAR_ITEM
{
    unsigned short label[101];       // text in the list
    unsigned short group[51];        // label of the item's group, empty when ungrouped
    unsigned short element[51];      // element the style makes or removes ("p", "span" ...)
    unsigned short description[201]; // longer text
    unsigned short id[51];           // the page's identifier of the style
    int index;                       // row in the drop-list (group headings take rows too)
    unsigned int commandId;          // 34000 upward in list order
    unsigned int flags;              // kStyleItemMarked | kStyleItemSelected
    ATTRIBUTE_ITEM* attributes;      // owned; attributes the style sets ("class" makes a class style)
    STYLE_BAR_ITEM* next;
};

enum : unsigned int
{
    kStyleItemMarked = 1u,   // the style applies at the caret
    kStyleItemSelected = 2u, // the item the style box shows
};

// The first command id of the style items; the None item takes it.
constexpr unsigned int kFirstStyleCommandId = 34000;

// A new zero-filled item with the given texts (null reads as empty), each
// cut to its field; null when memory runs out.
STYLE_BAR_ITEM* NewStyleBarItem(const unsigned short* label, const unsigned short* group,
    const unsigned short* element, const unsigned short* description, const unsigned short* id);

// Frees a whole chain with its attribute records.
void FreeStyleBarItems(STYLE_BAR_ITEM* head);
