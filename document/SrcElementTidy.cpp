// CSrcElement: the passes that tidy the editor's own output: merging
// neighbours that are alike (CombineTag), moving line breaks into and out of
// inline elements (MoveBrInside, FinalClean) and putting loose inline
// content into paragraphs (FinalClean).
//
// A comment is no element: nothing is merged into it or moved inside it (it
// keeps only its text).

#include "document/SrcElement.h"

#include "document/SrcElementTags.h"

#include "base/text/U16.h"

#include <initializer_list>

namespace {

bool SameAttributes(const CMapStringToString& a, const CMapStringToString& b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    CSafeBuf name, value, other;
    void* pos = a.GetStartPosition();
    while (pos) {
        a.GetNextAssoc(pos, name, value);
        if (!b.Lookup(name, other) || other != value)
            return false;
    }
    return true;
}

bool WhiteSpaceOnly(const CSrcText& text)
{
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        if (s[i] != ' ' && s[i] != '\t' && s[i] != '\r' && s[i] != '\n')
            return false;
    }
    return true;
}

// n follows k among the children of node: whether n merges into k.
bool Merges(CSrcElement* node, CSrcElement* k, CSrcElement* n)
{
    if (k->IsComment() || n->IsComment())
        return false;
    if (k->m_tag == n->m_tag) {
        if (TagIn(n->m_tag, {"br", "img", "option"}))
            return false;
        const bool mergeable = n->IsTextNode() || n->m_nonXHTML || (n->ElementType() & CSrcElement::kInline)
            || TagIn(n->m_tag,
                {"sup", "sub", "strong", "b", "i", "u", "a", "span", "em", "ul", "blockquote", "ol"});
        return mergeable && SameAttributes(n->m_attributes, k->m_attributes);
    }
    // White space in a pre goes into the element before it when that element
    // holds something: an empty one (a target anchor, a picture, a break)
    // would come to cover the page's white space, which the next read puts
    // back in front of it, so the text would change on every write.
    return node->IsTag("pre") && n->IsTextNode() && WhiteSpaceOnly(n->m_text) && k->FirstChild();
}

// The inline elements a line break moves into.
bool TakesBreaks(CSrcElement* e)
{
    if (e->IsComment())
        return false;
    const int kind = e->ElementType();
    if ((kind & CSrcElement::kOther) && (kind & CSrcElement::kInline))
        return true;
    return (kind & CSrcElement::kInline)
        && TagIn(e->m_tag,
            {"b", "i", "a", "strong", "em", "span", "abbr", "dfn", "code", "acronym", "cite", "kbd", "samp",
                "var", "q", "label", "bdo", "big", "small", "tt"});
}

bool IsInlineOrText(CSrcElement* e)
{
    return (e->ElementType() & (CSrcElement::kInline | CSrcElement::kText)) != 0;
}

} // namespace

bool CSrcElement::CombineTag()
{
    bool changed = false;
    CSrcElement* kept = m_firstChild;
    for (CSrcElement* n = kept ? kept->m_next : nullptr; n;) {
        CSrcElement* next = n->m_next;
        if (!Merges(this, kept, n)) {
            kept = n;
        } else if (kept->m_tag != n->m_tag) {
            kept->AppendChild(n); // white space in pre goes into the element before it
            changed = true;
        } else {
            MoveChildrenTo(n, kept, nullptr);
            RemoveChild(n);
            changed = true;
        }
        n = next;
    }
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        changed |= c->CombineTag();
    return changed;
}

void CSrcElement::MoveBrInside()
{
    CSrcElement* previous = nullptr; // the last child of the chain, or null
    for (CSrcElement* c = m_firstChild; c;) {
        CSrcElement* next = c->m_next;
        if (c->IsTag("br")) {
            if (previous && !previous->IsTag("br") && TakesBreaks(previous))
                previous->AppendChild(c);
            else
                previous = c;
        } else if (TakesBreaks(c)) {
            if (previous && previous->IsTag("br"))
                c->InsertChild(previous, c->m_firstChild);
            previous = c;
        } else {
            previous = nullptr;
        }
        c = next;
    }
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        c->MoveBrInside();
}

// The children first: a line break that leaves an inline element nested in
// another then leaves the outer one too, as the next write would move it.
void CSrcElement::FinalClean(bool flag)
{
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        c->FinalClean(flag);
    FinalCleanHere();
}

void CSrcElement::FinalCleanHere()
{
    // Line breaks at the ends of inline children go out of them.
    for (CSrcElement* c = m_firstChild; c; c = c->m_next) {
        if (c->IsTextNode() || c->IsComment() || !(c->ElementType() & kInline))
            continue;
        while (c->m_firstChild && c->m_firstChild->IsTag("br"))
            InsertChild(c->m_firstChild, c);
        while (c->m_lastChild && c->m_lastChild->IsTag("br"))
            InsertChild(c->m_lastChild, c->m_next);
    }
    // Loose inline content in front of paragraphs goes into one of its own.
    if (TagIn(m_tag, {"td", "th", "dd", "div", "fieldset", "caption", "blockquote"})
        && FindChild("p", false)) {
        if (m_firstChild && IsInlineOrText(m_firstChild)) {
            CSrcElement* p = NewElement("p");
            while (m_firstChild && IsInlineOrText(m_firstChild))
                p->AppendChild(m_firstChild);
            InsertChild(p, m_firstChild);
        }
    }
    // A quotation starting with inline content holds it in one paragraph.
    if (IsTag("blockquote") && m_firstChild && !(m_firstChild->ElementType() & (kBlock | kHeading | kList))) {
        CSrcElement* p = NewElement("p");
        while (m_firstChild)
            p->AppendChild(m_firstChild);
        AppendChild(p);
    }
}
