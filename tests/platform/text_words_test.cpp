// Which texts go by cached words (plain text of one script) and which are
// shaped whole, and range widths read without the vertical bounds.

#include <glib.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/FontCatalogue.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "platform/text/WordCache.h"
#include "tests/common/CaseFile.h"

using namespace qm::text;

namespace {

std::vector<std::uint16_t> Units(const std::string& utf8)
{
    glong n = 0;
    gunichar2* units = g_utf8_to_utf16(utf8.c_str(), glong(utf8.size()), nullptr, &n, nullptr);
    std::vector<std::uint16_t> out(units, units + n);
    g_free(units);
    return out;
}

} // namespace

TEST(TextWords, PlainTextOfOneScriptGoesByWords)
{
    ASSERT_TRUE(FontCatalogue::Get().Ok());
    Style style;
    const auto cases = qmtest::ReadCaseFile("text_words/cases.txt", 2);
    ASSERT_FALSE(cases.empty());
    for (const qmtest::CaseLine& c : cases) {
        const std::vector<std::uint16_t> text = Units(c.fields[1]);
        Layout layout;
        layout.SetStyle(&style);
        layout.SetText(text.data(), int(text.size()));
        EXPECT_EQ(c.fields[0] == "words", layout.ByWords()) << "line " << c.line << ": " << c.fields[1];
    }
}

TEST(TextWords, RangeWidthIsTheGlyphBoundsWidth)
{
    ASSERT_TRUE(FontCatalogue::Get().Ok());
    const auto cases = qmtest::ReadCaseFile("text_words/cases.txt", 2);
    for (double size : {13.0, 16.5, 31.0}) {
        Style style;
        style.SetSize(size);
        for (bool words : {true, false}) {
            WordCache::Get().SetEnabled(words);
            for (const qmtest::CaseLine& c : cases) {
                const std::vector<std::uint16_t> text = Units(c.fields[1]);
                const int n = int(text.size());
                Layout layout;
                layout.SetStyle(&style);
                layout.SetText(text.data(), n);
                // Every range from every start, and ranges reaching outside the text.
                for (int start = -2; start <= n + 1; ++start)
                    for (int length = -1; length <= n + 3; ++length) {
                        TextRect r{};
                        layout.GlyphBounds(start, length, r);
                        EXPECT_EQ(r.right - r.left, layout.RangeWidth(start, length))
                            << "line " << c.line << " at " << start << "+" << length;
                    }
            }
        }
        WordCache::Get().SetEnabled(true);
    }
    Layout unstyled;
    const std::uint16_t text[] = {'a', 'b'};
    unstyled.SetText(text, 2);
    EXPECT_EQ(0, unstyled.RangeWidth(0, 2));
}
