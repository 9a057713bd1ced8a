// Deleting the selection so that typing can go on at once: the elements
// delete their selected content (CElement::DeleteSelection); the document
// decides beforehand where the caret will stand and afterwards puts it on a
// live element, creating a paragraph when nothing else is left, and takes
// the lone paragraph wrapper out of the table cells and definition entries
// that Backspace or Delete emptied. A cell or caption left with nothing
// holds the filler its markup reads with. Asked to, it joins what a
// selection from one block's text into another's leaves of the two
// (DeletionJoin.h), before the unwrapping, so that a cell's paragraphs
// joined into one lose the wrapper too. A moving drop deletes its
// selection the same way but for the caret, which stays at the drop point
// (DeleteMovedSelection).
//
// Elements the deletion may remove are held by identifier across it: the
// registry tells whether they still exist (a removed element may wait on
// the removed list), the tree whether they are still linked.

#include "document/XDoc.h"

#include "document/CaretStops.h"
#include "document/DeletionJoin.h"

#include "element/Element.h"

#include "element/EdgeBlanks.h"
#include "element/EmptyCell.h"
#include "element/Selection.h"
#include "element/TreeQueries.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

#include <vector>

namespace {

bool IsTableLike(const CElement* e)
{
    return e->m_kind == kKindTable || e->m_kind == kKindTr || IsRowGroupKind(e->m_kind)
        || IsCellKind(e->m_kind) || e->m_kind == kKindCaption;
}

bool IsEntryKind(long kind) { return kind == kKindDd || kind == kKindDt; }

// A caret stop the deletion removes whole: selected, and a text run over
// all of its characters.
bool IsWhollySelected(const CElement* e)
{
    if (!e->m_selected)
        return false;
    if (!e->IsTextElement())
        return true;
    const long length = e->m_text.Length();
    return e->m_selStart <= 0 && e->m_selEnd >= length - 1;
}

// The first caret stop from e on (e itself included) that the deletion
// leaves; null when there is none.
CElement* FirstKeptStop(CElement* e, bool forward)
{
    CStopVisits seen;
    while (e && IsWhollySelected(e)) {
        if (seen.Again(e))
            return nullptr;
        e = NextStop(e, forward);
    }
    return e;
}

// The nearest table cell or caption holding e; null when there is none.
CElement* HoldingCellOrCaption(const CElement* e)
{
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        if (IsCellKind(a->m_kind) || a->m_kind == kKindCaption)
            return a;
    }
    return nullptr;
}

// The nearest table cell (or, with entries, dd or dt) holding e.
CElement* HoldingCell(const CElement* e, bool entries)
{
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        if (IsCellKind(a->m_kind) || (entries && IsEntryKind(a->m_kind)))
            return a;
    }
    return nullptr;
}

// An inline element with nowhere for the caret in it: no text run and no
// element the caret stands beside (an empty named anchor before a
// heading's text).
bool HoldsNoStop(CElement* e)
{
    if (e->m_block || e->m_kind == kKindBr)
        return false;
    for (CElement* c = e; c; c = NextInSubtree(c, e)) {
        if (c->IsTextElement() || c->m_edgeCaret)
            return false;
    }
    return true;
}

// The sibling before e, empty text runs passed over; null when there is
// none.
CElement* PrevNonEmpty(const CElement* e)
{
    CElement* s = e->m_prevSibling;
    while (s && IsEmptyRun(s))
        s = s->m_prevSibling;
    return s;
}

// Where the hole left by the first selected element is. The walk climbs
// from the first selected element while it is its parent's first child
// (empty text runs before it not counted: reading puts one before an
// inline element that starts a block's text; chain: the elements climbed
// through, lowest first). At the top of the climb, the block or line break
// right before it (empty text runs passed over) is the anchor the hole
// follows, and so is inline content before a block (a nested list after
// its item's text); a climb that reaches the root puts the hole at the
// start of the document. An inline element whose sibling before it is
// neither a block nor a break has no hole: it is at the end of that
// content, where the caret after the deletion already is, and not after
// the block or break further back. Content that holds no caret stop is no
// place for the caret, though: when only such elements stand between the
// inline element and a block, a break or the start of its block, the hole
// follows the nearest of them, where the selection started.
struct Hole
{
    std::vector<long> chain;
    std::vector<bool> blocks;      // each chain element was a block
    std::vector<CElement*> copies; // a copy of each chain p, li, dd or dt
    long anchorId = 0;
    bool atStart = false;

