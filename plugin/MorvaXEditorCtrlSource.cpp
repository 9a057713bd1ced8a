// The control's side of the markup source view: its text and validation.

#include "plugin/MorvaXEditorCtrl.h"

#include "source_view/ColoringEditor.h"
#include "source_view/ValidateXml.h"

bool CMorvaXEditorCtrl::GetSourceText(CSafeBuf& out, bool markers)
{
    out.Empty();
    if (m_coloringEditor)
        m_coloringEditor->GetText(out, markers);
    return true;
}

void CMorvaXEditorCtrl::SetSourceText(CSafeBuf& text)
{
    if (m_coloringEditor)
        m_coloringEditor->SetText(text);
}

void CMorvaXEditorCtrl::OnScvalidate()
{
    CSafeBuf text;
    GetSourceText(text, false);
    ValidateXMLValue(text, true);
}

bool CMorvaXEditorCtrl::ValidateXMLValue(const unsigned short* text, bool show)
{
    return ::ValidateXMLValue(text, show);
}
