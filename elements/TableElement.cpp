// The table's column groups: read from markup, kept as name-value lists,
// written back.

#include "elements/TableElement.h"

#include "base/xml/XmlNodeValue.h"
#include "element/NameValue.h"
#include "element/markup/MarkupWriter.h"
#include "element/markup/SourceCode.h"

#include <libxml/tree.h>

#include <algorithm>
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
    NameValue** tail = &list;
    for (xmlAttr* a = node->properties; a; a = a->next) {
        CSafeBuf name, value;
        XMLGetAttrInfo(a, name, value);
        MacGetTagName(reinterpret_cast<xmlNode*>(a), name);
        if (name.IsEmpty() || name == kCaretMarker)
            continue;
        NameValue* item = CreateNameValue(name, value);
        if (!item)
            continue;
        while (*tail)
            tail = &(*tail)->next;
        *tail = item;
    }
}

// Appends an entry for col to group's entries, the search for their end
// starting at from (one of them, or null for the first); the new entry, or
// null when memory runs out.
NameValueTree* AppendEntry(NameValueTree* group, NameValueTree* from, xmlNode* col)
{
    NameValueTree* entry = NewTreeNode();
    if (!entry)
        return nullptr;
    CopyAttributes(col, entry->list);
    NameValueTree** tail = from ? &from->right : &group->left;
    while (*tail)
        tail = &(*tail)->right;
    *tail = entry;
    return entry;
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
        AppendXMLAttribute(out, CSafeBuf(a->name), CSafeBuf(a->value));
    }
}

} // namespace

CTableElement::~CTableElement() { FreeNameValueTree(m_colgroups); }

void CTableElement::SetColgroup(_xmlNode* node, bool isCol)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return;
    NameValueTree* last = m_lastColgroup ? m_lastColgroup : m_colgroups;
    while (last && last->right) {
        last = last->right;
        m_lastColEntry = nullptr; // of an earlier group
    }
    if (isCol) {
        if (!last && !(last = m_colgroups = NewTreeNode()))
            return;
        m_lastColgroup = last;
        if (NameValueTree* entry = AppendEntry(last, m_lastColEntry, node))
            m_lastColEntry = entry;
        return;
    }
    NameValueTree* group = NewTreeNode();
    if (!group)
        return;
    CopyAttributes(node, group->list);
    NameValueTree* entry = nullptr;
    for (xmlNode* c = node->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE
            && xmlStrcmp(c->name, reinterpret_cast<const xmlChar*>(kColTag)) == 0) {
            if (NameValueTree* added = AppendEntry(group, entry, c))
                entry = added;
        }
    }
    if (last)
        last->right = group;
    else
        m_colgroups = group;
    m_lastColgroup = group;
    m_lastColEntry = entry;
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

namespace {

// How many grid columns an entry covers: its "span", at least 1.
int EntrySpan(const NameValueTree* entry)
{
    CSafeBuf span;
    if (!FindNameInNameValues(entry->list, "span", span))
        return 1;
    long n = 0;
    const unsigned short* p = span;
    int i = 0;
    while (p[i] == ' ')
        ++i;
    for (; p[i] >= '0' && p[i] <= '9' && n <= kMaxTableColumns; ++i)
        n = n * 10 + (p[i] - '0');
    return n < 1 ? 1 : static_cast<int>(std::min<long>(n, kMaxTableColumns));
}

} // namespace

bool CTableElement::FindColumnEntry(int column, NameValueTree** group, NameValueTree** entry) const
{
    if (column < 0)
        return false;
    long first = 0;
    for (NameValueTree* g = m_colgroups; g; g = g->right) {
        for (NameValueTree* e = g->left; e; e = e->right) {
            const int span = EntrySpan(e);
            if (column < first + span) {
                if (group)
                    *group = g;
                if (entry)
                    *entry = e;
                return true;
            }
            first += span;
            if (first > kMaxTableColumns)
                return false;
        }
    }
    return false;
}

NameValue* CTableElement::GetColAttrs(int column) const
{
    NameValueTree* entry = nullptr;
    return FindColumnEntry(column, nullptr, &entry) ? entry->list : nullptr;
}

