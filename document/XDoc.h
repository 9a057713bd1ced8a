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

class CXDoc : public CXDocServices
{
public:
    CXDoc();
    // In this order: the deferred elements, the tree, the picture pool, the
    // font list, the offscreen bitmap and the marker text objects.
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

    // ---- fields (those the element layers read are in CXDocServices) ----
    CSafeBuf m_language{"en"};
};
