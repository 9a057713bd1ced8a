// The page replaces the document (SetValue), reads it with markers
// (GetEditorValue) and has markup repaired without touching the document
// (Fix).
//
// A value that does not load is never dropped silently: it is repaired, or
// shown as given in the source view, or the user chooses to keep the
// document as it was.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/app/MessageBox.h"
#include "base/app/MessageDialog.h"
#include "editor/XHTML.h"

#include <memory>

namespace {

// Option bits of the page.
constexpr int kOptionRepairSilently = 2;

// Cleaning modes of the document's cleaner.
constexpr int kCleanValue = 8;
constexpr int kCleanRepaired = 9;

// Output modes of the document's writer.
constexpr int kIndented = 1;
constexpr int kChangeMode = 6;

constexpr int kButtonSource = 25;

} // namespace

void CMorvaXEditorCtrl::ShowRepairFailed()
{
    const CSafeBuf title = m_langString.GetItem("message-box/title-operation-failed", "Failure");
    const CSafeBuf text = m_langString.GetItem("message-box/correct-manually", "Attemp to fix errors.");
    MessageBox(text, title, kMessageBoxOK);
}

void CMorvaXEditorCtrl::SetValue(const unsigned short* text)
{
    Value = text;
    if (!m_pXHTML)
        return;
    const CSafeBuf incoming(Value);
    auto load = [this](const CSafeBuf& markup) {
        BackupPort();
        const bool loaded = m_pXHTML->LoadDocument(markup);
        RestorePort();
        return loaded;
    };
    // Shows the value as the page gave it in the source view.
    auto showAsGiven = [this, &incoming] {
        SwitchMainButton(kButtonSource);
        OnSource();
        CSafeBuf given(incoming);
        SetSourceText(given);
    };

    const bool ready = IsXHTMLValid();
    bool toSource = false;
    if (!ready) {
        // OnCreate loads Value again and asks about markup that does not
        // clean, so Value keeps the page's text when it does not clean.
        CSafeBuf cleaned(Value);
        if (m_pXHTML->CleanXHTML(cleaned, kCleanRepaired))
            Value = cleaned;
        load(Value);
    } else {
        CSafeBuf copy(Value);
        ConvertAndMark(Value);
        if (m_pXHTML->CleanXHTML(Value, kCleanValue))
            copy = Value;
        else
            Value = incoming;
        if (!load(Value)) {
            int answer = kMsgResultOK;
            if (!(Options & kOptionRepairSilently))
                answer = AskAboutInvalidValue();
            if (answer == kMsgResultOK) {
                RepairMarkup(copy);
                Value = copy;
                if (!load(Value)) {
                    if (!(Options & kOptionRepairSilently))
                        ShowRepairFailed();
                    // The source view shows the markup as given: Value is
                    // that text, not a repair that did not load.
                    Value = incoming;
                    toSource = true;
                }
            } else if (answer == kMsgResultFirst) {
                toSource = true;
            } else if (answer != kMsgResultSecond) {
                Value.Empty(); // closed without an answer
            }
        }
        BackupPort();
        m_pXHTML->m_doc.Redraw();
        RestorePort();
        DrawFrameAndBars();
        if (toSource)
            showAsGiven();
    }

    if (!toSource) {
        CSafeBuf markup;
        m_pXHTML->GetSourceCode(markup, kIndented);
        SetSourceText(markup);
        if (m_viewMode == 2)
            OnPreview();
        else if (m_viewMode == 3)
            OnBlind();
    }
    if (ready) {
        // The page knows this markup: only an edit that changes it is news.
        m_pXHTML->m_valueReplaced = 1;
        m_pXHTML->m_doc.GetSourceCode(m_pXHTML->m_lastReportedMarkup, kChangeMode, false);
        m_pXHTML->m_doc.CleanUnRedo();
    }
}

void CMorvaXEditorCtrl::GetEditorValue(CSafeBuf& out, int markers)
{
    if (!markers) {
        UpdateValue();
        out = Value;
    } else if (m_viewMode == 1) {
        GetSourceText(out, true);
    } else if (m_pXHTML) {
        m_pXHTML->GetSourceCode(out, kIndented);
    } else {
        out.Empty();
    }
}

void CMorvaXEditorCtrl::Fix(const unsigned short* text, CSafeBuf& out)
{
    out = text;
    CXHTML* engine = m_pXHTML;
    std::unique_ptr<CXHTML> temporary;
    if (!engine) {
        temporary = std::make_unique<CXHTML>();
        temporary->m_doc.m_versionText = FileVersion;
        engine = temporary.get();
    }
    CXHTML::ValidateXML(out, nullptr, false, true);
    engine->CleanXHTML(out, kCleanRepaired);
    if (!ValidateXMLValue(out, false))
        out.Empty();
}

unsigned short* CMorvaXEditorCtrl::Fix(const unsigned short* text)
{
    CSafeBuf out;
    Fix(text, out);
    return out.CreateNew();
}

void CMorvaXEditorCtrl::ValidateTag(CSafeBuf& name)
{
    name.Trim();
    for (const unsigned short lead : {u'<', u'*', u'.'}) {
        if (name.GetAt(0) == lead && name.Length() > 0)
            name.Delete(0);
    }
    if (name.Length() > 0 && name.GetAt(name.Length() - 1) == u'>')
        name.Delete(name.Length() - 1);
}
