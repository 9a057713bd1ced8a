#pragma once
// CXHTML: the editing engine, one per control. It holds the document by value
// and is every element's owner: an element passes its owner on to the
// elements it creates and reaches the document (m_doc) and the control
// (m_control) through it.
//
// What the element tree, styling and element kinds use of the engine (its
// settings for images and line breaks, the key-refused flag, the message box
// and the help-tag and tag-box hooks) is declared by CXHTMLServices
// (element/services/XHTMLServices.h), from which the engine derives; those
// fields live there. Event routing, commands and the rest are added here by
// the code that builds them.

#include "base/collections/PtrList.h"
#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"
#include "document/XDoc.h"
#include "editor/BorrowedElement.h"
#include "element/services/XHTMLServices.h"
#include "platform/dnd/DragSession.h"
#include "platform/events/EventLoopTimer.h"
#include "platform/events/EventTarget.h"
#include "source_view/DragToken.h"
#include "style/records/ElementStyle.h"

#include <cstdint>
#include <optional>
#include <vector>

struct ADDITIONAL_HTTP_HEADERS;
struct EventRecord;
struct NPWindow;
struct _xmlDoc;
struct _xmlNode;
struct STYLE_BAR_ITEM;
class CElement;
class CSrcElement;
class CXPrpEditorDlg;
class TWindow;
namespace qm::cg {
class Context;
}
namespace qm::ui {
class Menu;
}
class CStringList;

// The engine's document. It is a base of CXHTML ahead of CXHTMLServices so
// that it is made before the services' reference to it is bound.
struct CXHTMLDocument
{
    CXDoc m_doc;
};

class CXHTML : private CXHTMLDocument, public CXHTMLServices
{
public:
    // Image display 1 (graphic), no paste point (x -1), the five option
    // lists copied from the built-in tables, the marker style's two colours
    // grey; everything else 0 or empty; the document's owner is this engine.
    CXHTML();
    // Removes what Init installed (a timer must not fire into a destroyed
    // engine), deletes the find dialog and the table-size picker, frees the
    // option lists, class names, dialog buffers, service descriptions and
    // owned records, then destroys the element tree: its elements reach the
    // document through CXHTMLServices, which goes before the document does.
    ~CXHTML() override;
    CXHTML(const CXHTML&) = delete;
    CXHTML& operator=(const CXHTML&) = delete;

    // ---- start and stop (XHTMLInit.cpp) ----
    // Sets the arrow pointer; installs the 0.1-second timer (first firing at
    // once, on the host's next advance of the clock), the drag tracking and
    // receive handlers on the window of the plug-in's port (none without a
    // window), and the text-input handler on the application; gives the
    // document its generic font families (SetGenericFontFamilies) and runs
    // its SysInit. Called again, it first removes what it installed before.
    void Init();
    // Removes the timer and the handlers and clears their references; after
    // it nothing fires. Harmless when nothing is installed.
    void UnInit();
    // The document's owner is this engine; its window rectangle becomes its
    // view rectangle with the right edge at left plus the exact view width;
    // the root gets that rectangle and the document is laid out and painted.
    void AssignWnd();
    // Empties a list of service descriptions (SERVICE_DESCRIPTION,
    // editor/ServiceDescription.h): each record with its two chains. 0.
    int ReleaseService(CPtrList* list);

    // ---- the timer and the caret (XHTMLTimer.cpp) ----
    // The timer's procedure: with the plug-in's port current (origin at minus
    // the window's position, BackupOldPort) it runs OnTimer(1), then restores
    // the port. engine is the CXHTML.
    static void MacTimer(qm::events::EventLoopTimerRef timer, void* engine);
    // One tick: a property page waiting for focus gets it (SetNewFocus) and
    // m_focusPage is cleared. The
    // rest only while the control can display the editor: every fifth tick
    // the caret phase flips and the caret is drawn, when the caret is on and
    // the WYSIWYG view shows; then the pending automatic-scroll request (one
    // made while the editor cannot display waits) is taken and handed to
    // ScrollStep.
    void OnTimer(unsigned int id);
    // Draws or erases the caret in the window by its phase, while the
    // control can display the editor and the window has a live port.
    void DisplayCursor();
    // With nothing selected: the caret on, in its erased phase, so that the
    // next blink draws it.
    void ForceHaveFocus();

    // ---- small operations and forwarders (XHTMLSmall.cpp) ----
    // Gives a property page its right-to-left layout when PagesRightToLeft.
    void SetPrpDlg(CXPrpEditorDlg* page);
    // The control's Dir is "rtl" (any case): property pages are laid out
    // right to left.
    bool PagesRightToLeft() const;
    // The control shows the WYSIWYG view (false without a control).
    bool IsWindowVisible() const;
    // The caret element is in the tree and lies under an img element.
    bool IsCursorInImage() const;
    // The control raises its tag-list-changed event.
    void DoFireStyleChange();
    // Show a help tag with text at point in the editor's window, and hide
    // it: the document's DisplayTooltip and HideTooltip.
    void DisplayTooltip(CPoint point, const unsigned short* text, bool left) override;
    void HideTooltip(bool) override;
    // The scroll bars (bar 1 horizontal, any other the vertical bar; the
    // document holds them and the control shows them): SetScrollRange sets
    // the range (1), SetScrollPos the position held in the range (the
    // previous position), ShowScrollBar asks the control to show or hide
    // the bar (1).
    int SetScrollRange(int bar, int minimum, int maximum);
    int SetScrollPos(int bar, int position);
    int ShowScrollBar(int bar, bool show);
    // Empty on this platform.
    void WriteExcpInfo(const char*) { }
    void WriteExcpInfo(const unsigned short*) { }
    void SetFocus() { }
    void OnFontcolor() { }
    void OnFontunderline() { }
    void OnDropdown() { }
    void SetFontButton() { }
    void SetAlignButton() { }
    void SetFocusForMozilla() { }
    void DisableSubMenu() { }

    // A modal message box: the title from "message-box/title-operation-failed"
    // (default "Operation failed"), the button from "message-box/button-ok"
    // (default "OK") and the text found under key, all from the language
    // table. The English defaults are those of EnglishText (editor/
    // EnglishTexts.h); a key without one shows "The operation failed.".
    // Without a language table the defaults are shown.
    void DisplayMessageBox(const unsigned short* key);
    void DisplayMessageBox(const char* key) override;

    // Refreshes the style drop-list around the caret (XHTMLTagBox.cpp).
    void DisplayTagBox() override;

    // The source view's Indent: the text read into a markup tree (as a whole
    // document, or else as the content of a body) and written back indented.
    bool IndentMarkup(const unsigned short* text, CSafeBuf& out) override;

    // Cleans markup from outside the editor: CXDoc::CleanXHTML.
    bool CleanXHTML(CSafeBuf& markup, int mode) { return m_doc.CleanXHTML(markup, mode); }

    // ---- loading and writing the document (XHTMLLoad.cpp) ----
    // Loads markup into the document and places the caret: where the markup
    // put it, else on the first text run, else on the last element that has
    // no content of its own (an image, a rule), at offset 0. Answers what the
    // document's loader answered; a failure after the load keeps that answer.
    bool LoadDocument(const unsigned short* markup);
    // The document's markup in an output mode (out cleared first); the
    // document's tidy pass runs unless mode has bit 8 (value 8).
    void GetSourceCode(CSafeBuf& out, int mode);
    // ---- Markup repair through HTML Tidy (XHTMLTidy.cpp) ----
    // Repairs markup with HTML Tidy and puts its XHTML back into markup.
    // Before Tidy the table's named character references become characters
    // (TidyMarkup.h; the five of markup stay), and with xmlInput Tidy reads
    // XML, the text wrapped in "<html><body>" and "</body></html>" when it
    // holds no body start tag. Tidy parses source instead of markup when one
    // is given (UTF-8). What Tidy wrote, without processing instructions,
    // becomes markup: wrapped in exactly "<html><body>" and "</body></html>"
    // when the text held a body start tag (a fragment comes back as body
    // content), and with xmlInput stripped of the tags put around it. Then,
    // in every case, marked sections other than CDATA go and "file:///"
    // leaves the values of address attributes. False when Tidy wrote nothing
    // or could not run (more than about half a million start tags, or
    // elements nested more than 1024 deep as an HTML reader closes them):
    // markup is then as the steps before Tidy and those two passes left it. False
    // too when memory runs out, markup holding what had been done to it.
    // With keepHead, a whole document's head and its body's attributes come
    // back too, as Tidy repaired them ("<html><head>...</head><body
    // class=...>...</body></html>"): the page's value keeps its title, links
    // and the body's class. A fragment whose style elements Tidy moved
    // into the head comes back the same way, with a head holding only them,
    // since the document takes a head's style sheet only, and server pages'
    // sections ("<% %>") that lead it are kept in front of its content.
    // Content pasted or inserted never asks for it. A fragment's leading
    // scripts and noscript elements are kept in front of its content always.
    static bool ValidateXML(
        CSafeBuf& markup, const char* source = nullptr, bool xmlInput = false, bool keepHead = false);
    // Cuts line breaks (CR, LF) off both ends and turns every run of
    // blanks, CRs and LFs inside into one blank; tabs and blanks at the
    // ends stay.
    static void ConvertCRLFToSpace(CSafeBuf& text);

