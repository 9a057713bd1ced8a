// The markup reader: CElement::SetElement fills an element and its subtree
// from a node of a document parsed by libxml2.
//
// Attributes are copied as written and handed to the style engine. Text
// nodes (and character data sections) become text runs with their white
// space normalised, comments become comment elements, element nodes become
// child elements made by the factory. A few rules make sure that the caret
// can stand where the editor needs it (an empty run in an empty paragraph, a
// no-break space in an empty cell), and the subtree is then brought into the
// shape the editor relies on (paragraphs around the inline content of mixed
// blocks).
//
// White space. Within one element, two text runs never meet with a blank on
// both sides, a run next to a block sibling carries no blank at that side,
// and the text at the end of a block's content ends in none: the writer
// joins neighbouring runs into one text, and reading that text again would
// collapse or drop such blanks, so the tree read from written markup is the
// tree that was written.

#include "element/markup/MarkupReader.h"

#include "base/text/TextArena.h"
#include "base/text/U16.h"
#include "base/xml/XmlNodeValue.h"
#include "base/xml/XmlPushParse.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/factory/ElementFactory.h"
#include "element/factory/TagTables.h"
#include "element/markup/HeadParts.h"
#include "element/markup/ReadStyle.h"
#include "element/markup/SourceCode.h"
#include "element/markup/TreeRepair.h"
#include "element/services/XHTMLServices.h"
#include "elements/BRElement.h"
#include "elements/CommentElement.h"
#include "elements/TableElement.h"
#include "elements/TextElement.h"
#include "style/cascade/SiblingStyle.h"

#include <libxml/tree.h>

#include <cstring>
#include <memory>
#include <optional>

