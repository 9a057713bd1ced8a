#include "plugin/ToolbarDefinitions.h"

#include "base/text/StringSplitter.h"
#include "base/text/U16.h"
#include "base/xml/XmlNodeValue.h"

namespace {

struct BuiltIn
{
    const char* name;
    int kind;
    bool toggle;
    const char* mainName; // the name stored for an alias, else null
};

const BuiltIn kBuiltIns[] = {
    {"ordered-list", 7, true, nullptr},
    {"numbering", 7, true, "ordered-list"},
    {"unordered-list", 8, true, nullptr},
    {"bullets", 8, true, "unordered-list"},
    {"undo-blockquote", 9, false, nullptr},
    {"blockquote", 10, false, nullptr},
    {"layout-table", 11, false, nullptr},
    {"data-table", 12, false, nullptr},
    {"draw-layout-table", 13, true, nullptr},
    {"draw-data-table", 14, true, nullptr},
    {"expand", 15, false, nullptr},
    {"image", 16, false, nullptr},
    {"separator", 17, false, nullptr},
    {"line", 17, false, "separator"},
    {"hyperlink", 18, false, nullptr},
    {"attachment", 19, false, nullptr},
    {"cut", 20, false, nullptr},
    {"copy", 21, false, nullptr},
    {"paste", 22, false, nullptr},
    {"undo", 23, false, nullptr},
    {"redo", 24, false, nullptr},
    {"source", 25, true, nullptr},
    {"preview", 26, true, nullptr},
    {"wysiwyg", 27, true, nullptr},
    {"screen-reader", 28, true, nullptr},
    {"spellchecker", 29, false, nullptr},
    {"directory", 30, false, nullptr},
    {"definition-list", 31, false, nullptr},
    {"find-replace", 34, false, nullptr},
    {"validate", 35, false, nullptr},
    {"whitespace", 36, true, nullptr},
    {"dim-tags", 37, true, nullptr},
    {"word-wrap", 38, true, nullptr},
    {"indent", 39, false, nullptr},
};

// The item's splitting character after its first one: "|" wins over ";".
int SplitAt(const CSafeBuf& item, bool& newRow)
{
    newRow = false;
    if (item.Length() < 2 || item.GetAt(0) == '|' || item.GetAt(0) == ';')
        return -1;
    int at = item.Find(static_cast<unsigned short>('|'), 1);
    if (at >= 0)
        return at;
    at = item.Find(static_cast<unsigned short>(';'), 1);
    newRow = at >= 0;
    return at;
}

bool HasIdChild(xmlNode* node, const CSafeBuf& id)
{
    for (xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !xmlStrEqual(child->name, BAD_CAST "id"))
            continue;
        CSafeBuf name, text;
        GetNameValue(child, name, text);
        if (text == id)
            return true;
    }
    return false;
}

} // namespace

void SplitToolbarString(const unsigned short* text, std::vector<ToolbarItem>& items)
{
    items.clear();
    CStringSplitter splitter;
    if (!text || !splitter.ParseString(text, 3, ','))
        return;
    splitter.ResetGet();
    CSafeBuf item;
    while (splitter.GetNext(nullptr, &item, true)) {
        bool newRow = false;
        const int at = SplitAt(item, newRow);
        if (at < 0) {
            items.push_back({item, false});
            continue;
        }
        CSafeBuf before = item.Left(at);
        before.TrimRight();
        CSafeBuf after = item.Mid(at + 1, item.Length() - at - 1);
        after.TrimLeft();
        items.push_back({before, newRow});
        if (after.IsEmpty())
            continue;
        items.push_back({CSafeBuf("|"), newRow});
        items.push_back({after, newRow});
    }
}

int BuiltInButtonType(CSafeBuf& name, bool& toggle)
{
    if (name.IsEmpty())
        return 1;
    if (name.Length() == 1 && name.GetAt(0) == '|')
        return -2;
    for (const BuiltIn& b : kBuiltIns) {
        if (!(name == b.name))
            continue;
        if (b.toggle)
            toggle = true;
        if (b.mainName)
            name = b.mainName;
        return b.kind;
    }
    return 0;
}

xmlNode* FindButtonDefinition(xmlNode* node, const CSafeBuf& id)
{
    // Document order without recursion: down first, then along, then up.
    xmlNode* const top = node;
    while (node) {
        if (node->type == XML_ELEMENT_NODE && HasIdChild(node, id))
            return node;
        if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            continue;
        }
        while (node != top && !node->next)
            node = node->parent;
        if (node == top)
            return nullptr;
        node = node->next;
    }
    return nullptr;
}
