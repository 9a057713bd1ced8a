// CDialog answered by the scripted UI driver: results, EndDialog, the
// modeless form, the skip-event flag; TWindow's window group.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/events/Event.h"
#include "platform/events/ModalLoop.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/Window.h"
#include "ui/Dialog.h"
#include "ui/Window.h"

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

using qm::events::ModalAnswer;
using qm::events::ModalLoop;
using qmtest::FromUtf8;

namespace {

constexpr std::uint32_t kApply = 0x61706C79;  // 'aply'
constexpr std::uint32_t kCancel = 0x636E636C; // 'cncl'
constexpr std::uint32_t kEnd = 0x656E6464;    // 'endd', no button's

// Two buttons, "Apply" and "Cancel"; the command 'endd' ends the dialog
// with 7 through EndDialog.
class TwoButtonDialog : public CDialog
{
public:
    TwoButtonDialog()
    {
        DialogTarget().InstallHandler({{qm::events::kEventClassCommand, qm::events::kEventCommandProcess}},
            [this](const qm::events::NextHandler&, qm::events::Event& e) {
                std::uint32_t command = 0;
                if (!e.GetParam(qm::events::kParamCommandId, command) || command != kEnd)
                    return qm::events::kEventNotHandledErr;
                EndDialog(7);
                return qm::events::kNoErr;
            });
    }
    int inits = 0;

protected:
    void OnInitDialog() override
    {
        ++inits;
        Dialog().texts = {"Apply the change?"};
        Dialog().buttons = {{"Apply", kApply}, {"Cancel", kCancel}};
    }
};

class DialogTest : public qmtest::ScriptedUiTest
{ };

} // namespace

TEST_F(DialogTest, ButtonsCloseWithTheirPlaceAndTheWindowShowsMeanwhile)
{
    TWindow page;
    page.SetWindowText(FromUtf8("Page"));
    TwoButtonDialog dialog;
    dialog.SetWindowText(FromUtf8("Table \xC3\xA9"));
    dialog.SetParent(&page);

    driver.press = "Apply";
    EXPECT_EQ(1, dialog.DoModal());
    EXPECT_EQ("Table \xC3\xA9", driver.caption);
    EXPECT_EQ("Page", driver.parentTitle);
    EXPECT_EQ(std::vector<std::string>({"Apply the change?"}), driver.texts);

    driver.press = "Cancel";
    EXPECT_EQ(2, dialog.DoModal());
    EXPECT_EQ(2, dialog.GetResult());
    EXPECT_EQ(2, dialog.inits); // filled afresh each time it opens

    bool shown = false;
    driver.step = [&](ModalLoop&) {
        shown = dialog.GetWindowRef().IsVisible() && dialog.IsOpen();
        return ModalAnswer::Close();
    };
    EXPECT_EQ(0, dialog.DoModal());
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dialog.GetWindowRef().IsVisible());
    EXPECT_FALSE(dialog.IsOpen());

    driver.step = [](ModalLoop&) { return ModalAnswer::NoAnswer(); };
    EXPECT_EQ(0, dialog.DoModal());
}

TEST_F(DialogTest, EndDialogEndsTheLoopWithItsCode)
{
    TwoButtonDialog dialog;
    int nested = -1;
    driver.step = [&](ModalLoop&) {
        nested = dialog.DoModal(); // open already
        return ModalAnswer::Command(kEnd);
    };
    EXPECT_EQ(7, dialog.DoModal());
    EXPECT_EQ(0, nested);
    dialog.EndDialog(3); // not open: nothing
    EXPECT_EQ(7, dialog.GetResult());
}

TEST_F(DialogTest, TheSkipEventFlagIsSetWhileOpenAndGivenBackAfter)
{
    unsigned char flag = 0;
    TwoButtonDialog modal;
    modal.SetSkipEventVariable(&flag);
    int during = -1;
    driver.step = [&](ModalLoop&) {
        during = flag;
        return ModalAnswer::Close();
    };
    modal.DoModal();
    EXPECT_EQ(1, during);
    EXPECT_EQ(0, flag);

    // A flag set by someone else stays set.
    flag = 1;
    modal.DoModal();
    EXPECT_EQ(1, flag);
    flag = 0;

    // Held by two modeless dialogs closed in either order, and by a modal
    // one opened meanwhile.
    TwoButtonDialog first, second;
    first.SetSkipEventVariable(&flag);
    second.SetSkipEventVariable(&flag);
    ASSERT_TRUE(first.StartModalless(true));
    ASSERT_TRUE(second.StartModalless(true));
    modal.DoModal();
    EXPECT_EQ(1, flag);
    first.EndDialog(0);
    EXPECT_EQ(1, flag);
    second.EndDialog(0);
    EXPECT_EQ(0, flag);

    // An open dialog destroyed gives it back too.
    {
        TwoButtonDialog doomed;
        doomed.SetSkipEventVariable(&flag);
        ASSERT_TRUE(doomed.StartModalless(true));
        EXPECT_EQ(1, flag);
    }
    EXPECT_EQ(0, flag);
}

TEST_F(DialogTest, ModelessDialogsAreListedUntilEnded)
{
    TwoButtonDialog dialog;
    ASSERT_TRUE(dialog.StartModalless(true));
    EXPECT_FALSE(dialog.StartModalless(true));
    EXPECT_EQ(0, dialog.DoModal()); // open already
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_TRUE(dialog.GetWindowRef().IsVisible());
    ASSERT_EQ(1u, qm::ui::ModalDialog::Modeless().size());

    // Its commands go to the owner's handlers.
    qm::ui::ModalDialog* shown = qm::ui::ModalDialog::Modeless()[0];
    shown->SendCommand(kEnd);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(7, dialog.GetResult());
    EXPECT_TRUE(qm::ui::ModalDialog::Modeless().empty());

    // Closing its window ends it with 0; so does StartModalless(false).
    ASSERT_TRUE(dialog.StartModalless(true));
    qm::events::Event close(qm::events::kEventClassWindow, qm::events::kEventWindowClose);
    dialog.DialogTarget().SendEvent(close);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(0, dialog.GetResult());
    EXPECT_FALSE(dialog.StartModalless(false));
    ASSERT_TRUE(dialog.StartModalless(true));
    EXPECT_TRUE(dialog.StartModalless(false));
    EXPECT_FALSE(dialog.GetWindowRef().IsVisible());
    EXPECT_TRUE(qm::ui::ModalDialog::Modeless().empty());
}

TEST(TWindowGroup, AWindowIsInOneGroupAtMost)
{
    qm::ui::WindowGroup a, b;
    TWindow w;
    EXPECT_TRUE(w.SetWindowGroup(&a));
    EXPECT_TRUE(w.SetWindowGroup(&b));
    EXPECT_EQ(&b, w.GetWindowGroup());
    EXPECT_TRUE(a.Windows().empty());
    EXPECT_TRUE(w.SetWindowGroup(nullptr));
    EXPECT_EQ(nullptr, w.GetWindowGroup());
    EXPECT_TRUE(b.Windows().empty());
}
