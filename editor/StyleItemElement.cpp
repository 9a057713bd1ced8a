#include "editor/StyleItemElement.h"

#include "editor/StyleBarItem.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"

#include "base/text/ValueUtils.h"

#include <cstring>

namespace {

struct NamedCode
{
    const char* name;
    StyleItemPath path;
    int code;
};

constexpr NamedCode kCodes[] = {
    {"p", StyleItemPath::kBlock, 1},
    {"h1", StyleItemPath::kBlock, 2},
    {"h2", StyleItemPath::kBlock, 3},
    {"h3", StyleItemPath::kBlock, 4},
    {"h4", StyleItemPath::kBlock, 5},
    {"h5", StyleItemPath::kBlock, 6},
    {"h6", StyleItemPath::kBlock, 7},
    {"address", StyleItemPath::kBlock, 10},
    {"pre", StyleItemPath::kBlock, 11},
    {"b", StyleItemPath::kFont, 2},
    {"i", StyleItemPath::kFont, 3},
    {"strong", StyleItemPath::kFont, 7},
    {"em", StyleItemPath::kFont, 8},
};

bool Equals(const unsigned short* text, const char* name)
{
    std::size_t i = 0;
    for (; name[i]; ++i) {
        if (text[i] != static_cast<unsigned char>(name[i]))
            return false;
    }
    return text[i] == 0;
}

} // namespace

StyleItemKind ClassifyStyleItem(const STYLE_BAR_ITEM& item)
{
    for (const NamedCode& c : kCodes) {
        if (Equals(item.element, c.name))
            return {c.path, c.code};
    }
    return {};
}

bool IsStyleItemElement(const STYLE_BAR_ITEM& item, const char* name) { return Equals(item.element, name); }

bool StyleItemClass(const STYLE_BAR_ITEM& item, CSafeBuf& cls)
{
    cls.Empty();
    for (const ATTRIBUTE_ITEM* a = item.attributes; a; a = a->next) {
        if (Equals(a->name, "class")) {
            cls = CSafeBuf(a->value);
            return true;
        }
    }
    return false;
}

void GiveStyleItemAttributes(const STYLE_BAR_ITEM& item, CElement* e)
{
    if (!e)
        return;
    for (const ATTRIBUTE_ITEM* a = item.attributes; a; a = a->next) {
        if (!a->name[0])
            continue;
        CSafeBuf value;
        CalculateValue(a->value, value);
        e->SetAttrString(a->name, static_cast<const unsigned short*>(value));
    }
}

CElement* NewStyleItemElement(const STYLE_BAR_ITEM& item, CElement* parent)
{
    if (!parent || !item.element[0])
        return nullptr;
    CElement* e = CreateElement(item.element, parent->m_rules, parent->m_root, parent->m_owner);
    if (!e)
        return nullptr;
    e->CopyFromParent(parent, 1);
    GiveStyleItemAttributes(item, e);
    e->ApplyCSS(nullptr, true);
    return e;
}
