// The control's browser events in process, over the test host's browser
// table and window: the scroll bars (held presses, thumb drags, the Control
// key, the wheel), the focus report, the frame drawn by an update, the form
// value that follows the document, and keys typed into it.

#include "plugin/EntryPoints.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/Plugin.h"

#include "base/shims/TimeShims.h"
#include "editor/XHTML.h"
#include "element/markup/SourceCode.h"
#include "host/Host.h"
#include "platform/cg/Context.h"
#include "platform/events/Event.h"
#include "platform/events/EventTarget.h"
#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/qd/Port.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Window.h"

#include "tests/common/FixedClock.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace qm::host;
using qmtest::ToUtf8;
using qmtest::U16;

namespace {

// The plug-in's area in the host window.
constexpr int kX = 20;
constexpr int kY = 30;
constexpr int kWidth = 600;
constexpr int kHeight = 400;

// A document height pixels tall (and width wide), red, without margins.
std::string Tall(int height, int width = 0)
{
    return "<html><body style=\"margin: 0\"><div style=\"height: " + std::to_string(height) + "px; "
        + (width ? "width: " + std::to_string(width) + "px; " : std::string())
        + "background: red\"><p>top</p></div></body></html>";
}

class ControlEventsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("events-home-")));
        host = std::make_unique<Host>();
        host->GetBrowser().Window().functions = {"qmFocusSet", "qmFocusLost"};
        host->GetBrowser().Window().onCall
            = [this](const std::string& name, const std::vector<ScriptValue>&) { calls.push_back(name); };
        ASSERT_EQ(NPERR_NO_ERROR, NP_Initialize(host->GetBrowser().Table()));
        funcs.size = sizeof funcs;
        ASSERT_EQ(NPERR_NO_ERROR, NP_GetEntryPoints(&funcs));
        New({});
    }

    // The instance made with these start parameters beside its id.
    void New(std::vector<std::pair<std::string, std::string>> params)
    {
        params.insert(params.begin(), {"id", "ed1"});
        std::vector<char*> names, values;
        for (auto& p : params) {
            names.push_back(p.first.data());
            values.push_back(p.second.data());
        }
        char type[] = "application/x-quillmark";
        ASSERT_EQ(NPERR_NO_ERROR,
            funcs.newp(type, &npp, NP_EMBED, static_cast<std::int16_t>(params.size()), names.data(),
                values.data(), nullptr));
    }

    // The instance destroyed and made again with these start parameters.
    void Renew(std::vector<std::pair<std::string, std::string>> params)
    {
        EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&npp, nullptr));
        npp = NPP_t{};
        New(std::move(params));
    }

    void TearDown() override
    {
        EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&npp, nullptr));
        NP_Shutdown();
        host->GetBrowser().Window().onCall = nullptr;
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << host->Log().Text();
        host.reset();
    }

    // The area placed and handed over; the document loaded when given.
    CMorvaXEditorCtrl* Open(int width = kWidth, int height = kHeight, const std::string& markup = "")
    {
        host->Window().Place(kX, kY, width, height);
        EXPECT_EQ(NPERR_NO_ERROR, funcs.setwindow(&npp, host->Window().Record()));
        auto* c = static_cast<CPlugin*>(npp.pdata)->m_pXEditorCtrl;
        if (c && !markup.empty()) {
            const CSafeBuf text = qmtest::FromUtf8(markup);
            c->BackupPort(); // the engine draws outside an event
            EXPECT_TRUE(c->m_pXHTML->LoadDocument(text));
            c->RestorePort();
        }
        return c;
    }

    // One event at a point of the plug-in's area, as the browser sends it.
    std::int16_t Send(std::uint16_t what, int h, int v, std::uint16_t modifiers = 0)
    {
        int gh = 0, gv = 0;
        host->Window().ToScreen(h, v, gh, gv);
        auto& input = qm::events::Services::Get().Input();
        if (what == mouseDown)
            input.buttons |= qm::events::kButtonPrimary;
        if (what == mouseUp)
            input.buttons &= ~qm::events::kButtonPrimary;
        input.mouseH = gh;
        input.mouseV = gv;
        EventRecord e{what, 0, 0, {static_cast<std::int16_t>(gv), static_cast<std::int16_t>(gh)}, modifiers};
        return funcs.event(&npp, &e);
    }

    // A wheel turn over a point of the plug-in's area, on the host window's
    // event target.
    void Wheel(int h, int v, int delta)
    {
        int gh = 0, gv = 0;
        host->Window().ToScreen(h, v, gh, gv);
        qm::ui::Window& window = host->Window().Window();
        qm::events::Event e(qm::events::kEventClassMouse, qm::events::kEventMouseWheelMoved);
        e.SetParam(qm::events::kParamWindowMouseLocation,
            qm::events::Point{gv - window.ScreenV(), gh - window.ScreenH()});
        e.SetParam(qm::events::kParamWheelAxis, std::int64_t{0});
        e.SetParam(qm::events::kParamWheelDelta, std::int64_t{delta});
        window.Target().SendEvent(e);
    }

    // A key-down as the browser sends it, the modifiers held meanwhile.
    std::int16_t Key(std::uint32_t message, std::uint16_t modifiers = 0)
    {
        qm::events::Services::Get().Input().modifiers = modifiers;
        EventRecord e{keyDown, message, 0, {0, 0}, modifiers};
        const std::int16_t used = funcs.event(&npp, &e);
        qm::events::Services::Get().Input().modifiers = 0;
        return used;
    }

    // The form value as the browser reads it, without the generator comment.
    std::string FormValue()
    {
        char* value = nullptr;
        EXPECT_EQ(NPERR_NO_ERROR, funcs.getvalue(&npp, NPPVformValue, &value));
        std::string form = value ? value : "(null)";
        host->GetBrowser().Account().Free(value, "the form value");
        const std::size_t end = form.rfind("-->", 200);
        if (form.compare(0, 4, "<!--") == 0 && end != std::string::npos)
            form.erase(0, end + 3);
        return form;
    }

    CMorvaXEditorCtrl* Control() { return static_cast<CPlugin*>(npp.pdata)->m_pXEditorCtrl; }
    int ScrollY() { return Control()->m_pXHTML->m_doc.m_scrollY; }

    // The host window's pixel at a port point as 0xRRGGBB.
    std::uint32_t Pixel(int x, int y)
    {
        cairo_surface_t* surface = host->Window().Window().Port()->Surface();
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, data + y * cairo_image_surface_get_stride(surface) + x * 4, 4);
        return pixel & 0xFFFFFF;
    }

    qmtest::TempHome home;
    std::unique_ptr<Host> host;
    NPPluginFuncs funcs{};
    NPP_t npp{};
    std::vector<std::string> calls;
};

