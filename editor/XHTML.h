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

#include "base/geometry/Point.h"
#include "document/XDoc.h"
#include "element/services/XHTMLServices.h"

// The engine's document. It is a base of CXHTML ahead of CXHTMLServices so
// that it is made before the services' reference to it is bound.
struct CXHTMLDocument
{
    CXDoc m_doc;
};

class CXHTML : private CXHTMLDocument, public CXHTMLServices
{
public:
    // Image display 1 (graphic); everything else 0 or empty; the document's
    // owner is this engine.
    CXHTML();
    // Destroys the element tree first: its elements reach the document
    // through CXHTMLServices, which goes before the document does.
    ~CXHTML() override;
    CXHTML(const CXHTML&) = delete;
    CXHTML& operator=(const CXHTML&) = delete;

    // Shows a help tag with text at point in the editor's window, and hides
    // it. The document view that draws them is not built yet: for now both
    // do nothing.
    void DisplayTooltip(CPoint point, const unsigned short* text, bool left) override;
    void HideTooltip(bool) override;

    // A modal message box: the title from "message-box/title-operation-failed"
    // (default "Failed to upload file!"), the button from
    // "message-box/button-ok" (default "OK") and the text found under key
    // (default empty; "upload failed." for the 8-bit form), all from the
    // language table. Without a language table the defaults are shown.
    void DisplayMessageBox(const unsigned short* key);
    void DisplayMessageBox(const char* key) override;

    // Refreshes the style drop-list around the caret. The drop-list is not
    // built yet: for now it does nothing.
    void DisplayTagBox() override;

    // The source view's Indent: the text read into a markup tree (as a whole
    // document, or else as the content of a body) and written back indented.
    bool IndentMarkup(const unsigned short* text, CSafeBuf& out) override;

    // Cleans markup from outside the editor: CXDoc::CleanXHTML.
    bool CleanXHTML(CSafeBuf& markup, int mode) { return m_doc.CleanXHTML(markup, mode); }

    // ---- fields (those the element layers read are in CXHTMLServices) ----
    using CXHTMLDocument::m_doc;
};
