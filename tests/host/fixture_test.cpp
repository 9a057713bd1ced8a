// The fixture plug-in loaded through its entry points, driven by the test
// host: parameters, a null window then a real one, every event kind,
// scripting with each variant type, the page's functions (re-entered from
// an event), the platform's dialogs, menus, drags, help tags and put-file,
// the network, the clipboard, and a clean account after NPP_Destroy.

#include "host/Host.h"
#include "host/UsKeys.h"

#include "platform/events/InputState.h"
#include "platform/input/KeyLayout.h"
#include "platform/qd/Port.h"
#include "platform/ui/ModalDialog.h"

#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace qm;
using namespace qm::host;

namespace {

const char* const kMime = "application/x-qm-fixture";

class FixtureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("home-")));
        Start(HostOptions());
    }

    void TearDown() override
    {
        if (!host)
            return;
        host->Destroy();
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << host->Log().Text();
        host->Unload();
    }

    void Start(HostOptions options)
    {
        if (host)
            host->Unload();
        host.reset();
        options.window.title = "Fixture page";
        host = std::make_unique<Host>(options);
        host->GetBrowser().SetAddress("http://www.example.test/f.html");
        host->GetBrowser().SetCookie("s=\xE2\x82\xAC");
        host->GetBrowser().Window().functions = {"qmContentChanged", "qmFocusSet"};
        std::string error;
        ASSERT_TRUE(host->Load(QM_HOST_FIXTURE, error)) << error;
        ASSERT_TRUE(
            host->New(kMime, {{"id", std::string("f1")}, {"Debug", std::nullopt}, {"Empty", std::string()}}));
    }

    void Open() { ASSERT_TRUE(host->SetWindow(40, 30, 300, 200)); }

    ScriptValue Get(const std::string& name)
    {
        ScriptValue v;
        EXPECT_TRUE(host->Get(name, v)) << name;
        return v;
    }

    std::string Text() { return Get("Value").text; }

    ScriptValue Call(const std::string& name, std::vector<ScriptValue> args = {})
    {
        ScriptValue v;
        EXPECT_TRUE(host->Invoke(name, args, v)) << name;
        return v;
    }

    std::size_t Count(const std::string& text) const
    {
        std::size_t n = 0;
        for (const std::string& line : host->Log().Lines())
            n += line.find(text) != std::string::npos;
        return n;
    }

    qmtest::TempHome home;
    std::unique_ptr<Host> host;
};

} // namespace

TEST(FixtureModule, LoadingChecksTheEntryPoints)
{
    Host host;
    std::string error;
    EXPECT_FALSE(host.Load("/no/such/module.so", error));
    EXPECT_NE(std::string::npos, error.find("cannot load")) << error;
    EXPECT_FALSE(host.Load(QM_RESOURCES_PROBE, error)); // a module, but not a plug-in
    EXPECT_NE(std::string::npos, error.find("lacks an entry point")) << error;
    EXPECT_FALSE(host.New(kMime, {}));
    ASSERT_TRUE(host.Load(QM_HOST_FIXTURE, error)) << error;
    EXPECT_TRUE(host.New(kMime, {}));
    EXPECT_FALSE(host.New(kMime, {})); // one instance at a time
    std::string name;
    EXPECT_TRUE(host.PluginString(NPPVpluginNameString, name));
    EXPECT_EQ("Quillmark test fixture", name);
    EXPECT_TRUE(host.Destroy());
    EXPECT_EQ(std::vector<std::string>(), host.Problems());
}

TEST_F(FixtureTest, ParametersANullWindowThenARealOne)
{
    EXPECT_EQ("\"id=f1;Debug=(null);Empty=\"", Get("Params").Describe()); // no value stays null
    EXPECT_TRUE(host->SetNullWindow());
    EXPECT_TRUE(host->Log().Contains("status: window: none"));
    host->Advance(300);
    EXPECT_EQ(0, Get("Ticks").integer); // nothing was built without a window
    Open();
    EXPECT_TRUE(
        host->Log().Contains("status: init: page with window object; events: qmContentChanged qmFocusSet; "
                             "cookie s=\xE2\x82\xAC; href http://www.example.test/f.html; platform shared"));
    // The event-loop timer: 0, 100 and 200 ms.
    host->Advance(250);
    EXPECT_EQ(3, Get("Ticks").integer);
    // A clip change reaches the plug-in; the screen position is not 0.
    EXPECT_TRUE(host->SetClip(30, 40, 130, 240));
    EXPECT_TRUE(host->Log().Contains("clip 40,30 to 240,130"));
    EXPECT_EQ(100, host->Window().Window().ScreenH());
}

