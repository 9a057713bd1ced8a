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
#include "document/DocCursors.h"
#include "style/Image.h"

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

    // Destroys every picture of the pool; the pool becomes empty.
    void ReleaseImagePool();
    // Frees the offscreen bitmap's pixels and clears its sizes.
    void ReleaseBitmap() override;
    // Frees the installed font list.
    void ReleaseFontList();

    // Every border side of style: line style none (106), width 3 (medium).
    void SetDefaultCSSValue(ELEMENT_STYLE* style) override;

    // The sub-document service is not built yet: every fetch fails (the
    // answer is 1, "the service failed"; with tellUser the user is shown
    // "message-box/subdoc-invalid"), a null element answers 0, and no
    // element's sub-document counts as changed.
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
    // Deletes every sub-document definition; the chain becomes empty.
    void ReleaseSubDocInfo();
    // Clips a context made on the drawing port (CreateCGContext) to the
    // editing area: the view rectangle, measured from the port's top-left
    // corner, with the exact view width. Nothing without a context or a
    // live port.
    void SetClipRect(qm::cg::Context* context);
    // Always true.
    bool IsWndValid() const { return true; }
    // The working rule list (list 1) as style sheet text (StyleSheetWriter.cpp).
    void StyleXML2HTML(CSafeBuf& out);

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
    bool LoadDocument(const unsigned short* text);
    // LoadDocument of the empty text: one paragraph holding one empty run.
    bool CreateNewDocument();
    // LoadDocument without its last steps (layout and painting, the
    // baseline); built tells whether a new tree was made, which then still
    // needs them. For measuring the load apart from layout.
    bool ReadDocument(const unsigned short* text, bool& built);

    // ---- the view's layout and the writer as loading uses them ----
    // (XDocLoadStandIns.cpp, until the document view and the writer are
    // built.) DrawDoc lays the tree out at the window rectangle's width
    // and paints it; GetSourceCode writes the tree compact: the body's
    // content for a fragment, the kept html start tag, head and body for a
    // whole document.
    void DrawDoc(int mode, void* context);
    void GetSourceCode(CSafeBuf& out, int mode, bool tidy);

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
    unsigned char m_pointerByte = 0;
    CSafeBuf m_spareText;
    // The loaded text carried its own body tags: the writer keeps the
    // document's html and head.
    unsigned char m_fullDocument = 1;
    unsigned char m_layoutFlags[4] = {0, 0, 0, 0};
    const CSafeBuf* m_generatorName = nullptr; // the control's product name
    unsigned long m_caretColor = RGB(0, 0, 0);
    CSafeBuf m_sourceBaseline; // the text as of the last load or snapshot
    long m_baselinePathId = 0; // of the caret element then; 0 for none
    int m_baselineCaretX = 0;  // relative to the view
    int m_baselineCaretY = 0;
    int m_baselineScrollX = 0;
    int m_baselineScrollY = 0;
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
};
