#pragma once
// CXDoc: one open document of the editor. It owns the element tree (its root
// is the body element), the registry of live elements, the elements whose
// destruction was deferred, the pictures it has loaded and the offscreen
// bitmap that the body paints into, and holds the rule lists, fonts and
// settings that the element tree, the style code and the element kinds read.
// Exactly one exists per editing engine (CXHTML), which holds it by value;
// every element reaches it through its owner pointer (the engine).
//
// What the element tree, styling and element kinds use of the document (the
// fields they read and the calls they make) is declared by CXDocServices
// (element/services/XDocServices.h), from which the document derives; the
// CSS property parser and the style-sheet functions are defined by the
// styling code. Loading, writing, undo, the view and editing are added here
// by the code that builds them.

#include "base/text/SafeBuf.h"
#include "element/services/XDocServices.h"

#include "base/collections/PtrList.h"
#include "base/geometry/Colour.h"
#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"
#include "base/xml/XmlPushParse.h"
#include "document/DocCursors.h"
#include "document/DocScrollBar.h"
#include "style/Image.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CControlServices;
struct _xmlNode;
struct SUBDOC_INFO;
struct UNDO_ITEM;
namespace qm::cg {
class Context;
}
namespace qm::qd {
class Port;
}

class CXDoc : public CXDocServices
{
public:
    // Every field at its initial value; the pointer shapes; the bundle's
    // pictures "dragimage.gif" and "bmp00007.bmp" (a picture that cannot be
    // loaded stays empty, 0 x 0), the second one's size kept.
    CXDoc();
    // In this order: the deferred elements, the tree, the three rule lists,
    // the undo and redo snapshots, the picture pool, the font list, the
    // marker text objects, the offscreen bitmap, the sub-document
    // definitions; then the members.
    ~CXDoc() override;
    CXDoc(const CXDoc&) = delete;
    CXDoc& operator=(const CXDoc&) = delete;

    // Creates the text style and layout for tag-marker labels: the default
    // font at the base font size, black, plain. Answers 1.
    int SysInit() override;

    // Queues an unlinked element for destruction outside the event that
    // removed it. False for null.
    bool QueueRemovedElement(CElement* e) override;
    // Destroys the queued elements. Run it before the tree they came from is
    // destroyed (their float entries live on that tree's root).
    void ReleaseRemovedElements();
    // Destroys the queued elements, then the tree; no caret element remains.
    // The engine calls it before it goes, since the elements reach the
    // document through the engine.
    void ReleaseTree();
    // ReleaseTree for a load that replaces the tree: the registry emptied
    // first and the pointers borrowed into the tree (selection anchor,
    // element being resized) cleared.
    void ReleaseHeldTree();

    // Destroys every picture of the pool; the pool becomes empty.
    void ReleaseImagePool();
    // Frees the offscreen bitmap's pixels and clears its sizes.
    void ReleaseBitmap() override;
    // Frees the installed font list.
    void ReleaseFontList();

    // Every border side of style: line style none (106), width 3 (medium).
    void SetDefaultCSSValue(ELEMENT_STYLE* style) override;

    // Sub-documents (XDocSubDoc.cpp). The content of a sub-document element
    // from the control's sub-document service (markup cleared first): 0
    // nothing to do (no element, no service address, no definition for the
    // element's tag with a non-empty id value), 1 the service call failed or
    // gave no definitions (with tellUser the failure was shown, but a failed
    // definitions request only on the very first attempt), 2 answered: markup
    // holds the content, empty when the answer had none.
    // IsSubDocChanged: the element's id value differs from the one kept at
    // its last load (option attributes are not compared).
    int LoadSubDocumentForElement(CElement* e, CSafeBuf& markup, bool tellUser) override;
    bool IsSubDocChanged(CElement* e) override;

    // ---- markup cleaning (CleanXHTML.cpp) ----
    // Rewrites markup from outside the editor in place into the XHTML that
    // the editor keeps: named references become numeric, a DOCTYPE goes, the
    // text is read into a markup tree (document/SrcElement.h), reshaped by
    // the passes of the mode and written back, a fragment as a fragment, a
    // whole document with its html start tag and the nodes beside its body.
    // Modes: 0 markup of the editor's own sources; 1 strict XHTML (unknown
    // tags unwrapped, attributes limited to those the tag allows, "class"
    // kept); 2 HTML from other programs (as 1 without "class", then scripts,
    // event attributes, bare spans and empty paragraphs go); bit 8 (8, 9,
    // 12) page values and source-view text: the control's undeclared custom
    // elements go. Without the control's option bit 0x4000 bit 8 is cleared
    // first; with option bit 0x10000 modes 1 and 2 also drop "align",
    // "valign" and "id". False when the text does not parse (text then
    // holds the converted and wrapped text).
    bool CleanXHTML(CSafeBuf& text, int mode);

    // Exception-log hooks; they do nothing.
    void WriteExcpInfo(const char*) { }
    void WriteExcpInfo(const unsigned short*) { }

