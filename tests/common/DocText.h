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

// One character of a run as shown: a no-break space, tab or line end is a
// blank.
inline void AppendUtf8(std::string& out, unsigned short unit)
{
    if (unit == 0xA0 || unit == '\t' || unit == '\r' || unit == '\n')
        unit = ' ';
    out += Utf8(CSafeBuf(unit, 1));
}

// The characters from..to (exclusive) of a run's text as shown.
inline std::string ShownChars(const CElement* run, int from, int to)
{
    std::string out;
    for (int c = from; c < to && c < run->m_text.Length(); ++c)
        AppendUtf8(out, run->m_text.GetAt(c));
    return out;
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
        shown.text += ShownChars(piece.run, 0, piece.run->m_text.Length());
        shown.ends.push_back(shown.text.size());
        lastBlock = block;
        lastEnd = piece.at + piece.run->m_text.Length();
    }
    return shown;
}

// Where character offset of piece i stands in the shown text.
inline std::size_t ShownAt(const Shown& shown, std::size_t i, int offset)
{
    return shown.starts[i] + ShownChars(shown.pieces[i].run, 0, offset).size();
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
