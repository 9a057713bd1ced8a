// CSrcElement: writing the tree as XHTML (GetSourceCode).
//
// The writer appends to one text from top to bottom. Attributes go in
// ascending order of name (every one of them). Script content goes into
// character data sections, a "]]>" inside it split over two sections so the
// markup stays well-formed.

#include "document/SrcElement.h"

#include "document/SrcElementTags.h"

#include "base/codec/Escaping.h"
#include "base/text/U16.h"
#include "element/markup/SourceCode.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kSourceNoChildren = 0x10;
constexpr int kSourcePlainText = 0x80;
constexpr int kSourceBodyContent = 0x100;
constexpr int kSourceEscapeUnicode = 0x200;
constexpr int kSourceCommentElements = 0x1000;

const char* const kVoidTags[]
    = {"img", "hr", "br", "base", "area", "link", "meta", "input", "col", "param", nullptr};
// Written as inline content by the indentation rules. A script or noscript
// is read back as part of the text flow around it, so the line breaks and
// tabs put around a block would come back as a blank in that text.
const char* const kIndentAsInline[]
    = {"object", "param", "link", "style", "title", "meta", "base", "script", "noscript", nullptr};

// A noscript's content is read back as its text, white space and all, and
// so is the content of the elements the document keeps as markup text: the
// line breaks and tabs an indented write put inside them would be kept
// (and read as blanks beside the text around them), so their content is
// written as it stands.
bool WritesContentUnindented(const CSrcElement* e) { return e->IsTag("noscript") || e->KeepsContentAsText(); }

bool IsIndentedInline(CSrcElement* e)
{
    return (e->ElementType() & (CSrcElement::kInline | CSrcElement::kOther | CSrcElement::kText))
        || TagIn(e->m_tag, kIndentAsInline);
}

// Takes the white space off the start (atStart) and the end (atEnd) of what
// out holds from start on.
void TrimWrittenEdges(CSafeBuf& out, int start, bool atStart, bool atEnd)
{
    auto white = [](unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const unsigned short* s = out;
    int end = out.Length();
    while (atEnd && end > start && white(s[end - 1]))
        --end;
    out.AdjSize(end);
    int from = start;
    while (atStart && from < end && white(s[from]))
        ++from;
    if (from > start)
        out.Delete(start, from - start);
}

void NewLine(CSafeBuf& out, int tabs)
{
    out += "\r\n";
    for (int i = 0; i < tabs; ++i)
        out += '\t';
}

// The script's text inside character data sections: a "]]>" in it ends one
// section and starts the next between "]]" and ">".
void AppendCData(CSafeBuf& out, const unsigned short* s, int n)
{
    out += "<![CDATA[";
    int kept = 0;
    for (int i = 0; i + 2 < n; ++i) {
        if (s[i] == ']' && s[i + 1] == ']' && s[i + 2] == '>') {
            out.Append(s + kept, i + 2 - kept);
            out += "]]><![CDATA[";
            kept = i + 2;
        }
    }
    out.Append(s + kept, n - kept);
    out += "]]>";
}

// A letter or digit of a word, in plain text: where an image's alternative
// text meets one on either side, the two are different words.
bool IsWordCharacter(unsigned short c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    // Latin-1 signs and the no-break space, general punctuation and the
    // ideographic blank and stops are no letters.
    return c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F)
        && !(c >= 0x3000 && c <= 0x3003);
}

// Appends text to plain-text output, with a blank in front when a word would
// otherwise run into the one before it.
void AppendSeparatedWord(CSafeBuf& out, const unsigned short* s, int n)
{
    if (n > 0 && !out.IsEmpty() && IsWordCharacter(out.GetAt(out.Length() - 1)) && IsWordCharacter(s[0]))
        out += ' ';
    out.Append(s, n);
}

// A text node holding blanks or nothing.
bool HoldsBlanksOnly(const CSrcElement* c)
{
    if (!c->IsTextNode())
        return false;
    const unsigned short* s = c->m_text;
    for (int i = 0; i < c->m_text.Length(); ++i)
        if (s[i] != ' ')
            return false;
    return true;
}

} // namespace

// Buffers one write shares between its elements.
struct SrcWriteScratch
{
    std::vector<std::pair<CSafeBuf, CSafeBuf>> pairs;
    std::vector<const std::pair<CSafeBuf, CSafeBuf>*> order;
    // Plain text: where the last image's alternative text ended in the
    // output (-1: none yet).
    int altEnd = -1;
};

void CSrcElement::MarkBlockHolders()
{
    m_holdsBlock = false;
    for (CSrcElement* c = m_firstChild; c; c = c->m_next) {
        c->MarkBlockHolders();
        if (WritesContentUnindented(c))
            c->m_holdsBlock = false;
        if (c->m_holdsBlock || !IsIndentedInline(c))
            m_holdsBlock = true;
    }
}

void CSrcElement::GetSourceCode(CSafeBuf& out, int level, int mode, bool flag)
{
    out.Empty();
    AppendSourceCode(out, level, mode, flag);
}