    ~Hole()
    {
        for (CElement* c : copies)
            delete c;
    }
    bool Found() const { return anchorId != 0 || atStart; }
};

void FindHole(CElement* first, CElement* root, Hole& hole)
{
    if (!first || first->m_block)
        return;
    CElement* e = first;
    for (;;) {
        hole.chain.push_back(e->GetID());
        hole.blocks.push_back(e->m_block != 0);
        const long kind = e->m_kind;
        const bool copied = kind == kKindP || kind == kKindLi || IsEntryKind(kind);
        hole.copies.push_back(copied ? e->Duplicate() : nullptr);
        if (!e->m_parent || PrevNonEmpty(e) || e->m_parent == root)
            break;
        e = e->m_parent;
    }
    if (!e->m_parent)
        return;
    if (!e->m_block) {
        CElement* nearest = nullptr;
        CElement* t = e->m_prevSibling;
        for (; t && (IsEmptyRun(t) || HoldsNoStop(t)); t = t->m_prevSibling) {
            if (!nearest && !IsEmptyRun(t))
                nearest = t;
        }
        const bool lineStart = t ? t->m_block || t->m_kind == kKindBr : e->m_parent->m_block != 0;
        if (nearest && lineStart) {
            hole.anchorId = nearest->GetID();
            return;
        }
    }
    CElement* s = PrevNonEmpty(e);
    if (s && (s->m_block || s->m_kind == kKindBr || e->m_block))
        hole.anchorId = s->GetID();
    else if (!s && e->m_parent == root)
        hole.atStart = true;
}

// The element that takes the place of a unit removed whole from holder:
// holder itself for inline content (the caret's run goes straight in),
// nothing in a table's structure; for a block a copy of the removed
// paragraph, item or entry (copy, when made and fitting the holder), else
// an item in a list, an entry in a definition list and a paragraph
// elsewhere.
CElement* PlaceFor(CElement* holder, bool block, CElement* copy)
{
    if (!block)
        return holder;
    const long kind = holder->m_kind;
    if (IsTableLike(holder) && !IsCellKind(kind))
        return nullptr;
    if (copy && (IsListKind(kind) == (copy->m_kind == kKindLi))
        && ((kind == kKindDl) == IsEntryKind(copy->m_kind)))
        return copy;
    if (IsListKind(kind))
        return NewElement("li", holder);
    if (kind == kKindDl)
        return NewElement("dd", holder);
    return NewElement("p", holder);
}

// The paragraph or heading holding the selection's last element when that
// is a text run (its 0 when there is none): the block the selection ends in.
long TailBlockOf(CElement* root)
{
    CPtrList selected;
    root->GetAllChildren(&selected, 0, true, 0, 0);
    if (selected.GetCount() == 0)
        return 0;
    const auto* tail = static_cast<const CElement*>(selected.GetTail());
    const CElement* block = tail->IsTextElement() ? tail->GetFirstBlockParent() : nullptr;
    return block && (block->m_kind == kKindP || IsHeadingKind(block->m_kind)) && !block->m_selected
        ? block->GetID()
        : 0;
}

// Whether some selected element lies outside e.
bool SelectedOutside(const CPtrList& selected, const CElement* e)
{
    for (void* pos = selected.GetHeadPosition(); pos;) {
        const auto* s = static_cast<const CElement*>(selected.GetNext(pos));
        if (s != e && !s->IsOneOfParent(e))
            return true;
    }
    return false;
}

// Everything e holds to show is selected: each text run with text over
// all its characters, each picture, rule or other leaf that can be. Line
// breaks and empty runs do not count; whether they are marked depends on
// how the selection was made.
bool ContentWhollySelected(CElement* e)
{
    for (CElement* c = e->m_firstChild; c; c = NextInSubtree(c, e)) {
        const bool shown = c->IsTextElement() ? !c->m_text.IsEmpty()
                                              : !c->m_firstChild && c->m_kind != kKindBr && c->m_selectable;
        if (shown && !IsWhollySelected(c))
            return false;
    }
    return true;
}

// The cells, captions and entries a deletion takes content out of, noted
// by identifier before it, and afterwards put as the markup written then
// reads back.
struct TouchedHolders
{
    std::vector<long> entries; // cells, dd and dt to unwrap afterwards
    std::vector<long> cells;   // cells and captions the deletion may empty

