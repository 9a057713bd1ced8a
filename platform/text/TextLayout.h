#pragma once
// A one-line text layout: a copy of some UTF-16 text set in one style. The
// text is shaped once (Pango over HarfBuzz) and every measurement is read
// from that shaping: each UTF-16 unit gets its share of its cluster's
// advance, so the width of any range is a difference of prefix sums and no
// prefix is ever shaped again. Shaping is redone only when the text or the
// style's font changes.
//
// Plain text (the letters of one of the Latin, Greek and Cyrillic scripts,
// with digits, punctuation and symbols, needing no reordering and no marks
// across words) is put together from the shaped words of the process's word
// cache (WordCache.h), which gives the same measurements as shaping the
// whole text; any other text is shaped whole, so the shaper orders
// right-to-left runs and joins what needs it.
//
// Measurement coordinates: the line's origin at x = 0, the baseline at
// y = 0, y growing downwards. Widths round to the nearest pixel, ink
// rectangles outward. Drawing goes to a cg context in its y-up user space,
// (x, y) being the line's origin on the baseline.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/cg/Context.h"
#include "platform/text/TextStyle.h"

namespace qm::text {

struct TextRect
{
    int left;
    int top;
    int right;
    int bottom;
};

class Layout
{
public:
    Layout();
    ~Layout();
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    // Copies `length` units (a null text or negative length gives no text).
    void SetText(const std::uint16_t* text, int length);
    // Keeps the first n units of the text. Where the text was put together
    // from words and n ends one, the shaping of the words kept stays (the
    // last blank measured as it ends the text); otherwise the rest is shaped
    // again when next measured.
    void KeepPrefix(int n);
    // Appends the other layout's text. Where both were put together from
    // words in the same font and script and the joined text would be made
    // of the same words, the other's shaping is taken over and nothing is
    // shaped again (the text is shaped anew when next measured where a blank
    // and the next word turn out to kern differently). False, nothing
    // changed, where the joined text could be made of other words. A text
    // without letters (blanks, punctuation) before the other's first word is
    // joined too: the two make one word of the joined text, taken from the
    // word cache, and the other's other words are taken over.
    bool Append(const Layout& other);
    // How many times the layouts of this process have shaped their text: once
    // for each new text or font, never for a measurement.
    static std::uint64_t ShapeCount();
    // How many units those shapings held, added up.
    static std::uint64_t ShapedUnits();
    // The style for the whole text; the layout does not own it, and the style
    // must outlive the layout or be replaced first (null: no style).
    void SetStyle(Style* style);
    // The line's base direction: right to left puts neutral characters at
    // the ends of the text (blanks) on the right-to-left side. Such a text is
    // shaped whole.
    void SetRightToLeft(bool on);
    bool RightToLeft() const { return m_rtl; }
    void SetContext(cg::Context* context) { m_context = context; }
    cg::Context* GetContext() const { return m_context; }
    int Length() const { return int(m_text.size()); }
    const std::vector<std::uint16_t>& Text() const { return m_text; }
    // Changes with every change of the text, and differs between layouts: a
    // holder that noted it knows the text is the one it noted while it is
    // the same.
    std::uint64_t TextStamp() const { return m_textStamp; }

    // Width of the first n units, unrounded, in pixels.
    double PrefixWidth(int n);
    double Ascent();
    double Descent();

