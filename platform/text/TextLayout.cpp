#include "platform/text/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "platform/common/Utf8.h"
#include "platform/text/FontCatalogue.h"

namespace qm::text {

struct Layout::Glyph
{
    int unitStart;
    int unitEnd;
    bool hasInk;
    double inkX0, inkY0, inkX1, inkY1; // relative to the line origin, y down
};

struct Layout::Run
{
    PangoGlyphItem* item; // owned by the Pango layout
    double x;             // pen position of the run's first glyph, pixels
    std::vector<Glyph> glyphs;
};

namespace {

constexpr double kUnit = double(PANGO_SCALE);

using qm::utf8::IsHighSurrogate;
using qm::utf8::IsLowSurrogate;

// UTF-16 to UTF-8 with the byte offset of every unit and, for every byte that
// starts a character, the unit it came from (-1 for the other bytes; the byte
// after the text maps to the text's length). A unit that starts no character
// (the second half of a surrogate pair) maps to the byte after its character.
// Control characters become blanks so the text stays one line; lone
// surrogates become U+FFFD.
void ToUtf8(const std::vector<std::uint16_t>& text, std::string& out, std::vector<int>& unitByte,
    std::vector<int>& byteUnit)
{
    out.clear();
    byteUnit.clear();
    unitByte.assign(text.size() + 1, 0);
    size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t first = i;
        unitByte[i] = int(out.size());
        std::uint32_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
            c = qm::utf8::FromSurrogates(c, text[i + 1]);
            ++i;
            unitByte[i] = int(out.size()) + 4;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = 0xFFFD;
        } else if (c < 32 || c == 127) {
            c = ' ';
        }
        unsigned char bytes[4];
        out.append(reinterpret_cast<const char*>(bytes), qm::utf8::Encode(c, bytes));
        byteUnit.push_back(int(first));
        byteUnit.resize(out.size(), -1);
    }
    unitByte[n] = int(out.size());
    byteUnit.push_back(int(n));
}

struct GlyphStringFree
{
    void operator()(PangoGlyphString* glyphs) const { pango_glyph_string_free(glyphs); }
};
typedef std::unique_ptr<PangoGlyphString, GlyphStringFree> GlyphStringRef;

bool IsBlank(std::uint16_t c) { return c == ' ' || c == '\t' || c == 0xA0 || c == 0x3000; }
bool IsHardBreak(std::uint16_t c) { return c == '\n' || c == '\r'; }

} // namespace

Layout::Layout() = default;

Layout::~Layout() { ClearShaping(); }

void Layout::ClearShaping()
{
    for (Run* r : m_runs)
        delete r;
    m_runs.clear();
    if (m_pangoLayout)
        g_object_unref(static_cast<PangoLayout*>(m_pangoLayout));
    m_pangoLayout = nullptr;
    m_prefix.clear();
    m_breakBefore.clear();
    m_shaped = false;
}