    // ---- browser events: painting, size, scrolling, focus (XHTMLEvents.cpp) ----
    // Routes one browser event record (an EventRecord, its point in the
    // editing area's coordinates): null events, presses, releases and keys
    // as described with the pointer below; update paints (OnPaint),
    // activate is taken and does nothing, focus gained and lost go to
    // OnSetFocus and OnKillFocus. Each answers 1, but a Control-press
    // answers 0; every other kind answers 0.
    bool HandleEvent(void* event);
    // Copies the document's rows into the window's port over the view, inside
    // the window's clip (CXDoc::Draw); a failure leaves the window as it is.
    void OnPaint();
    // The document takes the window's port and clip (in the editing area's
    // coordinates), its view rectangle (0, 0, width rounded up to 8, height)
    // and exact view width, and is resized to (0, 0, width, height). Nothing
    // without a window record.
    void OnSize(unsigned int type = 0, int cx = 0, int cy = 0);
    // Scroll actions (one bar unit is 2 pixels): 1 and 2 to position, 3 the
    // far end, 4 +10, 5 -10, 6 + half the view height, 7 - half of it, 8 the
    // top (vertical); 9 the far end, 10 the left, 11 -1, 12 +1, 13 - half
    // the view width, 14 + half of it (horizontal); other actions keep the
    // value. The value is held in the bar's range, the document's offset on
    // that axis becomes twice it and the view is drawn again. The vertical
    // bar does nothing while its range is disabled (both ends negative).
    void OnVScroll(unsigned int action, unsigned int position, void* bar = nullptr);
    void OnHScroll(unsigned int action, unsigned int position, void* bar = nullptr);
    // Focus gained: tells the control; the caret's state saved at the last
    // loss comes back when its element is still in the tree, and with
    // nothing selected it is drawn at once.
    void OnSetFocus(void* window = nullptr);
    // Focus lost: tells the control; saves the caret's state, erases it and
    // switches it off.
    void OnKillFocus(void* window = nullptr);

    // ---- commands, messages, find, saving linked files, property dialogs ----
    // The command table (XHTMLCommands.cpp). Message 1 runs the command id at
    // once; message 1100 (the table-size picker closed with a size) inserts
    // the table (OnDrawTable(id, argument)) and then looks id up as message 1
    // does; any other message is ignored. Bands: 38000 and up the page's own
    // context-menu entries (the first entry of that number raises the
    // context-menu-clicked event), 36000 to 37999 the control's toolbar
    // buttons, 34000 to 35999 style drop-list entries, else the table; an id
    // the table does not list does nothing.
    void PostMessage(unsigned int message, unsigned int id, unsigned int argument);
    // How a command of the table is carried out: a member without arguments,
    // or one of the members that take the command's codes.
    enum class CommandCall
    {
        kMember,      // (engine.*member)()
        kList,        // DoList(caret element, code, false, true)
        kModifyAlign, // ModifyAlign(caret element, code, false, true)
        kAlignTable,  // DoAlignTable(code, scope)
        kDataTable,   // InsertDataTable(code, scope)
        kFontButton,  // DoFontButton(code, none)
        kAbout,       // the control's about dialog
        kSelectAll    // selects the whole document
    };
    struct CommandEntry
    {
        unsigned int id;
        CommandCall call;
        void (CXHTML::*member)();
        int code;
        int scope;
    };
    // The table's entry for id, null when it lists none.
    static const CommandEntry* FindCommand(unsigned int id);
    // Command 32891: the source view's find dialog in the source view,
    // otherwise the engine's (DoFindReplace(true)).
    void OnFindReplace();
    // Command 32884: with nothing selected the caret is switched on in its
    // erased phase (drawn at the next blink).
    void OnExpand();

    // Messages and small commands (XHTMLMessages.cpp, XHTML.cpp).
    // One message box for each upload error bit set, in the order 2 (size
    // limit), 1 (type), 4 (location), 8 (object name), 16 (no service), 32
    // (upload failed). True when any was set.
    static bool DisplayUploadErrorMsg(CXHTML* engine, int flags);
    // The About menu item's text in the control's language ("About" for
    // languages without their own).
    void GetAboutText(CSafeBuf& out) const;
    // Command 32949: runs the toolbar button whose id is "help", when there
    // is one.
    void OnHelp();
    // Command 32868: the context element, an img whose picture is loaded,
    // gets the picture's own width and height; laid out, drawn, notified.
    void OnPopupReset();
    // The class row (Options bit 131072: an editable list of the class names
    // of the document's rules that fit element, each once, at most 99) and
    // the id row (bit 262144) of a property page; nothing without bit 512.
    void AddClassPrp(CXPrpEditorDlg* page, CElement* element);
    // Do nothing on this platform.
    void OnBlockquote() { }
    void OnUnblockquote() { }

    // Find and replace (XHTMLFind.cpp). Opens the find dialog on the find or
    // the replace page, searching from the caret; a selection becomes the
    // text to find. Opened again while open, the one dialog comes forward.
    void DoFindReplace(bool replace);
    // The document is being replaced: an open find dialog's next search
    // starts at the caret of the new one, no longer where the last match
    // stood in the old one.
    void RestartFind();

    // Saving the file behind an element (XHTMLSaveAs.cpp). Command 32953:
    // the context element's src; command 32956: its href. The file is
    // fetched, the user picks where to save it and it is copied there; a
    // failure to write is shown and an existing file stays as it was.
    void OnSaveAs();
    void OnSaveFile();
    // The file name offered for a file fetched from url whose bytes are
    // bytes: the URL's last segment (query and fragment dropped, escapes
    // decoded); with a picture (src) whose extension is not a picture's,
    // "Image." and the type its bytes show. Never empty, never holds "/".
    static void SuggestedFileName(
        const unsigned short* url, const unsigned char* bytes, long size, bool picture, CSafeBuf& out);

    // Network commands (XHTMLNetwork.cpp). Command 32908 empties the
    // temporary and cache folders; 32844 and 32855 tell the user that the
    // spelling and directory services are not available.
    void OnClearPrivate();
    void OnSpellcheck();
    void OnDirectory();

    // Element property dialogs (XHTMLProperties.cpp). Each runs a property
    // page over the element; OK writes the page's attributes (an empty value
    // removes one), re-styles, lays out, draws and notifies; Cancel changes
    // nothing. True on OK.
    bool DoProperty();
    bool DoCommonPrp(CElement* element);
    bool DoHREFPrp(CElement* a, bool insert);
    bool DoImgPrp(CElement* img, int insert);
    bool DoDefListPrp(CElement* list, bool flag);
    // The table's dialog, preset with the given values (negative: the
    // table's own). OK sets border, cellspacing and cellpadding and reshapes
    // the table to rows x cols: new rows align="left" valign="top", new cells
    // td holding one no-break space; headerRow makes the first row's cells
    // th; dataTable offers a summary and a caption (yes adds an empty one, no
    // removes it) and gives the headers their ids.
    bool DoTablePrp(CElement* table, int rows, int cols, int border, int cellspacing, int cellpadding,
        bool dataTable, bool headerRow);
    // The property commands of the command table.
    void OnInsertimg();
    void OnInserthref();
    void OnEditlink();
    void OnAttach();
    void OnTableprp();
    void OnTrprp();
    void OnTdprp();
    void OnColumnprp();
    void OnLListPrp();
    void OnLItemPrp();
    void OnDListPrp();
    void OnDTermPrp();