    // Typographic bounds of a range: pen positions across, ascent to descent
    // down (no line gap). The range is cut to the text; false without a style.
    bool GlyphBounds(int start, int length, TextRect& out);
    // The width of a range, rounded: GlyphBounds' right less its left (0
    // without a style), without the vertical bounds.
    int RangeWidth(int start, int length);
    // Ink rectangle of a range; false (and an empty rectangle) when the range
    // draws no ink.
    bool ImageBounds(int start, int length, TextRect& out);
    // Every pixel that Draw or Highlight of the range may touch, against the
    // line's origin: its typographic bounds, its ink and its underline and
    // strike-through, one pixel wider on each side for antialiasing. False
    // (and an empty rectangle) without a style.
    bool DrawnBounds(int start, int length, TextRect& out);
    // Whether the text was put together from the shaped words of the word
    // cache (shaping it first when needed). Such a text can be cut at a word
    // start (WordStartFrom) without changing how the part before the cut
    // measures, but for the advance of its last unit (the blank that ends
    // it): a part from any unit b to a word start a, laid out alone, gives
    // its units the advances the text from b to the end gives them, laid out
    // alone, when a word starts in [b, a) or b is 0.
    bool ByWords();
    // The first unit at or after `unit` at which a word of the shaping starts;
    // Length() when none does or the text was not put together from words. A
    // word here holds the blanks after it, and digits and punctuation go with
    // the word of letters before them.
    int WordStartFrom(int unit);

    // Number of units from `start` on the longest prefix that fits in `width`
    // pixels and ends at a line-break opportunity (trailing blanks may hang
    // past the width); a line feed or carriage return ends a line and is
    // included. 0 when the first word does not fit or nothing is left.
    int BreakLine(int start, int width);

    // Draws a range in its place on the line whose origin is (x, y), in the
    // style's colour, on the layout's context. False without a context/style.
    bool Draw(int start, int length, double x, double y);
    // Paints the highlight colour behind the range's glyph bounds, then draws
    // the range over it.
    bool Highlight(int start, int length, double x, double y);
    void SetHighlightColor(std::uint8_t r, std::uint8_t g, std::uint8_t b);

private:
    struct Piece;
    bool Shape();
    bool ShapeWhole();
    bool ShapeByWords(int script);
    // Prefix sums and pen positions of the pieces from `from` on, that
    // piece's start being known; false where a blank and the next word do
    // not shape as they would alone.
    bool PlacePieces(size_t from, int script);
    // Where the sums of the units' advances stand: a unit, the piece that
    // holds it and the pen position at its start.
    struct SumCursor
    {
        size_t piece = size_t(-1);
        int unit = 0;
        double sum = 0;
    };
    // The pen position at a unit (0 to Length()) of the shaped text: read
    // from the sums kept, or added up along the pieces from the cursor
    // (moved there; forward walks are cheapest).
    double SumTo(SumCursor& cursor, int unit) const;
    double Walk(SumCursor& cursor, int unit) const;
    double PrefixAt(int unit) const;
    // Keeps the whole text's width and its start, and the sums of every unit
    // for a text with a long piece (none otherwise); false where they cannot
    // be had. The pieces before `from` must be placed as at the last call.
    bool KeepSums(size_t from = 0);
    void ForgetBreaks();
    void ClearShaping();
    void ClampRange(int& start, int& length) const;
    bool DrawRange(int start, int length, double x, double y);
    void FindBreaks();
    void TextChanged();

    // Laid out so that a layout takes few bytes: every text run holds one.
    std::vector<std::uint16_t> m_text;
    std::uint64_t m_textStamp = 0;
    Style* m_style = nullptr;
    cg::Context* m_context = nullptr;

    // Shaping results: the pieces placed along the line (one for a text
    // shaped whole, one a word otherwise) with their pen positions, the
    // sums of the units' advances where a piece is long, and the line's
    // ascent and descent.
    std::vector<Piece> m_pieces;
    // What few layouts need, held apart: the sums of every unit where a
    // piece is long (KeepSums), and the line-break opportunities once asked
    // for (FindBreaks); Length() + 1 of each.
    struct Extras
    {
        std::vector<double> sums;
        std::vector<bool> breakBefore;
    };
    std::unique_ptr<Extras> m_extras;
    double m_width = 0; // of the whole text
    double m_start = 0; // the pen position at the text's first unit
    double m_ascent = 0;
    double m_descent = 0;
    int m_script = 0; // of the letters of a text put together from words
    unsigned m_shapedGeneration = 0;
    std::uint8_t m_hl[3] = {181, 213, 255};
    bool m_rtl = false;
    bool m_shaped = false;
    bool m_byWords = false;
};

} // namespace qm::text
