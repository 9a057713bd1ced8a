#include "platform/text/Shaping.h"

#include <harfbuzz/hb-ot.h>
#include <harfbuzz/hb.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>

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

struct GlyphStringFree
{
    void operator()(PangoGlyphString* glyphs) const { pango_glyph_string_free(glyphs); }
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

int ShapingUtf8(const std::uint16_t* text, int n, std::string& out, std::vector<int>& unitByte,
    std::vector<int>& byteUnit)
{
    // Written in place: a unit takes at most three bytes (a surrogate pair
    // four for its two units), so the buffers are sized once, then cut to
    // what was written.
    const size_t units = size_t(n > 0 ? n : 0);
    out.resize(3 * units);
    unitByte.resize(units + 1);
    byteUnit.resize(3 * units + 1);
    char* bytes = out.empty() ? nullptr : &out[0];
    int at = 0, chars = 0;
    for (int i = 0; i < n; ++i) {
        const int first = i;
        unitByte[size_t(i)] = at;
        std::uint32_t c = text[i];
        if (c < 0x80) {
            bytes[at] = char(c < 32 || c == 127 ? ' ' : c); // controls shape as blanks
            byteUnit[size_t(at++)] = first;
            ++chars;
            continue;
        }
        if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
            c = qm::utf8::FromSurrogates(c, text[i + 1]);
            ++i;
            unitByte[size_t(i)] = at + 4;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = 0xFFFD;
        }
        unsigned char encoded[4];
        const int length = qm::utf8::Encode(c, encoded);
        byteUnit[size_t(at)] = first;
        for (int b = 0; b < length; ++b) {
            bytes[at + b] = char(encoded[b]);
            if (b > 0)
                byteUnit[size_t(at + b)] = -1;
        }
        at += length;
        ++chars;
    }
    unitByte[units] = at;
    out.resize(size_t(at));
    byteUnit.resize(size_t(at) + 1);
    byteUnit[size_t(at)] = n > 0 ? n : 0;
    return chars;
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

namespace {

// A run of the line: an item and its glyphs, in the line's visual order.
struct LineRun
{
    const PangoItem* item;
    const PangoGlyphString* glyphs;
};

// The text of a shaping converted for the shaper, with the unit at every
// byte.
struct ShapingText
{
    std::string utf8;
    std::vector<int> unitByte, byteUnit;
    int n = 0;

    bool StartsChar(int u) const { return byteUnit[size_t(unitByte[size_t(u)])] == u; }
    int UnitOfByte(int byte) const
    {
        while (byte < int(byteUnit.size()) && byteUnit[size_t(byte)] < 0)
            ++byte;
        return byte < int(byteUnit.size()) ? byteUnit[size_t(byte)] : n;
    }
};

// A run's clusters in logical order: the byte each starts at and its
// glyphs' advances summed in glyph order; and the cluster of every glyph.
// A shaper keeps a cluster's glyphs together, so the clusters come in one
// direction; any other order is sorted.
void Clusters(const PangoGlyphString* gs, int itemStart, std::vector<std::pair<int, double>>& clusters,
    std::vector<size_t>& ofGlyph)
{
    clusters.clear();
    ofGlyph.resize(size_t(gs->num_glyphs));
    bool up = true, down = true;
    for (int g = 0; g < gs->num_glyphs; ++g) {
        const int key = itemStart + gs->log_clusters[g];
        const double width = gs->glyphs[g].geometry.width / kUnit;
        if (!clusters.empty() && clusters.back().first == key) {
            clusters.back().second += width;
        } else {
            if (!clusters.empty()) {
                up = up && key > clusters.back().first;
                down = down && key < clusters.back().first;
            }
            clusters.emplace_back(key, width);
        }
        ofGlyph[size_t(g)] = clusters.size() - 1;
    }
    if (up)
        return;
    if (down) {
        std::reverse(clusters.begin(), clusters.end());
        for (size_t& c : ofGlyph)
            c = clusters.size() - 1 - c;
        return;
    }
    std::map<int, double> widths;
    for (int g = 0; g < gs->num_glyphs; ++g)
        widths[itemStart + gs->log_clusters[g]] += gs->glyphs[g].geometry.width / kUnit;
    clusters.assign(widths.begin(), widths.end());
    for (int g = 0; g < gs->num_glyphs; ++g)
        ofGlyph[size_t(g)] = size_t(std::lower_bound(clusters.begin(), clusters.end(),
                                        std::make_pair(itemStart + gs->log_clusters[g], -HUGE_VAL))
            - clusters.begin());
}

// What a shaping needs only while it runs, kept from shaping to shaping
// (one at a time on a thread) so that shaping a word allocates for its
// result alone: the converted text, the lists of clusters and the glyph
// string of a direct shaping. A long text gives its room back after use.
struct Scratch
{
    static constexpr int kKeptUnits = 1024;

