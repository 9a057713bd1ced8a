// The control's start in the plug-in window: engine, scroll bars, text
// style, style sheets, toolbars, source view and wheel handler, then the
// first document and the first view.
//
// The first document is the page's Value. Markup that cleans is loaded as
// cleaned. Markup that does not is repaired silently when Options bit 2 is
// set; otherwise the user chooses: Fix (repair it), Edit (show it as given
// in the source view) or Discard (load it as given). A box closed without a
// choice counts as Edit, so the page's markup is never replaced by an empty
// document behind the user's back. When repaired markup still does not
// load, the source view shows the markup as the page gave it.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/app/DebugLog.h"
#include "base/files/BundleResources.h"
#include "base/files/ResourceBuffer.h"
#include "editor/XHTML.h"
#include "platform/text/TextStyle.h"
#include "source_view/ColoringEditor.h"
#include "ui/MsgBox.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Option bits of the page.
constexpr int kOptionRepairSilently = 2;
constexpr int kOptionWordWrap = 8;
constexpr int kOptionNoLineNumbers = 16;
constexpr int kOptionKeepHardSpaces = 0x100;
constexpr int kOptionNoFix = 0x2000;

// Cleaning modes of the document's cleaner.
constexpr int kCleanValue = 8;
constexpr int kCleanRepaired = 9;

// Button kinds of the toolbar.
constexpr int kButtonCut = 20;
constexpr int kButtonCopy = 21;
constexpr int kButtonPaste = 22;
constexpr int kButtonSource = 25;
constexpr int kButtonPreview = 26;
constexpr int kButtonWysiwyg = 27;
constexpr int kButtonScreenReader = 28;
constexpr int kButtonIndent = 39;
// The engine's view-switch commands.
constexpr unsigned kCommandSourceView = 12001;
constexpr unsigned kCommandPreview = 12002;
constexpr unsigned kCommandScreenReader = 12004;

const char kHardSpace[] = "&nbsp;";
const char kHardSpaceMark[] = "[%hardspace%]";

} // namespace

unsigned long CMorvaXEditorCtrl::ContrastingTextColor(unsigned long background)
{
    static const unsigned long kCandidates[]
        = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 153), RGB(153, 0, 0), RGB(255, 153, 51)};
    unsigned long best = kCandidates[0];
    int bestDistance = -1;
    for (unsigned long c : kCandidates) {
        int distance = 0;
        for (int shift = 0; shift < 24; shift += 8)
            distance += std::abs(int((c >> shift) & 0xFF) - int((background >> shift) & 0xFF));
        if (distance > bestDistance) {
            bestDistance = distance;
            best = c;
        }
    }
    return best;
}

int CMorvaXEditorCtrl::OnCreate(NPWindow* window)
{
    LoadSystemFontInfo();
    if (Debug) {
        char text[16];
        std::snprintf(text, sizeof text, "[%08X]", unsigned(reinterpret_cast<std::uintptr_t>(this)));
        WriteLogFile("OnCreate", text, -1);
    }
    m_pPluginWindow = window;
    if (!m_pXHTML) {
        m_pXHTML = new CXHTML();
        AttachEngine();
    }
    m_pXHTML->m_doc.m_versionText = FileVersion;
    m_pXHTML->m_imageLibraryURL = ImageLibraryURL;           // where pasted local pictures are uploaded
    m_pXHTML->m_attachmentLibraryURL = AttachmentLibraryURL; // where dropped and pasted files go
    m_engineReady = 1;
    if (window)
        m_toolbarSet.SetWindow(*window);
    CreateScrollBars();

    // The control's own text: Arial 13, in the candidate colour that stands
    // out most from the background; the toolbar set writes in the same font.
    const long arial = GetFontIDOrCharset("Arial");
    m_textStyle->SetFontId(arial);
    m_textStyle->SetSize(13);
    m_textStyle->SetBold(false);
    m_textStyle->SetItalic(false);
    m_textStyle->SetUnderline(false);
    m_textColor = ContrastingTextColor(m_backgroundColor);
    m_textStyle->SetColor(static_cast<std::uint8_t>(m_textColor & 0xFF),
        static_cast<std::uint8_t>((m_textColor >> 8) & 0xFF),
        static_cast<std::uint8_t>((m_textColor >> 16) & 0xFF));
    m_toolbarSet.SetFont(static_cast<unsigned>(arial));

    CSafeBuf path;
    GetResourcePath(path, nullptr);
    if (!path.IsEmpty()) {
        GetResourcePath(path, "about.gif");
        m_aboutImage.LoadPictureFile(path);
    }

    m_defaultCSS = 0;
    if (CSS.IsEmpty() && SaveResourceToBuffer("default.css", &CSS))
        m_defaultCSS = 1;

    LoadIcons();
    LoadPlaceHolders();
    LoadAllButtonInfo();
    PrepareToolBar();
    CheckButtons(0);

    // The source view, on the same window; it draws with the engine's
    // document view state through its engine pointer.
    m_sourceView = std::make_unique<CColoringEditor>(window);
    m_coloringEditor = m_sourceView.get();
    m_coloringEditor->m_control = this;
    m_coloringEditor->m_engine = m_pXHTML;
    const CSafeBuf courier("Courier");
    m_coloringEditor->ChangeFont(13, 0, courier);

    InstallWheelHandler();

    m_coloringEditor->EnableLineNumber((Options & kOptionNoLineNumbers) == 0);
    if (Options & kOptionWordWrap)
        m_wordWrap = 1;
    m_coloringEditor->SetWrapMode(m_wordWrap != 0);
    SetSourceText(Value);

    // Every part exists now: place them with the toolbar's real height.
    SetWindow(window);
    m_pXHTML->Init();

    CXDoc& doc = m_pXHTML->m_doc;
    doc.LoadStyleClass(CSS, 2, true, 0);
    doc.LoadStyleClass(EditorCSS, 2, true, 1);
    doc.CopyStyles(doc.m_workingRules, doc.m_savedRules, false);
    doc.m_baseURL = Base;
    doc.m_generatorName = &ProductName;

    const bool sourceForced = LoadInitialDocument();
    // The first view is a switch of a created control: the source view
    // builds its own toolbar.
    m_created = 1;
    StartInitialView(sourceForced);
    return 0;
}

