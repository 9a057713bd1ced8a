// The two renderings of the document, the preview and the screen-reader
// view, and their style sheets.
//
// A rendering is the document written as a whole page, transformed by its
// XSLT style sheet (base/xml's TransformXML, whose read policy keeps a
// page-supplied sheet away from local files and the network: document(),
// imports and external entities reach nothing outside the resources folder
// and the sheet itself), written to a new file of the temporary folder and
// shown in a modal preview window. A transform that fails or gives nothing
// shows the page untransformed.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/collections/MapStringToString.h"
#include "base/files/FileUtilsLoad.h"
#include "base/files/ResourceBuffer.h"
#include "base/files/UserFolders.h"
#include "base/shims/TimeShims.h"
#include "base/text/Utf.h"
#include "base/xml/XmlTransform.h"
#include "editor/XHTML.h"
#include "source_view/ColoringEditor.h"
#include "ui/MacPreview.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>

namespace {

// Output mode of the renderings: the whole page.
constexpr int kRenderingOutput = 17474;
constexpr int kButtonSource = 25;
constexpr int kButtonPreview = 26;
constexpr int kButtonWysiwyg = 27;
constexpr int kButtonScreenReader = 28;

const char kSheetEnd[] = "</xsl:stylesheet>";
const char kCannotLoad[] = "Can not load XSLT document ";
const char kNamespaces[]
    = "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" xmlns:xhtml11=\"http://www.w3.org/1999/xhtml\"";

// Identifier parameters of the preview, by the header record's field.
struct IdentifierParam
{
    const char* name;
    const unsigned short* (*field)(const ADDITIONAL_HTTP_HEADERS&);
};

#define QM_FIELD(f) [](const ADDITIONAL_HTTP_HEADERS& h) -> const unsigned short* { return h.f; }
const IdentifierParam kIdentifierParams[] = {
    {"document-id", QM_FIELD(DocumentID)},
    {"user-id", QM_FIELD(UserID)},
    {"session-id", QM_FIELD(SessionID)},
    {"transaction-id", QM_FIELD(TransactionID)},
    {"client-id", QM_FIELD(ClientID)},
    {"instance-id", QM_FIELD(InstanceID)},
    {"tag-id", QM_FIELD(TagID)},
    {"zone-id", QM_FIELD(ZoneID)},
    {"project-id", QM_FIELD(ProjectID)},
    {"area-id", QM_FIELD(AreaID)},
    {"group-id", QM_FIELD(GroupID)},
    {"parent-id", QM_FIELD(ParentID)},
    {"container-id", QM_FIELD(ContainerID)},
    {"object-id", QM_FIELD(ObjectID)},
};
#undef QM_FIELD

// Transforms page with sheet; a non-empty result replaces it.
void Transform(CSafeBuf& page, const CSafeBuf& sheet, CMapStringToString& params)
{
    if (sheet.IsEmpty())
        return;
    CSafeBuf result(page);
    if (!TransformXML(result, sheet, nullptr, &params, kNamespaces))
        return;
    // The result comes as UTF-8, one byte a unit.
    CSafeBuf decoded;
    decoded.AssignUTF8(static_cast<const unsigned short*>(result));
    if (!decoded.IsEmpty())
        page = decoded;
}

int RandomBelow1000()
{
    static std::mt19937 generator{std::random_device{}()};
    return static_cast<int>(std::uniform_int_distribution<int>(0, 999)(generator));
}

// Creates a file that did not exist (mode 0600) and writes bytes to it;
// false when the name is taken or the file cannot be written.
bool WriteNewFile(const std::string& path, const std::string& bytes, bool& taken)
{
    taken = false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        taken = errno == EEXIST;
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    const bool closed = ::close(fd) == 0;
    if (done != bytes.size() || !closed) {
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

} // namespace

void CMorvaXEditorCtrl::OnPreview()
{
    if (!m_pXHTML || SwitchFromSource(false) == 1)
        return;
    UpdateToolBar(2);
    m_pXHTML->SwitchingView();
    if (m_coloringEditor)
        m_coloringEditor->SwitchingView();
    CSafeBuf page;
    m_pXHTML->GetSourceCode(page, kRenderingOutput);
    if (!m_previewXSLTText.IsEmpty()) {
        CMapStringToString params;
        params.SetAt("lang", Lang);
        params.SetAt("dir", CSafeBuf(Dir.CompareNoCase("rtl") == 0 ? "rtl" : "ltr"));
        CSafeBuf css;
        m_pXHTML->m_doc.StyleXML2HTML(css);
        params.SetAt("css", css);
        params.SetAt("base", m_pXHTML->m_doc.m_baseURL);
        for (const IdentifierParam& p : kIdentifierParams) {
            const unsigned short* value = p.field(m_headers);
            if (value && value[0])
                params.SetAt(p.name, CSafeBuf(value));
        }
        Transform(page, m_previewXSLTText, params);
    }
    GoFireModeChange(m_viewMode, 2);
    DisplayPreview(page, kButtonPreview);
    m_pXHTML->ForceHaveFocus();
    UpdateWindow();
}

void CMorvaXEditorCtrl::OnBlind()
{
    if (!m_pXHTML || SwitchFromSource(false) == 1)
        return;
    UpdateToolBar(3);
    m_pXHTML->SwitchingView();
    if (m_coloringEditor)
        m_coloringEditor->SwitchingView();
    CSafeBuf page;
    m_pXHTML->GetSourceCode(page, kRenderingOutput);
    if (m_screenReaderXSLTFailed) {
        page = m_screenReaderXSLTText;
    } else {
        CMapStringToString params;
        params.SetAt("lang", Lang);
        Transform(page, m_screenReaderXSLTText, params);
    }
    GoFireModeChange(m_viewMode, 3);
    DisplayPreview(page, kButtonScreenReader);
    UpdateWindow();
}

void CMorvaXEditorCtrl::DisplayPreview(CSafeBuf& html, int kind)
{
    m_lastPreviewFile.Empty();
    const std::string folder = ToUTF8String(GetUserTempFolder());
    if (!folder.empty()) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        const unsigned engineId = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(m_pXHTML));
        // The byte order mark and the page's units, little-endian.
        std::string bytes;
        bytes.reserve(2 * (static_cast<std::size_t>(html.Length()) + 1));
        auto put = [&bytes](unsigned short unit) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        };
        put(0xFEFF);
        for (int i = 0; i < html.Length(); ++i)
            put(html.GetAt(i));
        // A taken name is never written over: another random part is tried.
        for (int attempt = 0; attempt < 20; ++attempt) {
            char name[96];
            std::snprintf(name, sizeof name, "/Ie%08X%04d%02d%02d%02d%02d%02d%d%lu.html", engineId,
                int(now.wYear), int(now.wMonth), int(now.wDay), int(now.wHour), int(now.wMinute),
                int(now.wSecond), RandomBelow1000(), GetCurrentThreadId());
            const std::string path = folder + name;
            bool taken = false;
            if (WriteNewFile(path, bytes, taken)) {
                m_lastPreviewFile.AssignUTF8(path.c_str());
                break;
            }
            if (!taken)
                break;
        }
    }

    CMacPreview preview;
    const int width = m_pPluginWindow && m_pPluginWindow->width ? int(m_pPluginWindow->width) : 640;
    const int height = m_pPluginWindow && m_pPluginWindow->height ? int(m_pPluginWindow->height) : 480;
    preview.OnSize(0, width, height);
    if (!m_lastPreviewFile.IsEmpty()) {
        CSafeBuf url("file://");
        url += m_lastPreviewFile;
        preview.LoadURL(url);
    }
    preview.SetSkipEventVariable(&m_dialogOpen);
    void* pos = m_toolBars.GetHeadPosition();
    bool titled = false;
    while (pos && !titled) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if (bar->barKind != 0)
            continue;
        for (ButtonInfo* b = bar->buttons; b; b = b->next) {
            if (b->kind != kind)
                continue;
            const unsigned short* text = b->label[0] ? b->label : b->tooltip;
            if (text[0])
                preview.SetWindowText(text);
            titled = true;
            break;
        }
    }
    preview.DoModal();
    if (m_viewMode == 0)
        SwitchMainButton(kButtonWysiwyg);
    else if (m_viewMode == 1)
        SwitchMainButton(kButtonSource);
}