namespace {

// Set while ReadConsumingNodes reads a body: the nodes are freed soon after
// they are read (FreeReadChildren), and the body restyles the whole tree at its end unless its caller
// restyles it afterwards (g_restyleBody off).
bool g_consumeNodes = false;
bool g_restyleBody = true;
// Set while ReadConsumingNodes reads: the texts of the runs are cut from it.
CTextArena* g_texts = nullptr;
// Set while a body is read as its markup is parsed: the parse, and the node
// whose children it is still making.
CXmlPushParse* g_parse = nullptr;
const xmlNode* g_parsedNode = nullptr;

// The node at *link (a first child or a next sibling of a child of parent)
// as a complete node: while parent is parsed, the parse goes on until that
// node is followed by a sibling or parent is closed.
xmlNode* Complete(const xmlNode* parent, xmlNode* const* link)
{
    if (g_parse && parent == g_parsedNode) {
        while (!((*link && (*link)->next) || !g_parse->IsOpen(parent)) && g_parse->More()) { }
    }
    return *link;
}
xmlNode* FirstChildOf(const xmlNode* node) { return Complete(node, &node->children); }
xmlNode* NextOf(const xmlNode* n) { return Complete(n->parent, &n->next); }

const unsigned short kNoBreakSpace[] = {0xA0, 0};
const unsigned short kBlank[] = {' ', 0};
const unsigned short kNothing[] = {0};

bool EndsInBlank(const CSafeBuf& text) { return !text.IsEmpty() && text.GetAt(text.Length() - 1) == ' '; }

CTextElement* AppendText(CElement* e, const unsigned short* text)
{
    CElement* run = CreateElement(kNothing, e->m_rules, e->m_root, e->m_owner);
    if (!run)
        return nullptr;
    if (!AppendAsRead(e, run)) {
        delete run;
        return nullptr;
    }
    run->m_text = text;
    return static_cast<CTextElement*>(run);
}

// The blank that ends an inline element's text, read as standing after the
// element: right after it. Read in order, the element is the last child of
// its parent so far; read into the middle of a block (markup inserted at
// the caret), the block's content after the caret follows it already, and
// the blank at the block's end would glue the element's last word to it.
void BlankAfter(CElement* e)
{
    CElement* parent = e->m_parent;
    if (!e->m_nextSibling) {
        AppendText(parent, kBlank);
        return;
    }
    CElement* run = CreateElement(kNothing, parent->m_rules, parent->m_root, parent->m_owner);
    if (!run)
        return;
    if (!parent->InsertChild(run, e->GetID(), true)) {
        parent->RemoveChild(run->GetID(), true, false);
        return;
    }
    if (!StylesLater(run))
        run->CopyFromParent(parent, 1);
    run->m_text = kBlank;
}

// The children that the reading rules count: everything but comments and
// the nodes that are not read (processing instructions and the like).
bool CountsAsChild(const xmlNode* n)
{
    if (IsEmptyHeadPartInBody(n))
        return false;
    return n->type == XML_ELEMENT_NODE || n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE
        || n->type == XML_ENTITY_REF_NODE;
}

// The first counting child from n on, or null.
const xmlNode* FirstCounting(const xmlNode* n)
{
    while (n && !CountsAsChild(n))
        n = NextOf(n);
    return n;
}

void ReadAttributes(CElement* e, xmlNode* node)
{
    if (!node->properties && !node->nsDef)
        return; // nothing to copy (a base element without href sets no base)
    // Each name and value is decoded into new strings, which the map then
    // keeps as they are (no copies made of them).
    CSafeBuf name, value;
    const CSafeBuf* style = nullptr;
    bool any = false;
    for (xmlAttr* a = node->properties; a; a = a->next) {
        XMLGetAttrInfo(a, name, value);
        if (name.IsEmpty()) // an empty value: the name alone
            MacGetTagName(reinterpret_cast<xmlNode*>(a), name);
        if (name.IsEmpty())
            continue;
        e->LoadAttributeStyle(name, value);
        const bool isStyle = name.CompareNoCase("style") == 0;
        const CSafeBuf& stored = e->m_attributes.TakeAt(name, value);
        if (isStyle)
            style = &stored;
        any = true;
    }
    if (any && !StylesLater(e))
        StyleAsRead(e, style ? *style : CSafeBuf());
    for (xmlNs* ns = node->nsDef; ns; ns = ns->next) {
        name = "xmlns";
        if (ns->prefix) {
            CSafeBuf prefix;
            prefix.AssignUTF8(reinterpret_cast<const char*>(ns->prefix));
            name += ":";
            name += prefix;
        }
        XmlNamespaceURI(ns, value);
        e->m_attributes.SetAt(static_cast<const unsigned short*>(name), value);
    }
    if (e->m_tagName[0] && U16icmp(e->m_tagName, "base") == 0 && e->m_root && e->m_root->Rare().m_baseURL) {
        e->m_attributes.Lookup("href", value);
        value.Trim();
        if (!value.IsEmpty())
            *e->m_root->EditRare().m_baseURL = value;
    }
}

void ReadComment(CElement* e, xmlNode* n)
{
    CSafeBuf text;
    text.AssignUTF8(reinterpret_cast<const char*>(n->content));
    text.Trim();
    if (text.Find("Generated by ") == 0)
        return;
    CElement* comment = CreateElement("_comment_", e->m_rules, e->m_root, e->m_owner);
    if (!comment)
        return;
    if (!e->AppendChild(comment)) {
        delete comment;
        return;
    }
    comment->m_text = text;
}

// Preformatted text: a run for each line, a generated break for each LF.
void ReadPreformatted(CElement* e, const CSafeBuf& text)
{
    const unsigned short* s = text;
    const int n = text.Length();
    int start = 0;
    for (int i = 0; i <= n; ++i) {
        const bool end = i == n;
        if (!end && s[i] != '\r' && s[i] != '\n')
            continue;
        if (i > start)
            AppendText(e, text.Mid(start, i - start));
        if (!end && s[i] == '\n') {
            CElement* br = CreateElement("br", e->m_rules, e->m_root, e->m_owner);
            if (br && e->AppendChild(br))
                static_cast<CBRElement*>(br)->m_preBreak = true;
            else
                delete br;
        }
        start = i + 1;
    }
}

// Where the reading of a node's children stands. The rules ask whether the
// child read is the only counting one or the last: known from the children
// read so far and the next counting child, looked for when a rule first
// asks, or else once the child is read (its subtree read, the next node
// is at hand), rather than by counting the children first.
struct ChildState
{
    int index = 0; // of the current one among the counting children
    int seen = 0;  // counting children of the node read before the current one
    const xmlNode* current = nullptr;
    // The first counting child after the current one, or null, once known.
    const xmlNode* following = nullptr;
    bool known = false;
    bool first = true;
    bool previousInline = false;
};

const xmlNode* Following(ChildState& st)
{
    if (!st.known) {
        st.following = FirstCounting(NextOf(st.current));
        st.known = true;
    }
    return st.following;
}

// Whether the current child is the node's only counting child.
bool IsOnly(ChildState& st) { return st.seen == 0 && !Following(st); }

// Whether every counting child after the current one is a text of white
// space only (no character above U+0020, as IsValidText asks), which shows
// as nothing beside it.
bool OnlyBlanksFollow(ChildState& st)
{
    for (const xmlNode* n = Following(st); n; n = FirstCounting(NextOf(n))) {
        if (n->type != XML_TEXT_NODE || !n->content)
            return false;
        for (const xmlChar* c = n->content; *c; ++c) {
            if (*c > 0x20)
                return false;
        }
    }
    return true;
}

// Whether the index stands at the node's last counting child. The index runs
// ahead of the children once the columns of a table's column group have
// been read (each counts as one more): it stands at the last one when as
// many counting children follow as it is ahead.
bool IsLast(ChildState& st)
{
    const int ahead = st.index - st.seen;
    const xmlNode* following = Following(st);
    if (ahead == 0 || !following)
        return ahead == 0 && !following;
    int more = 1;
    for (const xmlNode* n = NextOf(following); n && more <= ahead; n = NextOf(n))
        more += CountsAsChild(n);
    return more == ahead;
}

// Whether the content just before e ends in a character that a blank after
// it would part from what follows: the last unit of the text run before e,
// or of the last run inside the inline element before it.
bool ContentEndsBefore(const CElement* e)
{
    const CElement* before = e->m_prevSibling;
    while (before && !before->IsTextElement()) {
        if (!before->m_inline || before->m_kind == kKindBr || !before->m_lastChild)
            return false;
        before = before->m_lastChild;
    }
    if (!before || before->m_text.IsEmpty())
        return false;
    const unsigned short last = before->m_text.GetAt(before->m_text.Length() - 1);
    return last != ' ' && last != 0xA0;
}

// Whether white space at the start of inline element e parts it from a word
// before it: e, or the inline element it begins, follows content that ends
// in a character.
bool StartsAfterWord(const CElement* e)
{
    while (!e->m_prevSibling && e->m_parent && e->m_parent->m_inline)
        e = e->m_parent;
    return ContentEndsBefore(e);
}

// The last child of e read so far that is not a comment.
const CElement* LastBesideComments(const CElement* e)
{
    const CElement* c = e->m_lastChild;
    while (c && c->m_kind == kKindComment)
        c = c->m_prevSibling;
    return c;
}

// Whether e's content read so far ends in a text run that ends in a
// character: white space read now stood apart from that text (a comment or
// another node that is not read lay between them) and parts its last word
// from what follows.
bool EndsInWord(const CElement* e)
{
    const CElement* last = LastBesideComments(e);
    return last && last->IsTextElement() && !last->m_text.IsEmpty() && !EndsInBlank(last->m_text);
}

// A text of white space only (IsValidText false): what it leaves depends on
// where it stands, not on the blanks it holds.
void ReadBlanks(CElement* e, ChildState& st)
{
    const bool only = IsOnly(st);
    if (!st.first && !st.previousInline && EndsInWord(e)) {
        // As after an inline element: a blank, but none ending a block.
        if (!(e->m_block && IsLast(st)))
            AppendText(e, kBlank);
        return;
    }
    if (st.previousInline) {
        const bool last = IsLast(st);
        if (e->m_block && last)
            AppendText(e, kNothing);
        else if (!e->m_block && !e->m_inline && !e->m_tablePart && last && e->m_parent)
            // An element neither block nor inline (a tag the editor does not
            // know, such as an html inside the body) may be written without
            // its tags, which would leave a blank ending it at the end of
            // the block around it: the blank goes after the element, where
            // the block's end trims it as reading that markup would.
            AppendText(e->m_parent, kBlank);
        else if (!FollowsBlank(e))
            AppendText(e, kBlank);
        st.previousInline = false;
        st.first = false;
        return;
    }
    if (!st.first && !only)
        return;
    // White space starting an inline element, before its content, parts a
    // word before the element from that content as a blank starting its
    // text does (`a<code> <em>b</em></code>` reads "a b").
    if (!only && e->m_inline && StartsAfterWord(e)) {
        AppendText(e, kBlank);
        st.first = false;
        return;
    }
    // White space only, at the start or alone.
    if (e->m_tableCell || e->m_kind == kKindCaption) {
        // A cell of white space only shows a no-break space, so that it keeps
        // its height; white space before the content of a cell is nothing.
        if (only) {
            AppendText(e, kNoBreakSpace);
            st.first = false;
        }
    } else if (only
        && (e->m_kind == kKindLi || e->m_inline || e->m_kind == kKindP || e->m_kind == kKindDiv
            || e->m_kind == kKindFieldset || e->m_heading)) {
        AppendText(e, kNothing);
        st.first = false;
        // An inline element of white space only between two words parts
        // them: its blank goes after it, as the blank that ends an inline
        // element's text does (ReadText), and not into the empty run.
        if (e->m_inline && e->m_parent && ContentEndsBefore(e))
            BlankAfter(e);
    }
}

void ReadText(CElement* e, CSafeBuf& text, ChildState& st)
{
    if (!e->IsValidText(text)) {
        ReadBlanks(e, st);
        return;
    }
    const bool last = IsLast(st);
    CTextElement* run = AppendText(e, kNothing);
    if (run) {
        // A comment between this text and a blank before it leaves one
        // blank between the words, as it shows.
        const CElement* before = run->m_prevSibling;
        while (before && before->m_kind == kKindComment)
            before = before->m_prevSibling;
        const bool afterBlank = before && before->IsTextElement() && EndsInBlank(before->m_text);
        run->m_text.ReplaceWith(&text);
        run->ValidateText();
        if (afterBlank && run->m_text.GetAt(0) == ' ')
            run->m_text.Delete(0);
        if (last) {
            if (e->m_inline && EndsInBlank(run->m_text) && e->m_parent)
                BlankAfter(e);
            run->m_text.TrimRight();
        }
    }
    st.previousInline = false;
    st.first = false;
}

// Whether UTF-8 text holds no byte above U+0020: decoded, it would hold no
// unit above it either (a byte below 0x80 is its own unit, every unit of a
// longer sequence lies above), so IsValidText would answer false.
bool OnlyBlankBytes(const char* bytes, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(bytes[i]) > 0x20)
            return false;
    }
    return true;
}

