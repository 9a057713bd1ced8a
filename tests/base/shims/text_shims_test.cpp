#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/shims/TextShims.h"

using qm::cg::Context;

namespace {

struct Scene
{
    std::unique_ptr<Context> ctx = Context::CreateBitmap(nullptr, 300, 200, 0);
    qm::text::Style style;
    qm::text::Layout layout;
    Scene()
    {
        MacSetFontInfo(&style, 16, 0);
        ctx->EnableTrace(true);
    }
    int Draws() const
    {
        int n = 0;
        for (const std::string& t : ctx->Trace())
            if (t.rfind("DrawText(", 0) == 0)
                ++n;
        return n;
    }
    int LineHeight()
    {
        qm::text::Layout probe;
        const std::uint16_t yg[2] = {'Y', 'g'};
        probe.SetText(yg, 2);
        probe.SetStyle(&style);
        qm::text::TextRect r;
        probe.ImageBounds(0, 2, r);
        return r.bottom - r.top;
    }
    int Width(const char* s)
    {
        qm::text::Layout l;
        std::u16string u(s, s + std::char_traits<char>::length(s));
        l.SetText(reinterpret_cast<const std::uint16_t*>(u.data()), int(u.size()));
        l.SetStyle(&style);
        return int(std::lround(l.PrefixWidth(int(u.size()))));
    }
};

} // namespace

TEST(MacSetFontInfo, ResetsTheStyleToPlainBlack)
{
    qm::text::Style s;
    s.SetBold(true);
    s.SetItalic(true);
    s.SetUnderline(true);
    s.SetStrikethrough(true);
    s.SetColor(1, 2, 3);
    MacSetFontInfo(&s, -14, 1);
    EXPECT_FALSE(s.Bold());
    EXPECT_FALSE(s.Italic());
    EXPECT_FALSE(s.Underline());
    EXPECT_FALSE(s.Strikethrough());
    EXPECT_EQ(14, s.Size());
    EXPECT_EQ(0, s.Red() + s.Green() + s.Blue());
    EXPECT_EQ(1, s.FontId());
    MacSetFontInfo(nullptr, 10, 0); // no style: nothing
}

TEST(MacDrawMultiLineText, EmptyTextDrawsNothing)
{
    Scene s;
    CSafeBuf empty;
    MacSetTextAndContext(&s.layout, &s.style, empty, s.ctx.get());
    MacDrawMultiLineText(&s.layout, &s.style, empty, 10, 190, 200);
    EXPECT_EQ(0, s.Draws());
    EXPECT_EQ(0, s.ctx->AllocatedTiles());
}

TEST(MacDrawMultiLineText, StopsWhenNoCharactersFit)
{
    Scene s;
    CSafeBuf text("Extraordinarily short");
    MacSetTextAndContext(&s.layout, &s.style, text, s.ctx.get());
    MacDrawMultiLineText(&s.layout, &s.style, text, 10, 190, s.Width("Extraordinarily") - 1);
    EXPECT_EQ(0, s.Draws());

    // Once the first word fits, the lines go on.
    s.ctx->ClearTrace();
    MacDrawMultiLineText(&s.layout, &s.style, text, 10, 190, s.Width("Extraordinarily"));
    EXPECT_EQ(2, s.Draws());
}

TEST(MacDrawMultiLineText, OneLineHeightApart)
{
    Scene s;
    CSafeBuf text("alpha beta gamma");
    MacSetTextAndContext(&s.layout, &s.style, text, s.ctx.get());
    const int lh = s.LineHeight();
    ASSERT_GT(lh, 10);
    MacDrawMultiLineText(&s.layout, &s.style, text, 10, 190, s.Width("alpha beta") - 1);
    std::vector<std::string> draws;
    for (const std::string& t : s.ctx->Trace())
        if (t.rfind("DrawText(", 0) == 0)
            draws.push_back(t);
    ASSERT_EQ(3u, draws.size());
    // Each piece is placed so that it starts at x = 10.
    const int x2 = int(std::lround(10 - s.layout.PrefixWidth(6)));
    const int x3 = int(std::lround(10 - s.layout.PrefixWidth(11)));
    EXPECT_EQ("DrawText(0, 6, 10, " + std::to_string(190 - lh) + ")", draws[0]);
    EXPECT_EQ("DrawText(6, 5, " + std::to_string(x2) + ", " + std::to_string(190 - 2 * lh) + ")", draws[1]);
    EXPECT_EQ("DrawText(11, 5, " + std::to_string(x3) + ", " + std::to_string(190 - 3 * lh) + ")", draws[2]);
}

TEST(MacGetSize, MeasuresNothing)
{
    int w = 5, h = 6;
    MacGetSize(nullptr, 1, 2, &w, &h, nullptr);
    EXPECT_EQ(0, w);
    EXPECT_EQ(0, h);
    MacGetSize(nullptr, 1, 2, nullptr, nullptr, nullptr);
}
