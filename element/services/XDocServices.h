#pragma once
// CXDocServices: what the element tree, the styling code and the element kinds
// use of the document, and no more. The document CXDoc (document/XDoc.h)
// derives from it; the element layers, which sit below the document, see the
// document only through this class (every element reaches it through its
// owner, CXHTMLServices::m_doc).
//
// The fields listed here live in this class and keep their names; the
// document owns what they point to and frees it. The calls that the document
// carries out are virtual and defined by CXDoc; the style-sheet and CSS
// property functions are defined by the styling code (style/parser/,
// style/sheets/).

#include "base/collections/PtrList.h"
#include "base/text/SafeBuf.h"
#include "element/ElementRegistry.h"
#include "element/services/DocumentRecords.h"
#include "style/records/ElementStyle.h"

#include <memory>

class CElement;
class CPaintState;
class CRuleIndex;
class CXHTMLServices;
struct SELECTOR_STATEMENT;
struct STYLE_CLASS;
namespace qm::text {
class Layout;
class Style;
} // namespace qm::text

class CXDocServices
{
public:
    CXDocServices(const CXDocServices&) = delete;
    CXDocServices& operator=(const CXDocServices&) = delete;

    // Creates the text style and layout for tag-marker labels.
    virtual int SysInit() = 0;

    // ---- the registry of live elements ----
    // Whether e is a live element of this document; false for null and for a
    // destroyed element (e is not dereferenced). Memory reused by a newer
    // element cannot be told from a pointer alone: keep the identifier and
    // use the identifier form for elements held across edits.
    bool IsElementExist(const CElement* e) const { return m_registry.Contains(e); }
    bool IsElementExist(long id) const { return m_registry.IsElementExist(id); }
    // The live element with that identifier, or null.
    CElement* FindElement(long id) const { return m_registry.Find(id); }

    // Queues an unlinked element for destruction outside the event that
    // removed it. False for null.
    virtual bool QueueRemovedElement(CElement* e) = 0;
    // Frees the offscreen bitmap's pixels and clears its sizes.
    virtual void ReleaseBitmap() = 0;
    // Every border side of style: line style none, width 3 (medium).
    virtual void SetDefaultCSSValue(ELEMENT_STYLE* style) = 0;

    // ---- the CSS property parser (style/parser/) ----
    // One declaration into the slots of style; each slot written is marked
    // set, and slots with an origin get origin 3 (a rule). The name is
    // compared lower-cased, the value (trimmed) as written unless the
    // property's words are case-free. True when the declaration was
    // understood; a rejected one leaves style as it was (except that
    // "text-decoration" marks the font group before it tests the value).
    bool ParseCSSStyleString(const unsigned short* name, const unsigned short* value, ELEMENT_STYLE& style);
    // A length or percentage: "%" (unit 1), "em" (unit 2, hundredths), "px",
    // "pt", "pc", "in", "mm", "cm" (unit 0, pixels at 72 per inch), "0", and
    // "inherit" (unit 0x80000000) when acceptInherit. The number is digits
    // with at most one "." and a leading sign; results beyond the range of a
    // 32-bit value are clamped. False for anything else.
    bool ParseLengthAndPercentageValue(CSafeBuf& value, int& unit, long& number, bool acceptInherit);
    // "font-size": the size keywords, "larger", "smaller", or a length or
    // percentage that is not negative.
    bool ParseFontSizeValue(ELEMENT_STYLE* style, CSafeBuf& value);
    // "font-size", "font-style", "font-weight", "font-variant", "font-family".
    bool CheckFontValue(ELEMENT_STYLE& style, CSafeBuf& value, const unsigned short* property);
    bool CheckFontValue(ELEMENT_STYLE& style, CSafeBuf& value, const char* property);
    // Resolves a family list to a font number of the installed font list (or
    // a generic family, or the default font) and rewrites family to the
    // resolved name.
    long ValidateFontFamily(CSafeBuf& family);
    // "background-image", "background-repeat", "background-color",
    // "background-position".
    bool CheckBackgroundValue(ELEMENT_STYLE* style, CSafeBuf& value, const unsigned short* property);
    bool CheckBackgroundValue(ELEMENT_STYLE* style, CSafeBuf& value, const char* property);
    // "list-style-type", "list-style-image", "list-style-position".
    bool ParseListType(ELEMENT_STYLE* style, CSafeBuf& value, const unsigned short* property);
    bool ParseListType(ELEMENT_STYLE* style, CSafeBuf& value, const char* property);
    bool ParseListImage(ELEMENT_STYLE* style, CSafeBuf& value, const unsigned short* property);
    bool ParseListImage(ELEMENT_STYLE* style, CSafeBuf& value, const char* property);
    bool ParseListPosition(ELEMENT_STYLE* style, CSafeBuf& value, const unsigned short* property);
    bool ParseListPosition(ELEMENT_STYLE* style, CSafeBuf& value, const char* property);

