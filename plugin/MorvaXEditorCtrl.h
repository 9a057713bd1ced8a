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

#include "base/app/LangString.h"
#include "base/text/SafeBuf.h"
#include "element/services/ControlServices.h"
#include "net/AdditionalHeaders.h"

class CColoringEditor;
class CImage;

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
    // Localization = text trimmed, path macros expanded; texts reloaded.
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
    // SubdocumentTags are fields of CControlServices.
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

    // ---- the markup source view ----
    // The source view (not owned; null until the control makes one).
    CColoringEditor* m_coloringEditor = nullptr;
    // Empties out; then, when the source view exists, its text, with the
    // caret and selection markers when asked. Always true.
    bool GetSourceText(CSafeBuf& out, bool markers);
    // The source view's Validate button: ValidateXMLValue(source text
    // without markers, true).
    void OnScvalidate() override;
    // Whether text is well-formed XML; with show the outcome is shown
    // (source_view/ValidateXml.h).
    bool ValidateXMLValue(const unsigned short* text, bool show);

private:
    void CreateUserFolders();
    void BuildUserAgent();

    ADDITIONAL_HTTP_HEADERS m_headers;
    CLangString m_langString;
    bool m_useProxy = false;
    CSafeBuf m_proxyHost; // the effective proxy host (manual setting only)
    CSafeBuf m_supportFolder;
    ICON_ITEM* m_icons = nullptr;
    ICON_ITEM* m_lastIcon = nullptr; // the tail of m_icons, where AddIcon appends
    PLACEHOLDERSSTRUCT* m_placeHolders = nullptr;
};
