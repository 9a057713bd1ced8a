#pragma once
// CXHTML: the editing engine, one per control. It holds the document by value
// and is every element's owner: an element passes its owner on to the
// elements it creates and reaches the document (m_doc) and the control
// (m_control) through it.
//
// This is the engine as far as the element tree, styling and element kinds
// use it: its settings for images and line breaks, the key-refused flag, the
// message box and the help-tag and tag-box hooks. Event routing, commands and
// the rest are added by the code that builds them.

#include "base/geometry/Point.h"
#include "base/text/SafeBuf.h"
#include "document/XDoc.h"
#include "style/Image.h"

class CLangString;
class CMorvaXEditorCtrl;

class CXHTML
{
public:
    // Image display 1 (graphic); everything else 0 or empty; the document's
    // owner is this engine.
    CXHTML();
    virtual ~CXHTML();
    CXHTML(const CXHTML&) = delete;
    CXHTML& operator=(const CXHTML&) = delete;

    // Shows a help tag with text at point in the editor's window, and hides
    // it. The document view that draws them is not built yet: for now both
    // do nothing.
    void DisplayTooltip(CPoint point, const unsigned short* text, bool left);
    void HideTooltip(bool);

    // A modal message box: the title from "message-box/title-operation-failed"
    // (default "Failed to upload file!"), the button from
    // "message-box/button-ok" (default "OK") and the text found under key
    // (default empty; "upload failed." for the 8-bit form), all from the
    // language table. Without a language table the defaults are shown.
    void DisplayMessageBox(const unsigned short* key);
    void DisplayMessageBox(const char* key);

    // Refreshes the style drop-list around the caret. The drop-list is not
    // built yet: for now it does nothing.
    void DisplayTagBox();

    // The control's option bits (0 without a control's options). Bit 32
    // forbids resizing tables with the mouse.
    int Options() const { return m_controlOptions ? *m_controlOptions : 0; }

    // ---- fields ----
    CXDoc m_doc;
    CMorvaXEditorCtrl* m_control = nullptr; // the owning control
    CLangString* m_langString = nullptr;    // the control's language table
    const int* m_controlOptions = nullptr;  // the control's option bits
    // How images are drawn when they have no setting of their own: 1
    // graphic, 2 alternative text, 3 outline.
    int m_imageDisplayMode = 1;
    CSafeBuf m_missingPictureText;     // drawn, framed, for a picture that cannot be drawn
    int m_visibleBottom = 0;           // bottom of the visible view, document coordinates
    bool m_showLineBreakMarks = false; // a br is shown as m_lineBreakIcon
    bool m_preserveSpaces = false;     // text runs write runs of spaces as &#160;
    CImage m_lineBreakIcon;
    int m_lineBreakIconWidth = 0;
    int m_lineBreakIconHeight = 0;
    // Set by a text run when a key cannot be carried out where the caret
    // stands; cleared before and tested after each key.
    unsigned int m_keyRefused = 0;
};
