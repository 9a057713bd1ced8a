#pragma once
// Caret places on a loaded page for the corpus paste tests: a piece of the
// document's text (GetDocTextPieces) and an offset in its run, found at the
// start of a word, and put as the document's caret with nothing selected.

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/Selection.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace qmtest {

inline bool IsBlankUnit(unsigned short c) { return c <= ' ' || c == 0xA0; }

// A caret place: a piece of the document's text and an offset in its run.
struct Point
{
    std::size_t piece = 0;
    int offset = -1;
};

// The start of a word near the middle of the first run of two characters
// or more that passes the test, else the run's start; offset -1 when none.
inline Point WordStartIn(
    const std::vector<DocTextPiece>& pieces, const std::function<bool(const CElement*)>& is)
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const CSafeBuf& text = pieces[i].run->m_text;
        if (text.Length() < 2 || !is(pieces[i].run))
            continue;
        for (int at = text.Length() / 2; at > 0; --at) {
            if (IsBlankUnit(text.GetAt(at - 1)) && !IsBlankUnit(text.GetAt(at)))
                return {i, at};
        }
        return {i, 0};
    }
    return {};
}

// The caret at point of pieces, the selection cleared.
inline void PutCaret(CXDoc& doc, const std::vector<DocTextPiece>& pieces, const Point& point)
{
    doc.m_root->CleanSelection(true);
    doc.m_selectionPresent = 0;
    CElement* run = pieces[point.piece].run;
    run->m_caretOffset = point.offset;
    doc.m_caretElement = run;
    doc.UpdateKeyCursor();
}

} // namespace qmtest
