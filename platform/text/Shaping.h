#pragma once
// The result of shaping a piece of UTF-16 text in one font description on
// one line, exactly as a Pango layout of it gives it (Pango's items shaped
// through HarfBuzz; a text of one font and script shaped straight with
// HarfBuzz, its item known): each unit's share of its cluster's advance,
// the line's typographic ascent and descent, and the glyph runs with their
// fonts, glyphs and ink, ready to be drawn. Positions are relative to the
// piece's own origin on its baseline, y growing down; unit indexes are
// relative to the piece's first unit.
//
// Control characters shape as blanks, lone surrogate halves as U+FFFD.

#include <pango/pango.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qm::text {

// One glyph as the shaper placed it: its glyph and geometry as Pango gives
// them (drawn from) and the units of its cluster. Its ink is the font's to
// give (GlyphInk): a word of the cache holds a few bytes a glyph.
struct ShapedGlyph
{
    PangoGlyphInfo info;
    int unitStart;
    int unitEnd;
};

// The ink rectangle of a glyph of the font, in Pango units against the
// glyph's pen position on the baseline (y down), its offsets applied; false
// for a glyph that draws none.
bool GlyphInk(PangoFont* font, const PangoGlyphInfo& info, PangoRectangle& ink);

struct ShapedRun
{
    ShapedRun() = default;
    ~ShapedRun();
    ShapedRun(ShapedRun&& other) noexcept;
    ShapedRun& operator=(ShapedRun&& other) noexcept;
    ShapedRun(const ShapedRun&) = delete;
    ShapedRun& operator=(const ShapedRun&) = delete;

    PangoFont* font = nullptr;       // referenced
    double x = 0;                    // pen position of the run's first glyph
    std::vector<ShapedGlyph> glyphs; // in the shaper's visual order
};

// An ink rectangle in pixels (y down), as the ink of glyphs adds up.
struct InkBox
{
    bool any = false; // no ink: the rest means nothing
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    void Add(double left, double top, double right, double bottom)
    {
        if (!any) {
            x0 = left, y0 = top, x1 = right, y1 = bottom;
            any = true;
        } else {
            x0 = std::min(x0, left), y0 = std::min(y0, top);
            x1 = std::max(x1, right), y1 = std::max(y1, bottom);
        }
    }
};

struct Shaping
{
    std::vector<double> advance; // one a unit
    double ascent = 0;
    double descent = 0;
    std::vector<ShapedRun> runs;
    mutable std::atomic<unsigned> refs{0}; // held by ShapingRef
    // The ink of all its glyphs against its origin, once a measurement has
    // asked for it (a word of the cache is inked once, not at each use).
    // One thread measures: the editor's.
    mutable bool inkKnown = false;
    mutable InkBox ink;
};

// A counted reference to a shaping, shared by the word cache and the
// layouts made of its words: one pointer, where a layout holds one for each
// word of its text. The shaping goes with its last reference.
class ShapingRef
{
public:
    ShapingRef() = default;
    // Takes a new shaping (null: none).
    explicit ShapingRef(Shaping* shaping) : m_shaping(shaping) { Hold(); }
    ShapingRef(const ShapingRef& other) : m_shaping(other.m_shaping) { Hold(); }
    ShapingRef(ShapingRef&& other) noexcept : m_shaping(other.m_shaping) { other.m_shaping = nullptr; }
    ShapingRef& operator=(ShapingRef other) noexcept
    {
        std::swap(m_shaping, other.m_shaping);
        return *this;
    }
    ~ShapingRef() { Release(); }

    const Shaping* operator->() const { return m_shaping; }
    const Shaping& operator*() const { return *m_shaping; }
    explicit operator bool() const { return m_shaping != nullptr; }

private:
    void Hold()
    {
        if (m_shaping)
            m_shaping->refs.fetch_add(1, std::memory_order_relaxed);
    }
    void Release()
    {
        if (m_shaping && m_shaping->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete m_shaping;
    }

    Shaping* m_shaping = nullptr;
};

// Shapes n units in the description, on a line whose base direction is left
// to right, or right to left with rtl (neutral characters at the ends, such
// as blanks, then stand on the right-to-left side). False (and an empty
// shaping) when the text could not be shaped.
bool ShapeUnits(const std::uint16_t* text, int n, const PangoFontDescription* description, Shaping& out,
    bool rtl = false);
// The same shaping through a Pango layout of the text, as measured before
// the line was made without one (kept to compare with, and for an empty
// text, whose line takes its extents from the font's metrics).
bool ShapeUnitsThroughLayout(const std::uint16_t* text, int n, const PangoFontDescription* description,
    Shaping& out, bool rtl = false);
// How many times ShapeUnits has run in this process.
std::uint64_t ShapingCount();

// UTF-16 to UTF-8 as the shaping sees it (controls as blanks, lone halves
// as U+FFFD), with the byte offset of every unit (unitByte, one more entry
// for the end) and, for every byte that starts a character, the unit it came
// from (byteUnit, -1 for the other bytes; the byte after the text maps to n).
// Answers the number of characters. The buffers keep their room from call to
// call.
int ShapingUtf8(const std::uint16_t* text, int n, std::string& out, std::vector<int>& unitByte,
    std::vector<int>& byteUnit);

} // namespace qm::text
