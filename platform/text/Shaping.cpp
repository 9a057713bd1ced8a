#include "platform/text/Shaping.h"

#include <algorithm>
#include <map>
#include <memory>

#include "platform/common/Utf8.h"
#include "platform/text/FontCatalogue.h"

namespace qm::text {

namespace {

constexpr double kUnit = double(PANGO_SCALE);

std::uint64_t g_shapings = 0;

struct LayoutRef
{
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};

using qm::utf8::IsHighSurrogate;
using qm::utf8::IsLowSurrogate;

} // namespace

ShapedRun::~ShapedRun()
{
    if (font)
        g_object_unref(font);
}

ShapedRun::ShapedRun(ShapedRun&& other) noexcept
    : font(other.font), x(other.x), glyphs(std::move(other.glyphs))
{
    other.font = nullptr;
}

ShapedRun& ShapedRun::operator=(ShapedRun&& other) noexcept
{
    if (this != &other) {
        if (font)
            g_object_unref(font);
        font = other.font;
        other.font = nullptr;
        x = other.x;
        glyphs = std::move(other.glyphs);
    }
    return *this;
}

void ShapingUtf8(const std::uint16_t* text, int n, std::string& out, std::vector<int>& unitByte,
    std::vector<int>& byteUnit)
{
    out.clear();
    byteUnit.clear();
    unitByte.assign(size_t(n) + 1, 0);
    for (int i = 0; i < n; ++i) {
        const int first = i;
        unitByte[size_t(i)] = int(out.size());
        std::uint32_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
            c = qm::utf8::FromSurrogates(c, text[i + 1]);
            ++i;
            unitByte[size_t(i)] = int(out.size()) + 4;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = 0xFFFD;
        } else if (c < 32 || c == 127) {
            c = ' ';
        }
        unsigned char bytes[4];
        out.append(reinterpret_cast<const char*>(bytes), qm::utf8::Encode(c, bytes));
        byteUnit.push_back(first);
        byteUnit.resize(out.size(), -1);
    }
    unitByte[size_t(n)] = int(out.size());
    byteUnit.push_back(n);
}

std::uint64_t ShapingCount() { return g_shapings; }

bool GlyphInk(PangoFont* font, const PangoGlyphInfo& info, PangoRectangle& ink)
{
    if (!font || info.glyph == PANGO_GLYPH_EMPTY)
        return false;
    pango_font_get_glyph_extents(font, info.glyph, &ink, nullptr);
    if (ink.width <= 0 || ink.height <= 0)
        return false;
    ink.x += info.geometry.x_offset;
    ink.y += info.geometry.y_offset;
    return true;
}

bool ShapeUnits(
    const std::uint16_t* text, int n, const PangoFontDescription* description, Shaping& out, bool rtl)
{
    ++g_shapings;
    FontCatalogue& cat = FontCatalogue::Get();
    out.advance.assign(size_t(n > 0 ? n : 0), 0.0);
    if (!cat.Ok() || n < 0)
        return n >= 0; // no fonts: everything measures 0

    std::string utf8;
    std::vector<int> unitByte, byteUnit;
    ShapingUtf8(text, n, utf8, unitByte, byteUnit);
    auto startsChar = [&](int u) { return byteUnit[size_t(unitByte[size_t(u)])] == u; };
    auto unitOfByte = [&](int byte) {
        while (byte < int(byteUnit.size()) && byteUnit[size_t(byte)] < 0)
            ++byte;
        return byte < int(byteUnit.size()) ? byteUnit[size_t(byte)] : n;
    };

    // The shared context carries the base direction while the line is made.
    PangoContext* context = cat.MeasureContext();
    struct Direction
    {
        PangoContext* context;
        ~Direction() { pango_context_set_base_dir(context, PANGO_DIRECTION_LTR); }
    } direction{context};
    pango_context_set_base_dir(context, rtl ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR);
    std::unique_ptr<PangoLayout, LayoutRef> layout(pango_layout_new(context));
    PangoLayout* pl = layout.get();
    pango_layout_set_auto_dir(pl, FALSE);
    pango_layout_set_font_description(pl, description);
    pango_layout_set_text(pl, utf8.c_str(), int(utf8.size()));
    PangoLayoutLine* line = pango_layout_get_line_readonly(pl, 0);
    PangoRectangle ink, logical;
    pango_layout_line_get_extents(line, &ink, &logical);
    out.ascent = -logical.y / kUnit;
    out.descent = (logical.height + logical.y) / kUnit;

    double penX = 0;
    for (GSList* l = line ? line->runs : nullptr; l; l = l->next) {
        PangoGlyphItem* gi = static_cast<PangoGlyphItem*>(l->data);
        PangoGlyphString* gs = gi->glyphs;
        const int itemStart = gi->item->offset;
        const int itemEnd = itemStart + gi->item->length;
        out.runs.emplace_back();
        ShapedRun* run = &out.runs.back();
        run->font = PANGO_FONT(g_object_ref(gi->item->analysis.font));
        run->x = penX;
        // Cluster starts (byte offsets) of this run in logical order.
        std::map<int, double> clusterWidth;
        for (int g = 0; g < gs->num_glyphs; ++g)
            clusterWidth[itemStart + gs->log_clusters[g]] += gs->glyphs[g].geometry.width / kUnit;
        for (auto it = clusterWidth.begin(); it != clusterWidth.end(); ++it) {
            auto next = std::next(it);
            const int u0 = unitOfByte(it->first);
            const int u1 = unitOfByte(next == clusterWidth.end() ? itemEnd : next->first);
            // Share the cluster's advance among the characters it holds.
            int chars = 0;
            for (int u = u0; u < u1 && u < n; ++u)
                if (startsChar(u))
                    ++chars;
            for (int u = u0; u < u1 && u < n; ++u)
                if (startsChar(u))
                    out.advance[size_t(u)] = it->second / double(chars);
        }
        double x = penX;
        // Words stay in the word cache: room for their glyphs only.
        run->glyphs.reserve(size_t(gs->num_glyphs));
        for (int g = 0; g < gs->num_glyphs; ++g) {
            const PangoGlyphInfo& info = gs->glyphs[g];
            const int cb = itemStart + gs->log_clusters[g];
            auto it = clusterWidth.find(cb);
            auto next = std::next(it);
            const ShapedGlyph glyph{
                info, unitOfByte(cb), unitOfByte(next == clusterWidth.end() ? itemEnd : next->first)};
            run->glyphs.push_back(glyph);
            x += info.geometry.width / kUnit;
        }
        penX = x;
    }
    return true;
}

} // namespace qm::text
