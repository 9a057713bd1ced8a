// The plug-in's entry points, instances and script events in process, over
// the test host's browser table and window: parameters, building the
// control, window changes, events, the scriptable object, the form value,
// the page's functions, and the XML libraries across a shutdown.

#include "plugin/EntryPoints.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/NPBrowser.h"
#include "plugin/Plugin.h"
#include "plugin/ScriptObject.h"

#include "base/text/SafeBuf.h"
#include "base/xml/Xml.h"
#include "editor/KeyRoute.h"
#include "editor/XHTML.h"
#include "host/Host.h"
#include "platform/qd/Port.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxslt/security.h>

#include <cstring>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <vector>

using namespace qm::host;
using qmtest::FromUtf8;
using qmtest::ToUtf8;
using qmtest::U16;

namespace {

const std::vector<std::string> kAllEvents = {"qmButtonClicked", "qmTagListChanged", "qmContentChanged",
    "qmFocusSet", "qmFocusLost", "qmModeChanged", "qmContextMenuClicked", "qmContextMenuActivated"};

// One plug-in tag: the instance record and the parameters it was made with.
struct Tag
{
    NPP_t npp{};
    std::vector<std::string> names;
    std::vector<std::optional<std::string>> values;
    bool live = false;
};

class PluginInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(home.Create(qmtest::TestOutputPath("plugin-home-"))); }

    void TearDown() override { Stop(); }

    // A host page with the given functions; the module started on its table
    // (or on table, when given).
    void Start(std::vector<std::string> functions = {}, HostOptions options = HostOptions(),
        NPNetscapeFuncs* table = nullptr)
    {
        host = std::make_unique<Host>(options);
        host->GetBrowser().SetCookie("s=\xE2\x82\xAC");
        host->GetBrowser().Window().functions.insert(functions.begin(), functions.end());
        host->GetBrowser().Window().onCall
            = [this](const std::string& name, const std::vector<ScriptValue>& args) {
                  std::string call = name + "(";
                  for (std::size_t i = 0; i < args.size(); ++i)
                      call += (i ? ", " : "") + args[i].Describe();
                  calls.push_back(call + ")");
                  if (onCall)
                      onCall(name);
              };
        ASSERT_EQ(NPERR_NO_ERROR, NP_Initialize(table ? table : host->GetBrowser().Table()));
        funcs = NPPluginFuncs{};
        funcs.size = sizeof funcs;
        ASSERT_EQ(NPERR_NO_ERROR, NP_GetEntryPoints(&funcs));
    }

    // Destroys what is left, shuts the module down and checks the accounts.
    void Stop()
    {
        if (!host)
            return;
        for (Tag& t : tags)
            Destroy(t);
        tags.clear();
        NP_Shutdown();
        host->GetBrowser().Window().onCall = nullptr;
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << host->Log().Text();
        host.reset();
    }

    Tag& New(std::vector<TagParam> params = {{"id", std::string("ed1")}, {"Debug", std::nullopt}})
    {
        tags.emplace_back();
        Tag& t = tags.back();
        for (const TagParam& p : params) {
            t.names.push_back(p.name);
            t.values.push_back(p.value);
        }
        std::vector<char*> argn, argv;
        for (std::size_t i = 0; i < t.names.size(); ++i) {
            argn.push_back(&t.names[i][0]);
            argv.push_back(t.values[i] ? &(*t.values[i])[0] : nullptr);
        }
        EXPECT_EQ(NPERR_NO_ERROR,
            funcs.newp(const_cast<char*>("application/x-quillmark"), &t.npp, NP_EMBED,
                static_cast<std::int16_t>(argn.size()), argn.data(), argv.data(), nullptr));
        t.live = true;
        return t;
    }

    void Destroy(Tag& t)
    {
        if (!t.live)
            return;
        EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&t.npp, nullptr));
        EXPECT_EQ(nullptr, t.npp.pdata);
        t.live = false;
    }

    // The plug-in's area placed in the browser window and handed over.
    void Open(Tag& t, int x = 40, int y = 30, int width = 300, int height = 200)
    {
        host->Window().Place(x, y, width, height);
        EXPECT_EQ(NPERR_NO_ERROR, funcs.setwindow(&t.npp, host->Window().Record()));
    }

    static CPlugin* Plugin(Tag& t) { return static_cast<CPlugin*>(t.npp.pdata); }
    static CMorvaXEditorCtrl* Control(Tag& t) { return Plugin(t) ? Plugin(t)->m_pXEditorCtrl : nullptr; }

    // The form value as the browser gets it, with the size of its block.
    std::string FormValue(Tag& t, std::size_t& blockSize)
    {
        char* value = nullptr;
        EXPECT_EQ(NPERR_NO_ERROR, funcs.getvalue(&t.npp, NPPVformValue, &value));
        blockSize = host->GetBrowser().Account().BlockSize(value);
        std::string out = value ? value : "(null)";
        host->GetBrowser().Account().Free(value, "the form value");
        return out;
    }

    // Whether the engine of the tag's control still parses markup.
    static bool Parses(Tag& t)
    {
        CMorvaXEditorCtrl* c = Control(t);
        if (!c || !c->m_pXHTML)
            return false;
        CSafeBuf markup = FromUtf8("<p>one <b>two</b></p>");
        return c->m_pXHTML->CleanXHTML(markup, 0) && ToUtf8(markup).find("<b>two</b>") != std::string::npos;
    }

    qmtest::TempHome home;
    std::unique_ptr<Host> host;
    NPPluginFuncs funcs{};
    std::list<Tag> tags;
    std::vector<std::string> calls;
    std::function<void(const std::string&)> onCall;
};

} // namespace

