// The property page and the tag-list dialog as the UI driver answers them:
// the fields a page shows, the values it gives back after OK and after
// Cancel, and what the tag list answers for each choice.

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

#include "property_dialogs/TagListDlg.h"
#include "property_dialogs/XPrpEditorDlg.h"

namespace {

using Answer = qm::host::DialogAnswer;
using qmtest::ScriptedUiTest;

class PropertyPage : public ScriptedUiTest
{ };

TEST_F(PropertyPage, RowsAreFieldsAndOkGivesTheEditedValues)
{
    unsigned short yes[] = {'y', 'e', 's', 0};
    unsigned short no[] = {'n', 'o', 0};
    unsigned short* options[] = {no, yes, nullptr};
    CXPrpEditorDlg page;
    page.SetWindowText(CSafeBuf("Table"));
    page.SetItem(CSafeBuf("Border"), "border", CSafeBuf("1"), CXPrpEditorDlg::kTextField);
    page.SetItem(CSafeBuf("Caption"), "caption", CSafeBuf("no"), CXPrpEditorDlg::kEditableList, options);
    page.SetItem(CSafeBuf("Frame"), "border", CSafeBuf("2"), CXPrpEditorDlg::kTextField); // replaces
    page.SetItem(CSafeBuf("Nothing"), "", CSafeBuf("x"), CXPrpEditorDlg::kTextField);     // no attribute
    ASSERT_EQ(page.Rows().size(), 2u);
    EXPECT_EQ(page.Rows()[1].options.size(), 2u);

    driver.dialogs.push_back({Answer::kPress, "OK", {{"caption", "yes"}}});
    EXPECT_EQ(page.DoModal(), 1);
    EXPECT_EQ(driver.kind, "property");
    EXPECT_EQ(driver.caption, "Table");
    EXPECT_EQ(driver.texts, (std::vector<std::string>{"Frame", "Caption"}));
    EXPECT_EQ(driver.labels, (std::vector<std::string>{"OK", "Cancel"}));
    CSafeBuf value;
    EXPECT_TRUE(page.Value("caption", value));
    EXPECT_EQ(qmtest::Utf8(value), "yes");
    EXPECT_TRUE(page.Value("border", value));
    EXPECT_EQ(qmtest::Utf8(value), "2");
    EXPECT_FALSE(page.Value("summary", value));
    EXPECT_TRUE(value.IsEmpty());

    driver.dialogs.push_back({Answer::kPress, "Cancel", {{"caption", "maybe"}}});
    EXPECT_EQ(page.DoModal(), 2);
    EXPECT_TRUE(page.Value("caption", value));
    EXPECT_EQ(qmtest::Utf8(value), "no") << "after Cancel the value is as given";
}

TEST_F(PropertyPage, TagListAnswersEditRemoveOrNothing)
{
    struct Case
    {
        Answer answer;
        int result;
        int chosen;
        const char* removed;
    };
    const Case cases[] = {
        {{Answer::kPress, "Edit", {{"entry", "0"}}}, 1, 0, nullptr},
        {{Answer::kPress, "Remove", {{"entry", "2"}}}, 2, 2, "p"},
        {{Answer::kPress, "Remove", {{"entry", "1"}}}, 0, -1, nullptr}, // locked
        {{Answer::kPress, "Edit", {{"entry", "3"}}}, 0, -1, nullptr},   // no such entry
        {{Answer::kPress, "Edit", {{"entry", "-1"}}}, 0, -1, nullptr},
        {{Answer::kPress, "Close", {}}, 0, -1, nullptr},
        {{Answer::kClose, "", {}}, 0, -1, nullptr},
    };
    for (const Case& c : cases) {
        CTagListDlg list;
        list.AddTag(CSafeBuf("b"), 0);
        list.AddTag(CSafeBuf("div"), 2);
        list.AddTag(CSafeBuf("p"), 0);
        driver.dialogs.push_back(c.answer);
        EXPECT_EQ(list.Run(), c.result) << c.answer.press;
        EXPECT_EQ(list.Chosen(), c.chosen) << c.answer.press;
        ASSERT_EQ(list.Removal().size(), c.removed ? 1u : 0u);
        if (c.removed) {
            EXPECT_EQ(qmtest::Utf8(list.Removal()[0]), c.removed);
        }
        EXPECT_EQ(driver.texts[1], "div (locked element)");
    }
}

} // namespace
