// The markup writer: CElement::GetSourceCode writes an element and its
// subtree as XHTML. Kinds that write themselves differently (text runs,
// comments ...) override it; this is the common path.

#include "element/markup/MarkupWriter.h"

#include "base/codec/Escaping.h"
#include "base/text/U16.h"
#include "element/Element.h"
#include "element/ElementPrefetch.h"
#include "element/factory/TagTables.h"
#include "element/markup/SourceCode.h"
#include "element/services/XHTMLServices.h"
#include "elements/BRElement.h"
#include "elements/TableElement.h"
#include "elements/TextElement.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

const char kCaretMarker[] = "_x_Here_to_put_cursor_x_";
const char kSelectionBeginMarker[] = "_x_Here_selection_begins_x_";
const char kSelectionEndMarker[] = "_x_Here_selection_ends_x_";

namespace {

// XHTML elements that never hold content: written as "<tag ... />" when
// they have no children, the form both XML and HTML readers take as empty.
const char* const kEmptyTags[]
    = {"img", "hr", "col", "input", "area", "base", "link", "meta", "param", nullptr};

} // namespace

bool IsVoidElement(const CElement* e) { return FindTagInList(kEmptyTags, e->m_tagName) >= 0; }

namespace {

// The caret marker attribute's value: "____", followed by the caret's
// offset on an element the caret stands before or after when that offset is
// not 0 ("____1": after it). Text written before offsets were kept has
// "____" alone, which reads back as before the element.
CSafeBuf CaretMarkerValue(const CElement* e)
{
    CSafeBuf value("____");
    if (e->m_edgeCaret && e->m_caretOffset > 0)
        value += std::to_string(e->m_caretOffset).c_str();
    return value;
}

void Tabs(CSafeBuf& out, int level)
{
    for (int i = 0; i < level; ++i)
        out += static_cast<unsigned short>('\t');
}

// Attribute text escaped for XML, TABs and line ends as references.
void AppendAttributeText(CSafeBuf& out, const CSafeBuf& text)
{
    AppendEscapedXMLAttribute(out, text, text.Length());
}

} // namespace

void AppendXMLAttribute(CSafeBuf& out, const CSafeBuf& name, const CSafeBuf& value)
{
    out.AppendLiteral(" ");
    AppendAttributeText(out, name);
    out.AppendLiteral("=\"");
    AppendAttributeText(out, value);
    out.AppendLiteral("\"");
}

namespace {

// Everything but blocks flows in lines: text runs, inline elements, breaks,
// images, comments and elements of neither kind (a line break written
// around those would read back as a blank).
bool IsInlineContent(const CElement* e) { return !e->m_block; }

// The element's markup begins at start in out.
void AppendSelectionMarkers(const CElement* e, CSafeBuf& out, int start, int flags, SourceCodeVar* var)
{
    if (!(flags & kSourceMarkers) || !var || !var->selection || !e->m_selected)
        return;
    if (var->state == 0) {
        out.Insert(start, kSelectionBeginMarker);
        var->state = 1;
    }
    if (var->state != 2)
        out += kSelectionEndMarker;
}

} // namespace

bool CanMergeInline(const CElement* previous, const CElement* child)
{
    if (!previous || !child->m_inline || child->m_noChild || previous->m_noChild || child->m_locked
        || previous->m_locked || previous->m_kind != child->m_kind)
        return false;
    // The pieces of one element that the layout wrapped over lines are
    // that element, whatever its kind: a u or another tag outside the
    // table (a custom element) included.
    const bool pieces = previous->m_inlineGroup != 0 && previous->m_inlineGroup == child->m_inlineGroup;
    switch (child->m_kind) {
    case kKindComment:
    case kKindScript:
    case kKindNoscript:
    case kKindMap:
    case kKindObject:
    case kKindFormControl: return false;
    case kKindCustom:
        if (!pieces)
            return false;
        break;
    default: break;
    }
    return previous->IsTagSameWith(child) && U16cmp(previous->GetTagName(), child->GetTagName()) == 0;
}