TEST_F(ControlEventsTest, AHiddenControlAnswersNothingAndAShownOneTakesItsEvents)
{
    CMorvaXEditorCtrl* c = Open();
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(1, Send(updateEvt, 0, 0));
    EXPECT_EQ(1, Send(activateEvt, 0, 0));
    host->Window().SetClip(0, 0, 0, 0);
    funcs.setwindow(&npp, host->Window().Record());
    for (std::uint16_t what :
        {nullEvent, mouseDown, mouseUp, updateEvt, activateEvt, NPEventType_GetFocusEvent})
        EXPECT_EQ(0, Send(what, 100, 100)) << what;
    EXPECT_EQ(0, c->m_focused) << "a hidden control does not even note the focus";
}

TEST_F(ControlEventsTest, AHeldDownArrowScrollsAtOnceThenAfterHalfASecondThenEvery49Ms)
{
    CMorvaXEditorCtrl* c = Open(kWidth, kHeight, Tall(3000));
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0); // places the bars
    const qm::ui::ScrollBar& bar = *c->m_pVScrollBar;
    ASSERT_EQ(&c->m_pXHTML->m_doc.m_verticalBar, &bar) << "the document's bar is the control's";
    EXPECT_EQ(kWidth - 16, bar.Left());
    EXPECT_EQ(kHeight - 1, bar.Bottom());
    ASSERT_GT(bar.Maximum(), 100);
    const int h = kWidth - 8, v = kHeight - 8; // on the down arrow
    ASSERT_EQ(qm::ui::kPartDownArrow, bar.TestPart(h, v));

    std::vector<unsigned long> times;
    int last = ScrollY();
    auto note = [&] {
        if (ScrollY() != last) {
            EXPECT_EQ(last + 20, ScrollY()) << "an arrow scrolls 10 units of 2 pixels";
            last = ScrollY();
            times.push_back(GetTickCount());
        }
    };
    EXPECT_EQ(1, Send(mouseDown, h, v));
    note();
    ASSERT_EQ(1u, times.size()) << "the press scrolls at once";
    for (int ms = 0; ms < 700; ms += 4) {
        host->Clock().Advance(4);
        Send(nullEvent, h, v);
        note();
    }
    ASSERT_GE(times.size(), 4u);
    EXPECT_GT(times[1] - times[0], 500u);
    EXPECT_LE(times[1] - times[0], 520u);
    for (std::size_t i = 2; i < times.size(); ++i) {
        EXPECT_GT(times[i] - times[i - 1], 49u) << i;
        EXPECT_LE(times[i] - times[i - 1], 70u) << i;
    }
    EXPECT_EQ(bar.Value() * 2, ScrollY()) << "the bar and the document agree";

    // Released: null events no longer scroll.
    Send(mouseUp, h, v);
    host->Clock().Advance(600);
    Send(nullEvent, h, v);
    EXPECT_EQ(last, ScrollY());
    EXPECT_EQ(0, c->m_pressCount);
}

