#pragma once
// The result of shaping a piece of UTF-16 text in one font description on
// one line (Pango over HarfBuzz): each unit's share of its cluster's
// advance, the line's typographic ascent and descent, and the glyph runs
// with their fonts, glyphs and ink, ready to be drawn. Positions are
// relative to the piece's own origin on its baseline, y growing down; unit
// indexes are relative to the piece's first unit.
//
// Control characters shape as blanks, lone surrogate halves as U+FFFD.

#include <pango/pango.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qm::text {

struct ShapedGlyph
{
    int unitStart;
    int unitEnd;
    bool hasInk;
    double inkX0, inkY0, inkX1, inkY1;
};

struct ShapedRun
{
    PangoFont* font = nullptr;          // referenced
    PangoGlyphString* glyphs = nullptr; // owned copy
    double x = 0;                       // pen position of the run's first glyph
    std::vector<ShapedGlyph> glyphInfo; // one a glyph, in the glyph string's order
};

struct Shaping
{
    Shaping() = default;
    ~Shaping();
    Shaping(const Shaping&) = delete;
    Shaping& operator=(const Shaping&) = delete;

    std::vector<double> advance; // one a unit
    double ascent = 0;
    double descent = 0;
    std::vector<ShapedRun*> runs; // owned
};

// Shapes n units in the description. False (and an empty shaping) when the
// text could not be shaped.
bool ShapeUnits(const std::uint16_t* text, int n, const PangoFontDescription* description, Shaping& out);
// How many times ShapeUnits has run in this process.
std::uint64_t ShapingCount();

// UTF-16 to UTF-8 as the shaping sees it (controls as blanks, lone halves
// as U+FFFD), with the byte offset of every unit (unitByte, one more entry
// for the end) and, for every byte that starts a character, the unit it came
// from (byteUnit, -1 for the other bytes; the byte after the text maps to n).
void ShapingUtf8(const std::uint16_t* text, int n, std::string& out, std::vector<int>& unitByte,
    std::vector<int>& byteUnit);

} // namespace qm::text
