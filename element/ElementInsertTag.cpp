// Inserting one element given as markup (a link, an image, a table, a custom
// element ...) at a child position or at the caret: InsertTagText.
//
// The call climbs. An element that may not hold the new one (a text run, an
// inline element; with splitBlocks also a paragraph, pre or heading) splits
// itself where the markup goes and hands the markup to its parent, naming
// itself as the neighbour; the first element that may hold it parses the
// markup, builds the element through the factory and the reader and links
// it in. Markup is parsed only there: markup that does not parse inserts
// nothing, and the splits made on the way up stay.
//
// A text run takes the markup at its caret: before the run when the caret
// stands at its start, after it at its end, else after the run's first half
// once the run is split at the caret.

#include "element/Element.h"
#include "element/Selection.h"
#include "element/TreeQueries.h"

#include "base/text/U16.h"
#include "base/xml/XmlEntityExpansion.h"
#include "base/xml/XmlLoad.h"
#include "base/xml/XmlNavigate.h"
#include "base/xml/XmlNodeValue.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/MarkupEntities.h"
#include "element/markup/MarkupReader.h"
#include "element/services/XHTMLServices.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

namespace {

const unsigned short kNoTag[] = {0};

CElement* NewText(const CElement* like, const char* text)
{
    CElement* run = CreateElement(kNoTag, like->m_rules, like->m_root, like->m_owner);
    if (run && text)
        run->m_text = text;
    return run;
}

void SetCaret(CElement* e, long offset)
{
    e->m_caretOffset = offset;
    if (e->m_owner)
        e->m_owner->m_doc.m_caretElement = e;
}

// Elements that with splitBlocks split to let the markup go to their parent.
bool SplitsForBlocks(const CElement* e)
{
    return e->m_kind == kKindPre || e->m_kind == kKindP || e->m_heading || e->m_inline
        || e->IsElementUnderClass(0) || e->IsElementUnderTag(kKindP);
}

// Splits e where the markup goes beside its child refId (before it, or after
// it with after) and answers whether the markup then goes after e (its
// first half) or before it. half receives the second half, when one was
// made.
bool SplitBeside(CElement* e, long refId, bool after, CElement** half)
{
    *half = nullptr;
    if (!refId)
        return after;
    CElement* ref = e->GetChild(refId, 0);
    if (!ref)
        return true;
    CElement* splitAfter = after ? ref : ref->m_prevSibling;
    if (!splitAfter)
        return false;
    *half = e->BreakElement(splitAfter->GetID(), false);
    return true;
}

// e is the caret element or holds it.
bool CaretWithin(const CElement* e)
{
    const CElement* caret = e->m_owner ? e->m_owner->m_doc.m_caretElement : nullptr;
    return caret && (caret == e || IsDescendantOf(e, caret->GetID()));
}

// The second half of a block split for block markup: an empty block other
// than p becomes a p; an empty p goes when asked, unless the caret stands
// in it; a p kept empty gets a text run for the caret.
void TidySecondHalf(CElement* half, bool dropEmptyParagraph)
{
    CElement* parent = half->m_parent;
    if (!parent || !half->m_block || !half->IsEmptyTag(false))
        return;
    if (half->m_kind != kKindP) {
        CElement* p = CreateElement("p", half->m_rules, half->m_root, half->m_owner);
        if (!p)
            return;
        if (!parent->InsertChild(p, half->GetID(), false)) {
            parent->RemoveChild(p->GetID(), true, false);
            return;
        }
        half->MoveChildrenTo(p, 0, true, 0, 0);
        parent->RemoveChild(half->GetID(), true, false);
        half = p;
        half->StyleChanged(1);
    } else if (dropEmptyParagraph && !CaretWithin(half)) {
        parent->RemoveChild(half->GetID(), true, false);
        return;
    }
    if (!half->m_firstChild) {
        if (CElement* run = NewText(half, nullptr))
            half->AppendChild(run);
    }
}

// The markup as the parser gets it: named references resolved (a no-break
// space stays one), and wrapped in an element carrying the control's extra
// namespace declarations when there are any.
CSafeBuf PrepareMarkup(const CElement* e, const unsigned short* markup)
{
    CSafeBuf text(markup);
    PrepareMarkupEntities(text);
    CSafeBuf namespaces;
    GetExtraNamespaces(e, namespaces);
    if (namespaces.IsEmpty())
        return text;
    CSafeBuf wrapped("<_anamespace ");
    wrapped += namespaces;
    wrapped += ">";
    wrapped += text;
    wrapped += "</_anamespace>";
    return wrapped;
}

// A text element " | " beside a new link when the nearest sibling on that
// side, empty text runs passed over, is also a link.
void SeparateLinks(CElement* link)
{
    if (link->m_owner && !link->m_owner->m_separateLinks)
        return;
    for (bool after : {true, false}) {
        CElement* s = after ? link->m_nextSibling : link->m_prevSibling;
        while (s && s->IsTextElement() && s->m_text.IsEmpty())
            s = after ? s->m_nextSibling : s->m_prevSibling;
        if (!s || s->m_kind != kKindA)
            continue;
        if (CElement* bar = NewText(link, " | ")) {
            if (!link->AddBrother(bar, after, true))
                delete bar;
        }
    }
}

} // namespace