    // ---- undo lists, sub-documents, view and the style sheet writer ----
    // Deletes every redo snapshot (its text, then the record); the redo list
    // becomes empty.
    void CleanRedo();
    // The same for the undo list, then CleanRedo.
    void CleanUnRedo();
    // The bytes undo and redo hold: every snapshot on either list (its
    // record, its text and the text's terminator) and the baseline's text.
    size_t UndoBytes() const;
    // ---- undo and redo (XDocUndo.cpp) ----
    // A snapshot of the document is a copy of its mode-6 text with the
    // caret (relative to the view) and the scroll position that went with
    // it. The baseline is the text as of the last load or snapshot.
    //
    // Pushes the baseline as an undo snapshot and makes the present text the
    // baseline. Not forced, nothing is pushed while the caret stays in the
    // element it was in when the baseline was taken, nor while the text
    // equals the baseline (the baseline then follows the caret to its
    // element). The undo list keeps the newest kUndoLimit snapshots; a push
    // empties the redo list and sets the undo and redo buttons. True when a
    // snapshot was pushed.
    bool SaveUndo(bool force);
    // Ends the step that typing in progress makes: a change since the last
    // snapshot that none was taken for (typing in the element the caret
    // stayed in) becomes a snapshot of its own, as it would once the caret
    // left the element. An edit that is a step of its own calls it first,
    // so that undo takes back that edit alone and the typing with the next
    // undo. Nothing when the text equals the baseline.
    void TakePendingChange();
    // Loads the newest undo (redo) snapshot, the present going onto the redo
    // (undo) list, and puts back its scroll position and caret. Both first
    // take a snapshot of a change made since the last one that none was
    // taken for (typing in the element the caret stayed in): undo then takes
    // that change back, and redo has nothing left to redo after it. A
    // snapshot that fails to load stays on its list, and the document and
    // the other list stay as they were. True while snapshots remain on the
    // list; false when it was or became empty.
    bool DoUndo();
    bool DoRedo();
    static constexpr int kUndoLimit = 49;
    // Deletes every sub-document definition; the chain becomes empty.
    void ReleaseSubDocInfo();
    // Sub-documents (XDocSubDoc.cpp): asks the service at url for the
    // definitions, which replace the held ones; true when it gave any. The
    // definition for e's tag whose id attribute e holds (idValue: that
    // value, XML-escaped), or null.
    bool DescribeSubDocuments(const CSafeBuf& url, bool tellUser);
    SUBDOC_INFO* FindSubDocInfo(CElement* e, CSafeBuf& idValue) const;
    // Clips a context made on the drawing port (CreateCGContext) to the
    // editing area: the view rectangle, measured from the port's top-left
    // corner, with the exact view width. Nothing without a context or a
    // live port.
    void SetClipRect(qm::cg::Context* context);
    // Always true.
    bool IsWndValid() const { return true; }
    // The working rule list (list 1) as style sheet text (StyleSheetWriter.cpp).
    void StyleXML2HTML(CSafeBuf& out);

    // ---- the view: drawing and scrolling (XDocView.cpp, XDocScroll.cpp,
    // XDocWindow.cpp) ----
    // The control that holds the engine, or null; the view reads its view
    // mode, pending window change and horizontal-bar switch.
    CControlServices* Control() const;
    //
    // The tree is laid out and painted into the offscreen bitmap; the window
    // shows its rows through ShowDocumentRows, so only the tiles near the
    // window are resident and m_bitmapPixels stays null. A rectangle drawn
    // is in the drawing port's local coordinates: the document point
    // (m_scrollX, m_scrollY) shows at its top-left corner.
    //
    // Mode 2 repaints the laid-out tree without layout; any other mode lays
    // the tree out, paints it and updates the scroll bars (SetScrollBar).
    // No copy to the window. The context is not used.
    void DrawDoc(int mode, void* context = nullptr);
    // Draw on the drawing port over the view rectangle with its right edge
    // at left + the exact view width. Nothing outside the WYSIWYG view.
    void Redraw();
    void DoRepaint() { Redraw(); }
    // First pulls the scroll offset back so that the document fills rect
    // where it is large enough (a window that grew, a document that shrank),
    // never below 0. Then copies the document's rows that rect shows into
    // port (a qm::qd::Port*) within the browser clip, and draws the caret
    // (DisplayCursor). Nothing at all without a root or while the control's
    // window change is pending; only the pull-back without a port or a
    // bitmap, for an empty document, or with the plug-in clipped away (clip
    // top and bottom both 0).
    void Draw(void* port, CRect* rect, bool);
    // The caret in rect of the drawing port through context (a CGContextRef
    // made on m_port): drawn in phase on, 1 pixel wide over the caret
    // height, cut at rect's top; in phase off with repaint, erased by
    // copying the document's pixels of an 8-pixel strip around it again.
    // Nothing when the caret is disabled or neither its foot nor its top
    // lies in rect's document rows; a stale caret is recomputed first.
    virtual void DisplayCursor(void* context, RECT* rect, bool repaint);
    // A context on the drawing port and DisplayCursor over the view
    // rectangle by the caret's phase: the engine's caret drawing.
    void DisplayCursorInView();
    // The scroll bars from the root's rectangle: bar 1 shown while the
    // document is wider than the view, bar 2 active while it is taller than
    // the window rectangle, each range 0 ... (excess / 2 + 1). A bar that
    // becomes shown or active scrolls its axis to 0 and the window is laid
    // out again (ResizeWindow) and drawn. A disabled vertical bar has the
    // range -2 ... -1 and leaves the scroll offset to the next Draw.
    void SetScrollBar();
    // The window rectangle becomes rect and the root is given its width;
    // when the right or bottom edge changed, the tree is updated, restyled,
    // laid out and painted (no copy to the window).
    void ResizeWindow(CRect& rect);
    // Scrolls so that the caret's foot lies in the window rectangle: an
    // axis on which it does not is scrolled to put the caret in the middle
    // (never below 0); the bars follow and the view is drawn.
    void AdjCursorPos();
    // A help tag with text, its 20 x 20 hot rectangle at the document point
    // pt shown 20 pixels lower (40 pixels further left with left), in
    // global coordinates. The 8-bit text is read as UTF-8.
    void DisplayTooltip(CPoint pt, const unsigned short* text, bool left);
    void DisplayTooltip(CPoint pt, const char* text, bool left);
    void HideTooltip(bool);
    // The caret's foot in global coordinates, 50 pixels lower: where the
    // spelling and find dialogs place themselves.
    void GetCurPos(CPoint& out);
    // The arrow pointer shape.
    void RestoreCursor();
    // The control's toolbar buttons by kind or command id, forwarded to
    // the control; 0 (not found, not set) without one.
    int ToolEnableButton(int kind, unsigned int id, bool enable, bool byKind);
    int ToolCheckButton(int kind, unsigned int id, bool check, bool byKind);
    int ToolIsButtonEnabled(int kind, unsigned int id, bool byKind);
    int ToolIsButtonChecked(int kind, unsigned int id, bool byKind);
    // The edit buttons by clip code: 1 cut, 2 copy, 3 paste, 4 undo, 5 redo
    // (button kind 19 + code), 0 all five; other codes nothing.
    void SetClipButton(bool enable, int code);
    static constexpr int kFirstClipKind = 19;
    static constexpr int kClipCut = 1;
    static constexpr int kClipCopy = 2;
    static constexpr int kClipPaste = 3;
    static constexpr int kClipUndo = 4;
    static constexpr int kClipRedo = 5;