// ---- the style sheets ----

void CMorvaXEditorCtrl::LoadDefaultXSLT()
{
    SaveResourceToBuffer("screenreader.xsl", &m_screenReaderXSLTText);
    m_screenReaderXSLTFailed = 0;
    m_screenReaderXSLTReadable = 0;
}

void CMorvaXEditorCtrl::LoadDefaultPreviewXSLT()
{
    SaveResourceToBuffer("preview.xsl", &m_previewXSLTText);
    m_previewXSLTReadable = 0;
}

namespace {

// Loads the sheet a setting gives into text; readable says whether page
// script may read a named sheet back. False with the failure text in text.
bool LoadSheet(CMorvaXEditorCtrl& control, const unsigned short* given, const CSafeBuf& setting,
    CSafeBuf& text, unsigned char& readable)
{
    text.Empty();
    readable = 0;
    if (CSafeBuf(given).Find(kSheetEnd) >= 0) {
        text = setting;
        return true;
    }
    std::string answered;
    if (control.LoadNamedDocument(setting, text, &answered, true)) {
        readable = control.IsPageOrigin(ToUTF8String(setting)) && control.IsPageOrigin(answered) ? 1 : 0;
        return true;
    }
    text = kCannotLoad;
    text += setting;
    return false;
}

// The setting trimmed with its path macros expanded.
void TakeSetting(const CMorvaXEditorCtrl& control, CSafeBuf& setting, const unsigned short* text)
{
    setting = text;
    setting.Trim();
    control.ReplaceSystemDrive(setting);
}

// The built-in or inline sheet is read back as it is in use; a named one
// only when it came from the page's origin, else the setting's text.
void ReadBackSheet(const CSafeBuf& setting, const CSafeBuf& text, bool readable, CSafeBuf& out)
{
    const bool inUse = setting.IsEmpty() || setting.Find(kSheetEnd) >= 0 || readable;
    out = inUse ? text : setting;
}

} // namespace

