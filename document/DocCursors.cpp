// The editor's own pointer shapes, drawn as character grids: "#" black, "+"
// white, "." transparent; "@" is a black pixel at the hot spot.

#include "document/DocCursors.h"

#include "base/shims/PortShims.h"
#include "base/shims/QuickDraw.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

struct CursorGrid
{
    const char* rows[16];
};

// clang-format off
const CursorGrid kGrids[] = {
    // DiagonalDown
    {{"+++++++.........",
      "+#####+.........",
      "+####+..........",
      "+####+..........",
      "+#####+.........",
      "+##++###+.......",
      "++.+.+###+......",
      "......+#@#+.....",
      ".......+###+.+.+",
      "........+###++#+",
      ".........+#####+",
      "..........+####+",
      "..........+####+",
      ".........+#####+",
      ".........+++++++",
      "................"}},
    // DiagonalUp
    {{".........+++++++",
      ".........+#####+",
      "..........+####+",
      "..........+####+",
      ".........+#####+",
      ".......+###++##+",
      "......+###+.+.++",
      ".....+#@#+......",
      "+.+.+###+.......",
      "+#++###+........",
      "+#####+.........",
      "+####+..........",
      "+####+..........",
      "+#####+.........",
      "+++++++.........",
      "................"}},
    // Horizontal
    {{"................",
      "................",
      "................",
      "................",
      "....+......+....",
      "...+#+....+#+...",
      "..+##++++++##+..",
      ".+#####@######+.",
      "..+##++++++##+..",
      "...+#+....+#+...",
      "....+......+....",
      "................",
      "................",
      "................",
      "................",
      "................"}},
    // Vertical
    {{".......+........",
      "......+#+.......",
      ".....+###+......",
      "....+#####+.....",
      "....+++#+++.....",
      "......+#+.......",
      "......+#+.......",
      "......+@+.......",
      "......+#+.......",
      "......+#+.......",
      "....+++#+++.....",
      "....+#####+.....",
      ".....+###+......",
      "......+#+.......",
      ".......+........",
      "................"}},
    // Hand
    {{".....++.........",
      "....+@#+........",
      "....+##+........",
      "....+##+........",
      "....+##+++......",
      "....+##+##+++...",
      "..+++##+##+##++.",
      ".+##+##+##+##+#+",
      ".+###########+#+",
      "..+############+",
      "...+###########+",
      "...+##########+.",
      "....+#########+.",
      ".....+#######+..",
      ".....+#######+..",
      "................"}},
    // Text (an I-beam)
    {{"..+++.+++.......",
      "..+##+##+.......",
      "...++#++........",
      ".....#..........",
      ".....#..........",
      ".....#..........",
      ".....#..........",
      ".....@..........",
      ".....#..........",
      ".....#..........",
      ".....#..........",
      ".....#..........",
      "...++#++........",
      "..+##+##+.......",
      "..+++.+++.......",
      "................"}},
};
// clang-format on

Cursor FromGrid(const CursorGrid& grid)
{
    Cursor cursor{};
    for (int v = 0; v < 16; ++v) {
        for (int h = 0; h < 16; ++h) {
            const char c = grid.rows[v][h];
            const auto bit = static_cast<std::uint16_t>(0x8000u >> h);
            if (c == '#' || c == '@')
                cursor.data[v] |= bit;
            if (c != '.')
                cursor.mask[v] |= bit;
            if (c == '@')
                cursor.hotSpot = qm::qd::Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
        }
    }
    return cursor;
}

} // namespace

const Cursor& GetEditorCursor(EditorCursor shape)
{
    static const std::array<Cursor, 6> cursors = [] {
        std::array<Cursor, 6> made{};
        for (std::size_t i = 0; i < made.size(); ++i)
            made[i] = FromGrid(kGrids[i]);
        return made;
    }();
    return cursors[static_cast<std::size_t>(shape)];
}

void LoadDocCursors(DOC_CURSORS& cursors)
{
    cursors.arrow = &qm::qd::ArrowCursor();
    cursors.diagonalDown = &GetEditorCursor(EditorCursor::DiagonalDown);
    cursors.diagonalUp = &GetEditorCursor(EditorCursor::DiagonalUp);
    cursors.horizontal = &GetEditorCursor(EditorCursor::Horizontal);
    cursors.vertical = &GetEditorCursor(EditorCursor::Vertical);
    cursors.hand = &GetEditorCursor(EditorCursor::Hand);
    cursors.handPressed = cursors.hand;
    cursors.unused[0] = cursors.unused[1] = nullptr;
    // The pointer starts as the arrow.
    dInitCursor();
}
