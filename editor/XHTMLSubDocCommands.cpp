// The context menu's sub-document entries. A sub-document's content comes
// from the service and is locked as a whole, so the user acts on it as one
// piece: the nearest element at or above the context element that is locked
// by its own flag is selected whole, or deleted.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/TreeQueries.h"

void CXHTML::OnSubdocSelect()
{
    CElement* locked = NearestLockedElement();
    if (!locked || !m_doc.m_root)
        return;
    try {
        m_doc.CleanSelection();
        locked->SelectAllChildren(true);
        m_doc.m_selectionPresent = 1;
        ShowSelection();
        m_doc.DisplaySelectionStyle();
        DisplayClipButton();
    } catch (...) {
        // What was selected stays selected.
    }
}

void CXHTML::OnSubdocDelete()
{
    CElement* locked = NearestLockedElement();
    if (!locked || !locked->m_parent)
        return;
    // Content locked around the sub-document keeps it.
    if (IsElementLocked(locked->m_parent, false, 0, false)) {
        DisplayMessageBox("message-box/element-locked");
        return;
    }
    if (m_doc.m_selectionPresent)
        m_doc.CleanSelection();
    m_menuElement = locked;
    OnDelete();
}
