// A text run's life: construction, normalising the text read from markup
// and writing it back.

#include "elements/TextElement.h"

#include "base/codec/Escaping.h"
#include "element/ElementKinds.h"
#include "element/TextRunPass.h"
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

bool CTextElement::WritesBlankRuns() const
{
    // Reading turns a run of white space outside a pre into one blank, so a
    // run of blanks typed into the text is written as a blank followed by
    // no-break spaces, which read back as they stand. In a pre the blanks
    // are read as they are and written so.
    if (!m_owner || !m_owner->m_preserveSpaces)
        return false;
    const unsigned short* s = m_text;
    const int n = m_text.Length();
    bool blank = false;
    for (int i = 0; i < n && !blank; ++i)
        blank = s[i] == ' ' && (i == 0 || s[i - 1] == ' ');
    return blank && !IsElementUnderTag(kKindPre);
}

namespace {

// Whether c, looked at from its end, tells what stands before a run that
// follows it (into before). Comments and empty runs pass; an inline element
// is looked into, and one with no text in it stands between, as a break, a
// picture or a control does.
bool DecidesBlank(const CElement* c, CTextElement::BlankContext& before)
{
    if (c->m_kind == kKindComment)
        return false;
    if (c->IsTextElement()) {
        if (c->m_text.IsEmpty())
            return false;
        before = c->m_text.GetAt(c->m_text.Length() - 1) == ' ' ? CTextElement::kBlankBefore
                                                                : CTextElement::kNoBlank;
        return true;
    }
    if (c->m_block) {
        before = CTextElement::kBlockStart;
        return true;
    }
    before = CTextElement::kNoBlank;
    if (!c->m_inline || SeparatesSpaceRuns(c))
        return true;
    for (const CElement* g = c->m_lastChild; g; g = g->m_prevSibling) {
        if (DecidesBlank(g, before))
            return true;
    }
    before = CTextElement::kNoBlank;
    return true;
}

} // namespace

CTextElement::BlankContext CTextElement::WhatIsWrittenBefore() const
{
    // The text that loading sees before this run's first blank: the text of
    // the runs before it in its block, through the tags of the inline
    // elements around them (a blank that meets another across a tag is
    // dropped as one inside a text is).
    BlankContext before = kBlockStart;
    for (const CElement* e = this; e; e = e->m_parent) {
        for (const CElement* p = e->m_prevSibling; p; p = p->m_prevSibling) {
            if (DecidesBlank(p, before))
                return before;
        }
        if (!e->m_parent || !e->m_parent->m_inline)
            break;
    }
    return kBlockStart;
}

void CTextElement::AppendRunText(CSafeBuf& out, int from, int to, bool spaces, BlankContext before) const
{
    if (from >= to)
        return;
    const unsigned short* s = m_text;
    // The first blank of a run goes as a blank, the others as &#160;. At
    // the start of a block reading drops a blank, so a run there starts
    // with &#160; (a single blank there is left as it was).
    bool reference = false;
    if (spaces && s[from] == ' ') {
        if (from > 0)
            reference = s[from - 1] == ' ';
        else
            reference
                = before == kBlankBefore || (before == kBlockStart && m_text.Length() > 1 && s[1] == ' ');
    }
    if (reference) {
        out += "&#160;";
        ++from;
    }
    AppendEscapedXML(out, s + from, to - from, spaces);
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
    const bool spaces = WritesBlankRuns();
    const BlankContext before = spaces ? WhatIsWrittenBefore() : kNoBlank;
    if (!((flags & kSourceMarkers) && var)) {
        // No marker to put in: the text is escaped straight into out.
        AppendRunText(out, 0, m_text.Length(), spaces, before);
    } else {
        // The markers go in between stretches of the text, each escaped as
        // the whole text would be, so that a marker inside a run of blanks
        // does not change how the blanks are written.
        struct Marker
        {
            int at;
            const char* word;
        };
        Marker markers[2];
        int count = 0;
        const int length = m_text.Length();
        if (!var->selection) {
            if (m_owner && m_owner->m_doc.m_caretElement == this) {
                long at = m_caretOffset < 0 ? 0 : m_caretOffset;
                markers[count++] = {static_cast<int>(at > length ? length : at), kCaretMarker};
            }
        } else if (length > 0) {
            const bool valid = m_selected && m_selStart >= 0 && m_selStart <= m_selEnd;
            // The end marker goes in only while the selection is not closed
            // yet, the begin marker only where it opens; at one offset the
            // begin marker comes first.
            const bool end = valid && var->state != 2;
            if (valid && var->state == 0) {
                markers[count++]
                    = {m_selStart > length ? length : static_cast<int>(m_selStart), kSelectionBeginMarker};
                var->state = 1;
            }
            if (end)
                markers[count++]
                    = {m_selEnd + 1 > length ? length : static_cast<int>(m_selEnd + 1), kSelectionEndMarker};
            if (var->state == 1 && (!m_selected || m_selEnd < length - 1))
                var->state = 2;
        }
        int from = 0;
        for (int i = 0; i < count; ++i) {
            AppendRunText(out, from, markers[i].at, spaces, before);
            out += markers[i].word;
            from = markers[i].at;
        }
        AppendRunText(out, from, length, spaces, before);
    }
    if (flags & kSourceDiagnostic)
        out += "</text>";
    return true;
}
