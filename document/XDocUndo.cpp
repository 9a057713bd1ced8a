// Undo and redo by whole-document snapshots.
//
// The document keeps a baseline: its mode-6 text as of the last load or
// snapshot, with the caret (relative to the view) and scroll position of
// that moment and the path id of the caret element then. A snapshot pushes
// the baseline onto the undo list and makes the present the baseline. Undo
// and redo move the present onto the other list and load the newest snapshot
// of their own; the load makes a new baseline.
//
// Every snapshot holds its caret relative to the view (x - scroll x, y -
// scroll y - 1, never below 0): the simulated click that puts the caret back
// takes a view point, and the scroll position is restored before it.
//
// It also holds the no-break space that an edit held beside the caret (the
// document's m_heldBlankBlock and m_heldBlankAt), by its block's place in
// the tree: the text read back does not tell it from one the author wrote,
// and a character typed beside it after undo or redo turns it back into a
// blank, as it would have before.

#include "document/UndoItem.h"
#include "document/XDoc.h"

#include "element/Element.h"

#include <memory>
#include <new>

namespace {

int NotNegative(int v) { return v < 0 ? 0 : v; }

// A snapshot of text with the given caret and scroll; null when memory runs
// out.
UNDO_ITEM* MakeSnapshot(const CSafeBuf& text, int caretX, int caretY, int scrollX, int scrollY)
{
    auto* item = new (std::nothrow) UNDO_ITEM;
    if (!item)
        return nullptr;
    item->textBytes = text.CreateUTF8Str(&item->text);
    if (!item->text) {
        delete item;
        return nullptr;
    }
    item->caretX = NotNegative(caretX);
    item->caretY = NotNegative(caretY);
    item->scrollX = NotNegative(scrollX);
    item->scrollY = NotNegative(scrollY);
    return item;
}

void DeleteSnapshot(UNDO_ITEM* item)
{
    if (item) {
        delete[] item->text;
        delete item;
    }
}

struct SnapshotDeleter
{
    void operator()(UNDO_ITEM* item) const { DeleteSnapshot(item); }
};
using SnapshotPtr = std::unique_ptr<UNDO_ITEM, SnapshotDeleter>;

// Counts the blocks below e in document order up to stop; true once stop
// is reached.
bool CountBlocksUntil(const CElement* e, const CElement* stop, int& count)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_block && (++count, c == stop))
            return true;
        if (CountBlocksUntil(c, stop, count))
            return true;
    }
    return false;
}

// The block at place (counted as CountBlocksUntil does) below e; null when
// there are fewer.
CElement* BlockAt(CElement* e, int& place)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_block && --place == 0)
            return c;
        if (CElement* found = BlockAt(c, place))
            return found;
    }
    return nullptr;
}

} // namespace

void CXDoc::HeldBlankPlace(int& block, long& at) const
{
    block = -1;
    at = -1;
    const CElement* held = m_heldBlankBlock ? FindElement(m_heldBlankBlock) : nullptr;
    if (!held || !m_root || m_heldBlankAt < 0)
        return;
    int count = 0;
    if (held != m_root && !CountBlocksUntil(m_root, held, count))
        return;
    block = count;
    at = m_heldBlankAt;
}

void CXDoc::HoldBlankAt(int block, long at)
{
    m_heldBlankBlock = 0;
    m_heldBlankAt = -1;
    if (block < 0 || at < 0 || !m_root)
        return;
    int place = block;
    const CElement* held = block == 0 ? m_root : BlockAt(m_root, place);
    if (!held)
        return;
    m_heldBlankBlock = held->GetID();
    m_heldBlankAt = at;
}

long CXDoc::CaretPathId() const
{
    // The caret element's own identifier, never reused, tells whether the
    // caret moved: the exclusive-or of the identifiers up its path does not
    // (a paragraph and its run made one after the other give the same value
    // as the next pair). A piece of a run wrapped across lines stands for
    // the run: its wrap-piece group, the first piece's identifier, since the
    // layout after each key makes the pieces after the first anew.
    if (!m_caretElement || !IsElementExist(m_caretElement))
        return 0;
    return m_caretElement->m_inlineGroup ? m_caretElement->m_inlineGroup : m_caretElement->GetID();
}

bool CXDoc::SaveUndo(bool force)
{
    try {
        // Forced or not, the new baseline keeps the caret's element: the
        // typing that follows there is one step with its first letter.
        const long pathId = CaretPathId();
        CSafeBuf text;
        bool written = false;
        if (!force) {
            if (pathId == m_baselinePathId)
                return false;
            GetSourceCode(text, 6, false);
            written = true;
            if (text == m_sourceBaseline) {
                // Nothing changed: the baseline follows the caret, so that
                // typing in this element next is one step.
                m_baselinePathId = pathId;
                return false;
            }
        }
        if (!written)
            GetSourceCode(text, 6, false);
        return PushBaseline(text, pathId);
    } catch (...) {
        WriteExcpInfo("SaveUndo");
        return false;
    }
}