void Layout::SetText(const std::uint16_t* text, int length)
{
    ClearShaping();
    m_text.clear();
    try {
        if (text && length > 0)
            m_text.assign(text, text + length);
    } catch (...) {
        m_text.clear(); // text that cannot be held is no text
    }
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

bool Layout::Shape()
{
    if (!m_style)
        return false;
    if (m_shaped && m_shapedGeneration == m_style->ShapeGeneration())
        return true;
    ClearShaping();
    FontCatalogue& cat = FontCatalogue::Get();
    const int n = Length();
    m_prefix.assign(size_t(n) + 1, 0.0);
    m_breakBefore.assign(size_t(n) + 1, false);
    if (n > 0)
        m_breakBefore[size_t(n)] = true;
    m_shapedGeneration = m_style->ShapeGeneration();
    m_shaped = true;
    if (!cat.Ok())
        return true; // no fonts: everything measures 0

    try {
        std::string utf8;
        std::vector<int> unitByte, byteUnit;
        ToUtf8(m_text, utf8, unitByte, byteUnit);
        auto startsChar = [&](int u) { return byteUnit[size_t(unitByte[size_t(u)])] == u; };

        PangoLayout* pl = pango_layout_new(cat.MeasureContext());
        m_pangoLayout = pl;
        pango_layout_set_auto_dir(pl, FALSE);
        pango_layout_set_font_description(pl, m_style->Description());
        pango_layout_set_text(pl, utf8.c_str(), int(utf8.size()));
        PangoLayoutLine* line = pango_layout_get_line_readonly(pl, 0);

        PangoRectangle ink, logical;
        pango_layout_line_get_extents(line, &ink, &logical);
        m_ascent = -logical.y / kUnit;
        m_descent = (logical.height + logical.y) / kUnit;

        // Decoration metrics of the primary font.
        PangoFont* font
            = pango_font_map_load_font(cat.FontMap(), cat.MeasureContext(), m_style->Description());
        if (font) {
            PangoFontMetrics* m = pango_font_get_metrics(font, nullptr);
            m_underlinePos = -pango_font_metrics_get_underline_position(m) / kUnit;
            m_underlineThick = std::max(1.0, pango_font_metrics_get_underline_thickness(m) / kUnit);
            m_strikePos = -pango_font_metrics_get_strikethrough_position(m) / kUnit;
            m_strikeThick = std::max(1.0, pango_font_metrics_get_strikethrough_thickness(m) / kUnit);
            pango_font_metrics_unref(m);
            g_object_unref(font);
        }

        std::vector<double> advance(size_t(n), 0.0);
        double penX = 0;
        for (GSList* l = line ? line->runs : nullptr; l; l = l->next) {
            PangoGlyphItem* gi = static_cast<PangoGlyphItem*>(l->data);
            PangoGlyphString* gs = gi->glyphs;
            const int itemStart = gi->item->offset;
            const int itemEnd = itemStart + gi->item->length;
            Run* run = new Run{gi, penX, {}};
            m_runs.push_back(run);
            // Cluster starts (byte offsets) of this run in logical order.
            std::map<int, double> clusterWidth;
            for (int g = 0; g < gs->num_glyphs; ++g)
                clusterWidth[itemStart + gs->log_clusters[g]] += gs->glyphs[g].geometry.width / kUnit;
            auto unitOfByte = [&](int byte) {
                while (byte < int(byteUnit.size()) && byteUnit[size_t(byte)] < 0)
                    ++byte;
                return byte < int(byteUnit.size()) ? byteUnit[size_t(byte)] : n;
            };
            for (auto it = clusterWidth.begin(); it != clusterWidth.end(); ++it) {
                auto next = std::next(it);
                int u0 = unitOfByte(it->first);
                int u1 = unitOfByte(next == clusterWidth.end() ? itemEnd : next->first);
                // Share the cluster's advance among the characters it holds.
                int chars = 0;
                for (int u = u0; u < u1 && u < n; ++u)
                    if (startsChar(u))
                        ++chars;
                for (int u = u0; u < u1 && u < n; ++u)
                    if (startsChar(u))
                        advance[size_t(u)] = it->second / double(chars);
            }
            double x = penX;
            for (int g = 0; g < gs->num_glyphs; ++g) {
                const PangoGlyphInfo& info = gs->glyphs[g];
                int cb = itemStart + gs->log_clusters[g];
                auto it = clusterWidth.find(cb);
                auto next = std::next(it);
                Glyph glyph{unitOfByte(cb), unitOfByte(next == clusterWidth.end() ? itemEnd : next->first),
                    false, 0, 0, 0, 0};
                if (info.glyph != PANGO_GLYPH_EMPTY) {
                    PangoRectangle gink;
                    pango_font_get_glyph_extents(gi->item->analysis.font, info.glyph, &gink, nullptr);
                    if (gink.width > 0 && gink.height > 0) {
                        glyph.hasInk = true;
                        glyph.inkX0 = x + (info.geometry.x_offset + gink.x) / kUnit;
                        glyph.inkY0 = (info.geometry.y_offset + gink.y) / kUnit;
                        glyph.inkX1 = glyph.inkX0 + gink.width / kUnit;
                        glyph.inkY1 = glyph.inkY0 + gink.height / kUnit;
                    }
                }
                run->glyphs.push_back(glyph);
                x += info.geometry.width / kUnit;
            }
            penX = x;
        }
        for (int i = 0; i < n; ++i)
            m_prefix[size_t(i) + 1] = m_prefix[size_t(i)] + advance[size_t(i)];

        // Break opportunities: Pango's per-character attributes, mapped to units.
        int nAttrs = 0;
        const PangoLogAttr* attrs = pango_layout_get_log_attrs_readonly(pl, &nAttrs);
        int charIndex = 0;
        for (int u = 0; u <= n && charIndex < nAttrs; ++u) {
            if (u < n && !startsChar(u))
                continue; // inside a character
            if (attrs[charIndex].is_line_break && u > 0)
                m_breakBefore[size_t(u)] = true;
            ++charIndex;
        }
        for (int u = 1; u <= n; ++u)
            if (IsHardBreak(m_text[size_t(u) - 1]))
                m_breakBefore[size_t(u)] = true;
    } catch (...) {
        ClearShaping();
        return false;
    }
    return true;
}

double Layout::PrefixWidth(int n)
{
    if (!Shape())
        return 0;
    n = std::clamp(n, 0, Length());
    return m_prefix[size_t(n)];
}

double Layout::Ascent() { return Shape() ? m_ascent : 0; }
double Layout::Descent() { return Shape() ? m_descent : 0; }

bool Layout::GlyphBounds(int start, int length, TextRect& out)
{
    out = TextRect{0, 0, 0, 0};
    if (!Shape())
        return false;
    ClampRange(start, length);
    double x0 = m_prefix[size_t(start)];
    double w = m_prefix[size_t(start + length)] - x0;
    out.left = int(std::lround(x0));
    out.right = out.left + int(std::lround(w));
    out.top = -int(std::lround(m_ascent));
    out.bottom = int(std::lround(m_descent));
    return true;
}

bool Layout::ImageBounds(int start, int length, TextRect& out)
{
    out = TextRect{0, 0, 0, 0};
    if (!Shape())
        return false;
    ClampRange(start, length);
    int end = start + length;
    bool any = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const Run* r : m_runs)
        for (const Glyph& g : r->glyphs) {
            if (!g.hasInk || g.unitEnd <= start || g.unitStart >= end)
                continue;
            if (!any) {
                x0 = g.inkX0, y0 = g.inkY0, x1 = g.inkX1, y1 = g.inkY1;
                any = true;
            } else {
                x0 = std::min(x0, g.inkX0), y0 = std::min(y0, g.inkY0);
                x1 = std::max(x1, g.inkX1), y1 = std::max(y1, g.inkY1);
            }
        }
    if (!any)
        return false;
    out = TextRect{int(std::floor(x0)), int(std::floor(y0)), int(std::ceil(x1)), int(std::ceil(y1))};
    return true;
}