    // ---- style sheets (style/sheets/SheetLoader.cpp) ----
    // Appends the rules of a sheet to rule list 3 (editorList not 0) or 1.
    // mode 0: source is the sheet's text; 1: a location (URL or path); 2:
    // text when it holds "{", else a location. A location is read only
    // through the control's cache and the network loader (net/LoadHTTPFile.h):
    // a cached copy when the cache has one, else the fetched file; a failed
    // fetch deletes the cache file and adds nothing. Text that is a web page
    // ("<html" near its start) adds nothing. With rebase and a location,
    // relative background image addresses of the new rules are resolved
    // against the location's folder. False when nothing could be read.
    bool LoadStyleClass(const unsigned short* source, int mode, bool rebase, int editorList);
    // Parses one rule (selector group and declaration block) and appends it
    // to list. False only when no memory could be had.
    bool ParseRule(CSafeBuf* selector, CSafeBuf* body, STYLE_CLASS*& list);
    // Fills a rule's selectors from a selector group (SelectorParser.h).
    void ParseSelect(STYLE_CLASS* rule, const unsigned short* text);
    // Frees rule list 1, 2 or 3, or all three for 0; other codes do nothing.
    void FreeStyleClass(int code);
    static SELECTOR_STATEMENT* CopyStyleStm(const SELECTOR_STATEMENT* statement);
    // Deep copy of the source list, put in front of destination (prepend)
    // or in its place, the list it held being freed. False when the copy
    // could not be made (destination unchanged).
    bool CopyStyles(STYLE_CLASS* source, STYLE_CLASS*& destination, bool prepend);
    // Code that changes a rule list other than through the functions above
    // calls this, so that the cascade sees the change.
    void RulesChanged() { ++m_rulesGeneration; }

    // ---- sub-documents ----
    // The markup of a sub-document element into markup; with tellUser a
    // failure is shown to the user. 2 when markup was received.
    virtual int LoadSubDocumentForElement(CElement* e, CSafeBuf& markup, bool tellUser) = 0;
    // Whether the element's sub-document must be fetched again.
    virtual bool IsSubDocChanged(CElement* e) = 0;

    // ---- fields ----
    CXHTMLServices* m_owner = nullptr; // the engine holding this document
    CElement* m_root = nullptr;        // the body element; owned, with the tree
    // The element that holds the caret; borrowed, null when none.
    CElement* m_caretElement = nullptr;
    // The no-break space an edit last put right beside the caret in place
    // of a blank at the edge of a block's text (HoldEdgeBlanks): its block
    // and its offset in the block's text (OffsetInBlock), which stay when
    // layout wraps its run into pieces or joins them again. A character
    // typed there next puts it between characters, where a plain blank
    // reads back, and turns it back into one. The record waits while typing
    // goes on in other blocks, and undo and redo carry it with their
    // snapshots.
    long m_heldBlankBlock = 0;
    long m_heldBlankAt = -1;
    CElementRegistry m_registry;
    CPtrList m_removedList; // CElement* awaiting destruction; owned
    IMAGE_POOL_ITEM* m_imagePool = nullptr;
    IMAGE_POOL_INDEX m_imagePoolIndex; // kept with m_imagePool
    IMAGE_LOAD_SETTINGS m_imageLoadSettings;
    CSafeBuf m_baseURL; // what image sources are resolved against

    // Rule lists; freed by the style-sheet code.
    STYLE_CLASS* m_workingRules = nullptr; // list 1: every element is created with it
    STYLE_CLASS* m_savedRules = nullptr;   // list 2: the page's sheet, copied into 1 on load
    STYLE_CLASS* m_editorRules = nullptr;  // list 3: the editor's own sheet
    unsigned long m_rulesGeneration = 0;   // counts changes to the lists
    // The cascade's index of lists 1 and 3 (style/cascade/RuleIndex.h).
    std::unique_ptr<CRuleIndex> m_ruleIndex;

    // Fonts: the installed list, the generic families and the default font.
    FONT_LIST_ITEM* m_fontList = nullptr; // owned
    CSafeBuf m_serifFamily;
    long m_serifFont = 0;
    CSafeBuf m_sansSerifFamily;
    long m_sansSerifFont = 0;
    CSafeBuf m_cursiveFamily;
    long m_cursiveFont = 0;
    CSafeBuf m_fantasyFamily;
    long m_fantasyFont = 0;
    CSafeBuf m_monospaceFamily; // font number 1
    long m_defaultFontNumber = 0;

    unsigned char m_rightToLeft = 0; // the document is written right to left
    int m_selectedCellCount = 0;     // table cells in the current selection

    // The offscreen bitmap, written by the root's PrepareBitmap. Its pixels
    // live in the tiles of the body's context (only the resident ones take
    // memory, style/paint/PaintState.h), so m_bitmapPixels stays null and
    // m_bitmapBytes is the logical size.
    unsigned char* m_bitmapPixels = nullptr; // malloc'd
    long m_bitmapBytes = 0;
    int m_bitmapBytesPerRow = 0;
    int m_bitmapWidth = 0; // allocated; every drawing flips y against the height
    int m_bitmapHeight = 0;
    int m_layoutWidth = 0; // last laid out
    int m_layoutHeight = 0;
    void* m_colorSpace = nullptr;
    // Resident tiles, the shown rows and the geometry of the last paint.
    std::unique_ptr<CPaintState> m_paintState;

    // Text objects for tag-marker labels (SysInit).
    std::unique_ptr<qm::text::Style> m_markerStyle;
    std::unique_ptr<qm::text::Layout> m_markerLayout;

protected:
    CXDocServices();
    // The document frees what the fields point to before this runs.
    virtual ~CXDocServices();
};