TEST_F(ControlEventsTest, ThumbDragsScrollOnlyOnABarLongerThan50PixelsAndNeverWithControl)
{
    const struct
    {
        int height;
        std::uint16_t modifiers;
        bool scrolls;
    } cases[] = {
        {kHeight, 0, true}, {52, 0, false}, // the bar is 50 pixels long below the toolbar
        {kHeight, 0x1000, false},           // a Control-press
    };
    int toolbar = 0; // the toolbar's height at this width, from the first case
    for (const auto& k : cases) {
        TearDown();
        calls.clear();
        npp = NPP_t{};
        SetUp();
        CMorvaXEditorCtrl* c = Open(kWidth, k.height == kHeight ? k.height : k.height + toolbar, Tall(3000));
        ASSERT_NE(nullptr, c);
        toolbar = c->m_toolbarHeight;
        Send(updateEvt, 0, 0);
        const qm::ui::ScrollBar& bar = *c->m_pVScrollBar;
        int start = 0, end = 0;
        ASSERT_TRUE(bar.ThumbExtent(start, end)) << k.height;
        const int h = kWidth - 8, v = (start + end) / 2;
        Send(mouseDown, h, v, k.modifiers);
        for (int dv = 1; dv <= 10; ++dv)
            Send(nullEvent, h, v + dv * 2);
        Send(mouseUp, h, v + 20);
        EXPECT_EQ(k.scrolls, ScrollY() > 0) << k.height << " " << k.modifiers;
        EXPECT_EQ(bar.Value() * 2, ScrollY());
        // The arrow does not scroll with Control either.
        if (k.modifiers) {
            Send(mouseDown, h, k.height - 8, k.modifiers);
            Send(mouseUp, h, k.height - 8, k.modifiers);
            EXPECT_EQ(0, ScrollY());
        }
    }
}

TEST_F(ControlEventsTest, EventsTakenWithoutActingWhileAPopUpShowsOrTextInputTypes)
{
    CMorvaXEditorCtrl* c = Open(kWidth, kHeight, Tall(3000));
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0);
    const int h = kWidth - 8, v = kHeight - 8; // the down arrow
    const struct
    {
        const char* what;
        unsigned char CMorvaXEditorCtrl::*flag;
        int viewMode;
        std::uint16_t event;
    } cases[] = {
        {"a pop-up shows", &CMorvaXEditorCtrl::m_bPopupShowing, 0, mouseDown},
        {"text input was seen", &CMorvaXEditorCtrl::m_textInputSeen, 0, keyDown},
        {"another view shows", nullptr, 2, mouseDown},
    };
    for (const auto& k : cases) {
        if (k.flag)
            c->*k.flag = 1;
        c->m_viewMode = k.viewMode;
        EXPECT_EQ(1, Send(k.event, h, v)) << k.what;
        Send(mouseUp, h, v);
        EXPECT_EQ(0, ScrollY()) << k.what;
        if (k.flag)
            c->*k.flag = 0;
        c->m_viewMode = 0;
    }
    // Back in the WYSIWYG view the same press scrolls.
    EXPECT_EQ(1, Send(mouseDown, h, v));
    Send(mouseUp, h, v);
    EXPECT_EQ(20, ScrollY());
}