    // ---- the caret (XDocCaret.cpp, XDocCaretMoves.cpp) ----
    // The caret is held by the caret element and its offset (element/Caret.h);
    // the document keeps a copy of its foot (m_caretPoint, document pixels,
    // the row below its last), height and colour.
    //
    // With a root and the caret element in the tree: height, colour and
    // foot from the caret element. False when there is nothing to take them
    // from or the element failed.
    bool UpdateKeyCursor();
    // The last key point and position (the column Up and Down keep) become
    // pt; then UpdateKeyCursor.
    void SetLastKeyPos(CPoint pt);
    // Places the caret at the document point pt. The element under it (flag
    // 1: hit-tested afresh; else the pointer element, ValidateCursorOn) is
    // offered the point; when it refuses, the nearest caret stop is searched
    // from the root, or with flag 2 from the table cell, dd or dt around
    // that element, and offered its nearest point. Draws when the caret
    // moved or went off.
    void SetKeyToPosition(CPoint pt, unsigned int flags);
    // When the pointer element has left the tree, the element at pt takes
    // its place. True when there is one.
    bool ValidateCursorOn(CPoint pt);
    // When the caret element has left the tree, the caret goes to the caret
    // point (SetKeyToPosition with flag 1). Always true.
    bool ValidateKeyCursor();
    // The caret at the start of e: a table's caption or first cell, a
    // definition list's first child (each at its first text run), or a text
    // run itself. Anything else changes nothing.
    void PutCursorIn(CElement* e);
    // Erases the caret, makes e (when not null) the caret element and
    // offset (when not negative) its offset, and draws the caret again. The
    // caret point is not recomputed.
    void ChangeCursorElement(CElement* e, int offset);
    // Tab (forward) and Shift-Tab in a table: the caret to the start of the
    // next (previous) cell or caption, in reading order (right to left in a
    // right-to-left table); past the table's ends, into the siblings after
    // (before) it. No table, or nothing found: no change.
    void MoveCursorToNextCell(CElement* from, bool forward);
    // The caret to the start (start) or one past the end of the selection's
    // text; a selection without text puts it beside its first (last) image
    // or rule. The new caret element, or null (no change).
    CElement* SetPositionToFirstSel(bool start);
    // Left or Right over a selection of images and rules alone (no text
    // selected): the caret goes before the first (Left) or after the last
    // (Right) of them, as over text. SetPositionToFirstSel puts it on the
    // far side of an image, where Right would never pass one. Null, nothing
    // done, when text is selected or no caret stop stands there.
    CElement* CollapseArrowOverImages(bool left);
    // The caret to the next stop after e, else the one before it. The new
    // caret element, or null.
    CElement* MoveFocusToNextElement(CElement* e);
    // The caret to where the caret marker stood in the loaded markup
    // (FindCursorFromSource). The new caret element, or null.
    CElement* SetCursorFromSource();

    // ---- writing the document as XHTML (XDocWrite.cpp) ----
    // The document as XHTML into out (cleared first), steered by the mode
    // bits: 1 indented, 2 compact, 4 no generator comment, 8 the element
    // writer gets the mode as it is and no selection (else it also merges
    // identical inline neighbours and marks the selection), 0x40 the style
    // rules and the default base URL in the head, 0x400 a fragment gets the
    // page frame (html with dir, head, body), 0x4000 and 0x8000 (caret and
    // selection markers) reach the element writer on the tidy path; 0x80,
    // 0x200 (non-ASCII as references) and 0x1000 only reach the writers.
    // Modes in use: 6 the undo baseline and change detection, 1 or 2 (with
    // 0x200) the page's value, 32769 the source view, 17474 the preview.
    // The generator comment "<!-- Generated by NAME version VERSION on
    // YYYY-MM-DDTHH:MM:SS -->" (local time) leads unless bit 4 is set or the
    // control's EnableTimestamp is off; no "--" of the name or version
    // reaches it. With tidy the body goes through ProcessSourceOutput. A
    // body holding only one paragraph with nothing but a no-break space, or
    // only white space, writes as empty text (in frame mode as the bare
    // page). A fragment's body loses its attributes (it is written bare).
    void GetSourceCode(CSafeBuf& out, int mode, bool tidy);
    // The tidy pass over written body text (a "body", or an "html" holding
    // one): read into a markup tree, empty inline elements and bare anchors
    // removed, breaks moved into inline elements, alike neighbours merged
    // (at most kCombineRoundLimit rounds), loose content put into
    // paragraphs, and written back in mode (the body at level 1 and after a
    // TAB for an indented full document, else at the margin). False, text
    // unchanged, when it does not read as markup; false and text empty when
    // memory runs out.
    bool ProcessSourceOutput(CSafeBuf& text, int mode, bool fullDocument);
    // The selection as a fragment, compact, a single enclosing element
    // unwrapped where that keeps its meaning (a paragraph, not a bold run);
    // empty when nothing is selected. *inPre, when given, tells whether the
    // fragment is the content of a pre that was unwrapped (its line ends are
    // then lines of the text, not white space of the markup).
    void GetSelectionCode(CSafeBuf& out, int mode, bool* inPre = nullptr);