TEST_F(PluginInstanceTest, ParametersAreCopiedAndTheFirstRealWindowBuildsTheControl)
{
    Start({"qmContentChanged"});
    Tag& t = New({{"id", std::string("ed1")}, {"Debug", std::nullopt}, {"Empty", std::string()}});
    CPlugin* p = Plugin(t);
    ASSERT_NE(nullptr, p);
    ASSERT_EQ(3, p->m_argc);
    EXPECT_STREQ("Debug", p->m_argn[1]);
    EXPECT_EQ(nullptr, p->m_argv[1]);              // a parameter without a value stays null
    EXPECT_STREQ("", p->m_argv[2]);                // an empty value is a value
    EXPECT_NE(t.values[0]->c_str(), p->m_argv[0]); // copies, not the browser's
    EXPECT_EQ(nullptr, p->m_argn[3]);

    // No window yet: nothing is built, whatever the record says.
    EXPECT_EQ(NPERR_NO_ERROR, funcs.setwindow(&t.npp, nullptr));
    NPWindow none = *host->Window().Record();
    none.window = nullptr;
    EXPECT_EQ(NPERR_NO_ERROR, funcs.setwindow(&t.npp, &none));
    EXPECT_FALSE(p->isInitialized());
    EXPECT_EQ(nullptr, p->m_pXEditorCtrl);

    Open(t);
    ASSERT_TRUE(p->isInitialized());
    CMorvaXEditorCtrl* c = Control(t);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ("ed1", ToUtf8(c->id));
    EXPECT_EQ(&p->m_Window, c->m_pPluginWindow); // the record's copy, which outlives the control
    EXPECT_TRUE(c->m_engineReady && c->m_created && c->CanXEditorDisplay());
    EXPECT_EQ(&t.npp, c->m_pNPInstance);
    EXPECT_EQ(&host->GetBrowser().Window(), c->m_pWindowObject);
    EXPECT_EQ(p, c->m_pPlugin);
    EXPECT_EQ("s=\xE2\x82\xAC", ToUtf8(c->Cookie));
    // The engine is started in the plug-in's window: its timer runs (and is
    // gone after NPP_Destroy, which the host checks).
    ASSERT_NE(nullptr, c->m_pXHTML);
    EXPECT_EQ(&c->m_editWindow, c->m_pXHTML->m_window); // the editing area inside the window
    EXPECT_NE(0, c->m_pXHTML->m_timer);

    // A second window keeps the control.
    Open(t, 50, 40, 320, 210);
    EXPECT_EQ(c, Control(t));
    EXPECT_EQ(50, p->m_Window.x);
}