    // The holders of a selected element; with entries, also the cell, dd or
    // dt whose lone paragraph is to lose its wrapper.
    void Note(const CElement* e, bool withEntries)
    {
        if (IsTableLike(e))
            return;
        if (CElement* holder = HoldingCellOrCaption(e)) {
            if (cells.empty() || cells.back() != holder->GetID())
                cells.push_back(holder->GetID());
        }
        if (!withEntries)
            return;
        if (CElement* holder = HoldingCell(e, true)) {
            if (entries.empty() || entries.back() != holder->GetID())
                entries.push_back(holder->GetID());
        }
    }

    // A cell, dd or dt left holding only a bare paragraph loses that
    // wrapper.
    void UnwrapLoneParagraphs(CXDoc& doc) const
    {
        for (long id : entries) {
            CElement* holder = doc.FindElement(id);
            CElement* paragraph = doc.IsElementInTree(holder) ? LoneBareParagraph(holder) : nullptr;
            if (paragraph)
                holder->RemoveChildNodeOnly(paragraph->GetID());
        }
    }

    // A cell left with nothing to show holds the filler it reads with, so
    // that the value written comes back the same. A paragraph emptied so
    // that is all the cell holds is not read back from the markup either:
    // it goes, unless it holds keep (the caret, where content is about to
    // go in).
    void FillEmptied(CXDoc& doc, const CElement* keep) const
    {
        for (long id : cells) {
            CElement* holder = doc.FindElement(id);
            if (!doc.IsElementInTree(holder))
                continue;
            CElement* paragraph = LoneBareParagraph(holder);
            if (paragraph && OnlyEmptyRuns(paragraph)
                && !(keep && (keep == paragraph || keep->IsOneOfParent(paragraph))))
                holder->RemoveChildNodeOnly(paragraph->GetID());
            FillEmptiedCell(holder);
        }
    }
};

} // namespace

// A table, definition list or pre whose content is all selected, the
// selection going on outside it (from the text before it into the text
// after it), is selected whole itself, so that it goes with the rest
// rather than staying behind emptied: a table's cells, a list's terms and a
// pre would be kept with nothing in them. A selection that lies all inside
// one keeps it.
void CXDoc::SelectWholeStructures()
{
    CElement* root = m_root;
    if (!root)
        return;
    CPtrList selected;
    root->GetAllChildren(&selected, 0, true, 0, 0);
    // One taken whole is selected all through: those inside it are passed
    // over.
    for (CElement* e = root->m_firstChild; e; e = NextInSubtree(e, root)) {
        const long kind = e->m_kind;
        if ((kind != kKindTable && kind != kKindDl && kind != kKindPre) || e->m_selected)
            continue;
        bool holdsSelected = false;
        for (void* pos = selected.GetHeadPosition(); pos && !holdsSelected;)
            holdsSelected = static_cast<CElement*>(selected.GetNext(pos))->IsOneOfParent(e);
        if (holdsSelected && ContentWhollySelected(e) && SelectedOutside(selected, e)) {
            e->m_selected = 1;
            e->SelectAllChildren(true);
        }
    }
}

CElement* CXDoc::DeletionFallback()
{
    CElement* caret = m_caretElement;
    if (!IsInTree(caret))
        return nullptr;
    const long savedOffset = caret->m_caretOffset;
    CElement* forward = FirstKeptStop(caret, true);
    CElement* fallback = forward;
    caret->m_caretOffset = savedOffset;
    if (!forward || forward->GetFirstBlockParent() != caret->GetFirstBlockParent()) {
        CElement* backward = FirstKeptStop(caret, false);
        caret->m_caretOffset = savedOffset;
        if (backward && backward != caret
            && (!forward || backward->GetFirstBlockParent() == forward->GetFirstBlockParent()))
            fallback = backward;
    }
    return fallback;
}

CElement* CXDoc::DeletionTarget(CElement* first, long& cellId)
{
    cellId = 0;
    if (CElement* cell = HoldingCell(first, false)) {
        // Remembered only when the whole selection lies in it.
        CPtrList selected;
        m_root->GetAllChildren(&selected, 0, true, 0, 0);
        bool inside = true;
        for (void* pos = selected.GetHeadPosition(); pos && inside;) {
            const auto* e = static_cast<const CElement*>(selected.GetNext(pos));
            inside = e == cell || e->IsOneOfParent(cell);
        }
        if (inside)
            cellId = cell->GetID();
    }
    if ((first->m_kind == kKindImg || first->m_kind == kKindHr) && HoldingCell(first, true)) {
        const CElement* holder = HoldingCell(first, true);
        return SetPositionToFirstSel(holder->m_childCount == 1);
    }
    CElement* target = GetPositionAfterSelection(IsInTree(m_caretElement) ? m_caretElement : m_root, 2);
    if (target) {
        m_caretElement = target;
        return target;
    }
    return SetPositionToFirstSel(true);
}