void CSrcElement::AppendSourceCode(CSafeBuf& out, int level, int mode, bool flag)
{
    if (mode & kSourceIndent)
        MarkBlockHolders();
    SrcWriteScratch scratch;
    AppendSource(out, level, mode, flag, scratch);
}

void CSrcElement::AppendSource(CSafeBuf& out, int level, int mode, bool flag, SrcWriteScratch& scratch)
{
    if (IsTag("object"))
        CleanTextElement();
    if (IsComment()) {
        if (mode & kSourceCommentElements) {
            out += "<_comment_>";
            AppendEscapedXML(out, m_text, m_text.Length(), false);
            out += "</_comment_>";
        } else {
            out += "<!-- ";
            out.Append(m_text, m_text.Length());
            out += " -->";
        }
        return;
    }
    if (IsTextNode()) {
        if (mode & kSourcePlainText) {
            // Plain text is no markup: no references in it. An image's
            // alternative text right before is a word of its own.
            if (out.Length() == scratch.altEnd)
                AppendSeparatedWord(out, m_text, m_text.Length());
            else
                out.Append(m_text, m_text.Length());
        } else if (mode & kSourceEscapeUnicode) {
            CSafeBuf text(m_text);
            EscapeXMLChar(text, false);
            EscapeHTMLUnicode(text);
            out += text;
        } else {
            AppendEscapedXML(out, m_text, m_text.Length(), false);
        }
        return;
    }
    if (mode & kSourcePlainText) {
        if (IsTag("img")) {
            // Its alternative text stands for it as a word of its own: it
            // does not join the words or the image's text beside it.
            CSafeBuf alt;
            if (m_attributes.Lookup("alt", alt) && !alt.IsEmpty()) {
                AppendSeparatedWord(out, alt, alt.Length());
                scratch.altEnd = out.Length();
            }
            return;
        }
        const int kind = ElementType();
        const bool block = ((kind & kBlock) && !(kind & kOther)) || (kind & kHeading);
        // A block, a list and its items start lines of their own: the first
        // word does not join the last one written before (a term and its
        // description, an item's words and its nested list).
        if ((block || (kind & kList)) && !out.IsEmpty() && out.GetAt(out.Length() - 1) != '\n')
            out += "\r\n";
        for (CSrcElement* c = m_firstChild; c; c = c->m_next)
            c->AppendSource(out, level + 1, mode, flag, scratch);
        if (block)
            out += "\r\n\r\n";
        else if (IsTag("br") || IsTag("li") || IsTag("dt") || IsTag("dd"))
            out += "\r\n";
        return;
    }
    AppendElementSource(out, level, mode, flag, scratch);
}

void CSrcElement::AppendElementSource(CSafeBuf& out, int level, int mode, bool flag, SrcWriteScratch& scratch)
{
    const bool tags = !((mode & kSourceBodyContent) && IsTag("body"));
    if (tags) {
        out += '<';
        out.Append(m_tag, m_tag.Length());
        // The pairs are copied into buffers the whole write shares, and
        // put in order of name.
        std::vector<std::pair<CSafeBuf, CSafeBuf>>& pairs = scratch.pairs;
        const size_t count = static_cast<size_t>(m_attributes.GetCount());
        if (pairs.size() < count)
            pairs.resize(count);
        std::vector<const std::pair<CSafeBuf, CSafeBuf>*>& attributes = scratch.order;
        attributes.clear();
        void* pos = m_attributes.GetStartPosition();
        for (size_t i = 0; pos && i < count; ++i) {
            m_attributes.GetNextAssoc(pos, pairs[i].first, pairs[i].second);
            attributes.push_back(&pairs[i]);
        }
        if (attributes.size() > 1) {
            std::sort(attributes.begin(), attributes.end(),
                [](const auto* a, const auto* b) { return U16cmp(a->first, b->first) < 0; });
        }
        const bool div = IsTag("div");
        for (const auto* pair : attributes) {
            const CSafeBuf& name = pair->first;
            const CSafeBuf& value = pair->second;
            if (div && name == "divselected")
                continue;
            out += ' ';
            AppendEscapedXML(out, name, name.Length(), false);
            out += "=\"";
            AppendEscapedXMLAttribute(out, value, value.Length());
            out += '"';
        }
        if (TagIn(m_tag, kVoidTags) || (m_nonXHTML && !m_firstChild)) {
            out += " />";
            return;
        }
        out += '>';
    }
    const bool indent = tags && (mode & kSourceIndent) && m_holdsBlock && !(mode & kSourceNoChildren);
    if (!(mode & kSourceNoChildren)) {
        if (IsTag("script"))
            AppendScriptSource(out, level, mode, flag, scratch);
        else if (WritesContentUnindented(this))
            AppendChildrenSource(out, level, mode & ~kSourceIndent, flag, false, scratch);
        else
            AppendChildrenSource(out, level, mode, flag, indent, scratch);
    }
    if (IsTag("p")) {
        bool blankOnly = true;
        for (CSrcElement* c = m_firstChild; c && blankOnly; c = c->m_next)
            blankOnly = HoldsBlanksOnly(c);
        if (blankOnly) {
            for (int i = 0; (mode & kSourceIndent) && i < level; ++i)
                out += '\t';
            out += "&#160;";
        }
    }
    if (tags) {
        if (indent)
            NewLine(out, level);
        out += "</";
        out.Append(m_tag, m_tag.Length());
        out += '>';
    }
}

