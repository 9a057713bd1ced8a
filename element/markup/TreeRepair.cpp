// Tree repair: CheckDocument, CheckAndCure and the paragraph wrappers.
//
// Depth. The passes recurse once per level of the tree. Markup is parsed
// without the parser's "huge" option, which bounds nesting to libxml2's
// limit (xmlParserMaxDepth, 256 levels), and the repair adds at most one
// wrapper per level, so the recursion stays shallow. Wrappers can take a
// tree past the depth the parser reads back, though (a run of nested stray
// list items gains a list at every level): the repair of a body therefore
// flattens what lies deeper than that, keeping its text. The elements of
// content kept as markup (an object's, a script's, a legend) are written
// below the element that keeps them and count as levels too.

#include "element/markup/TreeRepair.h"

#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/KeptMarkup.h"
#include "element/services/XHTMLServices.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

#include <libxml/parserInternals.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace {

const unsigned short kNoBreakSpaceText[] = {0xA0, 0};

bool IsDefinitionItem(const CElement* e) { return e->m_kind == kKindDd || e->m_kind == kKindDt; }

bool IsRowPart(const CElement* e)
{
    return e->m_kind == kKindCaption || e->m_kind == kKindTr || IsRowGroupKind(e->m_kind);
}

// A new element of tag put in c's place; c and the run of siblings after it
// that belong moves into it. Null when the element cannot be made.
template <class Belongs>
CElement* WrapRun(CElement* parent, CElement* c, const char* tag, Belongs belongs)
{
    CElement* wrapper = CreateElement(tag, parent->m_rules, parent->m_root, parent->m_owner);
    if (!wrapper)
        return nullptr;
    parent->InsertChild(wrapper, c->GetID(), false);
    while (c && belongs(c)) {
        CElement* next = c->m_nextSibling;
        parent->RemoveCurrentChildFromList(c);
        wrapper->AddToTail(c);
        c = next;
    }
    wrapper->CopyFromParent(parent, 1);
    return wrapper;
}

enum class Stray
{
    None,
    DefinitionItem,
    ListItem,
    Cell,
    RowPart
};

// What makes c a stray child of parent, if anything.
Stray StrayIn(const CElement* parent, const CElement* c)
{
    const long k = parent->m_kind;
    if (IsDefinitionItem(c) && k != kKindDl)
        return Stray::DefinitionItem;
    if (c->m_kind == kKindLi && !IsListKind(k))
        return Stray::ListItem;
    if (IsCellKind(c->m_kind) && k != kKindTr)
        return Stray::Cell;
    if (k != kKindTable
        && (IsRowGroupKind(c->m_kind) || c->m_kind == kKindCaption
            || (c->m_kind == kKindTr && !IsRowGroupKind(k))))
        return Stray::RowPart;
    return Stray::None;
}

// The wrapper a stray child gets in parent, or null when it is in place.
CElement* WrapStray(CElement* parent, CElement* c)
{
    switch (StrayIn(parent, c)) {
    case Stray::DefinitionItem: return WrapRun(parent, c, "dl", IsDefinitionItem);
    case Stray::ListItem:
        return WrapRun(parent, c, "ul", [](const CElement* e) { return e->m_kind == kKindLi; });
    case Stray::Cell:
        return WrapRun(parent, c, "tr", [](const CElement* e) { return IsCellKind(e->m_kind); });
    case Stray::RowPart: {
        // The table's caption goes first, where the writer puts it: rows
        // before it would leave the table to be read as a data table only
        // once written, with the row group that such a table gets.
        CElement* table = WrapRun(parent, c, "table", IsRowPart);
        CElement* caption = table ? table->m_firstChild : nullptr;
        while (caption && caption->m_kind != kKindCaption)
            caption = caption->m_nextSibling;
        if (caption && caption != table->m_firstChild) {
            table->RemoveCurrentChildFromList(caption);
            table->AddToHead(caption);
        }
        return table;
    }
    case Stray::None: break;
    }
    return nullptr;
}

bool IsRemovedWhenEmpty(const CElement* e)
{
    return e->m_kind == kKindTable || e->m_kind == kKindTr || IsListKind(e->m_kind) || e->m_kind == kKindDl;
}