    // ---- loading (XDocLoad.cpp) ----
    // Turns XHTML text (UTF-16, NUL-terminated; null reads as empty), a body
    // fragment or a whole document, into the document's tree: a text that
    // holds "<body" and "</body>" is a whole document (the full-document
    // flag is set), any other is wrapped in the control's html start tag
    // (Dir, Namespaces) and a body, the empty text as one empty paragraph.
    // Named references are read as the characters they name. The head's
    // style element becomes the document's own rules (after the control's
    // sheet) and is kept as markup apart from the rest of the head; its base
    // gives the body's base URL. The tree is read, its data tables get their
    // header ids, the caret goes where the caret marker stood, the tree is
    // repaired, laid out and painted, and its mode-6 text becomes the
    // baseline. Scroll, caret, pointer and handle state are reset first,
    // even when the load fails. False when the text does not parse (a tree
    // already held stays; without one the empty document is loaded) or
    // holds no body (the tree stays; without one an empty body is made).
    // A style element that came with inserted markup: its markup and the
    // rules it holds.
    struct InsertedStyle
    {
        CSafeBuf markup;
        CSafeBuf rules;
        bool screen = true; // its media is for the screen: its rules apply
    };
    // Style elements inserted with markup go into the head, after what it
    // holds, as a loaded document's style elements stand there: read as
    // content, their rules would show as text. The first becomes the
    // document's sheet when it has none; the others are kept and written
    // back as they came. The rules of each for the screen apply at once,
    // after those already there, and the tree is restyled; one for print
    // or another medium is only kept (and never becomes the sheet). A
    // fragment with a style element becomes a whole document, as it does
    // when loaded. The caller lays the document out again.
    void AddStyleElements(const std::vector<InsertedStyle>& styles);
    // Appends the document's own rules (m_ownSheets) to the working rules:
    // for a caller that has just put the control's sheet there anew.
    void LoadOwnSheets();
    bool LoadDocument(const unsigned short* text);
    // LoadDocument that calls `read` (when given) once the text has been
    // read into the tree, before the layout: the caller may let go of the
    // text then (it is not read again) and set the tree's view up.
    bool LoadDocument(const unsigned short* text, const std::function<void()>& read);
    // LoadDocument of the empty text: one paragraph holding one empty run.
    bool CreateNewDocument();
    // LoadDocument without its last steps (layout and painting, the
    // baseline); built tells whether a new tree was made, which then still
    // needs them. For measuring the load apart from layout.
    bool ReadDocument(const unsigned short* text, bool& built);

    // ---- the edit guard (XDocGuard.cpp) ----
    // Whether a change of the kind action may go ahead where it would act:
    // on element, or (null) on the caret or the selection. The low 15 bits
    // of action say what the change is: 1 typing the character sub; 2
    // inserting or pasting and 4 cutting (refused in a locked place); 3 the
    // context menu, never refused, whose Cut (32811) and Paste (32813)
    // entries leave extra (a qm::ui::Menu*) when element is locked; 5 the
    // tag list for element; 6 the tag box, never refused; 7 an editing
    // command with the sub-code sub (sub-code 11 judges a style item by
    // mode and extra, the item's element name as UTF-16 text); any other
    // action is allowed. A refusal is shown to the user in a message box
    // unless action has bit 0x8000. The guard changes nothing else.
    bool CanDocumentBeChanged(int action, CElement* element, long sub, long mode, void* extra);
    // With a selection: IsSelectionLocked(selecting); else whether the
    // caret element is locked.
    bool IsCursorInLocked(bool selecting);
    // Whether a selected element is locked (a wholly selected element's own
    // lock flag passes); false without a selection.
    bool IsSelectionLocked(bool selecting);
    // e is a live element linked into the tree under the root.
    bool IsElementInTree(const CElement* e) const { return IsInTree(e); }

    // ---- pointer, typing and undo members whose work is still to come
    // (XDocPending.cpp): each does nothing and answers false ----
    // A press (flags 2 real, 0 simulated), a move (flags 2: the button is
    // held) and a release of the pointer at a view point.
    bool LButtonDown(unsigned int flags, CPoint point);
    bool MouseMove(unsigned int flags, CPoint point);
    void OnLButtonUp(unsigned int flags, CPoint point);
    // Marks the selection between two ends; ProcessSelectionFrom from the
    // press point to point.
    void ProcessSelection(CElement* end, CPoint endPoint, CElement* anchor, CPoint anchorPoint);
    void ProcessSelectionFrom(CPoint point);
    // Refreshes the style drop-list and buttons for the selection.
    void DisplaySelectionStyle();
    // No element claims a double click for a selection of its own: false.
    bool CheckForCustomSelection(CElement*, bool) { return false; }
    // Set by the engine's press handler while the button is held after a
    // press (drag-select mode); the pointer code reads and ends it.
    unsigned char m_dragSelectMode = 0;
    // Where a Shift selection made with keys started (with
    // m_selectionAnchor), document pixels.
    CPoint m_selectionAnchorPoint;

