// The control's script properties: page script reads and writes the
// editor's settings by name. Each property has a kind: text (a string
// variant), switch (a boolean) or number (an integer). A write converts the
// value once (GetValueFromNPVariant): text properties take its text,
// switches are on when its number is not 0, numbers take its number; so a
// switch or number given as a string or a double takes 0.
//
// Most writes only store the value; those that have follow-up work (a
// toolbar rebuilt, a list loaded again, a proxy worked out) do it at once
// when the control is ready, and before that only store what OnCreate then
// uses. Reads answer a copy of the stored text or call the getter that
// works the answer out (the value, the selection's views, the style sheets
// in use, the view's name).

#include "plugin/MorvaXEditorCtrl.h"

#include "editor/XHTML.h"
#include "plugin/NPVariants.h"
#include "source_view/ColoringEditor.h"
#include "style/values/CssColour.h"

#include <cstddef>

namespace {

// The properties in the order in which names are matched.
enum Property
{
    pValue,
    pBackgroundColor,
    pBorderColor,
    pToolbarWysiwyg,
    pToolbarSource,
    pToolbarPreview,
    pToolbarScreenReader,
    pShowStyles,
    pShowToolbar,
    pStyles,
    pIcons,
    pLang,
    pCSS,
    pIndentOutput,
    pImageLibraryURL,
    pAttachmentLibraryURL,
    pLinkLibraryURL,
    pDebug,
    pBase,
    pEscapeUnicode,
    pVersion,
    pLocalization,
    pScreenReaderXSLT,
    pDocumentID,
    pUserID,
    pSessionID,
    pTransactionID,
    pClientID,
    pInstanceID,
    pTagID,
    pEditorCSS,
    pOptions,
    pProductName,
    pSpellCheckerURL,
    pSpellCheckerLang,
    pSpellCheckerLangFilter,
    pDirectoryURL,
    pLatestVersion,
    pCookie,
    pMode,
    pEnablePasteMarkup,
    pButtons,
    pSelectedText,
    pSelectedXML,
    pTagList,
    pTagListXML,
    pProxySetting,
    pProxyServer,
    pProxyUser,
    pProxyPassword,
    pProxyPort,
    pEnableProxyAuthentication,
    pPreviewXSLT,
    pEnableTimestamp,
    pZoneID,
    pProjectID,
    pAreaID,
    pGroupID,
    pParentID,
    pContainerID,
    pObjectID,
    pClassImageFloatRight,
    pClassImageFloatLeft,
    pHeartbeatURL,
    pHeartbeatInterval,
    pEnableCache,
    pPlaceholders,
    pScriptNewWindow,
    pNamespaces,
    pPath,
    pQPath,
    pCMSImageLibraryURL,
    pCMSAttachmentLibraryURL,
    pExpandToolbarWysiwyg,
    pExpandToolbarSource,
    pExpandToolbarPreview,
    pExpandToolbarScreenReader,
    pToolbarEffect,
    pExpandWidth,
    pExpandHeight,
    pExpandShowToolbar,
    pExpandShowStyles,
    pCustomInlineElements,
    pCustomBlockElements,
    pCMSDirectoryURL,
    pSubdocumentURL,
    pRel,
    pRev,
    kPropertyCount
};

const char* const kPropertyNames[kPropertyCount] = {"Value", "BackgroundColor", "BorderColor",
    "ToolbarWysiwyg", "ToolbarSource", "ToolbarPreview", "ToolbarScreenReader", "ShowStyles", "ShowToolbar",
    "Styles", "Icons", "Lang", "CSS", "IndentOutput", "ImageLibraryURL", "AttachmentLibraryURL",
    "LinkLibraryURL", "Debug", "Base", "EscapeUnicode", "Version", "Localization", "ScreenReaderXSLT",
    "DocumentID", "UserID", "SessionID", "TransactionID", "ClientID", "InstanceID", "TagID", "EditorCSS",
    "Options", "ProductName", "SpellCheckerURL", "SpellCheckerLang", "SpellCheckerLangFilter", "DirectoryURL",
    "LatestVersion", "Cookie", "Mode", "EnablePasteMarkup", "Buttons", "SelectedText", "SelectedXML",
    "TagList", "TagListXML", "ProxySetting", "ProxyServer", "ProxyUser", "ProxyPassword", "ProxyPort",
    "EnableProxyAuthentication", "PreviewXSLT", "EnableTimestamp", "ZoneID", "ProjectID", "AreaID", "GroupID",
    "ParentID", "ContainerID", "ObjectID", "ClassImageFloatRight", "ClassImageFloatLeft", "HeartbeatURL",
    "HeartbeatInterval", "EnableCache", "Placeholders", "ScriptNewWindow", "Namespaces", "Path", "QPath",
    "CMSImageLibraryURL", "CMSAttachmentLibraryURL", "ExpandToolbarWysiwyg", "ExpandToolbarSource",
    "ExpandToolbarPreview", "ExpandToolbarScreenReader", "ToolbarEffect", "ExpandWidth", "ExpandHeight",
    "ExpandShowToolbar", "ExpandShowStyles", "CustomInlineElements", "CustomBlockElements", "CMSDirectoryURL",
    "SubdocumentURL", "Rel", "Rev"};

enum Kind
{
    kText,
    kSwitch,
    kNumber
};

Kind KindOf(int property)
{
    switch (property) {
    case pShowStyles:
    case pShowToolbar:
    case pIndentOutput:
    case pDebug:
    case pEscapeUnicode:
    case pEnablePasteMarkup:
    case pEnableProxyAuthentication:
    case pEnableTimestamp:
    case pEnableCache:
    case pExpandShowToolbar:
    case pExpandShowStyles: return kSwitch;
    case pOptions:
    case pProxyPort:
    case pHeartbeatInterval: return kNumber;
    default: return kText;
    }
}

// Units of an identifier header field, its terminator included: a write
// keeps the first 200 characters.
constexpr std::size_t kIdentifierUnits = 201;

// Option bits that the source view follows.
constexpr int kOptionWordWrap = 8;
constexpr int kOptionNoLineNumbers = 16;

const char kDefaultScriptNewWindow[] = "window.open(this.href);return false;";

// The stored text of a property whose read answers a copy of it; null for
// the others.
CSafeBuf* StoredText(CMorvaXEditorCtrl& c, int property)
{
    switch (property) {
    case pBackgroundColor: return &c.BackgroundColor;
    case pBorderColor: return &c.BorderColor;
    case pToolbarWysiwyg: return &c.ToolbarWysiwyg;
    case pToolbarSource: return &c.ToolbarSource;
    case pToolbarPreview: return &c.ToolbarPreview;
    case pToolbarScreenReader: return &c.ToolbarScreenReader;
    case pIcons: return &c.Icons;
    case pLang: return &c.Lang;
    case pImageLibraryURL: return &c.ImageLibraryURL;
    case pAttachmentLibraryURL: return &c.AttachmentLibraryURL;
    case pLinkLibraryURL: return &c.LinkLibraryURL;
    case pBase: return &c.Base;
    case pEditorCSS: return &c.EditorCSS;
    case pProductName: return &c.ProductName;
    case pSpellCheckerURL: return &c.SpellCheckerURL;
    case pSpellCheckerLang: return &c.SpellCheckerLang;
    case pSpellCheckerLangFilter: return &c.SpellCheckerLangFilter;
    case pDirectoryURL: return &c.DirectoryURL;
    case pLatestVersion: return &c.LatestVersion;
    case pCookie: return &c.Cookie;
    case pProxyServer: return &c.ProxyServer;
    case pProxyUser: return &c.ProxyUser;
    case pProxyPassword: return &c.ProxyPassword;
    case pClassImageFloatRight: return &c.ClassImageFloatRight;
    case pClassImageFloatLeft: return &c.ClassImageFloatLeft;
    case pHeartbeatURL: return &c.HeartbeatURL;
    case pPlaceholders: return &c.Placeholders;
    case pScriptNewWindow: return &c.ScriptNewWindow;
    case pNamespaces: return &c.Namespaces;
    case pCMSImageLibraryURL: return &c.CMSImageLibraryURL;
    case pCMSAttachmentLibraryURL: return &c.CMSAttachmentLibraryURL;
    case pExpandToolbarWysiwyg: return &c.ExpandToolbarWysiwyg;
    case pExpandToolbarSource: return &c.ExpandToolbarSource;
    case pExpandToolbarPreview: return &c.ExpandToolbarPreview;
    case pExpandToolbarScreenReader: return &c.ExpandToolbarScreenReader;
    case pToolbarEffect: return &c.ToolbarEffect;
    case pExpandWidth: return &c.ExpandWidth;
    case pExpandHeight: return &c.ExpandHeight;
    case pCustomInlineElements: return &c.CustomInlineElements;
    case pCustomBlockElements: return &c.CustomBlockElements;
    case pCMSDirectoryURL: return &c.CMSDirectoryURL;
    case pSubdocumentURL: return &c.SubdocumentURL;
    case pRel: return &c.Rel;
    case pRev: return &c.Rev;
    default: return nullptr;
    }
}

// The identifier header field of a property; null for the others.
unsigned short* IdentifierField(CMorvaXEditorCtrl& c, int property)
{
    ADDITIONAL_HTTP_HEADERS& h = c.Headers();
    switch (property) {
    case pDocumentID: return h.DocumentID;
    case pUserID: return h.UserID;
    case pSessionID: return h.SessionID;
    case pTransactionID: return h.TransactionID;
    case pClientID: return h.ClientID;
    case pInstanceID: return h.InstanceID;
    case pTagID: return h.TagID;
    case pZoneID: return h.ZoneID;
    case pProjectID: return h.ProjectID;
    case pAreaID: return h.AreaID;
    case pGroupID: return h.GroupID;
    case pParentID: return h.ParentID;
    case pContainerID: return h.ContainerID;
    case pObjectID: return h.ObjectID;
    default: return nullptr;
    }
}

// The stored field of a switch that a read answers as it is; null for the
// others.
unsigned char* SwitchField(CMorvaXEditorCtrl& c, int property)
{
    switch (property) {
    case pShowStyles: return &c.ShowStyles;
    case pShowToolbar: return &c.ShowToolbar;
    case pDebug: return &c.Debug;
    case pEnablePasteMarkup: return &c.EnablePasteMarkup;
    case pEnableProxyAuthentication: return &c.EnableProxyAuthentication;
    case pEnableTimestamp: return &c.EnableTimestamp;
    case pEnableCache: return &c.EnableCache;
    case pExpandShowToolbar: return &c.ExpandShowToolbar;
    case pExpandShowStyles: return &c.ExpandShowStyles;
    default: return nullptr;
    }
}

int* NumberField(CMorvaXEditorCtrl& c, int property)
{
    switch (property) {
    case pOptions: return &c.Options;
    case pProxyPort: return &c.ProxyPort;
    case pHeartbeatInterval: return &c.HeartbeatInterval;
    default: return nullptr;
    }
}

// A colour setting: trimmed, fallback when empty; a colour that cannot be
// read leaves the colour value as it was.
void SetColourSetting(CSafeBuf& setting, const CSafeBuf& text, const char* fallback, unsigned long& colour)
{
    setting = text;
    setting.Trim();
    if (setting.IsEmpty())
        setting = fallback;
    const int value = GetColor(setting, true);
    if (value >= 0)
        colour = static_cast<unsigned long>(value);
}

void DropOneTrailingSlash(CSafeBuf& text)
{
    const int n = text.Length();
    if (n > 0 && (text.GetAt(n - 1) == '/' || text.GetAt(n - 1) == '\\'))
        text.CutAt(n - 1);
}

bool IsTrueWord(const CSafeBuf& text)
{
    return text.CompareNoCase("yes") == 0 || text.CompareNoCase("true") == 0;
}

// A getter's new string as the result (an empty text as the empty string).
void NewStringResult(unsigned short* text, NPVariant* result) { SetStringToNPVariant(text, result, true); }

} // namespace