// Moving a line break out of the d inline elements around it copies each of
// them for the part before it and links each copy below its ancestors, which
// costs about d * d; a run of breaks deep in nested inline elements would
// multiply the tree. The cost for one block stays within this many per
// element read below its inline children, the breaks taken in order; a break
// that no longer fits stays where it is. Breaks that text separates are all
// moved out of up to 22 nested inline elements, and the copies made stay
// within 16 per element read at any depth (the sum of the depths of at most
// that many breaks whose squares sum to the budget).
constexpr long kBreakCostPerElement = 256;

// An element below the block and the inline elements around it there.
struct Nested
{
    CElement* e;
    int depth;
};

// The element after e in document order within the subtree of a walk, e's
// own children passed over; depth is e's level below the subtree's top and
// follows the step. Null once the walk is back at the top.
template <class Element>
Element* NextPassingOver(Element* e, int& depth)
{
    while (depth > 0 && !e->m_nextSibling) {
        e = e->m_parent;
        --depth;
    }
    return depth == 0 ? nullptr : e->m_nextSibling;
}

// The line breaks below c reachable through inline elements, in document
// order, each with the inline elements it stands in (c, an inline child of
// the block, is the first); answers how many elements the walk met. The
// walk follows the first-child and sibling links, which stand on the line
// of an element that the repair reads anyway, and allocates only for the
// breaks it finds.
long CollectBreaks(CElement* c, std::vector<Nested>& breaks)
{
    long met = 0;
    CElement* e = c;
    int depth = 0;
    for (;;) {
        ++met;
        if (e->m_kind == kKindBr) {
            breaks.push_back({e, depth});
        } else if (e->m_inline && e->m_firstChild) {
            e = e->m_firstChild;
            ++depth;
            continue;
        }
        e = NextPassingOver(e, depth);
        if (!e)
            return met;
    }
}

// The part of an inline element split off before a break may now end in
// blanks inside it; the reader puts such blanks after the element, so they
// are moved out, to stand between e (the part, a child of the block) and
// the break, where the writer puts the blanks it moves out with a break. A
// part nested deeper keeps none: elements left holding only a blank between
// two breaks would be merged by the writer, the breaks taken in with them.
void MoveTrailingBlankOut(CElement* e)
{
    CElement* inner = e;
    while (inner && inner->m_inline && inner->m_lastChild && !inner->m_lastChild->IsTextElement())
        inner = inner->m_lastChild;
    if (!inner || !inner->m_inline || !e->m_parent)
        return;
    CElement* text = inner->m_lastChild;
    if (!text || !text->IsTextElement() || text->m_text.IsEmpty()
        || text->m_text.GetAt(text->m_text.Length() - 1) != ' ')
        return;
    CElement* blank = CreateElement("", inner->m_rules, inner->m_root, inner->m_owner);
    if (!blank)
        return;
    // Every blank moves: in a pre each one is shown.
    int keep = text->m_text.Length();
    while (keep > 0 && text->m_text.GetAt(keep - 1) == ' ')
        --keep;
    blank->m_text = text->m_text.Mid(keep, text->m_text.Length() - keep);
    text->m_text.CutAt(keep);
    e->m_parent->InsertChild(blank, e->GetID(), true);
}

// Moves every line break out of the inline children of block, splitting
// the inline elements around it, as long as the cost fits the block's
// budget (kBreakCostPerElement). The block drives the moves: an inline
// element left holding only the break is dissolved, and no repair of that
// element is running then. Answers whether a break moved.
bool MoveBreaksOutOfInlines(CElement* block)
{
    bool moved = false;
    std::vector<Nested> breaks;
    long met = 0;
    for (CElement* c = block->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_inline)
            met += CollectBreaks(c, breaks);
    }
    long budget = kBreakCostPerElement * met;
    for (const Nested& item : breaks) {
        const long cost = static_cast<long>(item.depth) * item.depth;
        if (item.depth == 0 || cost > budget)
            continue;
        budget -= cost;
        CElement* br = item.e;
        CElement* top = br;
        while (top->m_parent && top->m_parent != block)
            top = top->m_parent;
        if (top != br && top->m_parent == block) {
            br->MoveOutUntil(top, true);
            MoveTrailingBlankOut(br->m_prevSibling);
            moved = true;
        }
    }
    return moved;
}

