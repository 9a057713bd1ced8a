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
#include "base/collections/PtrList.h"
#include "base/geometry/Colour.h"
#include "base/shims/QuickDraw.h"
#include "base/text/SafeBuf.h"
#include "editor/StyleBarItem.h"
#include "element/services/ControlServices.h"
#include "net/AdditionalHeaders.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Runtime.h"
#include "platform/np/Window.h"
#include "plugin/ButtonInfo.h"
#include "plugin/CustToolbar.h"
#include "plugin/ScriptEvents.h"
#include "style/Image.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CColoringEditor;
class CElement;
class CImage;
class CPlugin;
class CPropExchange;
class CXHTML;
typedef struct _xmlNode xmlNode;
typedef struct _xmlDoc xmlDoc;
namespace qm::text {
class Layout;
class Style;
} // namespace qm::text
namespace qm::ui {
class ScrollBar;
}
namespace qm::events {
class Event;
class NextHandler;
} // namespace qm::events

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
    void ClearCache() override;
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
    // which outlives the control; SetWindow has placed it): the engine, the
    // scroll bars, the control's text style, the about picture, the page's
    // style sheets ("default.css" when CSS is empty), the icons, button
    // definitions and toolbars, the source view, the wheel handler, the
    // initial document (LoadInitialDocument); then sets created and shows
    // the initial view (StartInitialView). Answers 0.
    int OnCreate(NPWindow* window);
    // Removes the wheel handler, deletes both scroll bars and frees the bars
    // and the definition list.
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
    void GoFireContentChanged() override;
    void DoFireStyleChange() override;
    void GoFireContextMenuActivated() override;
    // The views by number: 0 "wysiwyg", 1 "source", 2 "preview", 3
    // "screen-reader"; any other number is an empty text.
    void GoFireModeChange(int oldMode, int newMode);
    void GoFireContextMenuClicked(const unsigned short* text) override;
    // Asked before each web-service request whether the page answers it:
    // the page never does, so every request goes to the service (false).
    bool GoFireSOAPCall(const unsigned short* name, CSafeBuf& request, CSafeBuf& response) override;

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
    // The port states BackupPort saved, the latest last: a page function
    // called between a BackupPort and its RestorePort may run a setter
    // with a pair of its own. The clips are owned.
    struct SavedPortState
    {
        GrafPtr port = nullptr;
        Rect bounds{0, 0, 0, 0};
        RgnHandle clip = nullptr;
    };
    std::vector<SavedPortState> m_savedPorts;
    NPWindow* m_pPluginWindow = nullptr; // given to OnCreate
    int m_windowOffsetX = 0;             // of the editing area inside the plug-in window
    int m_windowOffsetY = 0;
    qm::ui::ScrollBar* m_pVScrollBar = nullptr; // the document's
    qm::ui::ScrollBar* m_pHScrollBar = nullptr; // the document's
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

    // ---- the markup source view ----
    // The source view (null until the control makes one in OnCreate).
    CColoringEditor* m_coloringEditor = nullptr;
    // The source view as the engine's commands reach it.
    CColoringEditor* SourceView() const override { return m_coloringEditor; }
    // Clipboard: the page's EnablePasteMarkup.
    bool PasteMarkupEnabled() const override { return EnablePasteMarkup != 0; }
    std::unique_ptr<CColoringEditor> m_sourceView; // the one OnCreate makes
    // Empties out; then, when the source view exists, its text, with the
    // caret and selection markers when asked. Always true.
    bool GetSourceText(CSafeBuf& out, bool markers);
    // The source view's Validate button: ValidateXMLValue(source text
    // without markers, true).
    void OnScvalidate() override;
    // Whether text is well-formed XML; with show the outcome is shown
    // (source_view/ValidateXml.h).
    bool ValidateXMLValue(const unsigned short* text, bool show);

    // ---- toolbar definitions and the about dialog ----
    // The kind of a built-in button name (BuiltInButtonType,
    // plugin/ToolbarDefinitions.h); aliases are rewritten in name.
    static int ButtonType(CSafeBuf& name, bool& toggle, bool = false);
    // Fills the document-defined part of a button from its definition
    // element: "style" (kind 3, the "elt" child and the attributes of the
    // children with a "name"), "button" (kind 2, "toggle" yes), "snippet"
    // (kind 4, "value") and "window" (kind 5, "url"); any other element name
    // keeps the built-in kind.
    void GetButtonDetail(xmlNode* node, const unsigned short* elementName, ButtonInfo* info, bool& toggle);
    // Rebuilds the definition list from every child of the document's root;
    // answers 1.
    int LoadAllButtonInfo();
    // Rebuilds the bars of the current view from its toolbar string (the
    // default string when it is empty); command ids start again at 36000.
    void LoadToolBarFromString();
    static void DeleteButtonInfo(ButtonInfo* info) { FreeButtonInfo(info); }
    void ReleaseButtonInfo();
    // Frees every bar; answers the count left (0).
    int ReleaseToolBar();
    // A new empty button bar with its image list (not yet listed).
    ToolBarStruct* CreateToolbar();
    // Rebuilds the icon set from the Icons document.
    void LoadIcons();
    // Buttons and Icons = text, path macros expanded; Buttons then rebuilds
    // the bars and the definition list (once the control is created), Icons
    // the icon set.
    void SetButtons(const unsigned short* text);
    void SetIcons(const unsigned short* text);
    // Loads a definition document: the text itself when it holds the root
    // start tag rootTag ("<buttons>"; ASCII case ignored); the bundle
    // resource when it is empty; else the named document through the cache
    // or the network (a failed fetch deletes the cache file; a cached copy
    // that does not parse is deleted). A named document that cannot be had
    // gives the resource when fallBack is set, else null.
    // The Buttons document with the texts of the control's language (Lang,
    // "en" when empty) kept: LoadDefinitionDocument falling back to the
    // bundle's "buttons.htm". The caller frees it.
    xmlDoc* LoadButtonDefinitions();
    xmlDoc* LoadDefinitionDocument(
        const CSafeBuf& setting, const char* rootTag, const char* resource, bool fallBack);
    // Fetches a named document with the control's headers and, when its proxy
    // is on, its proxy (else none and port 80), storing it in targetFile
    // when given; localFile receives the path to read.
    bool FetchDocument(const unsigned short* location, CSafeBuf& localFile, const CSafeBuf& targetFile);
    // Shows the about dialog with the current Debug switch; closed with OK,
    // Debug takes the dialog's value.
    void AboutBox() override;
    CSafeBuf Buttons;
    ButtonInfo* m_buttonInfo = nullptr; // the definition list; owned
    CPtrList m_toolBars;                // ToolBarStruct*, owned, in display order

    // ---- events, frame, scroll bars, focus and the form value
    // (MorvaXEditorCtrlView.cpp, MorvaXEditorCtrlBars.cpp, MorvaXEditorCtrlValue.cpp) ----
    //
    // Regions of the plug-in's area, for a point in its local coordinates
    // (width w, height h, toolbar height t): 1 the vertical bar (h from
    // w - 16 to w, v from t + 1 to h - 1), 2 the horizontal bar while shown
    // (h from 1 to w - 16, v from h - 16 to h - 1), 3 the toolbar (v from 1
    // to t), 0 the editing area. The scroll bars are the document's
    // (document/DocScrollBar.h): the control places, shows and hit-tests
    // them, and the engine scrolls through them.
    //
    // One browser event, the port set to the plug-in's window with the
    // point in its local coordinates: 1 when used, 0 when not. A hidden
    // control, or one without a window, answers 0. A press on a bar's arrow
    // or page area scrolls at once and, held, again after more than 500 ms
    // of host time, then whenever more than 49 ms have passed; a press on
    // the thumb starts a drag that null events carry on while the button is
    // held. A Control-press on a bar does not scroll.
    int HandleEvent(void* event);
    // Sends the control an update event (what 6).
    void UpdateWindow();
    // The frame in the border colour around the plug-in's area (with a line
    // under the toolbar when there is one) and the square between the two
    // bars in the background colour, inside the window's clip.
    void OnDraw();
    // Saves the current port and makes the plug-in window's port current
    // with a wide clip and the origin at minus the editing area's position
    // (where the engine draws); RestorePort puts back what the latest
    // BackupPort not yet restored saved. Pairs may nest.
    void BackupPort();
    void RestorePort();
    // Shows or hides the horizontal bar and fits the vertical bar beside it;
    // when the state changed the engine is given its window again.
    void ShowScrollBar(int bar, bool show) override;
    // Reports a change of the focused flag to the page ("qmFocusSet" or
    // "qmFocusLost"), once per change.
    void FocusChanged() override;
    // Re-assigns the engine's window.
    void OnSize(unsigned int type, int cx, int cy);
    void SetFocus() { }
    void AdjustDroplistAndToolbar() { }
    // The bars' live action: the part held scrolls the engine (the thumb
    // with the bar's value) and the bar is shown again. Part 0 does nothing.
    static void VScrollbarUPP(qm::ui::ScrollBar& bar, int part);
    static void HScrollbarUPP(qm::ui::ScrollBar& bar, int part);
    static void VScrollbarThumbUPP(qm::ui::ScrollBar&, int) { }
    // Takes the document's two bars as the control's (the horizontal one
    // hidden), with their action procedures, and installs the mouse-wheel
    // handler on the plug-in window's event target.
    void CreateScrollBars();
    void InstallWheelHandler();
    // Places the control's parts in the plug-in window (the instance's
    // record; w, h its size, t the toolbar height): the toolbar set gets the
    // window, the engine the editing area (x + 1, y + t + 1, w - 17,
    // h - t - 2, 15 less while the horizontal bar shows) with the browser's
    // clip narrowed to it, the source view its area (x + 1, y + t + 1,
    // w - 2, h - t - 2) and clip; then the engine lays the document out
    // again and the next event places the scroll bars. With pageOnly the
    // engine only takes the window's port and a page of w x h; nothing else
    // is placed.
    void SetWindow(NPWindow* window, bool pageOnly = false);
    // The editing area and its clip from the plug-in window and the toolbar
    // height, handed to the engine (its OnSize); SetWindow and the
    // horizontal bar's switch use it.
    void PlaceEditingArea();
    // The record's clip narrowed to its own area, or to the area given (in
    // the port's coordinates), then its left edge moved 1 left and its
    // bottom edge 1 up.
    static void NarrowClip(NPWindow& area);
    static void NarrowClip(NPWindow& record, int left, int top, int right, int bottom);
    NPWindow m_sourceWindow{}; // the source view's window record: its clip is the view's
    // Helpers of HandleEvent: the bars placed in the window (vertical at
    // the right edge below the toolbar, horizontal along the bottom);
    // a bar drawn on the plug-in's port when shown; a press on a bar at a
    // point (an arrow or page area scrolls, the thumb starts a drag); the
    // drag carried on to a point; the engine scrolled by a code.
    void PlaceScrollBars();
    void DrawScrollBar(qm::ui::ScrollBar* bar);
    // The frame and, in the WYSIWYG view, the bars as the document now sets
    // them: after a change made outside an update event (a script write)
    // that may have changed their ranges or shown or hidden a bar.
    void DrawFrameAndBars();
    void PressScrollBar(bool vertical, int h, int v);
    void DragThumb(int h, int v);
    void ScrollEngine(bool vertical, unsigned int code, int value);
    // The engine's event, its point in the editing area's coordinates, with
    // the port's origin at the editing area while the engine works.
    int EngineEvent(const EventRecord& record, int h, int v);
    // With the plug-in's port current: its origin at minus the editing
    // area's position (editingArea) or the plug-in window's.
    void EngineOrigin(bool editingArea);
    // The mouse wheel over the plug-in's clip while the control has the
    // focus: the WYSIWYG view scrolls 10 units (20 pixels) up or down, or 1
    // unit sideways, by the sign of the delta. Otherwise the event goes on
    // to the next handler. Answers 0 (used).
    int MouseWheelMoved(const qm::events::NextHandler& next, qm::events::Event& event);
    // What the engine's text-input handler and edit guard read and set
    // (MorvaXEditorCtrlInput.cpp): the focused, pop-up-showing and
    // text-input-seen flags; text typed in the source view goes to it.
    bool HasKeyboardFocus() const override { return m_focused != 0; }
    bool IsPopupShowing() const override { return m_bPopupShowing != 0; }
    void SetPopupShowing(bool on) override { m_bPopupShowing = on ? 1 : 0; }
    bool IsTextInputSeen() const override { return m_textInputSeen != 0; }
    void SetTextInputSeen() override { m_textInputSeen = 1; }
    void SourceUnicodeInput(const unsigned short* text, int fixed) override;

    // The form value: Value brought up to date from the document (when
    // ready) and copied: a new[] string the caller deletes, null for an
    // empty value (GetValue), or into out (GetValue1).
    unsigned short* GetValue();
    void GetValue1(CSafeBuf& out);
    // Removes the document type declaration from text. Always true.
    bool ConvertAndMark(CSafeBuf& text);
    // In the source view the WYSIWYG document is first loaded from the
    // source text (cleaned when it cleans); when that text does not load,
    // Value is the source text as typed and the document stays as it was.
    // Value becomes the engine's markup in the page's output form: compact
    // unless IndentOutput is other than "Compact" (case ignored), non-ASCII
    // escaped when EscapeUnicode is "yes" or "true"; empty without an
    // engine. Always true.
    bool UpdateValue();
    // The source view's text replaced (markers in it place the caret and
    // selection); nothing without a source view.
    void SetSourceText(CSafeBuf& text);

    // ---- start-up (MorvaXEditorCtrlStart.cpp) ----
    // Loads Value as the first document. Value is cleaned first; markup
    // that does not clean is repaired silently with Options bit 2, else the
    // user is asked (AskAboutInvalidValue): Fix repairs it, Edit (or the
    // box closed without an answer) keeps it as given for the source view,
    // Discard loads it as given. Markup that still does not load is shown
    // as given in the source view after a silent or asked-for repair. True
    // when the editor must start in the source view.
    bool LoadInitialDocument();
    // The "contain errors" question: 2 Fix, 1 Edit, 3 Discard, 0 closed.
    // Fix is the default button; with Options bit 0x2000 Fix cannot be
    // pressed and Edit is the default.
    int AskAboutInvalidValue();
    // Tidy repair of markup that does not clean; with Options bit 0x100 an
    // "&nbsp;" comes out as it went in (TidyValue). RepairMarkup cleans the
    // result with mode 9 as well.
    void TidyValue(CSafeBuf& markup);
    void RepairMarkup(CSafeBuf& markup);
    // The view Mode names (trimmed, lower case), or the source view when
    // sourceForced: its text is then in place already, and only cut, copy
    // and paste are enabled.
    void StartInitialView(bool sourceForced);
    // Of white, black, dark blue, dark red and orange, the colour furthest
    // from background (sum of the channels' differences); the first wins a tie.
    static unsigned long ContrastingTextColor(unsigned long background);
    unsigned long m_textColor = RGB(0, 0, 0); // the control's own text
    // CSS was empty at start-up and holds the built-in "default.css".
    unsigned char m_defaultCSS = 0;

    CSafeBuf IndentOutput{"Compact"}; // "Friendly" or "Compact"
    CSafeBuf EscapeUnicode{"no"};
    NPWindow m_editWindow{};       // the engine's window record: the editing area
    unsigned char m_placeBars = 0; // the next event places the scroll bars
    int m_trackingBar = 0;         // 0 none, 1 the vertical thumb, 2 the horizontal thumb
    int m_trackingStartValue = 0;
    int m_lastTrackingStep = 0;
    qm::qd::Point m_trackingStart{0, 0};
    qm::qd::Point m_trackingLast{0, 0};
    int m_pressCount = 0;              // presses of an arrow or page area while held
    unsigned long m_lastPressTime = 0; // milliseconds (GetTickCount)
    int m_lastRegion = 0;              // of the previous mouse event
    unsigned char m_toolbarPress = 0;  // a press on the toolbar is in progress

    // ---- page parameters and settings (parameters, settings and folders) ----
    // Switch and text settings read by DoPropExchange that the groups above
    // do not hold.
    unsigned char AutoHideToolbar = 0;
    CSafeBuf Styles; // the style drop-list definition: location or inline
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
    // After the rule lists changed: every element styled again, the document
    // laid out and drawn in the editing area.
    void RestyleDocument();
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

    // ---- the toolbar: widget, buttons and commands, style box
    // (CustToolbar.*, MorvaXEditorCtrlButtons.cpp, MorvaXEditorCtrlButtonStates.cpp) ----
    //
    // The toolbar set draws the bars of m_toolBars that ArrangeBars lists in
    // it; a click on it calls HandleButton. Engine commands of buttons go
    // through PostEngineCommand.
    CCustToolbar m_toolbarSet;
    // A button's action by kind: 1 when handled, 0 when refused or when the
    // kind has none. WYSIWYG-only kinds answer 0 in the other views, the
    // source view's tools (35 to 38) outside it. A page button (kind 2) that
    // stays pressed changes its check and reports the state after the
    // change ("on" when it became checked, else "off").
    int HandleButton(ButtonInfo* button);
    // The button of a command id on the button bars; a view button (25 to
    // 28) has its check flipped first. 0 for id 0 or no such button.
    unsigned char ProcessToolbarCommand(long id);
    // WYSIWYG view only: the definition of that name (ASCII case ignored;
    // "numbering" and "bullets" as their main names) handled.
    void CallToolbarButton(const unsigned short* name);
    // Button states, the button found by kind (byKind; kinds below 7 are
    // refused) or by command id on the button bars and the style box, the
    // first match in bar order. 1 found, 0 not.
    int ToolEnableButton(int kind, unsigned id, bool enable, bool byKind) override;
    int ToolCheckButton(int kind, unsigned id, bool check, bool byKind) override;
    int ToolIsButtonEnabled(int kind, unsigned id, bool byKind) override;
    int ToolIsButtonChecked(int kind, unsigned id, bool byKind) override;
    // The first button of a button bar whose text id is name exactly.
    ButtonInfo* FindToolbarButtonFromID(const char* name);
    // The screen rectangle of the first button of kind (empty for kinds below
    // 7 or when there is none).
    void GetToolButtonPos(unsigned kind, CRect* rect) override;
    // Greys (or restores) every button but the view buttons, "expand" and
    // "help"; the look shows at the next paint.
    void ToolEnable(bool enable);
    // Disables the buttons a view cannot use: the source view's tools in the
    // WYSIWYG view (0); in the source view (1) every kind from 7 but
    // "expand", cut to the view buttons and the source tools, with "indent"
    // enabled.
    void CheckButtons(int view);
    // The engine refreshes its buttons (CXHTML::RefreshToolBar); outside the
    // WYSIWYG view the toolbar is then greyed, and in the source view cut,
    // copy and paste enabled again.
    void RefreshToolBar();
    // Rebuilds the bars of the current view (the style box first in the
    // WYSIWYG view), lists them in the toolbar set, takes the toolbar height
    // and checks the current view's button.
    void PrepareToolBar();
    void AdjustBarPosition() { m_toolbarHeight = m_toolbarSet.CalculateHeight(); }
    // The toolbar set lists the button bars when ShowToolbar is on and the
    // style box when ShowStyles is on.
    void ArrangeBars();
    void SetShowToolbar(bool show) { ShowToolbar = show ? 1 : 0; }
    void SetShowStyleDroplist(bool show) { ShowStyles = show ? 1 : 0; }
    void DisplayToolbar(bool) { }
    void SetNewBarSize() { }
    // Views 0 and 1 (engine and created control only): the bars rebuilt for
    // that view, the source view's three toggles and its cut, copy and
    // paste set; then, for every view, CheckButtons.
    void UpdateToolBar(int view);
    void ValueIsChanged() override { }
    // Asked before an element's property dialog opens: 0, it opens.
    int GoFireDialog(int, CElement*) override { return 0; }
    // The engine's relay to the source view: message 1 with 32833 paste,
    // 32832 copy, 32834 cut, 32851 undo, 32889 redo. Anything else is ignored.
    void PostMessage(unsigned msg, unsigned id, unsigned) override;
    // Unchecks the four view buttons and checks the one of kind (-1: the
    // current view's); any other kind leaves them unchecked. Needs the engine.
    void SwitchMainButton(int kind);
    // The style box: a bar of kind 1 with one 160-pixel box (kind 40) whose
    // label shows the current style; its command id is the next style
    // command id.
    ToolBarStruct* CreateStyleBox();
    ToolBarStruct* GetStyleBox(bool = false);
    // The style box button's rectangle; rect unchanged without a style box.
    void GetStyleBoxRect(CRect& rect);
    void SetStyleButtonText(const unsigned short* text);
    // Style buttons (kind 3 with a target) of the button bars: all unchecked;
    // the first whose element name is the element's tag and whose
    // attributes the element has with equal values ("guid" fits any value)
    // checked. True when one fitted.
    void StyleUnckeckStyleButtons();
    bool FindBestButtonStyle(const CElement* element);
    // Engine commands of buttons: posted to the engine's command table
    // (message 1); answers 1.
    virtual int PostEngineCommand(unsigned id);
    // The engine's road to the buttons (its commands 36000 to 37999 and the
    // help command).
    bool RunToolbarCommand(unsigned int id) override;
    bool RunToolbarButtonById(const char* name) override;
    // The page's float classes for the engine's float commands.
    const CSafeBuf& ImageFloatClass(bool right) const override
    {
        return right ? ClassImageFloatRight : ClassImageFloatLeft;
    }

    // ---- the script interface (MorvaXEditorCtrlScript.cpp, MorvaXEditorCtrlProps.cpp) ----
    //
    // Page script's calls on the scriptable object (plugin/ScriptObject.h).
    // A name is matched against the method or property list without regard
    // to ASCII case, the first equal name winning; an integer identifier
    // matches nothing. Has-method and has-property answer whether the name
    // is listed. Invoke runs a listed method and answers true (false, the
    // result untouched, for any other name). Get answers true for any name,
    // the result left as the browser set it for an unknown one. Set answers
    // false for the read-only Version, SelectedText, SelectedXML, TagList
    // and TagListXML, which change nothing; true for every other name
    // (Path, QPath and unknown names change nothing). An empty text is
    // answered as the empty string, never as void.
    bool Mozilla_HasMethod(NPIdentifier name);
    bool Mozilla_Invoke(NPIdentifier name, const NPVariant* args, std::uint32_t count, NPVariant* result);
    bool Mozilla_HasProperty(NPIdentifier name);
    bool Mozilla_GetProperty(NPIdentifier name, NPVariant* result);
    bool Mozilla_SetProperty(NPIdentifier name, const NPVariant* value);
    // The index of name among count names (ASCII case ignored); -1 when
    // none is equal or name is empty.
    static int MatchScriptName(const CSafeBuf& name, const char* const* names, int count);
    // The index of a property's name in the property list; -1 for none.
    static int FindScriptProperty(NPIdentifier name);
    // A property write by its index, with the text and number of the value
    // given (a switch is on when number is not 0).
    void SetScriptProperty(int property, const CSafeBuf& text, int number);
    // Placeholders = text with its path macros expanded; the place-holder
    // definitions are loaded again.
    void SetPlaceHolders(const unsigned short* text);

    // Members of the control's other parts that the script interface
    // calls. Texts answered as unsigned short* are new[] strings the caller
    // deletes (null for an empty text).
    unsigned short* CurrentStyles();
    void ApplyStyleXML(const unsigned short* xml);
    void ApplyStyleID(const unsigned short* id);
    void LoadPlaceHolders();
    // ---- the document's value exchanged with the page
    // (MorvaXEditorCtrlExchange*.cpp) ----
    //
    // Ready: the engine exists and the control is created. Every operation
    // but SetValue does nothing (or gives empty text) before that.
    bool IsXHTMLValid() const { return m_pXHTML && m_created; }
    // Value = text (null: empty). Before the control is created the text is
    // cleaned when it cleans and loaded; OnCreate loads Value again. Once
    // ready: the document type declaration goes, the text is cleaned and
    // loaded; markup that does not load is repaired silently with Options
    // bit 2, else the user is asked (AskAboutInvalidValue): Fix repairs it,
    // Edit shows it as given in the source view, Discard keeps the document
    // as it was, a closed box empties Value. Markup that still does not load
    // is shown as given in the source view. Otherwise the source view gets
    // the document's markup and a preview or screen-reader rendering is made
    // again. Then the undo and redo lists are emptied and the document's
    // markup becomes the markup last reported to the page, which hears of
    // the first edit that changes it ("qmContentChanged").
    void SetValue(const unsigned short* text);
    // markers 0: UpdateValue, then Value. Otherwise the markup with the caret
    // and selection markers: the source view's text in the source view, the
    // document's indented markup in the others.
    void GetEditorValue(CSafeBuf& out, int markers);
    // text repaired (Tidy, then cleaning with mode 9) with the control's
    // engine, or a temporary one without it; empty when the result is not
    // well-formed. The document does not change.
    void Fix(const unsigned short* text, CSafeBuf& out);
    unsigned short* Fix(const unsigned short* text);
    // Ready and text not null. WYSIWYG view: the selection removed, then the
    // markup (cleaned with mode 0) or the plain text inserted at the caret,
    // the document laid out and drawn and the change reported (an undo step).
    // Source view: the text unchanged at the source caret. Nothing in the
    // renderings.
    void InsertXML(const unsigned short* text);
    void InsertText(const unsigned short* text);
    // Ready, no argument null and the path (the form QPath gives) finds an
    // element: the attribute set (an empty value removes it), the element's
    // style computed again, the document laid out, drawn and the change
    // reported. Any view: the WYSIWYG document is the one changed.
    void SetAttribute(const unsigned short* path, const unsigned short* name, const unsigned short* value);
    void RemoveAttribute(const unsigned short* path, const unsigned short* name);
    // WYSIWYG view and ready, else empty: the selection as markup, as plain
    // text; the tag list around the caret or selection as names ("body,p"),
    // as XML, as a path ("/body/p") and as an indexed path ("/body[1]/p[2]").
    void GetSelectedXML(CSafeBuf& out);
    void GetSelectedText(CSafeBuf& out);
    void GetTagList(CSafeBuf& out);
    void GetTagListXML(CSafeBuf& out);
    void GetPath(CSafeBuf& out);
    void GetQPath(CSafeBuf& out);
    // The text trimmed, then one leading "<", one leading "*", one leading
    // "." and one trailing ">" removed, in that order.
    static void ValidateTag(CSafeBuf& name);
    // Cut, copy and paste of the source view (nothing without one).
    void OnCopy();
    void OnCut();
    void OnPaste();
    // Page-added context-menu entries, in the order added: the first gets
    // command id 38000, each next one more than the last. Nothing for a
    // null or empty name or a null label; third may be null. Each text is
    // cut to 99 units (never inside a surrogate pair).
    void AddToContextMenu(
        const unsigned short* name, const unsigned short* label, const unsigned short* third);
    void ClearContextMenu();
    const CONTEXT_MENU_ENTRY* PageMenuEntries() const override { return m_customMenu; }
    static constexpr int kMenuTextRoom = 99;
    static constexpr unsigned kFirstMenuCommand = 38000;
    CONTEXT_MENU_ENTRY* m_customMenu = nullptr; // owned, in the order added
    // The repair of markup failed: the correct-manually alert.
    void ShowRepairFailed();

    // ---- views and renderings (MorvaXEditorCtrlViews*.cpp) ----
    // The control shows the document in the WYSIWYG view (view mode 0) or
    // the source view (1). The preview (2) and the screen-reader view (3)
    // are renderings: the document's page made by an XSLT style sheet,
    // written to a file of the temporary folder and shown in a modal preview
    // window; the view mode stays as it was. Every switch raises
    // "qmModeChanged" with the old and the new view's name.
    //
    // Mode = text trimmed and lower-cased; once the control is created,
    // "wysiwyg", "source", "preview" or "screen-reader" switches (when that
    // view is not shown); any other text is only stored.
    void SetMode(const unsigned short* text);
    // The current view's name (empty for a view mode outside 0 to 3): new[]
    // string the caller deletes, or into out.
    unsigned short* GetMode();
    void GetMode(CSafeBuf& out);
    // To the source view: the document's indented markup with the caret
    // and selection markers, the source toolbar, a fresh source undo.
    void OnSource() override;
    // To the WYSIWYG view; nothing when leaving the source view is refused.
    void OnXHtml() override;
    // Leaving the source view: Value becomes the source text (with the
    // markers when asked); text that does not clean asks the user (Fix,
    // Edit, Discard; Edit is the default, and Options bit 0x2000 disables
    // Fix), and the chosen markup is loaded into the engine. A text that
    // still does not load leaves the WYSIWYG document as it was. 1 when the
    // user keeps the source view, else 0 (also outside the source view).
    int SwitchFromSource(bool markers);
    // The preview and the screen-reader rendering, each shown modally.
    void OnPreview() override;
    void OnBlind() override;
    // Writes html (UTF-16 with a byte order mark, machine order) to a new
    // file "Ie<engine><date and time><random><thread>.html" of the temporary
    // folder, never over a file already there, and shows it in the preview
    // window, titled with the text of the toolbar button of kind (26
    // preview, 28 screen reader). A file that cannot be written leaves the
    // window empty. The path of the last file written is kept.
    void DisplayPreview(CSafeBuf& html, int kind);
    // The built-in style sheets ("screenreader.xsl", "preview.xsl") become
    // the ones in use; loading the screen-reader sheet clears its failure
    // flag.
    void LoadDefaultXSLT();
    void LoadDefaultPreviewXSLT();
    // The setting = text trimmed, path macros expanded. Empty: the built-in
    // sheet again. Text holding "</xsl:stylesheet>" is the sheet itself;
    // otherwise it names a document, fetched through the cache. A document
    // that cannot be had gives the text "Can not load XSLT document " and
    // the setting (the screen-reader view then shows that text).
    void SetScreenReaderXSLT(const unsigned short* text);
    void SetPreviewXSLT(const unsigned short* text);
    // What page script may read of the sheets: the built-in or inline sheet
    // in use; a named document's content only when it and the address that
    // answered have the page's origin; otherwise the setting's text (a local
    // file, another origin). new[] strings the caller deletes, or into out.
    unsigned short* GetScreenReaderXSLT();
    unsigned short* GetPreviewXSLT();
    void GetScreenReaderXSLT(CSafeBuf& out);
    void GetPreviewXSLT(CSafeBuf& out);
    // Set while a dialog of the control runs (the preview window): browser
    // events are answered as handled without acting on them.
    unsigned char m_dialogOpen = 0;
    unsigned char* DialogOpenFlag() override { return &m_dialogOpen; }
    // The named style sheet in use came from the page's origin.
    unsigned char m_screenReaderXSLTReadable = 0;
    unsigned char m_previewXSLTReadable = 0;
    // The file DisplayPreview wrote last; empty when none could be written.
    CSafeBuf m_lastPreviewFile;

    // ---- the style drop-list and place holders (MorvaXEditorCtrlStyles.cpp,
    // MorvaXEditorCtrlPlaceHolders.cpp) ----
    //
    // The list (m_styleItems, owned; the engine holds the same head) starts
    // with the "None" item (row 0, command 34000), then the page's styles
    // (plugin/StyleDocument.h), numbered with a row for each group heading
    // and for the separator after a group. Command ids restart at 34000 with
    // every load; the style box takes the next one when it is made.
    //
    // Rebuilds the list from Styles: inline when it holds "<styles>" (ASCII
    // case ignored), the bundle's "styles.xml" when empty, else the named
    // document through the cache. A document that cannot be had or read
    // leaves only "None". Answers 1.
    int LoadStyleBar();
    // LoadStyleBar; the engine takes the new head and the box is emptied.
    void UpdateStyleBars();
    // The item state operations of the drop-list (CControlServices).
    void StyleDisplayStyleButton() override;
    void StyleSetCurSel(int index) override;
    int StyleGetCurSel() override;
    int StyleGetCount() override;
    void StyleSwitchToFirstItem() override;
    void StyleSetItemMark(int index, int clear) override;
    void StyleRemoveMarks() override;
    bool StyleIsTagChecked(int index) override;
    STYLE_BAR_ITEM* m_styleItems = nullptr;
    // ---- the context menu and sub-documents (MorvaXEditorCtrlContextMenu.cpp) ----
    // The toolbar's buttons and the style drop-list as the context menu's
    // toolbar submenus offer them (CControlServices).
    bool HasToolbarButtonById(const char* name) override;
    bool FillToolbarButtonsMenu(qm::ui::Menu& menu) override;
    bool ShowsStyleList() const override { return ShowStyles != 0; }
    // The sub-document service's address: the page's SubdocumentURL.
    const CSafeBuf& SubdocumentServiceURL() const override { return SubdocumentURL; }

private:
    // The place-holder definitions of the built-in elements, appended after
    // those of the Placeholders document.
    void AddBuiltInPlaceHolders(PLACEHOLDERSSTRUCT*& last);

    // The page's insertion at the caret: the source view takes the text as
    // it is (false); in WYSIWYG the port is made current and the selection
    // removed (true). EndPageInsert shows the result, reports the change and
    // restores the port.
    bool BeginPageInsert(const unsigned short* text);
    void EndPageInsert();
    // The button of a state operation; null when refused or not found.
    ButtonInfo* FindStateButton(int kind, unsigned id, bool byKind, ToolBarStruct** bar = nullptr);
    int HandlePageButton(ButtonInfo* button);
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

    ADDITIONAL_HTTP_HEADERS m_headers;
    CLangString m_langString;
    bool m_useProxy = false;
    CSafeBuf m_proxyHost; // the effective proxy host (manual setting only)
    CSafeBuf m_supportFolder;
    ICON_ITEM* m_icons = nullptr;
    ICON_ITEM* m_lastIcon = nullptr; // the tail of m_icons, where AddIcon appends
    PLACEHOLDERSSTRUCT* m_placeHolders = nullptr;
};
