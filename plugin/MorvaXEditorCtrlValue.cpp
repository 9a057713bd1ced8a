// The control's value: the document's markup as the page reads it.
//
// Value is not kept in step with every edit; each read brings it up to date
// from the document in the page's output form.

#include "plugin/MorvaXEditorCtrl.h"

#include "editor/XHTML.h"

namespace {

// Output modes of the document's writer.
constexpr int kIndented = 1;
constexpr int kCompact = 2;
constexpr int kEscapeNonAscii = 0x200;

} // namespace

bool CMorvaXEditorCtrl::UpdateValue()
{
    // The control does not switch to its source view yet: the value always
    // follows the WYSIWYG document.
    int mode = IndentOutput.CompareNoCase("Compact") == 0 ? kCompact : kIndented;
    if (EscapeUnicode.CompareNoCase("yes") == 0 || EscapeUnicode.CompareNoCase("true") == 0)
        mode |= kEscapeNonAscii;
    if (m_pXHTML)
        m_pXHTML->GetSourceCode(Value, mode);
    else
        Value.Empty();
    return true;
}

void CMorvaXEditorCtrl::GetValue1(CSafeBuf& out)
{
    if (m_pXHTML && m_created)
        UpdateValue();
    out = Value;
}

unsigned short* CMorvaXEditorCtrl::GetValue()
{
    CSafeBuf value;
    GetValue1(value);
    return value.CreateNew();
}
