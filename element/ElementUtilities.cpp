// Free utilities on elements.

#include "element/ElementUtilities.h"

#include "element/Element.h"
#include "element/ValidateTree.h"
#include "element/factory/ElementFactory.h"

#include <vector>

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

void MoveChildrenInBlockToRoot(CElement* e)
{
    if (!e || !e->m_parent)
        return;
    CElement* parent = e->m_parent;
    std::vector<CElement*> placed; // in order, after e
    CElement* paragraph = nullptr; // the one being filled
    CElement* lastParagraph = nullptr;
    auto place = [&](CElement* c) {
        parent->InsertInto(c, placed.empty() ? e : placed.back(), true);
        c->CopyFromParent(parent, 1);
        placed.push_back(c);
    };
    while (CElement* c = e->m_firstChild) {
        e->RemoveCurrentChildFromList(c);
        if (c->m_block) {
            place(c);
            paragraph = nullptr;
            continue;
        }
        if (!paragraph) {
            paragraph = CreateElement("p", parent->m_rules, parent->m_root, parent->m_owner);
            if (!paragraph) {
                e->AddToHead(c); // what is left stays in e
                break;
            }
            place(paragraph);
            lastParagraph = paragraph;
        }
        paragraph->AppendChild(c);
    }
    if (e->m_kind == kKindPre && lastParagraph)
        ValidateTextChildFromPre(lastParagraph, 1);
    for (CElement* c : placed)
        c->StyleChanged(1);
}

void GWriteExcpInfo(const char*) { }

void GWriteExcpInfo(const unsigned short*) { }

int GetOffsetXWithSpan(CElement*) { return 0; }

CElement* ParagraphBeside(CElement* e, bool after)
{
    CElement* p = CreateElement("p", e->m_rules, e->m_root, e->m_owner);
    if (!p)
        return nullptr;
    static const unsigned short kRunTag[] = {0};
    CElement* run = CreateElement(kRunTag, e->m_rules, e->m_root, e->m_owner);
    if (!run || !e->AddBrother(p, after, false)) {
        delete run;
        delete p;
        return nullptr;
    }
    p->AppendChild(run);
    p->StyleChanged(1);
    return run;
}
