#pragma once
// The pointer shapes the document view shows: the platform's arrow and the
// editor's own shapes for resizing (two diagonal, a horizontal and a
// vertical double arrow), for links (a pointing hand) and over text (an
// I-beam). The editor's
// shapes are 16 x 16 one-bit pictures with a mask, drawn below in
// DocCursors.cpp; they live for the whole process and are never freed.

#include "platform/qd/Cursor.h"

enum class EditorCursor
{
    DiagonalDown, // top-left to bottom-right
    DiagonalUp,   // bottom-left to top-right
    Horizontal,
    Vertical,
    Hand,
    Text // an I-beam, over text
};

// The shape, made on first use.
const qm::qd::Cursor& GetEditorCursor(EditorCursor shape);

// The document's pointer shapes, in the order the view code indexes them:
// the arrow, the four resize arrows, the hand twice (the shape for a link
// and the one while a link is pressed are the same), two unused slots.
struct DOC_CURSORS
{
    const qm::qd::Cursor* arrow = nullptr;
    const qm::qd::Cursor* diagonalDown = nullptr;
    const qm::qd::Cursor* diagonalUp = nullptr;
    const qm::qd::Cursor* horizontal = nullptr;
    const qm::qd::Cursor* vertical = nullptr;
    const qm::qd::Cursor* hand = nullptr;
    const qm::qd::Cursor* handPressed = nullptr;
    const qm::qd::Cursor* unused[2] = {nullptr, nullptr};
};

// Fills every shape slot as above.
void LoadDocCursors(DOC_CURSORS& cursors);
