#pragma once
// CControlServices: what the element tree, the styling code and the element
// kinds use of the editor control, and no more. The control
// CMorvaXEditorCtrl (plugin/MorvaXEditorCtrl.h) derives from it; elements
// reach it through their owner (CXHTMLServices::m_control).
//
// The control is the owner of its web requests (CHttpOwner): code below it
// receives it as AsHttpOwner(control), never as a plain control pointer.
//
// The fields listed here live in this class and keep the names of the page
// parameters they come from; the calls are virtual and defined by the
// control.

#include "base/geometry/Rect.h"
#include "base/text/SafeBuf.h"
#include "element/services/ContextMenuEntry.h"
#include "element/services/IconItem.h"
#include "element/services/PlaceHolder.h"
#include "net/HttpOwner.h"

class CColoringEditor;
class CElement;
class CImage;
class CRect;
class CLangString;
namespace qm::ui {
class Menu;
}

class CControlServices : public CHttpOwner
{
public:
    CControlServices(const CControlServices&) = delete;
    CControlServices& operator=(const CControlServices&) = delete;

    // The path of the document cache file for url; true when url now names
    // a cached copy (see CMorvaXEditorCtrl::GetCacheFile).
    virtual bool GetCacheFile(CSafeBuf& url, CSafeBuf& cacheFile) = 0;

    // The icon of the icon set named name, loaded into image when given;
    // size (when given) receives the byte count. The stored bytes, null when
    // there is no such icon.
    virtual unsigned char* GetIconFromIcons(
        const unsigned short* name, int* size, CImage* image, void* context)
        = 0;
    virtual unsigned char* GetIconFromIcons(const char* name, int* size, CImage* image, void* context) = 0;
    // The icon set and the icon definitions, in document order.
    virtual ICON_ITEM* GetIcons() const = 0;
    virtual PLACEHOLDERSSTRUCT* GetPlaceHolders() const = 0;

    // True when ",tag," occurs in a search copy of an element list
    // (case-sensitive). Empty or null tags are never listed.
    static bool IsInElementList(const CSafeBuf& search, const unsigned short* tag);
    // True when the tag is one of the sub-document tags.
    virtual bool IsSubdocumentTag(const unsigned short* tag) const = 0;

    // The proxy switch and the identifier headers sent with every request.
    virtual bool UseProxy() const = 0;
    virtual ADDITIONAL_HTTP_HEADERS& Headers() = 0;

    // The table of interface texts the control owns.
    virtual CLangString& GetLangString() = 0;

    // The markup source view's Validate tool: validates the source view's
    // text as XML and shows the outcome (CMorvaXEditorCtrl::OnScvalidate;
    // the default does nothing).
    virtual void OnScvalidate() { }

    // ---- settings (named after their page parameters) ----
    unsigned char Debug = 0;
    CSafeBuf ProxyServer;
    CSafeBuf ProxyUser;
    CSafeBuf ProxyPassword;
    int ProxyPort = 0;
    // SOAP version of web-service requests: 11 (SOAP 1.1) or 12 (SOAP 1.2).
    int SoapVersion = 12;
    CSafeBuf Namespaces; // extra namespace declarations for custom tags
    CSafeBuf CustomInlineElements;
    CSafeBuf CustomBlockElements;
    CSafeBuf CustomEmptyElements;
    // Search copies: the list without blanks, enclosed in commas
    // (CMorvaXEditorCtrl::SetCustomInlineElements).
    CSafeBuf CustomInlineElementsSearch;
    CSafeBuf CustomBlockElementsSearch;
    CSafeBuf CustomEmptyElementsSearch;
    CSafeBuf SubdocumentTags; // comma-separated sub-document tag names
    // The writer's settings: "rtl" (ASCII case ignored) writes the page
    // frame right to left; EnableTimestamp puts the generator comment with
    // the date and time in front of the written document.
    CSafeBuf Dir{"ltr"};
    unsigned char EnableTimestamp = 1;

    // ---- what the editing engine reads of the control's display ----
    // The defaults describe a control shown in the WYSIWYG view, written left
    // to right, that raises no script events; the control overrides them.
    // Whether the editor may draw (the plug-in window is shown).
    virtual bool CanXEditorDisplay() const { return true; }
    // The view shown: 0 WYSIWYG, 1 source, 2 preview, 3 screen reader.
    int GetViewMode() const { return m_viewMode; }
    // The page's Dir setting ("ltr" or "rtl").
    const CSafeBuf& GetDir() const { return Dir; }
    // Raises the page's tag-list-changed event.
    virtual void DoFireStyleChange() { }