    // ---- typing (XDocTyping.cpp, XDocLineMoves.cpp, XDocInsertPoint.cpp) ----
    // Keys as the engine passes them: 1 Home, 4 End, 8 Backspace, 9 Tab, 13
    // Return, 28 to 31 Left, Right, Up, Down, 127 Delete, 32 and above the
    // characters typed; the modifiers are read from the key state.
    //
    // A key at the caret: a selection is collapsed by the arrows and deleted
    // by Backspace, Delete, Return and characters (a p, heading or div typed
    // over whole leaves a p in its place: a copy of a p); Home and End go to
    // the line's edges, with Command to the document's; Up and Down move by
    // lines keeping the column (with Control or Option by blocks, in tables
    // by rows); every other key goes to the caret element's OnChar. True
    // when the key was used.
    bool OnChar(unsigned int key, unsigned int repeat, unsigned int flags);
    // Return at the caret for inserted text: a line break in a caption,
    // else the caret element's Return. Nothing is drawn.
    void EmulateReturnKey();
    // Plain text at the caret (beside an element that takes the caret
    // whole, in a new run); a run standing in the body is wrapped in a p.
    void InsertText(const unsigned short* text);
    // Before text goes in: a caret that has left the tree (and no
    // selection) goes to the body's first text run, or to a new empty
    // paragraph. Answers false.
    bool ActionBeforeInsertText(unsigned short ch);
    // The caret's text run, standing in the body (its first child, or any
    // child with force), is wrapped in a new p with its inline neighbours up
    // to the nearest blocks, and laid out. Whether it was.
    bool AddPToFirstTextInBody(bool force);
    // A caret that has left the tree goes to the first text run, else the
    // last element that takes the caret whole, else a new empty paragraph
    // (answering true). False when the caret was in the tree.
    bool CheckKeyFocus();
    // The caret element is in the tree; with create an empty body first
    // gets a text run for the caret.
    bool CanInsert(bool create, bool);
    // CanInsert(true); a caret on an element that takes it whole moves into
    // a new text run beside it. False without a caret.
    bool PrepareInsertPoint();

    // ---- deleting and combining (XDocDelete.cpp, XDocCombine.cpp) ----
    // Deletes the selection (byKey: Backspace or Delete asked for it, and a
    // table cell, dd or dt left holding only a p loses that wrapper). The
    // caret ends on a live element: where the selection was, else beside
    // it, else in a new empty paragraph. A blank left at the edge of a
    // block's text becomes a no-break space (HoldEdgeBlanks), except, with
    // typing (a character is typed over the selection), the one right
    // beside the caret. With join, a selection from inside one block into
    // the text of another leaves what is left of the two as one block
    // (JoinDeletionEdges). True.
    bool DeleteSelection(bool byKey, bool typing = false, bool join = false);
    // Deletes the selection a moving drop takes away, the caret staying
    // where it stands (the drop point; moved only when the deletion took
    // its element). What is left of two blocks the selection ran across
    // becomes one (JoinDeletionEdges), and the cells, dd and dt it took
    // content out of are left as by DeleteSelection with byKey.
    void DeleteMovedSelection();
    // A table, definition list or pre whose content is all selected, the
    // selection going on outside it, is selected whole, so that deleting the
    // selection takes it rather than leaving it emptied (DeleteSelection
    // does this first).
    void SelectWholeStructures();
    // Mode 0: second empty text runs go, then neighbouring text runs of one
    // parent become one, and so do neighbouring inline elements with the
    // same tag and attributes (not images, breaks or kinds that write
    // themselves), until nothing merges. Other modes only drop second empty
    // runs. Whether the tree changed.
    bool CombineElement(int mode);
    // e's parent removes it (destroying it with destroy). False without a
    // parent.
    bool RemoveElement(CElement* e, bool destroy);
    // e's children take its place; its parent is restyled.
    bool RemoveChildOnly(CElement* e);
    // Drops the empty text runs at the head (where 0 or 1) and tail (0 or
    // 2) of list; the tree is not touched.
    void TrimEmptyElement(CPtrList* list, int where);
    // The root joins the listed elements again where they were split.
    bool ReunionElements(CPtrList* list);
    // ---- pointer and selection (XDocPointer.cpp, XDocSelection.cpp) ----
    // The selection lives in the elements (element/ElementSelection.cpp);
    // the document keeps the summary below. A press places the caret,
    // selects an element whole or, inside the selection, starts a drag; a
    // move with the button held extends the selection from the press
    // point; cells of one table touched by a drag are marked as a rectangle.
    // LButtonDown, MouseMove, OnLButtonUp, ProcessSelection,
    // ProcessSelectionFrom and DisplaySelectionStyle, declared above, are
    // defined there too.
    //
    // Whether the root reports a selected element; false on an exception.
    bool CheckSelection();
    // With a selection: clears every element's marks; then no selection,
    // no cell-mark mode, no marked cells or table.
    void CleanSelection();
    // The element of kind that holds every selected element, when no
    // selected text run is only partly selected; else null.
    CElement* IsSelectionUnderSameTag(int kind);
    // Appends to out each child of the lowest block holding the selection
    // that is selected or holds a selected descendant (once each). The
    // count: a child that is or holds a block adds 1, an inline child adds
    // 1 only while the count is 0.
    int GetTopSelectedBlocks(CPtrList* out);
    // Selects the content of every marked cell of table; with any, the
    // selection is present and the toolbar follows it.
    void SelectChildOfMarkInTable(CElement* table);
    // Button 9 (leave blockquote) enabled while the selection, or the caret
    // without one, stands in a blockquote.
    void DisplayTabStyle();
    // The selection as a drag carrying the editor's markup, the engine's
    // token and the plain text (item kDragItem); tracked modally. Answers
    // false (nothing left to show).
    bool StartSelectionDrag();
    // In cell-mark mode with the ends in different cells of the marked
    // table: the marks become the rectangle of cells between those two.
    void MarkCellRectangle(CElement* anchor, CElement* end);
    // Shows the pointer shape (the numbers of m_pointerShape); other
    // numbers leave it.
    void SetPointerShape(int shape);
    // The pointer shape last set: 0 arrow, 2 text, 3 hand, 4 horizontal,
    // 5 and 6 the diagonals, 7 vertical resize.
    int m_pointerShape = 0;
    CPoint m_pressPoint;                  // document point of the last press
    unsigned char m_pressInSelection = 0; // the last press fell inside the selection
    unsigned char m_textDrag = 0;         // that press was inside a selection of text
    CElement* m_markedTable = nullptr;    // borrowed: the table whose cells are marked
    std::uint32_t m_dragToken = 0;        // 'QMD1' of this engine's drags (set by the engine)
    static constexpr std::uint32_t kDragItem = 1111;