// Whether an element node holds something to show: an element, or text
// other than white space (any text where blanks are kept, as in a pre).
bool HoldsContent(const xmlNode* node, bool keepsBlanks)
{
    for (const xmlNode* n = node->children; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE || n->type == XML_ENTITY_REF_NODE)
            return true;
        if (n->type != XML_TEXT_NODE && n->type != XML_CDATA_SECTION_NODE)
            continue;
        const char* text = reinterpret_cast<const char*>(n->content);
        const size_t length = text ? std::strlen(text) : 0;
        if (length > 0 && (keepsBlanks || !OnlyBlankBytes(text, length)))
            return true;
    }
    return false;
}

bool IsLowerCaseName(const unsigned short* s)
{
    for (; *s; ++s) {
        if (!((*s >= 'a' && *s <= 'z') || (*s >= '0' && *s <= '9')))
            return false;
    }
    return true;
}

// An element node's tag as the factory is given it. A short name of plain
// ASCII (nearly every name) is widened into the record itself, without an
// allocation; any other is decoded into a string. Known tags are spelled as
// the table spells them (all lower case): a tag already in lower case
// letters and digits is left as it is.
class NodeTag
{
public:
    explicit NodeTag(xmlNode* n)
    {
        if (XmlAsciiName(n, m_short, kShortUnits) < 0) {
            m_long = std::make_unique<CSafeBuf>();
            MacGetTagName(n, *m_long);
            m_text = *m_long;
        }
        if (!IsLowerCaseName(m_text)) {
            const int known = FindTagInList(SupportHTMLTag, m_text, true);
            if (known >= 0) {
                if (!m_long)
                    m_long = std::make_unique<CSafeBuf>();
                *m_long = SupportHTMLTag[known];
                m_text = *m_long;
            }
        }
    }
    NodeTag(const NodeTag&) = delete;
    NodeTag& operator=(const NodeTag&) = delete;

