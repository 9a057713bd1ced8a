// Stand-ins for the insertion rules until their own code arrives: every
// insertion is allowed, and markup goes in through the caret element (at
// offset 0 of a paragraph's first text, before that paragraph).

#include "document/XDoc.h"

#include "element/Element.h"
#include "element/ElementKinds.h"

bool CXDoc::CanInsertTo(const unsigned short*, const unsigned short*, const unsigned short*, bool)
{
    return true;
}

bool CXDoc::InsertTagText(
    const unsigned short* markup, CElement* before, bool paragraph, bool second, bool third, bool)
{
    if (!CanInsert(true, false) || !PrepareInsertPoint() || !m_caretElement)
        return false;
    CElement* caret = m_caretElement;
    CElement* block = caret->m_parent;
    if (paragraph && caret->IsTextElement() && caret->m_caretOffset == 0 && block && block->IsType(kKindP)
        && block->m_firstChild == caret && block->m_parent) {
        const bool empty = !caret->m_nextSibling && caret->m_text.IsEmpty();
        if (!empty)
            return block->m_parent->InsertTagText(markup, block->GetID(), false, true, false, false)
                != nullptr;
    }
    return caret->InsertTagText(markup, before ? before->GetID() : 0, second, false, paragraph, third)
        != nullptr;
}
