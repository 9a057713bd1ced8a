#include "editor/InsertSupport.h"

#include "document/SrcElement.h"
#include "editor/XHTML.h"
#include "element/EdgeBlanks.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/MarkupWriter.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "elements/TextElement.h"
#include "style/sheets/SheetText.h"

namespace qm::insert {

namespace {

const unsigned short kPlaceHolder[] = {0x00A0, 0};

} // namespace

bool LoadFragment(CXHTMLServices* engine, const unsigned short* markup, CSrcElement& tree, bool preformatted)
{
    CSafeBuf wrapped("<body");
    if (engine && engine->m_control && !engine->m_control->Namespaces.IsEmpty()) {
        wrapped += " ";
        wrapped += engine->m_control->Namespaces;
    }
    wrapped += preformatted ? "><pre>" : ">";
    wrapped += markup;
    wrapped += preformatted ? "</pre></body>" : "</body>";
    if (!tree.LoadDoc(wrapped))
        return false;
    // The pre read the content as its own; its children are the fragment's.
    if (preformatted && tree.FirstChild() && tree.FirstChild() == tree.LastChild())
        tree.Unwrap(tree.FirstChild());
    return true;
}

void FoldLineEndsOutsidePre(CSafeBuf& markup)
{
    CSafeBuf out, part;
    for (int from = 0; from < markup.Length();) {
        int open = markup.Find("<pre", from, false);
        while (open >= 0 && open + 4 < markup.Length() && markup.GetAt(open + 4) != '>'
            && markup.GetAt(open + 4) != ' ')
            open = markup.Find("<pre", open + 4, false);
        const int close = open < 0 ? -1 : markup.Find("</pre>", open, false);
        const int end = close < 0 ? markup.Length() : close + 6;
        part = markup.Mid(from, (open < 0 ? markup.Length() : open) - from);
        CXHTML::ConvertCRLFToSpace(part);
        out += part;
        if (open >= 0)
            out += markup.Mid(open, end - open);
        from = open < 0 ? markup.Length() : end;
    }
    markup = out;
}

long CaretBlockId(const CXDoc& doc)
{
    const CElement* caret = doc.m_caretElement;
    const CElement* block = caret && caret->IsTextElement() ? caret->GetFirstBlockParent() : nullptr;
    return block ? block->GetID() : 0;
}

void HoldSplitBlanks(CXDoc& doc, long before)
{
    for (long id : {before, CaretBlockId(doc)}) {
        CElement* block = id ? doc.FindElement(id) : nullptr;
        if (block && doc.IsElementInTree(block))
            HoldEdgeBlanks(block);
    }
}

CElement* AncestorOfKind(const CElement* e, long kind)
{
    for (CElement* a = e ? e->m_parent : nullptr; a; a = a->m_parent) {
        if (a->IsType(kind))
            return a;
    }
    return nullptr;
}

bool InsideParagraphOrHeading(const CElement* e)
{
    for (const CElement* a = e ? e->m_parent : nullptr; a; a = a->m_parent) {
        if (a->IsType(kKindP) || IsHeadingKind(a->m_kind))
            return true;
    }
    return false;
}

bool IsInside(const CElement* e, const CElement* ancestor)
{
    for (const CElement* a = e ? e->m_parent : nullptr; a; a = a->m_parent) {
        if (a == ancestor)
            return true;
    }
    return false;
}

bool IsRunWithoutText(const CElement* e)
{
    // An empty paragraph's place holder is one no-break space.
    return e->IsTextElement() && (e->m_text.IsEmpty() || e->m_text == kPlaceHolder);
}

bool HoldsNoText(const CElement* p)
{
    for (const CElement* c = p->m_firstChild; c; c = c->m_nextSibling) {
        if (!IsRunWithoutText(c))
            return false;
    }
    return true;
}

namespace {

// e is an inline element outside a pre whose first (atEnd false) or last
// child is a text run holding more than the blank at that edge.
CTextElement* EdgeRun(CElement* e, bool atEnd)
{
    CElement* run = e && e->m_parent ? (atEnd ? e->m_lastChild : e->m_firstChild) : nullptr;
    if (!run || e->m_block || e->IsTextElement() || !run->IsTextElement() || e->m_kind == kKindPre
        || e->IsElementUnderTag(kKindPre))
        return nullptr;
    const int n = run->m_text.Length();
    if (n == 0 || run->m_text.GetAt(atEnd ? n - 1 : 0) != ' ')
        return nullptr;
    // A blank that is all e holds stays.
    if (n == 1 && e->m_firstChild == e->m_lastChild)
        return nullptr;
    // Nor is a blank an edge where e goes on in a like neighbour (the next
    // piece of an element wrapped over lines): the two are written as one
    // element, the blank inside it, and moved out it would part them.
    if (atEnd ? e->m_nextSibling && CanMergeInline(e, e->m_nextSibling)
              : e->m_prevSibling && CanMergeInline(e->m_prevSibling, e))
        return nullptr;
    return static_cast<CTextElement*>(run);
}

} // namespace

void BlankOutsideInline(CElement* e, bool atEnd)
{
    CTextElement* run = EdgeRun(e, atEnd);
    if (!run)
        return;
    const int n = run->m_text.Length();
    // Divided, the blank becomes a run of its own: the run's second part at
    // the end, the run itself (the rest going on after it) at the start.
    if (n > 1 && !(atEnd ? run->DivideElement(0, n - 2) : run->DivideElement(1, n - 1)))
        return;
    CElement* blank = atEnd && n > 1 ? run->m_nextSibling : run;
    if (!blank || !e->RemoveCurrentChildFromList(blank))
        return;
    if (e->m_parent->InsertInto(blank, e, atEnd))
        return;
    if (atEnd)
        e->AppendChild(blank);
    else
        e->InsertInto(blank, e->m_firstChild, false);
}

namespace {

void TakeStyleElementsInto(CSrcElement* node, std::vector<CXDoc::InsertedStyle>& styles)
{
    for (CSrcElement* c = node->FirstChild(); c;) {
        CSrcElement* next = c->NextSibling();
        if (c->IsTextNode() || c->IsComment() || c->KeepsContentAsText() || c->IsTag("script")
            || c->IsTag("noscript")) {
            c = next;
            continue;
        }
        if (!c->IsTag("style")) {
            TakeStyleElementsInto(c, styles);
            c = next;
            continue;
        }
        CXDoc::InsertedStyle style;
        c->GetSourceCode(style.markup, 0, 0, false);
        CSafeBuf media;
        c->m_attributes.Lookup("media", media);
        style.screen = IsScreenMediaAttribute(media);
        // The rules, with those a comment hides from old browsers.
        for (CSrcElement* t = c->FirstChild(); t; t = t->NextSibling()) {
            if (t->IsTextNode() || t->IsComment())
                style.rules += static_cast<const unsigned short*>(t->m_text);
        }
        node->RemoveChild(c);
        styles.push_back(std::move(style));
        c = next;
    }
}

} // namespace

std::vector<CXDoc::InsertedStyle> TakeStyleElements(CSrcElement* tree)
{
    std::vector<CXDoc::InsertedStyle> styles;
    if (tree)
        TakeStyleElementsInto(tree, styles);
    return styles;
}

void RemoveDescendants(CSrcElement* node, const char* tag)
{
    for (CSrcElement* c = node->FirstChild(); c;) {
        CSrcElement* next = c->NextSibling();
        if (c->IsTag(tag))
            node->RemoveChild(c);
        else
            RemoveDescendants(c, tag);
        c = next;
    }
}

CElement* WrapRunInParagraph(CElement* run)
{
    CElement* body = run ? run->m_parent : nullptr;
    if (!body || !run->IsTextElement() || !body->IsType(kKindBody) || !run->m_owner)
        return nullptr;
    CElement* p = CreateElement("p", body->m_rules, body, run->m_owner);
    if (!p)
        return nullptr;
    // The run is a child of the body, so the p goes in just before it.
    body->InsertChild(p, run->GetID(), false);
    p->CopyFromParent(body, 1);
    body->RemoveChild(run->GetID(), false, false);
    p->AppendChild(run);
    return p;
}

} // namespace qm::insert
