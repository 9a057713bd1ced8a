#pragma once
// CCustomElement: any tag the factory does not know: the page's own elements and sub-document
// elements. Made only by the element factory, which stores the final kind code.
//
// An empty custom element is shown as an icon: the picture of the last
// matching icon definition of the control that has attribute conditions,
// else of the first matching one without conditions, else the built-in
// icon ("bmp00005.bmp" of the resources). The choice is made again before a
// layout when the element's attributes changed since the last one. An
// element with content is laid out as an ordinary element; one that shows
// no icon and has no children gets an empty text run, a place for the caret.
//
// A sub-document element fetches its content through the document's loader
// when its style is computed, and is then locked: its content is shown, not
// edited, and it is written back as an empty tag with its attributes. A
// failure is told to the user once per element; the element is then left
// empty and unlocked. Content is never destroyed while the caret or a caller
// may hold it: the caret moves to the element first and the children go to
// the document's removed list.
//
// Files: CustomElement.cpp (icon, layout, painting, pointer),
// CustomElementSubDocument.cpp (loading), CustomElementMarkup.cpp (writing).

#include "element/Element.h"
#include "element/markup/MarkupWriter.h"
#include "style/Image.h"

class CCustomElement : public CElement
{
public:
    explicit CCustomElement(STYLE_CLASS* rules);
    ~CCustomElement() override;

    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // The base recomputation, then (sub-document elements) the load.
    bool StyleChanged(int mode) override;
    bool SelfPaint(void* dc, CPoint origin) override;
    // The "title" attribute is shown as a tooltip while the pointer is over
    // the element.
    int MouseLeaveElement(CPoint pt) override;
    int MouseEnterElement(CPoint pt) override;
    bool GetSourceCode(
        CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var) override;
    bool AppendSourceCode(CSafeBuf& out, int level, int flags, CSafeBuf& a, CSafeBuf& b, CSafeBuf& c,
        SourceCodeVar* var) override
    {
        return AppendWrittenMarkup(this, out, level, flags, a, b, c, var);
    }
    bool GetSelectionCode(CSafeBuf& out, int mode, bool) override;

    // Chooses the icon when the attributes changed since the last choice.
    void CheckIcon();
    // The element is drawn as its icon.
    bool ShowsIcon() const;

    // Set by the factory when the tag is one of the control's sub-document
    // tags: the element's content is fetched from the sub-document service.
    bool m_isSubDocument = false;

    bool m_showAsIcon = true;           // no content (all children empty text runs)
    bool m_iconCurrent = false;         // the attributes are those of the last choice
    bool m_iconFromDefinitions = false; // the last choice found a definition
    CImage m_icon;                      // the definitions' picture; the built-in one is shared
    int m_iconWidth = 0;
    int m_iconHeight = 0;
    bool m_subDocLoaded = false;         // a load was asked at least once
    bool m_subDocErrorShown = false;     // the user was told of a failure for this element
    CMapStringToString m_iconAttributes; // the attributes at the last icon choice
    CMapStringToString m_loadAttributes; // the attributes at the last load

private:
    // Shows the built-in icon.
    void UseBuiltInIcon();
    bool LoadSubDocument();
    // Shows the message unless the user was already told for this element.
    void ShowMessageOnce(const char* key);

    bool m_builtInShown = false;
    bool m_loading = false;
};
