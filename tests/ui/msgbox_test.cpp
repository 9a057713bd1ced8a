// The message dialog (ShowMsg, CMsgBox) answered by a scripted UI driver, and
// the preview web view's URL loading.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/SafeBuf.h"
#include "platform/events/ModalLoop.h"
#include "platform/events/Services.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/WebView.h"
#include "ui/MsgBox.h"
#include "ui/PreviewWebView.h"
#include "ui/ShowMsg.h"

using qm::events::ModalAnswer;

namespace {

CSafeBuf Wide(const char* utf8)
{
    CSafeBuf s;
    s.AssignUTF8(utf8);
    return s;
}

// Presses the button with the given label (none: closes the window) and
// records the labels the dialog offered.
class Driver : public qm::events::UiDriver
{
public:
    std::string press;
    std::string caption;
    std::vector<std::string> labels;

    ModalAnswer ModalStep(qm::events::ModalLoop& loop) override
    {
        auto* dialog = dynamic_cast<qm::ui::ModalDialog*>(&loop.Subject());
        if (dialog == nullptr)
            return ModalAnswer::NoAnswer();
        caption = dialog->caption;
        labels.clear();
        for (const auto& b : dialog->buttons)
            labels.push_back(b.label);
        if (press.empty())
            return ModalAnswer::Close();
        const int index = dialog->FindButton(press);
        if (index < 0)
            return ModalAnswer::NoAnswer();
        dialog->Press(static_cast<size_t>(index));
        return ModalAnswer::Continue();
    }
};

class MsgBoxTest : public ::testing::Test
{
protected:
    Driver driver;
    qm::events::ScopedUiDriver scope{driver};
};

} // namespace

TEST_F(MsgBoxTest, ShowMsgResultCodes)
{
    driver.press = "Fix";
    EXPECT_EQ(2, ShowMsg(Wide("Failure"), Wide("Contain errors"), Wide("Fix"), nullptr,
                         Wide("Discard")));
    EXPECT_EQ("Failure", driver.caption);
    EXPECT_EQ(std::vector<std::string>({"Fix", "Discard"}), driver.labels);

    driver.press = "Discard";
    EXPECT_EQ(3, ShowMsg(Wide("Failure"), Wide("Contain errors"), Wide("Fix"), nullptr,
                         Wide("Discard")));
    driver.press = "";
    EXPECT_EQ(0, ShowMsg(Wide("Failure"), Wide("text"), Wide("Fix"), nullptr, Wide("Discard")));
}

TEST_F(MsgBoxTest, ShowMsgHidesAnEmptySecondButtonAndDefaultsTheFirstToOK)
{
    driver.press = "OK";
    EXPECT_EQ(2, ShowMsg(Wide("T"), Wide("text"), nullptr, nullptr, Wide("")));
    EXPECT_EQ(std::vector<std::string>({"OK"}), driver.labels);
    EXPECT_EQ(2, ShowMsg(nullptr, nullptr));
    EXPECT_EQ("", driver.caption);
}

TEST_F(MsgBoxTest, ThreeButtonsAndADisabledOKButton)
{
    CMsgBox box;
    box.SetCaption(Wide("Failure"));
    box.SetText(Wide("Contain errors"));
    box.SetOKLabel(Wide("Fix"));
    box.SetFirstLabel(Wide("Edit"));
    box.SetSecondLabel(Wide("Discard"));
    driver.press = "Edit";
    EXPECT_EQ(1, box.DoModal());
    EXPECT_EQ(1, box.GetResult());
    EXPECT_EQ(std::vector<std::string>({"Fix", "Edit", "Discard"}), driver.labels);

    box.EnableOKButton(false);
    driver.press = "Fix";   // not offered: the driver gives no answer
    EXPECT_EQ(0, box.DoModal());
    EXPECT_EQ(std::vector<std::string>({"Edit", "Discard"}), driver.labels);
}

TEST(PreviewWebView, LoadURLRecordsTheRequest)
{
    qm::ui::WebView view;
    EXPECT_TRUE(LoadURL(&view, Wide("file:///tmp/Ie0001.html?q=\xC3\xA9")));
    EXPECT_EQ("file:///tmp/Ie0001.html?q=\xC3\xA9", view.CurrentURL());
    EXPECT_FALSE(LoadURL(&view, Wide("")));
    EXPECT_FALSE(LoadURL(nullptr, Wide("http://x/")));
    EXPECT_EQ(1u, view.History().size());
}