TEST_F(PluginInstanceTest, OnlyThePageFunctionsPresentAtTheStartAreCalledWithTheIdFirst)
{
    Start({"qmContentChanged"});
    Tag& t = New();
    Open(t);
    CMorvaXEditorCtrl* c = Control(t);
    ASSERT_NE(nullptr, c);
    const unsigned char want[8] = {0, 0, 1, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(want, c->m_eventFlags, 8));

    // A function the page defines afterwards is never called.
    host->GetBrowser().Window().functions.insert("qmFocusSet");
    EXPECT_FALSE(c->FireBrowserButtonClick(U16(u"Bold"), U16(u"on")));
    EXPECT_FALSE(c->FireBrowserTagListChange());
    EXPECT_TRUE(c->FireBrowserContentChanged());
    EXPECT_FALSE(c->FireBrowserFocusSet());
    EXPECT_FALSE(c->FireBrowserFocusLost());
    EXPECT_FALSE(c->FireBrowserModeChange(U16(u"source"), U16(u"wysiwyg")));
    EXPECT_FALSE(c->FireBrowserContextMenuClicked(U16(u"x")));
    EXPECT_FALSE(c->FireBrowserContextMenuActivated());
    EXPECT_EQ(std::vector<std::string>{"qmContentChanged(\"ed1\")"}, calls);
}

TEST_F(PluginInstanceTest, EachEventCarriesItsArguments)
{
    Start(kAllEvents);
    Tag& t = New();
    Open(t);
    CMorvaXEditorCtrl* c = Control(t);
    ASSERT_NE(nullptr, c);
    const struct
    {
        std::function<void()> fire;
        std::string call;
    } cases[] = {
        {[c] { c->GoFireContentChanged(); }, "qmContentChanged(\"ed1\")"},
        {[c] { c->DoFireStyleChange(); }, "qmTagListChanged(\"ed1\")"},
        {[c] { c->FireBrowserFocusSet(); }, "qmFocusSet(\"ed1\")"},
        {[c] { c->FireBrowserFocusLost(); }, "qmFocusLost(\"ed1\")"},
        {[c] { c->GoFireContextMenuActivated(); }, "qmContextMenuActivated(\"ed1\")"},
        {[c] { c->GoFireModeChange(1, 0); }, "qmModeChanged(\"ed1\", \"source\", \"wysiwyg\")"},
        {[c] { c->GoFireModeChange(2, 3); }, "qmModeChanged(\"ed1\", \"preview\", \"screen-reader\")"},
        {[c] { c->GoFireModeChange(4, -1); }, "qmModeChanged(\"ed1\", \"\", \"\")"},
        {[c] { c->FireBrowserButtonClick(U16(u"Bold"), U16(u"on")); },
            "qmButtonClicked(\"ed1\", \"Bold\", \"on\")"},
        {[c] { c->FireBrowserButtonClick(nullptr, nullptr); }, "qmButtonClicked(\"ed1\", \"\", \"\")"},
        {[c] { c->GoFireContextMenuClicked(U16(u"\u00C9t\u00E9 \U0001F600")); },
            "qmContextMenuClicked(\"ed1\", \"\xC3\x89t\xC3\xA9 \xF0\x9F\x98\x80\")"},
    };
    for (const auto& k : cases) {
        calls.clear();
        k.fire();
        EXPECT_EQ(std::vector<std::string>{k.call}, calls);
    }
    CSafeBuf request, response;
    EXPECT_FALSE(c->GoFireSOAPCall(U16(u"doSubdocumentDescribe"), request, response));
    EXPECT_EQ(1u, calls.size());

    // Without an id the first argument is an empty string.
    Tag& other = New({});
    Open(other);
    calls.clear();
    EXPECT_TRUE(Control(other)->FireBrowserContentChanged());
    EXPECT_EQ(std::vector<std::string>{"qmContentChanged(\"\")"}, calls);
}

