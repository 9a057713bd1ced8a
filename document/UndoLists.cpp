// Emptying the document's undo and redo lists.

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

} // namespace

void CXDoc::CleanRedo() { DeleteSnapshots(m_redoList); }

void CXDoc::CleanUnRedo()
{
    DeleteSnapshots(m_undoList);
    CleanRedo();
}
