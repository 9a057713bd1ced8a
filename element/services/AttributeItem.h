#pragma once
// ATTRIBUTE_ITEM: one attribute condition or attribute to set (name and
// value), chained by its next pointer. Toolbar style targets, style drop-list
// items and place-holder definitions keep their attributes in such chains.
// Names and values are cut at 50 units (the arrays keep one more for the
// terminator).

struct ATTRIBUTE_ITEM
{
    unsigned short name[51];
    unsigned short value[51];
    ATTRIBUTE_ITEM* next;
};

// A new zero-filled record holding name and value (each cut at 50 units, a
// surrogate pair never split); null text reads as empty.
ATTRIBUTE_ITEM* NewAttributeItem(const unsigned short* name, const unsigned short* value);

// Frees a whole chain.
void FreeAttributeItems(ATTRIBUTE_ITEM* head);
