#pragma once
// CXHTMLServices: what the element tree, the styling code and the element
// kinds use of the editing engine, and no more. The engine CXHTML
// (editor/XHTML.h) derives from it. It is every element's owner: an element
// passes its owner on to the elements it creates and reaches the document
// (m_doc) and the control (m_control) through it.
//
// The fields listed here live in this class and keep their names; the calls
// are virtual and defined by CXHTML.

#include "base/geometry/Point.h"
#include "base/text/SafeBuf.h"
#include "element/services/XDocServices.h"
#include "style/Image.h"

#include <vector>

class CControlServices;
class CElement;
class CLangString;
struct _xmlDoc;
struct _xmlNode;

class CXHTMLServices
{
public:
    CXHTMLServices(const CXHTMLServices&) = delete;
    CXHTMLServices& operator=(const CXHTMLServices&) = delete;

    // Shows a help tag with text at point in the editor's window, and hides
    // it.
    virtual void DisplayTooltip(CPoint point, const unsigned short* text, bool left) = 0;
    virtual void HideTooltip(bool) = 0;
    // A modal message box with the localised text of key.
    virtual void DisplayMessageBox(const char* key) = 0;
    // Refreshes the display of the elements around the caret.
    virtual void DisplayTagBox() = 0;
    // Refreshes the clipboard buttons for the selection; the engine's
    // clipboard code defines it.
    virtual void SetCopyState() { }

    // The control's option bits (0 without a control's options). Bit 32
    // forbids resizing tables with the mouse.
    int Options() const { return m_controlOptions ? *m_controlOptions : 0; }

    // ---- the markup source view's Indent tool ----
    // The markup text re-indented by the markup tree writer; false, with out
    // empty, when the text does not parse (or the engine cannot indent).
    virtual bool IndentMarkup(const unsigned short* text, CSafeBuf& out);

    // ---- sub-documents: the document's web-service calls ----
    // Posts a SOAP request body to url and reads the answer
    // (CXHTML::FetchSoapService); the default sends nothing and fails.
    virtual bool FetchSoapService(const unsigned short* url, const CSafeBuf& body, _xmlDoc** document,
        _xmlNode** result, CSafeBuf& prefix, bool report);

    // ---- fields ----
    CXDocServices& m_doc;                  // the document the engine holds
    CControlServices* m_control = nullptr; // the owning control
    CLangString* m_langString = nullptr;   // the control's language table
    const int* m_controlOptions = nullptr; // the control's option bits
    // How images are drawn when they have no setting of their own: 1
    // graphic, 2 alternative text, 3 outline.
    int m_imageDisplayMode = 1;
    CSafeBuf m_missingPictureText;     // drawn, framed, for a picture that cannot be drawn
    int m_visibleBottom = 0;           // bottom of the visible view, document coordinates
    bool m_showLineBreakMarks = false; // a br is shown as m_lineBreakIcon
    // Text runs outside a pre write a blank after a blank as &#160;, so
    // that typed runs of blanks read back.
    bool m_preserveSpaces = true;
    CImage m_lineBreakIcon;
    int m_lineBreakIconWidth = 0;
    int m_lineBreakIconHeight = 0;
    // Set by a text run when a key cannot be carried out where the caret
    // stands; cleared before and tested after each key.
    unsigned int m_keyRefused = 0;
    // A link inserted beside another link gets a " | " text between them
    // (uploaded files inserted one after another). Off while the editor's
    // own markup goes back in, whose links stood side by side as copied.
    bool m_separateLinks = true;

    // ---- the row, column and table selection (table rows and columns) ----
    // What the engine's select-table, select-row and select-column commands
    // marked, by identifier (identifiers are never reused): the table, and
    // the rows of a row selection. A row or table is framed as selected
    // while it is recorded here and a cell of it still carries its mark.
    enum GridSelection
    {
        kGridNone = 0,
        kGridTable = 1,
        kGridRows = 2,
        kGridColumns = 3
    };
    int m_gridSelection = kGridNone;
    long m_gridTableId = 0;
    std::vector<long> m_gridRowIds;
    // Whether e (a table or row) is marked by that selection.
    bool IsGridMarked(const CElement* e) const;
    void ForgetGridSelection();

protected:
    // doc must outlive every element that reaches it through this object.
    explicit CXHTMLServices(CXDocServices& doc);
    virtual ~CXHTMLServices();
};
