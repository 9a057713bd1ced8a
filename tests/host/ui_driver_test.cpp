// The host's scripted UI driver: queued answers for dialogs, menus, put-file
// and drags, the log line of each request, and the non-blocking defaults (or
// failures) when nothing was scripted.

#include "host/ScriptedUiDriver.h"

#include "platform/dnd/DragSession.h"
#include "platform/events/Services.h"
#include "platform/ui/MenuFile.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/PutFileDialog.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

using namespace qm;
using qm::host::ScriptedUiDriver;

namespace {

class DriverTest : public ::testing::Test
{
protected:
    ScriptedUiDriver driver;
    events::ScopedUiDriver scope{driver};

    const std::string& LastLine() const { return driver.log->Lines().back(); }
};

void MakeLinkDialog(ui::ModalDialog& d, const ui::Window* parent)
{
    d.caption = "Link";
    d.texts = {"Where to?"};
    d.buttons = {{"OK", events::FourCC("ok  ")}, {"Cancel", events::FourCC("canc")}};
    d.defaultButton = 0;
    d.fields = {{"href", ""}, {"title", ""}};
    d.parent = parent;
}

} // namespace

TEST_F(DriverTest, ContextMenuFromTheResourcesIsLoggedWithTheChoice)
{
    ui::Menu menu;
    ASSERT_TRUE(ui::LoadMenu("Quillmark", "MenuAll", menu));
    driver.menus.push_back({"Table/Align Cell/Align Vertical/Middle", 0});
    driver.menus.push_back({"", 32888}); // Redo, by command
    driver.menus.push_back({"Table/No Such Entry", 0});
    driver.menus.push_back({});
    EXPECT_EQ(32823u, ui::PopUpMenuSelect(menu, 200, 100));
    const std::string& line = LastLine();
    EXPECT_EQ(0u, line.find("menu at (100, 200): Cut, Copy, Paste, Delete, -, Undo, Redo, -, Select All"))
        << line;
    EXPECT_NE(std::string::npos, line.find(", Table>, ")) << line;
    EXPECT_NE(std::string::npos, line.find("-> \"Middle\" (32823)")) << line;
    EXPECT_EQ(32888u, ui::PopUpMenuSelect(menu, 0, 0));
    EXPECT_EQ(0u, ui::PopUpMenuSelect(menu, 0, 0));
    EXPECT_EQ(1u, driver.failures.size());
    EXPECT_EQ(0u, ui::PopUpMenuSelect(menu, 0, 0));
    EXPECT_NE(std::string::npos, LastLine().find("-> dismissed"));
    // Nothing queued: dismissed by default, logged so.
    EXPECT_EQ(0u, ui::PopUpMenuSelect(menu, 0, 0));
    EXPECT_NE(std::string::npos, LastLine().find("dismissed (no scripted answer)"));
    EXPECT_EQ(1u, driver.failures.size());
}

TEST_F(DriverTest, DialogAnswersEditFieldsAndPressButtons)
{
    ui::Window page("Page");
    host::DialogAnswer edit;
    edit.press = ""; // the default button
    edit.fields = {{"href", "http://x.test/\xC3\xA9"}};
    driver.dialogs.push_back(edit);
    ui::ModalDialog d("property");
    MakeLinkDialog(d, &page);
    EXPECT_EQ(events::ModalStatus::kQuit, d.RunModal());
    EXPECT_EQ(static_cast<int>(events::FourCC("ok  ")), d.Result());
    EXPECT_EQ("http://x.test/\xC3\xA9", *d.Field("href"));
    EXPECT_EQ(
        "dialog property \"Link\": \"Where to?\" [OK*, Cancel] {href=\"\", title=\"\"} over \"Page\" -> "
        "set href=\"http://x.test/\xC3\xA9\", press \"OK\"",
        LastLine());
    EXPECT_EQ("Page", driver.parentTitle);
    EXPECT_EQ("OK", driver.defaultLabel);

    driver.dialogs.push_back({host::DialogAnswer::kPress, "Cancel", {}});
    d.RunModal();
    EXPECT_EQ(static_cast<int>(events::FourCC("canc")), d.Result());

    // A button or field the dialog lacks: a failure, and the dialog closes.
    driver.dialogs.push_back({host::DialogAnswer::kPress, "Apply", {{"colour", "red"}}});
    EXPECT_EQ(events::ModalStatus::kQuit, d.RunModal());
    EXPECT_EQ(0, d.Result());
    EXPECT_EQ(2u, driver.failures.size());

    // Nothing queued: closed by default; asked to fail: the loop fails.
    EXPECT_EQ(events::ModalStatus::kQuit, d.RunModal());
    EXPECT_EQ("dialog property \"Link\": \"Where to?\" [OK*, Cancel] {href=\"http://x.test/\xC3\xA9\", "
              "title=\"\"} over \"Page\" -> close (no scripted answer)",
        LastLine());
    driver.failWhenUnanswered = true;
    EXPECT_EQ(events::ModalStatus::kNoAnswer, d.RunModal());
    EXPECT_EQ(3u, driver.failures.size());
    EXPECT_EQ(5, driver.shown); // every run was recorded once
}