    // ---- fields (those the element layers read are in CXDocServices) ----
    CSafeBuf m_language{"en"};

    // Fields whose use belongs to the view, caret, pointer and resize code
    // keep only their initial values here; that code gives them their
    // meaning.
    qm::qd::Port* m_port = nullptr; // the port Redraw draws into (GrafPtr)
    // The browser window's clip (top, left, bottom, right); nothing is drawn
    // while top and bottom are both 0.
    short m_clipTop = 0;
    short m_clipLeft = 0;
    short m_clipBottom = 0;
    short m_clipRight = 0;
    CSafeBuf m_tooltipText; // the help tag last shown
    CImage m_dragImage;     // shown beside a dragged selection
    int m_offscreenWords[2] = {0, 0};
    CImage m_markerImage;
    int m_viewWords[2] = {0, 0};
    int m_markerImageWidth = 0;
    int m_markerImageHeight = 0;
    int m_viewIntegers[2] = {-1, -1};
    int m_scrollX = 0; // the document point at the view's top-left
    int m_scrollY = 0;
    CRect m_viewRect;                      // the editing view's client area
    CRect m_scrollBarRect;                 // read by SetScrollBar
    CRect m_windowRect;                    // the area the document lays out into
    int m_viewWidth = 0;                   // exact; the view rectangle's is rounded up to 8
    int m_caretStale = 0;                  // the caret is recomputed before it is drawn
    CElement* m_pointerElement = nullptr;  // borrowed
    CElement* m_handleElement = nullptr;   // borrowed: the element with resize handles
    CElement* m_selectionAnchor = nullptr; // borrowed
    CSafeBuf m_htmlStartTag;               // of the loaded document's html element
    CSafeBuf m_headStartTag;
    unsigned char m_caretEnabled = 0;
    unsigned char m_caretPhase = 1;        // flipped by the blink timer
    unsigned char m_caretEnabledSaved = 1; // across a loss of focus
    unsigned char m_selectionPresent = 0;
    unsigned char m_pointerFlags[3] = {0, 0, 0};
    int m_styleLoadWord = 0;
    unsigned char m_cellMarkMode = 0; // the marked count is m_selectedCellCount
    unsigned char m_viewFlag = 1;
    CPoint m_caretPoint; // the caret's foot, document pixels
    CPoint m_handlePoint;
    CSafeBuf m_headMarkup;  // the loaded head, its style element removed
    CSafeBuf m_styleMarkup; // the loaded head's style element
    int m_sheetPlace = -1;  // where in m_headMarkup that element stood
    // Where the head's later style elements whose rules apply stand in
    // m_headMarkup (start, end), in order: a page written with the working
    // rules in its head (the preview) leaves them out, so that no rule is
    // there twice.
    std::vector<std::pair<int, int>> m_sheetSpans;
    // The texts of the head's style elements whose rules apply (the sheet
    // and the later ones for the screen), in document order: the document's
    // own rules, read again after the control's sheet when that changes.
    std::vector<CSafeBuf> m_ownSheets;
    unsigned char m_pointerByte = 0;
    CSafeBuf m_spareText;
    // The paragraph (item, entry) the last DeleteSelection made in place of
    // a unit it removed whole; 0 when it made none.
    long m_deletionPlace = 0;
    // The loaded text carried its own body tags: the writer keeps the
    // document's html and head.
    unsigned char m_fullDocument = 1;
    unsigned char m_layoutFlags[4] = {0, 0, 0, 0};
    const CSafeBuf* m_generatorName = nullptr; // the control's product name
    unsigned long m_caretColor = RGB(0, 0, 0);
    CSafeBuf m_sourceBaseline; // the text as of the last load or snapshot
    long m_baselinePathId = 0; // identifier of the caret element then; 0 for none
    int m_baselineCaretX = 0;  // relative to the view
    int m_baselineCaretY = 0;
    int m_baselineScrollX = 0;
    int m_baselineScrollY = 0;
    int m_baselineHeldBlock = -1; // the held no-break space then (UNDO_ITEM)
    long m_baselineHeldAt = -1;
    CPoint m_viewPoint;
    unsigned char m_viewByte = 0;
    int m_viewWord = 0;
    CPoint m_lastKeyPoint;
    CPoint m_lastKeyPos;    // (-1, -1) after a load: unset
    CSafeBuf m_versionText; // the control's version
    int m_resizeState = 0;
    CRect m_resizeRect;
    CElement* m_resizeElement = nullptr; // borrowed
    CPtrList m_undoList;                 // UNDO_ITEM*, oldest first; owned
    CPtrList m_redoList;                 // UNDO_ITEM*, oldest first; owned
    int m_subDocMode = 0;                // 0 never asked, 1 asked and none received, 2 held
    SUBDOC_INFO* m_subDocInfo = nullptr; // owned chain
    DOC_CURSORS m_cursors;
    int m_caretHeight = 16; // pixels
    unsigned char m_clickFlags[4] = {0, 0, 0, 0};
    // Clipboard and uploads: images waiting for their upload to finish, by
    // their resolved source in lower case; an entry is emptied once its
    // upload is done (CXHTML::ImageUploaded). Nothing fills it yet.
    std::vector<CSafeBuf> m_uploadWaitingImages;

