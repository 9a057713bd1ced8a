#pragma once
// CMorvaXEditorCtrl: the editor control, one per plug-in instance. It holds
// every setting the page can give and the per-user services the rest of the
// system reads through it: the document cache and the temporary folder, the
// connection settings and identifier headers of web requests, the page's own
// element names, the icon set and icon definitions, and the table of
// interface texts.
//
// Per-user folders: the constructor makes
//   $HOME/Library/Application Support/Quillmark          (support folder)
//   $HOME/Library/Application Support/Quillmark/Cache    (fetched documents, debug log)
//   $HOME/Library/Application Support/Quillmark/Temp     (temporary files)
// each private to the user (mode 0700), records the cache and temporary
// folders process-wide (base/files/UserFolders.h) and empties the temporary folder.
// Without HOME the paths start at "/Library/...". A folder that cannot be
// made is not an error: the control works without a cache.
//
// The control is the owner of its web requests: it implements CHttpOwner, and
// code below this layer receives it as static_cast<CHttpOwner*>(control)
// converted to void* (AsHttpOwner), never as a plain CMorvaXEditorCtrl*.
//
// What the element layers use of the control (the settings they read and the
// calls they make) is declared by CControlServices
// (element/services/ControlServices.h), from which the control derives.
//
// Settings keep the names of the page parameters they come from.
//
// The plug-in instance (plugin/Plugin.h) makes the control when the first
// real window arrives, gives it the tag's parameters (DoPropExchange), the
// page's window object and the script event flags, and starts it
// (OnCreate); it deletes the control when the instance is destroyed. The
// control makes its editing engine in its constructor and deletes it first
// in its destructor. Each control makes sure the XML libraries are set up;
// their process-wide state is cleaned up only when the module is shut down
// (NP_Shutdown), not with the last control, since a page that is reloaded
// makes new controls.

#include "base/app/LangString.h"
#include "base/geometry/Colour.h"
#include "base/shims/QuickDraw.h"
#include "base/text/SafeBuf.h"
#include "element/services/ControlServices.h"
#include "net/AdditionalHeaders.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Runtime.h"
#include "platform/np/Window.h"
#include "plugin/ScriptEvents.h"
#include "style/Image.h"

#include <cstdint>
#include <memory>
#include <string>

class CPlugin;
class CPropExchange;
class CXHTML;
namespace qm::text {
class Layout;
class Style;
} // namespace qm::text
namespace qm::ui {
class ScrollBar;
}

class CMorvaXEditorCtrl : public CControlServices
{
public:
    CMorvaXEditorCtrl();
    ~CMorvaXEditorCtrl() override;

    CMorvaXEditorCtrl(const CMorvaXEditorCtrl&) = delete;
    CMorvaXEditorCtrl& operator=(const CMorvaXEditorCtrl&) = delete;

    // ---- folders and cache ----
    // The path of the document cache file for url: false for anything but an
    // "http:" address (ASCII case ignored; so "https:" is never cached) and
    // cacheFile empty. Otherwise cacheFile = cache folder + "/" + the MD5 of
    // the address's UTF-16 units in machine byte order (32 upper-case hex
    // digits). True only when EnableCache is on and that file exists; url then
    // names the cache file. False with cacheFile set when the caller should
    // fetch and store under that name. No cache folder: false, cacheFile empty.
    bool GetCacheFile(CSafeBuf& url, CSafeBuf& cacheFile) override;
    // Deletes every plain file of the temporary folder, then of the cache
    // folder (the debug log included); sub-folders stay.
    void ClearCache();
    // The support folder (without a trailing slash) made by the constructor.
    const CSafeBuf& GetSupportFolder() const { return m_supportFolder; }

    // ---- path macros ----
    // The first "%SystemDrive%" is removed; then the first "%AppPath%" and the
    // first "%InstallPath%" become "file:///Applications". Case-sensitive.
    void ReplaceSystemDrive(CSafeBuf& text) const;