    ShapingText text;
    std::vector<std::pair<int, double>> clusters;
    std::vector<size_t> ofGlyph;
    std::vector<int> units; // where each cluster starts, and the run's end
    std::vector<LineRun> runs;
    std::unique_ptr<PangoGlyphString, GlyphStringFree> direct;
    bool busy = false;

    void GiveBackRoom()
    {
        std::string().swap(text.utf8);
        std::vector<int>().swap(text.unitByte);
        std::vector<int>().swap(text.byteUnit);
        std::vector<std::pair<int, double>>().swap(clusters);
        std::vector<size_t>().swap(ofGlyph);
        std::vector<int>().swap(units);
        direct.reset();
    }
};

// The thread's scratch while a shaping holds it; a shaping that starts
// while another holds it (none does now) gets one of its own.
class ScratchLease
{
public:
    ScratchLease()
    {
        static thread_local Scratch kept;
        if (kept.busy) {
            m_own = std::make_unique<Scratch>();
            m_scratch = m_own.get();
        } else {
            m_scratch = &kept;
        }
        m_scratch->busy = true;
        m_scratch->runs.clear();
    }
    ~ScratchLease()
    {
        m_scratch->busy = false;
        m_scratch->runs.clear(); // they point into the shaping's own glyph strings
        if (m_scratch->text.n > Scratch::kKeptUnits)
            m_scratch->GiveBackRoom();
        m_scratch->text.n = 0;
    }
    ScratchLease(const ScratchLease&) = delete;
    ScratchLease& operator=(const ScratchLease&) = delete;

