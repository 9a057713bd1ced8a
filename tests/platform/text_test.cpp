#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/cg/Context.h"
#include "platform/text/FontCatalogue.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"

using namespace qm::text;

namespace {

std::vector<std::uint16_t> U16(const std::string& s)
{
    return std::vector<std::uint16_t>(s.begin(), s.end());
}

struct Fixture
{
    Style style;
    Layout layout;
    std::vector<std::uint16_t> text;
    explicit Fixture(const std::string& s, double size = 16, long font = kDefaultFontId) : text(U16(s))
    {
        style.SetSize(size);
        style.SetFontId(font);
        layout.SetText(text.data(), int(text.size()));
        layout.SetStyle(&style);
    }
};

} // namespace

TEST(FontCatalogue, AliasesResolveToMetricCompatibleFaces)
{
    FontCatalogue& cat = FontCatalogue::Get();
    ASSERT_TRUE(cat.Ok());
    EXPECT_EQ("Liberation Serif", cat.ResolvedFamily("Times New Roman"));
    EXPECT_EQ("Liberation Sans", cat.ResolvedFamily("Arial"));
    EXPECT_EQ("Liberation Sans", cat.ResolvedFamily("Helvetica"));
    EXPECT_EQ("Liberation Mono", cat.ResolvedFamily("Courier"));
    EXPECT_EQ("Liberation Mono", cat.ResolvedFamily("Courier New", true, true));
    EXPECT_EQ("DejaVu Sans", cat.ResolvedFamily("No Such Family At All"));
    EXPECT_EQ("Times New Roman", cat.FamilyForId(kDefaultFontId));
    EXPECT_EQ("Times New Roman", cat.FamilyForId(999));
    EXPECT_EQ("Liberation Mono", cat.ResolvedFamily(cat.FamilyForId(kMonospaceFontId)));
    EXPECT_EQ(2, cat.FontIdForName("arial"));
    EXPECT_EQ(-1, cat.FontIdForName("Comic"));
}

TEST(TextLayout, PrefixWidthsGrowAndMatchBounds)
{
    Fixture f("Hello, wide world");
    double last = 0;
    for (int n = 1; n <= f.layout.Length(); ++n) {
        double w = f.layout.PrefixWidth(n);
        EXPECT_GT(w, last) << n;
        last = w;
    }
    TextRect all;
    ASSERT_TRUE(f.layout.GlyphBounds(0, f.layout.Length(), all));
    EXPECT_EQ(std::lround(last), all.right - all.left);
    // A range's width is the difference of its prefix sums.
    TextRect mid;
    f.layout.GlyphBounds(7, 4, mid);
    EXPECT_NEAR(f.layout.PrefixWidth(11) - f.layout.PrefixWidth(7), mid.right - mid.left, 0.5 + 1e-9);
    // Monospace: every character the same width.
    Fixture m("iiiWWW", 20, kMonospaceFontId);
    EXPECT_NEAR(m.layout.PrefixWidth(3) * 2, m.layout.PrefixWidth(6), 1e-6);
}

TEST(TextLayout, VerticalMeasuresDoNotDependOnTheText)
{
    Fixture a("Yg"), b("Yg Yg and more Yg");
    TextRect ia, ib;
    ASSERT_TRUE(a.layout.ImageBounds(0, 2, ia));
    ASSERT_TRUE(b.layout.ImageBounds(0, 2, ib));
    EXPECT_EQ(ia.bottom - ia.top, ib.bottom - ib.top);
    EXPECT_LT(ia.top, 0);    // Y above the baseline
    EXPECT_GT(ia.bottom, 0); // g below it

    TextRect ga, gb;
    a.layout.GlyphBounds(0, 1, ga);
    b.layout.GlyphBounds(3, 10, gb);
    EXPECT_EQ(ga.bottom - ga.top, gb.bottom - gb.top);
    EXPECT_EQ(std::lround(a.layout.Ascent()), -ga.top);
    EXPECT_EQ(std::lround(a.layout.Descent()), ga.bottom);
    // Typographic height: ascent + descent of a 16 px face, no line gap.
    EXPECT_GE(ga.bottom - ga.top, 16);
    EXPECT_LE(ga.bottom - ga.top, 20);
    // A blank has no ink.
    Fixture s("a b");
    TextRect ink;
    EXPECT_FALSE(s.layout.ImageBounds(1, 1, ink));
}

TEST(TextLayout, StyleChangesReshape)
{
    Fixture f("measure");
    double w16 = f.layout.PrefixWidth(7);
    f.style.SetSize(32);
    EXPECT_NEAR(w16 * 2, f.layout.PrefixWidth(7), 1.0);
    f.style.SetSize(-16); // negative sizes measure as their absolute value
    EXPECT_NEAR(w16, f.layout.PrefixWidth(7), 1e-6);
}

