#pragma once
// A document's text as tests read it from the element tree: the characters
// of its runs with the line ends a reader sees between blocks, the words of
// such a text, and a range of the document's plain text selected as a drag
// over it selects it.

#include "tests/common/TextHelpers.h"

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/Selection.h"

#include <sstream>
#include <string>
#include <vector>

namespace qmtest {

// The document's text as a reader sees it: the characters of each run,
// a line end between runs of two blocks and wherever something that is no
// run (a break, an image) stands between two runs. Pieces: where each
// run's characters start in it.
struct Shown
{
    std::string text;
    std::vector<DocTextPiece> pieces;
    std::vector<std::size_t> starts; // of each piece in text
    std::vector<std::size_t> ends;
};

inline void AppendUtf8(std::string& out, unsigned short unit)
{
    if (unit == 0xA0 || unit == '\t' || unit == '\r' || unit == '\n')
        unit = ' ';
    out += Utf8(CSafeBuf(unit, 1));
}

inline Shown ShownText(CElement* root)
{
    Shown shown;
    CSafeBuf plain;
    GetDocTextPieces(root, plain, shown.pieces);
    const CElement* lastBlock = nullptr;
    int lastEnd = -1;
    for (const DocTextPiece& piece : shown.pieces) {
        const CElement* block = piece.run->GetFirstBlockParent();
        if (lastEnd >= 0 && (block != lastBlock || piece.at != lastEnd))
            shown.text += '\n';
        shown.starts.push_back(shown.text.size());
        const CSafeBuf& text = piece.run->m_text;
        for (int i = 0; i < text.Length(); ++i)
            AppendUtf8(shown.text, text.GetAt(i));
        shown.ends.push_back(shown.text.size());
        lastBlock = block;
        lastEnd = piece.at + text.Length();
    }
    return shown;
}

inline std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// Selects length characters of the document's plain text from start (the
// offsets of GetDocText), the selection alone; the caret goes to its start
// (caretAtStart) or end.
inline void SelectDocText(CXDoc& doc, int start, int length, bool caretAtStart)
{
    doc.m_root->CleanSelection(true);
    int state = 0;
    CSafeBuf unused;
    GetDocText(doc.m_root, unused, state, 1, start, length, nullptr);
    doc.m_selectionPresent = 1;
    doc.SetPositionToFirstSel(caretAtStart);
}

} // namespace qmtest