    // ---- the page's own element names ----
    // Each stores the text as given and rebuilds its search copy: the text
    // trimmed, every blank removed and, when not empty, enclosed in commas
    // (one "," put in front and one at the end unless already there), so a
    // tag is listed when ",tag," occurs in the copy.
    void SetCustomInlineElements(const unsigned short* text);
    void SetCustomBlockElements(const unsigned short* text);
    void SetCustomEmptyElements(const unsigned short* text);
    static void NormaliseElementList(const CSafeBuf& text, CSafeBuf& search);
    // True when the tag is one of the sub-document tags (IsInElementList
    // over the search copy of SubdocumentTags).
    bool IsSubdocumentTag(const unsigned short* tag) const override;

    // ---- icons and icon definitions ----
    // The first icon of the icon set whose name equals name exactly; its bytes
    // (a new[] copy when copy is set, else the stored bytes) and size. Null
    // and size 0 when there is none.
    unsigned char* GetIconFromArray(const unsigned short* name, int& size, bool copy);
    // The same lookup; size (when given) receives the byte count. When image
    // is given and the icon has bytes, they are loaded into it
    // (CImage::LoadPictureMemory, which is handed context); image is left as
    // it is when the icon set does not hold the name. The answer is the
    // stored bytes, null when there is no such icon.
    unsigned char* GetIconFromIcons(
        const unsigned short* name, int* size, CImage* image, void* context) override;
    unsigned char* GetIconFromIcons(const char* name, int* size, CImage* image, void* context) override;
    // Appends an icon to the icon set (a copy of the bytes), in constant
    // time. False when no memory could be had.
    bool AddIcon(const unsigned short* name, const unsigned char* data, int size);
    void RemoveIcons();
    // Appends a definition with the element name, no attributes and the icon
    // given by name, after last (or as the head when last is null); last
    // becomes the new record.
    void AddPlaceHolderItem(
        const unsigned short* element, const unsigned short* icon, PLACEHOLDERSSTRUCT*& last);
    void AddPlaceHolderItem(const char* element, const char* icon, PLACEHOLDERSSTRUCT*& last);
    void ReleasePlaceHolders();
    ICON_ITEM* GetIcons() const override { return m_icons; }
    PLACEHOLDERSSTRUCT* GetPlaceHolders() const override { return m_placeHolders; }

    // ---- connection settings ----
    // Works out the use-proxy flag from ProxySetting (0 direct, 1 auto-detect,
    // 2 manual) and ProxyServer: only a manual setting with a non-blank server
    // turns the proxy on.
    void ProcessProxyInfo();
    bool UseProxy() const override { return m_useProxy; }
    // Cookie = text; the Cookie header field = the text, cut to the field
    // (8191 units). SetNewCookie does the same only while Cookie is empty.
    void SetCookie(const unsigned short* text);
    void SetNewCookie(const unsigned short* text);
    ADDITIONAL_HTTP_HEADERS& Headers() override { return m_headers; }

    // ---- interface texts ----
    // Loads the text table from Localization (inline XML or a location) or,
    // when that is empty, the bundle's texts for Lang.
    void LoadInterfaceTexts();
    // Localization = text trimmed, path macros expanded; texts reloaded and
    // handed to the engine (LanguageChanged).
    void SetLocalization(const unsigned short* text);
    CLangString& GetLangString() override { return m_langString; }

    // ---- CHttpOwner ----
    bool HttpUseProxy() const override { return m_useProxy; }
    void HttpProxy(CSafeBuf& server, unsigned int& port, CSafeBuf& user, CSafeBuf& password) const override;
    const ADDITIONAL_HTTP_HEADERS* HttpHeaders() const override { return &m_headers; }
    bool HttpDebug() const override { return Debug != 0; }

    // ---- settings (named after their page parameters) ----
    // Debug, the proxy server, user, password and port, SoapVersion,
    // Namespaces, the custom element lists with their search copies and
    // SubdocumentTags are fields of CControlServices, and so are the view
    // mode, the pending window change and the horizontal-bar switch.
    // The page's option bits; the engine reads them through
    // CXHTMLServices::m_controlOptions, which points here.
    int Options = 0;
    unsigned char EnableCache = 0;
    int ProxySetting = 1; // 0 direct, 1 auto-detect, 2 manual
    unsigned char EnableProxyAuthentication = 0;
    CSafeBuf Lang;
    CSafeBuf Localization;
    CSafeBuf Cookie;
    CSafeBuf ProductName; // "Quillmark"
    CSafeBuf FileVersion; // the bundle's version text
    // Dir and EnableTimestamp, which the document's writer reads, are fields
    // of CControlServices.