    Scratch& operator*() const { return *m_scratch; }
    Scratch* operator->() const { return m_scratch; }

private:
    Scratch* m_scratch = nullptr;
    std::unique_ptr<Scratch> m_own;
};

// The units' advances and the glyph runs of a line's runs.
void TakeRuns(Scratch& scratch, Shaping& out)
{
    const ShapingText& text = scratch.text;
    const std::vector<LineRun>& runs = scratch.runs;
    const int n = text.n;
    double penX = 0;
    std::vector<std::pair<int, double>>& clusters = scratch.clusters;
    std::vector<size_t>& ofGlyph = scratch.ofGlyph;
    std::vector<int>& units = scratch.units;
    out.runs.reserve(runs.size());
    for (const LineRun& lr : runs) {
        const PangoGlyphString* gs = lr.glyphs;
        const int itemStart = lr.item->offset;
        const int itemEnd = itemStart + lr.item->length;
        out.runs.emplace_back();
        ShapedRun* run = &out.runs.back();
        run->font = PANGO_FONT(g_object_ref(lr.item->analysis.font));
        run->x = penX;
        Clusters(gs, itemStart, clusters, ofGlyph);
        // The units of each cluster: from its first byte to the next one's.
        units.resize(clusters.size() + 1);
        for (size_t c = 0; c < clusters.size(); ++c)
            units[c] = text.UnitOfByte(clusters[c].first);
        units.back() = text.UnitOfByte(itemEnd);
        for (size_t c = 0; c < clusters.size(); ++c) {
            const int u0 = units[c];
            const int u1 = units[c + 1];
            if (u1 == u0 + 1 && u0 < n) {
                // The most common cluster: one unit, whole character or not.
                if (text.StartsChar(u0))
                    out.advance[size_t(u0)] = clusters[c].second;
                continue;
            }
            // Share the cluster's advance among the characters it holds.
            int chars = 0;
            for (int u = u0; u < u1 && u < n; ++u)
                if (text.StartsChar(u))
                    ++chars;
            for (int u = u0; u < u1 && u < n; ++u)
                if (text.StartsChar(u))
                    out.advance[size_t(u)] = clusters[c].second / double(chars);
        }
        double x = penX;
        // Words stay in the word cache: room for their glyphs only.
        run->glyphs.reserve(size_t(gs->num_glyphs));
        for (int g = 0; g < gs->num_glyphs; ++g) {
            const PangoGlyphInfo& info = gs->glyphs[g];
            const size_t c = ofGlyph[size_t(g)];
            run->glyphs.push_back(ShapedGlyph{info, units[c], units[c + 1]});
            x += info.geometry.width / kUnit;
        }
        penX = x;
    }
}

void SetLineExtents(const PangoRectangle& logical, Shaping& out)
{
    out.ascent = -logical.y / kUnit;
    out.descent = (logical.height + logical.y) / kUnit;
}

struct ItemsFree
{
    void operator()(GList* items) const { g_list_free_full(items, GDestroyNotify(pango_item_free)); }
};

// Descriptions as keys: equal descriptions share an entry.
struct DescriptionHash
{
    size_t operator()(const PangoFontDescription* d) const { return pango_font_description_hash(d); }
};
struct DescriptionEqual
{
    bool operator()(const PangoFontDescription* a, const PangoFontDescription* b) const
    {
        return pango_font_description_equal(a, b);
    }
};

struct ItemFree
{
    void operator()(PangoItem* item) const { pango_item_free(item); }
};

// The item a text of one script makes in one description when the
// itemizer has nothing to split: its font, script, language and level
// (those of a sample letter of the script), and for each character below
// kPlainChars whether it joins that item (found by itemizing the sample
// with it once).
constexpr std::uint16_t kPlainChars = 0x2028;
struct PlainItem
{
    bool made = false;
    std::unique_ptr<PangoItem, ItemFree> item; // null: the sample does not make one item
    bool direct = false; // shaped straight with HarfBuzz (the font has no coloured glyphs)
    std::vector<std::int8_t> joins = std::vector<std::int8_t>(kPlainChars, -1); // -1 not yet known
};

// What is kept for a description: the attribute that sets it over a whole
// text, as a layout sets its font, and its plain items by script. Kept as
// long as the process, as the descriptions are.
struct DescriptionInfo
{
    PangoAttrList* attrs = nullptr;
    std::map<int, PlainItem> plain;
};

DescriptionInfo& InfoOf(const PangoFontDescription* description)
{
    static auto* infos
        = new std::unordered_map<PangoFontDescription*, DescriptionInfo, DescriptionHash, DescriptionEqual>;
    auto found = infos->find(const_cast<PangoFontDescription*>(description));
    if (found == infos->end()) {
        DescriptionInfo info;
        info.attrs = pango_attr_list_new();
        pango_attr_list_insert(info.attrs, pango_attr_font_desc_new(description));
        found = infos->emplace(pango_font_description_copy(description), std::move(info)).first;
    }
    return found->second;
}

GList* Itemize(const char* utf8, int bytes, PangoAttrList* attrs, bool rtl)
{
    return pango_itemize_with_base_dir(FontCatalogue::Get().MeasureContext(),
        rtl ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR, utf8, 0, bytes, attrs, nullptr);
}

bool SameAnalysis(const PangoAnalysis& a, const PangoAnalysis& b)
{
    return a.font == b.font && a.level == b.level && a.gravity == b.gravity && a.flags == b.flags
        && a.script == b.script && a.language == b.language && !a.extra_attrs && !b.extra_attrs;
}

// A letter of each script whose words go by the plain item ('.' for words
// without letters); 0 for the others.
std::uint16_t SampleOf(int script)
{
    switch (script) {
    case G_UNICODE_SCRIPT_COMMON: return '.';
    case G_UNICODE_SCRIPT_LATIN: return 'a';
    case G_UNICODE_SCRIPT_GREEK: return 0x03B1;
    case G_UNICODE_SCRIPT_CYRILLIC: return 0x0430;
    default: return 0;
    }
}

PlainItem& PlainItemOf(DescriptionInfo& info, int script)
{
    PlainItem& plain = info.plain[script];
    if (!plain.made) {
        plain.made = true;
        char bytes[4];
        const std::uint16_t sample = SampleOf(script);
        const int length = g_unichar_to_utf8(sample, bytes);
        std::unique_ptr<GList, ItemsFree> items(Itemize(bytes, length, info.attrs, false));
        if (sample && items && !items->next) {
            PangoItem* item = static_cast<PangoItem*>(items->data);
            if (item->analysis.font && int(item->analysis.script) == script && item->analysis.level == 0) {
                plain.item.reset(pango_item_copy(item));
                hb_font_t* font = pango_font_get_hb_font(item->analysis.font);
                hb_face_t* face = font ? hb_font_get_face(font) : nullptr;
                plain.direct = face && !hb_ot_color_has_layers(face) && !hb_ot_color_has_png(face)
                    && !hb_ot_color_has_svg(face);
            }
        }
    }
    return plain;
}

// Whether the character, after the sample, stays in the sample's one item,
// and the item's font has a glyph for it (Pango shows a missing glyph its
// own way).
bool Joins(DescriptionInfo& info, PlainItem& plain, int script, std::uint16_t c)
{
    std::int8_t& known = plain.joins[c];
    if (known < 0) {
        std::string text;
        char bytes[8];
        text.append(bytes, size_t(g_unichar_to_utf8(SampleOf(script), bytes)));
        text.append(bytes, size_t(g_unichar_to_utf8(c, bytes)));
        std::unique_ptr<GList, ItemsFree> items(Itemize(text.c_str(), int(text.size()), info.attrs, false));
        hb_font_t* font = pango_font_get_hb_font(plain.item->analysis.font);
        hb_codepoint_t glyph;
        known = items && !items->next
            && SameAnalysis(static_cast<PangoItem*>(items->data)->analysis, plain.item->analysis) && font
            && hb_font_get_nominal_glyph(font, c, &glyph);
    }
    return known;
}

bool IsMark(std::uint16_t c)
{
    const GUnicodeType type = g_unichar_type(c);
    return type == G_UNICODE_NON_SPACING_MARK || type == G_UNICODE_SPACING_MARK
        || type == G_UNICODE_ENCLOSING_MARK;
}

// The item the whole text makes when the itemizer would make one, with the
// analysis of the text's script; null otherwise (right to left, characters
// outside the plain ones, letters of several scripts or of another script,
// a text of blanks alone, a character of another font).
const PlainItem* PlainItemFor(DescriptionInfo& info, const std::uint16_t* text, int n, bool rtl)
{
    if (rtl)
        return nullptr;
    int script = G_UNICODE_SCRIPT_COMMON;
    bool ink = false;
    for (int i = 0; i < n; ++i) {
        const std::uint16_t c = text[i];
        if (c >= 0x2000 && (c < 0x2010 || c >= 0x2028))
            return nullptr; // no joiners, direction marks, separators or emoji
        if (c >= 0x300 && IsMark(c))
            return nullptr; // a mark may take another font than it takes alone
        int own;
        if (c < 0x80)
            own = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? G_UNICODE_SCRIPT_LATIN
                                                                   : G_UNICODE_SCRIPT_COMMON;
        else
            own = g_unichar_get_script(c);
        if (own == G_UNICODE_SCRIPT_INHERITED)
            own = G_UNICODE_SCRIPT_COMMON;
        if (own != G_UNICODE_SCRIPT_COMMON) {
            if (script != G_UNICODE_SCRIPT_COMMON && own != script)
                return nullptr;
            script = own;
        }
        ink = ink || c > ' ';
    }
    if (!ink || !SampleOf(script))
        return nullptr;
    PlainItem& plain = PlainItemOf(info, script);
    if (!plain.item)
        return nullptr;
    for (int i = 0; i < n; ++i) {
        const std::uint16_t c = text[i] < 32 || text[i] == 127 ? ' ' : text[i]; // shaped as a blank
        if (!Joins(info, plain, script, c))
            return nullptr;
    }
    return &plain;
}

// Shapes the whole text of a plain item straight with HarfBuzz, the buffer
// set as Pango's shaper sets it.
void ShapeDirect(const PangoItem& item, const char* utf8, int bytes, PangoGlyphString* glyphs)
{
    hb_font_t* font = pango_font_get_hb_font(item.analysis.font);
    static hb_buffer_t* buffer = hb_buffer_create(); // kept: one shaping at a time, as the context
    hb_buffer_clear_contents(buffer);
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer,
        hb_script_from_iso15924_tag(g_unicode_script_to_iso15924(GUnicodeScript(item.analysis.script))));
    hb_buffer_set_language(
        buffer, hb_language_from_string(pango_language_to_string(item.analysis.language), -1));
    hb_buffer_set_cluster_level(buffer, HB_BUFFER_CLUSTER_LEVEL_MONOTONE_CHARACTERS);
    hb_buffer_set_flags(buffer, hb_buffer_flags_t(HB_BUFFER_FLAG_BOT | HB_BUFFER_FLAG_EOT));
    hb_buffer_set_invisible_glyph(buffer, PANGO_GLYPH_EMPTY);
    hb_buffer_add_utf8(buffer, utf8, bytes, 0, bytes);
    hb_shape(font, buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, nullptr);
    pango_glyph_string_set_size(glyphs, int(count));
    int last = -1;
    for (unsigned i = 0; i < count; ++i) {
        PangoGlyphInfo& out = glyphs->glyphs[i];
        const int cluster = int(info[i].cluster);
        glyphs->log_clusters[i] = cluster;
        out.glyph = info[i].codepoint;
        out.attr.is_cluster_start = cluster != last;
        out.attr.is_color = 0;
        last = cluster;
        out.geometry.width = position[i].x_advance;
        out.geometry.x_offset = position[i].x_offset;
        out.geometry.y_offset = -position[i].y_offset;
        if (out.geometry.width < 0) {
            out.geometry.width = -out.geometry.width;
            out.geometry.x_offset += out.geometry.width;
        }
    }
}

} // namespace