namespace {

// The order in which a table writes its children: captions, (the column
// groups), heads, feet, then the rest as they stand.
void TableOrder(const CElement* table, std::vector<CElement*>& order)
{
    order.reserve(static_cast<size_t>(table->m_childCount) + 1);
    auto add = [&](auto keep) {
        for (CElement* c = table->m_firstChild; c; c = c->m_nextSibling) {
            if (keep(c))
                order.push_back(c);
        }
    };
    add([](const CElement* c) { return c->m_kind == kKindCaption; });
    order.push_back(nullptr); // the column groups
    add([](const CElement* c) { return c->m_kind == kKindThead; });
    add([](const CElement* c) { return c->m_kind == kKindTfoot; });
    add([](const CElement* c) {
        return c->m_kind != kKindCaption && c->m_kind != kKindThead && c->m_kind != kKindTfoot;
    });
}

bool HasOnlyBlankText(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsTextElement())
            return false;
        const unsigned short* s = c->m_text;
        for (int i = 0; i < c->m_text.Length(); ++i) {
            if (s[i] != ' ')
                return false;
        }
        // Two blanks or more go out as &#160;s that keep the paragraph.
        const auto* run = dynamic_cast<const CTextElement*>(c);
        if (c->m_text.Length() > 1 && run && run->WritesBlankRuns())
            return false;
    }
    return true;
}

void AppendDiagnostics(const CElement* e, CSafeBuf& out)
{
    CSafeBuf v;
    if (e->m_inlineGroup) {
        v.FormatInt("%08X", e->m_inlineGroup);
        AppendXMLAttribute(out, CSafeBuf("inlineid"), v);
    }
    if (e->m_selected)
        AppendXMLAttribute(out, CSafeBuf("Selected"), CSafeBuf("TRUE"));
    v.Empty();
    v.AppendInt(static_cast<long>(e->Lay().m_position.x));
    v += ":";
    v.AppendInt(static_cast<long>(e->Lay().m_position.y));
    AppendXMLAttribute(out, CSafeBuf("offset"), v);
    v.Empty();
    v.AppendInt(static_cast<long>(e->Lay().m_sizeRect.right - e->Lay().m_sizeRect.left));
    v += ":";
    v.AppendInt(static_cast<long>(e->Lay().m_sizeRect.bottom - e->Lay().m_sizeRect.top));
    AppendXMLAttribute(out, CSafeBuf("area"), v);
    v.FormatInt("%08X", e->GetID());
    AppendXMLAttribute(out, CSafeBuf("ID"), v);
    v.FormatInt("%d", e->m_inlineGroup);
    AppendXMLAttribute(out, CSafeBuf("Inline"), v);
    v.FormatInt("%08X", e->Lay().m_lineGroup);
    AppendXMLAttribute(out, CSafeBuf("LnMark"), v);
}

// The buffer a call of the writer writes its children's markup into, one
// for each nesting depth of the calls, kept from one writing pass to the
// next: writing a tree then allocates only when a depth's buffer has to
// grow, not a new string for every element. One thread writes.
class ChildBuffer
{
public:
    ChildBuffer()
    {
        Depths& depths = Get();
        if (depths.used == depths.buffers.size())
            depths.buffers.push_back(std::make_unique<CSafeBuf>());
        m_buffer = depths.buffers[depths.used++].get();
    }
    ~ChildBuffer()
    {
        --Get().used;
        // A very large buffer is not kept for the next pass.
        if (m_buffer->GetCapacity() > kKeptCapacity) {
            CSafeBuf released;
            m_buffer->ReplaceWith(&released);
        }
        m_buffer->Empty();
    }
    ChildBuffer(const ChildBuffer&) = delete;
    ChildBuffer& operator=(const ChildBuffer&) = delete;
    CSafeBuf& Text() { return *m_buffer; }

private:
    static constexpr int kKeptCapacity = 1 << 16;
    struct Depths
    {
        std::vector<std::unique_ptr<CSafeBuf>> buffers;
        size_t used = 0;
    };
    // Made once and never destroyed, so that markup written while the
    // process ends still finds it.
    static Depths& Get()
    {
        static Depths* depths = new Depths;
        return *depths;
    }
    CSafeBuf* m_buffer;
};