TEST_F(ControlEventsTest, TheHorizontalThumbDragsByItsOwnRule)
{
    CMorvaXEditorCtrl* c = Open(kWidth, kHeight, Tall(300, 3000));
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0);
    ASSERT_EQ(1, c->m_horizontalBarShown);
    const qm::ui::ScrollBar& bar = *c->m_pHScrollBar;
    int start = 0, end = 0;
    ASSERT_TRUE(bar.ThumbExtent(start, end));
    const int v = kHeight - 8, h = (start + end) / 2;
    Send(mouseDown, h, v);
    Send(nullEvent, h + 40, v);
    // P = (width x 1000 - 50000) / M; the step (40 + P / 2000) x 1000 / P.
    const long long p = ((bar.Right() - bar.Left()) * 1000LL - 50000) / bar.Maximum();
    const int step = static_cast<int>((40 + p / 2000) * 1000 / p);
    EXPECT_EQ(std::min(step, bar.Maximum()), bar.Value());
    EXPECT_EQ(bar.Value() * 2, c->m_pXHTML->m_doc.m_scrollX);
    Send(mouseUp, h + 40, v);
    Send(nullEvent, h + 80, v);
    EXPECT_EQ(std::min(step, bar.Maximum()), bar.Value()) << "the drag ended with the button";
}

TEST_F(ControlEventsTest, TheEnginesScrollActionsMoveTheBarsAndTheOffset)
{
    CMorvaXEditorCtrl* c = Open(kWidth, kHeight, Tall(3000, 3000));
    ASSERT_NE(nullptr, c);
    CXHTML& engine = *c->m_pXHTML;
    CXDoc& doc = engine.m_doc;
    const int vMax = doc.m_verticalBar.Maximum(), hMax = doc.m_horizontalBar.Maximum();
    const int halfHeight = int(doc.m_viewRect.bottom - doc.m_viewRect.top) / 2,
              halfWidth = doc.m_viewWidth / 2;
    ASSERT_GT(vMax, 1000);
    ASSERT_GT(hMax, 1000);
    const struct
    {
        bool vertical;
        unsigned int action, position;
        int from, want;
    } cases[] = {
        {true, 1, 300, 0, 300},
        {true, 2, 99999, 0, vMax},
        {true, 3, 0, 5, vMax},
        {true, 4, 0, 100, 110},
        {true, 5, 0, 5, 0},
        {true, 6, 0, 100, 100 + halfHeight},
        {true, 7, 0, 500, 500 - halfHeight},
        {true, 8, 0, 500, 0},
        {true, 12, 0, 500, 500}, // a horizontal action leaves the vertical bar
        {false, 2, 40, 0, 40},
        {false, 9, 0, 0, hMax},
        {false, 10, 0, 70, 0},
        {false, 11, 0, 70, 69},
        {false, 12, 0, 70, 71},
        {false, 13, 0, 700, 700 - halfWidth},
        {false, 14, 0, 70, 70 + halfWidth},
        {false, 4, 0, 70, 70},
    };
    for (const auto& k : cases) {
        DOC_SCROLL_BAR& bar = k.vertical ? doc.m_verticalBar : doc.m_horizontalBar;
        bar.SetValue(k.from);
        if (k.vertical)
            engine.OnVScroll(k.action, k.position);
        else
            engine.OnHScroll(k.action, k.position);
        EXPECT_EQ(k.want, bar.Value()) << k.vertical << " " << k.action;
        // At the far end the view pulls the offset back to the document's edge.
        const int slack = k.want == (k.vertical ? vMax : hMax) ? 2 : 0;
        EXPECT_NEAR(k.want * 2, k.vertical ? doc.m_scrollY : doc.m_scrollX, slack)
            << k.vertical << " " << k.action;
    }
    // The timer's automatic scroll steps through the same actions.
    doc.m_verticalBar.SetValue(0);
    doc.m_scrollY = 0;
    engine.m_scrollDirection = 1;
    host->Clock().Advance(100);
    EXPECT_EQ(20, doc.m_scrollY);
    EXPECT_EQ(0u, engine.m_scrollDirection);

    // A disabled vertical bar does not scroll.
    engine.SetScrollRange(2, -2, -1);
    doc.m_scrollY = 0;
    engine.OnVScroll(4, 0);
    EXPECT_EQ(0, doc.m_scrollY);
}