    // ---- view state ----
    // Indexes of m_layoutFlags: DrawDoc and ResizeWindow skip the merge of
    // like neighbours while combining is suspended; the horizontal bar's
    // state when there is no control to hold it; the vertical bar is
    // active (cleared on load).
    static constexpr int kCombiningSuspended = 0;
    static constexpr int kHorizontalBarAlone = 2;
    static constexpr int kVerticalBarActive = 3;
    DOC_SCROLL_BAR m_horizontalBar; // bar 1
    DOC_SCROLL_BAR m_verticalBar;   // bar 2

    // ---- insertion rules (XDocInsertRules.cpp) ----
    // Whether markup, a tag (by name) or a file (by name) may go in at the
    // caret. Inside a dt no block tag goes in, nor markup holding a block;
    // inside a pre neither does markup holding a block or an img, object,
    // big, small, sup or sub, nor a picture file (jpg, jpeg, gif, bmp, png,
    // tiff). No caret in the tree: allowed. A refusal with tell shows the
    // message "message-box/cannot-insert-into-given-location" once.
    bool CanInsertTo(
        const unsigned short* markup, const unsigned short* tag, const unsigned short* fileName, bool tell);
    // Puts the one element that markup holds in at the caret (making a
    // caret first in an empty document) and answers it, null when nothing
    // went in. A caret beside an element that takes it whole gets a text run
    // there first. With paragraph and the caret in a p: an empty p takes the
    // markup and then goes; a caret at the very start of a block puts the
    // markup before that block. Otherwise the caret element's own insertion
    // runs (after: second, splitting blocks with paragraph, dropping an
    // emptied second half with third). With emptyCell an empty caret run
    // standing in a dd or table cell goes once the caret has left it.
    CElement* InsertTagText(const unsigned short* markup, CElement* before, bool paragraph, bool second,
        bool third, bool emptyCell);
    // The 8-bit markup is read as UTF-8.
    CElement* InsertTagText(
        const char* markup, CElement* before, bool paragraph, bool second, bool third, bool emptyCell);
    // After a tag was applied around e: each ancestor of e below the root is
    // made fit to hold it. Structural and form tags (p, table parts, lists,
    // a, ...) lose their style and class; other inline wrappers are
    // unwrapped; a div is left alone unless option bit 0x800 is set; a
    // heading, pre or div without block children becomes a p. Ancestors
    // locked by themselves are passed over.
    void RemoveUnexpectTag(CElement* e);
    // Whether opening ("<" and a tag name) occurs in text at or after index
    // from, followed by a blank, a TAB, "/" or ">".
    static bool IsThereTagInString(const unsigned short* text, const unsigned short* opening, int from);

    // ---- element lookup by path and table direction (XDocPath.cpp) ----
    // The element a path of steps "/" tag "[" position "]" names, the first
    // step naming the body (its position not tested), each later one the
    // position-th child (from 1) with that tag. Null when a step names no
    // element or is malformed (empty name or position, a position below 1,
    // a step broken off); a remainder after the last step too short to be a
    // step (at most three characters after its "/") is ignored.
    CElement* FindElementByQPath(const unsigned short* path);
    // For a table: when the nearest "dir" of the table or an ancestor is
    // "rtl" (without one: when the document is right to left), every row
    // gets align="right".
    void ChangeAlignmentToContext(CElement* table);
    // Whether e stands right to left: the nearest "dir" of e or an ancestor
    // says so, or, without one, the document is right to left.
    bool IsRightToLeftAt(const CElement* e) const;

