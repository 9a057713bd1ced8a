#pragma once
// PLACEHOLDERSSTRUCT: one icon definition. An element of the page's own
// vocabulary whose tag equals `element` and which carries every attribute of
// `attributes` with an equal value is shown as a picture: either the picture
// bytes held here (iconIsName 0) or the icon of the control's icon set named
// by `icon` (iconIsName 1). Definitions are chained and owned by the control.

#include "element/services/AttributeItem.h"

struct PLACEHOLDERSSTRUCT
{
    unsigned short element[50]; // qualified name, up to 49 units
    ATTRIBUTE_ITEM* attributes; // owned chain, in document order
    unsigned char iconIsName;   // 1: icon is a UTF-16 name; 0: picture bytes
    void* icon;                 // owned: unsigned short[] name or unsigned char[] bytes
    int iconSize;               // byte count of the picture bytes (iconIsName 0)
    PLACEHOLDERSSTRUCT* next;
};

// Frees a whole chain with its attributes and icons.
void FreePlaceHolders(PLACEHOLDERSSTRUCT* head);