    operator const unsigned short*() const { return m_text; }
    bool Is(const char* name) const { return U16cmp(m_text, name) == 0; }

private:
    static constexpr int kShortUnits = 40;
    unsigned short m_short[kShortUnits];
    std::unique_ptr<CSafeBuf> m_long;
    const unsigned short* m_text = m_short;
};

void ReadNode(CElement* e, xmlNode* n, bool keep, ChildState& st, bool counts);

void ReadElement(CElement* e, xmlNode* n, bool keep, ChildState& st)
{
    const NodeTag tag(n);
    if (e->m_kind == kKindTable && (tag.Is("colgroup") || tag.Is("col"))) {
        const bool col = tag.Is("col");
        static_cast<CTableElement*>(e)->SetColgroup(n, col);
        st.first = false;
        // A group holds columns only, and a column nothing: what else they
        // hold (text, other elements) is read as the table's own content
        // after them, so that nothing of it is lost.
        xmlNode* following = nullptr;
        for (xmlNode* c = n->children; c; c = following) {
            following = c->next;
            if (col || c->type != XML_ELEMENT_NODE || !NodeTag(c).Is("col"))
                ReadNode(e, c, keep, st, CountsAsChild(c));
        }
        return;
    }
    if (e->m_kind == kKindFieldset && tag.Is("legend")) {
        CSafeBuf markup;
        XMLGetNodeXML(n, markup);
        e->m_text += markup;
        st.first = false;
        return;
    }
    CElement* child = CreateElement(tag, e->m_rules, e->m_root, e->m_owner);
    if (!child) {
        st.first = false;
        return;
    }
    if (st.first && child->m_kind != kKindCustom && !child->IsTextElement() && child->m_kind != kKindImg) {
        const long k = child->m_kind;
        if ((e->m_tableCell || e->m_kind == kKindCaption)
            && !(child->m_tablePart || k == kKindDiv || k == kKindP || child->m_heading || child->m_list
                || k == kKindHr)) {
            // Nothing but white space was read before the child (first):
            // white space around it changes nothing, the writer leaves it
            // out, and the cell must read the same without it. A block
            // alone in a cell that holds something (a quotation, a pre, an
            // address, a list of definitions ...) shows its own lines: a
            // no-break space before it would add a line that was never in
            // the text, and be written back. An empty one keeps it: the
            // cell then has a line for the caret.
            const bool spaced = !child->m_inline && !(k == kKindBlockquote || HoldsContent(n, k == kKindPre))
                && OnlyBlanksFollow(st);
            AppendText(e, spaced ? kNoBreakSpace : kNothing);
        } else if (e->m_kind == kKindLi && (k == kKindUl || k == kKindOl)) {
            AppendText(e, kNothing);
        }
    }
    st.previousInline = child->m_inline || child->m_kind == kKindImg || child->m_kind == kKindBr;
    st.first = false;
    if (!AppendAsRead(e, child)) {
        delete child;
        return;
    }
    child->SetElement(n, false, false, child->m_kind == kKindPre || keep);
}

