#include "platform/text/TextStyle.h"

#include <cmath>

#include "platform/text/FontCatalogue.h"

namespace qm::text {

Style::Style() = default;

Style::~Style()
{
    if (m_desc)
        pango_font_description_free(m_desc);
}

void Style::Changed()
{
    ++m_generation;
    if (m_desc) {
        pango_font_description_free(m_desc);
        m_desc = nullptr;
    }
}

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
    if (!m_desc)
        m_desc = NewFontDescription(FontCatalogue::Get().FamilyForId(m_fontId), m_size, m_bold, m_italic);
    return m_desc;
}

} // namespace qm::text
