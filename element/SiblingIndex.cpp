#include "element/SiblingIndex.h"

#include "base/text/U16.h"
#include "element/Element.h"

int CSiblingIndex::Next(const CElement* c)
{
    int index = 0;
    if (c->m_kind == kKindLi)
        index = m_items++; // a list item counts every earlier li (CLIElement::GetIndex)
    const unsigned short* tag = c->GetTagName();
    Count& tagCount
        = m_byTag[std::u16string(reinterpret_cast<const char16_t*>(tag), static_cast<size_t>(U16len(tag)))];
    if (c->m_kind != kKindLi) {
        // Without a group of its own, an element's index is the running
        // count; an element that is a wrap piece does not count its own
        // group's earlier pieces, which the running count may hold.
        index = c->m_inlineGroup == 0 ? tagCount.count : c->GetIndex();
    }
    // The running count goes on as GetIndex counts for a later sibling:
    // pieces of one wrapped element count once.
    if (c->m_inlineGroup == 0 || c->m_inlineGroup != tagCount.lastGroup) {
        tagCount.lastGroup = c->m_inlineGroup;
        ++tagCount.count;
    }
    return index;
}
