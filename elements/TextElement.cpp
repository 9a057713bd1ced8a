// A text run's life: construction, normalising the text read from markup
// and writing it back.

#include "elements/TextElement.h"

#include "base/codec/Escaping.h"
#include "element/markup/SourceCode.h"
#include "element/services/XHTMLServices.h"
#include "elements/TextRunParts.h"
#include "elements/TextRunScan.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"

#include <utility>

namespace {

bool IsBreakOrTab(unsigned short c) { return c == '\t' || c == '\n' || c == '\r'; }

bool IsWhite(unsigned short c) { return c == ' ' || IsBreakOrTab(c); }

// What the line holds before a run, for the line break that may start it.
enum class LineBefore
{
    Nothing, // the start of a block's content, a block or a line break
    Blank,   // text that ends in white space
    Content, // other inline content
};

// Whether c, looked at from its end, tells what stands before a run that
// follows it (into before). Comments, empty runs and inline elements that
// hold neither text nor anything else pass.
bool Decides(const CElement* c, LineBefore& before)
{
    if (c->m_kind == kKindComment)
        return false;
    if (c->IsTextElement()) {
        if (c->m_text.IsEmpty())
            return false;
        before = IsWhite(c->m_text.GetAt(c->m_text.Length() - 1)) ? LineBefore::Blank : LineBefore::Content;
        return true;
    }
    if (c->m_block || c->m_kind == kKindBr) {
        before = LineBefore::Nothing;
        return true;
    }
    if (!c->m_inline) {
        before = LineBefore::Content; // an image, a control, a custom element
        return true;
    }
    for (const CElement* g = c->m_lastChild; g; g = g->m_prevSibling) {
        if (Decides(g, before))
            return true;
    }
    return false;
}

// Looks back from the run through its earlier siblings, and out of the
// inline elements it starts, up to the start of its block's content.
LineBefore WhatPrecedes(const CElement* run)
{
    LineBefore before = LineBefore::Nothing;
    for (const CElement* e = run; e; e = e->m_parent) {
        for (const CElement* p = e->m_prevSibling; p; p = p->m_prevSibling) {
            if (Decides(p, before))
                return before;
        }
        if (!e->m_parent || !e->m_parent->m_inline)
            break;
    }
    return LineBefore::Nothing;
}

} // namespace

bool IsCanWrapChar(unsigned short ch)
{
    switch (ch) {
    case ' ':
    case ')':
    case '?':
    case '*':
    case '%':
    case '!':
    case '}':
    case ']':
    case '-':
    case 150:
    case 248: return true;
    default: return ch > 10000;
    }
}

CTextElement::CTextElement(STYLE_CLASS* rules) : CElement(rules)
{
    m_kind = kKindText;
    m_selectable = 1;
    m_container = 0;
    m_displayText = &m_text;
}

CTextElement::~CTextElement() = default;

// A run that is only read and written never measures its text: its style
// and layout are made when first asked for.
void CTextElement::MakeTextLayout()
{
    m_runText = std::make_unique<RunText>();
    const unsigned long hl = kTextHighlightColour;
    m_runText->layout.SetHighlightColor(hl & 0xFF, (hl >> 8) & 0xFF, (hl >> 16) & 0xFF);
    m_runText->layout.SetStyle(&m_runText->style);
}

qm::text::Style& CTextElement::TextStyle()
{
    if (!m_runText)
        MakeTextLayout();
    return m_runText->style;
}

qm::text::Layout& CTextElement::TextLayout()
{
    if (!m_runText)
        MakeTextLayout();
    return m_runText->layout;
}