    // Members of later work that the commands call; they do nothing yet
    // (XHTMLPending.cpp).
    void NotifyChange(bool force);
    bool ReplaceText(const unsigned short* replacement, bool redraw);
    // ReplaceText without the change notice and its undo snapshot, for
    // replacements made in a row that end with one notice (replace all).
    // True when a selected text run took the replacement.
    bool ReplaceSelectedText(const unsigned short* replacement, bool redraw);
    void StyleItemChanged(unsigned int id);
    void OnDrawTable(unsigned int kind, unsigned int size);
    void OnSource();
    void OnPreview();
    void OnBlind();
    void OnWysiwyg();
    void OnInserttable();
    void OnInserthr();
    void OnInsertrow();
    void OnInsertcol();
    void OnRemoverow();
    void OnRemovecol();
    void OnFontbold();
    void OnFontitalic();
    void OnRemovelink();
    void OnInsertcolbefore();
    void OnInsertrowabove();
    void OnMergecells();
    void OnSplitcell();
    void OnMoveleft();
    void OnMoveright();
    void ModifyAlign(CElement* element, int code, bool, bool);
    void OnHeading();
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnUndo();
    void OnRedo();
    void DoFontButton(int code, STYLE_BAR_ITEM* item);
    void OnRemovetable();
    void OnDelete();
    void DoAlignTable(int code, int scope);
    void OnSelecttable();
    void OnSelectrow();
    void OnSelectcol();
    void OnTab();
    void OnShifttab();
    void InsertDataTable(int rows, int cols);
    void OnSetcolheaders();
    void OnSetrowheaders();
    void OnConvertitoem();
    void OnConvertbtostrong();
    void OnFloatimageright();
    void OnFloatimageleft();
    void OnImageTypeGrap();
    void OnImageTypeText();
    void OnImageTypeOutline();
    void OnJImageTypeGrap();
    void OnJImageTypeText();
    void OnJImageTypeOutline();
    void OnSelectImage();
    void PopupStyleMenu();
    void OnDrawLTable();
    void OnDrawDTable();
    void OnTagslist();
    void OnResettable();
    void OnLInsertIAbove();
    void OnLInsertIBelow();
    void OnLMoveIUp();
    void OnLMoveIDown();
    void OnLSelectList();
    void OnLSelectItem();
    void OnLDeleteList();
    void OnLDeleteItem();
    void OnDInsertIAbove();
    void OnDInsertIBelow();
    void OnDInsertTAbove();
    void OnDInsertTBelow();
    void OnDInsertDAbove();
    void OnDInsertDBelow();
    void OnDMoveIUp();
    void OnDMoveIDown();
    void OnDMoveTUp();
    void OnDMoveTDown();
    void OnDSelectList();
    void OnDSelectItem();
    void OnDSelectTerm();
    void OnDDeleteList();
    void OnDDeleteItem();
    void OnDDeleteTerm();
    void OnDSort();
    void OnIndent();
    void OnDefList();
    void OnChangeList();
    // ---- the pointer, keys and text input (XHTMLPointer.cpp, XHTMLKeys.cpp) ----
    // HandleEvent also routes the pointer and keys: a null event tracks the
    // pointer (a move when it moved inside the window, a release the
    // platform saw, the automatic-scroll request while the button is held
    // outside); a press is a double click when it comes at the same point at
    // most 499 ms after the last single press, and a Control-press opens the
    // context menu and answers 0; a release goes to OnLButtonUp; a key-down
    // or auto-key is translated (TranslateKey) and typed through OnChar.
    //
    // A press (flags not 0: a real one) in the document: within 500 ms of a
    // word selected by double click it selects the caret's paragraph; else
    // the document places the caret (Shift extends the selection from the
    // previous anchor), the edit buttons follow and an undo snapshot may be
    // taken. The button counts as held afterwards, even after a failure.
    void OnLButtonDown(unsigned int flags, CPoint point);
    // OnLButtonDown without the paragraph test and the button held: a press
    // that a command simulates to place the caret.
    void ActAsLButDown(unsigned int flags, CPoint point);
    // The release: the document's OnLButtonUp, then the button is up.
    void OnLButtonUp(unsigned int flags, CPoint point);
    // A move (flags 2: the button is held; without it a held button counts
    // as released): the document's MouseMove and the edit buttons.
    void OnMouseMove(unsigned int flags, CPoint point);
    // A double click: the word under the caret in a text run (nothing on a
    // separator with no word start), the whole link in a link, else the
    // element's property dialog (none for a row group).
    void OnLButtonDblClk(unsigned int flags, CPoint point);
    // Selects every element under the root and shows it.
    void SelectAll();
    void OnSelectall() { SelectAll(); }
    // The text-input handler Init installs: while the control has the focus
    // and shows no pop-up, the text (read whole) is typed in the view that
    // shows: always in the source view, which takes no key-downs; in the
    // document once the control has seen text input before (the key-down
    // typed the first). Then the control notes that text input arrives. The event always goes on to the next
    // handler, whose answer it gives.
    static int TextInputHandler(const qm::events::NextHandler& next, qm::events::Event& event, void* engine);
    // Types text (zero-terminated) through OnChar. fixedLength 0 with text:
    // an input method's composition, left selected in the caret's text run
    // over what was typed (never before the run's start).
    void MacUnicodeInput(const unsigned short* text, int fixedLength);
    // A Mac OS Roman byte as UTF-16 (0xDB the euro sign, 0xF0 U+F8FF).
    static unsigned short MacRoman2UCS(unsigned char c);
    // The character of a key event, or false for none. With the two-byte
    // route on (g_IsSafara), key code 0 and no modifier, bytes arrive one
    // per event and pair up into one character (m_pendingByte); otherwise
    // the keyboard layout gives it.
    bool TranslateKey(const EventRecord& record, unsigned short& character);

    // ---- the key map (KeyMap.cpp) ----
    // One character from event routing: shortcuts, the structural keys the
    // document does not handle itself (Delete in an empty block, Return in
    // an empty last list item or a caption, Backspace after an empty block),
    // Shift selection, the edit guard, then the document's OnChar and what
    // follows a key (caret, buttons, undo, the page).
    void OnChar(unsigned int key, unsigned int repeat, unsigned int flags);

    // ---- button state, the strong and emphasis keys (XHTMLStyleButtons.cpp,
    // XHTMLInline.cpp) and the property dialog of an element the pointer
    // chose (XHTMLProperties.cpp: element becomes the target of DoProperty)
    void DisplayStyleButton(CElement* element);
    void DoProperty(CElement* element);
    void KeyStrong();
    void KeyEm();

    // ---- the context menu (XHTMLContextMenu*.cpp, XHTMLTasksMenu.cpp) ----
    // Opens the menu "MenuAll" of the interface description "Quillmark" at
    // point (the editing area's coordinates) for the element under the
    // pointer: localised, pruned to what fits the element, with the page's
    // own entries on top; the chosen command runs through PostMessage with
    // the plug-in's port current. Answers whether a menu was shown.
    bool OnContextMenu(CPoint point);
    // Localises the fixed entries and titles (pass 1) or the toolbar
    // submenus' titles (pass 2) from the control's language table; the list
    // submenu's texts follow the list around element.
    void SetPopupMenuLang(qm::ui::Menu& menu, int pass, CElement* element);
    // Puts the page's own entries (the control's list, in order, with their
    // labels and identifiers) at the top of menu, followed by a separator.
    void AddUserMenus(qm::ui::Menu& menu);
    // Fills the "Buttons" submenu from the control's toolbar and "Styles"
    // from the style drop-list; a submenu the control does not show goes,
    // and "Toolbar" with them when neither shows.
    void SetAllTasksMenu(qm::ui::Menu& menu);
    // Commands 32885 and 32948: the nearest locked element at or above the
    // context element is selected whole, or deleted.
    void OnSubdocSelect();
    void OnSubdocDelete();

    // ---- block alignment, images and small structural commands
    // (XHTMLAlign.cpp, XHTMLImages.cpp, XHTMLStructure.cpp) ----
    // ModifyAlign (declared with the commands above) aligns the block of
    // element (code 16 left, 32 centre, 64 right): a div with that "align"
    // around it goes (its children stay), another div on the way up (below
    // the nearest table part, list or item) takes the alignment, and
    // otherwise a new aligned div holds the block: a p, pre or heading
    // whole, in any other block the inline run around element (a term
    // takes none). With a selection shown (and not
    // single) every selected block is aligned through ProcessSelectedBullet.
    // With redraw: laid out, caret and view drawn, change reported.
    //
    // Applies an alignment (kinds 23 left, 21 centre, 22 right) block by
    // block to the selected text runs: until every selected block is
    // aligned so, or, when all already were, until none is. Kinds 24 (ul)
    // and 25 (ol) do the same with the list button, block by block. Other
    // kinds do nothing.
    void ProcessSelectedBullet(int kind);
    // An element of tag (a "br") at the caret: the selection is deleted
    // first, a text run is split at the caret (inside an image nothing is
    // added) and the element goes after its first half; it leaves inline
    // parents where only an empty run follows it, and with moveOut all of
    // them. With redraw: laid out, drawn and reported. True when added.
    bool DoAddTag(const char* tag, bool moveOut, bool redraw);
    // DoAddTag without the style pass over the new element's parent, which
    // the caller owes; the new element, or null when none was added.
    CElement* AddTagAtCaret(const char* tag, bool moveOut);
    // Deletes a shown selection (the document's DeleteSelection); a
    // selection inside one paragraph that takes the whole paragraph leaves
    // an empty copy of it to type into. With join, what a selection from one
    // block's text into another's leaves of the two becomes one block, as
    // typing over it does. False when nothing was selected.
    bool RemoveSelection(bool join = false);