    // ---- the control object ----
    // Reads the tag's 86 parameters in their fixed order, then works out
    // what depends on several of them: the proxy, the interface texts, the
    // update reminder, the two XSLT style sheets, colours, output mode and
    // the image library address. Called once by the plug-in instance before
    // OnCreate (MorvaXEditorCtrlParams.cpp).
    virtual void DoPropExchange(CPropExchange* pPX);
    // Starts the control in the plug-in window (the instance's record,
    // which outlives the control): makes the engine when there is none and
    // sets engine ready and created.
    void OnCreate(NPWindow* window);
    // Removes the wheel handler and deletes both scroll bars.
    void CleanUp();
    // The shown flag: cleared while the page shows nothing of the plug-in's
    // area; the control then ignores events and draws nothing.
    bool CanXEditorDisplay() const override { return m_bShown != 0; }
    void ShowHidePlugin(bool show) { m_bShown = show ? 1 : 0; }
    // How many controls are alive (the users of the XML libraries).
    static int XmlLibraryUsers();

    // ---- script events ----
    // Each calls its page function with `id` first (an empty string when the
    // tag has none), then its own texts. True when the call was made; false
    // when the page has no such function, or without the instance or the
    // page's window object. The control is not used after the page's
    // function returns, so the function may even destroy the instance.
    bool FireBrowserContentChanged();
    bool FireBrowserTagListChange();
    bool FireBrowserFocusSet();
    bool FireBrowserFocusLost();
    bool FireBrowserContextMenuActivated();
    bool FireBrowserModeChange(const unsigned short* oldName, const unsigned short* newName);
    bool FireBrowserButtonClick(const unsigned short* name, const unsigned short* state);
    bool FireBrowserContextMenuClicked(const unsigned short* text);
    void GoFireContentChanged();
    void DoFireStyleChange() override;
    void GoFireContextMenuActivated();
    // The views by number: 0 "wysiwyg", 1 "source", 2 "preview", 3
    // "screen-reader"; any other number is an empty text.
    void GoFireModeChange(int oldMode, int newMode);
    void GoFireContextMenuClicked(const unsigned short* text);
    // Asked before each web-service request whether the page answers it:
    // the page never does, so every request goes to the service (false).
    bool GoFireSOAPCall(const unsigned short* name, CSafeBuf& request, CSafeBuf& response);

