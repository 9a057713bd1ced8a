// Allocation and release of style drop-list items.

#include "editor/StyleBarItem.h"

#include "net/AdditionalHeaders.h"

#include <new>

STYLE_BAR_ITEM* NewStyleBarItem(const unsigned short* label, const unsigned short* group,
    const unsigned short* element, const unsigned short* description, const unsigned short* id)
{
    STYLE_BAR_ITEM* item = new (std::nothrow) STYLE_BAR_ITEM();
    if (!item)
        return nullptr;
    SetHeaderField(item->label, label);
    SetHeaderField(item->group, group);
    SetHeaderField(item->element, element);
    SetHeaderField(item->description, description);
    SetHeaderField(item->id, id);
    return item;
}

void FreeStyleBarItems(STYLE_BAR_ITEM* head)
{
    while (head) {
        STYLE_BAR_ITEM* next = head->next;
        FreeAttributeItems(head->attributes);
        delete head;
        head = next;
    }
}