int CMorvaXEditorCtrl::FindScriptProperty(NPIdentifier name)
{
    CSafeBuf text;
    GetStringFromName(name, text);
    return MatchScriptName(text, kPropertyNames, kPropertyCount);
}

bool CMorvaXEditorCtrl::Mozilla_HasProperty(NPIdentifier name) { return FindScriptProperty(name) >= 0; }

bool CMorvaXEditorCtrl::Mozilla_GetProperty(NPIdentifier name, NPVariant* result)
{
    const int property = FindScriptProperty(name);
    if (property < 0 || !result)
        return true;
    if (const CSafeBuf* stored = StoredText(*this, property)) {
        SetStringToNPVariant(*stored, stored->Length(), result);
        return true;
    }
    if (unsigned short* field = IdentifierField(*this, property)) {
        SetStringToNPVariant(field, -1, result);
        return true;
    }
    if (unsigned char* on = SwitchField(*this, property)) {
        SetBoolToNPVaraint(*on != 0, result);
        return true;
    }
    if (int* number = NumberField(*this, property)) {
        SetIntToNPVaraint(*number, result);
        return true;
    }
    CSafeBuf text;
    switch (property) {
    case pValue: NewStringResult(GetValue(), result); return true;
    case pStyles: GetCustomization(text); break;
    case pCSS: GetCSS(text); break;
    case pLocalization: GetLocalization(text); break;
    case pButtons: GetButtons(text); break;
    case pVersion: text = FileVersion; break;
    case pScreenReaderXSLT: NewStringResult(GetScreenReaderXSLT(), result); return true;
    case pPreviewXSLT: NewStringResult(GetPreviewXSLT(), result); return true;
    case pMode: NewStringResult(GetMode(), result); return true;
    case pSelectedText: GetSelectedText(text); break;
    case pSelectedXML: GetSelectedXML(text); break;
    case pTagList: GetTagList(text); break;
    case pTagListXML: GetTagListXML(text); break;
    case pPath: GetPath(text); break;
    case pQPath: GetQPath(text); break;
    case pProxySetting:
        text = ProxySetting == 2 ? "manual" : ProxySetting == 1 ? "auto-detect" : "direct";
        break;
    case pIndentOutput: SetBoolToNPVaraint(IndentOutput == "Friendly", result); return true;
    case pEscapeUnicode: SetBoolToNPVaraint(IsTrueWord(EscapeUnicode), result); return true;
    default: return true;
    }
    SetStringToNPVariant(text, text.Length(), result);
    return true;
}