// A cell or caption whose content the repair has made a line break alone
// (the break moved out of the inline elements around it, or the paragraph
// around it dissolved) gets the no-break space before the break that the
// reader gives such a cell, in the empty run the reader put before the
// inline element or in a new one: written and read again, the cell is the
// same.
void SpaceBeforeLoneBreak(CElement* cell)
{
    CElement* br = nullptr;
    for (CElement* c = cell->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindComment || (c->IsTextElement() && c->m_text.IsEmpty()))
            continue;
        if (br || c->m_kind != kKindBr)
            return;
        br = c;
    }
    if (!br)
        return;
    CElement* run = br->m_prevSibling;
    if (!run || !run->IsTextElement()) {
        run = NewRun(cell);
        if (!run)
            return;
        cell->InsertChild(run, br->GetID(), false);
        if (!run->m_parent) {
            delete run; // not linked
            return;
        }
    }
    run->m_text = kNoBreakSpaceText;
}

bool IsBlankOrNoBreak(const CSafeBuf& text)
{
    return text.Length() == 1 && (text.GetAt(0) == ' ' || text.GetAt(0) == 0xA0);
}

// Empty, or blanks only.
bool IsBlanks(const CSafeBuf& text)
{
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        if (s[i] != ' ')
            return false;
    }
    return true;
}

// A child that stays outside paragraphs: a block, or one holding a block.
bool IsBlockLike(const CElement* c) { return c->m_block || IsThereBlockChild(c, true); }

bool HoldsInlineContent(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsTextElement() ? !c->m_text.IsEmpty() : !c->m_block)
            return true;
    }
    return false;
}

// A form's inline content and whatever stands beside it go into one
// wrapper: a div when the form holds a block too, else a p. The div's loose
// inline content goes into paragraphs as in any div read, so that the div
// written and read again is the same.
void RepairForm(CElement* form)
{
    if (!HoldsInlineContent(form))
        return;
    CElement* wrapper = CreateElement(
        IsThereBlockChild(form, false) ? "div" : "p", form->m_rules, form->m_root, form->m_owner);
    if (!wrapper)
        return;
    while (CElement* c = form->m_firstChild) {
        form->RemoveCurrentChildFromList(c);
        wrapper->AddToTail(c);
    }
    form->AppendChild(wrapper);
    if (wrapper->m_kind == kKindDiv)
        CheckAndAddP(wrapper, false);
    form->StyleChanged(1);
}

// Joins neighbouring text runs of e, a blank where two met being kept once.
void JoinTextRuns(CElement* e)
{
    for (CElement* c = e->m_firstChild; c && c->m_nextSibling;) {
        CElement* next = c->m_nextSibling;
        if (!c->IsTextElement() || !next->IsTextElement()) {
            c = next;
            continue;
        }
        CSafeBuf tail(next->m_text);
        if (!c->m_text.IsEmpty() && c->m_text.GetAt(c->m_text.Length() - 1) == ' ' && tail.GetAt(0) == ' ')
            tail.Delete(0);
        c->m_text += tail;
        e->RemoveChild(next->GetID(), true, false);
    }
}

// Puts the text of c's kept markup in a text run before c, which is to be
// dissolved: its elements are past the depth the parser reads.
void KeepMarkupText(CElement* e, CElement* c)
{
    CSafeBuf text = KeptMarkupText(c);
    if (text.IsEmpty())
        return;
    CElement* run = CreateElement("", e->m_rules, e->m_root, e->m_owner);
    if (!run)
        return;
    run->m_text = text;
    e->InsertChild(run, c->GetID(), false);
}