void CMorvaXEditorCtrl::TidyValue(CSafeBuf& markup)
{
    const bool keepHardSpaces = (Options & kOptionKeepHardSpaces) != 0;
    if (keepHardSpaces)
        markup.Replace(kHardSpace, kHardSpaceMark);
    CXHTML::ValidateXML(markup, nullptr, false, true);
    if (keepHardSpaces)
        markup.Replace(kHardSpaceMark, kHardSpace);
}

void CMorvaXEditorCtrl::RepairMarkup(CSafeBuf& markup)
{
    TidyValue(markup);
    m_pXHTML->CleanXHTML(markup, kCleanRepaired);
}

int CMorvaXEditorCtrl::AskAboutInvalidValue()
{
    CMsgBox box;
    box.SetCaption(m_langString.GetItem("message-box/title-failure", "Failure"));
    box.SetText(m_langString.GetItem("message-box/clean-code", "Contain errors"));
    box.SetOKLabel(m_langString.GetItem("message-box/fix", "Fix"));
    box.SetFirstLabel(m_langString.GetItem("message-box/edit", "Edit"));
    box.SetSecondLabel(m_langString.GetItem("message-box/discard", "Discard"));
    if (Options & kOptionNoFix) {
        box.EnableOKButton(false);
        box.SetDefaultButton(kMsgResultFirst);
    }
    return box.DoModal();
}

bool CMorvaXEditorCtrl::LoadInitialDocument()
{
    const CSafeBuf untouched(Value);
    CSafeBuf working(Value);
    bool sourceForced = false;
    bool repairTried = false;
    if (m_pXHTML->CleanXHTML(working, kCleanValue)) {
        Value = working;
    } else if (Options & kOptionRepairSilently) {
        RepairMarkup(Value);
        repairTried = true;
    } else {
        switch (AskAboutInvalidValue()) {
        case kMsgResultOK:
            RepairMarkup(Value);
            repairTried = true;
            break;
        case kMsgResultSecond: // Discard: loaded as given
            break;
        default: // Edit, or closed without a choice
            SetSourceText(Value);
            sourceForced = true;
            break;
        }
    }

    BackupPort();
    const bool loaded = m_pXHTML->LoadDocument(Value);
    RestorePort();
    if (!loaded && ((Options & kOptionRepairSilently) || repairTried)) {
        if (!(Options & kOptionRepairSilently))
            ShowRepairFailed();
        // The source view shows the markup as given, and Value is it.
        Value = untouched;
        CSafeBuf given(untouched);
        SetSourceText(given);
        sourceForced = true;
    }
    BackupPort();
    m_pXHTML->m_doc.Redraw();
    RestorePort();
    return sourceForced;
}

void CMorvaXEditorCtrl::StartInitialView(bool sourceForced)
{
    CSafeBuf mode(Mode);
    mode.Trim();
    mode.MakeLower();
    if (sourceForced || mode == "source") {
        SwitchMainButton(kButtonSource);
        if (sourceForced) {
            ToolEnable(false);
            ToolEnableButton(kButtonPaste, 0, true, true);
            ToolEnableButton(kButtonCopy, 0, true, true);
            ToolEnableButton(kButtonCut, 0, true, true);
            m_viewMode = 1;
        } else {
            m_pXHTML->PostMessage(1, kCommandSourceView, 0);
        }
    } else if (mode == "preview") {
        SwitchMainButton(kButtonPreview);
        m_pXHTML->PostMessage(1, kCommandPreview, 0);
    } else if (mode == "screen-reader") {
        SwitchMainButton(kButtonScreenReader);
        m_pXHTML->PostMessage(1, kCommandScreenReader, 0);
    } else {
        SwitchMainButton(kButtonWysiwyg);
        ToolEnableButton(kButtonIndent, 0, false, true);
    }
}
