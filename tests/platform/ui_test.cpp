#include "platform/common/Utf16.h"
#include "platform/events/Services.h"
#include "platform/qd/Port.h"
#include "platform/ui/HelpTag.h"
#include "platform/ui/MenuFile.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/OpenURL.h"
#include "platform/ui/PutFileDialog.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Window.h"

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

namespace {

// Records what the window layer shows and answers menus with a fixed command.
class RecordingDriver : public events::UiDriver
{
public:
    std::uint32_t choose = 0;
    std::vector<events::MenuRequest> menus;
    std::vector<std::string> notices;

    std::uint32_t PopUpMenu(const events::MenuRequest& menu) override
    {
        menus.push_back(menu);
        return choose;
    }
    void HelpTagChanged(const events::HelpTag* tag) override
    {
        notices.push_back(tag ? "tag " + tag->text : "tag hidden");
    }
    void ModelessChanged(events::ModalSubject& dialog, bool shown) override
    {
        notices.push_back(dialog.ModalKind() + (shown ? " shown" : " hidden"));
    }
    bool OpenURL(const std::string& url) override
    {
        notices.push_back("open " + url);
        return url.rfind("http", 0) == 0;
    }
};

std::string Text(const std::u16string& s) { return utf8::FromUtf16(s); }

} // namespace

