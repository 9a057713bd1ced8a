// Removing children without leaving the caret in them.

#include "elements/ChildRemoval.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"

void RemoveChildrenKeepingCaret(CElement* e, long caretOffset)
{
    if (!e)
        return;
    CXDocServices* doc = e->m_owner ? &e->m_owner->m_doc : nullptr;
    if (doc && doc->m_caretElement && doc->m_caretElement != e && doc->m_caretElement->IsOneOfParent(e)) {
        doc->m_caretElement = e;
        e->m_caretOffset = caretOffset;
    }
    while (e->m_firstChild)
        e->RemoveChild(e->m_firstChild->GetID(), true, doc != nullptr);
}