    // ---- change notification, undo and the edit buttons (XHTMLChange.cpp) ----
    // Before typed text goes in: the document's own preparation of the caret.
    void ActionBeforeInsertText(unsigned int key);
    // The buttons that need a selection (cut, copy, link) follow whether
    // something is selected.
    void SetCopyState() override;
    // NotifyChange(force), after an edit: the control hears of it; after the
    // page replaced the value, the page's content-changed event is raised
    // once the document's mode-6 markup differs from the markup last
    // reported (which then becomes it); the document takes an undo snapshot
    // (forced: even with the caret in the same element) and its caret is
    // recomputed before it is next drawn. Inside a ChangeBatch the caret is
    // marked and the rest waits for the batch's end.
    //
    // ChangeBatch: one command, one undo step. A command that edits several
    // blocks or items in turn reports each edit, and each report may take a
    // snapshot of a document half done that undo would then go back to.
    // While batches are open the reports are gathered; when the outermost
    // ends, one NotifyChange follows, forced when any report was or when
    // the markup differs from the last snapshot's (NotifyEdit).
    class ChangeBatch
    {
    public:
        explicit ChangeBatch(CXHTML& engine);
        ~ChangeBatch();
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

    private:
        CXHTML& m_engine;
    };
    //
    // OnUndo and OnRedo: in the source view the control's relay takes the
    // source view's own undo (redo); otherwise the document's, then the
    // bars refreshed (the undo or redo button disabled when nothing was
    // left) and NotifyChange(false). DoUndo and DoRedo are the same.
    void DoUndo() { OnUndo(); }
    void DoRedo() { OnRedo(); }
    // The edit buttons by clip code: CXDoc::SetClipButton.
    void SetClipButton(bool enable, int code);
    // All five edit buttons off; undo and redo on while their lists hold a
    // snapshot; paste on; the selection's buttons from the selection.
    void DisplayClipButton();
    // The style drop-list, the inline buttons and the edit buttons; then a
    // non-forced undo snapshot.
    void RefreshToolBar();
    // The style drop-list, the inline buttons and the selection's buttons.
    void RefreshBar();
    // The control's about dialog; then, with nothing selected, the caret on
    // in its erased phase.
    void OnAbout();
    // The 4 bytes that identify this engine in the drags it starts ('QMD1'),
    // unique among the engines alive in the process, never 0.
    std::uint32_t DragToken() const { return m_dragToken; }

    // ---- inserting markup and text (XHTMLInsert*.cpp) ----
    // Markup put in at the caret, top-level child by child. outside: the
    // markup comes from outside the editor (clipboard HTML, the page's
    // script): line breaks of blocks fold to blanks and leading white space
    // of text after a block goes. pasted (clipboard HTML only): an img
    // naming a local picture (file://localhost) has the picture uploaded
    // and the stored URL put in; markup from script keeps such images as
    // they are. False, with nothing changed, when the edit guard or the
    // insertion rules refuse.
    bool InsertHTMLCode(const unsigned short* markup, bool outside, bool pasted = false);
    // The editor's own markup (its clipboard flavour, a drop of its own
    // drag) put back in at the caret, as InsertHTMLCode with outside false,
    // with two differences that keep its text as it was copied: links that
    // stood side by side in it get no separator between them, and markup
    // copied from inside one paragraph or heading to inside another (a first
    // and a last p or heading, partly selected) joins the paragraph at the
    // caret at both ends: the first block's content goes in at the caret,
    // the blocks between as blocks, the last block's content before the text
    // after the caret (markup that ends with a list: its last item's
    // content). At a caret in a list item, markup of lists goes in by
    // InsertListLines, at a caret in a term by InsertTermLines. At a caret in
    // a pre, which takes no blocks, markup that does not fit there (of
    // paragraphs, headings and list items, as a cut writes them) goes in by
    // InsertLines, the inline content of each a line. A lone block
    // of a kind the editor keeps as an element of its own (section, article)
    // around the markup goes as a div would, with the lone blocks inside it.
    // Markup of a table's cells, as a cut across cells writes it (of one
    // row: the cells it went through; of several: the cells from the first
    // one to the end of its row, the rows between whole, the last row's up
    // to the last cell), at a caret that ends a cell's content, with the
    // cells after it in its table in that shape (for one row: as many cells
    // after it in the row), goes by InsertCellContents unless intoCells is
    // false. Answers as InsertHTMLCode.
    bool InsertOwnMarkup(const unsigned short* markup, bool intoCells = true);
    // The content of each of the markup's cells (row by row) back into a
    // cell: the first at the caret, each further one at the start of the
    // next of cells.
    bool InsertCellContents(const unsigned short* markup, const std::vector<CSafeBuf>& contents,
        const std::vector<CElement*>& cells);
    // The editor's own markup of list items (as a cut across items writes
    // it, paragraphs beside the lists and entries of definition lists
    // included) at a caret in a list item: the first item's text goes in at
    // the caret and each further item's starts a new item, as Return there
    // would, the last one before the text after the caret. Other markup
    // goes in by InsertHTMLCode.
    bool InsertListLines(const unsigned short* markup);
    // The editor's own markup at a caret in a definition term, which takes
    // inline content only: markup that does not fit there (entries,
    // paragraphs, headings, list items, as a cut writes them) gives the
    // inline content of each of them, and those lines go in at the caret,
    // parted by line breaks. Other markup goes in by InsertHTMLCode (which
    // refuses what the term cannot take).
    bool InsertTermLines(const unsigned short* markup);
    // Lines of inline markup at the caret: the first goes in at the caret,
    // each further one after a Return there (a new item in a list item, a
    // new line in a pre), the last before the text after the caret. False,
    // with nothing changed, when the edit guard or the insertion rules
    // refuse their text, or when there are none.
    bool InsertLines(const std::vector<CSafeBuf>& lines);
    // The editor's own markup of one list's items (as a cut of whole items
    // writes it) at a caret in an empty paragraph that ends a list item
    // holding blocks: the items go in as items of the caret's list after
    // its item, and the first joins that item in place of the paragraph
    // (blocks of the same tag and attributes where they meet become one).
    // Other markup goes in by InsertHTMLCode.
    bool InsertListItems(const unsigned short* markup);
    // Deletes the selection, cleans a copy of the markup and inserts it, then
    // repairs, lays out, draws and reports the change.
    void CleanAndInsertXHTMLCode(const unsigned short* markup);
    // HTML from the system clipboard in its description form (8-bit,
    // zero-terminated; ClipboardDescription.h): its fragment repaired by
    // Tidy, cleaned and inserted as pasted markup. Answers false.
    bool InsertHTML(const char* description, bool unused = false);
    // Plain text at the caret: typographic characters become plain ones, a
    // CR LF ends a line (a br), two end a paragraph.
    void InsertText(const unsigned short* text, bool unused = false);
    // Markup at the start or end of the div holding the caret; false when
    // the caret is not at either end of it or the markup does not parse.
    bool InsertXMLToDiv(const unsigned short* markup);
    bool InsertXMLToDiv(const char* markup);

    // ---- web services (XHTMLSoap.cpp, XHTMLUpload.cpp) ----
    // Posts body (an element of the service namespace, SoapEnvelope.h) in
    // a SOAP envelope of the control's SoapVersion to url; the page is
    // asked first (GoFireSOAPCall). True with the parsed answer (document,
    // owned by the caller: XMLReleaseDom), its result element and the
    // prefix bound to the service namespace ("p:" or empty). False on a
    // refused connection, a non-2xx status, an answer that is no envelope
    // or a SOAP fault; report shows one message then.
    bool FetchSoapService(const unsigned short* url, const CSafeBuf& body, _xmlDoc** document,
        _xmlNode** result, CSafeBuf& prefix, bool report) override;
    // Uploads a local file to the image library service (kind 2: an image)
    // with doLibraryUpload: Base64 packets of kUploadPacketBytes under one
    // transaction id. True with the URL the library stores it under; false
    // (error set, one message shown) otherwise.
    bool FileUpload(const unsigned short* path, int& error, CSafeBuf& url, int kind);
    static constexpr int kUploadPacketBytes = 102400;
    CSafeBuf m_imageLibraryURL; // the control's ImageLibraryURL

