// The network commands. Clearing private data empties the control's
// temporary and cache folders. The spelling and directory services are not
// available in this editor: their commands say so.

#include "editor/XHTML.h"

#include "element/services/ControlServices.h"

void CXHTML::OnClearPrivate()
{
    if (m_control)
        m_control->ClearCache();
}

void CXHTML::OnSpellcheck() { DisplayMessageBox("message-box/service-not-available"); }

void CXHTML::OnDirectory() { DisplayMessageBox("message-box/service-not-available"); }
