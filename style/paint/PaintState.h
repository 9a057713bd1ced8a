#pragma once
// CPaintState: what a document keeps about its offscreen bitmap between
// paints. The document holds one (CXDoc::m_paintState); the body's
// PrepareBitmap creates it.
//
// Resident tiles. The bitmap has its full logical size ((width + 200) x
// (height + 200)), but its rows live in tiles (qm::cg::Context::kTileRows
// rows each, and past 32767 pixels across kTileColumns columns each) and
// only some are resident, that is hold pixels: those of the part the window
// shows with a screen or two around it, and those an export asks for. Painting into a tile that is not resident is clipped
// away; a tile that becomes resident is painted then, from the body down
// with the tile as the clip. Resident tiles are bounded by a memory budget,
// the least recently shown dropped first (never one the window needs now).
// A resident tile always holds the current painting.
//
// Geometry records. After each layout that is painted, every element
// records its document position, size and the rows its subtree's painting
// may reach (Lay().m_prevDocPos, Lay().m_prevRect, Lay().m_paintTop ...): painting a band of
// rows passes over subtrees whose rows miss it, and a repaint after an edit
// finds the elements that changed (CElement::CleanChanged) by comparing
// with them. A subtree moved as a whole after an edit has only its top's
// record moved; its descendants' records lag behind by the top's
// Lay().m_recordShift until a walk that reads them reaches the top
// (qm::paint::PushRecordShift).

#include "base/geometry/Colour.h"
#include "base/geometry/Point.h"
#include "style/paint/BodyRows.h"

#include <utility>
#include <vector>

class CPaintState
{
public:
    // Memory of the resident tiles, about 64 MB.
    static constexpr long long kDefaultBudgetBytes = 64LL << 20;
    // Rows and columns the window shows until a view says otherwise: the
    // top-left corner of the document.
    static constexpr int kDefaultShownRows = 600;
    static constexpr int kDefaultShownColumns = 800;
    // Rows added above and below an element's box in its painted rows: what
    // its painting may reach beyond its box and margins (resize handles,
    // frames drawn on the row outside). A text run's rows also hold the
    // ink of its glyphs, wherever its baseline puts them
    // (CTextElement::PaintedRows).
    static constexpr int kPaintSlack = 8;

    // The rows the window shows, top and bottom exclusive.
    int m_shownTop = 0;
    int m_shownBottom = kDefaultShownRows;
    int m_shownLeft = 0;
    int m_shownRight = kDefaultShownColumns;
    long long m_budgetBytes = kDefaultBudgetBytes;
    // Per tile of the current bitmap: when it was last shown or exported.
    std::vector<unsigned long long> m_tileStamps;
    unsigned long long m_clock = 0;

    // What CleanChanged found: rows to repaint (top, bottom exclusive) and
    // the identifiers of the changed elements, whose new rows join them.
    std::vector<std::pair<int, int>> m_dirtyRows;
    std::vector<long> m_changedIds;
    // Set by a notification for the repaint it starts: the elements that
    // were laid out again. Only their ancestors' subtrees can hold changes
    // below an element that kept its place and size, so CleanChanged looks
    // below no other; empty, it looks everywhere.
    std::vector<long> m_relaidIds;

    // Children of the body that CleanChanged found moved as a whole, their
    // records already moved (ShiftRecords): RedrawChanged moves their
    // painted pixels when they all moved alike and nothing else painted
    // where they were or are, and repaints their rows otherwise.
    struct Moved
    {
        // Rows of each before and after the move.
        std::vector<std::pair<int, int>> rows;
        int dy = 0;
        // All moved by dy, and all follow every body child that did not.
        bool alike = true;
        // Rows the moved ones reached before the move.
        int top = 0;
        int bottom = 0;
        // How far the body's bottom edge moved.
        int bodyDy = 0;
        // The lowest row that the body children that did not move reached
        // before the edit.
        int fixedBottom = 0;
    };
    Moved m_moved;

    // The colour painted behind the document where the body sets none.
    unsigned long m_documentBackground = RGB(255, 255, 255);
    // The last PrepareBitmap could not have its bitmap: nothing is painted.
    bool m_bitmapFailed = false;

    // The painted rows of the body's children and what the layout did at
    // the body's level since the records were taken (BodyRows.h).
    qm::paint::BodyRows m_bodyRows;
};