TEST_F(ControlEventsTest, FocusIsReportedOncePerChangeAndTheWheelScrollsOnlyWithIt)
{
    CMorvaXEditorCtrl* c = Open(kWidth, kHeight, Tall(3000));
    ASSERT_NE(nullptr, c);
    Wheel(100, 100, -1);
    EXPECT_EQ(0, ScrollY()) << "without the focus the wheel is not the editor's";
    EXPECT_EQ(1, Send(NPEventType_GetFocusEvent, 0, 0));
    EXPECT_EQ(1, Send(NPEventType_GetFocusEvent, 0, 0));
    EXPECT_EQ(1, Send(NPEventType_LoseFocusEvent, 0, 0));
    EXPECT_EQ(1, Send(NPEventType_GetFocusEvent, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"qmFocusSet", "qmFocusLost", "qmFocusSet"}), calls);
    EXPECT_EQ(1, c->m_pXHTML->m_doc.m_caretEnabled) << "the caret comes back with the focus";

    Wheel(100, 100, -1);
    EXPECT_EQ(20, ScrollY());
    Wheel(100, 100, 1);
    EXPECT_EQ(0, ScrollY());
    Wheel(kWidth + 50, 100, -1); // outside the clip
    EXPECT_EQ(0, ScrollY());
}

TEST_F(ControlEventsTest, TheFormValueFollowsTheDocumentCompact)
{
    // Two writes compared whole: the generator comment's time must not pass
    // a second between them.
    qmtest::FixedLocalTime time(qmtest::LocalTime(2026, 1, 2, 3, 4, 5));
    CMorvaXEditorCtrl* c
        = Open(kWidth, kHeight, "<html><body><p>one <b>two</b></p>\n\n<p>three</p></body></html>");
    ASSERT_NE(nullptr, c);
    CSafeBuf written;
    c->m_pXHTML->GetSourceCode(written, 2);
    char* value = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, funcs.getvalue(&npp, NPPVformValue, &value));
    const std::string form = value ? value : "(null)";
    host->GetBrowser().Account().Free(value, "the form value");
    EXPECT_EQ(ToUtf8(written), form);
    EXPECT_NE(std::string::npos, form.find("<p>one <b>two</b></p><p>three</p>")) << form;

    // The value follows a new document; indented output when asked.
    ASSERT_TRUE(c->m_pXHTML->LoadDocument(U16(u"<p>four</p>")));
    CSafeBuf out;
    c->GetValue1(out);
    EXPECT_NE(std::string::npos, ToUtf8(out).find("<p>four</p>"));
    EXPECT_EQ(std::string::npos, ToUtf8(out).find("three"));
    c->IndentOutput = "Friendly";
    c->GetValue1(out);
    c->m_pXHTML->GetSourceCode(written, 1);
    EXPECT_EQ(ToUtf8(written), ToUtf8(out));
}

TEST_F(ControlEventsTest, AnUpdateDrawsTheFrameTheCornerAndTheDocumentInside)
{
    CMorvaXEditorCtrl* c = Open(kWidth, kHeight, Tall(3000, 1500));
    ASSERT_NE(nullptr, c);
    ASSERT_EQ(1, c->m_horizontalBarShown);
    const int t = c->m_toolbarHeight;
    ASSERT_GT(t, 0) << "start-up builds the toolbar";
    EXPECT_EQ(kHeight - t - 17, int(c->m_editWindow.height)) << "the editing area ends above the bar";
    c->m_borderColor = RGB(0, 0, 255);
    EXPECT_EQ(1, Send(updateEvt, 0, 0));
    const std::string png = qmtest::TestOutputPath("events-frame-") + ".png";
    EXPECT_TRUE(host->WritePNG(png)) << png;
    const std::uint32_t blue = 0x0000FF, red = 0xFF0000, white = 0xFFFFFF;
    // The frame's four sides.
    EXPECT_EQ(blue, Pixel(kX, kY + 200));
    EXPECT_EQ(blue, Pixel(kX + kWidth - 1, kY + 200));
    EXPECT_EQ(blue, Pixel(kX + 300, kY));
    EXPECT_EQ(blue, Pixel(kX + 300, kY + kHeight - 1));
    // The document from (x + 1, y + toolbar + 1) (its first row and column
    // hold the div's dotted outline), left of the vertical bar.
    EXPECT_EQ(red, Pixel(kX + 2, kY + t + 2));
    EXPECT_NE(red, Pixel(kX + 2, kY + t)) << "the toolbar above it";
    EXPECT_EQ(red, Pixel(kX + 300, kY + 200));
    EXPECT_EQ(red, Pixel(kX + kWidth - 18, kY + 200));
    EXPECT_NE(red, Pixel(kX + kWidth - 8, kY + 200)) << "the vertical bar";
    EXPECT_NE(red, Pixel(kX + 300, kY + kHeight - 8)) << "the horizontal bar";
    // The corner square in the background colour.
    EXPECT_EQ(white, Pixel(kX + kWidth - 8, kY + kHeight - 8));
}

