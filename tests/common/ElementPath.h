#pragma once
// An element's place in its tree as a path of tag names with positions
// among same-named siblings ("/body[1]/p[2]/text()[1]"), and a whole
// subtree written tag(children), for test reports.

#include "base/text/SafeBuf.h"
#include "element/Element.h"
#include "tests/common/TextHelpers.h"

#include <string>

namespace qmtest {

// A text run's name is "text()"; any other element's its tag.
inline std::string PathTag(const CElement* e)
{
    return e->IsTextElement() ? "text()" : Utf8(CSafeBuf(e->GetTagName()));
}

// "none" for a null element.
inline std::string PathOf(const CElement* e)
{
    if (!e)
        return "none";
    std::string path;
    for (; e; e = e->m_parent) {
        int n = 1;
        for (const CElement* s = e->m_prevSibling; s; s = s->m_prevSibling)
            n += PathTag(s) == PathTag(e);
        path = "/" + PathTag(e) + "[" + std::to_string(n) + "]" + path;
    }
    return path;
}

// The subtree as tag(children), a text run as its text (written by shown)
// in quotes, so that empty runs show.
template <class Shown>
std::string TreeOf(const CElement* e, Shown shown)
{
    if (e->IsTextElement())
        return "'" + shown(e->m_text) + "'";
    std::string out = PathTag(e) + "(";
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        out += (c == e->m_firstChild ? "" : " ") + TreeOf(c, shown);
    return out + ")";
}

inline std::string TreeOf(const CElement* e)
{
    return TreeOf(e, [](const CSafeBuf& text) { return Utf8(text); });
}

} // namespace qmtest