// Elements deeper than the parser reads back (the body's children at depth
// 1; the html and body elements around them take the parser's first two
// levels) are dissolved into the deepest allowed element, which keeps their
// text and comments. Content kept as markup loses the tags of its elements
// past that depth in the same way; an element dissolved leaves the text of
// the markup it kept.
void LimitDepth(CElement* body)
{
    const int deepest = static_cast<int>(xmlParserMaxDepth) - 1;
    struct Item
    {
        CElement* e;
        int depth;
    };
    std::vector<Item> stack{{body, 0}};
    while (!stack.empty()) {
        Item item = stack.back();
        stack.pop_back();
        CElement* e = item.e;
        if (item.depth + KeptMarkupHeight(e) > deepest)
            FlattenKeptMarkup(e->m_text, deepest - item.depth);
        if (item.depth < deepest) {
            for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
                stack.push_back({c, item.depth + 1});
            continue;
        }
        bool flattened = false;
        for (CElement* c = e->m_firstChild; c;) {
            if (c->IsTextElement() || c->m_kind == kKindComment) {
                c = c->m_nextSibling;
                continue;
            }
            KeepMarkupText(e, c);
            CElement* before = c->m_prevSibling;
            e->RemoveChildNodeOnly(c->GetID());
            flattened = true;
            c = before ? before->m_nextSibling : e->m_firstChild; // the moved children next
        }
        if (flattened)
            JoinTextRuns(e);
    }
}

} // namespace

namespace {

// What the repair learns of the tree as it goes: the level of the element
// it repairs and the deepest level it has met, counted from the element
// the repair started at.
struct RepairReach
{
    int depth = 0;
    int deepest = 0;
    // The elements repaired as the body was read, passed over: runs of ids
    // in increasing order (the elements of a child of the body read take
    // the ids made while it was read, and ids are never reused). The most
    // levels below one of the body's children that their repair met.
    const std::vector<std::pair<long, long>>* repaired = nullptr;
    int repairedHeight = 0;

    bool Repaired(const CElement* e) const
    {
        if (!repaired)
            return false;
        const long id = e->GetID();
        const auto after = std::upper_bound(repaired->begin(), repaired->end(), id,
            [](long value, const std::pair<long, long>& run) { return value < run.first; });
        return after != repaired->begin() && id <= std::prev(after)->second;
    }
};

// A paragraph holding a lone blank or no-break space is an empty one: the
// writer gives an empty paragraph a no-break space, which reads back as this.
void EmptyBlankParagraph(CElement* e)
{
    if (e->m_kind == kKindP && e->m_childCount == 1 && e->m_firstChild->IsTextElement()
        && IsBlankOrNoBreak(e->m_firstChild->m_text))
        e->m_firstChild->m_text.Empty();
}

// The levels below e (0 for a leaf), an element the repair does not look
// into (one it does not know), walked through the child and sibling links,
// with those of the markup its elements keep. The walk empties the blank
// paragraphs below e on its way, as the repair does anywhere else, so that
// an empty one, written with its no-break space, reads back empty there too.
int HeightBelowEmptyingParagraphs(CElement* e)
{
    int height = 0;
    int depth = 0;
    CElement* c = e;
    for (;;) {
        EmptyBlankParagraph(c);
        height = std::max(height, depth + KeptMarkupHeight(c));
        if (c->m_firstChild) {
            c = c->m_firstChild;
            height = ++depth > height ? depth : height;
            continue;
        }
        c = NextPassingOver(c, depth);
        if (!c)
            return height;
    }
}

int Repair(CElement* e, RepairReach& reach);

// Repairs c, a child of the element at reach's level. One repaired as the
// body was read reaches at most as deep below its level as the deepest of
// those did below theirs: the limit of depth may walk a tree that turns out
// to fit, which leaves it as it is.
void RepairChild(CElement* c, RepairReach& reach)
{
    ++reach.depth;
    if (reach.Repaired(c))
        reach.deepest = std::max(reach.deepest, reach.depth + reach.repairedHeight);
    else
        Repair(c, reach);
    --reach.depth;
}

// The repair of a body ends with the limit of depth, which needs a walk of
// the whole tree only when the tree reaches that deep: the repair has met
// every element below the body at its final level, except below elements it
// does not look into, whose levels are counted as it passes them.
void RepairBody(CElement* body, int below)
{
    if (below >= static_cast<int>(xmlParserMaxDepth) - 1)
        LimitDepth(body);
    for (CElement* c = body->m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (c->IsTextElement() && c->m_text.IsEmpty())
            body->RemoveChild(c->GetID(), true, false);
        c = next;
    }
    if (body->m_owner && body->m_owner->m_doc.m_caretElement
        && !body->m_owner->m_doc.IsElementExist(body->m_owner->m_doc.m_caretElement))
        body->m_owner->m_doc.m_caretElement = nullptr;
}

int Repair(CElement* e, RepairReach& reach)
{
    reach.deepest = std::max(reach.deepest, reach.depth + KeptMarkupHeight(e));
    if (!e->m_block) {
        // Inline elements pass the repair on to blocks inside them; their
        // line breaks are moved out by the nearest block around them.
        if (e->m_inline) {
            for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
                RepairChild(c, reach);
        } else if (e->m_firstChild) {
            reach.deepest = std::max(reach.deepest, reach.depth + HeightBelowEmptyingParagraphs(e));
        }
        return 0;
    }
    // A body inside the tree limits the depth below itself.
    const int outerDeepest = reach.deepest;
    if (e->m_kind == kKindBody)
        reach.deepest = reach.depth;
    EmptyBlankParagraph(e);
    bool reshaped = false;
    // A cell's lone paragraph is a wrapper of its text, unless it carries
    // attributes of its own (a class, a style), which would be lost with it.
    if (e->m_tableCell && e->m_childCount == 1 && e->m_firstChild->m_kind == kKindP
        && e->m_firstChild->GetAttrCount() == 0)
        reshaped = e->RemoveChildNodeOnly(e->m_firstChild->GetID());
    if (e->m_kind == kKindForm)
        RepairForm(e);

    reshaped = MoveBreaksOutOfInlines(e) || reshaped;
    if (reshaped && (e->m_tableCell || e->m_kind == kKindCaption))
        SpaceBeforeLoneBreak(e);
    // The wrappers take their style once, after the pass: a restyle after
    // each would restyle the whole subtree once per stray run.
    bool wrapped = false;
    for (CElement* c = e->m_firstChild; c;) {
        if (CElement* wrapper = WrapStray(e, c)) {
            wrapped = true;
            c = wrapper; // looked at again: a new row may need a table
            continue;
        }
        RepairChild(c, reach);
        CElement* next = c->m_nextSibling;
        if (IsRemovedWhenEmpty(c) && c->IsEmptyTag(false))
            e->RemoveChild(c->GetID(), true, false);
        c = next;
    }
    if (wrapped)
        e->StyleChanged(1);

    if (e->m_kind == kKindBody) {
        RepairBody(e, reach.deepest - reach.depth);
        reach.deepest = std::max(outerDeepest, reach.deepest);
    }
    return 1;
}

} // namespace