bool CXDoc::PushBaseline(const CSafeBuf& present, long pathId)
{
    UNDO_ITEM* item = MakeSnapshot(
        m_sourceBaseline, m_baselineCaretX, m_baselineCaretY, m_baselineScrollX, m_baselineScrollY);
    if (!item)
        return false;
    item->heldBlankBlock = m_baselineHeldBlock;
    item->heldBlankAt = m_baselineHeldAt;
    m_undoList.AddTail(item);
    while (m_undoList.GetCount() > kUndoLimit) {
        DeleteSnapshot(static_cast<UNDO_ITEM*>(m_undoList.GetHead()));
        m_undoList.RemoveHead();
    }
    m_baselinePathId = pathId;
    m_baselineCaretX = m_caretPoint.x - m_scrollX;
    m_baselineCaretY = m_caretPoint.y - m_scrollY - 1;
    m_baselineScrollX = m_scrollX;
    m_baselineScrollY = m_scrollY;
    HeldBlankPlace(m_baselineHeldBlock, m_baselineHeldAt);
    m_sourceBaseline = present;
    SetClipButton(true, kClipUndo);
    SetClipButton(false, kClipRedo);
    CleanRedo();
    return true;
}

void CXDoc::TakePendingChange()
{
    // A change since the last snapshot that none was taken for (typing in
    // the element the caret stayed in, a command that reported its edit
    // without forcing one) exists only in the tree and the baseline is the
    // text before it. Undo would go back past it and redo would replace it,
    // and either way the baseline would be lost; a forced snapshot would
    // take it into the step of the edit that forced it. It becomes a
    // snapshot of its own first, as any edit does, which also empties the
    // redo list. The baseline keeps the caret's element: typing on there
    // goes on in one new step.
    try {
        CSafeBuf present;
        GetSourceCode(present, 6, false);
        if (present != m_sourceBaseline)
            PushBaseline(present, CaretPathId());
    } catch (...) {
        WriteExcpInfo("TakePendingChange");
    }
}

bool CXDoc::DoUndo()
{
    TakePendingChange();
    return Restore(m_undoList, m_redoList, kClipRedo);
}

bool CXDoc::DoRedo()
{
    TakePendingChange();
    return Restore(m_redoList, m_undoList, kClipUndo);
}

bool CXDoc::Restore(CPtrList& from, CPtrList& to, int toButton)
{
    if (from.GetCount() == 0)
        return false;
    try {
        CSafeBuf present;
        GetSourceCode(present, 6, false);
        SnapshotPtr saved(MakeSnapshot(
            present, m_caretPoint.x - m_scrollX, m_caretPoint.y - m_scrollY - 1, m_scrollX, m_scrollY));
        if (!saved)
            return true;
        HeldBlankPlace(saved->heldBlankBlock, saved->heldBlankAt);
        auto* item = static_cast<UNDO_ITEM*>(from.GetTail());
        CSafeBuf text;
        text.AssignUTF8(item->text);

        // What a failed load must leave as it was: the load resets the view
        // and caret state even when it keeps the tree.
        const CSafeBuf baseline(m_sourceBaseline);
        const int scrollX = m_scrollX;
        const int scrollY = m_scrollY;
        CElement* caret = m_caretElement;
        const CPoint caretPoint = m_caretPoint;
        const CPoint lastKeyPos = m_lastKeyPos;
        const unsigned char selectionPresent = m_selectionPresent;

        m_sourceBaseline.Empty();
        if (!LoadDocument(text)) {
            m_sourceBaseline = baseline;
            m_scrollX = scrollX;
            m_scrollY = scrollY;
            m_horizontalBar.SetValue(scrollX / 2);
            m_verticalBar.SetValue(scrollY / 2);
            m_caretElement = IsElementExist(caret) ? caret : nullptr;
            m_caretPoint = caretPoint;
            m_lastKeyPos = lastKeyPos;
            m_selectionPresent = selectionPresent;
            Redraw();
            return true;
        }
        to.AddTail(saved.release());
        SetClipButton(true, toButton);
        from.RemoveTail();
        SnapshotPtr used(item);
        m_scrollX = used->scrollX;
        m_scrollY = used->scrollY;
        m_horizontalBar.SetValue(used->scrollX / 2);
        m_verticalBar.SetValue(used->scrollY / 2);
        try {
            // The click only puts the caret back: the shape the pointer last
            // showed (a table edge's resize shape, say) is not where the click
            // lands, and must not start a resize there.
            const int shape = m_pointerShape;
            m_pointerShape = 0;
            LButtonDown(0, CPoint(used->caretX, used->caretY));
            m_pointerShape = shape;
            HoldBlankAt(used->heldBlankBlock, used->heldBlankAt);
            m_baselineHeldBlock = used->heldBlankBlock;
            m_baselineHeldAt = used->heldBlankAt;
            Redraw();
        } catch (...) {
            WriteExcpInfo("Restore");
        }
    } catch (...) {
        WriteExcpInfo("Restore");
    }
    if (from.GetCount() > 0)
        return true;
    if (&from == &m_undoList) {
        m_baselinePathId = 0;
        SaveUndo(false);
    }
    return false;
}
