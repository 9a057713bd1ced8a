// The control's value: the document's markup as the page reads it.
//
// Value is not kept in step with every edit; each read brings it up to date
// from the document in the page's output form.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/text/TextUtilsMarkup.h"
#include "editor/XHTML.h"

namespace {

// Output modes of the document's writer.
constexpr int kIndented = 1;
constexpr int kCompact = 2;
constexpr int kEscapeNonAscii = 0x200;
// Cleaning mode of the source view's text.
constexpr int kCleanSource = 0;

} // namespace

bool CMorvaXEditorCtrl::ConvertAndMark(CSafeBuf& text)
{
    RemoveDoctype(text);
    return true;
}

bool CMorvaXEditorCtrl::UpdateValue()
{
    if (m_viewMode == 1 && m_pXHTML) {
        // The source view's text is the document: cleaned when it cleans,
        // and the WYSIWYG document follows it. Text that does not load is
        // the value as typed; the WYSIWYG document is left as it was.
        GetSourceText(Value, false);
        CSafeBuf cleaned(Value);
        ConvertAndMark(cleaned);
        if (m_pXHTML->CleanXHTML(cleaned, kCleanSource))
            Value = cleaned;
        BackupPort();
        const bool loaded = m_pXHTML->LoadDocument(Value);
        RestorePort();
        if (!loaded) {
            GetSourceText(Value, false);
            return true;
        }
    }
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
