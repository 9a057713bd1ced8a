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

bool IsWhiteSpace(unsigned short u) { return u == ' ' || u == '\t' || u == '\r' || u == '\n'; }

bool WhiteSpaceOnly(const CSrcText& text)
{
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        if (!IsWhiteSpace(s[i]))
            return false;
    }
    return true;
}

// The units of white space at the end (atEnd) or the start of text.
int EdgeWhiteSpace(const CSrcText& text, bool atEnd)
{
    const unsigned short* s = text;
    const int n = text.Length();
    int count = 0;
    while (count < n && IsWhiteSpace(s[atEnd ? n - 1 - count : count]))
        ++count;
    return count;
}

bool IsInlineOrText(CSrcElement* e);

// The child of e at its end (atEnd) or its start, white space passed over,
// is text or inline.
bool InlineAtEdge(CSrcElement* e, bool atEnd)
{
    CSrcElement* c = atEnd ? e->LastChild() : e->FirstChild();
    while (c && c->IsTextNode() && WhiteSpaceOnly(c->m_text))
        c = atEnd ? c->PreviousSibling() : c->NextSibling();
    return c && IsInlineOrText(c);
}

// n follows k among the children of node: whether n merges into k.
bool Merges(CSrcElement* node, CSrcElement* k, CSrcElement* n)
{
    if (k->IsComment() || n->IsComment())
        return false;
    if (k->m_tag == n->m_tag) {
        if (TagIn(n->m_tag, {"br", "img", "option"}))
            return false;
        // Two quotations whose text meets at the join would become one line:
        // the last word of the one glued to the first of the other.
        if (n->IsTag("blockquote") && InlineAtEdge(k, true) && InlineAtEdge(n, false))
            return false;
        const bool mergeable = n->IsTextNode() || n->m_nonXHTML || (n->ElementType() & CSrcElement::kInline)
            || TagIn(n->m_tag,
                {"sup", "sub", "strong", "b", "i", "u", "a", "span", "em", "ul", "blockquote", "ol"});
        return mergeable && SameAttributes(n->m_attributes, k->m_attributes);
    }
    // White space in a pre goes into the element before it when that element
    // holds something: an empty one (a target anchor, a picture, a break)
    // would come to cover the page's white space, which the next read puts
    // back in front of it, so the text would change on every write. Nor does
    // it go into an element whose content is read as trimmed markup text, or
    // into a script, whose text is written trimmed: either would drop it.
    return node->IsTag("pre") && n->IsTextNode() && WhiteSpaceOnly(n->m_text) && k->FirstChild()
        && !k->KeepsContentAsText() && !k->IsTag("script");
}

// The inline elements a line break moves into.
bool TakesBreaks(CSrcElement* e)
{
    if (e->IsComment())
        return false;
    const int kind = e->ElementType();
    if ((kind & CSrcElement::kOther) && (kind & CSrcElement::kInline))
        return true;
    return (kind & CSrcElement::kInline) && TakesLineBreaks(e->m_tag);
}

bool IsInlineOrText(CSrcElement* e)
{
    return (e->ElementType() & (CSrcElement::kInline | CSrcElement::kText)) != 0;
}

bool IsScriptNode(CSrcElement* e) { return e->IsTag("script") || e->IsTag("noscript"); }

// The inline content that follows the script (or noscript) n before any
// block, passing over scripts, comments and blanks; null when a block or
// the end comes first. A script between inline contents stands in their
// line: the paragraph made for them holds it too.
CSrcElement* InlineAfterScripts(CSrcElement* n)
{
    for (; n; n = n->NextSibling()) {
        if (IsScriptNode(n) || n->IsComment() || (n->IsTextNode() && WhiteSpaceOnly(n->m_text)))
            continue;
        return IsInlineOrText(n) ? n : nullptr;
    }
    return nullptr;
}

// The white space that ends the text of block goes, back across the texts
// it empties and the comments: reading the block drops it there, so the
// block written with it would not read back as written. Loose content put
// into a paragraph can end in a blank that stood before what stays outside
// it (a script, say).
void TrimEndWhiteSpace(CSrcElement* block)
{
    for (CSrcElement* c = block->LastChild(); c; c = c->PreviousSibling()) {
        if (c->IsComment())
            continue;
        if (!c->IsTextNode())
            return;
        const int n = c->m_text.Length();
        const int white = EdgeWhiteSpace(c->m_text, true);
        if (white > 0)
            c->m_text.Assign(c->m_text, n - white);
        if (white < n)
            return;
    }
}

} // namespace

bool CSrcElement::InPre() const
{
    for (const CSrcElement* a = this; a; a = a->m_parent) {
        if (a->IsTag("pre"))
            return true;
    }
    return false;
}