TEST(ScrollBar, HitPartsAlongAVerticalAndAHorizontalBar)
{
    // A vertical bar 15 wide and 215 long: arrows of 15 at each end, a track
    // of 185; the view (100) is a third of range + view, so the thumb is 61.
    ui::ScrollBar v;
    v.SetBounds(100, 10, 115, 225);
    v.SetMaximum(200);
    v.SetViewSize(100);
    v.SetValue(100);
    int start = 0, end = 0;
    ASSERT_TRUE(v.ThumbExtent(start, end));
    EXPECT_EQ(25 + 62, start); // halfway along the 124 pixels left to it
    EXPECT_EQ(start + 61, end);
    ui::ScrollBar h;
    h.SetBounds(0, 300, 200, 315);
    h.SetMaximum(10);
    const struct
    {
        ui::ScrollBar* bar;
        int h, v, part;
        const char* what;
    } cases[] = {
        {&v, 107, 10, ui::kPartUpArrow, "top edge"},
        {&v, 107, 24, ui::kPartUpArrow, "last pixel of the up arrow"},
        {&v, 107, 25, ui::kPartPageUp, "first pixel of the track"},
        {&v, 107, start - 1, ui::kPartPageUp, "just above the thumb"},
        {&v, 107, start, ui::kPartThumb, "thumb"},
        {&v, 107, end - 1, ui::kPartThumb, "thumb's last pixel"},
        {&v, 107, end, ui::kPartPageDown, "below the thumb"},
        {&v, 107, 210, ui::kPartDownArrow, "down arrow"},
        {&v, 107, 224, ui::kPartDownArrow, "bottom pixel"},
        {&v, 107, 225, 0, "below the bar"},
        {&v, 115, 100, 0, "right of the bar"},
        {&h, 5, 307, ui::kPartUpArrow, "left arrow"},
        {&h, 190, 307, ui::kPartDownArrow, "right arrow"},
        {&h, 20, 307, ui::kPartThumb, "thumb at the start (value 0)"},
        {&h, 150, 307, ui::kPartPageDown, "page right"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.part, c.bar->TestPart(c.h, c.v)) << c.what;

    // Nothing to scroll, or hidden: no parts at all.
    v.SetMaximum(0);
    EXPECT_EQ(0, v.TestPart(107, 12));
    v.SetMaximum(200);
    v.SetVisible(false);
    EXPECT_EQ(0, v.TestPart(107, 12));
    // Too short for a thumb: only the arrows.
    ui::ScrollBar tiny;
    tiny.SetBounds(0, 0, 15, 40);
    tiny.SetMaximum(50);
    EXPECT_EQ(ui::kPartUpArrow, tiny.TestPart(5, 3));
    EXPECT_EQ(0, tiny.TestPart(5, 20));
}

TEST(ScrollBar, LiveActionRunsForThePartPressedAndValuesStayInRange)
{
    ui::ScrollBar bar;
    bar.SetBounds(0, 0, 15, 200);
    bar.SetMaximum(100);
    std::vector<int> parts;
    bar.SetActionProc([&](ui::ScrollBar& b, int part) {
        parts.push_back(part);
        b.SetValue(b.Value() + (part == ui::kPartDownArrow ? 10 : -10));
    });
    EXPECT_EQ(ui::kPartDownArrow, bar.Track(5, 195));
    EXPECT_EQ(ui::kPartUpArrow, bar.Track(5, 2));
    EXPECT_EQ(ui::kPartUpArrow, bar.Track(5, 2));
    EXPECT_EQ(0, bar.Track(50, 50)); // outside: no action
    EXPECT_EQ((std::vector<int>{21, 20, 20}), parts);
    EXPECT_EQ(0, bar.Value()); // clamped at the minimum
    bar.SetValue(500);
    EXPECT_EQ(100, bar.Value());
    bar.SetMaximum(40);
    EXPECT_EQ(40, bar.Value());
}

TEST(Menus, ContextMenuFromTheResourcesFolderPopsUpThroughTheDriver)
{
    ui::Menu menu;
    ASSERT_TRUE(ui::LoadMenu("Quillmark", "MenuAll", menu));
    EXPECT_EQ(128u, menu.Id());
    ASSERT_GT(menu.Count(), 10u);
    EXPECT_EQ("Cut", Text(menu.Item(0).text));
    EXPECT_EQ(32811u, menu.Item(0).command);
    const int table = menu.Find(u"Table");
    ASSERT_GE(table, 0);
    const ui::Menu* sub = menu.Item(static_cast<std::size_t>(table)).submenu.get();
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ("Table", Text(sub->Title()));
    const int align = sub->Find(u"Align Cell");
    ASSERT_GE(align, 0);
    const ui::Menu& cell = *sub->Item(static_cast<std::size_t>(align)).submenu;
    EXPECT_EQ("Align Horizontal", Text(cell.Item(0).text));
    EXPECT_EQ(32819u, cell.Item(0).submenu->Item(0).command);

    RecordingDriver driver;
    events::ScopedUiDriver scope(driver);
    driver.choose = 32812; // Copy
    EXPECT_EQ(32812u, ui::PopUpMenuSelect(menu, 40, 30));
    ASSERT_EQ(1u, driver.menus.size());
    EXPECT_EQ(40, driver.menus[0].v);
    EXPECT_EQ("Copy", driver.menus[0].entries[1].text);
    EXPECT_TRUE(driver.menus[0].entries[4].separator);
    driver.choose = 32819; // inside a sub-submenu
    EXPECT_EQ(32819u, ui::PopUpMenuSelect(menu, 0, 0));
    driver.choose = 4242; // not in the menu
    EXPECT_EQ(0u, ui::PopUpMenuSelect(menu, 0, 0));
    menu.Item(1).enabled = false;
    driver.choose = 32812; // disabled
    EXPECT_EQ(0u, ui::PopUpMenuSelect(menu, 0, 0));

    // A copy owns its submenus.
    ui::Menu copy = menu;
    copy.Item(static_cast<std::size_t>(table)).submenu->Clear();
    EXPECT_GT(menu.Item(static_cast<std::size_t>(table)).submenu->Count(), 0u);
}

TEST(Menus, UnreadableDescriptionsLoadNothing)
{
    ui::Menu menu;
    const char* bad[] = {
        "",
        "<menus><menu name='M'><item text='a' command='12x'/></menu></menus>",
        "<menus><menu name='M'><item text='a' command='99999999999'/></menu></menus>",
        "<menus><menu name='M'><button/></menu></menus>",
        "<menus><menu name='M'><menu text='1'><menu text='2'><menu text='3'><menu text='4'><menu text='5'>"
        "<menu text='6'><menu text='7'><menu text='8'/></menu></menu></menu></menu></menu></menu></menu>"
        "</menu></menus>",
        "<menus><menu name='Other'/></menus>",
        "<other><menu name='M'/></other>",
    };
    for (const char* xml : bad) {
        EXPECT_FALSE(ui::ReadMenu(xml, "M", menu)) << xml;
        EXPECT_EQ(0u, menu.Count());
    }
    ASSERT_TRUE(ui::ReadMenu("<menus><menu name='M'><item text='caf\xC3\xA9' command='7' enabled='false' "
                             "checked='true'/><separator/></menu></menus>",
        "M", menu));
    EXPECT_EQ(u"caf\u00E9", menu.Item(0).text);
    EXPECT_FALSE(menu.Item(0).enabled);
    EXPECT_TRUE(menu.Item(0).checked);
    EXPECT_TRUE(menu.Item(1).separator);
    EXPECT_FALSE(ui::LoadMenu("../Quillmark", "MenuAll", menu));
    EXPECT_FALSE(ui::LoadMenu("NoSuchInterface", "MenuAll", menu));
}

TEST(Windows, TitlesPortsAndGroups)
{
    const std::size_t before = ui::Window::All().size();
    auto parent = std::make_unique<ui::Window>("Page");
    parent->MoveTo(100, 80);
    ASSERT_TRUE(parent->SetSize(300, 200));
    ASSERT_NE(nullptr, parent->Port());
    EXPECT_EQ(100, parent->Port()->ScreenPosition().h);
    EXPECT_EQ(parent.get(), ui::Window::FromPort(parent->Port()));
    EXPECT_FALSE(parent->SetSize(0, 10));
    EXPECT_EQ(300, parent->Width());
    EXPECT_EQ(before + 1, ui::Window::All().size());
    EXPECT_EQ(&events::EventTarget::Application(), parent->Target().Parent());

    ui::Window box("Box");
    {
        ui::WindowGroup group;
        group.Add(*parent);
        group.Add(box);
        EXPECT_EQ(&group, box.Group());
        EXPECT_EQ((std::vector<ui::Window*>{parent.get(), &box}), group.Windows());
        parent.reset(); // a window that goes leaves its group
        EXPECT_EQ((std::vector<ui::Window*>{&box}), group.Windows());
    }
    EXPECT_EQ(nullptr, box.Group());
    EXPECT_EQ(nullptr, ui::Window::FromPort(nullptr));
}

TEST(ModalDialog, ParentTitleDefaultButtonAndFieldsReachTheDriver)
{
    ui::Window page("Page title");
    ScriptedUiDriver driver;
    std::string parentTitle;
    int defaultButton = -2;
    driver.step = [&](events::ModalLoop& loop) {
        auto& d = dynamic_cast<ui::ModalDialog&>(loop.Subject());
        parentTitle = d.ParentTitle();
        defaultButton = d.defaultButton;
        EXPECT_TRUE(d.SetField("href", "http://x.test/"));
        EXPECT_FALSE(d.SetField("nope", "1"));
        d.Press(static_cast<std::size_t>(d.defaultButton));
        return events::ModalAnswer::Continue();
    };
    events::ScopedUiDriver scope(driver);
    ui::ModalDialog d("property");
    MakeMessage(d);
    d.parent = &page;
    d.defaultButton = 1;
    d.fields = {{"title", ""}, {"href", "old"}};
    EXPECT_EQ(events::ModalStatus::kQuit, d.RunModal());
    EXPECT_EQ(static_cast<int>(events::FourCC("not!")), d.Result());
    EXPECT_EQ("Page title", parentTitle);
    EXPECT_EQ(1, defaultButton);
    ASSERT_NE(nullptr, d.Field("href"));
    EXPECT_EQ("http://x.test/", *d.Field("href"));
    EXPECT_EQ(nullptr, d.Field("nope"));
}

TEST(ModalDialog, ModelessDialogsAreListedUntilHiddenOrGone)
{
    RecordingDriver driver;
    events::ScopedUiDriver scope(driver);
    std::vector<std::uint32_t> commands;
    {
        ui::ModalDialog find("find");
        find.buttons = {{"Next", events::FourCC("next")}};
        find.Target().InstallHandler({{events::kEventClassCommand, events::kEventCommandProcess}},
            [&](const events::NextHandler&, events::Event& e) {
                std::uint32_t c = 0;
                e.GetParam(events::kParamCommandId, c);
                commands.push_back(c);
                return events::kNoErr;
            });
        ASSERT_TRUE(find.ShowModeless());
        EXPECT_FALSE(find.ShowModeless());
        EXPECT_EQ(events::ModalStatus::kNotRun, find.RunModal());
        ASSERT_EQ(1u, ui::ModalDialog::Modeless().size());
        ui::ModalDialog::Modeless()[0]->Press(0); // the user, any time later
        EXPECT_EQ((std::vector<std::uint32_t>{events::FourCC("next")}), commands);
    }
    EXPECT_TRUE(ui::ModalDialog::Modeless().empty());
    EXPECT_EQ((std::vector<std::string>{"find shown", "find hidden"}), driver.notices);
}

TEST(HelpTagsAndUrls, ShownHiddenAndHandedOn)
{
    RecordingDriver driver;
    events::ScopedUiDriver scope(driver);
    EXPECT_EQ(nullptr, ui::CurrentHelpTag());
    events::HelpTag tag;
    tag.text = "Bold";
    tag.left = 10;
    tag.right = 30;
    ui::ShowHelpTag(tag);
    ASSERT_NE(nullptr, ui::CurrentHelpTag());
    EXPECT_EQ("Bold", ui::CurrentHelpTag()->text);
    ui::HideHelpTag();
    ui::HideHelpTag(); // nothing showing: no second notice
    EXPECT_EQ(nullptr, ui::CurrentHelpTag());
    EXPECT_TRUE(ui::OpenURL("http://example.test/help"));
    EXPECT_FALSE(ui::OpenURL("mailto:x@example.test")); // the driver refuses
    EXPECT_FALSE(ui::OpenURL(""));
    EXPECT_FALSE(ui::OpenURL("http://a\nb"));
    EXPECT_EQ((std::vector<std::string>{
                  "tag Bold", "tag hidden", "open http://example.test/help", "open mailto:x@example.test"}),
        driver.notices);
}