CElement* CElement::InsertTagText(const unsigned short* markup, long refId, bool after, bool here,
    bool splitBlocks, bool dropEmptyParagraph)
{
    if (!markup)
        return nullptr;
    // The no-break space that holds an empty paragraph open goes; one
    // beside other text of its block is a blank between words, and stays.
    if ((m_caretOffset == 0 || m_caretOffset == 1) && HoldsPlaceHolder(this)) {
        m_text.Delete(0, 1);
        m_caretOffset = 0;
    }

    // A text run holds no children, whatever the caller asks.
    if (m_container || (here && !IsTextElement())) {
        if (splitBlocks && SplitsForBlocks(this)) {
            if (!m_parent)
                return nullptr;
            CElement* half = nullptr;
            const bool placeAfter = SplitBeside(this, refId, after, &half);
            if (half)
                TidySecondHalf(half, dropEmptyParagraph);
            return m_parent->InsertTagText(markup, m_id, placeAfter, here, true, dropEmptyParagraph);
        }

        xmlDoc* doc = LoadXMLString(PrepareMarkup(this, markup));
        // References to entities that the markup declares are read as their
        // text and elements, within a bound.
        if (doc && !XmlExpandEntities(doc, MarkupEntityBudget(U16len(markup)), nullptr)) {
            XMLReleaseDom(doc);
            doc = nullptr;
        }
        if (!doc)
            return nullptr;
        xmlNode* node = GetRootElement(doc);
        if (node && node->name && CSafeBuf(reinterpret_cast<const char*>(node->name)) == "_anamespace") {
            xmlNode* inner = node->children;
            while (inner && inner->type != XML_ELEMENT_NODE)
                inner = inner->next;
            // Only text inside the wrapper: no element to insert.
            node = inner;
        }
        CElement* e = nullptr;
        if (node) {
            CSafeBuf tag;
            MacGetTagName(node, tag);
            e = CreateElement(static_cast<const unsigned short*>(tag), m_rules, m_root, m_owner);
        }
        if (!e) {
            XMLReleaseDom(doc);
            return nullptr;
        }
        CElement* linked = e;
        CElement* wrapper = nullptr;
        if (m_kind == kKindBody && e->m_inline && e->m_kind != kKindComment && e->m_kind != kKindScript) {
            wrapper = CreateElement("p", m_rules, m_root, m_owner);
            if (!wrapper) {
                delete e;
                XMLReleaseDom(doc);
                return nullptr;
            }
            linked = wrapper;
        }
        bool ok;
        if (!refId && after) {
            ok = AppendChild(linked);
        } else {
            linked->CopyFromParent(this, 1);
            InsertChild(linked, refId, after);
            ok = IsLinkedChild(linked);
        }
        if (!ok) {
            delete e;
            delete wrapper;
            XMLReleaseDom(doc);
            return nullptr;
        }
        if (wrapper) {
            wrapper->AppendChild(e);
            e->StyleChanged(1);
        }
        if (e->m_kind == kKindA)
            SeparateLinks(e);
        // Read without restyling as it goes: the container restyles the
        // whole new subtree below (once, not once for every block that holds
        // blocks), and each node is freed once read. Inside a pre its text
        // is preformatted, as the reader takes a pre's own content: its line
        // ends and blanks are the pre's text.
        ReadConsumingNodes(e, node, false, e->m_kind == kKindPre || e->IsElementUnderTag(kKindPre));
        if (!wrapper && e->m_block && e->m_kind != kKindCustom) {
            // Text runs wherever the caret may type inside the new block.
            int state = 0;
            e->ValidTextInput(state);
        }
        if (wrapper) {
            if (CElement* run = NewText(wrapper, nullptr)) {
                wrapper->AppendChild(run);
                SetCaret(run, 0);
            }
        }
        StyleChanged(1);
        XMLReleaseDom(doc);
        return linked;
    }

    CElement* parent = m_parent;
    if (!parent)
        return nullptr;
    const bool text = IsTextElement();
    const long length = m_text.Length();
    // A caret at the start of an inline element's content, or at its end,
    // puts the markup beside the inline element; a caret between two of its
    // children (a run after an inserted element) keeps it inside, in order.
    // The caret run ends after the markup either way, so that the pieces of
    // a fragment inserted one after another keep their order.
    const bool atStartEdge = m_caretOffset <= 0 && IsFirstContentOf(this, m_parent);
    const bool atEndEdge = m_caretOffset >= length && IsLastContentOf(this, m_parent);
    if (text && (atStartEdge || atEndEdge) && parent->m_inline && parent->m_parent) {
        CElement* grand = parent->m_parent;
        if (length > 0) {
            const bool atEnd = m_caretOffset >= length;
            CElement* run = NewText(this, nullptr);
            if (!run)
                return nullptr;
            if (!grand->InsertChild(run, parent->GetID(), atEnd)) {
                grand->RemoveChild(run->GetID(), true, false);
                return nullptr;
            }
            run->StyleChanged(2);
            SetCaret(run, 0);
            if (atEnd)
                return grand->InsertTagText(
                    markup, parent->GetID(), true, false, splitBlocks, dropEmptyParagraph);
            return grand->InsertTagText(markup, run->GetID(), false, false, splitBlocks, dropEmptyParagraph);
        }
        MoveCurrentElementTo(grand, parent->GetID(), atEndEdge && atStartEdge ? after : atEndEdge);
        return grand->InsertTagText(markup, m_id, false, false, splitBlocks, dropEmptyParagraph);
    }
    if (text && parent->m_kind == kKindDiv) {
        if (m_caretOffset >= length && after) {
            if (length > 0) {
                if (CElement* run = InsertEmptyText(false))
                    SetCaret(run, 0);
                return parent->InsertTagText(markup, m_id, true, false, splitBlocks, dropEmptyParagraph);
            }
            return parent->InsertTagText(markup, m_id, false, false, splitBlocks, dropEmptyParagraph);
        }
        if (m_caretOffset <= 0)
            return parent->InsertTagText(markup, m_id, false, false, splitBlocks, dropEmptyParagraph);
    }
    bool placeAfter = after;
    if (text) {
        // At the caret: the run splits there and the markup goes after its
        // first half.
        placeAfter = m_caretOffset > 0;
        if (m_caretOffset > 0 && m_caretOffset < length) {
            const bool caretHere = HoldsCaret(this);
            CTextElement* rest = static_cast<CTextElement*>(this)->SplitText(static_cast<int>(m_caretOffset));
            if (rest && caretHere)
                SetCaret(rest, 0);
        } else if (m_caretOffset > 0 && !splitBlocks && HoldsCaret(this)) {
            // At the run's end the caret moves to an empty run after it, so
            // that it ends after the markup as it does mid-run and at the
            // start (what is typed next follows the new link or picture).
            if (CElement* run = InsertEmptyText(false))
                SetCaret(run, 0);
        }
    } else {
        CElement* half = nullptr;
        placeAfter = SplitBeside(this, refId, after, &half);
    }
    return parent->InsertTagText(markup, m_id, placeAfter, false, splitBlocks, dropEmptyParagraph);
}
