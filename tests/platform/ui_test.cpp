#include "platform/events/Services.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/PutFileDialog.h"

#include "tests/common/ScriptedUiDriver.h"

#include <gtest/gtest.h>

using namespace qm;
using qmtest::ScriptedUiDriver;

namespace {

void MakeMessage(ui::ModalDialog& d)
{
    d.caption = "Title";
    d.texts = {"Are you sure?"};
    d.buttons = {{"OK", events::FourCC("ok  ")}, {"Cancel", events::FourCC("not!")}};
}

} // namespace

TEST(ModalDialog, DriverTypesAndPressesAButton)
{
    ScriptedUiDriver driver;
    driver.step = [](events::ModalLoop& loop) {
        auto* dialog = dynamic_cast<ui::ModalDialog*>(&loop.Subject());
        if (!dialog || dialog->ModalKind() != "message")
            return events::ModalAnswer::NoAnswer();
        dialog->texts.push_back("typed");
        dialog->Press(static_cast<size_t>(dialog->FindButton("Cancel")));
        return events::ModalAnswer::Continue();
    };
    events::ScopedUiDriver scope(driver);
    ui::ModalDialog d("message");
    MakeMessage(d);
    EXPECT_EQ(events::ModalStatus::kQuit, d.RunModal());
    EXPECT_EQ(static_cast<int>(events::FourCC("not!")), d.Result());
    EXPECT_EQ("typed", d.texts.back());
    EXPECT_EQ(0u, d.Target().HandlerCount()); // its own handler is gone again
}

TEST(ModalDialog, UnknownCommandsDoNotEndItAndCloseGivesZero)
{
    ScriptedUiDriver driver;
    int steps = 0;
    driver.step = [&](events::ModalLoop&) {
        return ++steps < 3 ? events::ModalAnswer::Command(events::FourCC("what"))
                           : events::ModalAnswer::Close();
    };
    events::ScopedUiDriver scope(driver);
    ui::ModalDialog d("message");
    MakeMessage(d);
    EXPECT_EQ(events::ModalStatus::kQuit, d.RunModal());
    EXPECT_EQ(0, d.Result());
    EXPECT_EQ(3, steps);
}

TEST(ModalDialog, FailsWhenTheDriverDoesNotAnswer)
{
    ScriptedUiDriver driver;
    driver.step = [](events::ModalLoop&) { return events::ModalAnswer::NoAnswer(); };
    events::ScopedUiDriver scope(driver);
    ui::ModalDialog d("message");
    MakeMessage(d);
    EXPECT_EQ(events::ModalStatus::kNoAnswer, d.RunModal());
    EXPECT_EQ(0, d.Result());
    EXPECT_FALSE(d.Press(5));
}

TEST(PutFileDialog, CancelledByDefaultAnsweredByTheDriver)
{
    events::Services::Get().Reset();
    events::PutFileRequest request;
    request.proposedName = "report.pdf";
    request.fileType = "****";
    events::PutFileReply reply;
    EXPECT_FALSE(ui::RunPutFileDialog(request, reply));

    ScriptedUiDriver driver;
    events::ScopedUiDriver scope(driver);
    driver.putAnswer = true;
    driver.putReply = {"/home/u/Docs", ""};
    EXPECT_FALSE(ui::RunPutFileDialog(request, reply)); // no name typed
    driver.putReply = {"/home/u/Docs", "r.pdf"};
    EXPECT_TRUE(ui::RunPutFileDialog(request, reply));
    EXPECT_EQ("r.pdf", reply.fileName);
    EXPECT_EQ("report.pdf", driver.putRequest.proposedName);
}
