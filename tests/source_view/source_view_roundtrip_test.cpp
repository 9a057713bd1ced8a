// SetText then GetText gives the text back: markers where the caret and
// the selection are, line breaks and tabs as they were, and texts and lines
// of any length.

#include "tests/source_view/support/SourceViewFixture.h"

#include "tests/common/CaseBlocks.h"

#include <gtest/gtest.h>

namespace {

class SourceViewRoundTrip : public qmtest::SourceViewTest
{ };

// The case files' notation for CR and TAB, both ways.
std::string Decode(std::string s)
{
    for (const auto& [word, c] : {std::pair<std::string, char>{"{CR}", '\r'}, {"{TAB}", '\t'}}) {
        for (std::size_t at = s.find(word); at != std::string::npos; at = s.find(word, at + 1))
            s.replace(at, word.size(), 1, c);
    }
    return s;
}

std::string Encode(const std::string& s)
{
    std::string out;
    for (const char c : s)
        out += c == '\r' ? std::string("{CR}") : c == '\t' ? std::string("{TAB}") : std::string(1, c);
    return out;
}

} // namespace

TEST_F(SourceViewRoundTrip, CasesFromTheFile)
{
    qmtest::CaseBlockFile file("source_view/round_trips.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.name);
        Set(Decode(c.input));
        file.Check(c, Encode(Text(!c.HasOption("plain"))));
    }
}

TEST_F(SourceViewRoundTrip, NoLimitOnTheTextOrALine)
{
    // One line of 300,000 units and 20,000 short lines, edited in the middle.
    std::string longLine(300000, 'x');
    std::string text = "<p>" + longLine + "</p>";
    for (int i = 0; i < 20000; ++i)
        text += "\r\n<i>" + std::to_string(i) + "</i>";
    Set(text.substr(0, 150003) + "_x_Here_to_put_cursor_x_" + text.substr(150003));
    Type("Q");
    std::string expected = text;
    expected.insert(150003, "Q");
    EXPECT_EQ(expected, Text());
    EXPECT_EQ(20001, view->Text().LineCount());
    view->SetWrapMode(true);
    EXPECT_GT(view->Text().RowCount(), 20001 + 300000 / 100);
    EXPECT_EQ(expected, Text());
}
