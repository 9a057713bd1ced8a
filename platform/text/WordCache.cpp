#include "platform/text/WordCache.h"

#include <algorithm>

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
    return m_fonts[FontKey(style.FontId(), style.Size(), style.Bold(), style.Italic())];
}

std::shared_ptr<const Shaping> WordCache::Word(const Style& style, const std::uint16_t* text, int n)
{
    auto shape = [&]() -> std::shared_ptr<const Shaping> {
        auto shaping = std::make_shared<Shaping>();
        if (!ShapeUnits(text, n, style.Description(), *shaping))
            return nullptr;
        return shaping;
    };
    if (n > kMaxWordUnits)
        return shape();
    FontWords& font = Font(style);
    std::u16string key(reinterpret_cast<const char16_t*>(text), size_t(n));
    auto found = font.words.find(key);
    if (found != font.words.end())
        return found->second;
    std::shared_ptr<const Shaping> shaping = shape();
    if (!shaping)
        return nullptr;
    if (m_count >= kMaxWords)
        Clear();
    Font(style).words.emplace(std::move(key), shaping);
    ++m_count;
    return shaping;
}

bool WordCache::BlankBefore(const Style& style, std::uint16_t ch, double& advance)
{
    FontWords& font = Font(style);
    auto found = font.blanks.find(ch);
    if (found == font.blanks.end()) {
        const std::uint16_t pair[2] = {' ', ch};
        Shaping both, alone;
        Blank blank{false, 0};
        if (ShapeUnits(pair, 2, style.Description(), both)
            && ShapeUnits(pair + 1, 1, style.Description(), alone) && both.advance.size() == 2
            && alone.advance.size() == 1 && both.advance[1] == alone.advance[0] && both.advance[0] > 0)
            blank = Blank{true, both.advance[0]};
        found = font.blanks.emplace(ch, blank).first;
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