// The UTF-8 text of a text or character data node, or of the entity a
// reference stands for (made for the occasion, and freed with the record).
class NodeContent
{
public:
    explicit NodeContent(xmlNode* n)
        : m_owned(n->type == XML_ENTITY_REF_NODE ? xmlNodeGetContent(n) : nullptr),
          m_bytes(reinterpret_cast<const char*>(n->type == XML_ENTITY_REF_NODE ? m_owned : n->content))
    { }
    ~NodeContent() { xmlFree(m_owned); }
    NodeContent(const NodeContent&) = delete;
    NodeContent& operator=(const NodeContent&) = delete;

    const char* Bytes() const { return m_bytes; }
    size_t Length() const { return m_bytes ? std::strlen(m_bytes) : 0; }

private:
    xmlChar* m_owned;
    const char* m_bytes;
};

// Reads one child node of e's (read once, then not looked at again); counts
// tells whether it is a counting child (CountsAsChild).
void ReadNode(CElement* e, xmlNode* n, bool keep, ChildState& st, bool counts)
{
    if (n->type == XML_COMMENT_NODE) {
        ReadComment(e, n);
        return;
    }
    if (!counts)
        return;
    if (n->type == XML_ELEMENT_NODE) {
        ReadElement(e, n, keep, st);
    } else {
        // Text, character data, and a reference to an entity the
        // document declares (read as the text it stands for). Made
        // here, not once for all children: a run takes the buffer over.
        const NodeContent content(n);
        const size_t length = content.Length();
        if (!keep && length && OnlyBlankBytes(content.Bytes(), length)) {
            // White space between tags (the bulk of pretty-printed
            // markup's text nodes): nothing of it is kept as it is.
            ReadBlanks(e, st);
            ++st.index;
            return;
        }
        // Room for the whole text at once (a byte gives at most one
        // unit), so that decoding it allocates nothing more; no more
        // room than that, since the run keeps the buffer. Preformatted
        // text is cut into lines, each a string of its own: its buffer is
        // not kept, and is not taken from the arena.
        CSafeBuf text;
        if (g_texts && !keep)
            text.ReserveIn(*g_texts, static_cast<long>(length));
        else
            text.Reserve(static_cast<long>(length));
        text.AssignUTF8(content.Bytes(), static_cast<int>(length));
        if (keep) {
            ReadPreformatted(e, text);
            st.first = false;
            st.previousInline = false;
        } else if (!text.IsEmpty()) {
            ReadText(e, text, st);
        }
    }
    ++st.index;
}