    // ---- fields of the control object, in the order of its groups ----
    CXHTML* m_pXHTML = nullptr; // the editing engine; owned
    CSafeBuf SubdocumentURL;
    CSafeBuf Icons;
    CSafeBuf Placeholders;
    CSafeBuf ScriptNewWindow;
    CSafeBuf ClassImageFloatRight;
    CSafeBuf ClassImageFloatLeft;
    CSafeBuf HeartbeatURL;
    CSafeBuf ExpandWidth;
    CSafeBuf ExpandHeight;
    CSafeBuf ToolbarWysiwyg;
    CSafeBuf ToolbarSource;
    CSafeBuf ToolbarPreview;
    CSafeBuf ToolbarScreenReader;
    CSafeBuf ExpandToolbarWysiwyg;
    CSafeBuf ExpandToolbarSource;
    CSafeBuf ExpandToolbarPreview;
    CSafeBuf ExpandToolbarScreenReader;
    CSafeBuf CMSDirectoryURL;
    CSafeBuf Rel;
    CSafeBuf Rev;
    unsigned char ExpandShowStyles = 1;
    unsigned char ExpandShowToolbar = 1;
    int m_iconSize = 16; // toolbar icons, pixels
    int HeartbeatInterval = 60;
    CSafeBuf CMSImageLibraryURL;
    CSafeBuf CMSAttachmentLibraryURL;
    unsigned char m_bShown = 1;
    unsigned char ShowStyles = 1;
    unsigned char ShowToolbar = 1;
    // Set while a context menu, the style pop-up menu or the edit guard's
    // message is showing.
    unsigned char m_bPopupShowing = 0;
    int m_toolbarHeight = 0; // the editing area begins below it
    // The instance and the page's window object, for raising script events.
    // The window object is the plug-in instance's (it holds the reference);
    // both stay set for the control's life.
    NPP m_pNPInstance = nullptr;
    NPObject* m_pWindowObject = nullptr;
    CPlugin* m_pPlugin = nullptr;
    CSafeBuf id; // the first argument of every script event
    // One per script event, in the order of ScriptEvent: set when the page
    // defined the function when the control was made.
    unsigned char m_eventFlags[kScriptEventCount] = {};
    unsigned char m_lastFocusReported = 0;
    // Unicode text input reached the engine: typed text comes that way from
    // then on, and key-downs are answered as handled without acting.
    unsigned char m_textInputSeen = 0;
    GrafPtr m_savedPort = nullptr;
    Rect m_savedPortBounds{0, 0, 0, 0};
    RgnHandle m_savedClip = nullptr;     // owned while set
    NPWindow* m_pPluginWindow = nullptr; // given to OnCreate
    int m_windowOffsetX = 0;             // of the editing area inside the plug-in window
    int m_windowOffsetY = 0;
    qm::ui::ScrollBar* m_pVScrollBar = nullptr; // owned
    qm::ui::ScrollBar* m_pHScrollBar = nullptr; // owned
    unsigned char m_engineReady = 0;
    unsigned char m_focused = 0;
    std::uint64_t m_wheelHandler = 0; // on the plug-in window's event target; 0 for none
    // The browser's own record of the event being handled; null outside one.
    EventRecord* m_pCurrentEvent = nullptr;
    std::unique_ptr<qm::text::Style> m_textStyle;   // the control's own text drawing
    std::unique_ptr<qm::text::Layout> m_textLayout; // uses m_textStyle
    CImage m_aboutImage;
    unsigned char m_wordWrap = 0; // the source view's wrap mode
    unsigned long m_backgroundColor = RGB(255, 255, 255);
    unsigned long m_borderColor = RGB(0, 0, 0);
    CSafeBuf EditorCSS;
    CSafeBuf SpellCheckerURL;
    CSafeBuf SpellCheckerLang;
    CSafeBuf SpellCheckerLangFilter;
    CSafeBuf Value;
    CSafeBuf CSS;
    CSafeBuf ImageLibraryURL;
    CSafeBuf AttachmentLibraryURL;
    CSafeBuf LinkLibraryURL;
    CSafeBuf DirectoryURL;
    CSafeBuf Mode; // "wysiwyg"
    CSafeBuf Base;
    unsigned char EnablePasteMarkup = 0;
    CSafeBuf LatestVersion;
    CSafeBuf ToolbarEffect;          // "solid"
    CSafeBuf BackgroundColor;        // "white"
    CSafeBuf BorderColor;            // "black"
    int m_nextButtonCommand = 36000; // for the next page-defined toolbar button
    int m_nextStyleCommand = 34000;  // for the next style drop-list item
    unsigned char m_created = 0;     // set at the end of OnCreate

    // ---- page parameters and settings (parameters, settings and folders) ----
    // Switch and text settings read by DoPropExchange that the groups above
    // do not hold.
    unsigned char AutoHideToolbar = 0;
    CSafeBuf IndentOutput;  // "Friendly" (indented output) or "Compact"
    CSafeBuf EscapeUnicode; // "yes"/"true" escape non-ASCII characters
    CSafeBuf Styles;        // the style drop-list definition: location or inline
    CSafeBuf Buttons;       // the toolbar button definitions: location or inline
    CSafeBuf ScreenReaderXSLT;
    CSafeBuf PreviewXSLT;
    // The style sheets' texts as loaded by the exchange; a failed load holds
    // "Failed to find XSLT document " and the setting.
    CSafeBuf m_screenReaderXSLTText;
    CSafeBuf m_previewXSLTText;
    unsigned char m_screenReaderXSLTFailed = 0;
    // The page's address (window.location.href) read at start-up; empty
    // without a window object. Named documents are handed to page script
    // only when they come from this address's origin.
    CSafeBuf m_pageAddress;
    // The link relations of Rel and Rev: null, or a null-terminated array of
    // owned strings, entry 0 empty, then one entry per name; room for at
    // least 99 names.
    unsigned short** m_relList = nullptr;
    unsigned short** m_revList = nullptr;
    int m_relListSize = 0; // entries of m_relList, the terminating null left out
    int m_revListSize = 0;

