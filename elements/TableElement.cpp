// The table's column groups: read from markup, kept as name-value lists,
// written back.

#include "elements/TableElement.h"

#include "base/codec/Escaping.h"
#include "base/xml/XmlNodeValue.h"
#include "element/NameValue.h"
#include "element/markup/SourceCode.h"

#include <libxml/tree.h>

#include <new>

namespace {

const char kColTag[] = "col";

NameValueTree* NewTreeNode()
{
    NameValueTree* node = new (std::nothrow) NameValueTree;
    if (node) {
        node->list = nullptr;
        node->left = nullptr;
        node->right = nullptr;
    }
    return node;
}

// The attributes of an element node, in markup order, the caret marker left
// out.
void CopyAttributes(xmlNode* node, NameValue*& list)
{
    for (xmlAttr* a = node->properties; a; a = a->next) {
        CSafeBuf name, value;
        XMLGetAttrInfo(a, name, value);
        MacGetTagName(reinterpret_cast<xmlNode*>(a), name);
        if (name.IsEmpty() || name == kCaretMarker)
            continue;
        NameValue* item = CreateNameValue(name, value);
        if (!item)
            continue;
        NameValue** tail = &list;
        while (*tail)
            tail = &(*tail)->next;
        *tail = item;
    }
}

void AppendEntry(NameValueTree* group, xmlNode* col)
{
    NameValueTree* entry = NewTreeNode();
    if (!entry)
        return;
    CopyAttributes(col, entry->list);
    NameValueTree** tail = &group->left;
    while (*tail)
        tail = &(*tail)->right;
    *tail = entry;
}

void Indent(CSafeBuf& out, int level)
{
    out += "\r\n";
    for (int i = 0; i < level; ++i)
        out += static_cast<unsigned short>('\t');
}

void WriteAttributes(CSafeBuf& out, const NameValue* list)
{
    for (const NameValue* a = list; a; a = a->next) {
        CSafeBuf name(a->name), value(a->value);
        EscapeXMLChar(name, false);
        EscapeXMLChar(value, false);
        out += " ";
        out += name;
        out += "=\"";
        out += value;
        out += "\"";
    }
}

} // namespace

CTableElement::~CTableElement() { FreeNameValueTree(m_colgroups); }

void CTableElement::SetColgroup(_xmlNode* node, bool isCol)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return;
    NameValueTree** last = &m_colgroups;
    while (*last && (*last)->right)
        last = &(*last)->right;
    if (isCol) {
        if (!*last)
            *last = NewTreeNode();
        if (*last)
            AppendEntry(*last, node);
        return;
    }
    NameValueTree* group = NewTreeNode();
    if (!group)
        return;
    CopyAttributes(node, group->list);
    for (xmlNode* c = node->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && xmlStrcmp(c->name, reinterpret_cast<const xmlChar*>(kColTag)) == 0)
            AppendEntry(group, c);
    }
    if (*last)
        (*last)->right = group;
    else
        *last = group;
}

void CTableElement::GetColgroupSource(CSafeBuf& out, int indent, int flags) const
{
    out.Empty();
    const bool lines = (flags & kSourceIndent) != 0;
    for (const NameValueTree* group = m_colgroups; group; group = group->right) {
        if (lines)
            Indent(out, indent);
        out += "<colgroup";
        WriteAttributes(out, group->list);
        out += ">";
        for (const NameValueTree* col = group->left; col; col = col->right) {
            if (lines)
                Indent(out, indent + 1);
            out += "<col";
            WriteAttributes(out, col->list);
            out += " />";
        }
        if (lines)
            Indent(out, indent);
        out += "</colgroup>";
    }
}