bool CSrcElement::KeepsContentAsText() const
{
    return TagIn(m_tag, {"button", "input", "textarea", "select", "option", "optgroup", "map", "object"});
}

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

// The line breaks at one end of the inline child c go out of it, beside it,
// and so does the white space that each break leaves at that end: reading
// trims white space at the ends of a form control's content and puts it
// outside other inline elements, so a break standing behind it would come
// to the end, and the next write would move it out; the text written the
// first time would not be what writing it again gives. Outside a pre the
// white space goes out as the one blank it reads as (a form control's
// content keeps its line ends as written).
bool CSrcElement::MoveEdgeBreaksOut(CSrcElement* c, bool atEnd)
{
    const bool inPre = InPre();
    auto place = [this, c, atEnd, inPre](CSrcElement* node) {
        if (!inPre && node->IsTextNode())
            node->m_text = " ";
        InsertChild(node, atEnd ? c->m_next : c);
    };
    bool moved = false;
    while (CSrcElement* edge = atEnd ? c->m_lastChild : c->m_firstChild) {
        if (edge->IsTag("br")) {
            place(edge);
            moved = true;
            continue;
        }
        // In a pre, white space that ends the element stays for its end:
        // it may be the line end the writer puts before the pre's end tag,
        // merged in, which reading takes off again only at the end.
        if (inPre && !atEnd && !edge->m_next)
            return moved;
        const int n = edge->m_text.Length();
        // Outside a pre, white space alone at an end, with a break inside
        // it, shows as nothing (it follows or ends a line) and reading puts
        // it outside the element, where the break behind it would follow it
        // at the next write: it goes, and the break goes out.
        const CSrcElement* inward = atEnd ? edge->m_previous : edge->m_next;
        if (!inPre && !moved && edge->IsTextNode() && n > 0 && inward && inward->IsTag("br")
            && EdgeWhiteSpace(edge->m_text, atEnd) == n) {
            c->RemoveChild(edge);
            continue;
        }
        const int white = moved && edge->IsTextNode() ? EdgeWhiteSpace(edge->m_text, atEnd) : 0;
        if (white == 0)
            return moved;
        if (white == n) {
            place(edge);
            continue;
        }
        const unsigned short* text = edge->m_text;
        CSrcElement* blank = NewNode();
        blank->m_text.Assign(atEnd ? text + n - white : text, white);
        edge->m_text.Assign(atEnd ? text : text + white, n - white);
        place(blank);
        return true;
    }
    return moved;
}

void CSrcElement::FinalCleanHere()
{
    // Line breaks at the ends of inline children go out of them; an inline
    // element they leave empty goes as RemoveEmptyTag would take it out
    // when the markup is read again.
    for (CSrcElement* c = m_firstChild; c;) {
        CSrcElement* next = c->m_next;
        if (!c->IsTextNode() && !c->IsComment() && (c->ElementType() & kInline)) {
            bool moved = MoveEdgeBreaksOut(c, false);
            moved = MoveEdgeBreaksOut(c, true) || moved;
            next = c->m_next;
            if (moved && c->ReportsEmpty(1))
                RemoveChild(c);
        }
        c = next;
    }
    // Loose inline content in front of paragraphs goes into one of its own.
    if (TagIn(m_tag, {"td", "th", "dd", "div", "fieldset", "caption", "blockquote"})
        && FindChild("p", false)) {
        if (m_firstChild && IsInlineOrText(m_firstChild)) {
            CSrcElement* p = NewElement("p");
            // Scripts go in up to the inline content after them (through).
            CSrcElement* through = nullptr;
            while (CSrcElement* c = m_firstChild) {
                if (!through && !IsInlineOrText(c) && !(IsScriptNode(c) && (through = InlineAfterScripts(c))))
                    break;
                if (c == through)
                    through = nullptr;
                p->AppendChild(c);
            }
            InsertChild(p, m_firstChild);
            if (!InPre())
                TrimEndWhiteSpace(p);
        }
    }
    // A quotation starting with inline content holds it in one paragraph.
    // A block, list or heading after that content stays beside the
    // paragraph: inside it, a list would lose its items (an indent from an
    // item's text into its nested list leaves the quotation holding both).
    if (IsTag("blockquote") && m_firstChild && !(m_firstChild->ElementType() & (kBlock | kHeading | kList))) {
        CSrcElement* p = NewElement("p");
        CSrcElement* rest = m_firstChild;
        while (rest && !(rest->ElementType() & (kBlock | kHeading | kList)))
            rest = rest->m_next;
        while (m_firstChild && m_firstChild != rest)
            p->AppendChild(m_firstChild);
        if (rest)
            InsertChild(p, rest);
        else
            AppendChild(p);
    }
}