    // ---- resize handles and size tips (XDocResize.cpp) ----
    // The resize state (m_resizeState) is 0 when nothing is resized, 1 while
    // an image shows its handles (m_handleElement) and the handle code from
    // 2 on while a press on a handle is held: 2 top-right, 3 right, 4
    // bottom-right, 5 bottom, 6 bottom-left, 7 left, 8 top-left, 9 top (a
    // table: 3 and 7 within 10 pixels of its right and left edges), 10 and
    // 11 a cell's left and right border (within 5 pixels). Option bit 0x20
    // turns resizing off.
    //
    // The new rectangle for the pointer at pt (document point) while a
    // handle is dragged: the dragged edge follows the pointer from where it
    // was grabbed; a corner keeps the image's aspect ratio; an edge passing
    // the opposite one, or a cell border coming within 16 pixels of the far
    // edge of either cell beside it, leaves the outline where it was. Kept
    // as the resize rectangle (a cell's: left 0, right its new content
    // width), drawn dotted over the view, its size shown in a help tag
    // ("W X H" for an image, "N px" for a table or cell).
    void DrawResizeBorder(CPoint pt);
    // A press at pt (document point) on hit while the pointer shows a resize
    // shape: the resize begins (an empty help tag, the first outline) and
    // true; false when pt is on no handle.
    bool StartResize(CElement* hit, CPoint pt);
    // The pointer over the image showing handles with the button up: its
    // handle code and pointer shape follow the handle under pt. False when
    // hit is not that image.
    bool TrackImageHandles(CElement* hit, CPoint pt);
    // The release of a resize: an image gets width and height attributes
    // (and keeps its handles), a table or column its new width through the
    // table (the handles go). False when no resize was under way.
    bool CommitResize();
    // The handle code of the 6 x 6 image handle squares of r that hold pt; 0
    // when none. The pointer shape of a handle code (0 for none).
    static int ImageHandleAt(const CRect& r, CPoint pt);
    static int HandleShape(int code);
    // e's box in document coordinates.
    static CRect ElementRect(CElement* e);
    bool ResizingAllowed() const;
    // The handle under the pointer while an image shows its handles.
    int m_handleCode = 0;
    // Set when a release wrote a new size; the engine reports the edit and
    // clears it.
    unsigned char m_resizeCommitted = 0;
    // How many bytes of a text the parser takes at a time while a load
    // reads the body from what it has made so far (ReadWhileParsed); 0
    // parses every text whole before reading it. The tree is the same.
    size_t m_parsePiece = CXmlPushParse::kPieceBytes;

private:
    // The control's horizontal-bar switch (without a control the
    // document's own flag).
    bool HorizontalBarShown() const;
    void ShowHorizontalBar(bool show);
    // e is a live element linked into the tree under the root.
    bool IsInTree(const CElement* e) const;
    // The dotted outline of n (document coordinates) over the view.
    void DrawResizeOutline(const CRect& n);
    // Offers the document point pt to e as a click that places the caret
    // (LButtonDown with flags 0xFFFF); with commit and e accepting, the
    // caret is e at the point and height it gave. Whether e accepted.
    bool OfferCaret(CElement* e, CPoint pt, bool commit);
    // The edit guard's typing test for character c at the caret (null:
    // none) without the Return test, and its message box.
    bool TypingAllowed(CElement* caret, long c);
    void ShowLockedMessage();
    // Steps of typing: a key over the selection (false: the key is done),
    // the key at the caret, the clean-up after an element's key (moveOnly:
    // the key only moved the caret), and the finish every key shares
    // (caret, column, drawing).
    bool TypeOverSelection(unsigned int c);
    bool TypeAtCaret(unsigned int c, unsigned int repeat, unsigned int flags);
    void AfterElementKey(bool moveOnly);
    void FinishKey();
    void RemoveEmptySiblings(CElement* e);
    bool MoveByLine(bool down, bool shift, bool fromSelection);
    bool MoveByBlock(bool down);
    void MoveToLineEdge(bool end);
    // Steps of DeleteSelection: where the caret goes when the element it
    // aims at is deleted, where it aims at (cellId: the cell holding the
    // whole selection), and a new empty paragraph at the body's end that
    // takes the caret.
    CElement* DeletionFallback();
    CElement* DeletionTarget(CElement* first, long& cellId);
    CElement* AppendEmptyParagraph();
    // Undo (from the undo list, the present to the redo list) and redo (the
    // other way round); toButton is the clip code of the list the present
    // goes to.
    bool Restore(CPtrList& from, CPtrList& to, int toButton);
    // Pushes the baseline as an undo snapshot and makes present (the text
    // written now) the baseline with pathId and the present caret and
    // scroll; the redo list empties. False when memory ran out.
    bool PushBaseline(const CSafeBuf& present, long pathId);
    // The identifier that tells whether the caret left the element it was
    // in when the baseline was taken (SaveUndo); 0 without a caret.
    long CaretPathId() const;
    // The held no-break space (m_heldBlankBlock, m_heldBlankAt) as a place
    // that the same text read again gives back: its block's place among the
    // tree's blocks in document order (the body 0) and its offset in the
    // block's text; -1 and -1 when none. HoldBlankAt makes the record again
    // from such a place in the present tree (none when it has no such block).
    void HeldBlankPlace(int& block, long& at) const;
    void HoldBlankAt(int block, long at);
    // Steps of ReadDocument on the parsed text: what the document keeps
    // beside its tree (start tags, the head's sheet; the tree held goes when
    // there is a body), the empty root when none is held, and the body read
    // into the root and repaired, its runs made and styled. parse, when
    // given, is still parsing body; keep, when given, is asked once the body
    // is read whether to go on (false: the root is left as read).
    _xmlNode* TakeDocumentParts(_xmlNode* html, _xmlNode* head, _xmlNode* body, bool whole);
    bool MakeRoot(bool forBody);
    bool ReadBody(_xmlNode* head, _xmlNode* body, bool marked, size_t estimate, CXmlPushParse* parse,
        const std::function<bool()>& keep);
    // The read of a text's bytes with the body taken while the parser parses
    // them, when no tree is held. False, with no tree, for a text read from
    // its whole parse instead.
    bool ReadWhileParsed(const std::string& bytes, bool whole, bool marked, size_t estimate, bool& built);
};
