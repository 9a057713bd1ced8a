// Members of applying styles that the style drop-list's script methods call.
// Until their own code comes, applying an item only makes its row the
// drop-list's current one, and the application itself does nothing.

#include "editor/XHTML.h"

#include "editor/StyleBarItem.h"
#include "element/services/ControlServices.h"

void CXHTML::ProcessTagBox(int index, STYLE_BAR_ITEM* item)
{
    if (m_control)
        m_control->StyleSetCurSel(item ? item->index : index);
}

bool CXHTML::ProcessStyle(STYLE_BAR_ITEM*, bool, bool&, bool&, bool&, int&, int) { return false; }

bool CXHTML::IsCurrentUnderTag(const unsigned short*, const unsigned short*) { return false; }