    // ---- views, view commands and the tag list (XHTMLViews.cpp, XHTMLTagList.cpp) ----
    // The view commands OnWysiwyg (32865), OnSource (12001), OnPreview
    // (12002) and OnBlind (12004) are declared with the command members
    // above: each sets the four view buttons and has the control switch.
    // Called by the control before it changes view: the find dialog, when
    // open, is deleted and forgotten.
    void SwitchingView();
    // Raises the context-menu-clicked event for the page's menu entry with
    // that identifier (38000 and up); nothing when no entry has it.
    void ProcessCustomMenu(long id);
    // The elements around the caret, or around the whole selection, as text
    // (out replaced): 0 names joined by ",", 1 XML with every attribute, 2
    // XML with only the class attribute (both wrapped in "<taglist>",
    // "<taglist />" when empty; names and values escaped), 3 a path
    // "/body/p", 4 an indexed path "/body[1]/p[2]"; any other format empty.
    // A selection flag with no selected element gives "<taglist />" for
    // every format but 0, which is empty. Always true.
    bool GetTagList(CSafeBuf& out, int format);

    // ---- table rows and columns, cells and alignment (XHTMLTableRows.cpp,
    // XHTMLTableCells.cpp, XHTMLTableHeaders.cpp, XHTMLTableSelect.cpp,
    // XHTMLTableAlign.cpp) ----
    // The command members (insert and remove rows and columns, merge and
    // split, header lines, select table, row or column) are declared with the
    // command members above; they act on the context element or on the
    // marked cells of its table.

