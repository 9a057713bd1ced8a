// The settings that name documents (interface texts, the page's style
// sheet, the style drop-list, the toolbar buttons, the two XSLT style
// sheets), what page script may read back of them, and the language and
// update reminder that go with the interface texts.
//
// Reading back: a setting that holds its document inline reads back as it
// is. A setting that names a document reads back as that document's content
// only when the page could have read it itself: an http or https address of
// the page's own origin (scheme, host and port of window.location.href read
// at start-up) whose answer also came from that origin after any redirect.
// Anything else - another origin, a redirect that left the origin, a local
// path or "file:" address, no page address - reads back as the setting's
// own text, so the control never hands the page a document it could not
// fetch itself.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/app/LangString.h"
#include "base/files/FileUtilsLoad.h"
#include "base/files/ResourceBuffer.h"
#include "base/shims/FileShims.h"
#include "base/text/Ascii.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "net/LoadHTTPFile.h"
#include "platform/net/HttpRedirect.h"
#include "ui/ShowMsg.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr int kLanguageHeaderUnits = 20;
const char* const kContentType = "application/soap+xml";

bool IsWebAddress(const CSafeBuf& text)
{
    const std::string s = ToUTF8String(text);
    return StartsWithNoCase(s, "http:") || StartsWithNoCase(s, "https:");
}