CElement* CXDoc::AppendEmptyParagraph()
{
    CElement* p = NewElement("p", m_root);
    CElement* run = p ? NewRun(p) : nullptr;
    if (!run) {
        delete p;
        return nullptr;
    }
    m_root->AppendChild(p);
    p->AppendChild(run);
    p->StyleChanged(1);
    run->m_caretOffset = 0;
    m_caretElement = run;
    return run;
}

bool CXDoc::DeleteSelection(bool byKey, bool typing, bool join)
{
    m_deletionPlace = 0;
    if (!m_root)
        return true;
    try {
        CElement* first = m_root->GetFirstSelection(0);
        if (!first) {
            m_selectionPresent = 0;
            return true;
        }
        SelectWholeStructures();
        CElement* fallback = DeletionFallback();
        const long fallbackId = fallback ? fallback->GetID() : 0;
        const long fallbackOffset = fallback ? fallback->m_caretOffset : 0;
        long cellId = 0;
        CElement* target = DeletionTarget(first, cellId);
        const long targetId = target ? target->GetID() : 0;

        TouchedHolders holders;
        std::vector<long> blocks; // the blocks whose text the deletion cuts
        {
            CPtrList selected;
            m_root->GetAllChildren(&selected, 0, true, 0, 0);
            for (void* pos = selected.GetHeadPosition(); pos;) {
                const auto* e = static_cast<const CElement*>(selected.GetNext(pos));
                // A block removed whole brings no text to an edge.
                CElement* block = e->m_block ? nullptr : e->GetFirstBlockParent();
                if (block && (blocks.empty() || blocks.back() != block->GetID()))
                    blocks.push_back(block->GetID());
                holders.Note(e, byKey);
            }
        }
        Hole hole;
        FindHole(first, m_root, hole);
        const long firstId = first->GetID();
        DeletionEdges edges = join ? EdgesOfSelection(m_root) : DeletionEdges();
        const long tailId = join && !edges.first ? TailBlockOf(m_root) : 0;
        long placeFor = 0; // the block the place made for typing stands for

        m_root->DeleteSelection();

        // A selection that starts with a whole dd or dt empties it and
        // keeps it with an empty text: the caret stays there, where the
        // selection began.
        CElement* kept = FindElement(firstId);
        if (IsInTree(kept) && IsEntryKind(kept->m_kind) && kept->m_firstChild && OnlyEmptyRuns(kept)) {
            kept = kept->m_firstChild;
            kept->m_caretOffset = 0;
            m_caretElement = kept;
        } else if (!IsInTree(FindElement(targetId))) {
            m_caretElement = FindElement(fallbackId);
            if (m_caretElement)
                m_caretElement->m_caretOffset = fallbackOffset;
        } else if (m_root->m_firstChild && hole.Found()) {
            // A unit removed whole leaves a place to type in where it stood:
            // in the lowest element of the climb that is left, at its start,
            // else after the anchor (or at the start of the document).
            size_t gone = 0;
            while (gone < hole.chain.size() && !IsInTree(FindElement(hole.chain[gone])))
                ++gone;
            CElement* holder = nullptr;
            long afterId = 0;
            if (gone == hole.chain.size()) {
                CElement* anchor = FindElement(hole.anchorId);
                if (IsInTree(anchor)) {
                    holder = anchor->m_parent;
                    afterId = hole.anchorId;
                } else if (hole.atStart) {
                    holder = m_root;
                }
            } else if (gone > 0) {
                holder = FindElement(hole.chain[gone]);
            }
            if (gone > 0 && holder) {
                CElement*& copy = hole.copies[gone - 1];
                CElement* place = PlaceFor(holder, hole.blocks[gone - 1], copy);
                CElement* run = place ? NewRun(place) : nullptr;
                if (place && !run && place != holder && place != copy)
                    delete place;
                if (run) {
                    if (place == holder) {
                        holder->InsertChild(run, afterId, afterId != 0);
                        holder->StyleChanged(0);
                    } else {
                        if (place == copy)
                            copy = nullptr;
                        holder->InsertChild(place, afterId, afterId != 0);
                        place->AppendChild(run);
                        place->StyleChanged(1);
                        m_deletionPlace = place->GetID();
                        placeFor = hole.chain[gone - 1];
                    }
                    run->m_caretOffset = 0;
                    m_caretElement = run;
                }
            }
        }
        if (!m_root->m_firstChild) {
            if (CElement* run = NewRun(m_root)) {
                m_root->AppendChild(run);
                run->StyleChanged(2);
                run->m_caretOffset = 0;
                m_caretElement = run;
            }
        }
        if (!IsInTree(m_caretElement))
            ValidateKeyCursor();
        if (!IsInTree(m_caretElement)) {
            m_caretElement = m_root->GetFirstValidSubElement(0, false);
            if (m_caretElement)
                m_caretElement->m_caretOffset = 0;
        }
        if (!IsInTree(m_caretElement))
            AppendEmptyParagraph();
        m_selectionPresent = 0;
        // "Hello wor" and "in here" left by deleting "ld" to "aga" of
        // "Hello world" and "again here" become "Hello worin here". A first
        // block that lost all its text gave way to the place made for
        // typing, which takes what is left of the second.
        CElement* place = FindElement(m_deletionPlace);
        if (edges.first && edges.first == placeFor && !IsInTree(FindElement(edges.first)) && IsInTree(place)
            && place->m_firstChild) {
            edges.first = m_deletionPlace;
            edges.before.assign(1, place->m_firstChild->GetID());
            blocks.push_back(m_deletionPlace);
        }
        if (JoinDeletionEdges(*this, edges) && !IsInTree(m_caretElement))
            ValidateKeyCursor();
        // A unit removed whole (a table) right before what is left of the
        // paragraph the selection ended in: that paragraph is the place to
        // type, at its start; an empty one made in the unit's place would
        // stand between.
        CElement* tail = FindElement(tailId);
        CElement* after = IsInTree(place) ? place->m_nextSibling : nullptr;
        while (after && IsEmptyRun(after))
            after = after->m_nextSibling;
        if (after && after == tail && IsInTree(tail) && OnlyEmptyRuns(place) && m_caretElement
            && m_caretElement->m_parent == place) {
            if (CTextElement* run = NextRun(place, tail, false)) {
                run->m_caretOffset = 0;
                m_caretElement = run;
                place->m_parent->RemoveChild(place->GetID(), true, true);
                m_deletionPlace = 0;
            }
        }

        holders.UnwrapLoneParagraphs(*this);
        CElement* cell = FindElement(cellId);
        if (IsInTree(cell) && m_caretElement != cell && !m_caretElement->IsOneOfParent(cell)) {
            if (CElement* run = cell->GetFirstValidSubElement(0, false)) {
                run->m_caretOffset = run->m_text.Length() > 0 && run->m_text.GetAt(0) == 160 ? 1 : 0;
                m_caretElement = run;
            }
            DrawDoc(0);
        }
        // A letter about to be typed keeps the emptied paragraph it goes
        // into.
        holders.FillEmptied(*this, typing ? m_caretElement : nullptr);
        // A blank the deletion brought to the edge of a block's text would
        // not come back from the markup written now.
        const CElement* typingAt = typing ? m_caretElement : nullptr;
        for (long id : blocks) {
            CElement* block = FindElement(id);
            if (IsInTree(block))
                HoldEdgeBlanks(block, typingAt);
        }
        if (!IsInTree(m_caretElement))
            ValidateKeyCursor();
        m_caretEnabled = 1;
        UpdateKeyCursor();
    } catch (...) {
        WriteExcpInfo("DeleteSelection");
    }
    return true;
}

void CXDoc::DeleteMovedSelection()
{
    if (!m_root)
        return;
    try {
        SelectWholeStructures();
        TouchedHolders holders;
        {
            CPtrList selected;
            m_root->GetAllChildren(&selected, 0, true, 0, 0);
            for (void* pos = selected.GetHeadPosition(); pos;)
                holders.Note(static_cast<const CElement*>(selected.GetNext(pos)), true);
        }
        const DeletionEdges edges = EdgesOfSelection(m_root);
        m_root->DeleteSelection();
        m_selectionPresent = 0;
        // "Hello wor" and "ld again" left by taking "ld" to "Wor" out of
        // "Hello world" and "World again" become "Hello world again".
        JoinDeletionEdges(*this, edges);
        // The cells it took content out of as a cut leaves them; the caret
        // (the drop point) keeps its paragraph.
        holders.UnwrapLoneParagraphs(*this);
        holders.FillEmptied(*this, m_caretElement);
        if (!IsInTree(m_caretElement))
            ValidateKeyCursor();
    } catch (...) {
        WriteExcpInfo("DeleteMovedSelection");
    }
}
