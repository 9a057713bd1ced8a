#pragma once
// A document read from case markup whose marker attributes set the state a
// selection or insertion test starts from; the attributes are taken off
// before the test runs:
//   _m="name"     names the element (its first text run, when it has one)
//   _sel="s:e"    its first text run is selected over s .. e (inclusive);
//   _sel="all"    the element itself is selected
//   _caret="n"    the caret stands at offset n of its first text run (of the
//                 element itself when it has none)

#include "tests/common/TextHelpers.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"

#include <map>
#include <string>

namespace qmtest {

// An element as the cases name it: a text run by its text in quotes, any
// other by its tag; "null" for none.
inline std::string Describe(const CElement* e)
{
    if (!e)
        return "null";
    if (e->IsTextElement())
        return "\"" + ToUtf8(e->m_text) + "\"";
    return ToUtf8(CSafeBuf(e->GetTagName()));
}

inline CElement* FirstTextChild(CElement* e)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsTextElement())
            return c;
    }
    return e;
}

struct MarkedDocument
{
    CXHTML engine;
    CMarkupDocument doc{&engine};
    std::map<std::string, CElement*> marked;

    bool Read(const std::string& markup, CSafeBuf& error)
    {
        if (!doc.Read(markup.data(), markup.size(), error))
            return false;
        TakeMarks(doc.Body());
        return true;
    }

    CElement* Body() const { return doc.Body(); }
    CElement* Marked(const std::string& name) { return marked.count(name) ? marked[name] : nullptr; }

    // The document's content as markup, "\r\n" taken out; with markers, the
    // selection (selection set) or the caret marker words.
    std::string Write(bool markers, bool selection)
    {
        CSafeBuf out, s1, s2, s3;
        SourceCodeVar var;
        var.selection = selection;
        Body()->GetSourceCode(out, -1, markers ? kSourceMarkers : 0, s1, s2, s3, markers ? &var : nullptr);
        std::string s = ToUtf8(out);
        const size_t open = s.find('>');
        const size_t close = s.rfind("</body>");
        if (open != std::string::npos && close != std::string::npos && close > open)
            s = s.substr(open + 1, close - open - 1);
        for (size_t at = s.find("\r\n"); at != std::string::npos; at = s.find("\r\n"))
            s.erase(at, 2);
        for (size_t at = s.find("\xC2\xA0"); at != std::string::npos; at = s.find("\xC2\xA0"))
            s.replace(at, 2, "{nbsp}");
        return s;
    }

private:
    void TakeMarks(CElement* e)
    {
        CSafeBuf value;
        if (e->GetAttrString("_m", value)) {
            marked[ToUtf8(value)] = FirstTextChild(e);
            e->SetAttrString("_m", "");
        }
        if (e->GetAttrString("_sel", value)) {
            const std::string v = ToUtf8(value);
            CElement* target = v == "all" ? e : FirstTextChild(e);
            target->m_selected = 1;
            if (v != "all") {
                const size_t colon = v.find(':');
                target->m_selStart = std::stol(v.substr(0, colon));
                target->m_selEnd = std::stol(v.substr(colon + 1));
            }
            e->SetAttrString("_sel", "");
        }
        if (e->GetAttrString("_caret", value)) {
            CElement* target = FirstTextChild(e);
            target->m_caretOffset = std::stol(ToUtf8(value));
            engine.m_doc.m_caretElement = target;
            e->SetAttrString("_caret", "");
        }
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
            TakeMarks(c);
    }
};

} // namespace qmtest