    // Removes the row (row) or the grid column of element. When the table has
    // one row (or one column) left, the table itself goes and its parent is
    // prepared for the caret: only then the answer is true.
    bool RemoveRowOrCol(CElement* element, bool row);
    // The alignment state (align bits 0x10 left, 0x20 center, 0x40 right;
    // valign bits 1 top, 2 middle, 4 bottom) shared by every listed item:
    // one row, or with selected every row of its table holding a marked
    // cell (0xFF when none does); one cell, or every marked cell of its
    // table when this one is marked. 0 for a null row or cell. columnState,
    // when given, receives the state of those cells' column entries (only
    // entries with attributes count; 0 when none has).
    int GetRowAlignState(CElement* row, bool selected);
    int GetTDAlignState(CElement* cell, int* columnState);
    // DoAlignTable for the cell (4), row (1) and column (2) scopes.
    void OnAlignTableLeft();
    void OnAlignTableCenter();
    void OnAlignTableRight();
    void OnAlignTableTop();
    void OnAlignTableMiddle();
    void OnAlignTableBottom();
    void OnAlignTableLeftR();
    void OnAlignTableCenterR();
    void OnAlignTableRightR();
    void OnAlignTableTopR();
    void OnAlignTableMiddleR();
    void OnAlignTableBottomR();
    void OnAlignTableLeftC();
    void OnAlignTableCenterC();
    void OnAlignTableRightC();
    void OnAlignTableTopC();
    void OnAlignTableMiddleC();
    void OnAlignTableBottomC();
    // Steps the table commands share: a new row above or below the context
    // row, a new column before or after the context column, rows or
    // columns of the context (or of the marked cells) removed, a header
    // column or row toggled, the table, a row or a column marked.
    void InsertTableRow(bool below);
    void InsertTableColumn(bool after);
    void RemoveTableLines(bool rows);
    void ToggleHeaderLine(bool row);
    void SelectTablePart(int part);
    // ---- applying styles from the style drop-list (XHTMLStyles.cpp,
    // XHTMLStylePaths.cpp, XHTMLStyleRemove.cpp, XHTMLStyleMenu.cpp,
    // XHTMLStyleBridge.cpp) ----
    // An item is a block style ("p", "h1" to "h6", "address", "pre"), a
    // font style ("b", "i", "strong", "em") or, by any other element name,
    // an inline or wrapper style ("div" and "blockquote" wrap blocks).
    //
    // Applies the drop-list row index (-1: the current row; 0, "None",
    // removes formatting) or, for another row, item when given, else the
    // row's item. Nothing is applied at a caret that is a stop of its own
    // (beside an image, a table ...) without a selection. Afterwards the
    // drop-list shows the row the application chose (none after a failure),
    // the row's mark says whether the style now applies, and
    // m_styleListState is set when the marks must be computed again at the
    // next refresh of the tag box.
    void ProcessTagBox(int index, STYLE_BAR_ITEM* item);
    // The style item whose command id is id becomes the current row and is
    // applied (OnHeading). Nothing for an id no item has.
    // (StyleItemChanged and OnHeading are declared with the commands.)
    //
    // The application itself. checked: the item is marked (applies at the
    // caret), so it is removed where it can be toggled. marked receives the
    // item's new mark, done whether the drop-list must be refreshed on the
    // next caret move, refreshBox whether at once, row the row to show (-2
    // the first, -3 unchanged). headingMode is the block path's mode
    // without a selection. False when nothing may or could be applied.
    bool ProcessStyle(STYLE_BAR_ITEM* item, bool checked, bool& marked, bool& done, bool& refreshBox,
        int& row, int headingMode);
    // Takes the item's element (with the item's class, when it has one) off
    // around the caret, or around each selected element: an inline element
    // is unwrapped with all its wrapped pieces; a div directly under the
    // body that holds no block becomes a p.
    void RemoveTagByItem(STYLE_BAR_ITEM* item);
    // True when none of the considered elements holds an element whose tag
    // is in tags (at any depth): the selected elements, or the caret
    // element without a selection; with byBlock each replaced by its block
    // (itself when a block). False when the caret element left the tree.
    bool ValidateSelection(CStringList* tags, bool byBlock);
    // With a selection whether all of it lies under an element of tag (and
    // class cls when not empty), else whether the caret element does.
    bool IsCurrentUnderTag(const unsigned short* tag, const unsigned short* cls);
    // PopupStyleMenu (declared with the commands) shows the style items as
    // a pop-up menu below the style box, the style button pressed meanwhile,
    // and applies the chosen one.
    // Fills menu with the style items ("None" first), in list order: items
    // without a group on menu itself, each run of items with one group
    // title in a submenu (identifier 19923 + n, the n-th submenu) under that
    // title; each entry carries the item's command id and its mark as a
    // check. DisposeStyleMenu frees a menu made for it.
    void PrepareStyleMenu(qm::ui::Menu* menu);
    void DisposeStyleMenu(qm::ui::Menu* menu);
    static constexpr unsigned int kFirstStyleSubmenuId = 19923;
    // The drop-list as the engine sees it, rows by index, all forwarded to
    // the control: marks cleared (StyleRemoveMarks, CleanTagBox), the
    // current row set or read, the row count, the first marked row made
    // current, one row's mark set (StyleSetItemMark: 0 sets, non-zero
    // clears; SetCheckOfTagBox: true sets) or read.
    void StyleRemoveMarks();
    void CleanTagBox() { StyleRemoveMarks(); }
    void StyleSetCurSel(int index);
    int StyleGetCurSel();
    int StyleGetCount();
    void StyleSwitchToFirstItem();
    void StyleSetItemMark(int index, int clear);
    void SetCheckOfTagBox(int index, bool check) { StyleSetItemMark(index, check ? 0 : 1); }
    bool StyleIsTagChecked(int index);
    // The item of row index (-1: the current row); null when none.
    STYLE_BAR_ITEM* GetTagBoxItem(int index);
    // Row index becomes current (-1: the first row).
    void SetTagSelItem(int index);
    // The toolbar's buttons, forwarded (0 without a control).
    int ToolIsButtonChecked(int kind, unsigned int id, bool byKind);
    int ToolIsButtonEnabled(int kind, unsigned int id, bool byKind);
    int ToolCheckButton(int kind, unsigned int id, bool check, bool byKind);
    int ToolEnableButton(int kind, unsigned int id, bool enable, bool byKind);
    // ---- block formats and inline formatting (XHTMLHeadings.cpp,
    // XHTMLPutIntoTag.cpp, XHTMLInline.cpp, XHTMLStyleTags.cpp,
    // XHTMLStyleButtons.cpp) ----
    // Defined there too, though declared with the members still to come
    // above: DoFontButton, OnFontbold, OnFontitalic, OnHeading,
    // OnConvertitoem, OnConvertbtostrong, DisplayStyleButton, KeyStrong and
    // KeyEm.
    // Block codes: 1 p, 2 to 7 h1 to h6, 8 blockquote, 9 div, 10 address,
    // 11 pre. Modes: 0 toggle (apply, or back to a p when applied), 1 apply,
    // 2 remove, 3 indent (wrap in a new block), 4 outdent (the enclosing
    // block of the code goes). item (may be null) gives the attributes the
    // block must carry. Answers 2 after an indent wrap, 1 after a change of
    // block or of its attributes, -1 when a block was dissolved, 0 when
    // nothing changed (also for an element not in the tree).
    int ProcessHeading(int code, CElement* element, int mode, STYLE_BAR_ITEM* item);
    // While m_headingsHeld is set, ProcessHeading leaves what ends it (the
    // style box from the selection, layout and drawing) and notes in
    // m_headingsChanged that it changed something; FinishHeadings does it
    // once after a selection's blocks, each a layout of the whole document
    // otherwise.
    bool m_headingsHeld = false;
    bool m_headingsChanged = false;
    void FinishHeadings();
    // For the list commands (listKind 24 ul, 25 ol; other kinds do nothing):
    // BeforePutIntoTag breaks the block at the last br before element's line
    // so that the line starts a block of its own; PutIntoTag moves that line
    // into a new one-item list, merged into a list of its kind beside it.
    void BeforePutIntoTag(CElement* element, int listKind);
    void PutIntoTag(CElement* element, int listKind);
    // The selection case of DoFontButton: the code's element (2 b, 3 i,
    // 6 span with a class asked for, 7 strong, 8 em) wraps the selected
    // runs, or is taken off them when the selection lies wholly in one.
    bool DoSelection(int code, STYLE_BAR_ITEM* item);
    // The class command: DoFontButton(6, none).
    void OnClass();
    // Cmd+B and Cmd+I style commands: only with a selection and when the
    // edit guard allows the item, b, i, strong or em on the selection.
    void KeyBold();
    void KeyItalic();
    // element (or with searchUp its nearest ancestor of fromKind) and the
    // other pieces of it become toKind with the tag toTag. False when there
    // is no such element.
    bool ConvertElementToAnother(
        CElement* element, int fromKind, int toKind, const unsigned short* toTag, bool searchUp);
    // Wraps every selected inline run (siblings in one block, up to a br or
    // a gap) in its own copy of model; true when a run was wrapped.
    bool InsertTagToSelections(CElement* model);
    // The other pieces of element's wrapped inline element: deleted with
    // their content (destroy) or unwrapped, their children kept.
    void RemoveInlineBrothers(CElement* element, bool destroy);
    // The value of item's "class" attribute; false and empty without one.
    static bool FindStyleBarClass(const STYLE_BAR_ITEM* item, CSafeBuf& cls);
    // ---- lists, indent and Tab, definition lists (XHTMLLists.cpp,
    // XHTMLListItems.cpp, XHTMLTab.cpp, XHTMLDefLists.cpp) ----
    // The list button (kind 24 ul, 25 ol) for element's block: a block in
    // no item goes into a new list; an item of the other type changes type
    // (its list split around it); an item of a nested list of that type
    // moves one level out; otherwise the item leaves its list. With a
    // selection shown (and not single) every selected block is handled
    // (ProcessSelectedBullet). With redraw: laid out, drawn, reported.
    // False when the edit guard refuses.
    bool DoList(CElement* element, int kind, bool single, bool redraw);
    // Puts item alone into a new list of kind after its own list, whose
    // items after it form a list of the old type after that; lists of kind
    // beside the new one join it.
    void ChangeListItemType(CElement* item, int kind);
    // Takes item out of its list: modes 0 and 1 put its content beside the
    // list (in a new li when the list stands in a list, else a p; mode 0
    // dissolves that holder where its content may stand on its own), mode 2
    // one nesting level up as an item of the enclosing list. The items after
    // it form a list of their own. Answers the element that took the
    // content (the holder, or the list's parent when the holder was
    // dissolved); null when item is not an item of a list.
    CElement* JumpOutOfLI(CElement* item, int mode);
    // Return in an empty last item: the item's content becomes a paragraph
    // right after the outermost list around it, the lists cut where items
    // follow. False when no list is above item.
    bool MoveAllLevelsOut(CElement* item);
    // One level in (into a nested list at the end of the item before it,
    // made when missing; the first item gets a new empty item before it)
    // and one level out (out of the item it is nested in, or beside a list
    // standing directly in a list; a top-level item stays).
    void MoveListItem(CElement* item);
    void LeftMoveListItem(CElement* item);
    // The level action at the caret: list items one level in (out with
    // shift); in a table cell the caret goes to the next (previous) cell;
    // elsewhere the paragraph indent class is added (removed).
    void DoTab(bool shift);
    // The level actions over the caret or the selection: the items holding
    // them move in (out). Outside items, unless listOnly, the paragraph
    // indent class is added (removed). True when items moved.
    bool TabAction(bool listOnly);
    bool ShiftTabAction(bool listOnly);
    // Applying the paragraph indent style item (tag p, class "indent").
    void ApplyIndentClass(bool remove);
    // Steps of the level commands: the targets (the caret element, or the
    // selected elements without empty runs at the ends; false when there
    // are none, or the caret is on a structural element); one level action.
    bool CollectLevelTargets(std::vector<CElement*>& targets);
    bool LevelAction(bool inward, bool listOnly);
    // A command's edit reported, with an undo step of its own when the
    // markup changed: an unforced report takes none while the caret stays
    // in its element (as typing does), so that two commands in a row on
    // one selection would undo as one. Inside a ChangeBatch the batch's
    // end decides.
    void NotifyEdit();
    // Steps the item commands share: the usual ending (laid out, drawn, the
    // caret's column kept, reported with an undo step); the entry of kind
    // at or above the context element when the edit guard allows a change;
    // a new item beside the context's item; the context's item moved past
    // its sibling; e selected whole and shown.
    void EndListEdit();
    CElement* ContextListEntry(long kind);
    void InsertListItem(bool below);
    void MoveListItemBy(bool down);
    void SelectWhole(CElement* e);
    // A list (ul, ol or dl) removed whole, the caret moved past it; the
    // parent it leaves is made ready for typing, an emptied cell holding
    // the filler it reads with.
    void RemoveWholeList(CElement* list);
    // Steps of the definition-list commands: the list around the context
    // element when the edit guard allows a change (entry: the term or
    // definition at or above it); new entries beside the entry (where 1
    // after, 0 before; with second a term and definition pair beside the
    // entry's item); the entry moved past its sibling; elements selected
    // whole and shown; entries removed, with the list once emptied.
    CElement* ContextDefList(CElement** entry);
    void InsertDefEntries(const char* first, const char* second, int where);
    void MoveDefEntry(bool down);
    void SelectDefElements(const std::vector<CElement*>& elements);
    void RemoveDefEntries(CElement* list, const std::vector<CElement*>& entries);
    // ---- clipboard, drag and drop, uploads (XHTMLClipboard.cpp,
    // XHTMLDrag.cpp, XHTMLUpload.cpp) ----
    // OnCopy, OnCut and OnPaste are declared with the commands above. Copy
    // writes the selection to the clipboard as the editor's own markup
    // ("public.quillmark") and as plain text; cut copies and then deletes
    // the selection, only when the copy reached the clipboard; paste reads,
    // in this order, the editor's own markup, other programs' HTML (only
    // while pasting markup is allowed; HTML that inserts nothing falls
    // through to the plain text), file URLs (uploaded), a picture (nothing
    // pasted) and plain text; HTML that a pre refuses, with no plain text
    // beside it, goes in as its own text, or the message that it cannot be
    // inserted shows. In the source view the three are relayed to it
    // (commands 32832, 32834, 32833).
    void DoCopy() { OnCopy(); }
    void DoPaste() { OnPaste(); }
    // InsertHTML answering whether any markup went in (XHTMLInsertClipboard.cpp).
    // A pre at the caret takes no blocks: HTML holding some goes not in,
    // and *preText (when given) is set to its text, lines kept.
    bool InsertForeignHTML(const char* description, std::optional<CSafeBuf>* preText = nullptr);
    // Paste's file step: every clipboard item's file URL becomes a local
    // path that is uploaded and inserted where the document takes a file of
    // its type; the errors are shown once.
    void PasteFiles();
    // Deletes the selection that a cut or a moving drop takes away (through
    // the root, as a drop does, or the document's DeleteSelection). When it
    // ran from inside one block's text into another's, what is left of the
    // two becomes one block again, as the text stood around the part taken
    // (JoinDeletionEdges): no word is left split over two blocks.
    void DeleteTakenSelection(bool throughRoot);
    // An image file was uploaded and stored under url: its entry in the
    // document's list of images waiting for upload is emptied and every
    // image whose source is url loads its picture again. Answers whether
    // any image did.
    bool ImageUploaded(const unsigned short* url);
    // Uploads a local file, a picture to the image library, anything else
    // to the attachment library, and inserts an img (for a picture) or a
    // link named after the file at the caret. Failures add error bits to
    // errors and show nothing: the caller shows them once
    // (DisplayUploadErrorMsg). True when the file was uploaded.
    bool FileUpload(const unsigned short* path, int& errors);
    // Error bits of uploads, beside those DisplayUploadErrorMsg already
    // knows (2 size limit, 1 type, 4 location, 8 object name).
    static constexpr int kUploadNoService = 16;
    static constexpr int kUploadFailed = 32;
    // The drag handlers Init installs on the plug-in's window. Each answers
    // 1 without an engine and kDragRefusedInView while the control shows
    // the preview or the screen-reader rendering, or cannot display the
    // editor. Tracking follows the pointer (message 3, and in the source
    // view 5 when it leaves) and answers 1 over a place a drop would be
    // refused; receiving inserts what is dropped: the editor's markup
    // ('QMRK', moved when the drag is this editor's own), text ('utxt') or
    // files ('furl', uploaded). 0 when the drop was taken, else 1.
    static int MyDragTrackingHandler(
        short message, qm::dnd::WindowKey window, CXHTML* engine, qm::dnd::DragSession& drag);
    static int MyDragReceiveHandler(qm::dnd::WindowKey window, CXHTML* engine, qm::dnd::DragSession& drag);
    static constexpr int kDragRefusedInView = -1856;
    // Moves the caret to a drag position (view coordinates) and answers
    // whether a drop there must be refused: onto the selection, or where
    // the edit guard refuses a drop.
    bool MoveDrag(CPoint point);
    // MoveDrag's two reasons apart: the point lies in the selection (a
    // drop there is refused for the editor's own drags), the edit guard
    // refuses a drop at the caret (refused for every drag).
    struct DragCheck
    {
        bool onSelection = false;
        bool guarded = false;
    };
    DragCheck PlaceDragCaret(CPoint point);
    // The receive handler's work once the view may take the drop, the
    // point in the editing area's coordinates.
    int ReceiveDrop(qm::dnd::DragSession& drag, CPoint point);
    // Whether markup may go in at the caret: what InsertHTMLCode asks of
    // the edit guard and the insertion rules, asked before anything
    // changes (a refusal is shown).
    bool MayTakeMarkup(const CSafeBuf& markup);
    // A file URL of the clipboard or a drop as a local path: escapes
    // decoded, "file://" (and a "localhost" host) removed, one trailing "/"
    // dropped.
    static void LocalPathOfFileURL(CSafeBuf& location);
    CSafeBuf m_attachmentLibraryURL; // the control's AttachmentLibraryURL
    // ---- tables: inserting, the size picker, reset (XHTMLTables.cpp) ----
    // OnInserttable, InsertDataTable, OnDrawLTable, OnDrawDTable, OnDrawTable
    // and OnResettable are declared with the command members above.
    //
    // A new table is built detached, given its shape by the table dialog
    // (or, for a size picked in the picker for a layout table, written
    // directly), written out as markup and inserted at the caret: into the
    // caret's div at its start or end when InsertXMLToDiv takes it, else as
    // markup at the caret, its rows aligned to a right-to-left context and
    // the caret put into its caption or first cell. Laid out, drawn and
    // reported as an edit. A refused guard, a cancelled dialog or a picked
    // size of 0 changes nothing.
    //
    // The data-table command of the context menu: InsertDataTable(10, 3).
    void OnDtable();
    // The cell, row and table around element (each null when none): a row
    // is its own row, a cell its own cell with its parent the row, a table
    // its own table; else the first cell and the first row above it; the
    // table is the one above the row when none was met.
    void GetTableFromElement(CElement* element, CElement** cell, CElement** row, CElement** table);
    // Steps the table insertions share: the markup in at the caret (answers
    // the new table when it went in as markup at the caret, null when the
    // caret's div took it or nothing went in; taken says whether it went
    // in); then laid out, drawn, reported and the caret shown again.
    CElement* InsertTableMarkup(const CSafeBuf& markup, bool& taken);
    void FinishTableInsertion();
    // The caret on and its blink restarted, unless a selection is shown.
    void ShowCaretAgain();
    // Opens the picker under the button of that kind for a table kind.
    void OpenTableSizePicker(int button, int kind);