void CTextElement::ValidateText()
{
    static const CSafeBuf marker(reinterpret_cast<const unsigned char*>(kCaretMarker));
    m_cursorMark = m_text.Find(static_cast<const unsigned short*>(marker));
    if (m_cursorMark >= 0) {
        static const unsigned short kNothing[] = {0};
        m_text.Replace(static_cast<const unsigned short*>(marker), kNothing);
    }

    const unsigned short* s = m_text;
    int begin = 0;
    int end = m_text.Length();
    while (begin < end && IsBreakOrTab(s[begin]))
        ++begin;
    // A line break after inline content of the same line separates words:
    // the last character of the leading run stays and becomes the blank
    // below.
    if (begin > 0 && WhatPrecedes(this) == LineBefore::Content)
        --begin;
    if (begin == end) {
        m_text.Empty();
        if (m_cursorMark > 0)
            m_cursorMark = 0;
        return;
    }
    // The marker's offset follows its character through the rewrite below.
    const int mark = m_cursorMark;
    if (mark >= 0)
        m_cursorMark = 0;
    bool trailing = false;
    while (end > begin && IsBreakOrTab(s[end - 1])) {
        --end;
        trailing = true;
    }
    // Rewritten in place: the text only shrinks (a trailing blank stands
    // where a dropped line break stood).
    unsigned short* out = m_text;
    int n = 0;
    bool inRun = false;
    int i = begin;
    if (begin == 0 && mark < 0) {
        // Up to the first break, tab, second blank in a row or control
        // character, the text stays where it is: passed over without
        // being copied onto itself.
        i = UnchangedPrefix(out, end);
        inRun = i > 0 && out[i - 1] == ' ';
        n = i;
    }
    for (; i < end; ++i) {
        if (i == mark)
            m_cursorMark = n;
        unsigned short c = out[i];
        if (IsWhite(c)) {
            if (!inRun)
                out[n++] = ' ';
            inRun = true;
            continue;
        }
        if (c >= 33)
            inRun = false;
        out[n++] = c;
    }
    if (mark >= end)
        m_cursorMark = n;
    if (trailing && !inRun)
        out[n++] = ' ';
    m_text.AdjSize(n);
}

bool CTextElement::GetSourceCode(
    CSafeBuf& out, int level, int flags, CSafeBuf& a, CSafeBuf& b, CSafeBuf& c, SourceCodeVar* var)
{
    out.Empty();
    return CTextElement::AppendSourceCode(out, level, flags, a, b, c, var);
}

bool CTextElement::AppendSourceCode(
    CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var)
{
    if (flags & kSourceContentOnly) {
        if (!(flags & 0x800))
            out += m_text;
        else if (m_selected && m_selStart >= 0 && m_selStart <= m_selEnd && m_selStart < m_text.Length())
            out += m_text.Mid(m_selStart, m_selEnd - m_selStart + 1);
        return true;
    }
    if (flags & kSourceIndent) {
        for (int i = 0; i < level; ++i)
            out += static_cast<unsigned short>('\t');
    }
    if (flags & kSourceDiagnostic) {
        out += "<text";
        if (m_selected) {
            out += " Selected=\"";
            out.AppendInt(m_selStart);
            out += ":";
            out.AppendInt(m_selEnd);
            out += "\"";
        }
        out += ">";
    }
    const bool spaces = !m_text.IsEmpty() && m_owner && m_owner->m_preserveSpaces;
    if (!((flags & kSourceMarkers) && var)) {
        // No marker to put in: the text is escaped straight into out.
        AppendEscapedXML(out, std::as_const(m_text), m_text.Length(), spaces);
    } else {
        CSafeBuf text(m_text);
        if (!var->selection) {
            if (m_owner && m_owner->m_doc.m_caretElement == this) {
                long at = m_caretOffset < 0 ? 0 : m_caretOffset;
                if (at > text.Length())
                    at = text.Length();
                text.Insert(static_cast<int>(at), kCaretMarker);
            }
        } else if (!text.IsEmpty()) {
            const bool valid = m_selected && m_selStart >= 0 && m_selStart <= m_selEnd;
            if (valid && var->state != 2) {
                int after = m_selEnd + 1 > text.Length() ? text.Length() : static_cast<int>(m_selEnd + 1);
                text.Insert(after, kSelectionEndMarker);
            }
            if (valid && var->state == 0) {
                int at = m_selStart > text.Length() ? text.Length() : static_cast<int>(m_selStart);
                text.Insert(at, kSelectionBeginMarker);
                var->state = 1;
            }
            if (var->state == 1 && (!m_selected || m_selEnd < m_text.Length() - 1))
                var->state = 2;
        }
        if (!text.IsEmpty()) {
            EscapeXMLChar(text, spaces);
            out += text;
        }
    }
    if (flags & kSourceDiagnostic)
        out += "</text>";
    return true;
}
