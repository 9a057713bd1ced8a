#include "platform/text/WordCache.h"

#include <algorithm>
#include <vector>

#include "platform/text/FontCatalogue.h"
#include "platform/text/TextStyle.h"

namespace qm::text {

WordCache& WordCache::Get()
{
    static WordCache* cache = new WordCache; // lives as long as the font catalogue
    return *cache;
}

WordCache::FontWords& WordCache::Font(const Style& style)
{
    // A text asks for its font once a word: the font asked for last is kept
    // at hand (the fonts' entries are never removed, so the pointer stays),
    // and looked up in the map only when another is asked for.
    if (m_lastFont && std::get<0>(m_lastKey) == style.FontId() && std::get<1>(m_lastKey) == style.Size()
        && std::get<2>(m_lastKey) == style.Bold() && std::get<3>(m_lastKey) == style.Italic())
        return *m_lastFont;
    return OtherFont(style);
}

WordCache::FontWords& WordCache::OtherFont(const Style& style)
{
    const FontKey key(style.FontId(), style.Size(), style.Bold(), style.Italic());
    m_lastFont = &m_fonts[key];
    m_lastKey = key;
    return *m_lastFont;
}

ShapingRef WordCache::Word(const Style& style, const std::uint16_t* text, int n)
{
    auto shape = [&]() -> ShapingRef {
        auto shaping = std::make_unique<Shaping>();
        if (!ShapeUnits(text, n, style.Description(), *shaping))
            return ShapingRef();
        return ShapingRef(shaping.release());
    };
    if (n > kMaxWordUnits)
        return shape();
    FontWords& font = Font(style);
    // The key's buffer is kept from word to word: a look-up makes none.
    m_key.assign(reinterpret_cast<const char16_t*>(text), size_t(n));
    auto found = font.words.find(m_key);
    if (found != font.words.end())
        return found->second;
    ShapingRef shaping = shape();
    if (!shaping)
        return ShapingRef();
    if (m_count >= kMaxWords)
        Clear();
    font.words.emplace(m_key, shaping);
    ++m_count;
    return shaping;
}

bool WordCache::BlankBefore(const Style& style, std::uint16_t ch, int script, double& advance)
{
    FontWords& font = Font(style);
    // Most words start with a character below 128: those of the script
    // asked for last are read from a table.
    const bool ascii = ch < kAsciiBlanks;
    if (ascii && font.asciiScript == script && font.asciiKnown[ch]) {
        advance = font.ascii[ch].advance;
        return font.ascii[ch].ok;
    }
    auto found = font.blanks.find({ch, script});
    if (found == font.blanks.end()) {
        // A character that takes its script from the text around it is
        // shaped after a letter of the text's script (which kerns with the
        // blank alone, not with what follows it).
        std::vector<std::uint16_t> pair;
        const GUnicodeScript own = g_unichar_get_script(ch);
        if (script && (own == G_UNICODE_SCRIPT_COMMON || own == G_UNICODE_SCRIPT_INHERITED))
            pair.push_back(script == G_UNICODE_SCRIPT_GREEK ? 0x03BD
                    : script == G_UNICODE_SCRIPT_CYRILLIC   ? 0x043D
                                                            : 'n');
        const size_t at = pair.size();
        pair.push_back(' ');
        pair.push_back(ch);
        std::vector<std::uint16_t> alone(pair);
        alone.erase(alone.begin() + std::ptrdiff_t(at));
        Shaping both, single;
        Blank blank{false, 0};
        if (ShapeUnits(pair.data(), int(pair.size()), style.Description(), both)
            && ShapeUnits(alone.data(), int(alone.size()), style.Description(), single)
            && both.advance.size() == pair.size() && single.advance.size() == alone.size()
            && both.advance[at + 1] == single.advance[at] && both.advance[at] > 0)
            blank = Blank{true, both.advance[at]};
        found = font.blanks.emplace(std::make_pair(ch, script), blank).first;
    }
    if (ascii) {
        if (font.asciiScript != script) {
            font.asciiKnown.fill(false);
            font.asciiScript = script;
        }
        font.ascii[ch] = found->second;
        font.asciiKnown[ch] = true;
    }
    advance = found->second.advance;
    return found->second.ok;
}

const WordCache::Decoration& WordCache::Decorations(const Style& style)
{
    FontWords& font = Font(style);
    if (font.decorationKnown)
        return font.decoration;
    FontCatalogue& cat = FontCatalogue::Get();
    constexpr double kUnit = double(PANGO_SCALE);
    if (cat.Ok()) {
        PangoFont* f = pango_font_map_load_font(cat.FontMap(), cat.MeasureContext(), style.Description());
        if (f) {
            PangoFontMetrics* m = pango_font_get_metrics(f, nullptr);
            Decoration& d = font.decoration;
            d.underlinePos = -pango_font_metrics_get_underline_position(m) / kUnit;
            d.underlineThick = std::max(1.0, pango_font_metrics_get_underline_thickness(m) / kUnit);
            d.strikePos = -pango_font_metrics_get_strikethrough_position(m) / kUnit;
            d.strikeThick = std::max(1.0, pango_font_metrics_get_strikethrough_thickness(m) / kUnit);
            pango_font_metrics_unref(m);
            g_object_unref(f);
        }
    }
    font.decorationKnown = true;
    return font.decoration;
}

void WordCache::Clear()
{
    for (auto& [key, font] : m_fonts)
        font.words.clear();
    m_count = 0;
}

} // namespace qm::text