// The prefetch lanes of the writing pass under way: the outermost call of
// a pass makes them at the element it writes, and every child a call
// writes moves them on. One thread writes.
CPrefetchLanes* g_passCursor = nullptr;

class PassCursor
{
public:
    explicit PassCursor(const CElement* e)
    {
        if (!g_passCursor) {
            m_own.emplace(e);
            g_passCursor = &*m_own;
        }
    }
    ~PassCursor()
    {
        if (m_own)
            g_passCursor = nullptr;
    }
    PassCursor(const PassCursor&) = delete;
    PassCursor& operator=(const PassCursor&) = delete;
    static void Step(const CElement* c) { g_passCursor->Step(c); }

private:
    std::optional<CPrefetchLanes> m_own;
};

// RemoveTag(which 1) on the part of text from start on.
void RemoveStartTag(CSafeBuf& text, int start)
{
    int open = text.Find('<', start);
    int close = open >= 0 ? text.Find('>', open) : -1;
    if (open >= 0 && close >= 0)
        text.Delete(open, close - open + 1);
}

// Whether the n units of tag stand in text at i.
template <class Unit>
bool TagAt(const CSafeBuf& text, int i, const Unit* tag, int n)
{
    if (i < 0 || i + n > text.Length())
        return false;
    for (int k = 0; k < n; ++k) {
        if (text.GetAt(i + k) != tag[k])
            return false;
    }
    return true;
}

// The end of the start tag that begins at `at` (its '>' outside quoted
// attribute values), or -1.
int StartTagEnd(const CSafeBuf& text, int at)
{
    bool quoted = false;
    for (int i = at; i < text.Length(); ++i) {
        const unsigned short u = text.GetAt(i);
        if (u == '"')
            quoted = !quoted;
        else if (u == '>' && !quoted)
            return i;
    }
    return -1;
}

// The last and first children of e that write something: empty text runs
// (the caret's places) write nothing.
const CElement* LastWritten(const CElement* e)
{
    const CElement* c = e->m_lastChild;
    while (c && c->m_kind == kKindText && c->m_text.IsEmpty())
        c = c->m_prevSibling;
    return c;
}

const CElement* FirstWritten(const CElement* e)
{
    const CElement* c = e->m_firstChild;
    while (c && c->m_kind == kKindText && c->m_text.IsEmpty())
        c = c->m_nextSibling;
    return c;
}

// Two neighbours written as one leave the last child of the first beside the
// first child of the second, in the text at `at`. Where those are identical
// inline elements as well (the pieces of a span that wrapped inside a
// wrapped code, say), they are joined too, level after level, so that one
// write gives what writing its result again would: the first one's end tag
// just before `at` and the second one's start tag at `at` go. Anything else
// between them (selection markers) leaves them apart.
void JoinInnerNeighbours(CSafeBuf& out, const CElement* first, const CElement* second, int at)
{
    for (const CElement *a = LastWritten(first), *b = FirstWritten(second); a && b && CanMergeInline(a, b);
         a = LastWritten(a), b = FirstWritten(b)) {
        const unsigned short* tag = a->m_tagName.Get();
        const int n = a->m_tagName.Length();
        if (n == 0 || a->m_kind == kKindText)
            return;
        const int endTag = at - n - 3;
        if (!TagAt(out, endTag, u"</", 2) || !TagAt(out, endTag + 2, tag, n) || out.GetAt(at - 1) != '>'
            || !TagAt(out, at, u"<", 1) || !TagAt(out, at + 1, tag, n))
            return;
        const unsigned short after = out.GetAt(at + 1 + n);
        if (after != ' ' && after != '>')
            return;
        const int close = StartTagEnd(out, at);
        if (close < 0)
            return;
        out.Delete(at, close - at + 1);
        out.Delete(endTag, n + 3);
        at = endTag;
    }
}

} // namespace