struct CRepairAsReadScope::State
{
    explicit State(CElement* b) : body(b) { }

    CElement* body;
    bool ended = false;
    // The ids of the elements repaired so far, in runs (RepairReach); a
    // child not repaired as read ends a run.
    std::vector<std::pair<long, long>> repaired;
    bool extends = false; // the next child repaired extends the last run
    int height = 0;
};

namespace {

bool g_repairAsRead = true;
CRepairAsReadScope::State* g_asRead = nullptr;

// Whether the repair of c's subtree makes no element (and restyles
// nothing), so that the ids of the elements read after it are those they
// take when the whole tree is repaired after the read: no form or body
// inside, no line break inside an inline element, no stray child. One the
// repair leaves as it is may be taken for one it changes. Widens [low,
// high] to the ids of the subtree's elements when it answers true.
bool RepairMakesNothing(const CElement* c, long& low, long& high)
{
    const CElement* e = c;
    int depth = 0;
    for (;;) {
        if (e->m_kind == kKindForm || e->m_kind == kKindBody)
            return false;
        if (depth > 0
            && ((e->m_kind == kKindBr && e->m_parent->m_inline) || StrayIn(e->m_parent, e) != Stray::None))
            return false;
        low = std::min(low, e->GetID());
        high = std::max(high, e->GetID());
        if (e->m_firstChild) {
            e = e->m_firstChild;
            ++depth;
            continue;
        }
        e = NextPassingOver(e, depth);
        if (!e)
            return true;
    }
}

} // namespace

CRepairAsReadScope::CRepairAsReadScope(CElement* body, bool on)
    : m_state(on && g_repairAsRead && body ? std::make_unique<State>(body) : nullptr), m_outer(g_asRead)
{
    g_asRead = m_state.get();
}

CRepairAsReadScope::~CRepairAsReadScope() { g_asRead = m_outer; }

