// Style cells: the origin merge table (tests/data/style_records/merge.txt),
// untyped cells, filling a cell, and values inherited from ancestors.

#include "style/records/StyleRecords.h"

#include "element/Element.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

TEST(StyleRecords, MergeTable)
{
    std::vector<qmtest::CaseLine> cases = qmtest::ReadCaseFile("style_records/merge.txt", 9);
    EXPECT_GE(cases.size(), 20u);
    for (const qmtest::CaseLine& c : cases) {
        ASSERT_EQ(c.fields.size(), 9u) << "line " << c.line;
        int targetOrigin = std::stoi(c.fields[0]), origin = std::stoi(c.fields[1]);
        bool clear = c.fields[2] == "1", targetImportant = c.fields[3] == "1",
             sourceImportant = c.fields[4] == "1";
        bool written = c.fields[5] == "1", set = c.fields[6] == "1", important = c.fields[8] == "1";
        int value = std::stoi(c.fields[7]);
        STYLE_TYPE target{}, source{};
        SetStyleType(&target, 5, 0, 0, targetOrigin, true, false, targetImportant, nullptr);
        SetStyleType(&source, 7, 1, 0, 3, true, true, sourceImportant, nullptr);
        SCOPED_TRACE("merge.txt line " + std::to_string(c.line));
        EXPECT_EQ(CheckSetStyleType(&target, &source, origin, clear), written);
        EXPECT_EQ(target.set, set);
        EXPECT_EQ(target.value, value);
        EXPECT_EQ(target.important, important);
        if (written) {
            EXPECT_EQ(target.origin, origin);
        }
    }
    STYLE_TYPE target{}, unset{};
    EXPECT_FALSE(CheckSetStyleType(&target, &unset, 2, false));
    EXPECT_FALSE(CheckSetStyleType(nullptr, &unset, 2, false));
}

TEST(StyleRecords, PriorityOfOrigins)
{
    EXPECT_TRUE(CheckStylePriority(2, 2));
    EXPECT_TRUE(CheckStylePriority(0, 3));
    EXPECT_TRUE(CheckStylePriority(1, 3));
    EXPECT_TRUE(CheckStylePriority(3, 2));
    EXPECT_FALSE(CheckStylePriority(3, 1));
    EXPECT_FALSE(CheckStylePriority(2, 3));
}

TEST(StyleRecords, UntypedCellsYieldOnlyToExplicitValues)
{
    NewIntStyleValue target{}, source{};
    source.set = true;
    source.value = 4;
    EXPECT_TRUE(ApplyNewTypeStyle(&source, &target, 2));
    EXPECT_TRUE(target.inlineStyle);
    source.value = 9;
    EXPECT_FALSE(ApplyNewTypeStyle(&source, &target, 3)) << "an inline value stays";
    source.explicitValue = true;
    EXPECT_TRUE(ApplyNewTypeStyle(&source, &target, 3));
    EXPECT_EQ(target.value, 9);
    EXPECT_FALSE(target.inlineStyle);

    // The parent's inline value, copied down, gives way to the element's.
    target.inlineStyle = true;
    target.inherited = 1;
    source.explicitValue = false;
    source.value = 0;
    EXPECT_TRUE(ApplyNewTypeStyle(&source, &target, 2));
    EXPECT_EQ(target.value, 0);
    EXPECT_EQ(target.inherited, 0);

    NewStringStyleValue text{}, label{};
    label.set = true;
    label.text.Set("x");
    EXPECT_TRUE(ApplyNewTypeStyle(&label, &text, 1));
    EXPECT_EQ(text.text[0], 'x');
}

TEST(StyleRecords, CellTextIsCutAt29Characters)
{
    STYLE_TYPE cell{};
    CSafeBuf text = qmtest::Wide(std::string(60, 'w'));
    SetStyleType(&cell, 1, 0, 1, 3, true, false, false, text);
    EXPECT_EQ(qmtest::ToUtf8(CSafeBuf(cell.text)), std::string(29, 'w'));
    EXPECT_TRUE(cell.flag);
    SetStyleType(&cell, 2, 0, 0, 3, true, false, false, nullptr);
    EXPECT_EQ(cell.text[0], 'w') << "no text given: the old text stays";
}

TEST(StyleRecords, InheritedValuesComeFromTheAncestors)
{
    CElement top(nullptr), middle(nullptr);
    CElement* child = new CElement(nullptr);
    top.AddToTail(&middle);
    middle.AddToTail(child);

    top.EditStyle().paddingLeft.set = true;
    top.EditStyle().paddingLeft.value = 12;
    top.EditStyle().paddingLeft.unit = kUnitPixels;
    EXPECT_FALSE(ApplyInheritValue(child, 0, kInheritPaddingLeft)) << "not an inherit unit";
    EXPECT_TRUE(ApplyInheritValue(child, kUnitInherit, kInheritPaddingLeft));
    EXPECT_EQ(child->Style().paddingLeft.value, 12);
    EXPECT_LT(child->Style().paddingLeft.unit, 0) << "the inherit bit is kept";
    EXPECT_FALSE(ApplyInheritValue(child, kUnitInherit, kInheritPaddingTop));

    top.EditStyle().borderFromAttribute = 1;
    top.EditStyle().border[kBorderTop].colorSet = 1;
    top.EditStyle().border[kBorderTop].color = 0x123456;
    top.EditStyle().border[kBorderBottom].style = kLineDashed;
    // A border colour is the parent's for that side: the colour it sets
    // there, border drawn or not, else its text colour.
    middle.EditStyle().border[kBorderTop].colorSet = 1;
    middle.EditStyle().border[kBorderTop].color = 0x00AA00;
    middle.EditStyle().color = 0x0000FF;
    EXPECT_TRUE(ApplyInheritValue(child, kColourInherit, kInheritBorderColorTop));
    EXPECT_EQ(child->Style().border[kBorderTop].color, 0x00AA00);
    EXPECT_TRUE(ApplyInheritValue(child, kColourInherit, kInheritBorderColorLeft));
    EXPECT_EQ(child->Style().border[kBorderLeft].color, 0x0000FF);
    EXPECT_FALSE(ApplyInheritValue(child, 0x112233, kInheritBorderColorLeft)) << "not the inherit colour";
    EXPECT_FALSE(ApplyInheritValue(&top, kColourInherit, kInheritBorderColorLeft)) << "no parent";
    EXPECT_TRUE(ApplyInheritValue(child, kLineInherit, kInheritLineStyleBottom));
    EXPECT_EQ(child->Style().border[kBorderBottom].style, kLineDashed);

    middle.EditStyle().bkColorSet = 1;
    middle.EditStyle().bkColor = 0xABCDEF;
    EXPECT_TRUE(ApplyInheritValue(child, kColourInherit, kInheritBackgroundColor));
    EXPECT_EQ(child->Style().bkColor, 0xABCDEF);
    EXPECT_FALSE(ApplyInheritValue(child, kColourInherit, 5));
    middle.RemoveCurrentChildFromList(child);
    top.RemoveCurrentChildFromList(&middle);
    delete child;
}