TEST_F(FixtureTest, EveryEventKind)
{
    Open();
    // Keys by virtual code before any text input: the layout's characters.
    EXPECT_EQ(1, host->Key(input::kVK_ANSI_A, events::kModControl));
    EXPECT_EQ(1, host->Key(input::kVK_Home));
    EXPECT_EQ(2u, Count("status: select all"));
    host->Key(input::kVK_ANSI_Z, events::kModCommand);
    EXPECT_EQ("z", Text());
    EXPECT_EQ(0, host->Key(input::kVK_Tab)); // left to the page
    // Typing: the first character comes by its key, the rest as text input.
    EXPECT_TRUE(host->Type("Hi"));
    EXPECT_TRUE(host->TextInput(u"\u65E5\u672C"));
    EXPECT_EQ("zHi\xE6\x97\xA5\xE6\x9C\xAC", Text());
    // Now a bare key-down types nothing; a key press still does, as its
    // text-input event: a letter, Backspace, an arrow.
    host->SendEvent(keyDown, UsKeyMessage(input::kVK_ANSI_X, 0), 0, 0, 0);
    EXPECT_EQ("zHi\xE6\x97\xA5\xE6\x9C\xAC", Text());
    EXPECT_EQ(1, host->Key(input::kVK_ANSI_X));
    EXPECT_EQ("zHi\xE6\x97\xA5\xE6\x9C\xAC"
              "x",
        Text());
    host->Key(input::kVK_Delete);
    host->Key(input::kVK_LeftArrow, events::kModShift);
    EXPECT_TRUE(host->Log().Contains("status: key: control character 28"));
    EXPECT_EQ("zHi\xE6\x97\xA5\xE6\x9C\xAC", Text());
    EXPECT_EQ(6u, Count("page: qmContentChanged(\"f1\")"));

    EXPECT_EQ(1, host->Click(10, 12));
    EXPECT_TRUE(host->Log().Contains("status: click at (10, 12)"));
    EXPECT_EQ(1, host->Null(5, 5));
    EXPECT_EQ(1, host->Activate(true));
    EXPECT_TRUE(host->Wheel(100, 100, -1));
    EXPECT_TRUE(host->Log().Contains("status: wheel: vertical, scroll 10"));
    EXPECT_EQ(1, host->Click(292, 195)); // the scroll bar's down arrow
    EXPECT_TRUE(host->Log().Contains("status: scroll bar: part 21, scroll 11"));

    // The focus event calls the page, whose function reads the plug-in's
    // value: a call back into the plug-in from inside its event handler.
    host->GetBrowser().Window().onCall = [this](const std::string& name, const std::vector<ScriptValue>&) {
        if (name == "qmFocusSet")
            Get("Value");
    };
    EXPECT_EQ(1, host->Focus(true));
    const auto& lines = host->Log().Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("page: qmFocusSet(\"f1\")", lines[lines.size() - 2]);
    EXPECT_EQ("get Value -> \"zHi\xE6\x97\xA5\xE6\x9C\xAC\"", lines.back());
    EXPECT_EQ(1, host->Focus(false)); // the page lacks qmFocusLost: not called
    EXPECT_FALSE(host->Log().Contains("qmFocusLost"));
    host->GetBrowser().Window().onCall = nullptr;

    // Control-click: the context menu from the resources, answered.
    host->Ui().menus.push_back({"Paste", 0});
    EXPECT_EQ(0, host->Click(50, 60, events::kModControl));
    EXPECT_TRUE(host->Log().Contains("status: menu at (50, 60): 32813"));
    // Shift-drag: the text dragged and dropped back inside, during the press.
    host::DragAnswer drop;
    drop.drop = true;
    drop.window = &host->Window().Window();
    host->Ui().drags.push_back(drop);
    host->Drag(20, 20, 60, 40, 3, events::kModShift);
    EXPECT_TRUE(host->Log().Contains("status: drag: dropped"));
    EXPECT_EQ("zHi\xE6\x97\xA5\xE6\x9C\xAC"
              "zHi\xE6\x97\xA5\xE6\x9C\xAC",
        Text());

    // Update: the plug-in paints its area of the browser window's port.
    EXPECT_EQ(1, host->Update());
    cairo_surface_t* s = host->Window().Window().Port()->Surface();
    cairo_surface_flush(s);
    const auto* row = cairo_image_surface_get_data(s) + cairo_image_surface_get_stride(s) * (30 + 150);
    const std::uint32_t inside = reinterpret_cast<const std::uint32_t*>(row)[40 + 150];
    const std::uint32_t outside = reinterpret_cast<const std::uint32_t*>(row)[20];
    EXPECT_EQ(0xFFFFFAE1u, inside);  // the fixture's paper colour
    EXPECT_EQ(0xFFEEEEEEu, outside); // the page around it
}

