// Name-value lists and trees.

#include "element/NameValue.h"

#include "base/text/U16.h"

#include <new>
#include <vector>

namespace {

CSafeBuf Widen(const char* text) { return CSafeBuf(reinterpret_cast<const unsigned char*>(text)); }

bool Fits(const unsigned short* name) { return name && U16len(name) < kNameValueNameUnits; }

// A copy of a non-empty value, else null.
unsigned short* CopyValue(const unsigned short* value) { return value && *value ? U16dup(value) : nullptr; }

NameValue* FindNode(NameValue* list, const unsigned short* name)
{
    if (!Fits(name))
        return nullptr;
    for (NameValue* n = list; n; n = n->next) {
        if (U16cmp(n->name, name) == 0)
            return n;
    }
    return nullptr;
}

} // namespace

NameValue* CreateNameValue(const unsigned short* name, const unsigned short* value)
{
    if (!Fits(name))
        return nullptr;
    NameValue* node = new (std::nothrow) NameValue{};
    if (!node)
        return nullptr;
    U16cpy(node->name, name);
    node->value = CopyValue(value);
    return node;
}

bool FindNameInNameValues(NameValue* list, const char* name, CSafeBuf& value)
{
    value.Empty();
    if (!name)
        return false;
    const CSafeBuf wide = Widen(name);
    NameValue* node = FindNode(list, wide);
    if (!node)
        return false;
    if (node->value)
        value = static_cast<const unsigned short*>(node->value);
    return true;
}

bool SetValueInNameValues(NameValue*& list, const unsigned short* name, const unsigned short* value, bool add)
{
    if (NameValue* node = FindNode(list, name)) {
        delete[] node->value;
        node->value = CopyValue(value);
        return true;
    }
    if (!add)
        return false;
    NameValue* node = CreateNameValue(name, value);
    if (!node)
        return false;
    NameValue** tail = &list;
    while (*tail)
        tail = &(*tail)->next;
    *tail = node;
    return true;
}

bool SetValueInNameValues(NameValue*& list, const char* name, const unsigned short* value, bool add)
{
    if (!name)
        return false;
    const CSafeBuf wide = Widen(name);
    return SetValueInNameValues(list, static_cast<const unsigned short*>(wide), value, add);
}

bool SetValueInNameValues(NameValue*& list, const unsigned short* name, const char* value, bool add)
{
    const CSafeBuf wide = Widen(value);
    return SetValueInNameValues(list, name, value ? static_cast<const unsigned short*>(wide) : nullptr, add);
}

bool SetValueInNameValues(NameValue*& list, const char* name, const char* value, bool add)
{
    if (!name)
        return false;
    const CSafeBuf wideName = Widen(name), wideValue = Widen(value);
    return SetValueInNameValues(list, static_cast<const unsigned short*>(wideName),
        value ? static_cast<const unsigned short*>(wideValue) : nullptr, add);
}

bool RemoveNodeInNameValues(NameValue*& list, const unsigned short* name)
{
    if (!Fits(name))
        return false;
    for (NameValue** link = &list; *link; link = &(*link)->next) {
        if (U16cmp((*link)->name, name) == 0) {
            NameValue* node = *link;
            *link = node->next;
            FreeNameValueNode(node);
            return true;
        }
    }
    return false;
}

void FreeNameValueNode(NameValue* node)
{
    if (!node)
        return;
    delete[] node->value;
    delete node;
}

void FreeNameValue(NameValue* list)
{
    while (list) {
        NameValue* next = list->next;
        FreeNameValueNode(list);
        list = next;
    }
}

void FreeNameValueTree(NameValueTree* tree)
{
    // Without recursion, so a degenerate (list-like) tree of any depth is freed.
    std::vector<NameValueTree*> pending;
    if (tree)
        pending.push_back(tree);
    while (!pending.empty()) {
        NameValueTree* t = pending.back();
        pending.pop_back();
        if (t->left)
            pending.push_back(t->left);
        if (t->right)
            pending.push_back(t->right);
        FreeNameValue(t->list);
        delete t;
    }
}