namespace {

// Appends empty entries to the last group (a new group when there is none)
// until one covers column; the entry, or null when memory runs out.
NameValueTree* EntryFor(CTableElement* table, int column)
{
    NameValueTree* entry = nullptr;
    if (table->FindColumnEntry(column, nullptr, &entry))
        return entry;
    if (!table->m_colgroups && !(table->m_colgroups = NewTreeNode()))
        return nullptr;
    NameValueTree* last = table->m_colgroups;
    while (last->right)
        last = last->right;
    while (!table->FindColumnEntry(column, nullptr, &entry)) {
        NameValueTree* added = NewTreeNode();
        if (!added)
            return nullptr;
        NameValueTree** tail = &last->left;
        while (*tail)
            tail = &(*tail)->right;
        *tail = added;
    }
    return entry;
}

} // namespace

bool CTableElement::SetColAttrs(int column, NameValue* attrs)
{
    NameValueTree* entry = column >= 0 && column < kMaxTableColumns ? EntryFor(this, column) : nullptr;
    if (!entry) {
        FreeNameValue(attrs);
        return false;
    }
    FreeNameValue(entry->list);
    entry->list = attrs;
    return true;
}

bool CTableElement::ModifyColAttrs(int column, const unsigned short* name, const unsigned short* value)
{
    NameValueTree* entry
        = column >= 0 && column < kMaxTableColumns && name ? EntryFor(this, column) : nullptr;
    if (!entry)
        return false;
    if (value && *value)
        return SetValueInNameValues(entry->list, name, value, true);
    RemoveNodeInNameValues(entry->list, name);
    return true;
}

bool CTableElement::ModifyColAttrs(int column, const char* name, const char* value)
{
    CSafeBuf wideName, wideValue;
    wideName.AssignUTF8(name ? name : "");
    wideValue.AssignUTF8(value ? value : "");
    return ModifyColAttrs(
        column, static_cast<const unsigned short*>(wideName), static_cast<const unsigned short*>(wideValue));
}

namespace {

// The entry's span written as its "span" attribute; none for one column.
void SetEntrySpan(NameValueTree* entry, int span)
{
    if (span > 1) {
        CSafeBuf value;
        value.AppendInt(span);
        SetValueInNameValues(entry->list, "span", static_cast<const unsigned short*>(value), true);
    } else {
        CSafeBuf name("span");
        RemoveNodeInNameValues(entry->list, name);
    }
}

// The first grid column the entry covers.
int FirstColumnOf(const NameValueTree* groups, const NameValueTree* entry)
{
    int first = 0;
    for (const NameValueTree* g = groups; g; g = g->right) {
        for (const NameValueTree* e = g->left; e; e = e->right) {
            if (e == entry)
                return first;
            first += EntrySpan(e);
        }
    }
    return first;
}

} // namespace

void CTableElement::InsertColumnEntry(int column)
{
    NameValueTree* group = nullptr;
    NameValueTree* entry = nullptr;
    if (!FindColumnEntry(column, &group, &entry))
        return;
    if (FirstColumnOf(m_colgroups, entry) < column) {
        SetEntrySpan(entry, EntrySpan(entry) + 1);
        return;
    }
    NameValueTree* added = NewTreeNode();
    if (!added)
        return;
    NameValueTree** at = &group->left;
    while (*at != entry)
        at = &(*at)->right;
    added->right = entry;
    *at = added;
}

void CTableElement::RemoveColumnEntry(int column)
{
    NameValueTree* group = nullptr;
    NameValueTree* entry = nullptr;
    if (!FindColumnEntry(column, &group, &entry))
        return;
    const int span = EntrySpan(entry);
    if (span > 1) {
        SetEntrySpan(entry, span - 1);
        return;
    }
    NameValueTree** at = &group->left;
    while (*at != entry)
        at = &(*at)->right;
    *at = entry->right;
    entry->right = nullptr;
    FreeNameValueTree(entry);
    // A group left without columns goes with its attributes: written empty,
    // it would be read as a group of one column.
    if (!group->left) {
        NameValueTree** g = &m_colgroups;
        while (*g != group)
            g = &(*g)->right;
        *g = group->right;
        group->right = nullptr;
        FreeNameValueTree(group);
    }
    // The next col read from markup is appended from the groups' ends.
    m_lastColgroup = m_lastColEntry = nullptr;
}

void CTableElement::RemoveColgroup()
{
    FreeNameValueTree(m_colgroups);
    m_colgroups = nullptr;
    m_lastColgroup = m_lastColEntry = nullptr;
}
