#pragma once
// GetIndex for each child of one parent in turn: the children are taken in
// order from the first, and each answer comes from running counts kept per
// tag name, not from counting the earlier siblings again. A listing of a
// whole tree by indexed paths then takes time linear in the tree.

#include <string>
#include <unordered_map>

class CElement;

class CSiblingIndex
{
public:
    // c->GetIndex() for c, the next child of the parent (the first child on
    // the first call; none may be left out).
    int Next(const CElement* c);

private:
    struct Count
    {
        int count = 0;      // the earlier siblings counted
        long lastGroup = 0; // the wrap-piece group of the last one counted
    };
    std::unordered_map<std::u16string, Count> m_byTag;
    int m_items = 0; // the earlier li siblings
};
