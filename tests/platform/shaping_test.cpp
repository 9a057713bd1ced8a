// Shaping a line item by item must give what a layout of the same text
// gives, to the Pango unit: the advances, the line's extents and every
// glyph with its font and position.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
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

namespace {

std::vector<int> Numbers(const std::string& text)
{
    std::vector<int> out;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        out.push_back(std::stoi(word, nullptr, 0));
    return out;
}

std::string Hex(const std::string& bytes)
{
    std::string out;
    char two[4];
    for (unsigned char b : bytes) {
        std::snprintf(two, sizeof two, "%02x", b);
        out += (out.empty() ? "" : " ") + std::string(two);
    }
    return out;
}

} // namespace

// The conversion writes into buffers kept from text to text: a text after a
// longer one must not keep any of the longer one's bytes or offsets.
TEST(Shaping, ConversionForTheShaperInReusedBuffers)
{
    const auto cases = qmtest::ReadCaseFile("shaping/utf8.txt", 5);
    ASSERT_FALSE(cases.empty());
    std::vector<const qmtest::CaseLine*> order;
    for (const qmtest::CaseLine& c : cases)
        order.push_back(&c);
    for (auto it = cases.rbegin(); it != cases.rend(); ++it)
        order.push_back(&*it);
    std::string utf8 = "left over";
    std::vector<int> unitByte(40, 7), byteUnit(40, 7);
    for (const qmtest::CaseLine* c : order) {
        SCOPED_TRACE("line " + std::to_string(c->line));
        const std::vector<std::uint16_t> text = Units(c->fields[0]);
        const int chars = ShapingUtf8(text.data(), int(text.size()), utf8, unitByte, byteUnit);
        EXPECT_EQ(Hex(utf8), c->fields[1]);
        EXPECT_EQ(unitByte, Numbers(c->fields[2]));
        EXPECT_EQ(byteUnit, Numbers(c->fields[3]));
        EXPECT_EQ(chars, std::stoi(c->fields[4]));
    }
}

// Shaping keeps its working buffers from text to text: what a text shapes to
// does not depend on what was shaped before it (longer, right to left, of
// other scripts, or long enough for the buffers to be given back).
TEST(Shaping, TextShapesAlikeWhateverWasShapedBefore)
{
    ASSERT_TRUE(FontCatalogue::Get().Ok());
    const auto cases = qmtest::ReadCaseFile("shaping/texts.txt", 1);
    ASSERT_FALSE(cases.empty());
    Style style;
    style.SetSize(13);
    std::string longText;
    while (longText.size() < 3000)
        longText += "Lorem ipsum office “quoted” Αλφα Жук ";
    const std::vector<std::vector<std::uint16_t>> before = {Units(longText), Units("x"),
        Units("שלום עולם abc"), Units("<U+D83D><U+DE00> e<U+0301>"), Units(longText + "שלום")};
    for (const qmtest::CaseLine& c : cases) {
        SCOPED_TRACE("line " + std::to_string(c.line));
        const std::vector<std::uint16_t> text = Units(c.fields[0]);
        Shaping first;
        ASSERT_TRUE(ShapeUnits(text.data(), int(text.size()), style.Description(), first));
        for (size_t b = 0; b < before.size(); ++b) {
            SCOPED_TRACE("after text " + std::to_string(b));
            for (bool rtl : {false, true}) {
                Shaping other, again;
                ASSERT_TRUE(
                    ShapeUnits(before[b].data(), int(before[b].size()), style.Description(), other, rtl));
                ASSERT_TRUE(ShapeUnits(text.data(), int(text.size()), style.Description(), again));
                ExpectSame(again, first);
            }
        }
    }
}