int Layout::BreakLine(int start, int width)
{
    const int n = Length();
    if (start < 0 || start >= n || !Shape())
        return 0;
    int best = 0;
    for (int e = start + 1; e <= n; ++e) {
        if (!m_breakBefore[size_t(e)])
            continue;
        // Blanks and a line end at the end of the line may hang past the width.
        int ink = e;
        while (ink > start && (IsBlank(m_text[size_t(ink) - 1]) || IsHardBreak(m_text[size_t(ink) - 1])))
            --ink;
        double w = m_prefix[size_t(ink)] - m_prefix[size_t(start)];
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
    if (length == 0 || m_runs.empty())
        return true;
    const int end = start + length;
    const double size = m_style->Size();
    double left = m_prefix[size_t(start)], right = m_prefix[size_t(end)];
    cg::Rect bounds{
        x + left - size, y - m_descent - size, right - left + 2 * size, m_ascent + m_descent + 2 * size};
    const std::string trace = m_context->IsTracing()
        ? "DrawText(" + std::to_string(start) + ", " + std::to_string(length) + ", "
            + std::to_string(int(std::lround(x))) + ", " + std::to_string(int(std::lround(y))) + ")"
        : std::string();
    const double r = m_style->Red() / 255.0, g = m_style->Green() / 255.0, b = m_style->Blue() / 255.0;
    // The glyph strings of the runs the range touches, with the glyphs outside
    // the range blanked: made once, then drawn on every tile.
    auto inRange = [&](const Glyph& gl) { return gl.unitStart < end && gl.unitEnd > start; };
    std::vector<std::pair<const Run*, GlyphStringRef>> shown;
    for (const Run* run : m_runs) {
        if (std::none_of(run->glyphs.begin(), run->glyphs.end(), inRange))
            continue;
        GlyphStringRef glyphs(pango_glyph_string_copy(run->item->glyphs));
        for (int i = 0; i < glyphs->num_glyphs; ++i)
            if (!inRange(run->glyphs[size_t(i)]))
                glyphs->glyphs[i].glyph = PANGO_GLYPH_EMPTY;
        shown.emplace_back(run, std::move(glyphs));
    }
    m_context->DrawWithCairo(bounds, true, trace, [&](cairo_t* cr) {
        cairo_translate(cr, x, y);
        cairo_scale(cr, 1, -1); // glyphs upright: y grows down from the baseline
        cairo_set_source_rgb(cr, r, g, b);
        for (const auto& [run, glyphs] : shown) {
            cairo_move_to(cr, run->x, 0);
            pango_cairo_show_glyph_string(cr, run->item->item->analysis.font, glyphs.get());
        }
        if (m_style->Underline()) {
            cairo_rectangle(cr, left, m_underlinePos, right - left, m_underlineThick);
            cairo_fill(cr);
        }
        if (m_style->Strikethrough()) {
            cairo_rectangle(cr, left, m_strikePos - m_strikeThick / 2, right - left, m_strikeThick);
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