TEST_F(ControlEventsTest, TheEditingAreasPointerAndKeysReachTheEngine)
{
    CMorvaXEditorCtrl* c = Open(kWidth, kHeight, Tall(3000));
    ASSERT_NE(nullptr, c);
    // A Control-click opens the context menu and is not taken.
    EXPECT_EQ(0, Send(mouseDown, 100, 100, 0x1000));
    Send(mouseUp, 100, 100);

    // With the button held 10 pixels below the area each tick scrolls 20.
    EXPECT_EQ(1, Send(mouseDown, 100, 100));
    const int start = ScrollY();
    for (int tick = 1; tick <= 3; ++tick) {
        Send(nullEvent, 100, kHeight + 10);
        host->Clock().Advance(100);
        EXPECT_EQ(ScrollY(), start + 20 * tick);
    }
    Send(mouseUp, 100, kHeight + 10);
    // That press and drag selected the text it crossed: start over without.
    EXPECT_EQ(1, c->m_pXHTML->m_doc.m_selectionPresent);
    c->m_pXHTML->m_doc.CleanSelection();

    // Control+A selects all; key-downs after the first text input are
    // answered without reaching the engine.
    Send(NPEventType_GetFocusEvent, 0, 0);
    auto key = [&](std::uint32_t message, std::uint16_t modifiers) { return Key(message, modifiers); };
    EXPECT_EQ(1, key(0x7301, 0)); // Home
    EXPECT_EQ(0, c->m_pXHTML->m_doc.m_selectionPresent);
    qm::events::Event text(qm::events::kEventClassTextInput, qm::events::kEventTextInputUnicode);
    text.SetParam(qm::events::kParamText, std::u16string(u"a"));
    qm::events::EventTarget::Application().SendEvent(text);
    EXPECT_EQ(1, c->m_textInputSeen);
    EXPECT_EQ(1, key(0x0001, 0x1000)); // Control+A, no longer routed
    EXPECT_EQ(0, c->m_pXHTML->m_doc.m_selectionPresent);
    c->m_textInputSeen = 0;
    EXPECT_EQ(1, key(0x0001, 0x1000));
    EXPECT_EQ(1, c->m_pXHTML->m_doc.m_selectionPresent);
}

// The keys the engine carries out itself, typed on the keyboard into a
// document whose caret the marker word in Value places.
TEST_F(ControlEventsTest, StructuralKeysTypedThroughTheHostReachTheFormValue)
{
    using namespace qm::input;
    const struct
    {
        const char* what;
        const char* value; // "|" marks the caret
        std::uint8_t keyCode;
        std::uint8_t character;
        const char* form;
    } cases[] = {
        {"forward Delete in an empty p removes it", "<p>one</p><p>|</p><p>two</p>", kVK_ForwardDelete, 127,
            "<p>one</p><p>two</p>"},
        {"forward Delete in an empty div directly in an li does nothing special",
            "<ul><li><div>|</div></li></ul><p>two</p>", kVK_ForwardDelete, 127,
            "<ul><li><div></div></li></ul><p>two</p>"},
        {"Backspace after an empty paragraph removes it", "<p>one</p><p></p><p>|two</p>", kVK_Delete, 8,
            "<p>one</p><p>two</p>"},
        {"Return in a caption adds a br", "<table><caption>ab|cd</caption><tr><td>x</td></tr></table>",
            kVK_Return, 13, "<table><caption>ab<br />cd</caption><tbody><tr><td>x</td></tr></tbody></table>"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        std::string value = k.value;
        value.replace(value.find('|'), 1, kCaretMarker);
        Renew({{"Value", value}});
        ASSERT_NE(nullptr, Open());
        Send(NPEventType_GetFocusEvent, 0, 0);
        EXPECT_EQ(1, Key(std::uint32_t(k.keyCode) << 8 | k.character));
        EXPECT_EQ(k.form, FormValue());
    }
}

TEST_F(ControlEventsTest, PageDownTypedThroughTheHostMovesTheBarHalfAView)
{
    Renew({{"Value", "<div style=\"height: 3000px\"><p>to" + std::string(kCaretMarker) + "p</p></div>"}});
    CMorvaXEditorCtrl* c = Open();
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0);
    Send(NPEventType_GetFocusEvent, 0, 0);
    const CXDoc& doc = c->m_pXHTML->m_doc;
    const int half = int(doc.m_viewRect.bottom - doc.m_viewRect.top) / 2;
    ASSERT_GT(half, 0);
    ASSERT_GT(doc.m_verticalBar.Maximum(), 2 * half);
    EXPECT_EQ(1, Key(std::uint32_t(qm::input::kVK_PageDown) << 8 | 12));
    EXPECT_EQ(half, doc.m_verticalBar.Value()) << "scroll action 6";
    EXPECT_EQ(2 * half, doc.m_scrollY);
}

