// Colouring of markup source: the part of each unit, from data; and a range
// coloured alone matches the same range of the whole text coloured.

#include "source_view/SyntaxColour.h"

#include "tests/common/CaseBlocks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

bool Known(const unsigned short* name, int n)
{
    const std::string s(name, name + n);
    return s == "p" || s == "b" || s == "a" || s == "br" || s == "html" || s == "body";
}

std::string Letters(const std::vector<unsigned short>& text, int from, int to)
{
    std::vector<SourceRun> runs;
    ColourSource(text.data(), static_cast<int>(text.size()), from, to, Known, runs);
    std::string out(static_cast<std::size_t>(to - from), '?');
    const char letters[] = "tbnuavcse";
    for (const SourceRun& r : runs)
        for (int i = r.start; i < r.start + r.length; ++i)
            out[i - from] = letters[static_cast<int>(r.part)];
    return out;
}

} // namespace

TEST(SyntaxColour, PartsFromTheFile)
{
    qmtest::CaseBlockFile file("source_view/colours.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const std::vector<unsigned short> text(c.input.begin(), c.input.end());
        file.Check(c, Letters(text, 0, static_cast<int>(text.size())));
    }
}

// A screen starts anywhere: inside a tag, a value or a comment.
TEST(SyntaxColour, ARangeMatchesTheWholeText)
{
    const std::string markup = "<html><body>\r\n<p class=\"a b\" id='x'>text &amp; more</p>\r\n"
                               "<!-- a\r\n<p> comment\r\n-->\r\n<blink>x</blink><br/>\r\n</body></html>";
    const std::vector<unsigned short> text(markup.begin(), markup.end());
    const int n = static_cast<int>(text.size());
    const std::string whole = Letters(text, 0, n);
    for (int from = 0; from < n; ++from) {
        for (const int to : {from + 1, std::min(n, from + 9), n})
            ASSERT_EQ(whole.substr(from, to - from), Letters(text, from, to)) << from << " " << to;
    }
}
