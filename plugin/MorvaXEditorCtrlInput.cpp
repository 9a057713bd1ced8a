// Text typed while the source view shows: the engine's text-input handler
// hands it here and the source view types it.

#include "plugin/MorvaXEditorCtrl.h"

#include "source_view/ColoringEditor.h"

void CMorvaXEditorCtrl::SourceUnicodeInput(const unsigned short* text, int fixed)
{
    if (m_coloringEditor && text)
        m_coloringEditor->MacUnicodeInput(text, fixed);
}