void CMorvaXEditorCtrl::SetScreenReaderXSLT(const unsigned short* text)
{
    TakeSetting(*this, ScreenReaderXSLT, text);
    if (ScreenReaderXSLT.IsEmpty()) {
        LoadDefaultXSLT();
        return;
    }
    const bool loaded
        = LoadSheet(*this, text, ScreenReaderXSLT, m_screenReaderXSLTText, m_screenReaderXSLTReadable);
    m_screenReaderXSLTFailed = loaded ? 0 : 1;
}

void CMorvaXEditorCtrl::SetPreviewXSLT(const unsigned short* text)
{
    TakeSetting(*this, PreviewXSLT, text);
    if (PreviewXSLT.IsEmpty()) {
        LoadDefaultPreviewXSLT();
        return;
    }
    LoadSheet(*this, text, PreviewXSLT, m_previewXSLTText, m_previewXSLTReadable);
}

void CMorvaXEditorCtrl::GetScreenReaderXSLT(CSafeBuf& out)
{
    ReadBackSheet(ScreenReaderXSLT, m_screenReaderXSLTText, m_screenReaderXSLTReadable != 0, out);
}

void CMorvaXEditorCtrl::GetPreviewXSLT(CSafeBuf& out)
{
    ReadBackSheet(PreviewXSLT, m_previewXSLTText, m_previewXSLTReadable != 0, out);
}

unsigned short* CMorvaXEditorCtrl::GetScreenReaderXSLT()
{
    CSafeBuf out;
    GetScreenReaderXSLT(out);
    return out.CreateNew();
}

unsigned short* CMorvaXEditorCtrl::GetPreviewXSLT()
{
    CSafeBuf out;
    GetPreviewXSLT(out);
    return out.CreateNew();
}