    // ---- fields (those the element layers read are in CXHTMLServices) ----
    // Room in each option list, the terminating null not counted.
    static constexpr int kNoneYesNoRoom = 3;
    static constexpr int kYesNoRoom = 3;
    static constexpr int kAreaShapeRoom = 19;
    static constexpr int kHeaderScopeRoom = 19;
    static constexpr int kLinkTypeRoom = 39;
    // Units of each option string's buffer, terminator included.
    static constexpr int kOptionUnits = 100;

    unsigned char m_copyState = 0; // a selection existed at the last button update
    CPoint m_pastePoint{-1, 0};    // where the context menu opened; x -1: none
    // Where the caret stood when the current run of Shift-moves began (the
    // document's selection anchor is set while the run lasts).
    CPoint m_shiftRunStart;
    CSafeBuf m_workText[5];         // scratch texts of single commands
    unsigned char m_buttonHeld = 0; // the button went down in the document
    using CXHTMLDocument::m_doc;
    ADDITIONAL_HTTP_HEADERS* m_serviceSettings = nullptr; // the control's; shared with the document
    // The option lists the property dialogs offer: null-terminated arrays of
    // owned strings (new[] of kOptionUnits units each).
    unsigned short* m_noneYesNoList[kNoneYesNoRoom + 1] = {};
    unsigned short* m_yesNoList[kYesNoRoom + 1] = {};
    unsigned short* m_areaShapeList[kAreaShapeRoom + 1] = {};
    unsigned short* m_headerScopeList[kHeaderScopeRoom + 1] = {};
    unsigned short* m_linkTypeList[kLinkTypeRoom + 1] = {};
    unsigned short* m_dialogBuffers[3] = {}; // the link dialog's; owned (new[])
    STYLE_BAR_ITEM* m_styleItems = nullptr;  // the style drop-list's entries; the control's
    ELEMENT_STYLE m_markerStyle{};
    CPtrList m_ownedRecords; // blocks one command allocated (malloc); freed head first
    // Service descriptions (SERVICE_DESCRIPTION*, owned), one list per service.
    CPtrList m_imageLibraryServices;
    CPtrList m_attachmentLibraryServices;
    CPtrList m_linkLibraryServices;
    CPtrList m_directoryServices;
    CSafeBuf m_lastReportedMarkup;         // the markup last reported to the page
    int m_changeBatches = 0;               // ChangeBatch scopes open
    bool m_changeHeld = false;             // an edit was reported inside them
    bool m_changeHeldForce = false;        // and one of the reports forced a snapshot
    unsigned char m_valueReplaced = 0;     // the control replaced the whole value
    CXPrpEditorDlg* m_focusPage = nullptr; // a property page waiting for focus
    NPWindow* m_window = nullptr;          // the browser's window record; the control's
    short m_lastPointerY = 0;              // where the last null event had the pointer
    short m_lastPointerX = 0;
    qm::dnd::DragHandlerId m_dragTrackingHandler = 0;
    qm::dnd::DragHandlerId m_dragReceiveHandler = 0;
    unsigned short** m_classNames = nullptr; // null-terminated; the array and its strings new[]
    int m_blinkCount = 0;                    // ticks since the caret changed phase
    CBorrowedElement m_targetElement;        // of a property or image command
    CPoint m_menuPoint;                      // where the last context menu opened
    unsigned char m_styleListState = 0;
    unsigned int m_lastDoubleClickTime = 0; // milliseconds
    CBorrowedElement m_menuElement;         // under the pointer when the menu opened
    TWindow* m_tableSizePicker = nullptr;   // while open; owned
    TWindow* m_findDialog = nullptr;        // the find and replace dialog while open; owned
    unsigned int m_lastPressTime = 0;       // milliseconds; 0 after a Control-click or double click
    short m_lastPressV = 0;                 // where it arrived, in the event record's order
    short m_lastPressH = 0;
    qm::events::EventLoopTimerRef m_timer = 0;
    qm::events::HandlerId m_textInputHandler = 0;
    unsigned int m_pendingByte = 0; // first byte of a two-byte character, or 0
    // Automatic scroll for the next tick: 0 none, 1 down, 2 up, 3 right, 4 left.
    unsigned int m_scrollDirection = 0;

