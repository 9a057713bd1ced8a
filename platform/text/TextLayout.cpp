#include "platform/text/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "platform/text/FontCatalogue.h"
#include "platform/text/Shaping.h"
#include "platform/text/WordCache.h"

namespace qm::text {

struct Layout::Piece
{
    ShapingRef shaping;
    int unit; // its first unit in the text
    double x; // its pen position on the line
};

namespace {

struct GlyphStringFree
{
    void operator()(PangoGlyphString* glyphs) const { pango_glyph_string_free(glyphs); }
};
typedef std::unique_ptr<PangoGlyphString, GlyphStringFree> GlyphStringRef;

constexpr double kUnit = double(PANGO_SCALE);

// Draws the glyphs of `all` (set from the current point, in Pango units
// along the line) that may ink user x from lo to hi, where the line
// reaches past them: cairo draws nothing of a glyph string that reaches
// far past its surface, and a string of more than some two million pixels
// overflows the renderer's int pen. The glyphs kept stand exactly where
// the whole string puts them: the pen starts at a whole pixel at most one
// pixel before the first of them, which a blank glyph makes up.
void ShowGlyphsWithin(cairo_t* cr, PangoFont* font, const PangoGlyphString& all, double lo, double hi)
{
    long long at = 0, firstAt = 0;
    int first = -1, last = -1;
    for (int i = 0; i < all.num_glyphs; ++i) {
        const PangoGlyphGeometry& g = all.glyphs[i].geometry;
        const long long x0 = at + std::min(g.x_offset, 0),
                        x1 = at + std::max(g.width, 0) + std::max(g.x_offset, 0);
        if (double(x1) >= lo * kUnit && double(x0) <= hi * kUnit) {
            if (first < 0) {
                first = i;
                firstAt = at;
            }
            last = i;
        }
        at += g.width;
    }
    if (first < 0)
        return;
    const long long pen = (firstAt >= 0 ? firstAt : firstAt - PANGO_SCALE + 1) / PANGO_SCALE * PANGO_SCALE;
    GlyphStringRef part(pango_glyph_string_new());
    pango_glyph_string_set_size(part.get(), last - first + 2);
    PangoGlyphInfo gap{};
    gap.glyph = PANGO_GLYPH_EMPTY;
    gap.geometry.width = PangoGlyphUnit(firstAt - pen);
    gap.attr.is_cluster_start = 1;
    part->glyphs[0] = gap;
    part->log_clusters[0] = 0;
    for (int i = first; i <= last; ++i) {
        part->glyphs[i - first + 1] = all.glyphs[i];
        part->log_clusters[i - first + 1] = i - first + 1;
    }
    double x = 0, y = 0;
    cairo_get_current_point(cr, &x, &y);
    cairo_move_to(cr, x + double(pen) / kUnit, y);
    pango_cairo_show_glyph_string(cr, font, part.get());
}

// std::lround without the library call: rounds half away from zero. Below
// 2^52 the whole part is taken exactly by the conversion and the rest by
// the subtraction; beyond it (and for what is not a number) lround answers.
long RoundHalfAway(double v)
{
    if (!(std::fabs(v) < 4503599627370496.0))
        return std::lround(v);
    const long whole = static_cast<long>(v);
    const double rest = v - static_cast<double>(whole);
    return rest >= 0.5 ? whole + 1 : rest <= -0.5 ? whole - 1 : whole;
}

bool IsBlank(std::uint16_t c) { return c == ' ' || c == '\t' || c == 0xA0 || c == 0x3000; }
bool IsHardBreak(std::uint16_t c) { return c == '\n' || c == '\r'; }

// Where words end: a blank or a control character (which shapes as one).
bool EndsWord(std::uint16_t c) { return c <= ' '; }

std::uint64_t g_layoutShapes = 0;
std::uint64_t g_layoutShapedUnits = 0;

// Units that shape the same inside a word as in a whole text: no
// right-to-left script, no combining mark, no join or direction control.
bool IsPlainUnit(std::uint16_t c)
{
    if (c < 0x7F)
        return true;
    if (c < 0xA0)
        return false;
    if (c < 0x02B0)
        return true; // Latin-1, Latin extended, IPA
    if (c >= 0x0370 && c < 0x0483)
        return true; // Greek, Cyrillic
    if (c >= 0x048A && c < 0x0530)
        return true;
    if (c >= 0x1E00 && c < 0x2000)
        return true; // Latin and Greek extended (precomposed)
    if (c >= 0x2010 && c < 0x2028)
        return true; // dashes, quotes, bullets, ellipsis
    if (c >= 0x2030 && c < 0x205F)
        return true;
    return c >= 0x20A0 && c < 0x20C0; // currency
}

// The script of a plain unit that decides its own script (a letter), 0 for
// one that takes its script from the text around it (digits, punctuation,
// blanks, symbols).
int StrongScript(std::uint16_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? G_UNICODE_SCRIPT_LATIN : 0;
    const GUnicodeScript script = g_unichar_get_script(c);
    return script == G_UNICODE_SCRIPT_COMMON || script == G_UNICODE_SCRIPT_INHERITED ? 0 : int(script);
}

// Whether the text is plain, its letters all of one script (the script
// of its letters in `script`, 0 when it has none). Runs of units below 0x7F
// are taken at once: all plain, their letters Latin.
bool PlainScript(const std::uint16_t* text, int n, int& script)
{
    script = 0;
    for (int i = 0; i < n;) {
        if (text[i] < 0x7F) {
            bool letters = false;
            for (; i < n && text[i] < 0x7F; ++i)
                letters |= unsigned((text[i] | 0x20) - 'a') < 26u;
            if (letters) {
                if (script && script != G_UNICODE_SCRIPT_LATIN)
                    return false;
                script = G_UNICODE_SCRIPT_LATIN;
            }
            continue;
        }
        const std::uint16_t c = text[i++];
        if (!IsPlainUnit(c))
            return false;
        const int s = StrongScript(c);
        if (s && script && s != script)
            return false;
        script = s ? s : script;
    }
    return true;
}

} // namespace

Layout::Layout() { TextChanged(); }

void Layout::TextChanged()
{
    // One count for all layouts, so no two layouts' texts share a stamp.
    static std::uint64_t s_stamps = 0;
    m_textStamp = ++s_stamps;
}

Layout::~Layout() { ClearShaping(); }

// A buffer that holds far less than it has room for gives the room back, so
// a layout whose text became a short part of a long one holds memory for
// its own text only.
template <class T>
void FitCapacity(std::vector<T>& v)
{
    if (v.capacity() > 2 * v.size() + 64)
        std::vector<T>(v.begin(), v.end()).swap(v);
}

void Layout::ClearShaping()
{
    m_pieces.clear();
    FitCapacity(m_pieces);
    m_extras.reset();
    m_width = 0;
    m_start = 0;
    m_shaped = false;
    m_byWords = false;
}

void Layout::SetText(const std::uint16_t* text, int length)
{
    ClearShaping();
    m_text.clear();
    try {
        if (text && length > 0)
            m_text.assign(text, text + length);
        FitCapacity(m_text);
    } catch (...) {
        m_text.clear(); // text that cannot be held is no text
    }
    TextChanged();
}

void Layout::KeepPrefix(int n)
{
    if (n < 0 || n >= Length()) {
        if (n < 0)
            SetText(nullptr, 0);
        return;
    }
    m_text.resize(size_t(n));
    TextChanged();
    ForgetBreaks();
    try {
        FitCapacity(m_text);
    } catch (...) {
        // Kept as they are: only the room is not given back.
    }
    size_t kept = 0;
    while (kept < m_pieces.size() && m_pieces[kept].unit < n)
        ++kept;
    const bool current = m_shaped && m_style && m_shapedGeneration == m_style->ShapeGeneration();
    const bool atWordEnd = current && n > 0 && kept > 0 && kept < m_pieces.size() && m_pieces[kept].unit == n
        && m_pieces.size() > 1;
    if (!atWordEnd) {
        ClearShaping();
        return;
    }
    m_pieces.resize(kept);
    try {
        FitCapacity(m_pieces);
    } catch (...) { }
    // The last word kept ends the text: it measures with its blank's own
    // advance, as the sums below take it.
    if (!KeepSums()) {
        ClearShaping();
        return;
    }
    m_ascent = m_pieces.front().shaping->ascent;
    m_descent = m_pieces.front().shaping->descent;
    for (const Piece& piece : m_pieces) {
        m_ascent = std::max(m_ascent, piece.shaping->ascent);
        m_descent = std::max(m_descent, piece.shaping->descent);
    }
}

bool Layout::Append(const Layout& other)
{
    // The joined text would be put together from the same words: both go
    // by words in one font and script (or this text has no letters), this
    // text ends a word, and the other starts with a word of letters (one
    // without would join this text's last word).
    const bool current = m_shaped && m_byWords && m_style && m_shapedGeneration == m_style->ShapeGeneration();
    const bool otherCurrent = other.m_shaped && other.m_byWords && other.m_style
        && other.m_shapedGeneration == other.m_style->ShapeGeneration();
    if (!current || !otherCurrent || m_rtl || other.m_rtl || other.m_script == 0
        || (m_script != 0 && other.m_script != m_script) || m_pieces.empty() || other.m_pieces.empty()
        || !EndsWord(m_text.back()) || !m_style->SameFont(*other.m_style))
        return false;
    bool letters = false;
    for (size_t i = 0; i < other.m_text.size() && !EndsWord(other.m_text[i]) && !letters; ++i)
        letters = StrongScript(other.m_text[i]) != 0;
    if (!letters)
        return false;
    // A text without letters (blanks, punctuation) goes with the first word
    // of letters after it: in the joined text, this text and the other's
    // first piece are one word, taken from the word cache.
    const bool merge = m_script == 0;
    ShapingRef first;
    size_t skipped = 0; // the other's pieces that the merged word stands for
    const size_t n = m_text.size();
    try {
        if (merge) {
            skipped = 1;
            const size_t end
                = other.m_pieces.size() > 1 ? size_t(other.m_pieces[1].unit) : other.m_text.size();
            std::vector<std::uint16_t> word(m_text);
            word.insert(word.end(), other.m_text.begin(), other.m_text.begin() + std::ptrdiff_t(end));
            first = WordCache::Get().Word(*m_style, word.data(), int(word.size()));
            if (!first || first->advance.size() != word.size())
                return false;
        }
    } catch (...) {
        return false;
    }
    const size_t from = merge ? 0 : m_pieces.size() - 1;
    try {
        TextChanged();
        m_text.insert(m_text.end(), other.m_text.begin(), other.m_text.end());
        if (merge)
            m_pieces.assign(1, Piece{first, 0, 0});
        // Room grows by half at least: a text joined from many others is
        // not copied again at every join.
        const size_t need = m_pieces.size() + other.m_pieces.size();
        if (need > m_pieces.capacity())
            m_pieces.reserve(std::max(need, m_pieces.capacity() + m_pieces.capacity() / 2));
        for (size_t p = skipped; p < other.m_pieces.size(); ++p)
            m_pieces.push_back(Piece{other.m_pieces[p].shaping, other.m_pieces[p].unit + int(n), 0});
    } catch (...) {
        SetText(nullptr, 0);
        return false;
    }
    ForgetBreaks();
    if (merge)
        m_script = other.m_script;
    if (!PlacePieces(from, m_script) || !KeepSums(from)) {
        ClearShaping(); // shaped again, whole, when next measured
        return true;
    }
    if (merge) {
        m_ascent = m_pieces.front().shaping->ascent;
        m_descent = m_pieces.front().shaping->descent;
        for (const Piece& piece : m_pieces) {
            m_ascent = std::max(m_ascent, piece.shaping->ascent);
            m_descent = std::max(m_descent, piece.shaping->descent);
        }
    } else {
        m_ascent = std::max(m_ascent, other.m_ascent);
        m_descent = std::max(m_descent, other.m_descent);
    }
    return true;
}

std::uint64_t Layout::ShapeCount() { return g_layoutShapes; }
std::uint64_t Layout::ShapedUnits() { return g_layoutShapedUnits; }

void Layout::SetRightToLeft(bool on)
{
    if (on != m_rtl)
        ClearShaping();
    m_rtl = on;
}

void Layout::SetStyle(Style* style)
{
    if (style != m_style)
        ClearShaping();
    m_style = style;
}

void Layout::ClampRange(int& start, int& length) const
{
    int n = Length();
    if (start < 0) {
        length += start;
        start = 0;
    }
    if (start > n)
        start = n;
    if (length < 0)
        length = 0;
    if (length > n - start)
        length = n - start;
}

bool Layout::ShapeWhole()
{
    auto made = std::make_unique<Shaping>();
    if (!ShapeUnits(m_text.data(), Length(), m_style->Description(), *made, m_rtl))
        return false;
    ShapingRef shaping(made.release());
    m_ascent = shaping->ascent;
    m_descent = shaping->descent;
    m_pieces.push_back(Piece{std::move(shaping), 0, 0});
    return KeepSums();
}

bool Layout::ShapeByWords(int script)
{
    WordCache& cache = WordCache::Get();
    const int n = Length();
    const std::uint16_t* text = m_text.data();
    // Words with the blanks after them. Where the text has letters, a word
    // without any (digits, punctuation) goes with the word before it, or the
    // first one after it, so that the shaper takes it in the script of the
    // letters, as it does in the whole text.
    // The list is kept from text to text (one thread lays out); the room a
    // long text took is given back at the next.
    static thread_local std::vector<std::pair<int, int>> words;
    if (words.capacity() > 4096)
        std::vector<std::pair<int, int>>().swap(words);
    words.clear();
    int pending = -1; // the start of words without letters waiting for one
    for (int start = 0; start < n;) {
        int end = start;
        bool letters = false;
        for (; end < n && !EndsWord(text[end]); ++end) {
            // Once a letter is seen the rest of the word need not be asked.
            if (!letters)
                letters = StrongScript(text[end]) != 0;
        }
        while (end < n && EndsWord(text[end]))
            ++end;
        if (letters || !script) {
            words.emplace_back(pending >= 0 ? pending : start, end);
            pending = -1;
        } else if (!words.empty()) {
            words.back().second = end;
        } else if (pending < 0) {
            pending = start;
        }
        start = end;
    }
    if (pending >= 0)
        words.emplace_back(pending, n);

    // Straight into the pieces, whose room a text shaped again reuses (a
    // failure leaves them for Shape to clear).
    std::vector<Piece>& pieces = m_pieces;
    pieces.clear();
    pieces.reserve(words.size());
    double ascent = 0, descent = 0;
    for (const auto& [start, end] : words) {
        ShapingRef word = cache.Word(*m_style, text + start, end - start);
        if (!word || int(word->advance.size()) != end - start)
            return false;
        if (pieces.empty() || word->ascent > ascent)
            ascent = word->ascent;
        if (pieces.empty() || word->descent > descent)
            descent = word->descent;
        pieces.push_back(Piece{std::move(word), start, 0});
    }
    if (!PlacePieces(0, script) || !KeepSums())
        return false;
    m_ascent = ascent;
    m_descent = descent;
    m_script = script;
    return true;
}

bool Layout::PlacePieces(size_t from, int script)
{
    WordCache& cache = WordCache::Get();
    // The pen moves along the units' advances from the first piece placed,
    // whose position is known, as the sums of PrefixAt add them up.
    double x = from < m_pieces.size() ? m_pieces[from].x : 0;
    for (size_t p = from; p < m_pieces.size(); ++p) {
        Piece& piece = m_pieces[p];
        piece.x = x;
        const std::vector<double>& advance = piece.shaping->advance;
        const size_t count = advance.size();
        for (size_t i = 0; i + 1 < count; ++i)
            x += advance[i];
        if (count == 0)
            continue;
        if (p + 1 < m_pieces.size()) {
            // The blank that ends this word may kern with the next word's
            // first character.
            double blank = 0;
            if (!cache.BlankBefore(*m_style, m_text[size_t(m_pieces[p + 1].unit)], script, blank))
                return false;
            x += blank;
        } else {
            x += advance[count - 1];
        }
    }
    return true;
}

bool Layout::KeepSums(size_t from)
{
    // Short words are summed when asked; a piece longer than a word of the
    // cache (a text shaped whole, or one long word) keeps its sums, so no
    // measurement walks a long stretch of units. The pieces before `from`
    // are placed as at the last call, which kept sums where one of them is
    // long: those sums stand, and only the pieces from `from` on are asked,
    // so that joining many texts one after another stays linear.
    from = std::min(from, m_pieces.size());
    const bool longBefore = from > 0 && m_extras && !m_extras->sums.empty();
    const bool longPiece = longBefore
        || std::any_of(m_pieces.begin() + std::ptrdiff_t(from), m_pieces.end(), [](const Piece& piece) {
               return piece.shaping->advance.size() > size_t(WordCache::kMaxWordUnits);
           });
    const int n = Length();
    SumCursor cursor;
    m_width = Walk(cursor, n);
    cursor = SumCursor();
    m_start = Walk(cursor, 0);
    if (!longPiece) {
        if (m_extras)
            std::vector<double>().swap(m_extras->sums);
        if (m_extras && m_extras->breakBefore.empty())
            m_extras.reset();
        return true;
    }
    try {
        if (!m_extras)
            m_extras = std::make_unique<Extras>();
        std::vector<double>& sums = m_extras->sums;
        const int kept = longBefore && from < m_pieces.size() ? m_pieces[from].unit : 0;
        sums.resize(size_t(n) + 1);
        cursor = SumCursor();
        for (int u = kept; u <= n; ++u)
            sums[size_t(u)] = Walk(cursor, u);
    } catch (...) {
        return false;
    }
    return true;
}

double Layout::SumTo(SumCursor& cursor, int unit) const
{
    if (unit == Length())
        return m_width; // the most asked for: a whole run's width
    if (unit == 0)
        return m_start; // what a walk from the start gives, kept
    return m_extras && !m_extras->sums.empty() ? m_extras->sums[size_t(unit)] : Walk(cursor, unit);
}

void Layout::ForgetBreaks()
{
    if (!m_extras)
        return;
    std::vector<bool>().swap(m_extras->breakBefore);
    if (m_extras->sums.empty())
        m_extras.reset();
}

double Layout::Walk(SumCursor& cursor, int unit) const
{
    if (m_pieces.empty())
        return 0; // nothing was shaped (no fonts): everything measures 0
    const bool behind = cursor.piece >= m_pieces.size() || unit < cursor.unit;
    if (behind || (cursor.piece + 1 < m_pieces.size() && m_pieces[cursor.piece + 1].unit <= unit)) {
        // Another piece: the last one that starts at or before the unit,
        // from its pen position (no walk across the pieces in between).
        const auto from = behind ? m_pieces.begin() : m_pieces.begin() + std::ptrdiff_t(cursor.piece) + 1;
        const auto after = std::upper_bound(
            from, m_pieces.end(), unit, [](int u, const Piece& piece) { return u < piece.unit; });
        cursor.piece = size_t(after - m_pieces.begin()) - 1;
        cursor.unit = m_pieces[cursor.piece].unit;
        cursor.sum = m_pieces[cursor.piece].x;
    }
    // Within the piece: its units' advances in order, as they were summed
    // when the pieces were placed.
    const Piece& piece = m_pieces[cursor.piece];
    for (; cursor.unit < unit; ++cursor.unit)
        cursor.sum += piece.shaping->advance[size_t(cursor.unit - piece.unit)];
    return cursor.sum;
}

double Layout::PrefixAt(int unit) const
{
    SumCursor cursor;
    return SumTo(cursor, unit);
}

bool Layout::Shape()
{
    if (!m_style)
        return false;
    if (m_shaped && m_shapedGeneration == m_style->ShapeGeneration())
        return true;
    ClearShaping();
    ++g_layoutShapes;
    const int n = Length();
    g_layoutShapedUnits += std::uint64_t(n);
    m_shapedGeneration = m_style->ShapeGeneration();
    m_shaped = true;
    m_ascent = m_descent = 0;
    if (!FontCatalogue::Get().Ok())
        return true; // no fonts: everything measures 0
    try {
        // Plain text of letters of one script at most goes by words.
        int script = 0;
        const bool plain
            = n > 0 && !m_rtl && WordCache::Get().Enabled() && PlainScript(m_text.data(), n, script);
        if (plain && ShapeByWords(script)) {
            m_byWords = true;
            return true;
        }
        m_pieces.clear();
        if (!ShapeWhole()) {
            ClearShaping();
            return false;
        }
    } catch (...) {
        ClearShaping();
        return false;
    }
    return true;
}

void Layout::FindBreaks()
{
    if (m_extras && !m_extras->breakBefore.empty())
        return;
    const int n = Length();
    if (!m_extras)
        m_extras = std::make_unique<Extras>();
    std::vector<bool>& breakBefore = m_extras->breakBefore;
    breakBefore.assign(size_t(n) + 1, false);
    if (n == 0)
        return;
    breakBefore[size_t(n)] = true;
    try {
        // Break opportunities: Pango's per-character attributes, mapped to units.
        std::string utf8;
        std::vector<int> unitByte, byteUnit;
        ShapingUtf8(m_text.data(), n, utf8, unitByte, byteUnit);
        const glong chars = g_utf8_strlen(utf8.c_str(), glong(utf8.size()));
        std::vector<PangoLogAttr> attrs(size_t(chars) + 1);
        pango_get_log_attrs(utf8.c_str(), int(utf8.size()), -1, pango_language_from_string("en"),
            attrs.data(), int(attrs.size()));
        size_t charIndex = 0;
        for (int u = 0; u <= n && charIndex < attrs.size(); ++u) {
            if (u < n && byteUnit[size_t(unitByte[size_t(u)])] != u)
                continue; // inside a character
            if (attrs[charIndex].is_line_break && u > 0)
                breakBefore[size_t(u)] = true;
            ++charIndex;
        }
        for (int u = 1; u <= n; ++u)
            if (IsHardBreak(m_text[size_t(u) - 1]))
                breakBefore[size_t(u)] = true;
    } catch (...) {
        // Without the attributes only the end of the text is a break.
    }
}

bool Layout::ByWords() { return Shape() && m_byWords; }

int Layout::WordStartFrom(int unit)
{
    if (!ByWords())
        return Length();
    const auto found = std::lower_bound(
        m_pieces.begin(), m_pieces.end(), unit, [](const Piece& piece, int u) { return piece.unit < u; });
    return found == m_pieces.end() ? Length() : found->unit;
}

double Layout::PrefixWidth(int n)
{
    if (!Shape())
        return 0;
    n = std::clamp(n, 0, Length());
    return PrefixAt(n);
}

double Layout::Ascent() { return Shape() ? m_ascent : 0; }
double Layout::Descent() { return Shape() ? m_descent : 0; }

bool Layout::GlyphBounds(int start, int length, TextRect& out)
{
    out = TextRect{0, 0, 0, 0};
    if (!Shape())
        return false;
    ClampRange(start, length);
    SumCursor cursor;
    double x0 = SumTo(cursor, start);
    double w = SumTo(cursor, start + length) - x0;
    out.left = int(RoundHalfAway(x0));
    out.right = out.left + int(RoundHalfAway(w));
    out.top = -int(RoundHalfAway(m_ascent));
    out.bottom = int(RoundHalfAway(m_descent));
    return true;
}

int Layout::RangeWidth(int start, int length)
{
    if (!Shape())
        return 0;
    ClampRange(start, length);
    SumCursor cursor;
    const double x0 = SumTo(cursor, start);
    return int(RoundHalfAway(SumTo(cursor, start + length) - x0));
}

namespace {

// Adds the ink of the glyphs of a shaping that cover units [start, end)
// (the shaping's own units) to box, the shaping's origin at x.
void AddShapingInk(const Shaping& shaping, double x, int start, int end, InkBox& box)
{
    for (const ShapedRun& r : shaping.runs) {
        // The pen within the shaping, added up as the shaper's glyph
        // widths were, so each ink edge is the one shaping gave.
        double pen = r.x;
        for (const ShapedGlyph& g : r.glyphs) {
            const double at = pen;
            pen += g.info.geometry.width / kUnit;
            PangoRectangle ink;
            if (g.unitEnd <= start || g.unitStart >= end || !GlyphInk(r.font, g.info, ink))
                continue;
            const double inkX0 = at + ink.x / kUnit, inkX1 = inkX0 + ink.width / kUnit;
            const double gy0 = ink.y / kUnit, gy1 = gy0 + ink.height / kUnit;
            box.Add(x + inkX0, gy0, x + inkX1, gy1);
        }
    }
}

} // namespace

bool Layout::ImageBounds(int start, int length, TextRect& out)
{
    out = TextRect{0, 0, 0, 0};
    if (!Shape())
        return false;
    ClampRange(start, length);
    int end = start + length;
    InkBox box;
    for (const Piece& piece : m_pieces) {
        const Shaping& shaping = *piece.shaping;
        const int pieceEnd = piece.unit + int(shaping.advance.size());
        if (pieceEnd <= start || piece.unit >= end)
            continue;
        if (piece.unit < start || pieceEnd > end) {
            AddShapingInk(shaping, piece.x, start - piece.unit, end - piece.unit, box);
            continue;
        }
        // A whole piece: its ink, kept in its shaping, moved to its place.
        // The place added to the extremes gives the extremes of the place
        // added to every glyph's edges: rounding keeps the sums in order.
        if (!shaping.inkKnown) {
            shaping.ink = InkBox();
            AddShapingInk(shaping, 0, 0, int(shaping.advance.size()), shaping.ink);
            shaping.inkKnown = true;
        }
        const InkBox& ink = shaping.ink;
        if (ink.any)
            box.Add(piece.x + ink.x0, ink.y0, piece.x + ink.x1, ink.y1);
    }
    if (!box.any)
        return false;
    out = TextRect{
        int(std::floor(box.x0)), int(std::floor(box.y0)), int(std::ceil(box.x1)), int(std::ceil(box.y1))};
    return true;
}

bool Layout::DrawnBounds(int start, int length, TextRect& out)
{
    if (!GlyphBounds(start, length, out))
        return false;
    ClampRange(start, length);
    TextRect ink;
    if (ImageBounds(start, length, ink)) {
        out.left = std::min(out.left, ink.left);
        out.top = std::min(out.top, ink.top);
        out.right = std::max(out.right, ink.right);
        out.bottom = std::max(out.bottom, ink.bottom);
    }
    if (length > 0 && (m_style->Underline() || m_style->Strikethrough())) {
        const WordCache::Decoration& d = WordCache::Get().Decorations(*m_style);
        double top = out.top, bottom = out.bottom;
        if (m_style->Underline()) {
            top = std::min(top, d.underlinePos);
            bottom = std::max(bottom, d.underlinePos + d.underlineThick);
        }
        if (m_style->Strikethrough()) {
            top = std::min(top, d.strikePos - d.strikeThick / 2);
            bottom = std::max(bottom, d.strikePos + d.strikeThick / 2);
        }
        out.top = int(std::floor(top));
        out.bottom = int(std::ceil(bottom));
    }
    out.left -= 1;
    out.top -= 1;
    out.right += 1;
    out.bottom += 1;
    return true;
}

int Layout::BreakLine(int start, int width)
{
    const int n = Length();
    if (start < 0 || start >= n || !Shape())
        return 0;
    FindBreaks();
    int best = 0;
    SumCursor cursor;
    const double left = SumTo(cursor, start);
    for (int e = start + 1; e <= n; ++e) {
        if (!m_extras->breakBefore[size_t(e)])
            continue;
        // Blanks and a line end at the end of the line may hang past the width.
        int ink = e;
        while (ink > start && (IsBlank(m_text[size_t(ink) - 1]) || IsHardBreak(m_text[size_t(ink) - 1])))
            --ink;
        double w = SumTo(cursor, ink) - left;
        if (std::lround(w) > width)
            break;
        best = e - start;
        if (IsHardBreak(m_text[size_t(e) - 1]))
            break;
    }
    return best;
}

void Layout::SetHighlightColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    m_hl[0] = r;
    m_hl[1] = g;
    m_hl[2] = b;
}

