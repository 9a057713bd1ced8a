#pragma once
// UNDO_ITEM: one whole-document undo or redo snapshot. The document keeps
// two lists of them, oldest first; a snapshot is made with new, its text
// with new[] (the text's length plus 2 units), and both are freed by the
// document (CXDoc::CleanRedo, CXDoc::CleanUnRedo).

struct UNDO_ITEM
{
    unsigned short* text = nullptr; // the document's text, zero-terminated UTF-16; owned
    int caretX = 0;                 // where a click puts the caret back; never negative
    int caretY = 0;
    int scrollX = 0; // the scroll position to restore; never negative
    int scrollY = 0;
};