bool CElement::GetSourceCode(CSafeBuf& out, int level, int flags, CSafeBuf& scratch1, CSafeBuf& scratch2,
    CSafeBuf& scratch3, SourceCodeVar* var)
{
    out.Empty();
    return CElement::AppendSourceCode(out, level, flags, scratch1, scratch2, scratch3, var);
}

bool AppendWrittenMarkup(CElement* e, CSafeBuf& out, int level, int flags, CSafeBuf& scratch1,
    CSafeBuf& scratch2, CSafeBuf& scratch3, SourceCodeVar* var)
{
    ChildBuffer buffer;
    const bool written = e->GetSourceCode(buffer.Text(), level, flags, scratch1, scratch2, scratch3, var);
    out += buffer.Text();
    return written;
}

// The common writer. Everything is appended to out, the children's markup
// too: writing a tree copies no element's markup from one buffer to
// another, and the text is written once, in order.
bool CElement::AppendSourceCode(CSafeBuf& out, int level, int flags, CSafeBuf& scratch1, CSafeBuf& scratch2,
    CSafeBuf& scratch3, SourceCodeVar* var)
{
    const int start = out.Length();
    const bool diagnostic = (flags & kSourceDiagnostic) != 0;
    const bool indent = (flags & kSourceIndent) != 0;

    if (m_kind == kKindBr && static_cast<CBRElement*>(this)->m_preBreak && !diagnostic) {
        out.AppendLiteral("\r\n");
        AppendSelectionMarkers(this, out, start, flags, var);
        return true;
    }

    if (flags & kSourceContentOnly) {
        for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
            c->AppendSourceCode(out, level, flags, scratch1, scratch2, scratch3, var);
        return true;
    }

    PassCursor cursor(this);
    const bool locked = m_locked && !diagnostic;
    const bool pre = m_kind == kKindPre;
    const bool childLines = indent && !pre && !IsInlineContent(this);
    const bool empty = m_noChild || (!m_firstChild && IsVoidElement(this));
    if (locked && empty) {
        AppendSelectionMarkers(this, out, start, flags, var);
        return true;
    }

    if (!locked) {
        if (indent)
            Tabs(out, level);
        out.AppendLiteral("<");
        out.Append(m_tagName.Get(), m_tagName.Length());
        m_attributes.ForEachPair(
            [&out](const CSafeBuf& name, const CSafeBuf& value) { AppendXMLAttribute(out, name, value); });
        if ((flags & kSourceMarkers) && var && !var->selection && m_owner
            && m_owner->m_doc.m_caretElement == this)
            AppendXMLAttribute(out, CSafeBuf(kCaretMarker), CaretMarkerValue(this));
        if ((flags & kSourceDivSelected) && m_kind == kKindDiv && m_selected)
            AppendXMLAttribute(out, CSafeBuf("divselected"), CSafeBuf("yes"));
        if (m_kind == kKindBdo || m_kind == kKindImg) {
            CSafeBuf value;
            if (m_kind == kKindBdo && !m_attributes.Lookup("dir", value))
                AppendXMLAttribute(out, CSafeBuf("dir"), CSafeBuf("rtl"));
            if (m_kind == kKindImg && !m_attributes.Lookup("alt", value))
                AppendXMLAttribute(out, CSafeBuf("alt"), CSafeBuf());
        }
        if (diagnostic)
            AppendDiagnostics(this, out);
        if (empty) {
            out.AppendLiteral(" />");
            AppendSelectionMarkers(this, out, start, flags, var);
            if (indent)
                out.AppendLiteral("\r\n");
            return true;
        }
        out.AppendLiteral(">");
    }
    if (childLines)
        out.AppendLiteral("\r\n");
    if (pre)
        out.AppendLiteral("\r\n");
    if (m_kind == kKindFieldset && !m_text.IsEmpty()) {
        if (childLines) {
            Tabs(out, level + 1);
            out += m_text;
            out.AppendLiteral("\r\n");
        } else {
            out += m_text;
        }
    }

    if (!(flags & kSourceShallow)) {
        std::vector<CElement*> order;
        const bool table = m_kind == kKindTable;
        if (table) {
            TableOrder(this, order);
        } else if (m_kind == kKindTr && Style().rtl) {
            for (CElement* c = m_lastChild; c; c = c->m_prevSibling)
                order.push_back(c);
        }
        const bool ordered = table || !order.empty();
        size_t next = 0;
        CElement* c = ordered ? nullptr : m_firstChild;
        const int lineFlags = flags & ~kSourceIndent;
        bool lineOpen = false;
        CElement* previous = nullptr;
        for (;;) {
            if (ordered) {
                if (next == order.size())
                    break;
                c = order[next++];
                if (!c) {
                    ChildBuffer columns;
                    CSafeBuf& childOut = columns.Text();
                    static_cast<CTableElement*>(this)->GetColgroupSource(childOut, level + 1, flags);
                    if (childOut.IsEmpty())
                        continue;
                    if (childLines) {
                        childOut.Delete(0, 2); // the leading "\r\n"
                        childOut.AppendLiteral("\r\n");
                    }
                    out += childOut;
                    previous = nullptr;
                    continue;
                }
            } else if (!c) {
                break;
            }
            PassCursor::Step(c);
            const bool inlineChild = IsInlineContent(c);
            // An inline child opens a line with its indentation, unless it
            // writes nothing: the TABs go before it and come off again then.
            bool opening = false;
            int tabs = 0;
            if (childLines) {
                if (inlineChild && !lineOpen) {
                    tabs = out.Length();
                    Tabs(out, level + 1);
                    tabs = out.Length() - tabs;
                    opening = true;
                } else if (!inlineChild && lineOpen) {
                    out.AppendLiteral("\r\n");
                    lineOpen = false;
                }
            }
            const bool merged = (flags & kSourceMerge) && previous && CanMergeInline(previous, c);
            if (merged)
                RemoveTag(out, 2);
            const int childStart = out.Length();
            c->AppendSourceCode(out, level + 1, childLines && !inlineChild ? flags : lineFlags, scratch1,
                scratch2, scratch3, var);
            if (opening) {
                if (out.Length() == childStart) {
                    if (tabs > 0)
                        out.CutAt(childStart - tabs);
                } else
                    lineOpen = true;
            }
            if (merged) {
                RemoveStartTag(out, childStart);
                JoinInnerNeighbours(out, previous, c, childStart);
            }
            previous = c;
            if (!ordered)
                c = c->m_nextSibling;
        }
        if (m_kind == kKindP && HasOnlyBlankText(this)) {
            if (childLines && !lineOpen) {
                Tabs(out, level + 1);
                lineOpen = true;
            }
            out.AppendLiteral("&#160;");
        }
        if (lineOpen)
            out.AppendLiteral("\r\n");
    }
    if (pre)
        out.AppendLiteral("\r\n");
    if (!locked) {
        if (childLines)
            Tabs(out, level);
        out.AppendLiteral("</");
        out.Append(m_tagName.Get(), m_tagName.Length());
        out.AppendLiteral(">");
    }
    AppendSelectionMarkers(this, out, start, flags, var);
    if (indent)
        out.AppendLiteral("\r\n");
    return true;
}