// While nodes are consumed, the children of a node read so far are freed
// this many at a time, taken off the front of its list together: cheaper
// than unlinking each, and the nodes held at once stay few.
constexpr int kFreedTogether = 64;

// Frees node's children up to last (one of them), with their subtrees.
void FreeReadChildren(xmlNode* node, xmlNode* last)
{
    xmlNode* first = node->children;
    xmlNode* rest = last->next;
    last->next = nullptr;
    node->children = rest;
    if (rest)
        rest->prev = nullptr;
    else
        node->last = nullptr;
    xmlFreeNodeList(first);
}

void ReadChildren(CElement* e, xmlNode* node, bool keep)
{
    if (e->m_kind == kKindBody)
        e->CalcForAll(e->m_dc.get(), false, false);
    ChildState st;
    const bool consume = g_consumeNodes;
    // The children of a body read whole are repaired as soon as each is read.
    const bool repair = consume && RepairsChildrenAsRead(e);
    int unfreed = 0;
    xmlNode* next = nullptr;
    xmlNode* first = FirstChildOf(node);
    const xmlNode* counting = FirstCounting(first);
    for (xmlNode* n = first; n; n = next) {
        next = NextOf(n);
        // The nodes between two counting ones count for nothing.
        const bool counts = n == counting;
        if (counts) {
            st.current = n;
            st.known = false;
        }
        CElement* before = e->m_lastChild;
        ReadNode(e, n, keep, st, counts);
        if (counts) {
            counting = Following(st);
            ++st.seen;
        }
        if (repair)
            RepairReadChildren(e, before);
        if (consume && (++unfreed == kFreedTogether || !next)) {
            FreeReadChildren(node, n);
            unfreed = 0;
        }
    }
    if (repair)
        EndRepairAsRead();
    if (st.seen == 0) {
        const long k = e->m_kind;
        if (e->m_tableCell || k == kKindCaption)
            AppendText(e, kNoBreakSpace);
        else if (k == kKindLi || k == kKindBody || k == kKindP || k == kKindDiv || k == kKindFieldset
            || e->m_heading || k == kKindDl)
            AppendText(e, kNothing);
    }
}

// Blanks where a text run meets a block sibling are dropped.
void TrimAtBlocks(CElement* e)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsTextElement())
            continue;
        if (c->m_nextSibling && c->m_nextSibling->m_block)
            c->m_text.TrimRight();
        if (c->m_prevSibling && c->m_prevSibling->m_block)
            c->m_text.TrimLeft();
    }
}

// Shares e's style, first trying the style of a sibling just before it,
// which it most often equals: no look-up in the table then.
void ShareLikeSiblings(CElement* e)
{
    if (e->m_style.IsShared())
        return;
    if (const CSharedStyle* likely = LikelySiblingStyle(e))
        e->m_style.Share(*likely);
    else
        e->m_style.Share();
}

bool IsMarkerWord(const CElement* e)
{
    return e->IsTextElement()
        && (e->m_text == kCaretMarker || e->m_text == kSelectionBeginMarker
            || e->m_text == kSelectionEndMarker);
}

bool IsPreBreak(const CElement* e)
{
    return e && e->m_kind == kKindBr && static_cast<const CBRElement*>(e)->m_preBreak;
}