bool ShapeUnitsThroughLayout(
    const std::uint16_t* text, int n, const PangoFontDescription* description, Shaping& out, bool rtl)
{
    ++g_shapings;
    FontCatalogue& cat = FontCatalogue::Get();
    out.advance.assign(size_t(n > 0 ? n : 0), 0.0);
    if (!cat.Ok() || n < 0)
        return n >= 0; // no fonts: everything measures 0

    ScratchLease scratch;
    ShapingText& st = scratch->text;
    st.n = n;
    ShapingUtf8(text, n, st.utf8, st.unitByte, st.byteUnit);

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
    pango_layout_set_text(pl, st.utf8.c_str(), int(st.utf8.size()));
    PangoLayoutLine* line = pango_layout_get_line_readonly(pl, 0);
    PangoRectangle ink, logical;
    pango_layout_line_get_extents(line, &ink, &logical);
    SetLineExtents(logical, out);
    for (GSList* l = line ? line->runs : nullptr; l; l = l->next) {
        const PangoGlyphItem* gi = static_cast<const PangoGlyphItem*>(l->data);
        scratch->runs.push_back(LineRun{gi->item, gi->glyphs});
    }
    TakeRuns(*scratch, out);
    return true;
}

bool ShapeUnits(
    const std::uint16_t* text, int n, const PangoFontDescription* description, Shaping& out, bool rtl)
{
    FontCatalogue& cat = FontCatalogue::Get();
    // An empty line takes its extents from the font's metrics; a layout
    // ends its line at a line or paragraph separator, and shows a
    // hyphenation point that ends its text as a hyphen: those stay as the
    // layout measures them.
    if (n <= 0 || !cat.Ok()
        || std::any_of(text, text + n, [](std::uint16_t c) { return c >= 0x2027 && c <= 0x2029; }))
        return ShapeUnitsThroughLayout(text, n, description, out, rtl);
    ++g_shapings;
    out.advance.assign(size_t(n), 0.0);
    ScratchLease scratch;
    ShapingText& st = scratch->text;
    st.n = n;
    const int chars = ShapingUtf8(text, n, st.utf8, st.unitByte, st.byteUnit);
    const char* utf8 = st.utf8.c_str();
    const int bytes = int(st.utf8.size());

    // The line as a layout makes it, without the layout: the text's items
    // in its font, in visual order, each shaped with the whole text around
    // it. A text that makes one item of a known kind skips the itemizer.
    DescriptionInfo& info = InfoOf(description);
    std::vector<LineRun>& runs = scratch->runs;
    std::vector<std::unique_ptr<PangoGlyphString, GlyphStringFree>> glyphs;
    auto shape = [&](const PangoItem* item) {
        glyphs.emplace_back(pango_glyph_string_new());
        pango_shape_item(
            const_cast<PangoItem*>(item), utf8, bytes, nullptr, glyphs.back().get(), PANGO_SHAPE_NONE);
        runs.push_back(LineRun{item, glyphs.back().get()});
    };
    PangoItem whole; // the plain item over the whole text, for the direct shaping only
    std::unique_ptr<PangoItem, ItemFree> copy; // one for Pango, which may keep more in an item
    std::unique_ptr<GList, ItemsFree> items;
    GList* visual = nullptr;
    if (const PlainItem* plain = PlainItemFor(info, text, n, rtl)) {
        PangoItem* item = &whole;
        if (plain->direct) {
            whole = *plain->item;
        } else {
            copy.reset(pango_item_copy(plain->item.get()));
            item = copy.get();
        }
        item->offset = 0;
        item->length = bytes;
        item->num_chars = chars;
        if (plain->direct) {
            if (!scratch->direct)
                scratch->direct.reset(pango_glyph_string_new());
            ShapeDirect(whole, utf8, bytes, scratch->direct.get());
            runs.push_back(LineRun{&whole, scratch->direct.get()});
        } else {
            shape(item);
        }
    } else {
        items.reset(Itemize(utf8, bytes, info.attrs, rtl));
        visual = pango_reorder_items(items.get());
    }
    for (GList* l = visual; l; l = l->next)
        shape(static_cast<PangoItem*>(l->data));
    g_list_free(visual);

    // The line's logical extents: the union of its runs' with the origin.
    PangoRectangle line{0, 0, 0, 0};
    for (const LineRun& run : runs) {
        PangoRectangle logical;
        pango_glyph_string_extents(
            const_cast<PangoGlyphString*>(run.glyphs), run.item->analysis.font, nullptr, &logical);
        const int top = std::min(line.y, logical.y);
        line.height = std::max(line.y + line.height, logical.y + logical.height) - top;
        line.y = top;
    }
    SetLineExtents(line, out);
    TakeRuns(*scratch, out);
    return true;
}

} // namespace qm::text
