// Navigation over libxml2 trees.

#include "base/xml/XmlNavigate.h"

#include <cstring>

#include "base/xml/XmlInternal.h"

xmlNode* GetRootElement(xmlDoc* doc) { return doc ? xmlDocGetRootElement(doc) : nullptr; }

xmlNode* GetParentNode(xmlNode* node) { return XmlIsNode(node) ? node->parent : nullptr; }

void XMLGetFirstChild(xmlNode* node, xmlNode** out)
{
    if (!out)
        return;
    // An entity reference's children are the entity's own shared nodes.
    *out = (XmlIsNode(node) && node->type != XML_ENTITY_REF_NODE) ? node->children : nullptr;
}

void XMLGetNextSibling(xmlNode* node, xmlNode** out)
{
    if (out)
        *out = XmlIsNode(node) ? node->next : nullptr;
}

int XMLGetChildCount(xmlNode* first)
{
    int count = 0;
    for (xmlNode* n = XmlIsNode(first) ? first : nullptr; n; n = n->next)
        ++count;
    return count;
}

namespace {
bool HasLocalName(const xmlNode* node, const char* name)
{
    return node->name != nullptr && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}
} // namespace

bool FindNodeInCurLevel(xmlNode* node, const char* name, xmlNode** out)
{
    if (out)
        *out = nullptr;
    if (!name || !XmlIsNode(node))
        return false;
    for (xmlNode* n = node; n; n = n->next) {
        if (HasLocalName(n, name)) {
            if (out)
                *out = n;
            return true;
        }
    }
    return false;
}

bool FindChildNode(xmlNode* parent, const char* name, xmlNode** out)
{
    if (out)
        *out = nullptr;
    if (!XmlIsNode(parent) || parent->type == XML_ENTITY_REF_NODE || !parent->children)
        return false;
    return FindNodeInCurLevel(parent->children, name, out);
}