// The line breaks that the writer puts after the start tag and before the
// end tag of pre.
void DropPreEdgeBreaks(CElement* pre)
{
    CElement* c = pre->m_firstChild;
    while (c && IsMarkerWord(c))
        c = c->m_nextSibling;
    if (IsPreBreak(c))
        pre->RemoveChild(c->GetID(), true, false);
    // The end's break may sit inside the inline elements that end the pre:
    // cleaning moves white space at the end of a pre into the element before
    // it, whatever its kind (an inline one, or one the editor does not
    // know, such as a legend out of its fieldset). Left there it would come
    // back as one more line at every load.
    CElement* parent = pre;
    c = pre->m_lastChild;
    for (;;) {
        while (c && IsMarkerWord(c))
            c = c->m_prevSibling;
        if (!c || c->IsTextElement() || c->m_kind == kKindBr || !c->m_lastChild)
            break;
        parent = c;
        c = c->m_lastChild;
    }
    if (IsPreBreak(c))
        parent->RemoveChild(c->GetID(), true, false);
}

void FinishChildren(CElement* e, bool keep)
{
    if (!keep) {
        TrimAtBlocks(e);
        TrimAtEnd(e);
    }
    const long k = e->m_kind;
    if (k == kKindPre)
        DropPreEdgeBreaks(e);
    // While a whole body is read, the body restyles the tree once at its
    // end (CheckAndAddP on it): the elements inside leave it to the body,
    // so that a tree nested n blocks deep is not styled n times over.
    const bool restyle = !g_consumeNodes || (k == kKindBody && g_restyleBody);
    if (k == kKindCaption) {
        CheckAndAddP(e, restyle);
    } else if (k == kKindBody || k == kKindDiv || k == kKindBlockquote || k == kKindFieldset) {
        CheckAndAddP(e, restyle);
    }
    if (k == kKindBlockquote && !IsThereBlockChild(e, false) && e->m_firstChild) {
        CElement* p = CreateElement("p", e->m_rules, e->m_root, e->m_owner);
        if (p) {
            while (CElement* c = e->m_firstChild) {
                e->RemoveCurrentChildFromList(c);
                p->AddToTail(c);
            }
            e->AppendChild(p);
            if (restyle)
                e->StyleChanged(0);
        }
    }
    if (k == kKindTr && RightToLeftAsRead(e))
        ReverseChild(e);
}

} // namespace

bool CElement::SetElement(_xmlNode* node, bool attributesOnly, bool skipAttributes, bool keepWhiteSpace)
{
    if (!node)
        return false;
    if (!skipAttributes)
        ReadAttributes(this, node);
    if (attributesOnly)
        return true;
    ReadChildren(this, node, keepWhiteSpace);
    FinishChildren(this, keepWhiteSpace);
    // The styles of the subtree are final until the next restyle: shared
    // here, a large tree never holds a style record of its own for every
    // element. Styles left to the restyle after the read are shared too:
    // until that restyle, the records the elements were made with would
    // otherwise be held all at once.
    ShareLikeSiblings(this);
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        ShareLikeSiblings(c);
    return true;
}

bool ReadConsumingNodes(CElement* e, _xmlNode* node, bool restyle, bool keepWhiteSpace)
{
    return ReadConsumingNodes(e, node, nullptr, restyle, keepWhiteSpace);
}

bool ReadConsumingNodes(CElement* e, _xmlNode* node, CXmlPushParse* parse, bool restyle, bool keepWhiteSpace)
{
    // Restored however the read ends (an exception from an allocation), to
    // what they were: a read inside another read leaves the outer one as it
    // was going.
    struct Restore
    {
        bool consume = g_consumeNodes;
        bool restyleBody = g_restyleBody;
        CTextArena* texts = g_texts;
        CXmlPushParse* parse = g_parse;
        const xmlNode* parsedNode = g_parsedNode;
        ~Restore()
        {
            g_consumeNodes = consume;
            g_restyleBody = restyleBody;
            g_texts = texts;
            g_parse = parse;
            g_parsedNode = parsedNode;
        }
    } restore;
    g_consumeNodes = true;
    g_parse = parse;
    g_parsedNode = parse ? node : nullptr;
    g_restyleBody = restyle;
    // The runs' texts are cut from large blocks: a large tree takes them
    // (and frees them when it is torn down) a block at a time.
    CTextArena texts;
    g_texts = &texts;
    // The tree inside e is restyled once the read ends, by a body at its
    // end or by the caller: its elements are styled then, not as read.
    std::optional<CStyleLaterScope> later;
    if (!restyle || e->m_kind == kKindBody)
        later.emplace(e);
    return e->SetElement(node, false, false, keepWhiteSpace);
}
