// The tag list: the elements around the caret, or around the whole
// selection, as the text the page reads (names, XML records or paths).
//
// With a selection, the chain runs from the root down towards the first
// selected element and stops at the first element that does not hold every
// selected element: what is listed is the chain of elements that enclose the
// whole selection. A selected element counts as held by itself, except a
// text run, which is never listed.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/TagList.h"
#include "element/TreeQueries.h"

#include <vector>

namespace {

bool IsSelectedElement(const CElement* e) { return e->m_selected && e->m_selectable; }

// e holds s: s lies below e, or is e and not a text run.
bool Holds(const CElement* e, const CElement* s)
{
    if (e == s)
        return !s->IsTextElement();
    for (const CElement* a = s->m_parent; a; a = a->m_parent)
        if (a == e)
            return true;
    return false;
}

} // namespace

bool CXHTML::GetTagList(CSafeBuf& out, int format)
{
    out.Empty();
    const bool xml = format == kTagListXML || format == kTagListXMLClass;
    if (format < kTagListNames || format > kTagListIndexedPath)
        return true;
    CElement* root = m_doc.m_root;
    if (!m_doc.m_selectionPresent) {
        CElement* caret = m_doc.m_caretElement;
        if (caret && m_doc.IsElementExist(caret))
            GetEleTagList(caret, out, format);
    } else {
        std::vector<const CElement*> selected;
        for (CElement* e = root; e; e = NextInSubtree(e, root))
            if (IsSelectedElement(e))
                selected.push_back(e);
        if (selected.empty()) {
            if (format != kTagListNames)
                out = "<taglist />";
            return true;
        }
        // The chain from the root down to the first selected element.
        std::vector<const CElement*> chain;
        for (const CElement* a = selected.front(); a; a = a->m_parent)
            chain.insert(chain.begin(), a);
        CSafeBuf piece;
        for (const CElement* a : chain) {
            bool holdsAll = true;
            for (const CElement* s : selected)
                if (!Holds(a, s)) {
                    holdsAll = false;
                    break;
                }
            if (!holdsAll)
                break;
            GetEleTagListPiece(a, format, piece);
            if (format == kTagListNames && !out.IsEmpty())
                out += ",";
            out += piece;
        }
    }
    if (xml) {
        if (out.IsEmpty()) {
            out = "<taglist />";
        } else {
            out.Insert(0, "<taglist>");
            out += "</taglist>";
        }
    }
    return true;
}