TEST_F(FixtureTest, TheScriptableObjectIsOneObjectRetainedPerRequest)
{
    Open();
    NPObject* first = host->ScriptableObject();
    ASSERT_NE(nullptr, first);
    const std::uint32_t count = first->referenceCount;
    NPObject* second = host->ScriptableObject();
    EXPECT_EQ(first, second);
    EXPECT_EQ(count + 1, second->referenceCount);
    host->ReleaseObject(second);
    host->ReleaseObject(first);
    EXPECT_EQ(count - 1, first->referenceCount); // the plug-in's own reference
}

TEST_F(FixtureTest, EachVariantTypeCrossesBothWays)
{
    Open();
    EXPECT_TRUE(host->Set("Value", ScriptValue::String("caf\xC3\xA9 \xF0\x9F\x98\x80")));
    EXPECT_EQ("\"caf\xC3\xA9 \xF0\x9F\x98\x80\"", Get("Value").Describe());
    EXPECT_TRUE(host->Set("Count", ScriptValue::Int(-7)));
    EXPECT_EQ("-7", Get("Count").Describe());
    EXPECT_TRUE(host->Set("Ratio", ScriptValue::Double(2.25)));
    EXPECT_EQ("2.25", Get("Ratio").Describe());
    EXPECT_TRUE(host->Set("Flag", ScriptValue::Bool(true)));
    EXPECT_EQ("true", Get("Flag").Describe());
    EXPECT_EQ("null", Get("Nothing").Describe());
    EXPECT_EQ("object", Get("Self").Describe());
    EXPECT_FALSE(host->Set("Count", ScriptValue::String("3")));
    EXPECT_TRUE(host->Log().Contains("exception: cannot set Count to that"));
    EXPECT_EQ("void", Call("Echo").Describe());
    for (const ScriptValue& v : {ScriptValue::Null(), ScriptValue::Bool(false), ScriptValue::Int(42),
             ScriptValue::Double(-0.5), ScriptValue::String(""), ScriptValue::String("\xE2\x82\xAC")}) {
        const ScriptValue back = Call("Echo", {v});
        EXPECT_EQ(v.type, back.type);
        EXPECT_EQ(v.Describe(), back.Describe());
    }
    EXPECT_EQ("\"caf\xC3\xA9 \xF0\x9F\x98\x80\"", Call("toString").Describe());
    ScriptValue none;
    EXPECT_FALSE(host->Invoke("NoSuchMethod", {}, none));
}

TEST_F(FixtureTest, TheFormValueIsBrowserMemoryThatTheHostFrees)
{
    Open();
    host->Set("Value", ScriptValue::String("<p>x</p>"));
    const std::size_t blocks = host->GetBrowser().Account().BlockCount();
    std::string value;
    ASSERT_TRUE(host->FormValue(value));
    EXPECT_EQ("<p>x</p>", value);
    EXPECT_EQ(blocks, host->GetBrowser().Account().BlockCount());
    host->Set("Value", ScriptValue::String(""));
    ASSERT_TRUE(host->FormValue(value));
    EXPECT_EQ("", value);
}

TEST_F(FixtureTest, DialogsHelpTagsModelessDialogsAndUrls)
{
    Open();
    host->Ui().dialogs.push_back({DialogAnswer::kPress, "", {}});
    EXPECT_EQ("\"OK\"", Call("Alert", {ScriptValue::String("Sure?")}).Describe());
    EXPECT_TRUE(host->Log().Contains(
        "dialog message \"Fixture\": \"Sure?\" [OK*, Cancel] over \"Fixture page\" -> press \"OK\""));
    EXPECT_EQ("\"closed\"", Call("Alert", {ScriptValue::String("Again?")}).Describe()); // the default: closed
    host->Ui().dialogs.push_back({DialogAnswer::kPress, "OK", {{"title", "T\xC3\xAEtle"}}});
    EXPECT_EQ("\"title=T\xC3\xAEtle\"", Call("Properties").Describe());

    Call("Tip", {ScriptValue::String("Bold")});
    EXPECT_TRUE(host->Log().Contains("help tag \"Bold\" at (140, 110, 160, 130)"));
    Call("Find");
    ASSERT_EQ(1u, ui::ModalDialog::Modeless().size());
    EXPECT_EQ("find", ui::ModalDialog::Modeless()[0]->ModalKind());
    Call("CloseFind");
    EXPECT_TRUE(ui::ModalDialog::Modeless().empty());
    EXPECT_EQ("true", Call("OpenHelp", {ScriptValue::String("http://www.example.test/help")}).Describe());
    EXPECT_TRUE(host->Log().Contains("open URL \"http://www.example.test/help\""));
    // The tip still showing goes with the plug-in.
}

