// Linking an element beside this one or around it: a sibling, an empty text
// run where the caret must be able to stand, a wrapper.

#include "element/Element.h"

#include "element/factory/ElementFactory.h"

namespace {

const unsigned short kNoTag[] = {0};

} // namespace

bool CElement::AddBrother(CElement* e, bool after, bool restyle)
{
    if (!m_parent || !e)
        return false;
    if (!m_parent->InsertChild(e, m_id, after))
        return false;
    if (restyle)
        e->StyleChanged(2);
    return true;
}

CElement* CElement::InsertEmptyText(bool before, bool restyle)
{
    if (!m_parent)
        return nullptr;
    CElement* run = CreateElement(kNoTag, m_rules, m_root, m_owner);
    if (!run)
        return nullptr;
    if (!m_parent->InsertChild(run, m_id, !before)) {
        m_parent->RemoveChild(run->m_id, true, false);
        return nullptr;
    }
    if (restyle)
        run->StyleChanged(2);
    return run;
}

bool CElement::InsertElement(CElement* wrapper)
{
    CElement* parent = m_parent;
    if (!parent || !wrapper || wrapper == this || IsOneOfParent(wrapper))
        return false;
    // A wrapper still linked elsewhere leaves that list first: one element
    // in two lists would corrupt both.
    if (wrapper->m_parent)
        wrapper->m_parent->RemoveCurrentChildFromList(wrapper);
    if (!parent->InsertChild(wrapper, m_id, false))
        return false;
    parent->RemoveCurrentChildFromList(this);
    wrapper->AppendChild(this);
    wrapper->StyleChanged(1);
    return true;
}
