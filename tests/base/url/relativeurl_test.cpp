// Relative address resolution, driven by tests/data/relative_url/cases.txt.

#include "base/url/RelativeURL.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using qmtest::U16;
using qmtest::Utf8;
using qmtest::Wide;

namespace {

struct Case
{
    int line;
    std::string base, relative, expected;
};

std::string Field(const std::string& s) { return s == "(empty)" ? std::string() : s; }

std::vector<Case> LoadCases()
{
    std::vector<Case> cases;
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/relative_url/cases.txt");
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string f;
        while (std::getline(ss, f, '\t'))
            fields.push_back(f);
        if (fields.size() != 3) {
            ADD_FAILURE() << "cases.txt line " << number << " does not hold three fields";
            continue;
        }
        cases.push_back({number, Field(fields[0]), Field(fields[1]), Field(fields[2])});
    }
    return cases;
}

TEST(BuildRelativeURL, TableOfCases)
{
    std::vector<Case> cases = LoadCases();
    ASSERT_GT(cases.size(), 30u) << "the case file was not found or is empty";
    for (const Case& c : cases) {
        CSafeBuf out(Wide("left over"));
        CSafeBuf base = Wide(c.base), relative = Wide(c.relative);
        EXPECT_TRUE(BuildRelativeURL(base, relative, out)) << "line " << c.line;
        EXPECT_EQ(c.expected, Utf8(out)) << "line " << c.line << ": " << c.base << " + " << c.relative;
    }
}

TEST(BuildRelativeURL, NullArgumentsAnswerFalseWithEmptyOutput)
{
    CSafeBuf out(Wide("old"));
    EXPECT_FALSE(BuildRelativeURL(nullptr, U16(u"a.gif"), out));
    EXPECT_TRUE(out.IsEmpty());
    out = "old";
    EXPECT_FALSE(BuildRelativeURL(U16(u"http://h/"), nullptr, out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(BuildRelativeURL, LongPartsAreResolvedWhole)
{
    // Far beyond the sizes that ordinary addresses reach: nothing is cut.
    std::string host(3000, 'h'), segment(20000, 's');
    CSafeBuf out;
    CSafeBuf base = Wide("http://" + host + "/" + segment + "/p.htm");
    EXPECT_TRUE(BuildRelativeURL(base, U16(u"./a/../b.gif"), out));
    EXPECT_EQ("http://" + host + "/" + segment + "/b.gif", Utf8(out));
}

TEST(BuildRelativeURL, NonAsciiTextIsKept)
{
    CSafeBuf out;
    EXPECT_TRUE(BuildRelativeURL(U16(u"http://h/\u00e9t\u00e9/p.htm"), U16(u"\u4e2d.gif"), out));
    EXPECT_EQ(Utf8(Wide(u"http://h/\u00e9t\u00e9/\u4e2d.gif")), Utf8(out));
}

} // namespace
