// The message box's flags and answers, the put-file dialog and menu item
// removal, each answered by a scripted UI driver.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/app/MenuUtils.h"
#include "base/app/MessageBox.h"
#include "base/app/PutFileDialog.h"
#include "base/text/SafeBuf.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

using Driver = qmtest::ScriptedUiDriver;
using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

class MessageBoxTest : public qmtest::ScriptedUiTest
{
protected:
    int Show(int flags, Driver::Action action, const char* press = "")
    {
        driver.action = action;
        driver.press = press;
        return MessageBox(FromUtf8("Body \xC3\xA9"), FromUtf8("Title"), flags);
    }
};

} // namespace

TEST_F(MessageBoxTest, SingleButtonShowsOKAndAnswersTheDialogResult)
{
    EXPECT_EQ(2, Show(1, Driver::kPress, "OK"));
    EXPECT_EQ("message", driver.kind);
    EXPECT_EQ("Title", driver.caption);
    ASSERT_EQ(1u, driver.texts.size());
    EXPECT_EQ("Body \xC3\xA9", driver.texts[0]);
    EXPECT_EQ(std::vector<std::string>({"OK"}), driver.labels);

    EXPECT_EQ(0, Show(1, Driver::kClose));
    // Type 3 (both low bits) is still the single-button box.
    EXPECT_EQ(2, Show(3, Driver::kPress, "OK"));
    EXPECT_EQ(std::vector<std::string>({"OK"}), driver.labels);
}

TEST_F(MessageBoxTest, OKCancelAnswersTwoForOKAndThreeForEverythingElse)
{
    EXPECT_EQ(2, Show(4, Driver::kPress, "OK"));
    EXPECT_EQ(std::vector<std::string>({"OK", "Cancel"}), driver.labels);
    EXPECT_EQ(3, Show(4, Driver::kPress, "Cancel"));
    EXPECT_EQ(3, Show(4, Driver::kClose));
    // Nobody answering is not an OK.
    EXPECT_EQ(3, Show(4, Driver::kNoAnswer));
}

TEST_F(MessageBoxTest, NoKnownFlagShowsNothing)
{
    EXPECT_EQ(0, Show(0, Driver::kPress, "OK"));
    EXPECT_EQ(0, Show(8, Driver::kPress, "OK"));
    EXPECT_EQ(0, driver.shown);
}

TEST_F(MessageBoxTest, EightBitFormTakesUtf8AndNullTexts)
{
    driver.action = Driver::kPress;
    driver.press = "OK";
    EXPECT_EQ(2, MessageBox("caf\xC3\xA9", nullptr, 1));
    EXPECT_EQ("caf\xC3\xA9", driver.texts.at(0));
    EXPECT_EQ("", driver.caption);
}

TEST_F(MessageBoxTest, PutFileJoinsFolderAndTypedName)
{
    driver.putAnswer = true;
    driver.putReply.folder = "/home/user/Docs";
    driver.putReply.fileName = "r\xC3\xA9sum\xC3\xA9.html";
    CSafeBuf path = FromUtf8("unchanged");
    ASSERT_TRUE(OpenFileDialog(FromUtf8("page.html"), path, false, false, nullptr));
    EXPECT_EQ("/home/user/Docs/r\xC3\xA9sum\xC3\xA9.html", ToUtf8(path));
    EXPECT_EQ("page.html", driver.putRequest.proposedName);
    EXPECT_EQ("****", driver.putRequest.fileType);
    EXPECT_FALSE(driver.putRequest.windowModal);

    // A folder path longer than 300 bytes is kept whole.
    driver.putReply.folder = "/" + std::string(400, 'a') + "/";
    driver.putReply.fileName = "x.txt";
    ASSERT_TRUE(OpenFileDialog(FromUtf8("x.txt"), path));
    EXPECT_EQ(driver.putReply.folder + "x.txt", ToUtf8(path));

    // With a parent window: window-modal on it, its title naming the asker.
    qm::ui::Window parent("Quillmark \xE2\x80\x94 page");
    ASSERT_TRUE(OpenFileDialog(FromUtf8("x.txt"), path, false, false, &parent));
    EXPECT_TRUE(driver.putRequest.windowModal);
    EXPECT_EQ("Quillmark \xE2\x80\x94 page", driver.putRequest.clientName);
}

TEST_F(MessageBoxTest, PutFileCancelledOrUnusableNameLeavesPathAlone)
{
    CSafeBuf path = FromUtf8("kept");
    driver.putAnswer = false;
    EXPECT_FALSE(OpenFileDialog(FromUtf8("a.txt"), path));
    driver.putAnswer = true;
    driver.putReply.folder = "/tmp";
    for (const char* bad : {"", "..", "sub/evil.txt"}) {
        driver.putReply.fileName = bad;
        EXPECT_FALSE(OpenFileDialog(FromUtf8("a.txt"), path)) << bad;
    }
    EXPECT_EQ("kept", ToUtf8(path));
}

TEST(RemoveMenuItem, RemovesOnlyTheFirstExactMatch)
{
    qm::ui::Menu menu;
    menu.AppendText(u"Cut", 1);
    menu.AppendText(u"Copy", 2);
    menu.AppendText(u"Copy", 3);
    EXPECT_FALSE(RemoveMenuItem(&menu, "copy"));
    EXPECT_TRUE(RemoveMenuItem(&menu, "Copy"));
    ASSERT_EQ(2u, menu.Count());
    EXPECT_EQ(1u, menu.Item(0).command);
    EXPECT_EQ(3u, menu.Item(1).command);
    EXPECT_TRUE(RemoveMenuItem(&menu, FromUtf8("Cut")));
    EXPECT_FALSE(RemoveMenuItem(&menu, "Cut"));
    EXPECT_FALSE(RemoveMenuItem(nullptr, "Copy"));
    EXPECT_EQ(1u, menu.Count());
}