bool CMorvaXEditorCtrl::Mozilla_SetProperty(NPIdentifier name, const NPVariant* value)
{
    const int property = FindScriptProperty(name);
    if (property < 0)
        return true;
    switch (property) {
    case pVersion:
    case pSelectedText:
    case pSelectedXML:
    case pTagList:
    case pTagListXML: return false; // read-only
    default: break;
    }
    CSafeBuf text;
    int number = 0;
    GetValueFromNPVariant(value, text, number);
    // The control is not used after the write: a page function that the
    // write makes the control call may destroy the instance.
    SetScriptProperty(property, text, number);
    return true;
}

void CMorvaXEditorCtrl::SetScriptProperty(int property, const CSafeBuf& text, int number)
{
    const bool ready = m_pXHTML && m_created;
    if (KindOf(property) == kSwitch && property != pIndentOutput && property != pEscapeUnicode) {
        switch (property) {
        case pShowStyles: SetShowStyleDroplist(number != 0); break;
        case pShowToolbar: SetShowToolbar(number != 0); break;
        default: *SwitchField(*this, property) = number != 0 ? 1 : 0; break;
        }
        return;
    }
    if (int* field = NumberField(*this, property)) {
        *field = number;
        if (property == pOptions && ready && m_coloringEditor) {
            if ((Options & kOptionWordWrap) && !m_coloringEditor->IsWordWrap()) {
                m_wordWrap = 1;
                m_coloringEditor->SetWrapMode(true);
            }
            m_coloringEditor->EnableLineNumber((Options & kOptionNoLineNumbers) == 0);
        }
        return;
    }
    if (unsigned short* field = IdentifierField(*this, property)) {
        SetHeaderField(field, kIdentifierUnits, text);
        return;
    }
    switch (property) {
    case pValue: SetValue(text); break;
    case pBackgroundColor:
    case pBorderColor:
        if (property == pBackgroundColor)
            SetColourSetting(BackgroundColor, text, "white", m_backgroundColor);
        else
            SetColourSetting(BorderColor, text, "black", m_borderColor);
        // The frame and the toolbar show the new colour at once.
        if (ready)
            UpdateWindow();
        break;
    case pToolbarWysiwyg:
    case pToolbarSource:
    case pToolbarPreview:
    case pToolbarScreenReader: {
        // The bars of the view shown are rebuilt; another view's string
        // shows at the next switch to that view.
        const int view = property - pToolbarWysiwyg;
        *StoredText(*this, property) = text;
        if (ready && m_viewMode == view) {
            UpdateToolBar(view);
            RefreshToolBar();
            // The new bars show at once, over every pixel of the old ones.
            UpdateWindow();
        }
        break;
    }
    case pToolbarEffect:
        ToolbarEffect = text;
        if (ready)
            m_toolbarSet.SetToolbarEffect(ToolbarEffect);
        break;
    case pStyles: SetCustomization(text); break;
    case pIcons: SetIcons(text); break;
    case pButtons: SetButtons(text); break;
    case pPlaceholders: SetPlaceHolders(text); break;
    case pLang: SetLanguage(text); break;
    case pLocalization: SetLocalization(text); break;
    case pCSS: SetCSS(text); break;
    case pEditorCSS: SetEditorCSS(text); break;
    case pIndentOutput: IndentOutput = number != 0 ? "Friendly" : "Compact"; break;
    case pEscapeUnicode: EscapeUnicode = number != 0 ? "yes" : "no"; break;
    case pImageLibraryURL:
        ImageLibraryURL = text;
        ImageLibraryURL.Trim();
        DropOneTrailingSlash(ImageLibraryURL);
        if (m_pXHTML) {
            m_pXHTML->ReleaseService(&m_pXHTML->m_imageLibraryServices);
            m_pXHTML->m_imageLibraryURL = ImageLibraryURL; // where pasted pictures go from now on
        }
        break;
    case pAttachmentLibraryURL:
        AttachmentLibraryURL = text;
        AttachmentLibraryURL.Trim();
        if (m_pXHTML) {
            m_pXHTML->ReleaseService(&m_pXHTML->m_attachmentLibraryServices);
            m_pXHTML->m_attachmentLibraryURL = AttachmentLibraryURL;
        }
        break;
    case pLinkLibraryURL:
        LinkLibraryURL = text;
        LinkLibraryURL.Trim();
        break;
    case pDirectoryURL:
        DirectoryURL = text;
        if (m_pXHTML)
            m_pXHTML->ReleaseService(&m_pXHTML->m_directoryServices);
        break;
    case pSpellCheckerURL: SpellCheckerURL = text; break;
    case pSpellCheckerLang: SpellCheckerLang = text; break;
    case pSpellCheckerLangFilter: SpellCheckerLangFilter = text; break;
    case pBase: SetBase(text); break;
    case pSubdocumentURL:
        SubdocumentURL = text;
        // The definitions come from the new service when next asked for.
        if (m_pXHTML) {
            m_pXHTML->m_doc.ReleaseSubDocInfo();
            m_pXHTML->m_doc.m_subDocMode = 0;
        }
        break;
    case pRel:
        Rel = text;
        LoadRel(Rel, true);
        break;
    case pRev:
        Rev = text;
        LoadRel(Rev, false);
        break;
    case pCustomInlineElements: SetCustomInlineElements(text); break;
    case pCustomBlockElements: SetCustomBlockElements(text); break;
    case pScreenReaderXSLT: SetScreenReaderXSLT(text); break;
    case pPreviewXSLT: SetPreviewXSLT(text); break;
    case pMode: SetMode(text); break;
    case pProxySetting:
        if (text.CompareNoCase("auto-detect") == 0)
            ProxySetting = 1;
        else if (text.CompareNoCase("manual") == 0)
            ProxySetting = 2;
        else
            ProxySetting = 0;
        ProcessProxyInfo(); // a direct setting clears the use-proxy flag
        break;
    case pProxyServer:
        ProxyServer = text;
        ProcessProxyInfo();
        break;
    case pScriptNewWindow:
        ScriptNewWindow = text;
        if (ScriptNewWindow.IsEmpty())
            ScriptNewWindow = kDefaultScriptNewWindow;
        break;
    case pLatestVersion: SetLatestVersion(text); break;
    case pCookie: SetCookie(text); break;
    case pCMSImageLibraryURL:
    case pCMSAttachmentLibraryURL: {
        CSafeBuf& stored = *StoredText(*this, property);
        stored = text;
        stored.Trim();
        break;
    }
    default:
        // The stored-only texts; the read-only properties have none.
        if (CSafeBuf* stored = StoredText(*this, property))
            *stored = text;
        break;
    }
}

void CMorvaXEditorCtrl::SetPlaceHolders(const unsigned short* text)
{
    Placeholders.Empty();
    if (text)
        Placeholders = text;
    ReplaceSystemDrive(Placeholders);
    LoadPlaceHolders();
}
