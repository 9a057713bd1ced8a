// The message box's flags and answers, the put-file dialog and menu item
// removal, each answered by a scripted UI driver.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/MenuUtils.h"
#include "base/MessageBox.h"
#include "base/PutFileDialog.h"
#include "base/SafeBuf.h"
#include "platform/events/ModalLoop.h"
#include "platform/events/Services.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ModalDialog.h"

using qm::events::ModalAnswer;
using qm::events::ModalLoop;

namespace {

CSafeBuf Wide(const char* utf8)
{
    CSafeBuf s;
    s.AssignUTF8(utf8);
    return s;
}

std::string Narrow(const CSafeBuf& s)
{
    char* bytes = nullptr;
    const int n = s.CreateUTF8Str(&bytes);
    std::string out(bytes ? bytes : "", bytes ? static_cast<size_t>(n) : 0);
    delete[] bytes;
    return out;
}

// Records what each dialog showed and answers as told: press the button with
// a label, close the window, or give no answer.
class Driver : public qm::events::UiDriver
{
public:
    enum Action { kPress, kClose, kNoAnswer };
    Action action = kClose;
    std::string press;

    int shown = 0;
    std::string kind;
    std::string caption;
    std::vector<std::string> texts;
    std::vector<std::string> labels;

    qm::events::PutFileRequest putRequest;
    bool putAnswer = false;
    qm::events::PutFileReply putReply;

    ModalAnswer ModalStep(ModalLoop& loop) override
    {
        auto* dialog = dynamic_cast<qm::ui::ModalDialog*>(&loop.Subject());
        if (dialog == nullptr)
            return ModalAnswer::NoAnswer();
        if (loop.Steps() <= 1) {
            ++shown;
            kind = dialog->ModalKind();
            caption = dialog->caption;
            texts = dialog->texts;
            labels.clear();
            for (const auto& b : dialog->buttons)
                labels.push_back(b.label);
        }
        switch (action) {
        case kPress: {
            const int index = dialog->FindButton(press);
            if (index < 0)
                return ModalAnswer::NoAnswer();
            dialog->Press(static_cast<size_t>(index));
            return ModalAnswer::Continue();
        }
        case kClose:
            return ModalAnswer::Close();
        default:
            return ModalAnswer::NoAnswer();
        }
    }

    bool PutFile(const qm::events::PutFileRequest& request,
                 qm::events::PutFileReply& reply) override
    {
        putRequest = request;
        reply = putReply;
        return putAnswer;
    }
};

class MessageBoxTest : public ::testing::Test
{
protected:
    Driver driver;
    qm::events::ScopedUiDriver scope{driver};

    int Show(int flags, Driver::Action action, const char* press = "")
    {
        driver.action = action;
        driver.press = press;
        return MessageBox(Wide("Body \xC3\xA9"), Wide("Title"), flags);
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
    CSafeBuf path = Wide("unchanged");
    ASSERT_TRUE(OpenFileDialog(Wide("page.html"), path, false, false, nullptr));
    EXPECT_EQ("/home/user/Docs/r\xC3\xA9sum\xC3\xA9.html", Narrow(path));
    EXPECT_EQ("page.html", driver.putRequest.proposedName);
    EXPECT_EQ("****", driver.putRequest.fileType);
    EXPECT_FALSE(driver.putRequest.windowModal);

    // A folder path longer than 300 bytes is kept whole.
    driver.putReply.folder = "/" + std::string(400, 'a') + "/";
    driver.putReply.fileName = "x.txt";
    ASSERT_TRUE(OpenFileDialog(Wide("x.txt"), path));
    EXPECT_EQ(driver.putReply.folder + "x.txt", Narrow(path));
}

TEST_F(MessageBoxTest, PutFileCancelledOrUnusableNameLeavesPathAlone)
{
    CSafeBuf path = Wide("kept");
    driver.putAnswer = false;
    EXPECT_FALSE(OpenFileDialog(Wide("a.txt"), path));
    driver.putAnswer = true;
    driver.putReply.folder = "/tmp";
    for (const char* bad : {"", "..", "sub/evil.txt"}) {
        driver.putReply.fileName = bad;
        EXPECT_FALSE(OpenFileDialog(Wide("a.txt"), path)) << bad;
    }
    EXPECT_EQ("kept", Narrow(path));
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
    EXPECT_TRUE(RemoveMenuItem(&menu, Wide("Cut")));
    EXPECT_FALSE(RemoveMenuItem(&menu, "Cut"));
    EXPECT_FALSE(RemoveMenuItem(nullptr, "Copy"));
    EXPECT_EQ(1u, menu.Count());
}
