// Layouts put together from cached words must measure and draw exactly as
// the whole text shaped at once, and measuring must never shape again.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/cg/Context.h"
#include "platform/text/FontCatalogue.h"
#include "platform/text/Shaping.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "platform/text/WordCache.h"

using namespace qm::text;

namespace {

const char16_t* const kTexts[] = {u"A Very Tall Yak, To We Ye!", u"  Ahead  of  AVAST \tWAY", u"a\tb\nc\rd",
    u"fi fl ffi office \u00A0Year \u2014 \u201CYes\u201D \u2026 T",
    u"\u0391\u03BB\u03C6\u03B1 \u0392\u03AE\u03C4\u03B1 \u0416\u0443\u043A", u"x", u" ", u"Y Y Y Y Y Y Y Y",
    u"AVAST Ye Tall Words, To You", u"1111111111111111111 <U", u"12 (7) 3.5 \u2014 Ab 1:2",
    // Blanks before digits and signs in Greek and Cyrillic text, between
    // Latin texts with the same characters after their blanks.
    u"\u0391\u03BB\u03C6\u03B1 12 (7) \u0392\u03AE\u03C4\u03B1 3.5 <U",
    u"\u0416\u0443\u043A 12 (7) \u0416\u0443\u043A 1:2",
    u"The quick brown fox jumps over the lazy dog; 12,345.67 % (ok) [sure] {yes} - yes?",
    // A word longer than the cache keeps, between short ones.
    u"To Pneumonoultramicroscopicsilicovolcanoconiosis-Floccinaucinihilipilification-AVAST Ye"};

struct Measures
{
    std::vector<double> prefix;
    double ascent = 0, descent = 0;
    std::vector<TextRect> ink;
};

Measures Measure(const std::u16string& text, Style& style, bool words)
{
    WordCache::Get().SetEnabled(words);
    Layout layout;
    layout.SetStyle(&style);
    layout.SetText(reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()));
    Measures m;
    for (int i = 0; i <= int(text.size()); ++i)
        m.prefix.push_back(layout.PrefixWidth(i));
    m.ascent = layout.Ascent();
    m.descent = layout.Descent();
    for (int i = 0; i < int(text.size()); i += 3) {
        TextRect r{};
        layout.ImageBounds(i, 3, r);
        m.ink.push_back(r);
        // Ranges holding whole words and parts of others.
        layout.ImageBounds(i, 7, r);
        m.ink.push_back(r);
    }
    // The whole text, and all of it but its ends.
    const int n = int(text.size());
    for (int at : {0, 1}) {
        TextRect r{};
        layout.ImageBounds(at, n - 2 * at, r);
        m.ink.push_back(r);
    }
    WordCache::Get().SetEnabled(true);
    return m;
}

} // namespace

TEST(WordCache, WordsMeasureAsTheWholeText)
{
    ASSERT_TRUE(FontCatalogue::Get().Ok());
    for (long font : {kDefaultFontId, kMonospaceFontId, 2L})
        for (int variant = 0; variant < 4; ++variant)
            for (double size : {13.0, 16.0, 22.0, 31.0}) {
                Style style;
                style.SetFontId(font);
                style.SetSize(size);
                style.SetBold(variant & 1);
                style.SetItalic(variant & 2);
                for (const char16_t* t : kTexts) {
                    const std::u16string text(t);
                    const Measures whole = Measure(text, style, false);
                    const Measures words = Measure(text, style, true);
                    SCOPED_TRACE(
                        std::to_string(font) + "/" + std::to_string(variant) + "/" + std::to_string(size));
                    EXPECT_EQ(whole.prefix, words.prefix) << std::string(text.begin(), text.end());
                    EXPECT_EQ(whole.ascent, words.ascent);
                    EXPECT_EQ(whole.descent, words.descent);
                    for (size_t i = 0; i < whole.ink.size(); ++i) {
                        EXPECT_EQ(whole.ink[i].left, words.ink[i].left) << i;
                        EXPECT_EQ(whole.ink[i].top, words.ink[i].top) << i;
                        EXPECT_EQ(whole.ink[i].right, words.ink[i].right) << i;
                        EXPECT_EQ(whole.ink[i].bottom, words.ink[i].bottom) << i;
                    }
                }
            }
}