void CSrcElement::AppendChildrenSource(
    CSafeBuf& out, int level, int mode, bool flag, bool indent, SrcWriteScratch& scratch)
{
    const bool between = (mode & kSourceIndent) && m_holdsBlock;
    if (indent)
        NewLine(out, level + 1);
    // Outside a pre, the white space at the ends of a text that meet a line
    // break of the indentation goes: it adds nothing to that break, and text
    // that is read back as written (the content of a map) would otherwise
    // gain one more line at every write.
    const bool inPre = InPre();
    bool afterInline = false;
    bool afterBreak = indent; // a line break of the indentation was written last
    const bool block = (ElementType() & (kBlock | kHeading)) != 0;
    for (CSrcElement* c = m_firstChild; c; c = c->m_next) {
        if (!between) {
            // Blanks alone after a line break that ends a block are dropped
            // when the markup is read: not written, so that the value reads
            // back as it was written.
            if (block && !inPre && !c->m_next && c->m_previous && c->m_previous->IsTag("br")
                && !c->m_text.IsEmpty() && HoldsBlanksOnly(c))
                continue;
            c->AppendSource(out, level + 1, mode, flag, scratch);
            continue;
        }
        const int kind = c->ElementType();
        const bool asInline = IsIndentedInline(c);
        if (!asInline && afterInline)
            NewLine(out, level + 1);
        const int start = out.Length();
        c->AppendSource(out, level + 1, mode, flag, scratch);
        if (c->IsTextNode() && !inPre) {
            const bool beforeBreak = c->m_next ? !IsIndentedInline(c->m_next) : indent;
            TrimWrittenEdges(out, start, afterBreak, beforeBreak);
            if (out.Length() == start)
                continue; // nothing but white space: nothing written
        }
        afterInline = asInline;
        const bool blockLike
            = !asInline && (((kind & kBlock) && !(kind & kOther)) || (kind & (kHeading | kList)));
        afterBreak = c->m_next && (c->m_holdsBlock || blockLike);
        if (afterBreak)
            NewLine(out, level + 1);
    }
}

void CSrcElement::AppendScriptSource(CSafeBuf& out, int level, int mode, bool flag, SrcWriteScratch& scratch)
{
    CSafeBuf content;
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        c->AppendSource(content, level + 1, mode | kSourcePlainText, flag, scratch);
    if (content.IsEmpty())
        return;
    // White space around a script's text means nothing to it, and inside a
    // pre the line breaks and tabs an indented write put around it would
    // otherwise be kept and grow with every write.
    const unsigned short* s = content;
    auto blank = [](unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    int n = content.Length();
    while (n > 0 && blank(s[n - 1]))
        --n;
    int start = 0;
    while (start < n && blank(s[start]))
        ++start;
    if (start == n)
        return;
    // A "//" in front is the marker an earlier write put there: it goes,
    // and comes back as it was put, when the rest holds "//".
    if (start + 1 < n && s[start] == '/' && s[start + 1] == '/')
        start += 2;
    for (int i = start; i + 1 < n; ++i) {
        if (s[i] == '/' && s[i + 1] == '/') {
            out += "//";
            break;
        }
    }
    AppendCData(out, s + start, n - start);
}

void SelectionPlainText(
    const CSafeBuf& markup, const CSafeBuf& namespaces, CXHTMLServices* owner, CSafeBuf& out, bool inPre)
{
    out.Empty();
    CSafeBuf wrapped("<body");
    if (!namespaces.IsEmpty()) {
        wrapped += " ";
        wrapped += namespaces;
    }
    wrapped += inPre ? "><pre>" : ">";
    wrapped += markup;
    wrapped += inPre ? "</pre></body>" : "</body>";
    CSrcElement body("body", owner);
    if (!body.LoadDoc(wrapped))
        return;
    body.GetSourceCode(out, -1, kSourcePlainText | kSourceBodyContent, false);
    if (inPre) {
        // Only the pre's own paragraph break goes: a line end selected at
        // the end of its content is part of the text.
        const CSafeBuf own("\r\n\r\n");
        if (out.Right(own.Length()) == own)
            out.CutAt(out.Length() - own.Length());
        return;
    }
    CSrcElement* last = body.LastChild();
    if (last && !last->IsTextNode()
        && ((last->ElementType() & (CSrcElement::kBlock | CSrcElement::kHeading | CSrcElement::kList))
            || last->IsTag("li") || last->IsTag("dt") || last->IsTag("dd"))) {
        int end = out.Length();
        while (end > 0 && (out.GetAt(end - 1) == '\r' || out.GetAt(end - 1) == '\n'))
            --end;
        out.CutAt(end);
    }
}