// A language code the bundle may hold texts for: letters, digits, "-" and
// "_" only, so that a page's Lang never names a file outside the resources.
bool IsPlainLanguageCode(const CSafeBuf& lang)
{
    if (lang.IsEmpty() || lang.Length() > 20)
        return false;
    for (int i = 0; i < lang.Length(); ++i) {
        const unsigned short c = lang.GetAt(i);
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
            || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

// ---- the language ----

void CMorvaXEditorCtrl::SetLanguage(const unsigned short* text)
{
    if (!text || !*text)
        return;
    Lang = text;
    Lang.Trim();
    if (Lang.IsEmpty())
        Lang = "en";
    SetHeaderField(m_headers.Language, kLanguageHeaderUnits + 1, Lang);
    if (!m_pXHTML)
        return;
    m_pXHTML->m_doc.m_language = Lang;
    LoadInterfaceTexts();
    LanguageChanged();
    // The style drop-list takes the new texts; the toolbar's own rebuild
    // comes with its code.
    UpdateStyleBars();
}

void CMorvaXEditorCtrl::LanguageChanged()
{
    if (!m_pXHTML)
        return;
    m_pXHTML->m_missingPictureText = m_langString.GetItem("text/no-image", "image cannot be displayed");
    m_pXHTML->m_doc.m_language = Lang;
}

// ---- the update reminder ----

long CMorvaXEditorCtrl::VersionWeight(const CSafeBuf& text)
{
    static const long kWeights[4] = {1000000, 10000, 100, 1};
    // A part too large to weigh counts as the largest that can be weighed:
    // still above every real version, and the sum of four cannot overflow.
    constexpr long kLargestPart = LONG_MAX / 4 / 1000000;
    long total = 0;
    int part = 0;
    int start = 0;
    while (part < 4 && start <= text.Length()) {
        int dot = text.Find(static_cast<unsigned short>('.'), start);
        if (dot < 0)
            dot = text.Length();
        const CSafeBuf piece = text.Mid(start, dot - start);
        const long number = U16toi(static_cast<const unsigned short*>(piece));
        total += std::clamp(number, -kLargestPart, kLargestPart) * kWeights[part];
        ++part;
        start = dot + 1;
    }
    return total;
}

void CMorvaXEditorCtrl::CheckLatestVersion()
{
    if (LatestVersion.IsEmpty() || LatestVersion == FileVersion)
        return;
    if (VersionWeight(FileVersion) >= VersionWeight(LatestVersion))
        return;
    const CSafeBuf text = m_langString.GetItem("message-box/new-version", "Please update editor.");
    const CSafeBuf title = m_langString.GetItem("message-box/title-information", "Reminder");
    ShowMsg(title, text);
}

void CMorvaXEditorCtrl::SetLatestVersion(const unsigned short* text)
{
    LatestVersion.Empty();
    if (text)
        LatestVersion = text;
    LatestVersion.Trim();
    CheckLatestVersion();
}

// ---- style sheets and definitions ----

void CMorvaXEditorCtrl::SetCSS(const unsigned short* text)
{
    CSS.Empty();
    if (text)
        CSS = text;
    CSS.Trim();
    ReplaceSystemDrive(CSS);
    if (!m_engineReady || !m_pXHTML)
        return;
    CXDoc& doc = m_pXHTML->m_doc;
    doc.FreeStyleClass(1);
    doc.FreeStyleClass(2);
    doc.LoadStyleClass(CSS, 2, true, 0);
    doc.CopyStyles(doc.m_workingRules, doc.m_savedRules, false);
    // The document's own rules (its head's style elements) follow the new
    // sheet again, as after a load, so that they still win ties.
    doc.LoadOwnSheets();
    RestyleDocument();
}

void CMorvaXEditorCtrl::SetEditorCSS(const unsigned short* text)
{
    EditorCSS.Empty();
    if (text)
        EditorCSS = text;
    if (!m_engineReady || !m_pXHTML)
        return;
    CXDoc& doc = m_pXHTML->m_doc;
    doc.FreeStyleClass(3);
    doc.LoadStyleClass(EditorCSS, 2, true, 1);
    RestyleDocument();
}

void CMorvaXEditorCtrl::RestyleDocument()
{
    CXDoc& doc = m_pXHTML->m_doc;
    doc.RulesChanged();
    if (doc.m_root)
        doc.m_root->StyleChanged(1);
    // Page script writes the sheets outside any event of the browser: the
    // port's origin is then not the editing area's, and the document drawn
    // there would land over the toolbar.
    BackupPort();
    doc.DrawDoc(1);
    doc.Redraw();
    RestorePort();
    DrawFrameAndBars();
}

void CMorvaXEditorCtrl::SetBase(const unsigned short* text)
{
    Base.Empty();
    if (text)
        Base = text;
    Base.Trim();
    if (!Base.IsEmpty() && Base.GetAt(Base.Length() - 1) != '/')
        Base += "/";
    if (!m_pXHTML)
        return;
    m_pXHTML->m_doc.m_baseURL = Base;
    if (!m_engineReady)
        return;
    CSafeBuf markup;
    m_pXHTML->GetSourceCode(markup, 1);
    m_pXHTML->LoadDocument(markup);
}

void CMorvaXEditorCtrl::SetCustomization(const unsigned short* text)
{
    Styles.Empty();
    if (text)
        Styles = text;
    Styles.Trim();
    ReplaceSystemDrive(Styles);
    UpdateStyleBars();
}

// ---- fetching named documents ----

bool CMorvaXEditorCtrl::IsPageOrigin(const std::string& url) const
{
    if (m_pageAddress.IsEmpty())
        return false;
    const std::string page = qm::net::OriginOf(ToUTF8String(m_pageAddress));
    return !page.empty() && page == qm::net::OriginOf(url);
}

bool CMorvaXEditorCtrl::LoadNamedDocument(
    const CSafeBuf& name, CSafeBuf& out, std::string* finalUrl, bool useCache)
{
    out.Empty();
    if (finalUrl)
        finalUrl->clear();
    if (name.IsEmpty())
        return false;
    CSafeBuf location(name), cacheFile, localFile;
    if (useCache && GetCacheFile(location, cacheFile)) {
        if (finalUrl)
            *finalUrl = ToUTF8String(name);
        return LoadFileToBuffer(static_cast<const unsigned short*>(location), &out, true);
    }
    std::string answered;
    const bool fetched
        = LoadHTTPFileFrom(AsHttpOwner(this), location, localFile, cacheFile, kContentType, answered);
    if (finalUrl)
        *finalUrl = answered;
    if (!fetched) {
        if (!cacheFile.IsEmpty())
            DeleteFile(static_cast<const unsigned short*>(cacheFile));
        return false;
    }
    const bool read = LoadFileToBuffer(static_cast<const unsigned short*>(localFile), &out, true);
    // A document fetched only for reading leaves no temporary copy behind.
    if (cacheFile.IsEmpty() && IsWebAddress(name))
        DeleteFile(static_cast<const unsigned short*>(localFile));
    return read;
}

void CMorvaXEditorCtrl::LoadXSLTSetting(const CSafeBuf& setting, CSafeBuf& text, unsigned char* failed)
{
    text.Empty();
    if (setting.Find("</xsl:stylesheet>") >= 0) {
        text = setting;
        return;
    }
    if (LoadNamedDocument(setting, text, nullptr, true))
        return;
    text = "Failed to find XSLT document ";
    text += setting;
    if (failed)
        *failed = 1;
}

namespace {

// The content of a named document when the page may read it, else the
// setting's text; false (out empty) when a document of the page's origin
// could not be read.
bool ReadBack(CMorvaXEditorCtrl& control, const CSafeBuf& setting, CSafeBuf& out)
{
    out.Empty();
    if (!IsWebAddress(setting) || !control.IsPageOrigin(ToUTF8String(setting))) {
        out = setting;
        return true;
    }
    std::string answered;
    CSafeBuf content;
    if (!control.LoadNamedDocument(setting, content, &answered, false))
        return false;
    if (!control.IsPageOrigin(answered)) {
        out = setting;
        return true;
    }
    out = content;
    return true;
}

} // namespace

void CMorvaXEditorCtrl::GetLocalization(CSafeBuf& out)
{
    out.Empty();
    if (Localization.Find("<localization>") >= 0) {
        out = Localization;
        return;
    }
    if (!Localization.IsEmpty()) {
        ReadBack(*this, Localization, out);
        return;
    }
    CSafeBuf code(Lang.IsEmpty() ? CSafeBuf("en") : Lang);
    if (!IsPlainLanguageCode(code))
        return;
    code.MakeUpper();
    CSafeBuf resource("IDR_");
    resource += code;
    SaveResourceToBuffer(static_cast<const unsigned short*>(resource), &out);
}

void CMorvaXEditorCtrl::GetCSS(CSafeBuf& out)
{
    out.Empty();
    if (CSS.Find(static_cast<unsigned short>('{')) >= 0) {
        out = CSS;
        return;
    }
    if (!CSS.IsEmpty())
        ReadBack(*this, CSS, out);
}

void CMorvaXEditorCtrl::GetCustomization(CSafeBuf& out)
{
    out.Empty();
    if (Styles.Find("<styles>") >= 0) {
        out = Styles;
        return;
    }
    if (!Styles.IsEmpty()) {
        ReadBack(*this, Styles, out);
        return;
    }
    SaveResourceToBuffer("styles.xml", &out);
}

void CMorvaXEditorCtrl::GetButtons(CSafeBuf& out)
{
    out.Empty();
    if (Buttons.Find("<buttons>", 0, false) >= 0) {
        out = Buttons;
        return;
    }
    if (!Buttons.IsEmpty()) {
        ReadBack(*this, Buttons, out);
        return;
    }
    SaveResourceToBuffer("buttons.htm", &out);
}
