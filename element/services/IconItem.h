#pragma once
// ICON_ITEM: one named picture of the control's icon set (from the icon
// document "icons.xml"), chained in document order. The record owns its
// picture bytes.

struct ICON_ITEM
{
    unsigned short name[50]; // up to 49 units and the terminator
    unsigned char* data;     // picture bytes (new[]), may be null
    int size;                // byte count of data
    ICON_ITEM* next;
};

// A new record with the name (cut at 49 units) and a copy of size bytes of
// data (no bytes for null data or size <= 0).
ICON_ITEM* NewIconItem(const unsigned short* name, const unsigned char* data, int size);

// Frees a whole chain with its picture bytes.
void FreeIconItems(ICON_ITEM* head);
