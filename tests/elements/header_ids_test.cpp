// The header ids a data table generates for its th cells, written without
// a formatted print, against the format they follow: the cases of
// tests/data/header_ids/cases.txt, and a sweep that sets them beside the
// print itself.

#include "base/text/SafeBuf.h"
#include "elements/HeaderIds.h"

#include "tests/common/CaseBlocks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

std::string Narrow(const CSafeBuf& text)
{
    std::string out;
    for (int i = 0; i < text.Length(); ++i)
        out += static_cast<char>(text[i]);
    return out;
}

std::string MadeId(long table, size_t row, int position)
{
    char prefix[16];
    const int length = HeaderIdPrefix(table, prefix);
    CSafeBuf id("left over");
    HeaderId(id, prefix, length, row, position);
    return Narrow(id);
}

// The format the ids follow, as a formatted print writes it.
std::string PrintedId(long table, size_t row, int position)
{
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "th%08lX", static_cast<unsigned long>(table));
    char text[48];
    if (row < 100 && position < 100)
        std::snprintf(text, sizeof text, "%s%02d%02d", prefix, static_cast<int>(row), position);
    else
        std::snprintf(text, sizeof text, "%s%lu-%d", prefix, static_cast<unsigned long>(row), position);
    return text;
}

} // namespace

TEST(HeaderIds, Cases)
{
    qmtest::CaseBlockFile file("header_ids/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::istringstream lines(c.input);
        std::string out;
        long table = 0;
        long long row = 0;
        int position = 0;
        while (lines >> table >> row >> position)
            out += (out.empty() ? "" : "\n") + MadeId(table, static_cast<size_t>(row), position);
        file.Check(c, out);
    }
}

TEST(HeaderIds, EqualThePrintedFormat)
{
    const long tables[] = {0, 1, 0xABCDEF, 0x7FFFFFFF, 0xFFFFFFFFL, 0x123456789L, -1, -2};
    const size_t rows[] = {0, 1, 9, 10, 99, 100, 101, 12345};
    for (long table : tables) {
        char prefix[16];
        char printed[16];
        std::snprintf(printed, sizeof printed, "th%08lX", static_cast<unsigned long>(table));
        EXPECT_EQ(HeaderIdPrefix(table, prefix), static_cast<int>(std::string(printed).size())) << table;
        EXPECT_STREQ(prefix, printed) << table;
        for (size_t row : rows) {
            for (int position = -101; position <= 130; ++position)
                ASSERT_EQ(MadeId(table, row, position), PrintedId(table, row, position))
                    << table << " " << row << " " << position;
        }
    }
}
