// The preview window: its web view records the URL it loads, the dialog the
// UI driver sees carries that URL and the window's title, the skip-event
// flag is held while it runs, and OnSize lays the web view out.

#include "ui/MacPreview.h"

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qmtest::FromUtf8;

namespace {

class MacPreviewTest : public qmtest::ScriptedUiTest
{ };

TEST_F(MacPreviewTest, ShowsTheLoadedAddressUnderItsTitle)
{
    CMacPreview preview;
    preview.OnSize(0, 640, 480);
    EXPECT_EQ(640, preview.ViewWidth());
    EXPECT_EQ(480, preview.ViewHeight());
    EXPECT_TRUE(preview.LoadURL(FromUtf8("file:///tmp/Ie1.html")));
    preview.SetWindowText(FromUtf8("Preview"));
    unsigned char flag = 0;
    unsigned char seenWhileOpen = 0;
    preview.SetSkipEventVariable(&flag);
    driver.step = [&](qm::events::ModalLoop&) {
        seenWhileOpen = flag;
        return qm::events::ModalAnswer::Close();
    };
    EXPECT_EQ(0, preview.DoModal());
    EXPECT_EQ(1, seenWhileOpen);
    EXPECT_EQ(0, flag);
    EXPECT_EQ("file:///tmp/Ie1.html", preview.GetWebView().CurrentURL());
}

TEST_F(MacPreviewTest, TheDriverSeesTheAddressAndAnEmptyWindowHasNone)
{
    CMacPreview shown;
    shown.SetWindowText(FromUtf8("Screen reader"));
    shown.LoadURL(FromUtf8("file:///tmp/Ie2.html"));
    shown.DoModal();
    EXPECT_EQ("preview", driver.kind);
    EXPECT_EQ("Screen reader", driver.caption);
    EXPECT_EQ((std::vector<std::string>{"file:///tmp/Ie2.html"}), driver.texts);

    CMacPreview empty;
    EXPECT_FALSE(empty.LoadURL(FromUtf8("")));
    empty.OnSize(0, -5, -1);
    EXPECT_EQ(0, empty.ViewWidth());
    EXPECT_EQ(0, empty.ViewHeight());
    empty.DoModal();
    EXPECT_TRUE(driver.texts.empty());
}

} // namespace
