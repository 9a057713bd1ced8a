// The source view's line store: lines and rows of CR LF, LF and CR texts,
// word wrap, and edits that update the tables as a fresh reading would.

#include "source_view/SourceText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<unsigned short> Units(const std::string& s)
{
    return std::vector<unsigned short>(s.begin(), s.end());
}

void Assign(CSourceText& t, const std::string& s)
{
    const auto u = Units(s);
    t.Assign(u.data(), static_cast<int>(u.size()));
}

std::vector<int> RowStarts(const CSourceText& t)
{
    std::vector<int> rows;
    for (int r = 0; r < t.RowCount(); ++r)
        rows.push_back(t.RowStart(r));
    return rows;
}

std::vector<int> LineStarts(const CSourceText& t)
{
    std::vector<int> lines;
    for (int l = 0; l < t.LineCount(); ++l)
        lines.push_back(t.LineStart(l));
    return lines;
}

} // namespace

TEST(SourceText, LinesEndAtCrLfLfAndCr)
{
    struct Case
    {
        std::string text;
        std::vector<int> starts;
        std::vector<int> ends;
    };
    const Case cases[] = {
        {"", {0}, {0}},
        {"abc", {0}, {3}},
        {"a\r\nb\nc\rd", {0, 3, 5, 7}, {1, 4, 6, 8}},
        {"a\r\n", {0, 3}, {1, 3}},
        {"\n\n", {0, 1, 2}, {0, 1, 2}},
        {"\r\r\n\n", {0, 1, 3, 4}, {0, 1, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CSourceText t;
        Assign(t, c.text);
        EXPECT_EQ(c.starts, LineStarts(t));
        std::vector<int> ends;
        for (int l = 0; l < t.LineCount(); ++l)
            ends.push_back(t.LineEnd(l));
        EXPECT_EQ(c.ends, ends);
        EXPECT_EQ(c.starts, RowStarts(t)); // without wrap a row is a line
    }
}

TEST(SourceText, WordWrapBreaksAfterBlanksOrInsideLongWords)
{
    struct Case
    {
        std::string text;
        int columns;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {"aaa bbb ccc", 8, {0, 8}},           // "aaa bbb " then "ccc"
        {"aaa bbb ccc", 6, {0, 4, 8}},        // back to the last blank that fits
        {"aaa bbb ccc", 7, {0, 8}},           // a blank hangs past the end
        {"abcdefghij", 4, {0, 4, 8}},         // no blank: cut inside
        {"ab\tc", 4, {0, 3}},                 // the tab takes two columns
        {"a b\r\nc d e", 2, {0, 2, 5, 7, 9}}, // each line wraps by itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CSourceText t;
        Assign(t, c.text);
        t.SetWrapColumns(c.columns);
        EXPECT_EQ(c.rows, RowStarts(t));
    }
}

TEST(SourceText, ColumnsAndPositions)
{
    CSourceText t;
    Assign(t, "a\tbc\r\nxy");
    EXPECT_EQ(4, t.ColumnOf(2)); // after the tab
    EXPECT_EQ(2, t.PosAtColumn(0, 4));
    EXPECT_EQ(2, t.PosAtColumn(0, 3));  // past the middle of the tab
    EXPECT_EQ(1, t.PosAtColumn(0, 2));  // before it
    EXPECT_EQ(4, t.PosAtColumn(0, 50)); // never past the row's end
    EXPECT_EQ(4, t.PreviousPos(6));     // CR LF is one step
    EXPECT_EQ(6, t.NextPos(4));
    const unsigned short pair[] = {'a', 0xD83D, 0xDE00, 'b'};
    t.Assign(pair, 4);
    EXPECT_EQ(3, t.NextPos(1));
    EXPECT_EQ(1, t.PreviousPos(3));
    EXPECT_EQ(2, t.ColumnOf(3)); // the pair takes one column
}

// Random edits, with and without wrap, leave the same tables as reading the
// resulting text afresh.
TEST(SourceText, EditsMatchAFreshReading)
{
    const char alphabet[] = {'a', 'b', ' ', '\t', '\r', '\n', '<', '>'};
    for (const int columns : {0, 5}) {
        std::mt19937 random(columns + 7);
        CSourceText t;
        t.SetWrapColumns(columns);
        std::string text;
        for (int round = 0; round < 3000; ++round) {
            const int pos = static_cast<int>(random() % (text.size() + 1));
            const int count = static_cast<int>(random() % std::min<std::size_t>(4, text.size() - pos + 1));
            std::string insert;
            for (int k = static_cast<int>(random() % 4); k > 0; --k)
                insert += alphabet[random() % sizeof alphabet];
            const auto units = Units(insert);
            t.Replace(pos, count, units.data(), static_cast<int>(units.size()));
            text.replace(pos, count, insert);

            CSourceText fresh;
            fresh.SetWrapColumns(columns);
            Assign(fresh, text);
            ASSERT_EQ(LineStarts(fresh), LineStarts(t)) << round;
            ASSERT_EQ(RowStarts(fresh), RowStarts(t)) << round;
        }
    }
}
