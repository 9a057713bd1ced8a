#pragma once
// CBorrowedElement: an element the engine keeps a pointer to between events
// without owning it (the element a context menu opened on, the target of a
// property command). The element may go meanwhile: an edit, an undo or a
// load replaces it, and a new element can then stand at the same address,
// so a check of the address alone would take the new element for the old
// one. The record keeps the element's identifier too, which no other element
// is ever given.

#include "element/Element.h"
#include "element/services/XDocServices.h"

class CBorrowedElement
{
public:
    CBorrowedElement() = default;
    CBorrowedElement& operator=(CElement* e)
    {
        m_element = e;
        m_id = e ? e->GetID() : 0;
        return *this;
    }
    // The pointer as it was taken, to compare with; it may be stale.
    operator CElement*() const { return m_element; }
    CElement* operator->() const { return m_element; }
    // The element while it lives in doc, else null.
    CElement* Live(const CXDocServices& doc) const
    {
        return m_element && doc.FindElement(m_id) == m_element ? m_element : nullptr;
    }

private:
    CElement* m_element = nullptr;
    long m_id = 0;
};