void SetRepairAsRead(bool on) { g_repairAsRead = on; }

bool RepairsChildrenAsRead(const CElement* e) { return g_asRead && g_asRead->body == e && !g_asRead->ended; }

void RepairReadChildren(CElement* body, CElement* before)
{
    CElement* first = before ? before->m_nextSibling : body->m_firstChild;
    if (!first)
        return;
    // What one node read made, repaired together or left to CheckDocument.
    CRepairAsReadScope::State& state = *g_asRead;
    long low = first->GetID();
    long high = low;
    for (CElement* c = first; c; c = c->m_nextSibling) {
        if (!RepairMakesNothing(c, low, high)) {
            state.extends = false;
            return;
        }
    }
    for (CElement* c = first; c; c = c->m_nextSibling) {
        RepairReach reach;
        reach.depth = 1;
        Repair(c, reach);
        state.height = std::max(state.height, reach.deepest - reach.depth);
    }
    if (state.extends)
        state.repaired.back().second = high;
    else
        state.repaired.emplace_back(low, high);
    state.extends = true;
}

void EndRepairAsRead() { g_asRead->ended = true; }

int CElement::CheckDocument()
{
    RepairReach reach;
    if (g_asRead && g_asRead->body == this && g_asRead->ended) {
        reach.repaired = &g_asRead->repaired;
        reach.repairedHeight = g_asRead->height;
        g_asRead->body = nullptr; // once: the next repair walks the whole tree
    }
    return Repair(this, reach);
}

namespace {

// An inline (or custom) element that holds nothing but images floated right
// would give the caret no place on its line: an empty run goes before them.
bool CureImageHolder(CElement* e)
{
    if (!(e->m_inline || e->m_kind == kKindCustom) || !e->m_firstChild)
        return false;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        const bool floatedImage
            = c->m_kind == kKindImg && c->Style().floatSide.set && c->Style().floatSide.value == kFloatRight;
        if (!floatedImage)
            return false;
    }
    CElement* run = CreateElement("", e->m_rules, e->m_root, e->m_owner);
    if (!run)
        return false;
    e->InsertChild(run, 0, false);
    e->StyleChanged(0);
    return true;
}

} // namespace

bool CElement::CheckAndCure()
{
    bool changed = false;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        changed |= c->CheckAndCure();
    return CureImageHolder(this) || changed;
}

void CureImageHolders(CElement* root, const std::vector<long>& images)
{
    if (!root->m_owner) {
        root->CheckAndCure(); // no registry to find the images by
        return;
    }
    const CElementRegistry& registry = root->m_owner->m_doc.m_registry;
    for (long id : images) {
        CElement* image = registry.Find(id);
        CElement* holder = image ? image->m_parent : nullptr;
        // A holder is looked at once, for the image that opens it; one that
        // opens with anything else holds more than images.
        if (!holder || holder->m_firstChild != image)
            continue;
        const CElement* a = holder;
        while (a && a != root)
            a = a->m_parent;
        if (a)
            CureImageHolder(holder);
    }
}

bool FollowsBlank(const CElement* e)
{
    const CElement* last = e->m_lastChild;
    return last && last->IsTextElement() && !last->m_text.IsEmpty()
        && last->m_text.GetAt(last->m_text.Length() - 1) == ' ';
}

void TrimAtEnd(CElement* e)
{
    if (!e->m_block)
        return;
    for (CElement* c = e->m_lastChild; c; c = c->m_prevSibling) {
        if (c->m_kind == kKindComment)
            continue;
        if (!c->IsTextElement())
            return;
        c->m_text.TrimRight();
        if (!c->m_text.IsEmpty())
            return;
    }
}

// A comment, script or noscript: it shows no words and is no block, so it
// stands among the content around it.
bool IsFlowMarker(const CElement* c)
{
    return c->m_kind == kKindComment || c->m_kind == kKindScript || c->m_kind == kKindNoscript;
}

// Whether inline content follows the marker c before a block or the end,
// past other markers and blanks: that content joins the paragraph before c,
// so c goes in with it and stays between the same words.
bool InlineFollows(const CElement* c)
{
    c = c->m_nextSibling;
    while (c && (IsFlowMarker(c) || (c->IsTextElement() && IsBlanks(c->m_text))))
        c = c->m_nextSibling;
    return c && !IsBlockLike(c) && c->m_kind != kKindCol && c->m_kind != kKindColgroup;
}