TEST_F(PluginInstanceTest, WithoutAHasMethodEntryEveryEventIsRaised)
{
    HostOptions options;
    options.browser.hasMethod = false;
    Start({"qmFocusSet"}, options);
    Tag& t = New();
    Open(t);
    CMorvaXEditorCtrl* c = Control(t);
    ASSERT_NE(nullptr, c);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(1, c->m_eventFlags[i]) << i;
    EXPECT_TRUE(c->FireBrowserFocusSet());
    EXPECT_TRUE(c->FireBrowserContentChanged()); // made, though the page has no such function
    EXPECT_EQ(std::vector<std::string>{"qmFocusSet(\"ed1\")"}, calls);
    EXPECT_TRUE(host->Log().Contains("page: no function qmContentChanged"));
}

namespace {

int g_hasMethodCalls = 0;
int g_getPropertyCalls = 0;

bool CountedHasMethod(NPP npp, NPObject* o, NPIdentifier id)
{
    ++g_hasMethodCalls;
    return Browser::HasMethod(npp, o, id);
}

bool CountedGetProperty(NPP npp, NPObject* o, NPIdentifier id, NPVariant* v)
{
    ++g_getPropertyCalls;
    return Browser::GetPropertyEntry(npp, o, id, v);
}

} // namespace

TEST_F(PluginInstanceTest, ABrowserWithoutAWindowObjectIsAskedNothingOfThePage)
{
    for (const bool windowObject : {true, false}) {
        SCOPED_TRACE(windowObject ? "with a window object" : "without one");
        HostOptions options;
        options.browser.windowObject = windowObject;
        Start(kAllEvents, options);
        host->GetBrowser().SetAddress("http://www.example.test/editor.html");
        NPNetscapeFuncs table = *host->GetBrowser().Table();
        table.hasmethod = CountedHasMethod;
        table.getproperty = CountedGetProperty;
        ASSERT_EQ(NPERR_NO_ERROR, NP_Initialize(&table));
        g_hasMethodCalls = g_getPropertyCalls = 0;
        Tag& t = New();
        Open(t);
        CMorvaXEditorCtrl* c = Control(t);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(windowObject ? 8 : 0, g_hasMethodCalls);
        // document, its cookie, location, its address
        EXPECT_EQ(windowObject ? 4 : 0, g_getPropertyCalls);
        EXPECT_EQ(windowObject, !c->Cookie.IsEmpty());
        EXPECT_EQ(windowObject ? "http://www.example.test/editor.html" : "", ToUtf8(c->m_pageAddress));
        EXPECT_EQ(windowObject, c->FireBrowserContentChanged());
        EXPECT_EQ(windowObject, c->FireBrowserModeChange(U16(u"source"), U16(u"wysiwyg")));
        EXPECT_EQ(windowObject ? 2u : 0u, calls.size());
        calls.clear();
        Stop();
    }
}

TEST_F(PluginInstanceTest, TheWindowObjectIsHeldUntilTheInstanceShutsDown)
{
    Start({"qmContentChanged"});
    NPObject* page = &host->GetBrowser().Window();
    const std::uint32_t before = page->referenceCount;
    Tag& t = New();
    Open(t);
    EXPECT_EQ(before + 1, page->referenceCount);
    Destroy(t);
    EXPECT_EQ(before, page->referenceCount);

    // An empty cookie is not handed to the control.
    host->GetBrowser().SetCookie("");
    Tag& u = New();
    Open(u);
    EXPECT_TRUE(Control(u)->Cookie.IsEmpty());
}

TEST_F(PluginInstanceTest, TheFormValueIsAnEmptyStringInOneByteAlsoInsideAHandler)
{
    Start({"qmContentChanged", "qmFocusSet"});
    Tag& t = New();
    std::size_t block = 0;
    EXPECT_EQ("", FormValue(t, block)); // before there is a control
    EXPECT_EQ(1u, block);
    Open(t);
    std::string inside = "unread";
    onCall = [&](const std::string& name) {
        if (name == "qmContentChanged")
            inside = FormValue(t, block);
        else
            Destroy(t);
    };
    EXPECT_TRUE(Control(t)->FireBrowserContentChanged());
    EXPECT_EQ("", inside);
    EXPECT_EQ(1u, block);
    // The function destroys the instance while the control raises the event.
    EXPECT_TRUE(Control(t)->FireBrowserFocusSet());
    EXPECT_FALSE(t.live);
    onCall = nullptr;
}

