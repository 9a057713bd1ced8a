// The control's icon set and icon definitions.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/text/U16.h"
#include "style/Image.h"

#include <cstring>
#include <new>

unsigned char* CMorvaXEditorCtrl::GetIconFromArray(const unsigned short* name, int& size, bool copy)
{
    size = 0;
    if (!name)
        return nullptr;
    for (ICON_ITEM* icon = m_icons; icon; icon = icon->next) {
        if (U16cmp(icon->name, name) != 0)
            continue;
        if (!icon->data || icon->size <= 0)
            return nullptr;
        if (!copy) {
            size = icon->size;
            return icon->data;
        }
        unsigned char* bytes = new (std::nothrow) unsigned char[static_cast<size_t>(icon->size)];
        if (!bytes)
            return nullptr;
        std::memcpy(bytes, icon->data, static_cast<size_t>(icon->size));
        size = icon->size;
        return bytes;
    }
    return nullptr;
}

unsigned char* CMorvaXEditorCtrl::GetIconFromIcons(
    const unsigned short* name, int* size, CImage* image, void* context)
{
    int n = 0;
    unsigned char* bytes = GetIconFromArray(name, n, false);
    if (size)
        *size = n;
    if (image && bytes && n > 0)
        image->LoadPictureMemory(reinterpret_cast<const char*>(bytes), n, context);
    return bytes;
}

unsigned char* CMorvaXEditorCtrl::GetIconFromIcons(const char* name, int* size, CImage* image, void* context)
{
    if (!name) {
        if (size)
            *size = 0;
        return nullptr;
    }
    CSafeBuf wide;
    wide.AssignUTF8(name);
    return GetIconFromIcons(static_cast<const unsigned short*>(wide), size, image, context);
}

bool CMorvaXEditorCtrl::AddIcon(const unsigned short* name, const unsigned char* data, int size)
{
    ICON_ITEM* item = NewIconItem(name, data, size);
    if (!item)
        return false;
    // The kept tail makes an append cost the same however long the set is.
    if (m_lastIcon)
        m_lastIcon->next = item;
    else
        m_icons = item;
    m_lastIcon = item;
    return true;
}

void CMorvaXEditorCtrl::RemoveIcons()
{
    FreeIconItems(m_icons);
    m_icons = nullptr;
    m_lastIcon = nullptr;
}

void CMorvaXEditorCtrl::AddPlaceHolderItem(
    const unsigned short* element, const unsigned short* icon, PLACEHOLDERSSTRUCT*& last)
{
    PLACEHOLDERSSTRUCT* item = new (std::nothrow) PLACEHOLDERSSTRUCT();
    if (!item)
        return;
    SetHeaderField(item->element, element);
    unsigned short* name = U16dup(icon);
    if (!name) {
        delete item;
        return;
    }
    item->icon = name;
    item->iconIsName = 1;
    if (last) {
        item->next = last->next;
        last->next = item;
    } else {
        // Becomes the head; definitions already listed stay behind it.
        item->next = m_placeHolders;
        m_placeHolders = item;
    }
    last = item;
}

void CMorvaXEditorCtrl::AddPlaceHolderItem(const char* element, const char* icon, PLACEHOLDERSSTRUCT*& last)
{
    CSafeBuf e, i;
    e.AssignUTF8(element);
    i.AssignUTF8(icon);
    AddPlaceHolderItem(static_cast<const unsigned short*>(e), static_cast<const unsigned short*>(i), last);
}

void CMorvaXEditorCtrl::ReleasePlaceHolders()
{
    FreePlaceHolders(m_placeHolders);
    m_placeHolders = nullptr;
}
