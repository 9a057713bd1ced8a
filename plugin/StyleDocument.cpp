// Reading the style document into drop-list items, numbering the list, and
// reading the one-style document of ApplyStyleXML.

#include "plugin/StyleDocument.h"

#include "base/text/U16.h"
#include "base/xml/XmlLoad.h"
#include "base/xml/XmlNodeList.h"
#include "base/xml/XmlNodeValue.h"
#include "base/xml/XmlSelect.h"
#include "plugin/MorvaXEditorCtrl.h"

namespace {

bool IsNamed(const xmlNode* node, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST name);
}

// The trimmed text of the first child element called name; empty when none.
CSafeBuf ChildText(xmlNode* node, const char* name)
{
    CSafeBuf value;
    GetNodeValue(name, value, node);
    value.Trim();
    return value;
}

// The child called name whose xml:lang is the control's language, else the
// first child of that name; trimmed.
CSafeBuf LangChildText(xmlNode* node, const char* name, const CSafeBuf& lang)
{
    CSafeBuf value;
    if (lang.IsEmpty() || !GetNodeValue(name, value, node, 0, "xml:lang", lang))
        GetNodeValue(name, value, node);
    value.Trim();
    return value;
}

// The first of two child names that gives a text, each in the language.
CSafeBuf LangLabel(xmlNode* node, const char* first, const char* second, const CSafeBuf& lang)
{
    CSafeBuf text = LangChildText(node, first, lang);
    if (text.IsEmpty())
        text = LangChildText(node, second, lang);
    CMorvaXEditorCtrl::ValidateTag(text);
    return text;
}

// One "style" element as an item of group, appended after last.
bool AppendStyle(xmlNode* node, const CSafeBuf& group, const CSafeBuf& lang, STYLE_BAR_ITEM*& last)
{
    const CSafeBuf label = LangLabel(node, "name", "label", lang);
    const CSafeBuf description = LangChildText(node, "description", lang);
    CSafeBuf element = ChildText(node, "elt");
    CMorvaXEditorCtrl::ValidateTag(element);
    STYLE_BAR_ITEM* item = NewStyleBarItem(label, group, element, description, ChildText(node, "id"));
    if (!item)
        return false;
    for (xmlNode* child = node->children; child; child = child->next) {
        if (!IsNamed(child, "attr"))
            continue;
        const CSafeBuf name = ChildText(child, "name");
        const CSafeBuf value = ChildText(child, "value");
        if (name.IsEmpty() || value.IsEmpty())
            continue;
        ATTRIBUTE_ITEM* attribute = NewAttributeItem(name, value);
        if (!attribute)
            break;
        attribute->next = item->attributes;
        item->attributes = attribute;
    }
    last->next = item;
    last = item;
    return true;
}

} // namespace

int ReadStyleItems(xmlDoc* doc, const CSafeBuf& lang, STYLE_BAR_ITEM*& last)
{
    if (!doc || !last)
        return 0;
    libIXMLDOMNodeList* list = nullptr;
    if (!SelectNodes(doc, "//styles/*", &list) || !list)
        return 0;
    int count = 0;
    xmlNode* node = nullptr;
    static const CSafeBuf kNoGroup;
    while (list->nextNode(&node)) {
        if (IsNamed(node, "style")) {
            if (!AppendStyle(node, kNoGroup, lang, last))
                break;
            ++count;
        } else if (IsNamed(node, "group")) {
            const CSafeBuf title = LangLabel(node, "label", "name", lang);
            for (xmlNode* child = node->children; child; child = child->next) {
                if (!IsNamed(child, "style"))
                    continue;
                if (!AppendStyle(child, title, lang, last))
                    break;
                ++count;
            }
        }
    }
    list->Release();
    return count;
}

void NumberStyleItems(STYLE_BAR_ITEM* head, int& nextCommand)
{
    int row = 0;
    static const unsigned short kNone[1] = {0};
    const unsigned short* group = kNone;
    for (STYLE_BAR_ITEM* item = head; item; item = item->next) {
        if (U16cmp(group, item->group) != 0) {
            ++row; // the group's heading, or the separator after a group
            group = item->group;
        }
        item->index = row++;
        item->commandId = static_cast<unsigned int>(nextCommand++);
    }
}

bool ReadStyleXML(const unsigned short* xml, CSafeBuf& element, ATTRIBUTE_ITEM*& attributes, CSafeBuf& cls)
{
    element.Empty();
    cls.Empty();
    attributes = nullptr;
    if (!xml || !*xml)
        return false;
    xmlDoc* doc = LoadXMLString(xml);
    xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
    if (root)
        element = ChildText(root, "elt");
    if (element.IsEmpty()) {
        XMLReleaseDom(doc);
        return false;
    }
    libIXMLDOMNodeList* list = nullptr;
    if (SelectNodes(doc, "/style/attr", &list) && list) {
        ATTRIBUTE_ITEM** tail = &attributes;
        xmlNode* node = nullptr;
        while (list->nextNode(&node)) {
            const CSafeBuf name = ChildText(node, "name");
            const CSafeBuf value = ChildText(node, "value");
            if (name.IsEmpty() || value.IsEmpty())
                continue;
            ATTRIBUTE_ITEM* attribute = NewAttributeItem(name, value);
            if (!attribute)
                break;
            if (name == "class")
                cls = attribute->value;
            *tail = attribute;
            tail = &attribute->next;
        }
        list->Release();
    }
    XMLReleaseDom(doc);
    return true;
}