    // ---- the tag box (XHTMLTagBox.cpp) ----
    // The tag box mirrors the caret in the style drop-list. DisplayTagBox:
    // the toolbar's style buttons are checked first; when the box was
    // filled by the last refresh (m_styleListState) its marks and row are
    // cleared. Without a selection every ancestor of the caret element that
    // an item describes marks that item, the nearest becoming the current
    // row; with one, the first selected element and its ancestors do, each
    // only when the whole selection lies under its tag and class. The page
    // hears "qmTagListChanged" when the caret element is another than the
    // one last reported.
    //
    // The row of the item that best describes element: of the items whose
    // element is its tag (exactly), those whose every attribute the element
    // carries with an equal value (an item value "guid()" takes any
    // non-empty value); the one with the most attributes wins, the later on
    // a tie. -1 when none (or the element has no tag); with mark the row is
    // marked. cls is not consulted: a class counts as one of the attributes.
    int FindAndCheckTagBox(CElement* element, const unsigned short* cls, bool mark);
    long m_tagBoxElementId = 0; // the caret element last reported to the page
private:
    // Whether the control can display the editor (false without a control).
    bool CanDisplay() const;
    // Helpers of HandleEvent (XHTMLPointer.cpp): a null event's pointer
    // tracking and a press.
    void TrackPointer(CPoint point);
    bool PressEvent(const EventRecord& record, CPoint point);
    // Selects the word around the caret of a text run (OnLButtonDblClk).
    void SelectWord(CElement* run);
    // Lays out, paints and shows the document after a change of selection.
    void ShowSelection();
    // Steps of the key map (KeyMap.cpp): the structural keys (true when
    // one took the key), each of them, the ending they share (layout,
    // caret, view, change report with an undo step of its own, buttons),
    // and an ordinary key typed into the document. Those that remove a
    // block end the typing step before it first.
    void ContextMenuAtCaret(CElement* caret);
    bool StructuralKey(unsigned int key, CElement* caret);
    bool DeleteEmptyBlock(CElement* caret);
    void LeaveEmptyLastItem(CElement* item);
    void BreakInCaption(CElement* caption);
    bool RemoveEmptyBlockBefore(CElement* caret);
    void FinishStructuralKey();
    void TypeKey(unsigned int key, unsigned int repeat, unsigned int flags, bool shift);
    // Gives the document its five generic font-family lists (XHTMLFonts.cpp).
    void SetGenericFontFamilies();
    // One step of automatic scrolling on a scroll bar (XHTMLTimer.cpp):
    // OnVScroll or OnHScroll with the action. Answers 1.
    int ScrollStep(bool vertical, int action);

    // Calls into the document's view, caret and loading code, one helper a
    // call, all in XHTMLDocView.cpp.
    void DocDisplayCursor(qm::qd::Port* port);
    void DocFlipCaretPhase();
    bool DocIsCaretOn() const;
    void DocCaretOnErased();
    void DocDisplayTooltip(CPoint point, const unsigned short* text, bool left);
    void DocHideTooltip(bool);
    void DocGiveRootWindowRect();
    void DocDrawDoc();
    bool DocLoadDocument(const unsigned short* markup);
    void DocGetSourceCode(CSafeBuf& out, int mode, bool tidy);
    bool DocUpdateKeyCursor();
    void DocAdjCursorPos();

    // For the commands: the edit guard's answer for a change
    // (XHTMLCommands.cpp); the element a context command acts on, the menu
    // element while it is in the tree, else the caret element; the common
    // ending of an edit (laid out and painted, caret recomputed, drawn,
    // NotifyChange(force)).
    bool MayChange(int action, CElement* element, long sub);
    // A new img or a (tag), filled in by its property page, put in at the
    // caret after the edit guard allowed command sub-code guard.
    bool InsertNewElement(const char* tag, long guard);
    CElement* ContextElement() const;
    // Clears borrowed (m_menuElement, m_targetElement) when its element is
    // e or lies inside it, e being about to go, or is gone already (an undo
    // or a load replaced the tree since it was taken).
    void ForgetBorrowed(CBorrowedElement& borrowed, const CElement* e) const;
    // The usual end of a command's edit: the tree repaired, laid out, the
    // caret recomputed, drawn and the change reported, with an undo step
    // when the markup changed (NotifyEdit): a dialog answered without a
    // change leaves no step that undoes nothing.
    void EndEdit();
    // OnUndo (undo) and OnRedo; the caret element while it is in the tree.
    void UndoOrRedo(bool undo);
    CElement* CaretElementInTree() const;
    // Steps of the image and link commands (XHTMLImages.cpp,
    // XHTMLStructure.cpp): the float class toggled on the context element;
    // the document's or one image's display type; the caret back on image
    // (or its first surviving piece) when it left the tree; one element of
    // the tag list removed.
    void FloatContextElement(bool right);
    void SetImageDisplayType(int type);
    void SetOwnImageDisplayType(int type);
    void ReplaceCaretOnImage(CElement* image, CPtrList& pieces);
    void RemoveListedTag(CElement* context, const CSafeBuf& tag);
    // Steps of InsertHTMLCode (XHTMLInsert.cpp, XHTMLInsertPictures.cpp):
    // one element child written out and inserted (trim follows the child's
    // kind); the caret taken out of an empty paragraph the insertion left,
    // which then goes; the common ending of a whole insertion (caret on,
    // tree repaired, laid out, drawn, change reported).
    void InsertMarkupChild(CSrcElement* child, bool outside, bool intoPre, bool& trim);
    void InsertBlockRun(const std::vector<CSrcElement*>& run, bool outside, bool& trim);
    void AfterChildInserted();
    void LeaveEmptyParagraph();
    void FinishInsertion();
    // The picture pass over one pasted child: each img naming a local
    // picture is copied to the temporary folder under a new name, uploaded
    // and given the stored URL (the image dialog confirming it unless
    // Options bit 64); a picture that cannot be copied or uploaded, or a
    // file that is no picture, becomes its alt text. visited counts the
    // nodes seen over the whole paste. False when the dialog was cancelled:
    // the child is then left out.
    bool PastePictures(CSrcElement* child, int& visited);
    bool PastePicture(CSrcElement* img, int visited);
    // Steps of ProcessStyle (XHTMLStylePaths.cpp). A "div" or "blockquote"
    // item around blocks: a wholly selected list, the caret's or the
    // selection's block, or the top selected blocks of several go into a
    // new element of the item; the answer says what was done or where the
    // item goes on. The other items around the selected runs (wrapper items
    // whose selection lies in no block of theirs around each run of
    // siblings, as blocks).
    enum class StyleWrap
    {
        kWrapped,    // the new element holds the blocks; laid out and reported
        kNothing,    // nothing to wrap here
        kBlockPath,  // handed on to the block path (code 9)
        kInlineRuns, // the selection lies in no block: each run wrapped
    };
    StyleWrap WrapBlocksInStyle(const STYLE_BAR_ITEM& item);
    bool WrapRunsInStyle(STYLE_BAR_ITEM& item, bool checked, bool& done, bool& refreshBox, int& row);
    bool WrapRunsAsBlocks(CElement* model);
    bool TakeTitleFromEqualElement(CElement* model);
    std::uint32_t m_dragToken = NewDragToken();
    // Steps of inline formatting and block formats (XHTMLInline.cpp,
    // XHTMLHeadings.cpp): the run typing goes into after a font button at
    // a caret; made takes block's place and children; a block turned into
    // made, split once at a br when only part of it holds the selection
    // (answers 1); the outdent of element's block (answers -1 when the
    // block was dissolved, 1 when only element's own block left it, 0).
    CElement* TypingRunForFont(CElement* caret, int code, int kind, const char* tag);
    void ConvertBlock(CElement* block, CElement* made);
    int ConvertSelectedPart(CElement* block, CElement* made);
    int Outdent(CElement* element, CElement* block);

    // Steps of OnContextMenu (XHTMLContextMenu*.cpp): the element the menu
    // is for; the entries that need a selection, an undo step or an inline
    // parent; the element submenus; the table submenu; the entries of step
    // twelve and thirteen (properties, help, the image entries).
    CElement* ContextMenuElement(CPoint point);
    void PruneEditEntries(qm::ui::Menu& menu, CElement* element);
    void PruneElementMenus(qm::ui::Menu& menu, CElement* element);
    void PruneListMenu(qm::ui::Menu& menu, CElement* element);
    void PruneDefinitionListMenu(qm::ui::Menu& menu, CElement* element);
    void PruneTableMenu(qm::ui::Menu& menu, CElement* element);
    void PruneImageEntries(qm::ui::Menu& menu, CElement* element);
    void ShowContextMenu(qm::ui::Menu& menu, CPoint point);
    // The nearest element at or above the context element that is locked by
    // its own flag; null when none.
    CElement* NearestLockedElement() const;
};

// Empty on this platform.
inline void DoMsgLoop() { }