// The edit buttons follow the selection made by keys: hyperlink,
// attachment, cut and copy (18-21) on while text is selected, off once it
// is not; paste (22) on throughout.
TEST_F(ControlEventsTest, SelectingTextTurnsTheEditButtonsOnAndClearingItOff)
{
    using namespace qm::input;
    Renew({{"Value", "<p>one " + std::string(kCaretMarker) + "two</p><p>three</p>"},
        {"ToolbarWysiwyg", "hyperlink,attachment,cut,copy,paste,undo,redo"}});
    CMorvaXEditorCtrl* c = Open();
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0);
    Send(NPEventType_GetFocusEvent, 0, 0);
    auto buttons = [c] {
        std::string on;
        for (int kind = 18; kind <= 22; ++kind)
            on += c->ToolIsButtonEnabled(kind, 0, true) ? '1' : '0';
        return on;
    };
    const struct
    {
        const char* what;
        std::uint32_t message;
        std::uint16_t modifiers;
        const char* buttons;
    } steps[] = {
        {"Shift-Right selects a character", std::uint32_t(kVK_RightArrow) << 8 | 29, qm::events::kModShift,
            "11111"},
        {"Left clears it", std::uint32_t(kVK_LeftArrow) << 8 | 28, 0, "00001"},
        {"Control-A selects all", std::uint32_t(kVK_ANSI_A) << 8 | 1, qm::events::kModControl, "11111"},
        {"Right clears it", std::uint32_t(kVK_RightArrow) << 8 | 29, 0, "00001"},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(1, Key(step.message, step.modifiers)) << step.what;
        EXPECT_EQ(step.buttons, buttons()) << step.what;
    }
}

