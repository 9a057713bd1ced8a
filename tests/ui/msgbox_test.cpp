// The message dialog (ShowMsg, CMsgBox) answered by a scripted UI driver, and
// the preview web view's URL loading.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/app/PutFileDialog.h"
#include "base/text/SafeBuf.h"
#include "platform/events/ModalLoop.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "ui/MsgBox.h"
#include "ui/PreviewWebView.h"
#include "ui/ShowMsg.h"
#include "ui/Window.h"

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

using qmtest::FromUtf8;

namespace {

class MsgBoxTest : public qmtest::ScriptedUiTest
{ };

} // namespace

TEST_F(MsgBoxTest, ShowMsgResultCodes)
{
    driver.press = "Fix";
    EXPECT_EQ(2,
        ShowMsg(
            FromUtf8("Failure"), FromUtf8("Contain errors"), FromUtf8("Fix"), nullptr, FromUtf8("Discard")));
    EXPECT_EQ("Failure", driver.caption);
    EXPECT_EQ(std::vector<std::string>({"Fix", "Discard"}), driver.labels);

    driver.press = "Discard";
    EXPECT_EQ(3,
        ShowMsg(
            FromUtf8("Failure"), FromUtf8("Contain errors"), FromUtf8("Fix"), nullptr, FromUtf8("Discard")));
    driver.press = "";
    EXPECT_EQ(
        0, ShowMsg(FromUtf8("Failure"), FromUtf8("text"), FromUtf8("Fix"), nullptr, FromUtf8("Discard")));
}

TEST_F(MsgBoxTest, ShowMsgHidesAnEmptySecondButtonAndDefaultsTheFirstToOK)
{
    driver.press = "OK";
    EXPECT_EQ(2, ShowMsg(FromUtf8("T"), FromUtf8("text"), nullptr, nullptr, FromUtf8("")));
    EXPECT_EQ(std::vector<std::string>({"OK"}), driver.labels);
    EXPECT_EQ(2, ShowMsg(nullptr, nullptr));
    EXPECT_EQ("", driver.caption);
}

TEST_F(MsgBoxTest, ThreeButtonsAndADisabledOKButton)
{
    CMsgBox box;
    box.SetCaption(FromUtf8("Failure"));
    box.SetText(FromUtf8("Contain errors"));
    box.SetOKLabel(FromUtf8("Fix"));
    box.SetFirstLabel(FromUtf8("Edit"));
    box.SetSecondLabel(FromUtf8("Discard"));
    driver.press = "Edit";
    EXPECT_EQ(1, box.DoModal());
    EXPECT_EQ(1, box.GetResult());
    EXPECT_EQ(std::vector<std::string>({"Fix", "Edit", "Discard"}), driver.labels);

    box.EnableOKButton(false);
    driver.press = "Fix"; // not offered: the driver gives no answer
    EXPECT_EQ(0, box.DoModal());
    EXPECT_EQ(std::vector<std::string>({"Edit", "Discard"}), driver.labels);
}

TEST_F(MsgBoxTest, DefaultButtonAndParentTitleReachTheDialog)
{
    TWindow page;
    page.SetWindowText(FromUtf8("Editor \xE2\x80\x94 page"));
    CMsgBox box;
    box.SetText(FromUtf8("Save?"));
    box.SetFirstLabel(FromUtf8("Don't Save"));
    box.SetSecondLabel(FromUtf8("Cancel"));
    box.SetParent(&page);
    driver.press = "OK";
    EXPECT_EQ(2, box.DoModal());
    EXPECT_EQ("Editor \xE2\x80\x94 page", driver.parentTitle);
    EXPECT_EQ("OK", driver.defaultLabel); // the OK button unless told otherwise

    box.SetDefaultButton(3);
    box.SetParent(nullptr);
    EXPECT_EQ(2, box.DoModal());
    EXPECT_EQ("Cancel", driver.defaultLabel);
    EXPECT_EQ("", driver.parentTitle);

    box.SetDefaultButton(1);
    box.SetFirstLabel(FromUtf8("")); // not shown: no default at all
    EXPECT_EQ(2, box.DoModal());
    EXPECT_EQ("", driver.defaultLabel);

    driver.press = "OK";
    EXPECT_EQ(2, ShowMsg(FromUtf8("T"), FromUtf8("text"), nullptr, &page));
    EXPECT_EQ("Editor \xE2\x80\x94 page", driver.parentTitle);
    CSafeBuf title;
    page.GetWindowText(title);
    EXPECT_EQ(page.GetWindowRef().Title(), qmtest::ToUtf8(title));
}

TEST_F(MsgBoxTest, ShowMsgKeepsTheBoxAboveItsParentInAGroupOfTheirOwn)
{
    TWindow page, toolbar;
    page.SetWindowText(FromUtf8("Page"));
    qm::ui::WindowGroup pageGroup;
    ASSERT_TRUE(page.SetWindowGroup(&pageGroup));
    ASSERT_TRUE(toolbar.SetWindowGroup(&pageGroup));

    // The group's windows, bottom first, while the box runs.
    std::vector<std::string> during;
    driver.step = [&](qm::events::ModalLoop&) {
        if (qm::ui::WindowGroup* group = page.GetWindowGroup())
            for (const qm::ui::Window* w : group->Windows())
                during.push_back(w->Title() + (w->IsVisible() ? " shown" : ""));
        return qm::events::ModalAnswer::Close();
    };
    EXPECT_EQ(0, ShowMsg(FromUtf8("Box"), FromUtf8("text"), nullptr, &page));
    EXPECT_EQ(std::vector<std::string>({"Page", "Box shown"}), during);

    // Afterwards the page is back in its own group, and a window without a
    // group is in none again.
    EXPECT_EQ(&pageGroup, page.GetWindowGroup());
    EXPECT_EQ(2u, pageGroup.Windows().size());
    TWindow alone;
    EXPECT_EQ(0, ShowMsg(FromUtf8("T"), FromUtf8("text"), nullptr, &alone));
    EXPECT_EQ(nullptr, alone.GetWindowGroup());
}

TEST_F(MsgBoxTest, AWindowsTitleIsThePutFileDialogsClientName)
{
    TWindow page;
    page.SetWindowText(FromUtf8("Quillmark \xE2\x80\x94 page"));
    driver.putAnswer = false;
    CSafeBuf path;
    EXPECT_FALSE(OpenFileDialog(FromUtf8("a.txt"), path, false, false, &page.GetWindowRef()));
    EXPECT_EQ("Quillmark \xE2\x80\x94 page", driver.putRequest.clientName);
    EXPECT_TRUE(driver.putRequest.windowModal);
}

TEST(PreviewWebView, LoadURLRecordsTheRequest)
{
    qm::ui::WebView view;
    EXPECT_TRUE(LoadURL(&view, FromUtf8("file:///tmp/Ie0001.html?q=\xC3\xA9")));
    EXPECT_EQ("file:///tmp/Ie0001.html?q=\xC3\xA9", view.CurrentURL());
    EXPECT_FALSE(LoadURL(&view, FromUtf8("")));
    EXPECT_FALSE(LoadURL(nullptr, FromUtf8("http://x/")));
    EXPECT_EQ(1u, view.History().size());
}
