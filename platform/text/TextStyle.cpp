#include "platform/text/TextStyle.h"

#include <cmath>
#include <map>
#include <tuple>

#include "platform/text/FontCatalogue.h"

namespace qm::text {

Style::Style() : m_bold(false), m_italic(false), m_underline(false), m_strike(false) { }

Style::~Style() = default;

void Style::Changed() { ++m_generation; }

void Style::SetFontId(long id)
{
    if (id != m_fontId) {
        m_fontId = id;
        Changed();
    }
}

void Style::SetSize(double pixels)
{
    double s = std::isfinite(pixels) ? std::fabs(pixels) : 0;
    if (s == 0)
        s = 12;
    if (s > 4000)
        s = 4000; // far beyond any page; keeps glyph rasters bounded
    if (s != m_size) {
        m_size = s;
        Changed();
    }
}

void Style::SetBold(bool on)
{
    if (on != m_bold) {
        m_bold = on;
        Changed();
    }
}

void Style::SetItalic(bool on)
{
    if (on != m_italic) {
        m_italic = on;
        Changed();
    }
}

void Style::SetUnderline(bool on) { m_underline = on; }
void Style::SetStrikethrough(bool on) { m_strike = on; }

void Style::SetColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    m_r = r;
    m_g = g;
    m_b = b;
}

const PangoFontDescription* Style::Description() const
{
    // One description for each font, size, weight and slant, kept as long
    // as the process (as the font catalogue is): a style holds none of its
    // own, every text run having a style.
    typedef std::tuple<long, double, bool, bool> Key;
    static auto* descriptions = new std::map<Key, PangoFontDescription*>;
    PangoFontDescription*& desc = (*descriptions)[Key(m_fontId, m_size, m_bold, m_italic)];
    if (!desc)
        desc = NewFontDescription(FontCatalogue::Get().FamilyForId(m_fontId), m_size, m_bold, m_italic);
    return desc;
}

} // namespace qm::text