    // Nothing for empty text; otherwise Lang = text trimmed ("en" when
    // blank), the Accept-Language field its first 20 characters, and with an
    // engine its language, the texts reloaded and LanguageChanged.
    void SetLanguage(const unsigned short* text);
    // Gives the engine its missing-picture text ("text/no-image") and the
    // language.
    void LanguageChanged();
    // The update reminder: one message box when LatestVersion's dotted
    // number is greater than the editor's own version.
    void SetLatestVersion(const unsigned short* text);
    void CheckLatestVersion();
    // Dotted version number: four parts weighing 1000000, 10000, 100, 1.
    static long VersionWeight(const CSafeBuf& text);
    void SetCSS(const unsigned short* text);
    void SetEditorCSS(const unsigned short* text);
    void SetBase(const unsigned short* text);
    void SetCustomization(const unsigned short* text);
    // What page script may read of Localization, CSS, Styles and Buttons:
    // inline definitions as they are; a named document's content only when
    // it and the address that answered have the page's own origin (scheme,
    // host, port); otherwise the setting's text. An empty setting gives the
    // built-in resource where there is one.
    void GetLocalization(CSafeBuf& out);
    void GetCSS(CSafeBuf& out);
    void GetCustomization(CSafeBuf& out);
    void GetButtons(CSafeBuf& out);
    // Fetches (or reads the cached copy of) a named document into out with
    // the control's headers and proxy. finalUrl receives the address that
    // answered (the name itself for a local file or a cached copy). False
    // when nothing could be read.
    bool LoadNamedDocument(const CSafeBuf& name, CSafeBuf& out, std::string* finalUrl, bool useCache);
    // True when url and the page's address have the same origin.
    bool IsPageOrigin(const std::string& url) const;
    void LoadRel(const unsigned short* text, bool rel);
    void ReleaseRel(bool rel);
    // The installed font families (plain faces), names cut to 49 units.
    void LoadSystemFontInfo();
    // Appends one family to the list, its name cut to 49 units.
    void AppendFontInfo(const char* utf8Name, long fontId);
    bool DoesFontExist(const unsigned short* name) const;
    long GetFontIDOrCharset(const char* name) const;
    void ReleaseSystemFontInfo();
    // Shows the about dialog with Debug; OK takes the dialog's Debug.
    void AboutBox();
    void SetScrollRange(int bar, int minimum, int maximum);
    void SetScrollPos(int bar, int pos);
    void Invalidate() { }
    void DeleteStyleBar();
    void ReleaseCustomMenu();

    struct FONT_INFO
    {
        unsigned short name[50];
        long fontId = 0;
        FONT_INFO* next = nullptr;
    };
    FONT_INFO* m_fontInfo = nullptr; // owned

private:
    // Gives the engine the control, its language table, its option bits and
    // the file version.
    void AttachEngine();
    bool FireEvent(
        ScriptEvent event, const unsigned short* first = nullptr, const unsigned short* second = nullptr);

    void CreateUserFolders();
    void BuildUserAgent();
    // Reads an XSLT setting into text: the style sheet itself when it holds
    // "</xsl:stylesheet>", else the document it names (through the cache);
    // on failure "Failed to find XSLT document " and the setting, and
    // *failed set when given.
    void LoadXSLTSetting(const CSafeBuf& setting, CSafeBuf& text, unsigned char* failed);
    // Builds the style drop-list from Styles or the bundle's "styles.xml".
    void LoadStyleList();

    ADDITIONAL_HTTP_HEADERS m_headers;
    CLangString m_langString;
    bool m_useProxy = false;
    CSafeBuf m_proxyHost; // the effective proxy host (manual setting only)
    CSafeBuf m_supportFolder;
    ICON_ITEM* m_icons = nullptr;
    ICON_ITEM* m_lastIcon = nullptr; // the tail of m_icons, where AddIcon appends
    PLACEHOLDERSSTRUCT* m_placeHolders = nullptr;
};