void CheckAndAddP(CElement* e, bool restyle)
{
    if (!e)
        return;
    bool hasBlock = false;
    for (const CElement* c = e->m_firstChild; c && !hasBlock; c = c->m_nextSibling)
        hasBlock = IsBlockLike(c);
    if (!hasBlock && e->m_kind != kKindBody)
        return;
    CElement* paragraph = nullptr;
    CElement* lastBlock = nullptr;
    // A paragraph ends without a trailing blank, as the reader reads one.
    auto close = [&paragraph]() {
        if (paragraph)
            TrimAtEnd(paragraph);
        paragraph = nullptr;
    };
    for (CElement* c = e->m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        const long k = c->m_kind;
        if (IsBlockLike(c)) {
            lastBlock = c;
            close();
        } else if (IsFlowMarker(c) && paragraph && InlineFollows(c)) {
            // Between the words of one paragraph it goes in with them: the
            // words after it would otherwise move in front of it.
            e->RemoveCurrentChildFromList(c);
            paragraph->AddToTail(c);
        } else if (IsFlowMarker(c) || k == kKindCol || k == kKindColgroup) {
            // Stays where it is, between paragraphs. A column (or group) is
            // not moved into one: the writer drops it from a paragraph,
            // which would then end in the blank before it.
        } else if (paragraph) {
            e->RemoveCurrentChildFromList(c);
            // The blanks around what stays outside (a column, a comment)
            // meet in the paragraph: read again, they are one.
            if (c->IsTextElement() && FollowsBlank(paragraph))
                c->m_text.TrimLeft();
            paragraph->AddToTail(c);
        } else if (c->IsTextElement() && IsBlanks(c->m_text) && hasBlock) {
            // An empty run between blocks is no content: no empty paragraph
            // is made for it. Nor for a run of blanks, which would open the
            // paragraph with white space that reading it again drops; the
            // run is emptied. In a cell or dd it may stand in the last
            // paragraph, where the caret can reach it.
            c->m_text.Empty();
            if ((e->m_tableCell || e->m_kind == kKindDd) && lastBlock && lastBlock->m_kind == kKindP) {
                e->RemoveCurrentChildFromList(c);
                lastBlock->AddToTail(c);
            }
        } else {
            paragraph = CreateElement("p", e->m_rules, e->m_root, e->m_owner);
            if (paragraph) {
                e->InsertChild(paragraph, c->GetID(), false);
                paragraph->CopyFromParent(e, 1);
                e->RemoveCurrentChildFromList(c);
                paragraph->AddToTail(c);
            }
        }
        c = next;
    }
    close();
    if (restyle)
        e->StyleChanged(0);
}

void CheckParagraphForTable(CElement* e, CElement* container)
{
    if (container) {
        CheckAndAddP(container);
        return;
    }
    if (!e || !e->IsElementUnderTag(kKindTable))
        return;
    CElement* holder = e->IsElementUnderTag(kKindTd);
    if (!holder)
        holder = e->IsElementUnderTag(kKindTh);
    if (!holder)
        holder = e->IsElementUnderTag(kKindCaption);
    CheckAndAddP(holder);
}

void CheckParagraphForDLType(CElement* e, CElement* item)
{
    if (item) {
        CheckAndAddP(item);
        return;
    }
    for (CElement* a = e; a; a = a->m_parent) {
        if (IsDefinitionItem(a)) {
            CheckAndAddP(a);
            return;
        }
        if (a->m_block)
            return;
    }
}

void CheckTableForCaption(CElement* table)
{
    if (!table || table->m_kind != kKindTable)
        return;
    CElement* caption = nullptr;
    for (CElement* c = table->m_firstChild; c && !caption; c = c->m_nextSibling) {
        if (c->m_kind == kKindCaption)
            caption = c;
    }
    if (!caption)
        return;
    const bool bottom = caption->Style().captionSide.set && caption->Style().captionSide.value == 4;
    table->RemoveCurrentChildFromList(caption);
    if (bottom)
        table->AddToTail(caption);
    else
        table->AddToHead(caption);
}
