// Colour values, driven by tests/data/css_values/colours.txt.

#include "style/values/ColourTable.h"
#include "style/values/CssColour.h"

#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

std::string Describe(int colour)
{
    switch (colour) {
    case kColorInvalid: return "invalid";
    case kColorTransparent: return "transparent";
    case kColorInherit: return "inherit";
    }
    char text[8];
    std::snprintf(
        text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

} // namespace

TEST(GetColor, TableOfCases)
{
    const auto cases = qmtest::ReadCaseFile("css_values/colours.txt", 3);
    ASSERT_GT(cases.size(), 65u) << "the case file was not found or is empty";
    for (const auto& c : cases) {
        const bool search = c.fields[1] == "search";
        const CSafeBuf value = qmtest::Wide(c.fields[0]);
        EXPECT_EQ(c.fields[2], Describe(GetColor(value, search))) << "line " << c.line << ": " << c.fields[0];
    }
}

TEST(GetColor, NullIsNoColour)
{
    EXPECT_EQ(kColorInvalid, GetColor(nullptr, false));
    EXPECT_EQ(kColorInvalid, GetColor(nullptr, true));
}

TEST(ColorTable, HoldsDistinctLowerCaseNames)
{
    std::set<std::string> names;
    for (int i = 0; i < kColorTableSize; ++i) {
        const std::string name = ColorTableName[i];
        EXPECT_TRUE(names.insert(name).second) << name << " appears twice";
        for (char ch : name)
            EXPECT_TRUE(ch >= 'a' && ch <= 'z') << name;
    }
}
