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

#include "base/text/U16.h"
#include "base/xml/XmlNodeValue.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/factory/ElementFactory.h"
#include "element/factory/TagTables.h"
#include "element/markup/HeadParts.h"
#include "element/markup/SourceCode.h"
#include "element/markup/TreeRepair.h"
#include "element/services/XHTMLServices.h"
#include "elements/BRElement.h"
#include "elements/CommentElement.h"
#include "elements/TableElement.h"
#include "elements/TextElement.h"
#include "style/cascade/StyleMerge.h"

#include <libxml/tree.h>

#include <memory>

namespace {

// Set while ReadConsumingNodes reads a body: each node is freed once it is
// read, and the body restyles the whole tree at its end unless its caller
// restyles it afterwards (g_restyleBody off).
bool g_consumeNodes = false;
bool g_restyleBody = true;

const unsigned short kNoBreakSpace[] = {0xA0, 0};
const unsigned short kBlank[] = {' ', 0};
const unsigned short kNothing[] = {0};

bool EndsInBlank(const CSafeBuf& text) { return !text.IsEmpty() && text.GetAt(text.Length() - 1) == ' '; }

// The last child when it is a text run that ends in a blank.
bool FollowsBlank(const CElement* e)
{
    const CElement* last = e->m_lastChild;
    return last && last->IsTextElement() && EndsInBlank(last->m_text);
}

CTextElement* AppendText(CElement* e, const unsigned short* text)
{
    CElement* run = CreateElement(kNothing, e->m_rules, e->m_root, e->m_owner);
    if (!run)
        return nullptr;
    if (!e->AppendChild(run)) {
        delete run;
        return nullptr;
    }
    run->m_text = text;
    return static_cast<CTextElement*>(run);
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

void ReadAttributes(CElement* e, xmlNode* node)
{
    if (!node->properties && !node->nsDef)
        return; // nothing to copy (a base element without href sets no base)
    CSafeBuf name, value, style;
    bool any = false;
    for (xmlAttr* a = node->properties; a; a = a->next) {
        XMLGetAttrInfo(a, name, value);
        if (name.IsEmpty()) // an empty value: the name alone
            MacGetTagName(reinterpret_cast<xmlNode*>(a), name);
        if (name.IsEmpty())
            continue;
        e->m_attributes.SetAt(static_cast<const unsigned short*>(name), value);
        any = true;
        e->LoadAttributeStyle(name, value);
        if (name.CompareNoCase("style") == 0)
            style = value;
    }
    if (any) {
        if (!style.IsEmpty()) {
            auto record = std::make_unique<ELEMENT_STYLE>();
            ParseStyleString(style, record.get(), e);
            SetNewStyle(e, record.get(), 2, false);
        }
        e->ApplyCSS(nullptr, true);
        e->SetAttrFromStyle();
        e->CalcForAll(nullptr, false, false);
    }
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

struct ChildState
{
    int count = 0; // children that count (comments do not)
    int index = 0; // of the current one among them
    bool first = true;
    bool previousInline = false;
};

void ReadText(CElement* e, CSafeBuf& text, ChildState& st)
{
    const bool only = st.count == 1;
    const bool last = st.index == st.count - 1;
    if (e->IsValidText(text)) {
        CTextElement* run = AppendText(e, kNothing);
        if (run) {
            const bool afterBlank = run->m_prevSibling && run->m_prevSibling->IsTextElement()
                && EndsInBlank(run->m_prevSibling->m_text);
            run->m_text.ReplaceWith(&text);
            run->ValidateText();
            if (afterBlank && run->m_text.GetAt(0) == ' ')
                run->m_text.Delete(0);
            if (last) {
                if (e->m_inline && EndsInBlank(run->m_text) && e->m_parent)
                    AppendText(e->m_parent, kBlank);
                run->m_text.TrimRight();
            }
        }
        st.previousInline = false;
        st.first = false;
        return;
    }
    if (st.previousInline) {
        if (e->m_block && last)
            AppendText(e, kNothing);
        else if (!FollowsBlank(e))
            AppendText(e, kBlank);
        st.previousInline = false;
        st.first = false;
        return;
    }
    if (!st.first && !only)
        return;
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
    }
}

bool IsLowerCaseName(const CSafeBuf& tag)
{
    const unsigned short* s = tag;
    for (int i = 0, n = tag.Length(); i < n; ++i) {
        if (!((s[i] >= 'a' && s[i] <= 'z') || (s[i] >= '0' && s[i] <= '9')))
            return false;
    }
    return true;
}

void ReadElement(CElement* e, xmlNode* n, bool keep, ChildState& st)
{
    CSafeBuf tag;
    MacGetTagName(n, tag);
    // Known tags are spelled as the table spells them (all lower case): a
    // tag already in lower case letters and digits is left as it is.
    if (!IsLowerCaseName(tag)) {
        const int known = FindTagInList(SupportHTMLTag, tag, true);
        if (known >= 0)
            tag = SupportHTMLTag[known];
    }
    if (e->m_kind == kKindTable && (tag == "colgroup" || tag == "col")) {
        static_cast<CTableElement*>(e)->SetColgroup(n, tag == "col");
        st.first = false;
        return;
    }
    if (e->m_kind == kKindFieldset && tag == "legend") {
        CSafeBuf markup;
        XMLGetNodeXML(n, markup);
        e->m_text += markup;
        st.first = false;
        return;
    }
    CElement* child
        = CreateElement(static_cast<const unsigned short*>(tag), e->m_rules, e->m_root, e->m_owner);
    if (!child) {
        st.first = false;
        return;
    }
    if (st.first && child->m_kind != kKindCustom && !child->IsTextElement() && child->m_kind != kKindImg) {
        const long k = child->m_kind;
        if ((e->m_tableCell || e->m_kind == kKindCaption)
            && !(child->m_tablePart || k == kKindDiv || k == kKindP || child->m_heading || child->m_list
                || k == kKindHr)) {
            AppendText(e, st.count < 2 && !child->m_inline ? kNoBreakSpace : kNothing);
        } else if (e->m_kind == kKindLi && (k == kKindUl || k == kKindOl)) {
            AppendText(e, kNothing);
        }
    }
    st.previousInline = child->m_inline || child->m_kind == kKindImg || child->m_kind == kKindBr;
    st.first = false;
    if (!e->AppendChild(child)) {
        delete child;
        return;
    }
    child->SetElement(n, false, false, child->m_kind == kKindPre || keep);
}

void ReadChildren(CElement* e, xmlNode* node, bool keep)
{
    if (e->m_kind == kKindBody)
        e->CalcForAll(e->m_dc.get(), false, false);
    ChildState st;
    for (xmlNode* n = node->children; n; n = n->next) {
        if (CountsAsChild(n))
            ++st.count;
    }
    xmlNode* next = nullptr;
    for (xmlNode* n = node->children; n; n = next) {
        next = n->next;
        // The node is read below and not looked at again.
        struct Consumed
        {
            xmlNode* n;
            ~Consumed()
            {
                if (g_consumeNodes) {
                    xmlUnlinkNode(n);
                    xmlFreeNode(n);
                }
            }
        } consumed{n};
        if (n->type == XML_COMMENT_NODE) {
            ReadComment(e, n);
            continue;
        }
        if (!CountsAsChild(n))
            continue;
        if (n->type == XML_ELEMENT_NODE) {
            ReadElement(e, n, keep, st);
        } else {
            // Text, character data, and a reference to an entity the
            // document declares (read as the text it stands for). Made
            // here, not once for all children: a run takes the buffer over.
            CSafeBuf text;
            if (n->type == XML_ENTITY_REF_NODE) {
                xmlChar* content = xmlNodeGetContent(n);
                text.AssignUTF8(reinterpret_cast<const char*>(content));
                xmlFree(content);
            } else {
                text.AssignUTF8(reinterpret_cast<const char*>(n->content));
            }
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
    if (st.count == 0) {
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

// Shares e's style, first trying the style of a sibling just before it of
// the same kind, which it most often equals (the runs of a paragraph, the
// items of a list): no look-up in the table then.
void ShareLikeSiblings(CElement* e)
{
    if (e->m_style.IsShared())
        return;
    int tries = 4;
    for (const CElement* s = e->m_prevSibling; s && tries > 0; s = s->m_prevSibling, --tries) {
        if (s->m_kind == e->m_kind && s->m_style.IsShared()) {
            e->m_style.Share(s->m_style);
            return;
        }
    }
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
    if (k == kKindTr && e->Style().rtl)
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
    // element.
    ShareLikeSiblings(this);
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        ShareLikeSiblings(c);
    return true;
}

bool ReadConsumingNodes(CElement* e, _xmlNode* node, bool restyle, bool keepWhiteSpace)
{
    // Restored however the read ends (an exception from an allocation), to
    // what they were: a read inside another read leaves the outer one as it
    // was going.
    struct Restore
    {
        bool consume = g_consumeNodes;
        bool restyleBody = g_restyleBody;
        ~Restore()
        {
            g_consumeNodes = consume;
            g_restyleBody = restyleBody;
        }
    } restore;
    g_consumeNodes = true;
    g_restyleBody = restyle;
    return e->SetElement(node, false, false, keepWhiteSpace);
}