TEST_F(FixtureTest, SavingGoesWhereThePutFileAnswerSays)
{
    Open();
    host->Set("Value", ScriptValue::String("saved text"));
    host->Ui().putFiles.push_back({true, home.Path(), "out.txt"});
    EXPECT_EQ("\"" + home.Path() + "/out.txt\"", Call("Save").Describe());
    std::ifstream in(home.Path() + "/out.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ("saved text", text.str());
    EXPECT_TRUE(host->Log().Contains("put-file \"fixture.txt\" for \"Fixture page\" (window-modal) -> save"));
    EXPECT_EQ("\"\"", Call("Save").Describe()); // nothing scripted: cancelled
}

TEST_F(FixtureTest, RequestsGoThroughTheNetworkLayer)
{
    Open();
    qmtest::LoopbackServer server;
    ASSERT_TRUE(server.Ok());
    server.Answer("/data", 200, "payload");
    EXPECT_EQ("\"payload\"", Call("Fetch", {ScriptValue::String(server.Url("/data"))}).Describe());
    const auto requests = server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("/data", requests[0].target);
    ASSERT_NE(nullptr, requests[0].Header("X-Fixture"));
    EXPECT_EQ("http://www.example.test/f.html", *requests[0].Header("X-Fixture"));
}

TEST_F(FixtureTest, TheClipboardIsShared)
{
    Open();
    host->SetClipboardText("clip \xE2\x82\xAC");
    Call("Paste");
    EXPECT_EQ("clip \xE2\x82\xAC", Text());
    host->Set("Value", ScriptValue::String("copied"));
    Call("Copy");
    EXPECT_EQ("copied", host->ClipboardText());
}

TEST_F(FixtureTest, EveryOtherBrowserFunction)
{
    Open();
    const ScriptValue summary = Call("Exercise");
    for (const char* expected : {"geturl=1 ", "posturl=1 ", "newstream=1 ", "write=-1 ", "int=7 ",
             "intIsString=0 ", "agent=Quillmark test host ", "evaluate=1 ", "invokeDefault=0 ",
             "setproperty=1 ", "hasproperty=1 ", "removeproperty=1 "})
        EXPECT_NE(std::string::npos, summary.text.find(expected)) << expected << " in " << summary.text;
    for (const char* line : {"geturl \"http://www.example.test/a\" \"_blank\" -> refused",
             "evaluate \"1+1\" -> void", "page: window.qmFixture = 3", "page: delete window.qmFixture",
             "exception: exercised", "reloadplugins alone -> ignored"})
        EXPECT_TRUE(host->Log().Contains(line)) << line;
}

TEST_F(FixtureTest, WhatThePluginLeavesBehindIsReported)
{
    Open();
    for (const char* how : {"timer", "memory", "retain", "over-release", "string"})
        Call("Misbehave", {ScriptValue::String(how)});
    EXPECT_TRUE(host->Destroy());
    // The extra retain and the two releases leave the plug-in one reference
    // short: its own release at NPP_Destroy is the one too many.
    const std::vector<std::string> expected = {
        "fault: call Misbehave: a string outside the memory it came in",
        "fault: the result of Misbehave: a string that did not come from memalloc",
        "fault: release of the page's window object past the references it was given",
        "leak: 16 bytes for memalloc of 16 bytes",
        "left: 1 timer(s)",
    };
    EXPECT_EQ(expected, host->Problems());
    host.reset(); // what was left goes with the browser
}

TEST_F(FixtureTest, WithoutHasMethodEveryEventIsRaisedAndWithoutAWindowObjectNone)
{
    HostOptions options;
    options.browser.hasMethod = false;
    Start(options);
    Open();
    EXPECT_TRUE(host->Log().Contains(
        "events: qmButtonClicked qmTagListChanged qmContentChanged qmFocusSet qmFocusLost "
        "qmModeChanged qmContextMenuClicked qmContextMenuActivated"));
    host->Focus(false);
    EXPECT_TRUE(host->Log().Contains("page: no function qmFocusLost"));

    options.browser.hasMethod = true;
    options.browser.windowObject = false;
    Start(options);
    Open();
    EXPECT_TRUE(host->Log().Contains("status: init: page without window object; events: ; cookie ; href ;"));
    host->Focus(true);
    EXPECT_FALSE(host->Log().Contains("page: qmFocusSet"));
}

TEST_F(FixtureTest, ABrowserThatRefusesToShareLeavesTheModuleItsDefaults)
{
    HostOptions options;
    options.browser.sharePlatform = false;
    Start(options);
    Open();
    EXPECT_TRUE(host->Log().Contains("platform own"));
    host->Ui().dialogs.push_back({DialogAnswer::kPress, "OK", {}});
    // The module's own driver: the dialog is closed without the host seeing it.
    EXPECT_EQ("\"closed\"", Call("Alert", {ScriptValue::String("x")}).Describe());
    EXPECT_FALSE(host->Log().Contains("dialog message"));
    host->Ui().dialogs.clear();
}
