// Shaping a line item by item must give what a layout of the same text
// gives, to the Pango unit: the advances, the line's extents and every
// glyph with its font and position.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/Utf8.h"
#include "platform/text/FontCatalogue.h"
#include "platform/text/Shaping.h"
#include "platform/text/TextStyle.h"
#include "tests/common/CaseFile.h"

using namespace qm::text;

namespace {

// UTF-8 to UTF-16, "<U+XXXX>" standing for that one unit.
std::vector<std::uint16_t> Units(const std::string& text)
{
    std::vector<std::uint16_t> out;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 3, "<U+") == 0 && i + 8 <= text.size() && text[i + 7] == '>') {
            out.push_back(std::uint16_t(std::stoul(text.substr(i + 3, 4), nullptr, 16)));
            i += 8;
            continue;
        }
        char32_t c = 0;
        const int used = qm::utf8::Decode(p + i, text.size() - i, c);
        i += size_t(used > 0 ? used : 1);
        if (c >= 0x10000) {
            out.push_back(qm::utf8::HighSurrogate(c));
            out.push_back(qm::utf8::LowSurrogate(c));
        } else {
            out.push_back(std::uint16_t(c));
        }
    }
    return out;
}

void ExpectSame(const Shaping& lines, const Shaping& layout)
{
    EXPECT_EQ(lines.advance, layout.advance);
    EXPECT_EQ(lines.ascent, layout.ascent);
    EXPECT_EQ(lines.descent, layout.descent);
    ASSERT_EQ(lines.runs.size(), layout.runs.size());
    for (size_t r = 0; r < lines.runs.size(); ++r) {
        const ShapedRun& a = lines.runs[r];
        const ShapedRun& b = layout.runs[r];
        EXPECT_EQ(a.font, b.font) << "run " << r;
        EXPECT_EQ(a.x, b.x) << "run " << r;
        ASSERT_EQ(a.glyphs.size(), b.glyphs.size()) << "run " << r;
        for (size_t g = 0; g < a.glyphs.size(); ++g) {
            const ShapedGlyph& x = a.glyphs[g];
            const ShapedGlyph& y = b.glyphs[g];
            EXPECT_EQ(x.info.glyph, y.info.glyph) << "glyph " << g;
            EXPECT_EQ(x.info.geometry.width, y.info.geometry.width) << "glyph " << g;
            EXPECT_EQ(x.info.geometry.x_offset, y.info.geometry.x_offset) << "glyph " << g;
            EXPECT_EQ(x.info.geometry.y_offset, y.info.geometry.y_offset) << "glyph " << g;
            EXPECT_EQ(x.info.attr.is_cluster_start, y.info.attr.is_cluster_start) << "glyph " << g;
            EXPECT_EQ(x.info.attr.is_color, y.info.attr.is_color) << "glyph " << g;
            EXPECT_EQ(x.unitStart, y.unitStart) << "glyph " << g;
            EXPECT_EQ(x.unitEnd, y.unitEnd) << "glyph " << g;
        }
    }
}

} // namespace

TEST(Shaping, LinesShapeAsLayoutsDo)
{
    ASSERT_TRUE(FontCatalogue::Get().Ok());
    const auto cases = qmtest::ReadCaseFile("shaping/texts.txt", 1);
    ASSERT_FALSE(cases.empty());
    for (long font : {kDefaultFontId, kMonospaceFontId, 2L})
        for (int variant = 0; variant < 4; ++variant)
            for (double size : {11.0, 16.0, 27.5}) {
                Style style;
                style.SetFontId(font);
                style.SetSize(size);
                style.SetBold(variant & 1);
                style.SetItalic(variant & 2);
                for (const qmtest::CaseLine& c : cases)
                    for (bool rtl : {false, true}) {
                        SCOPED_TRACE("line " + std::to_string(c.line) + " font " + std::to_string(font) + "/"
                            + std::to_string(variant) + "/" + std::to_string(size) + (rtl ? " rtl" : ""));
                        const std::vector<std::uint16_t> text = Units(c.fields[0]);
                        Shaping lines, layout;
                        ASSERT_TRUE(
                            ShapeUnits(text.data(), int(text.size()), style.Description(), lines, rtl));
                        ASSERT_TRUE(ShapeUnitsThroughLayout(
                            text.data(), int(text.size()), style.Description(), layout, rtl));
                        ExpectSame(lines, layout);
                    }
            }
}

// A description equal to another, made apart, measures as that one does:
// what is kept for a description goes by its value.
TEST(Shaping, EqualDescriptionsShareWhatIsKept)
{
    ASSERT_TRUE(FontCatalogue::Get().Ok());
    const std::vector<std::uint16_t> text = Units("Kept AVAST");
    for (int round = 0; round < 3; ++round) {
        PangoFontDescription* desc = NewFontDescription("Arial", 14 + round, round == 1, false);
        Shaping lines, layout;
        ASSERT_TRUE(ShapeUnits(text.data(), int(text.size()), desc, lines));
        ASSERT_TRUE(ShapeUnitsThroughLayout(text.data(), int(text.size()), desc, layout));
        pango_font_description_free(desc);
        ExpectSame(lines, layout);
    }
}