TEST_F(PluginInstanceTest, AScriptableObjectKeptPastItsInstanceNoLongerReachesIt)
{
    Start();
    Tag& t = New();
    Open(t);
    NPObject* first = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, funcs.getvalue(&t.npp, NPPVpluginScriptableNPObject, &first));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(Plugin(t), static_cast<XObject*>(first)->owner);
    EXPECT_EQ(&t.npp, static_cast<XObject*>(first)->instance);

    // The page keeps the object past the instance.
    Destroy(t);
    EXPECT_EQ(nullptr, static_cast<XObject*>(first)->owner);
    EXPECT_EQ(1u, first->referenceCount);
    Browser& b = host->GetBrowser();
    ScriptValue v;
    EXPECT_FALSE(b.GetProperty(&t.npp, first, "Value", v));
    EXPECT_FALSE(b.SetProperty(&t.npp, first, "Value", ScriptValue::String("x")));
    EXPECT_FALSE(b.Invoke(&t.npp, first, "toString", {}, v));
    EXPECT_FALSE(Browser::HasMethod(&t.npp, first, Browser::GetStringIdentifier("Fix")));
    host->ReleaseObject(first); // deallocated now, through the class
    EXPECT_FALSE(host->GetBrowser().Account().IsLive(first));
}

TEST_F(PluginInstanceTest, AClipEmptyBothWaysHidesTheEditorAndEventsLeaveThePortAsItWas)
{
    Start();
    Tag& t = New();
    Open(t);
    CMorvaXEditorCtrl* c = Control(t);
    ASSERT_TRUE(c->CanXEditorDisplay());
    host->Window().SetClip(60, 70, 60, 70);
    funcs.setwindow(&t.npp, host->Window().Record());
    EXPECT_FALSE(c->CanXEditorDisplay());
    qm::qd::Port* before = qm::qd::GetPort();
    for (std::uint16_t what : {nullEvent, mouseDown, keyDown, updateEvt, NPEventType_GetFocusEvent}) {
        EventRecord e{what, 0x0061, 0, {100, 100}, 0};
        EXPECT_EQ(0, funcs.event(&t.npp, &e)) << what;
        EXPECT_EQ(before, qm::qd::GetPort());
        EXPECT_EQ(nullptr, c->m_pCurrentEvent);
    }
    host->Window().SetClip(60, 70, 60, 90); // empty one way only
    funcs.setwindow(&t.npp, host->Window().Record());
    EXPECT_TRUE(c->CanXEditorDisplay());

    // A first window that arrives scrolled out of view builds a hidden editor.
    Tag& u = New();
    host->Window().SetClip(0, 0, 0, 0);
    funcs.setwindow(&u.npp, host->Window().Record());
    ASSERT_NE(nullptr, Control(u));
    EXPECT_FALSE(Control(u)->CanXEditorDisplay());
}

TEST_F(PluginInstanceTest, AWindowChangeIsTakenOnlyWhenItMovesOrShowsMore)
{
    Start();
    Tag& t = New();
    Open(t, 40, 30, 300, 200);
    CPlugin* p = Plugin(t);
    auto clip = [p] {
        const NPRect& r = p->m_Window.clipRect;
        return std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) + ","
            + std::to_string(r.right);
    };
    EXPECT_EQ("30,40,230,340", clip());
    const struct
    {
        int x, y;
        NPRect clip;
        std::string want;
    } steps[] = {
        {40, 30, {30, 40, 100, 340}, "30,40,100,340"}, // same place, another visible clip: taken
        {40, 30, {0, 0, 0, 0}, "30,40,100,340"},       // same place, hidden: the last clip stays
        {40, 30, {50, 40, 50, 300}, "30,40,100,340"},  // same place, empty in one direction: stays
        {45, 30, {0, 0, 0, 0}, "0,0,200,300"},         // moved with no clip: wholly visible
        {45, 30, {10, 45, 90, 345}, "10,45,90,345"},   // a visible clip again
    };
    for (const auto& s : steps) {
        NPWindow w = *host->Window().Record();
        w.x = s.x;
        w.y = s.y;
        w.clipRect = s.clip;
        funcs.setwindow(&t.npp, &w);
        EXPECT_EQ(s.want, clip()) << s.x << " " << s.want;
        EXPECT_EQ(s.x, p->m_Window.x);
    }
}

