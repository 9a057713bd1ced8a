// Reading place-holder definitions from their document.

#include "plugin/PlaceHolderDocument.h"

#include "base/codec/Hex.h"
#include "base/text/SafeBuf.h"
#include "base/text/U16.h"
#include "base/xml/XmlNodeList.h"
#include "base/xml/XmlNodeValue.h"
#include "base/xml/XmlSelect.h"
#include "net/AdditionalHeaders.h"

#include <new>

namespace {

bool ChildText(xmlNode* node, const char* name, CSafeBuf& value)
{
    const bool found = GetNodeValue(name, value, node);
    value.Trim();
    return found;
}

// The record for one "placeholder" element; null when it is passed over.
PLACEHOLDERSSTRUCT* ReadDefinition(xmlNode* node)
{
    CSafeBuf element, icon;
    ChildText(node, "elt", element);
    ChildText(node, "icon", icon);
    if (element.IsEmpty() || icon.IsEmpty())
        return nullptr;
    PLACEHOLDERSSTRUCT* record = new (std::nothrow) PLACEHOLDERSSTRUCT();
    if (!record)
        return nullptr;
    SetHeaderField(record->element, element);
    if (icon.Length() > kPlaceHolderIconNameUnits) {
        char* bytes = nullptr;
        int size = 0;
        if (CHex::Decode(static_cast<const unsigned short*>(icon), icon.Length(), bytes, size) && size > 0) {
            record->icon = bytes;
            record->iconSize = size;
        } else {
            delete[] bytes;
        }
        record->iconIsName = 0;
    } else {
        record->icon = U16dup(static_cast<const unsigned short*>(icon));
        record->iconIsName = 1;
    }
    if (!record->icon) {
        delete record;
        return nullptr;
    }
    ATTRIBUTE_ITEM** tail = &record->attributes;
    for (xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !xmlStrEqual(child->name, BAD_CAST "attr"))
            continue;
        CSafeBuf name, value;
        if (!ChildText(child, "name", name) || !ChildText(child, "value", value) || name.IsEmpty())
            continue;
        ATTRIBUTE_ITEM* attribute = NewAttributeItem(name, value);
        if (!attribute)
            break;
        *tail = attribute;
        tail = &attribute->next;
    }
    return record;
}

} // namespace

int ReadPlaceHolderDocument(xmlDoc* doc, PLACEHOLDERSSTRUCT*& head, PLACEHOLDERSSTRUCT*& last)
{
    libIXMLDOMNodeList* list = nullptr;
    if (!doc || !SelectNodes(doc, "//placeholder", &list) || !list)
        return 0;
    int count = 0;
    xmlNode* node = nullptr;
    while (list->nextNode(&node)) {
        PLACEHOLDERSSTRUCT* record = ReadDefinition(node);
        if (!record)
            continue;
        (last ? last->next : head) = record;
        last = record;
        ++count;
    }
    list->Release();
    return count;
}