    // ---- the view's state, read by the document's view ----
    // The view shown: 0 WYSIWYG, 1 source, 2 preview, 3 screen reader. The
    // document draws into the window only in the WYSIWYG view.
    int m_viewMode = 0;
    // The window was placed anew and the control's next event has not yet
    // placed its parts: the document draws nothing meanwhile.
    unsigned char m_windowChangePending = 0;
    // The horizontal scroll bar is shown; the editing area is then 15 pixels
    // shorter. The document's scroll-bar update shows and hides it.
    int m_horizontalBarShown = 0;

    // ---- what the editing engine tells the control of its window ----
    // The engine's focus changed (the control's focused flag says how):
    // the control reports it to the page.
    virtual void FocusChanged() { }
    // Shows or hides the horizontal scroll bar (bar is not consulted).
    virtual void ShowScrollBar(int bar, bool show)
    {
        (void)bar;
        m_horizontalBarShown = show ? 1 : 0;
    }

    // ---- what the editing engine's commands ask of the control ----
    // The defaults describe a control without toolbar, page-added menu
    // entries or source view; the control overrides them.
    // Runs the toolbar button with that command (36000 to 37999); false
    // when no button has it.
    virtual bool RunToolbarCommand(unsigned int id)
    {
        (void)id;
        return false;
    }
    // Runs the first toolbar button whose id is name; false when
    // there is none.
    virtual bool RunToolbarButtonById(const char* name)
    {
        (void)name;
        return false;
    }
    // The page's own context-menu entries, first entry first (null: none).
    virtual const CONTEXT_MENU_ENTRY* PageMenuEntries() const { return nullptr; }
    // Raises the context-menu-clicked event with an entry's text.
    virtual void GoFireContextMenuClicked(const unsigned short* text) { (void)text; }
    // Shows the about dialog.
    virtual void AboutBox() { }
    // Empties the temporary folder, then the cache folder.
    virtual void ClearCache() { }
    // The markup source view, null while there is none.
    virtual CColoringEditor* SourceView() const { return nullptr; }
    // ---- what the engine's event routing and edit guard read and set ----
    // The defaults describe a control that has the keyboard focus, shows no
    // pop-up and has seen no text input; the control overrides them.
    // The control has the keyboard focus.
    virtual bool HasKeyboardFocus() const { return true; }
    // A context menu, the style pop-up or the edit guard's message shows:
    // browser events are answered without acting on them.
    virtual bool IsPopupShowing() const { return false; }
    virtual void SetPopupShowing(bool) { }
    // Unicode text input has reached the engine: typed text comes that way
    // from then on, and key-downs are no longer routed.
    virtual bool IsTextInputSeen() const { return false; }
    virtual void SetTextInputSeen() { }
    // Text typed in the source view (its MacUnicodeInput; fixed as there).
    virtual void SourceUnicodeInput(const unsigned short* text, int fixed)
    {
        (void)text;
        (void)fixed;
    }

    // ---- what change notification and the edit buttons use ----
    // The defaults describe a control without toolbar that reports nothing;
    // the control overrides them.
    // The toolbar's buttons found by kind (byKind) or command id: 1 found
    // (and set), 0 not.
    virtual int ToolEnableButton(int kind, unsigned id, bool enable, bool byKind)
    {
        (void)kind, (void)id, (void)enable, (void)byKind;
        return 0;
    }
    virtual int ToolCheckButton(int kind, unsigned id, bool check, bool byKind)
    {
        (void)kind, (void)id, (void)check, (void)byKind;
        return 0;
    }
    virtual int ToolIsButtonEnabled(int kind, unsigned id, bool byKind)
    {
        (void)kind, (void)id, (void)byKind;
        return 0;
    }
    virtual int ToolIsButtonChecked(int kind, unsigned id, bool byKind)
    {
        (void)kind, (void)id, (void)byKind;
        return 0;
    }
    // The document was edited.
    virtual void ValueIsChanged() { }
    // Raises the page's content-changed event.
    virtual void GoFireContentChanged() { }
    // The relay to the source view: message 1 with a source-view command.
    virtual void PostMessage(unsigned msg, unsigned id, unsigned argument)
    {
        (void)msg, (void)id, (void)argument;
    }
    // The class names that float an image right or left (the page's
    // ClassImageFloatRight and ClassImageFloatLeft); empty without a page.
    virtual const CSafeBuf& ImageFloatClass(bool right) const
    {
        (void)right;
        static const CSafeBuf none;
        return none;
    }