TEST_F(PluginInstanceTest, OtherInstanceFunctionsAndAValueQueryWithoutARecord)
{
    Start();
    NPP_t bare{};
    const char* name = "unchanged";
    EXPECT_EQ(NPERR_GENERIC_ERROR, funcs.getvalue(&bare, NPPVpluginNameString, &name));
    EXPECT_EQ(NPERR_GENERIC_ERROR, funcs.getvalue(nullptr, NPPVpluginNameString, &name));
    EXPECT_STREQ("unchanged", name);
    EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&bare, nullptr));
    EXPECT_EQ(0, funcs.event(&bare, nullptr));
    EXPECT_EQ(
        NPERR_INVALID_INSTANCE_ERROR, funcs.newp(nullptr, nullptr, NP_EMBED, 0, nullptr, nullptr, nullptr));

    Tag& t = New();
    EXPECT_EQ(NPERR_NO_ERROR, funcs.getvalue(&t.npp, NPPVpluginNameString, &name));
    EXPECT_STREQ("Quillmark", name);
    EXPECT_EQ(NPERR_NO_ERROR, funcs.getvalue(&t.npp, NPPVpluginDescriptionString, &name));
    EXPECT_STREQ("Quillmark XHTML Editor", name);
    void* other = &name;
    EXPECT_EQ(NPERR_NO_ERROR, funcs.getvalue(&t.npp, static_cast<NPPVariable>(99), &other));
    EXPECT_EQ(&name, other); // nothing written
    EXPECT_EQ(NPERR_GENERIC_ERROR, funcs.setvalue(&t.npp, NPNVWindowNPObject, nullptr));
    std::uint16_t type = 0;
    EXPECT_EQ(NPERR_NO_ERROR, funcs.newstream(&t.npp, nullptr, nullptr, 0, &type));
    EXPECT_EQ(NP_ASFILEONLY, type);
    EXPECT_EQ(0, funcs.writeready(&t.npp, nullptr));
}

TEST_F(PluginInstanceTest, DestroyingOneInstanceLeavesTheOthersParsing)
{
    Start();
    Tag& a = New();
    Tag& b = New();
    Open(a);
    Open(b);
    EXPECT_EQ(2, CMorvaXEditorCtrl::XmlLibraryUsers());
    Destroy(a);
    EXPECT_EQ(1, CMorvaXEditorCtrl::XmlLibraryUsers());
    EXPECT_TRUE(Parses(b));
    Destroy(b);
    EXPECT_EQ(0, CMorvaXEditorCtrl::XmlLibraryUsers());
    Tag& c = New();
    Open(c);
    EXPECT_TRUE(Parses(c));
}

