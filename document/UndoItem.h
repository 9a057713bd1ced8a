#pragma once
// UNDO_ITEM: one whole-document undo or redo snapshot. The document keeps
// two lists of them, oldest first; a snapshot is made with new, its text
// with new[], and both are freed by the document (CXDoc::CleanRedo,
// CXDoc::CleanUnRedo, and undo and redo when they use one up).
//
// The text is held as UTF-8, so that a snapshot of markup that is mostly
// ASCII costs about its byte size and not the two bytes a character of the
// document's own UTF-16 text; the document reads it back into UTF-16 when it
// reloads it.

struct UNDO_ITEM
{
    char* text = nullptr; // the document's text, zero-terminated UTF-8; owned
    int textBytes = 0;    // its length in bytes, the terminator not counted
    // Where a click puts the caret back, relative to the view (the view's
    // top-left corner is 0, 0); never negative.
    int caretX = 0;
    int caretY = 0;
    int scrollX = 0; // the scroll position to restore; never negative
    int scrollY = 0;
    // The no-break space an edit held beside the caret then
    // (CXDocServices::m_heldBlankBlock): its block's place among the blocks
    // of the tree in document order (the body 0) and its offset in the
    // block's text, which loading the text again gives back; -1 when none.
    int heldBlankBlock = -1;
    long heldBlankAt = -1;
};