    // ---- what the engine's web-service calls ask of the control ----
    // Offered each web-service request (name: its operation) before it is
    // sent; true when the page answered it, its answer in response. The
    // default answers none.
    virtual bool GoFireSOAPCall(const unsigned short* name, CSafeBuf& request, CSafeBuf& response)
    {
        (void)name, (void)request, (void)response;
        return false;
    }

    // ---- what the engine's clipboard reads ----
    // Whether another program's HTML may be pasted as markup (the page's
    // EnablePasteMarkup); the default allows none.
    virtual bool PasteMarkupEnabled() const { return false; }

    // ---- the views the engine's view commands switch to ----
    // The defaults describe a control without views: each does nothing.
    // To the WYSIWYG view, to the source view, the preview and the
    // screen-reader rendering (CMorvaXEditorCtrl::OnXHtml and the others).
    virtual void OnXHtml() { }
    virtual void OnSource() { }
    virtual void OnPreview() { }
    virtual void OnBlind() { }

    // ---- the style drop-list: its items' marks and current row ----
    // Rows are the items' indexes (CMorvaXEditorCtrl::LoadStyleBar). The
    // defaults describe a control without a style drop-list.
    // The toolbar's style buttons checked from the caret or selection.
    virtual void StyleDisplayStyleButton() { }
    // The item of that row becomes the only selected one and the box shows
    // it; a row no item has selects none and empties the box.
    virtual void StyleSetCurSel(int index) { (void)index; }
    // The selected item's row; -1 when none.
    virtual int StyleGetCurSel() { return -1; }
    // The last item's row + 1; 0 without a list.
    virtual int StyleGetCount() { return 0; }
    // Selects the first marked item; nothing when none is marked.
    virtual void StyleSwitchToFirstItem() { }
    // clear 0 marks the item of that row, anything else unmarks it.
    virtual void StyleSetItemMark(int index, int clear) { (void)index, (void)clear; }
    virtual void StyleRemoveMarks() { }
    virtual bool StyleIsTagChecked(int index)
    {
        (void)index;
        return false;
    }
    // The screen rectangle of the first toolbar button of kind (40: the
    // style box); empty when there is none.
    virtual void GetToolButtonPos(unsigned kind, CRect* rect)
    {
        (void)kind;
        if (rect)
            *rect = CRect();
    }

    // ---- the context menu and sub-documents ----
    // The defaults describe a control without toolbar, style drop-list or
    // sub-document service that raises no events.
    // Raises the page's context-menu-activated event.
    virtual void GoFireContextMenuActivated() { }
    // Whether a button of the toolbar's button bars has the id name.
    virtual bool HasToolbarButtonById(const char* name)
    {
        (void)name;
        return false;
    }
    // When the toolbar shows: appends one entry per button of its button
    // bars (gaps left out), in toolbar order, with the button's label and
    // command, checked and enabled as the button is, and answers true.
    virtual bool FillToolbarButtonsMenu(qm::ui::Menu& menu)
    {
        (void)menu;
        return false;
    }
    // Whether the style drop-list shows.
    virtual bool ShowsStyleList() const { return false; }
    // The address of the sub-document service (the page's SubdocumentURL);
    // empty: there is none.
    virtual const CSafeBuf& SubdocumentServiceURL() const
    {
        static const CSafeBuf none;
        return none;
    }

    // ---- the table commands and the table-size picker ----
    // The defaults describe a control without toolbar that asks nobody
    // before a dialog opens; the control overrides them.
    // The flag that, while set, has browser events answered as handled
    // without acting on them (a dialog of the control is open); null: none.
    virtual unsigned char* DialogOpenFlag() { return nullptr; }
    // Asked before a dialog opens on element: 1 cancels, 2 goes on without
    // the dialog, anything else opens it.
    virtual int GoFireDialog(int kind, CElement* element)
    {
        (void)kind, (void)element;
        return 0;
    }

protected:
    CControlServices() = default;
    ~CControlServices() override = default;
};
