// Emptying the document's undo and redo lists, and what they hold.

#include "document/UndoItem.h"
#include "document/XDoc.h"

namespace {

void DeleteSnapshots(CPtrList& list)
{
    while (list.GetCount() > 0) {
        UNDO_ITEM* item = static_cast<UNDO_ITEM*>(list.GetHead());
        list.RemoveHead();
        if (item) {
            delete[] item->text;
            delete item;
        }
    }
}

size_t ListBytes(const CPtrList& list)
{
    size_t bytes = 0;
    for (void* pos = list.GetHeadPosition(); pos;) {
        if (const auto* item = static_cast<const UNDO_ITEM*>(list.GetNext(pos)))
            bytes += sizeof(UNDO_ITEM) + static_cast<size_t>(item->textBytes) + 1;
    }
    return bytes;
}

} // namespace

void CXDoc::CleanRedo() { DeleteSnapshots(m_redoList); }

void CXDoc::CleanUnRedo()
{
    DeleteSnapshots(m_undoList);
    CleanRedo();
}

size_t CXDoc::UndoBytes() const
{
    return ListBytes(m_undoList) + ListBytes(m_redoList)
        + static_cast<size_t>(m_sourceBaseline.GetCapacity() + 1) * sizeof(unsigned short);
}
