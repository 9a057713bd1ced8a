#pragma once
// Places to select on a loaded page, found in the text pieces of its
// document (GetDocTextPieces): from inside one run into a later one that
// stands in a given relation to it (across paragraphs, items, cells, into
// a link), or inside one run of a given kind of place (a cell, a pre).

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/Selection.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace qmtest {

// The nearest ancestor of e whose kind passes is; null when none.
inline const CElement* Above(const CElement* e, bool (*is)(long kind))
{
    for (e = e ? e->m_parent : nullptr; e; e = e->m_parent) {
        if (is(e->m_kind))
            return e;
    }
    return nullptr;
}

inline bool IsItem(long kind) { return kind == kKindLi; }
inline bool IsCell(long kind) { return IsCellKind(kind); }
inline bool IsHeading(long kind) { return IsHeadingKind(kind); }
inline bool IsPre(long kind) { return kind == kKindPre; }
inline bool IsLink(long kind) { return kind == kKindA; }

// A place to select: from a character of one text piece to a character of
// another (or the same) one, as offsets in GetDocText's text.
struct Place
{
    int start = -1;
    int length = 0;
};

// An offset inside a run's text away from its edges: a third of the way
// (second false) or two thirds (second true).
inline int Inside(const CElement* run, bool second)
{
    const int n = run->m_text.Length();
    return second ? (2 * n) / 3 : n / 3;
}

using PairTest = std::function<bool(const CElement* a, const CElement* b)>;

// From inside piece i to inside the first later piece j that passes the
// test with it, looking at most a few pieces ahead.
inline Place Across(const std::vector<DocTextPiece>& pieces, const PairTest& pair)
{
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        if (pieces[i].run->m_text.Length() < 3)
            continue;
        for (std::size_t j = i + 1; j < pieces.size() && j < i + 4; ++j) {
            if (pieces[j].run->m_text.Length() < 3 || !pair(pieces[i].run, pieces[j].run))
                continue;
            Place p;
            p.start = pieces[i].at + Inside(pieces[i].run, false);
            p.length = pieces[j].at + Inside(pieces[j].run, true) - p.start;
            return p;
        }
    }
    return {};
}

// Inside one piece that passes the test.
inline Place Within(const std::vector<DocTextPiece>& pieces, bool (*is)(const CElement* run))
{
    for (const DocTextPiece& piece : pieces) {
        if (piece.run->m_text.Length() < 6 || !is(piece.run))
            continue;
        Place p;
        p.start = piece.at + Inside(piece.run, false);
        p.length = Inside(piece.run, true) - Inside(piece.run, false);
        return p;
    }
    return {};
}

// The text pieces' selection of place in e's document: the selection
// cleared first, then the range selected in the runs that hold it.
inline void SelectPlace(CElement* root, const Place& place)
{
    root->CleanSelection(true);
    int state = 0;
    CSafeBuf unused;
    GetDocText(root, unused, state, 1, place.start, place.length, nullptr);
}

// Places of the shapes several corpus tests select: from plain text into a
// link in the same block, and out of one; from one paragraph into the next
// of the same parent; from one cell into another of its row; inside a pre.
inline Place IntoLink(const std::vector<DocTextPiece>& p)
{
    return Across(p, [](const CElement* a, const CElement* b) {
        return !Above(a, IsLink) && Above(b, IsLink) && a->GetFirstBlockParent() == b->GetFirstBlockParent();
    });
}

inline Place OutOfLink(const std::vector<DocTextPiece>& p)
{
    return Across(p, [](const CElement* a, const CElement* b) {
        return Above(a, IsLink) && !Above(b, IsLink) && a->GetFirstBlockParent() == b->GetFirstBlockParent();
    });
}

inline Place AcrossParagraphs(const std::vector<DocTextPiece>& p)
{
    return Across(p, [](const CElement* a, const CElement* b) {
        const CElement* pa = a->GetFirstBlockParent();
        const CElement* pb = b->GetFirstBlockParent();
        return pa && pb && pa != pb && pa->m_kind == kKindP && pb->m_kind == kKindP
            && pa->m_parent == pb->m_parent;
    });
}

inline Place AcrossCells(const std::vector<DocTextPiece>& p)
{
    return Across(p, [](const CElement* a, const CElement* b) {
        const CElement* ca = Above(a, IsCell);
        const CElement* cb = Above(b, IsCell);
        return ca && cb && ca != cb && ca->m_parent == cb->m_parent;
    });
}

inline Place InsidePre(const std::vector<DocTextPiece>& p)
{
    return Within(p, [](const CElement* run) { return Above(run, IsPre) != nullptr; });
}

} // namespace qmtest
