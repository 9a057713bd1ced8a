// The page's tag parameters: DoPropExchange reads the 86 names in their
// fixed order (an absent one reads as empty text), converts each by its
// rule (plugin/ParamRules.h) and then does the work that depends on several
// of them.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/app/PropExchange.h"
#include "editor/XHTML.h"
#include "plugin/ParamRules.h"
#include "style/values/CssColour.h"

namespace {

// The Accept-Language field takes the language's first 20 characters.
constexpr std::size_t kLanguageHeaderUnits = 20;

void Trim(CSafeBuf& text) { text.Trim(); }

void DefaultIfEmpty(CSafeBuf& text, const char* fallback)
{
    if (text.IsEmpty())
        text = fallback;
}

// One trailing "/" or "\" goes.
void DropOneTrailingSlash(CSafeBuf& text)
{
    const int n = text.Length();
    if (n > 0 && (text.GetAt(n - 1) == '/' || text.GetAt(n - 1) == '\\'))
        text.CutAt(n - 1);
}

} // namespace

void CMorvaXEditorCtrl::DoPropExchange(CPropExchange* pPX)
{
    CSafeBuf v; // the value of a parameter read into no field of its own

    // 1 - 7
    PX_String(pPX, "Lang", Lang);
    PX_String(pPX, "Localization", Localization);
    ReplaceSystemDrive(Localization);
    Localization.Trim();
    PX_String(pPX, "Rel", Rel);
    LoadRel(Rel, true);
    PX_String(pPX, "Rev", Rev);
    LoadRel(Rev, false);
    PX_String(pPX, "id", id);
    PX_String(pPX, "SubdocumentURL", SubdocumentURL);
    PX_String(pPX, "EditorCSS", EditorCSS);

    // 8 - 11: cache, proxy mode, heartbeat
    PX_String(pPX, "EnableCache", v);
    ApplySwitchRule(1, v, EnableCache);
    PX_String(pPX, "ProxySetting", v);
    Trim(v);
    if (!v.IsEmpty()) {
        if (v.CompareNoCase("Direct") == 0)
            ProxySetting = 0;
        else if (v.CompareNoCase("Manual") == 0)
            ProxySetting = 2;
        else
            ProxySetting = 1;
    }
    if (ProxySetting == 0)
        m_useProxy = false;
    PX_String(pPX, "HeartbeatInterval", v);
    Trim(v);
    if (!v.IsEmpty())
        HeartbeatInterval = ReadDecimal(v);
    PX_String(pPX, "HeartbeatURL", HeartbeatURL);
    HeartbeatURL.Trim();

    // 12 - 22: expanded view and toolbar look
    PX_String(pPX, "CMSDirectoryURL", CMSDirectoryURL);
    PX_String(pPX, "ExpandWidth", ExpandWidth);
    PX_String(pPX, "ExpandHeight", ExpandHeight);
    PX_String(pPX, "ExpandToolbarWysiwyg", ExpandToolbarWysiwyg);
    PX_String(pPX, "ExpandToolbarSource", ExpandToolbarSource);
    PX_String(pPX, "ExpandToolbarPreview", ExpandToolbarPreview);
    PX_String(pPX, "ExpandToolbarScreenReader", ExpandToolbarScreenReader);
    PX_String(pPX, "ToolbarEffect", ToolbarEffect);
    m_toolbarSet.SetToolbarEffect(ToolbarEffect);
    PX_String(pPX, "ExpandShowToolbar", v);
    ApplySwitchRule(1, v, ExpandShowToolbar);
    PX_String(pPX, "ExpandShowStyles", v);
    ApplySwitchRule(1, v, ExpandShowStyles);
    PX_String(pPX, "AutoHideToolbar", v);
    ApplySwitchRule(1, v, AutoHideToolbar);

    // 23 - 26: the page's own element names, direction
    PX_String(pPX, "CustomInlineElements", v);
    SetCustomInlineElements(v);
    PX_String(pPX, "CustomBlockElements", v);
    SetCustomBlockElements(v);
    PX_String(pPX, "CustomEmptyElements", v);
    SetCustomEmptyElements(v);
    PX_String(pPX, "Dir", Dir);
    Dir.Trim();
    DefaultIfEmpty(Dir, "ltr");

    // 27 - 30: proxy
    PX_String(pPX, "ProxyServer", ProxyServer);
    ProxyServer.Trim();
    PX_String(pPX, "ProxyPort", v);
    ProxyPort = ReadDecimal(v);
    if (ProxyPort <= 0 || ProxyPort > 65535)
        ProxyPort = 80;
    PX_String(pPX, "ProxyUser", ProxyUser);
    ProxyUser.Trim();
    PX_String(pPX, "ProxyPassword", ProxyPassword);
    ProxyPassword.Trim();

    // 31 - 40: the document and its settings
    PX_String(pPX, "Value", Value);
    PX_String(pPX, "Data", v);
    if (Value.IsEmpty())
        Value = v;
    PX_String(pPX, "CSS", CSS);
    ReplaceSystemDrive(CSS);
    PX_String(pPX, "IndentOutput", IndentOutput);
    PX_String(pPX, "ImageLibraryURL", ImageLibraryURL);
    PX_String(pPX, "AttachmentLibraryURL", AttachmentLibraryURL);
    PX_String(pPX, "Styles", Styles);
    ReplaceSystemDrive(Styles);
    PX_String(pPX, "LinkLibraryURL", LinkLibraryURL);
    PX_String(pPX, "Buttons", Buttons);
    ReplaceSystemDrive(Buttons);
    PX_String(pPX, "Debug", v);
    ApplySwitchRule(5, v, Debug);

    // 41 - 49
    PX_String(pPX, "BackgroundColor", BackgroundColor);
    PX_String(pPX, "BorderColor", BorderColor);
    PX_String(pPX, "Base", Base);
    PX_String(pPX, "EscapeUnicode", EscapeUnicode);
    PX_String(pPX, "SpellCheckerURL", SpellCheckerURL);
    PX_String(pPX, "SpellCheckerLangFilter", SpellCheckerLangFilter);
    PX_String(pPX, "SpellCheckerLang", SpellCheckerLang);
    SpellCheckerLang.Trim();
    DefaultIfEmpty(SpellCheckerLang, "en");
    PX_String(pPX, "DirectoryURL", DirectoryURL);
    PX_String(pPX, "Mode", Mode);
    DefaultIfEmpty(Mode, "wysiwyg");

    // 50 - 58: toolbars
    PX_String(pPX, "ToolbarWysiwyg", ToolbarWysiwyg);
    PX_String(pPX, "ToolbarSource", ToolbarSource);
    PX_String(pPX, "ToolbarPreview", ToolbarPreview);
    PX_String(pPX, "ToolbarScreenReader", ToolbarScreenReader);
    PX_String(pPX, "ShowToolbar", v);
    ApplySwitchRule(4, v, ShowToolbar);
    PX_String(pPX, "ShowStyles", v);
    ApplySwitchRule(4, v, ShowStyles);
    PX_String(pPX, "ProductName", ProductName);
    ProductName.Trim();
    PX_String(pPX, "EnablePasteMarkup", v);
    ApplySwitchRule(2, v, EnablePasteMarkup);
    PX_String(pPX, "EnableProxyAuthentication", v);
    ApplySwitchRule(1, v, EnableProxyAuthentication);

    // 59 - 71
    PX_String(pPX, "ClassImageFloatLeft", ClassImageFloatLeft);
    PX_String(pPX, "ClassImageFloatRight", ClassImageFloatRight);
    PX_String(pPX, "CMSImageLibraryURL", CMSImageLibraryURL);
    PX_String(pPX, "CMSAttachmentLibraryURL", CMSAttachmentLibraryURL);
    PX_String(pPX, "Options", v);
    Options = ReadDecimal(v);
    PX_String(pPX, "Icons", Icons);
    ReplaceSystemDrive(Icons);
    PX_String(pPX, "Placeholders", Placeholders);
    ReplaceSystemDrive(Placeholders);
    PX_String(pPX, "ScriptNewWindow", ScriptNewWindow);
    DefaultIfEmpty(ScriptNewWindow, "window.open(this.href);return false;");
    PX_String(pPX, "Namespaces", Namespaces);
    PX_String(pPX, "ScreenReaderXSLT", ScreenReaderXSLT);
    ReplaceSystemDrive(ScreenReaderXSLT);
    ScreenReaderXSLT.Trim();
    PX_String(pPX, "PreviewXSLT", PreviewXSLT);
    ReplaceSystemDrive(PreviewXSLT);
    PreviewXSLT.Trim();
    Lang.Trim();
    DefaultIfEmpty(Lang, "en");
    if (m_pXHTML)
        m_pXHTML->m_doc.m_language = Lang;
    PX_String(pPX, "LatestVersion", LatestVersion);
    LatestVersion.Trim();
    PX_String(pPX, "EnableTimestamp", v);
    ApplySwitchRule(3, v, EnableTimestamp);

    // 72 - 86: identifier headers; the cookie also keeps its text
    struct HeaderParam
    {
        const char* name;
        unsigned short* field;
    };
    const HeaderParam first[] = {{"DocumentID", m_headers.DocumentID}, {"UserID", m_headers.UserID},
        {"SessionID", m_headers.SessionID}, {"TransactionID", m_headers.TransactionID},
        {"ClientID", m_headers.ClientID}, {"InstanceID", m_headers.InstanceID}, {"TagID", m_headers.TagID}};
    for (const HeaderParam& h : first) {
        PX_String(pPX, h.name, v);
        v.Trim();
        SetHeaderField(h.field, 201, v);
    }
    PX_String(pPX, "Cookie", v);
    v.Trim();
    SetCookie(v);
    const HeaderParam second[] = {{"ZoneID", m_headers.ZoneID}, {"ProjectID", m_headers.ProjectID},
        {"AreaID", m_headers.AreaID}, {"GroupID", m_headers.GroupID}, {"ParentID", m_headers.ParentID},
        {"ContainerID", m_headers.ContainerID}};
    for (const HeaderParam& h : second) {
        PX_String(pPX, h.name, v);
        v.Trim();
        SetHeaderField(h.field, 201, v);
    }
    SetHeaderField(m_headers.TagList, nullptr);
    PX_String(pPX, "ObjectID", v);
    v.Trim();
    SetHeaderField(m_headers.ObjectID, v);

    // ---- the work that depends on several parameters ----
    ProcessProxyInfo();
    SetHeaderField(m_headers.Language, kLanguageHeaderUnits + 1, Lang);
    LoadInterfaceTexts();
    LanguageChanged();
    CheckLatestVersion();
    if (!ScreenReaderXSLT.IsEmpty())
        LoadXSLTSetting(ScreenReaderXSLT, m_screenReaderXSLTText, &m_screenReaderXSLTFailed);
    if (!PreviewXSLT.IsEmpty())
        LoadXSLTSetting(PreviewXSLT, m_previewXSLTText, nullptr);

    EscapeUnicode.Trim();
    DefaultIfEmpty(EscapeUnicode, "no");
    Base.Trim();
    if (!Base.IsEmpty() && Base.GetAt(Base.Length() - 1) != '/')
        Base += "/";
    BackgroundColor.Trim();
    DefaultIfEmpty(BackgroundColor, "white");
    BorderColor.Trim();
    DefaultIfEmpty(BorderColor, "black");
    // A colour that cannot be read leaves the frame's colour as it was.
    const int background = GetColor(BackgroundColor, true);
    if (background >= 0)
        m_backgroundColor = static_cast<unsigned long>(background);
    const int border = GetColor(BorderColor, true);
    if (border >= 0)
        m_borderColor = static_cast<unsigned long>(border);

    IndentOutput = IsYesWord(IndentOutput) ? "Friendly" : "Compact";
    UpdateStyleBars();
    DropOneTrailingSlash(ImageLibraryURL);
}