TEST(TextLayout, TextStampChangesWithTheTextOnly)
{
    Fixture f("one two three");
    Fixture g("one two three");
    EXPECT_NE(f.layout.TextStamp(), g.layout.TextStamp());
    std::uint64_t stamp = f.layout.TextStamp();
    f.layout.PrefixWidth(5);
    f.style.SetSize(20);
    f.layout.PrefixWidth(5);
    EXPECT_EQ(f.layout.TextStamp(), stamp);
    f.layout.KeepPrefix(8);
    EXPECT_NE(f.layout.TextStamp(), stamp);
    stamp = f.layout.TextStamp();
    f.layout.KeepPrefix(8); // already that long: nothing changes
    EXPECT_EQ(f.layout.TextStamp(), stamp);
    g.style.SetSize(20);
    g.layout.PrefixWidth(1);
    Fixture unshaped("four");
    EXPECT_FALSE(f.layout.Append(unshaped.layout)); // refused: nothing changes
    EXPECT_EQ(f.layout.TextStamp(), stamp);
    ASSERT_TRUE(f.layout.Append(g.layout));
    EXPECT_NE(f.layout.TextStamp(), stamp);
    stamp = f.layout.TextStamp();
    f.layout.SetText(f.text.data(), int(f.text.size()));
    EXPECT_NE(f.layout.TextStamp(), stamp);
}

TEST(TextLayout, LineBreaksAtOpportunities)
{
    Fixture f("abc def ghi");
    const int w3 = int(std::lround(f.layout.PrefixWidth(3)));
    const int w7 = int(std::lround(f.layout.PrefixWidth(7)));
    EXPECT_EQ(4, f.layout.BreakLine(0, w3));     // "abc " - the blank may hang
    EXPECT_EQ(4, f.layout.BreakLine(0, w7 - 1)); // "abc def" does not fit
    EXPECT_EQ(8, f.layout.BreakLine(0, w7));
    EXPECT_EQ(0, f.layout.BreakLine(0, w3 - 1)); // first word too wide
    EXPECT_EQ(11, f.layout.BreakLine(0, 10000));
    EXPECT_EQ(3, f.layout.BreakLine(8, 10000));
    EXPECT_EQ(0, f.layout.BreakLine(11, 10000));
    EXPECT_EQ(0, f.layout.BreakLine(-1, 10000));

    Fixture nl("ab\ncd");
    EXPECT_EQ(3, nl.layout.BreakLine(0, 10000)); // a line feed ends the line
}

TEST(TextLayout, SurrogatePairsCountAsTwoUnitsOneCharacter)
{
    std::vector<std::uint16_t> t = {'a', 0xD83D, 0xDE00, 'b', 0xD800 /* lone */};
    Style style;
    style.SetSize(16);
    Layout layout;
    layout.SetText(t.data(), int(t.size()));
    layout.SetStyle(&style);
    EXPECT_GT(layout.PrefixWidth(1), 0);
    EXPECT_EQ(layout.PrefixWidth(2), layout.PrefixWidth(3)); // the second half adds nothing
    EXPECT_GT(layout.PrefixWidth(3), layout.PrefixWidth(1));
    EXPECT_GT(layout.PrefixWidth(5), layout.PrefixWidth(4));
    TextRect r;
    EXPECT_TRUE(layout.GlyphBounds(-5, 100, r)); // ranges are cut to the text
    EXPECT_EQ(std::lround(layout.PrefixWidth(5)), r.right - r.left);
}

TEST(TextLayout, DrawsInStyleColourAtTheBaseline)
{
    auto ctx = qm::cg::Context::CreateBitmap(nullptr, 80, 40, 0);
    ASSERT_TRUE(ctx);
    Fixture f("HHH", 20);
    f.style.SetColor(255, 0, 0);
    f.layout.SetContext(ctx.get());
    ASSERT_TRUE(f.layout.Draw(0, 3, 5, 10)); // baseline at device row 30
    TextRect ink;
    f.layout.ImageBounds(0, 3, ink);
    int reds = 0, below = 0;
    for (int row = 0; row < 40; ++row)
        for (int x = 0; x < 80; ++x) {
            qm::cg::Pixel p = ctx->ReadPixel(x, row);
            if (p.alpha == 255 && p.red == 255 && p.green == 0 && p.blue == 0) {
                ++reds;
                if (row >= 30)
                    ++below;
            }
        }
    EXPECT_GT(reds, 20);
    EXPECT_EQ(0, below); // "H" has nothing below its baseline
    // Half way up the letters the stems are solid red, and nothing lies
    // left of the ink.
    int solid = 0;
    for (int x = 0; x < 80; ++x) {
        qm::cg::Pixel p = ctx->ReadPixel(x, 30 + ink.top / 2);
        if (p.alpha == 255 && p.red == 255)
            ++solid;
        if (x < 5 + ink.left) {
            EXPECT_EQ(0, p.alpha) << x;
        }
    }
    EXPECT_GE(solid, 6); // two stems for each H
    // No style: nothing to draw with.
    Layout bare;
    bare.SetContext(ctx.get());
    EXPECT_FALSE(bare.Draw(0, 1, 0, 0));
}
