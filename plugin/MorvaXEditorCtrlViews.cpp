// The control's two editing views and the switches between them: the Mode
// property, the source view entered from the document's markup and left
// through validation, with the user's choice when the text does not clean.
// The markup typed in the source view never reaches the WYSIWYG document
// without that choice (Edit keeps the source view, Fix repairs, Discard
// loads the text as typed), and text that does not load leaves the WYSIWYG
// document as it was before the source view.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/app/MessageDialog.h"
#include "editor/XHTML.h"
#include "source_view/ColoringEditor.h"
#include "ui/MsgBox.h"

namespace {

constexpr int kOptionNoFix = 0x2000;

// Output mode of the source view: indented, with the caret and selection markers.
constexpr int kSourceOutput = 32769;
// Cleaning modes: the source text on leaving the view, and a repaired text.
constexpr int kCleanSource = 12;
constexpr int kCleanRepaired = 9;

constexpr int kButtonCut = 20;
constexpr int kButtonCopy = 21;
constexpr int kButtonPaste = 22;
constexpr int kButtonUndo = 23;
constexpr int kButtonSource = 25;
constexpr int kButtonPreview = 26;
constexpr int kButtonScreenReader = 28;
constexpr int kButtonFindReplace = 34;

const char* const kViewNames[] = {"wysiwyg", "source", "preview", "screen-reader"};

} // namespace

void CMorvaXEditorCtrl::SetMode(const unsigned short* text)
{
    Mode = text;
    Mode.Trim();
    Mode.MakeLower();
    if (!m_pXHTML || !m_created)
        return;
    if (Mode == "wysiwyg") {
        if (m_viewMode != 0) {
            // The button of the view that stands is checked: the switch may
            // have been refused (the source view stays), or a page function
            // called by it may have asked for another view.
            OnXHtml();
            SwitchMainButton(-1);
        }
    } else if (Mode == "source") {
        if (m_viewMode != 1) {
            SwitchMainButton(kButtonSource);
            OnSource();
        }
    } else if (Mode == "preview") {
        if (m_viewMode != 2) {
            SwitchMainButton(kButtonPreview);
            OnPreview();
        }
    } else if (Mode == "screen-reader") {
        if (m_viewMode != 3) {
            OnBlind();
            SwitchMainButton(kButtonScreenReader);
        }
    }
}

void CMorvaXEditorCtrl::GetMode(CSafeBuf& out)
{
    out.Empty();
    if (m_viewMode >= 0 && m_viewMode < 4)
        out = kViewNames[m_viewMode];
}

unsigned short* CMorvaXEditorCtrl::GetMode()
{
    CSafeBuf name;
    GetMode(name);
    return name.CreateNew();
}

void CMorvaXEditorCtrl::OnSource()
{
    if (!m_pXHTML)
        return;
    CSafeBuf markup;
    m_pXHTML->GetSourceCode(markup, kSourceOutput);
    UpdateToolBar(1);
    m_pXHTML->SwitchingView();
    if (m_coloringEditor)
        m_coloringEditor->SwitchingView();
    SetSourceText(markup);
    if (m_coloringEditor)
        m_coloringEditor->InitUndo();
    const int oldMode = m_viewMode;
    m_viewMode = 1;
    ToolEnableButton(kButtonUndo, 0, false, true);
    for (int kind : {kButtonPaste, kButtonCopy, kButtonCut, kButtonFindReplace})
        ToolEnableButton(kind, 0, true, true);
    // The page hears of the switch once the source view is in place: what its
    // function reads, inserts or asks for goes to the view it was told of.
    GoFireModeChange(oldMode, 1);
    UpdateWindow();
}

void CMorvaXEditorCtrl::OnXHtml()
{
    if (!m_pXHTML || SwitchFromSource(true) == 1)
        return;
    UpdateToolBar(0);
    CXDoc& doc = m_pXHTML->m_doc;
    BackupPort();
    doc.UpdateKeyCursor();
    doc.AdjCursorPos();
    RestorePort();
    ToolEnableButton(kButtonUndo, 0, false, true);
    m_pXHTML->SwitchingView();
    if (m_coloringEditor)
        m_coloringEditor->SwitchingView();
    // The document already holds the source text: a page function that reads
    // the value, or asks for this view, must not load the source text again
    // (that would lose the caret) nor switch a second time.
    const int oldMode = m_viewMode;
    m_viewMode = 0;
    GoFireModeChange(oldMode, 0);
    UpdateWindow();
}

namespace {

// The question asked when the source text does not clean: 2 Fix, 1 Edit,
// 3 Discard, 0 closed. Edit is the default; noFix disables Fix.
int AskAboutSourceErrors(CLangString& texts, bool noFix)
{
    CMsgBox box;
    box.SetCaption(texts.GetItem("message-box/title-failure", "Failure"));
    box.SetText(texts.GetItem("message-box/code-error", "Contain errors"));
    box.SetOKLabel(texts.GetItem("message-box/fix", "Fix"));
    box.SetFirstLabel(texts.GetItem("message-box/edit", "Edit"));
    box.SetSecondLabel(texts.GetItem("message-box/discard", "Discard"));
    box.SetDefaultButton(kMsgResultFirst);
    if (noFix)
        box.EnableOKButton(false);
    return box.DoModal();
}

// The question asked when the repair failed: 2 Discard, 1 Edit, 0 closed.
int AskAfterFailedRepair(CLangString& texts)
{
    CMsgBox box;
    box.SetCaption(texts.GetItem("message-box/title-failure", "Failure"));
    box.SetText(texts.GetItem("message-box/cannot-fix", "cannot fix errors"));
    box.SetOKLabel(texts.GetItem("message-box/discard", "Discard"));
    box.SetFirstLabel(texts.GetItem("message-box/edit", "Edit"));
    box.SetDefaultButton(kMsgResultFirst);
    return box.DoModal();
}

} // namespace

int CMorvaXEditorCtrl::SwitchFromSource(bool markers)
{
    if (m_viewMode != 1 || !m_pXHTML)
        return 0;
    GetSourceText(Value, markers);
    CSafeBuf working(Value);
    ConvertAndMark(working);
    if (m_pXHTML->CleanXHTML(working, kCleanSource)) {
        Value = working;
    } else {
        const int answer = AskAboutSourceErrors(m_langString, (Options & kOptionNoFix) != 0);
        if (answer == kMsgResultOK) {
            working = Value;
            TidyValue(working);
            if (m_pXHTML->CleanXHTML(working, kCleanRepaired)) {
                Value = working;
            } else if (AskAfterFailedRepair(m_langString) != kMsgResultOK) {
                SwitchMainButton(kButtonSource);
                return 1;
            }
        } else if (answer != kMsgResultSecond) {
            // Edit, or the box closed without a choice: the source view stays.
            SwitchMainButton(kButtonSource);
            return 1;
        }
    }
    BackupPort();
    m_pXHTML->LoadDocument(Value);
    RestorePort();
    m_pXHTML->RefreshBar();
    return 0;
}