TEST(WordCache, WordsDrawAsTheWholeText)
{
    Style style;
    style.SetSize(22);
    style.SetUnderline(true);
    const std::u16string text(u"AVAST Ye Tall Words, To You");
    std::vector<unsigned char> pixels[2];
    for (int pass = 0; pass < 2; ++pass) {
        WordCache::Get().SetEnabled(pass == 1);
        auto ctx = qm::cg::Context::CreateBitmap(nullptr, 400, 40, 1600);
        ASSERT_TRUE(ctx);
        Layout layout;
        layout.SetStyle(&style);
        layout.SetText(reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()));
        layout.SetContext(ctx.get());
        layout.Draw(0, int(text.size()), 3, 12);
        layout.Highlight(6, 8, 3, 12);
        ASSERT_TRUE(ctx->CopyRGBA(pixels[pass]));
    }
    WordCache::Get().SetEnabled(true);
    EXPECT_TRUE(pixels[0] == pixels[1]);
}

// Lines broken from every start at many widths: the same in a layout put
// together from words as in the whole text shaped at once, and each line's
// ink fits the width.
TEST(WordCache, LinesBreakAsInTheWholeText)
{
    Style style;
    style.SetSize(15);
    for (const char16_t* t : kTexts) {
        const std::u16string text(t);
        const int n = int(text.size());
        Layout layouts[2];
        for (int words = 0; words < 2; ++words) {
            WordCache::Get().SetEnabled(words == 1);
            layouts[words].SetStyle(&style);
            layouts[words].SetText(reinterpret_cast<const std::uint16_t*>(text.data()), n);
            layouts[words].PrefixWidth(0); // shaped now, while the cache is as set
        }
        WordCache::Get().SetEnabled(true);
        for (int start = 0; start < n; ++start)
            for (int width = 0; width < 700; width += 13) {
                const int count = layouts[1].BreakLine(start, width);
                EXPECT_EQ(layouts[0].BreakLine(start, width), count)
                    << std::string(text.begin(), text.end()) << " from " << start << " in " << width;
                int ink = start + count;
                while (ink > start && (text[size_t(ink) - 1] == u' ' || text[size_t(ink) - 1] < u' '))
                    --ink;
                if (count > 0) {
                    EXPECT_LE(
                        std::lround(layouts[1].PrefixWidth(ink) - layouts[1].PrefixWidth(start)), width);
                }
            }
    }
}

TEST(WordCache, MeasuringNeverShapesAgainAndWordsAreShapedOnce)
{
    Style style;
    style.SetSize(17);
    const std::u16string text(u"repeat me, repeat me, repeat me again");
    Layout layout;
    layout.SetStyle(&style);
    layout.SetText(reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()));
    layout.PrefixWidth(1);
    const std::uint64_t shaped = ShapingCount();
    TextRect r;
    for (int i = 0; i <= int(text.size()); ++i) {
        layout.PrefixWidth(i);
        layout.GlyphBounds(0, i, r);
        layout.ImageBounds(0, i, r);
    }
    layout.BreakLine(0, 50);
    EXPECT_EQ(ShapingCount(), shaped);
    // Another run of the same words costs no shaping at all.
    Layout again;
    again.SetStyle(&style);
    const std::u16string more(u"repeat me again");
    again.SetText(reinterpret_cast<const std::uint16_t*>(more.data()), int(more.size()));
    again.PrefixWidth(3);
    EXPECT_EQ(ShapingCount(), shaped);
}