// An input method's update whose fixed part is empty: the composition is
// typed at the caret and stays selected, so that its next update (or a
// letter) replaces it; a fixed update is typed and left unselected.
TEST_F(ControlEventsTest, ACompositionNotYetFixedIsTypedAndStaysSelected)
{
    const struct
    {
        const char* what;
        std::int64_t fixedBytes;
        const char* typed;    // the form value after the update
        int selected;         // whether a selection is left
        const char* replaced; // the form value after a letter is typed
    } cases[] = {
        {"nothing fixed", 0, "<p>xabcy</p>", 1, "<p>xQy</p>"},
        {"all fixed", 6, "<p>xabcy</p>", 0, "<p>xabcQy</p>"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        Renew({{"Value", "<p>" + std::string(kCaretMarker) + "y</p>"}});
        CMorvaXEditorCtrl* c = Open();
        ASSERT_NE(nullptr, c);
        Send(updateEvt, 0, 0);
        Send(NPEventType_GetFocusEvent, 0, 0);
        // The first letter typed: its key-down, then the text input the
        // browser sends with it; from then on text comes as text input.
        EXPECT_EQ(1, Key(std::uint32_t(qm::input::kVK_ANSI_X) << 8 | 'x'));
        qm::events::Event first(qm::events::kEventClassTextInput, qm::events::kEventTextInputUnicode);
        first.SetParam(qm::events::kParamText, std::u16string(u"x"));
        qm::events::EventTarget::Application().SendEvent(first);
        ASSERT_EQ("<p>xy</p>", FormValue());
        qm::events::Event update(qm::events::kEventClassTextInput, 1); // the input area's update
        update.SetParam(qm::events::kParamText, std::u16string(u"abc"));
        update.SetParam(qm::events::FourCC("tsfx"), k.fixedBytes);
        qm::events::EventTarget::Application().SendEvent(update);
        EXPECT_EQ(k.typed, FormValue());
        EXPECT_EQ(k.selected, c->m_pXHTML->m_doc.m_selectionPresent);
        qm::events::Event letter(qm::events::kEventClassTextInput, qm::events::kEventTextInputUnicode);
        letter.SetParam(qm::events::kParamText, std::u16string(u"Q"));
        qm::events::EventTarget::Application().SendEvent(letter);
        EXPECT_EQ(k.replaced, FormValue());
    }
}

// Undo and redo in the source view are the source view's own: the WYSIWYG
// document and its undo lists stay as they were. (The control is put into
// the source view as its view switch leaves it.)
TEST_F(ControlEventsTest, UndoInTheSourceViewLeavesTheWysiwygDocumentAlone)
{
    using namespace qm::input;
    Renew({{"Value", "<p>ab" + std::string(kCaretMarker) + "cd</p>"}});
    CMorvaXEditorCtrl* c = Open();
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0);
    Send(NPEventType_GetFocusEvent, 0, 0);
    EXPECT_EQ(1, Key(std::uint32_t(kVK_Return) << 8 | 13));
    CXDoc& doc = c->m_pXHTML->m_doc;
    auto wysiwyg = [&doc] {
        CSafeBuf out;
        doc.GetSourceCode(out, 6, false);
        return ToUtf8(out);
    };
    const std::string edited = wysiwyg();
    ASSERT_EQ(1, doc.m_undoList.GetCount());
    c->m_viewMode = 1;
    for (int kind : {23, 24}) {
        for (ButtonInfo* b = c->m_buttonInfo; b; b = b->next)
            if (b->kind == kind)
                c->HandleButton(b);
    }
    EXPECT_EQ(edited, wysiwyg());
    EXPECT_EQ(1, doc.m_undoList.GetCount());
    EXPECT_EQ(0, doc.m_redoList.GetCount());
    c->m_viewMode = 0;
}

// Elements a key takes out of the tree wait in the document's removal
// queue only while the key is handled: once the key (a key-down or typed
// text) is done they are freed.
TEST_F(ControlEventsTest, ElementsAKeyRemovedAreFreedOnceTheKeyIsDone)
{
    using namespace qm::input;
    Renew({{"Value", "<p>a</p><p>" + std::string(kCaretMarker) + "b</p><p>c</p>"}});
    CMorvaXEditorCtrl* c = Open();
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0);
    Send(NPEventType_GetFocusEvent, 0, 0);
    const CXDoc& doc = c->m_pXHTML->m_doc;
    EXPECT_EQ(1, Key(std::uint32_t(kVK_Delete) << 8 | 8)); // joins the paragraphs
    EXPECT_EQ("<p>ab</p><p>c</p>", FormValue());
    EXPECT_EQ(0, doc.m_removedList.GetCount()) << "after a key-down";

    // A letter over the whole document: its key-down types it (the text
    // input that follows it is the browser's echo); from then on keys come
    // as text input alone: Return, then Backspace joining the paragraphs.
    EXPECT_EQ(1, Key(std::uint32_t(kVK_ANSI_A) << 8 | 1, qm::events::kModControl)); // select all
    EXPECT_EQ(1, Key(std::uint32_t(kVK_ANSI_X) << 8 | 'x'));
    EXPECT_EQ(0, doc.m_removedList.GetCount()) << "after a key-down over a selection";
    for (const char16_t* typed : {u"x", u"\r", u"\b"}) {
        qm::events::Event text(qm::events::kEventClassTextInput, qm::events::kEventTextInputUnicode);
        text.SetParam(qm::events::kParamText, std::u16string(typed));
        qm::events::EventTarget::Application().SendEvent(text);
    }
    EXPECT_EQ("<p>x</p>", FormValue());
    EXPECT_EQ(0, doc.m_removedList.GetCount()) << "after typed text";
}

} // namespace