TEST_F(DriverTest, ADragIsDroppedInsideTheTrackCall)
{
    ui::Window target("Editor");
    std::vector<std::string> seen;
    const auto tracking = dnd::DragSession::InstallTrackingHandler(
        &target, [&](short message, dnd::WindowKey, dnd::DragSession&) {
            seen.push_back("track " + std::to_string(message));
            return 0;
        });
    const auto receive
        = dnd::DragSession::InstallReceiveHandler(&target, [&](dnd::WindowKey, dnd::DragSession& drag) {
              const events::Point at = drag.Mouse();
              seen.push_back("drop at " + std::to_string(at.h) + "," + std::to_string(at.v));
              return dnd::kDragAccepted;
          });
    dnd::DragSession drag;
    drag.AddFlavor(1, events::FourCC("utxt"), u"hi", 4);
    host::DragAnswer answer;
    answer.drop = true;
    answer.windowTitle = "Editor";
    answer.atPoint = true;
    answer.h = 30;
    answer.v = 40;
    driver.drags.push_back(answer);
    EXPECT_EQ(0, drag.Track());
    EXPECT_TRUE(drag.WasDropped());
    EXPECT_EQ(
        (std::vector<std::string>{"track 1", "track 2", "track 3", "drop at 30,40", "track 4", "track 5"}),
        seen);
    EXPECT_EQ("drag of 1 item(s) 'utxt' -> drop in \"Editor\" at (30, 40): accepted", LastLine());

    // Unscripted: cancelled; a window that does not exist: a failure.
    dnd::DragSession again;
    EXPECT_EQ(events::kUserCanceledErr, again.Track());
    EXPECT_EQ("drag of 0 item(s) -> cancel (no scripted answer)", LastLine());
    answer.windowTitle = "Nowhere";
    driver.drags.push_back(answer);
    EXPECT_EQ(events::kUserCanceledErr, again.Track());
    EXPECT_EQ(1u, driver.failures.size());
    dnd::DragSession::RemoveTrackingHandler(tracking);
    dnd::DragSession::RemoveReceiveHandler(receive);
}

TEST_F(DriverTest, PutFileAnswersAndTheStandingReply)
{
    events::PutFileRequest request;
    request.proposedName = "page.html";
    request.clientName = "Editor";
    request.windowModal = true;
    events::PutFileReply reply;
    driver.putFiles.push_back({true, "/tmp/out", "saved.html"});
    driver.putFiles.push_back({false, "", ""});
    EXPECT_TRUE(ui::RunPutFileDialog(request, reply));
    EXPECT_EQ("saved.html", reply.fileName);
    EXPECT_EQ("put-file \"page.html\" for \"Editor\" (window-modal) -> save \"/tmp/out\" \"saved.html\"",
        LastLine());
    EXPECT_FALSE(ui::RunPutFileDialog(request, reply));
    EXPECT_EQ("put-file \"page.html\" for \"Editor\" (window-modal) -> cancel", LastLine());
    EXPECT_FALSE(ui::RunPutFileDialog(request, reply));
    EXPECT_NE(std::string::npos, LastLine().find("cancel (no scripted answer)"));
    driver.putAnswer = true; // what older tests set
    driver.putReply = {"/home", "a.txt"};
    EXPECT_TRUE(ui::RunPutFileDialog(request, reply));
    EXPECT_EQ("a.txt", reply.fileName);
}
