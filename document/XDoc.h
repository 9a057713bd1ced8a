#pragma once
// CXDoc: one open document of the editor. It owns the element tree (its root
// is the body element), the registry of live elements, the elements whose
// destruction was deferred, the pictures it has loaded and the offscreen
// bitmap that the body paints into, and holds the rule lists, fonts and
// settings that the element tree, the style code and the element kinds read.
// Exactly one exists per editing engine (CXHTML), which holds it by value;
// every element reaches it through its owner pointer (the engine).
//
// This is the document as far as the element tree, styling and element kinds
// use it; loading, writing, undo, the view and editing are added by the code
// that builds them.

#include "base/collections/PtrList.h"
#include "base/text/SafeBuf.h"
#include "document/DocumentRecords.h"
#include "document/ElementRegistry.h"
#include "style/records/ElementStyle.h"

#include <memory>

class CElement;
class CPaintState;
class CRuleIndex;
class CXHTML;
struct SELECTOR_STATEMENT;
struct STYLE_CLASS;
namespace qm::text {
class Layout;
class Style;
} // namespace qm::text

class CXDoc
{
public:
    CXDoc();
    // In this order: the deferred elements, the tree, the picture pool, the
    // font list, the offscreen bitmap and the marker text objects.
    virtual ~CXDoc();
    CXDoc(const CXDoc&) = delete;
    CXDoc& operator=(const CXDoc&) = delete;

    // Creates the text style and layout for tag-marker labels: the default
    // font at the base font size, black, plain. Answers 1.
    int SysInit();

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
    bool QueueRemovedElement(CElement* e);
    // Destroys the queued elements. Run it before the tree they came from is
    // destroyed (their float entries live on that tree's root).
    void ReleaseRemovedElements();

    // Destroys every picture of the pool; the pool becomes empty.
    void ReleaseImagePool();
    // Frees the offscreen bitmap's pixels and clears its sizes.
    void ReleaseBitmap();
    // Frees the installed font list.
    void ReleaseFontList();

    // Every border side of style: line style none (106), width 3 (medium).
    void SetDefaultCSSValue(ELEMENT_STYLE* style);

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

    // The sub-document service is not built yet: every fetch fails (the
    // answer is 1, "the service failed"; with tellUser the user is shown
    // "message-box/subdoc-invalid"), a null element answers 0, and no
    // element's sub-document counts as changed.
    int LoadSubDocumentForElement(CElement* e, CSafeBuf& markup, bool tellUser);
    bool IsSubDocChanged(CElement* e);

    // Exception-log hooks; they do nothing.
    void WriteExcpInfo(const char*) { }
    void WriteExcpInfo(const unsigned short*) { }

    // ---- fields ----
    CXHTML* m_owner = nullptr;  // the engine holding this document
    CElement* m_root = nullptr; // the body element; owned, with the tree
    // The element that holds the caret; borrowed, null when none.
    CElement* m_caretElement = nullptr;
    CElementRegistry m_registry;
    CPtrList m_removedList; // CElement* awaiting destruction; owned
    IMAGE_POOL_ITEM* m_imagePool = nullptr;
    IMAGE_POOL_INDEX m_imagePoolIndex; // kept with m_imagePool
    IMAGE_LOAD_SETTINGS m_imageLoadSettings;
    CSafeBuf m_baseURL; // what image sources are resolved against
    CSafeBuf m_language{"en"};

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
};
