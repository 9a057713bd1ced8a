// Free utilities on elements.

#include "element/ElementUtilities.h"

#include "element/Element.h"

bool CompareAttributes(const CElement* a, const CElement* b)
{
    if (!a || !b || a->m_attributes.GetCount() != b->m_attributes.GetCount())
        return false;
    CSafeBuf name, value, other;
    for (void* pos = a->m_attributes.GetStartPosition(); pos;) {
        a->m_attributes.GetNextAssoc(pos, name, value);
        if (!b->m_attributes.Lookup(static_cast<const unsigned short*>(name), other) || other != value)
            return false;
    }
    return true;
}

void MoveToBlock(CElement* e, CElement* block)
{
    if (!e || !block || !e->m_parent)
        return;
    CElement* parent = e->m_parent;
    for (CElement* c = e; c;) {
        if (c != e && c->m_block)
            break;
        if (c == block || block->IsOneOfParent(c))
            break;
        CElement* next = c->m_nextSibling;
        parent->RemoveCurrentChildFromList(c);
        block->AppendChild(c);
        c = next;
    }
    block->StyleChanged(0);
}

void GWriteExcpInfo(const char*) { }

void GWriteExcpInfo(const unsigned short*) { }

int GetOffsetXWithSpan(CElement*) { return 0; }