bool Layout::DrawRange(int start, int length, double x, double y)
{
    if (!m_context || !Shape())
        return false;
    ClampRange(start, length);
    if (length == 0 || m_pieces.empty())
        return true;
    const int end = start + length;
    SumCursor cursor;
    const double left = SumTo(cursor, start), right = SumTo(cursor, end);
    // The tiles drawn on: a font size around the line's bounds, and further
    // where ink or a decoration reaches (measurement y grows down, the
    // context's up).
    const double size = m_style->Size();
    TextRect drawn;
    DrawnBounds(start, length, drawn);
    const double x0 = std::min(left - size, double(drawn.left)),
                 x1 = std::max(right + size, double(drawn.right));
    const double y0 = std::min(-m_ascent - size, double(drawn.top));
    const double y1 = std::max(m_descent + size, double(drawn.bottom));
    const cg::Rect bounds{x + x0, y - y1, x1 - x0, y1 - y0};
    const std::string trace = m_context->IsTracing()
        ? "DrawText(" + std::to_string(start) + ", " + std::to_string(length) + ", "
            + std::to_string(int(std::lround(x))) + ", " + std::to_string(int(std::lround(y))) + ")"
        : std::string();
    const double r = m_style->Red() / 255.0, g = m_style->Green() / 255.0, b = m_style->Blue() / 255.0;
    // The glyphs of the range, joined into one glyph string for each stretch
    // of one font and placed by blank glyphs in between, so every glyph
    // stands where the shaper put it, to the shaper's unit: made once, then
    // drawn on every tile. Glyphs outside the range are blanked.
    struct Shown
    {
        PangoFont* font;
        GlyphStringRef glyphs;
        long long width; // Pango units so far
    };
    std::vector<Shown> shown;
    auto append = [](PangoGlyphString* to, const PangoGlyphInfo& info) {
        // Room grows by doubling, asked for only when full: setting the size
        // reallocates the arrays on every call, which an allocator may answer
        // with a copy each time (a line of a million glyphs then copies for
        // minutes).
        const int at = to->num_glyphs;
        if (at + 1 > to->space) {
            pango_glyph_string_set_size(to, std::max(at + 1, 2 * to->space));
            to->num_glyphs = at;
        }
        to->num_glyphs = at + 1;
        to->glyphs[at] = info;
        to->log_clusters[at] = at;
    };
    for (const Piece& piece : m_pieces) {
        const int pieceEnd = piece.unit + int(piece.shaping->advance.size());
        if (pieceEnd <= start || piece.unit >= end)
            continue;
        auto inRange = [&](const ShapedGlyph& gl) {
            return piece.unit + gl.unitStart < end && piece.unit + gl.unitEnd > start;
        };
        for (const ShapedRun& run : piece.shaping->runs) {
            if (std::none_of(run.glyphs.begin(), run.glyphs.end(), inRange))
                continue;
            if (shown.empty() || shown.back().font != run.font)
                shown.push_back(Shown{run.font, GlyphStringRef(pango_glyph_string_new()), 0});
            Shown& to = shown.back();
            const long long target = std::llround((piece.x + run.x) * PANGO_SCALE);
            if (target != to.width) {
                PangoGlyphInfo gap{};
                gap.glyph = PANGO_GLYPH_EMPTY;
                gap.geometry.width = PangoGlyphUnit(target - to.width);
                gap.attr.is_cluster_start = 1;
                append(to.glyphs.get(), gap);
                to.width = target;
            }
            for (const ShapedGlyph& glyph : run.glyphs) {
                PangoGlyphInfo info = glyph.info;
                if (!inRange(glyph))
                    info.glyph = PANGO_GLYPH_EMPTY;
                append(to.glyphs.get(), info);
                to.width += info.geometry.width;
            }
        }
    }
    const WordCache::Decoration& decoration = WordCache::Get().Decorations(*m_style);
    m_context->DrawWithCairo(bounds, true, trace, [&](cairo_t* cr) {
        cairo_translate(cr, x, y);
        cairo_scale(cr, 1, -1); // glyphs upright: y grows down from the baseline
        cairo_set_source_rgb(cr, r, g, b);
        // The part of the line the tile shows: a line reaching past it (one
        // wider than a tile of a wide bitmap) draws only the glyphs that
        // may ink the tile, with room for ink past a glyph's advance.
        double shownLeft = 0, top = 0, shownRight = 0, bottom = 0;
        cairo_clip_extents(cr, &shownLeft, &top, &shownRight, &bottom);
        const double reach = 2 * size + 2;
        for (const Shown& run : shown) {
            cairo_move_to(cr, 0, 0);
            if (shownLeft <= 0 && double(run.width) / kUnit <= shownRight)
                pango_cairo_show_glyph_string(cr, run.font, run.glyphs.get());
            else
                ShowGlyphsWithin(cr, run.font, *run.glyphs, shownLeft - reach, shownRight + reach);
        }
        // A line past the tile is cut to just outside it, within the range
        // of cairo's fixed-point coordinates.
        const double from = left < shownLeft ? shownLeft - 1 : left;
        const double to = right > shownRight ? shownRight + 1 : right;
        const bool crossed = (from != left || to != right) && from < to;
        const bool decorate = crossed || (from == left && to == right);
        if (m_style->Underline() && decorate) {
            cairo_rectangle(cr, from, decoration.underlinePos, to - from, decoration.underlineThick);
            cairo_fill(cr);
        }
        if (m_style->Strikethrough() && decorate) {
            cairo_rectangle(cr, from, decoration.strikePos - decoration.strikeThick / 2, to - from,
                decoration.strikeThick);
            cairo_fill(cr);
        }
    });
    return true;
}

bool Layout::Draw(int start, int length, double x, double y)
{
    try {
        return DrawRange(start, length, x, y);
    } catch (...) {
        return false;
    }
}

bool Layout::Highlight(int start, int length, double x, double y)
{
    try {
        if (!m_context || !Shape())
            return false;
        ClampRange(start, length);
        if (length == 0)
            return true;
        TextRect tb;
        GlyphBounds(start, length, tb);
        m_context->SaveGState();
        m_context->SetRGBFillColor(m_hl[0] / 255.0, m_hl[1] / 255.0, m_hl[2] / 255.0, 1.0);
        // Measurement y grows down; the context's grows up.
        m_context->FillRect(
            cg::Rect{x + tb.left, y - tb.bottom, double(tb.right - tb.left), double(tb.bottom - tb.top)});
        m_context->RestoreGState();
        return DrawRange(start, length, x, y);
    } catch (...) {
        return false;
    }
}

} // namespace qm::text
