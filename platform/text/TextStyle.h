#pragma once
// A text style: font number, size in pixels (= points at 72 dpi), bold,
// italic, underline, strike-through and colour. Layouts refer to a style
// rather than copy it, so a change made to the style (say, its colour before
// drawing a selection) applies to every layout that uses it; the generation
// number tells them their shaping is out of date.

#include <pango/pango.h>

#include <cstdint>

namespace qm::text {

class Style
{
public:
    Style();
    ~Style();
    Style(const Style&) = delete;
    Style& operator=(const Style&) = delete;

    void SetFontId(long id);
    void SetSize(double pixels); // negative sizes use their absolute value; 0 means 12
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);
    void SetStrikethrough(bool on);
    // 8-bit channels; drawn exactly (255 gives 255).
    void SetColor(std::uint8_t r, std::uint8_t g, std::uint8_t b);

    long FontId() const { return m_fontId; }
    double Size() const { return m_size; }
    bool Bold() const { return m_bold; }
    bool Italic() const { return m_italic; }
    bool Underline() const { return m_underline; }
    bool Strikethrough() const { return m_strike; }
    std::uint8_t Red() const { return m_r; }
    std::uint8_t Green() const { return m_g; }
    std::uint8_t Blue() const { return m_b; }

    // Whether text shapes the same in both styles (font, size, weight, slant).
    bool SameFont(const Style& other) const
    {
        return m_fontId == other.m_fontId && m_size == other.m_size && m_bold == other.m_bold
            && m_italic == other.m_italic;
    }
    // Changes whenever an attribute that affects shaping changes.
    unsigned ShapeGeneration() const { return m_generation; }
    // Pango description of the font (kept by the process for every style of
    // the same font, size, weight and slant).
    const PangoFontDescription* Description() const;

private:
    void Changed();

    // Few bytes: every text run holds a style.
    long m_fontId = 0;
    double m_size = 12;
    unsigned m_generation = 1;
    std::uint8_t m_r = 0, m_g = 0, m_b = 0;
    bool m_bold : 1;
    bool m_italic : 1;
    bool m_underline : 1;
    bool m_strike : 1;
};

} // namespace qm::text
