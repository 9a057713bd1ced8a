// Allocation and release of the control's icon, icon-definition and attribute
// records.

#include "element/services/AttributeItem.h"
#include "element/services/IconItem.h"
#include "element/services/PlaceHolder.h"
#include "net/AdditionalHeaders.h"

#include <cstring>
#include <new>

ATTRIBUTE_ITEM* NewAttributeItem(const unsigned short* name, const unsigned short* value)
{
    ATTRIBUTE_ITEM* item = new (std::nothrow) ATTRIBUTE_ITEM();
    if (!item)
        return nullptr;
    SetHeaderField(item->name, name);
    SetHeaderField(item->value, value);
    return item;
}

void FreeAttributeItems(ATTRIBUTE_ITEM* head)
{
    while (head) {
        ATTRIBUTE_ITEM* next = head->next;
        delete head;
        head = next;
    }
}

ICON_ITEM* NewIconItem(const unsigned short* name, const unsigned char* data, int size)
{
    ICON_ITEM* item = new (std::nothrow) ICON_ITEM();
    if (!item)
        return nullptr;
    SetHeaderField(item->name, name);
    if (data && size > 0) {
        item->data = new (std::nothrow) unsigned char[static_cast<size_t>(size)];
        if (!item->data) {
            delete item;
            return nullptr;
        }
        std::memcpy(item->data, data, static_cast<size_t>(size));
        item->size = size;
    }
    return item;
}

void FreeIconItems(ICON_ITEM* head)
{
    while (head) {
        ICON_ITEM* next = head->next;
        delete[] head->data;
        delete head;
        head = next;
    }
}

void FreePlaceHolders(PLACEHOLDERSSTRUCT* head)
{
    while (head) {
        PLACEHOLDERSSTRUCT* next = head->next;
        FreeAttributeItems(head->attributes);
        if (head->iconIsName)
            delete[] static_cast<unsigned short*>(head->icon);
        else
            delete[] static_cast<unsigned char*>(head->icon);
        delete head;
        head = next;
    }
}
