// Values read from text (tests/data/text_values/cases.txt), untyped style
// cells and name-value lists.

#include "element/NameValue.h"
#include "element/StyleCells.h"
#include "element/ValueFromText.h"
#include "style/records/StyleRecords.h"

#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using qmtest::FromUtf8;
using qmtest::ReadCaseFile;
using qmtest::ToUtf8;
using qmtest::U16;

TEST(TextValues, TableOfCases)
{
    for (const auto& c : ReadCaseFile("text_values/cases.txt", 4)) {
        const std::string &op = c.fields[0], &argument = c.fields[2];
        CSafeBuf text = FromUtf8(c.fields[1]);
        std::string result;
        if (op == "type") {
            int unit = -1, value = -1;
            EXPECT_TRUE(GetIntValueType(text, unit, value));
            result = std::to_string(unit) + " " + std::to_string(value);
        } else if (op == "contains") {
            const size_t slash = argument.find('/');
            CSafeBuf word = FromUtf8(argument.substr(0, slash));
            result = IsStringContainedIn(text, word, argument.substr(slash + 1) == "whole") ? "1" : "0";
        } else if (op == "utof") {
            char printed[32];
            std::snprintf(printed, sizeof printed, "%g", utof(text));
            result = printed;
        } else {
            ADD_FAILURE() << "unknown function " << op;
        }
        EXPECT_EQ(c.fields[3], result) << "line " << c.line;
    }
}

TEST(StyleCells, InheritedCopiesNeverReplaceOwnValues)
{
    NewIntStyleValue parent{}, own{}, empty{};
    parent.set = own.set = true;
    parent.value = 5;
    own.value = 7;
    EXPECT_TRUE(CopyStyleForNew(&empty, &parent));
    parent.value = 6;
    EXPECT_TRUE(CopyStyleForNew(&empty, &parent)) << "an inherited value is refreshed";
    EXPECT_TRUE(CompareStyle(&empty, 6) && empty.inherited);
    EXPECT_FALSE(CopyStyleForNew(&own, &parent));
    EXPECT_TRUE(CompareStyle(&own, 7));
}

TEST(StyleCells, SetStyleTypeCutsTheNameToItsCell)
{
    STYLE_TYPE cell{};
    const std::string name(60, 'x');
    SetStyleType(&cell, 1, 2, 0, 3, true, false, false, FromUtf8(name));
    EXPECT_EQ(std::string(kStyleTypeTextUnits - 1, 'x'), qmtest::Utf8(cell.text, kStyleTypeTextUnits - 1));
    EXPECT_EQ(0, cell.text[kStyleTypeTextUnits - 1]);
    EXPECT_EQ(2, cell.unit); // the field after the text is intact
}

TEST(NameValue, SetFindRemoveAndTheNameLimit)
{
    NameValue* list = nullptr;
    CSafeBuf value;
    EXPECT_FALSE(SetValueInNameValues(list, "width", "10", false));
    EXPECT_TRUE(SetValueInNameValues(list, "width", "10", true));
    EXPECT_TRUE(SetValueInNameValues(list, U16(u"align"), "left", true));
    EXPECT_TRUE(SetValueInNameValues(list, "width", "20", false));
    EXPECT_TRUE(FindNameInNameValues(list, "width", value));
    EXPECT_EQ("20", ToUtf8(value));
    EXPECT_EQ(0, qmtest::Utf8(list->next->name, 5).compare("align"));
    EXPECT_FALSE(FindNameInNameValues(list, "Width", value));

    // 299 characters fit; 300 do not, and are neither added nor matched.
    const std::string fits(kNameValueNameUnits - 1, 'n'), tooLong(kNameValueNameUnits, 'n');
    EXPECT_TRUE(SetValueInNameValues(list, fits.c_str(), "a", true));
    EXPECT_FALSE(SetValueInNameValues(list, tooLong.c_str(), "b", true));
    EXPECT_FALSE(FindNameInNameValues(list, tooLong.c_str(), value));
    EXPECT_TRUE(FindNameInNameValues(list, fits.c_str(), value));
    EXPECT_EQ("a", ToUtf8(value));

    EXPECT_TRUE(RemoveNodeInNameValues(list, U16(u"width")));
    EXPECT_FALSE(RemoveNodeInNameValues(list, U16(u"width")));
    EXPECT_FALSE(FindNameInNameValues(list, "width", value));

    auto* tree
        = new NameValueTree{list, new NameValueTree{CreateNameValue(U16(u"a"), U16(u"1")), nullptr, nullptr},
            new NameValueTree{nullptr, nullptr, nullptr}};
    FreeNameValueTree(tree); // the sanitizer build reports anything left behind
}