TEST_F(PluginInstanceTest, TheEntryPointsFillTheTablesAndRefuseBadOnes)
{
    Start();
    EXPECT_EQ(host->GetBrowser().Table(), browser);
    EXPECT_EQ(1, g_IsSafara); // the two-byte key route
    EXPECT_EQ(sizeof(NPPluginFuncs), funcs.size);
    EXPECT_EQ(11, funcs.version);
    EXPECT_EQ(&NPP_GetValue, funcs.getvalue);
    EXPECT_EQ(NPERR_NO_ERROR, NP_Shutdown());
    EXPECT_EQ(nullptr, browser);
    EXPECT_EQ(0, g_IsSafara);

    // The main-style start: a copy of the browser's table, version 14, the
    // shutdown function handed back, and no two-byte route.
    NPPluginFuncs table;
    std::memset(&table, 0xA5, sizeof table);
    void* const javaClass = table.javaClass;
    NP_ShutdownFunc shutdown = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, NP_MainEntry(host->GetBrowser().Table(), &table, &shutdown));
    ASSERT_NE(nullptr, browser);
    EXPECT_NE(host->GetBrowser().Table(), browser);
    EXPECT_EQ(0, browser->size);
    EXPECT_EQ(0, browser->version);
    EXPECT_EQ(host->GetBrowser().Table()->memalloc, browser->memalloc);
    EXPECT_EQ(host->GetBrowser().Table()->setexception, browser->setexception);
    EXPECT_EQ(14, table.version);
    EXPECT_EQ(sizeof(NPPluginFuncs), table.size);
    EXPECT_EQ(javaClass, table.javaClass); // left as it was
    EXPECT_EQ(&NPP_New, table.newp);
    EXPECT_EQ(&NPP_SetValue, table.setvalue);
    EXPECT_EQ(&NP_Shutdown, shutdown);
    EXPECT_EQ(0, g_IsSafara);
    // The copy serves an instance like the browser's own table.
    funcs = table;
    Tag& t = New();
    Open(t);
    EXPECT_NE(nullptr, Control(t));
    Destroy(t);
    tags.clear();
    EXPECT_EQ(NPERR_NO_ERROR, shutdown());
    EXPECT_EQ(nullptr, browser);

    // Tables that are missing or too small.
    NPNetscapeFuncs small = *host->GetBrowser().Table();
    small.size = offsetof(NPNetscapeFuncs, releasevariantvalue);
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NP_Initialize(&small));
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NP_Initialize(nullptr));
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NP_MainEntry(&small, &table, &shutdown));
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NP_MainEntry(host->GetBrowser().Table(), nullptr, &shutdown));
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NP_GetEntryPoints(nullptr));
    EXPECT_EQ(nullptr, browser);
    ASSERT_EQ(NPERR_NO_ERROR, NP_Initialize(host->GetBrowser().Table()));
}

TEST_F(PluginInstanceTest, TheXmlPoliciesHoldAfterTheLibrariesAreCleanedUpAtShutdown)
{
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("plugin-xml-")));
    const std::string secret = scratch.Path() + "/secret.xml";
    ASSERT_TRUE(qmtest::WriteFile(secret, "<s>QM-SECRET</s>"));
    const std::string entity = "<!DOCTYPE d [<!ENTITY e SYSTEM 'file://" + secret + "'>]><d>&e;</d>";
    const std::string sheet
        = "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
          "<xsl:template match='/'><out><xsl:copy-of select=\"document('file://"
        + secret + "')\"/></out></xsl:template></xsl:stylesheet>";
    auto leaks = [&] {
        std::string out;
        if (xmlDoc* doc = LoadXMLString(FromUtf8(entity.c_str()))) {
            CSafeBuf markup;
            XMLGetNodeXML(GetRootElement(doc), markup);
            out += ToUtf8(markup);
            XMLReleaseDom(doc);
        }
        CSafeBuf xml = FromUtf8("<in/>");
        if (TransformXML(xml, FromUtf8(sheet.c_str())))
            out += ToUtf8(xml);
        return out.find("QM-SECRET") != std::string::npos;
    };

    Start();
    Tag& t = New();
    Open(t);
    EXPECT_FALSE(leaks());
    const xmlExternalEntityLoader loader = xmlGetExternalEntityLoader();
    xsltSecurityPrefsPtr const prefs = xsltGetDefaultSecurityPrefs();
    ASSERT_NE(nullptr, prefs);
    // The last control going leaves the libraries set up for the next one;
    // the shutdown cleans them up.
    Destroy(t);
    Tag& again = New();
    Open(again);
    EXPECT_TRUE(Parses(again));
    Stop();

    EXPECT_EQ(loader, xmlGetExternalEntityLoader());
    EXPECT_EQ(prefs, xsltGetDefaultSecurityPrefs());
    EXPECT_FALSE(leaks());
    Start();
    Tag& u = New();
    Open(u);
    EXPECT_TRUE(Parses(u));
    EXPECT_FALSE(leaks());
}