TEST(WordCache, KeepingAPrefixMeasuresAsTheShorterText)
{
    Style style;
    style.SetSize(19);
    const std::u16string text(u"To Ye AVAST well-known Year");
    for (int n : {3, 6, 12, 17, 22, 27}) {
        Layout cut;
        cut.SetStyle(&style);
        cut.SetText(reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()));
        cut.PrefixWidth(1);
        const std::uint64_t shaped = Layout::ShapeCount();
        cut.KeepPrefix(n);
        Layout fresh;
        fresh.SetStyle(&style);
        fresh.SetText(reinterpret_cast<const std::uint16_t*>(text.data()), n);
        for (int i = 0; i <= n; ++i)
            EXPECT_EQ(cut.PrefixWidth(i), fresh.PrefixWidth(i)) << n << " " << i;
        EXPECT_EQ(cut.Ascent(), fresh.Ascent());
        // Cut after a blank (the end of a word), nothing is shaped again.
        if (text[size_t(n) - 1] == u' ') {
            EXPECT_EQ(Layout::ShapeCount(), shaped + 1) << n; // the fresh layout only
        }
    }
}

// Pieces of a wrapped run joined again: the shaping of both is taken over
// where the joined text is made of the same words, and then it measures as
// the joined text shaped anew; otherwise nothing changes.
TEST(WordCache, AppendingMeasuresAsTheJoinedText)
{
    Style style;
    style.SetSize(17);
    Style same;
    same.SetSize(17);
    Style bigger;
    bigger.SetSize(18);
    struct Case
    {
        const char16_t* first;
        const char16_t* second;
        Style* secondStyle;
        bool taken;
    } const cases[] = {
        {u"To Ye AVAST ", u"Year well-known Wo", &same, true},
        {u"A Very Tall ", u"Yak, To We Ye!", &same, true},
        {u"\u0416\u0443\u043A 12 ", u"\u0416\u0443\u043A 1:2", &same, true},
        {u"To Ye AVAST ", u"12 Year", &same, false},              // digits would join the word before
        {u"To Ye well-", u"known Year", &same, false},            // no word ends at the join
        {u"To Ye AVAST ", u" Year", &same, false},                // blanks would join the word before
        {u"Alpha ", u"\u0391\u03BB\u03C6\u03B1 b", &same, false}, // two scripts: shaped whole
        {u"To Ye AVAST ", u"Year", &bigger, false},               // another font size
        // No letters before the join: that text and the first word after it
        // are one word of the joined text.
        {u"12 34 ", u"Year", &same, true},
        {u" ", u"Year well-known Wo", &same, true},
        {u", ", u"\u0416\u0443\u043A 1:2", &same, true},
        {u" ", u"12 Year", &same, false}, // nor after it: the joined text's first word is another
        {u"(", u"Year", &same, false},    // no word ends at the join
        {u" ", u"Year", &bigger, false},
    };
    for (const Case& c : cases) {
        const std::u16string first(c.first), second(c.second), joined = first + second;
        Layout a, b, fresh;
        a.SetStyle(&style);
        b.SetStyle(c.secondStyle);
        fresh.SetStyle(&style);
        a.SetText(reinterpret_cast<const std::uint16_t*>(first.data()), int(first.size()));
        b.SetText(reinterpret_cast<const std::uint16_t*>(second.data()), int(second.size()));
        fresh.SetText(reinterpret_cast<const std::uint16_t*>(joined.data()), int(joined.size()));
        a.PrefixWidth(1);
        b.PrefixWidth(1);
        const std::uint64_t shaped = Layout::ShapeCount();
        ASSERT_EQ(a.Append(b), c.taken) << std::string(joined.begin(), joined.end());
        if (!c.taken) {
            EXPECT_EQ(a.Length(), int(first.size()));
            continue;
        }
        ASSERT_EQ(a.Length(), int(joined.size()));
        for (int i = 0; i <= int(joined.size()); ++i)
            EXPECT_EQ(a.PrefixWidth(i), fresh.PrefixWidth(i)) << i;
        EXPECT_EQ(a.Ascent(), fresh.Ascent());
        EXPECT_EQ(a.Descent(), fresh.Descent());
        for (int i = 0; i <= int(joined.size()); ++i)
            EXPECT_EQ(a.WordStartFrom(i), fresh.WordStartFrom(i)) << i;
        EXPECT_EQ(a.BreakLine(0, 60), fresh.BreakLine(0, 60));
        EXPECT_EQ(Layout::ShapeCount(), shaped + 1); // the fresh layout only
    }
}
