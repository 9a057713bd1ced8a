// The toolbar through the control in the test host's window: layout of the
// bars, what an update paints (read back from the window's pixels), the
// pointer over buttons (hover, help tag, clicks), the button states and
// what buttons do.

#include "plugin/EntryPoints.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/Plugin.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "host/Host.h"
#include "platform/cg/PngExport.h"
#include "platform/events/Services.h"
#include "platform/qd/Port.h"
#include "platform/ui/HelpTag.h"
#include "platform/ui/Window.h"

#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace qm::host;

namespace {

constexpr int kX = 20;
constexpr int kY = 30;

// Three buttons of the page's own: a window, a page button that stays
// pressed and a style for any class of p.
const char* const kButtons
    = "<buttons>"
      "<window><id>site</id><tooltip>Site</tooltip><url>http://example.com/a b</url></window>"
      "<button><id>mark</id><tooltip>Mark</tooltip><toggle>yes</toggle></button>"
      "<style><id>any-p</id><tooltip>Any p</tooltip><elt>p</elt>"
      "<attr><name>class</name><value>guid</value></attr></style>"
      "</buttons>";

class ControlToolbarWidgetTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(home.Create(qmtest::TestOutputPath("toolbar-widget-home-"))); }

    void TearDown() override
    {
        if (started) {
            EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&npp, nullptr));
            NP_Shutdown();
            host->GetBrowser().Window().onCall = nullptr;
            EXPECT_EQ(std::vector<std::string>(), host->Problems()) << host->Log().Text();
        }
        host.reset();
    }

    // The control in a width x height area at (20, 30) with the tag's
    // parameters, its toolbar built as start-up builds it.
    CMorvaXEditorCtrl* Start(
        int width, int height, std::vector<std::pair<std::string, std::string>> params = {})
    {
        host = std::make_unique<Host>();
        host->GetBrowser().Window().functions = {"qmButtonClicked"};
        host->GetBrowser().Window().onCall
            = [this](const std::string& name, const std::vector<ScriptValue>& a) {
                  std::string call = name;
                  for (std::size_t i = 1; i < a.size(); ++i)
                      call += " " + a[i].text;
                  calls.push_back(call);
              };
        EXPECT_EQ(NPERR_NO_ERROR, NP_Initialize(host->GetBrowser().Table()));
        funcs.size = sizeof funcs;
        EXPECT_EQ(NPERR_NO_ERROR, NP_GetEntryPoints(&funcs));
        params.insert(params.begin(), {"Buttons", kButtons});
        std::vector<std::string> storage;
        for (auto& p : params) {
            storage.push_back(p.first);
            storage.push_back(p.second);
        }
        std::vector<char*> argn, argv;
        for (std::size_t i = 0; i < storage.size(); i += 2) {
            argn.push_back(&storage[i][0]);
            argv.push_back(&storage[i + 1][0]);
        }
        char type[] = "application/x-quillmark";
        EXPECT_EQ(NPERR_NO_ERROR,
            funcs.newp(type, &npp, NP_EMBED, std::int16_t(argn.size()), argn.data(), argv.data(), nullptr));
        started = true;
        host->Window().Place(kX, kY, width, height);
        EXPECT_EQ(NPERR_NO_ERROR, funcs.setwindow(&npp, host->Window().Record()));
        CMorvaXEditorCtrl* c = Control();
        if (!c)
            return nullptr;
        c->m_toolbarSet.SetWindow(*c->m_pPluginWindow);
        c->PrepareToolBar();
        c->CheckButtons(0);
        c->SetWindow(c->m_pPluginWindow);
        return c;
    }

    CMorvaXEditorCtrl* Control()
    {
        return npp.pdata ? static_cast<CPlugin*>(npp.pdata)->m_pXEditorCtrl : nullptr;
    }

    std::int16_t Send(std::uint16_t what, int h, int v)
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
        EventRecord e{what, 0, 0, {static_cast<std::int16_t>(gv), static_cast<std::int16_t>(gh)}, 0};
        return funcs.event(&npp, &e);
    }

    void Click(int h, int v)
    {
        Send(nullEvent, h, v);
        Send(mouseDown, h, v);
        Send(mouseUp, h, v);
    }

    // The window's pixel at a point of the plug-in area, as 0xRRGGBB.
    std::uint32_t Pixel(int h, int v)
    {
        cairo_surface_t* surface = host->Window().Window().Port()->Surface();
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, data + (kY + v) * cairo_image_surface_get_stride(surface) + (kX + h) * 4, 4);
        return pixel & 0xFFFFFF;
    }

    ButtonInfo* Button(const char* name) { return Control()->FindToolbarButtonFromID(name); }
    // A point inside a button.
    std::pair<int, int> Centre(const ButtonInfo* b)
    {
        return {(b->left + b->right) / 2, (b->top + b->bottom) / 2};
    }

    qmtest::TempHome home;
    std::unique_ptr<Host> host;
    NPPluginFuncs funcs{};
    NPP_t npp{};
    bool started = false;
    std::vector<std::string> calls;
};

struct LayoutCase
{
    const char* name;
    int width;
    const char* dir;
    const char* toolbar;
    // The style box's left and right edges, the first button's left edge
    // and the toolbar height.
    int boxLeft, boxRight, firstLeft, height;
};

TEST_F(ControlToolbarWidgetTest, BarsLayOutInCellsAndRows)
{
    const LayoutCase cases[] = {
        // Style box at 10 (x = 2, a 4-pixel bar step, 4 into its cell), 168
        // wide with its margin; the next bar 4 further on.
        {"one row", 600, "ltr", "cut,copy,paste", 10, 170, 182, 29},
        {"narrow lays out as 1500 wide", 100, "ltr", "cut,copy,paste,,undo,redo,source,preview,wysiwyg", 10,
            170, 182, 29},
        // 180 wide: the style box, then a new row with what fits, from x = 2.
        {"wraps", 180, "ltr", "cut,copy,paste", 10, 170, 6, 59},
        // From the width, going left: the box ends at 600 - 8, and cut 4 + 4
        // further on.
        {"right to left", 600, "rtl", "cut,copy,paste", 432, 592, 404, 29},
        {"new row", 600, "ltr", "cut,copy;paste", 10, 170, 182, 59},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        CMorvaXEditorCtrl* control = Start(c.width, 300, {{"Dir", c.dir}, {"ToolbarWysiwyg", c.toolbar}});
        ASSERT_NE(nullptr, control);
        ToolBarStruct* box = control->GetStyleBox();
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(box, control->m_toolbarSet.Bars().GetHead()) << "the style box comes first";
        EXPECT_EQ(c.boxLeft, box->buttons->left);
        EXPECT_EQ(c.boxRight, box->buttons->right);
        EXPECT_EQ(8, box->buttons->top);
        EXPECT_EQ(25, box->buttons->bottom);
        ButtonInfo* cut = Button("cut");
        ASSERT_NE(nullptr, cut);
        EXPECT_EQ(c.firstLeft, cut->left);
        EXPECT_EQ(16, cut->right - cut->left);
        ButtonInfo* copy = Button("copy");
        if (copy->top == cut->top)
            EXPECT_EQ(std::string(c.dir) == "rtl" ? -24 : 24, copy->left - cut->left) << "24-pixel cells";
        else
            EXPECT_EQ(30, copy->top - cut->top) << "30-pixel rows";
        EXPECT_EQ(c.height, control->m_toolbarHeight);
        if (ButtonInfo* paste = Button("paste"); paste && c.height == 59) {
            EXPECT_EQ(38, paste->top) << "the last button on the second row";
        }
        TearDown();
        started = false;
        calls.clear();
    }
}

TEST_F(ControlToolbarWidgetTest, AnUpdatePaintsTheStyleBoxButtonsAndTheRowSeparator)
{
    CMorvaXEditorCtrl* c = Start(180, 200, {{"ToolbarWysiwyg", "cut,copy"}, {"BorderColor", "#ff0000"}});
    ASSERT_NE(nullptr, c);
    ASSERT_EQ(59, c->m_toolbarHeight) << "cut goes to a second row";
    Send(updateEvt, 0, 0);
    const ButtonInfo* box = c->GetStyleBox()->buttons;
    EXPECT_EQ(0xffffffu, Pixel(box->left + 20, box->top + 2)) << "the box is white";
    EXPECT_EQ(0xff0000u, Pixel(box->left + 20, box->top - 3)) << "framed in the border colour";
    EXPECT_EQ(0xffffffu, Pixel(box->left + 20, box->top - 2)) << "inside the frame the background";
    EXPECT_EQ(0xa0a0a0u, Pixel(50, 30)) << "a separator line over the second row";
    EXPECT_EQ(0xffffffu, Pixel(50, 31));
    EXPECT_EQ(0xff0000u, Pixel(50, 58)) << "the frame's line under the toolbar";
    const ButtonInfo* cut = Button("cut");
    EXPECT_EQ(38, cut->top);
    bool drawn = false;
    for (int y = cut->top; y < cut->bottom; ++y)
        for (int x = cut->left; x < cut->right; ++x)
            drawn = drawn || Pixel(x, y) != 0xffffffu;
    EXPECT_TRUE(drawn) << "the cut picture shows";

    // For a person to look at.
    const std::string png = qmtest::TestOutputPath("toolbar-two-rows-") + ".png";
    EXPECT_TRUE(qm::cg::WritePNG(host->Window().Window().Port()->Surface(), png));
}

TEST_F(ControlToolbarWidgetTest, TheGradientPaintsTwentyBandsEachDarkerByOne)
{
    CMorvaXEditorCtrl* c = Start(602, 200,
        {{"ToolbarEffect", "Linear-Gradient"}, {"ToolbarWysiwyg", "cut"}, {"BackgroundColor", "#c8c8c8"}});
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0);
    // (602 - 2) / 20 = 30 pixels a band; row 3 lies above every button.
    for (int band = 0; band < 20; ++band) {
        const std::uint32_t grey = 200u - std::uint32_t(band);
        const std::uint32_t colour = grey | grey << 8 | grey << 16;
        EXPECT_EQ(colour, Pixel(std::max(1, band * 30), 3)) << band;
        EXPECT_EQ(colour, Pixel(band * 30 + 29, 3)) << band;
    }
    const std::string png = qmtest::TestOutputPath("toolbar-gradient-") + ".png";
    EXPECT_TRUE(qm::cg::WritePNG(host->Window().Window().Port()->Surface(), png));
}

TEST_F(ControlToolbarWidgetTest, ADisabledButtonShowsItsHelpTagAfter300MsAndNoHoverFrame)
{
    CMorvaXEditorCtrl* c = Start(600, 200, {{"ToolbarWysiwyg", "cut,copy"}});
    ASSERT_NE(nullptr, c);
    ButtonInfo* copy = Button("copy");
    ASSERT_EQ(1, c->ToolEnableButton(21, 0, false, true));
    Send(updateEvt, 0, 0);
    const std::uint32_t frame = Pixel(copy->left - 4, copy->top - 4);
    const auto [h, v] = Centre(copy);
    Send(nullEvent, h, v);
    EXPECT_EQ(nullptr, c->m_toolbarSet.HoverButton()) << "a disabled button is never the hovered one";
    EXPECT_EQ(frame, Pixel(copy->left - 4, copy->top - 4)) << "no hover frame";
    for (int ms = 0; ms < 280; ms += 20) {
        host->Clock().Advance(20);
        Send(nullEvent, h, v);
    }
    EXPECT_EQ(nullptr, qm::ui::CurrentHelpTag()) << "not before 300 ms";
    host->Clock().Advance(40);
    Send(nullEvent, h, v);
    ASSERT_NE(nullptr, qm::ui::CurrentHelpTag());
    EXPECT_EQ(qmtest::Utf8(copy->tooltip), qm::ui::CurrentHelpTag()->text);
    int gh = 0, gv = 0;
    host->Window().ToScreen(h, v, gh, gv);
    EXPECT_EQ(gv + 20, qm::ui::CurrentHelpTag()->top) << "20 pixels below the pointer";

    // An enabled button is hovered with a frame; leaving restores it.
    ButtonInfo* cut = Button("cut");
    const auto [ch, cv] = Centre(cut);
    Send(nullEvent, ch, cv);
    EXPECT_EQ(nullptr, qm::ui::CurrentHelpTag()) << "the tag goes with the pointer";
    EXPECT_EQ(cut, c->m_toolbarSet.HoverButton());
    EXPECT_NE(0xffffffu, Pixel(cut->left - 4, cut->top - 4)) << "hover frame";
    Send(nullEvent, 300, 150);
    EXPECT_EQ(nullptr, c->m_toolbarSet.HoverButton());
    EXPECT_EQ(0xffffffu, Pixel(cut->left - 4, cut->top - 4)) << "the background again";
}

TEST_F(ControlToolbarWidgetTest, APageButtonClickedReportsTheStateAfterTheClickWithThatLook)
{
    CMorvaXEditorCtrl* c = Start(600, 200, {{"ToolbarWysiwyg", "mark"}});
    ASSERT_NE(nullptr, c);
    Send(updateEvt, 0, 0);
    ButtonInfo* mark = Button("mark");
    ASSERT_NE(nullptr, mark);
    const auto [h, v] = Centre(mark);
    Click(h, v);
    Click(h, v);
    EXPECT_EQ((std::vector<std::string>{"qmButtonClicked mark on", "qmButtonClicked mark off"}), calls);
    EXPECT_EQ(0, c->ToolIsButtonChecked(0, mark->EditorCommandID, false));
    Click(h, v);
    EXPECT_EQ(1, c->ToolIsButtonChecked(0, mark->EditorCommandID, false));
    EXPECT_EQ(0xffffffu, Pixel(mark->left - 3, mark->bottom + 2)) << "checked: a white face";
    EXPECT_NE(0xffffffu, Pixel(mark->left - 4, mark->bottom + 3)) << "in its frame";
    Send(nullEvent, 300, 150);
    Send(nullEvent, h, v);
    EXPECT_EQ(0xffffffu, Pixel(mark->left - 3, mark->bottom + 2))
        << "the pointer over it keeps the checked look";

    // Through the command the pair alternates the same way.
    calls.clear();
    EXPECT_EQ(1, c->ProcessToolbarCommand(long(mark->EditorCommandID)));
    EXPECT_EQ((std::vector<std::string>{"qmButtonClicked mark off"}), calls);
    EXPECT_EQ(0xffffffu, Pixel(mark->left - 4, mark->bottom + 3)) << "unchecked: the background";
}

TEST_F(ControlToolbarWidgetTest, AWindowButtonOpensItsAddress)
{
    CMorvaXEditorCtrl* c = Start(600, 200, {{"ToolbarWysiwyg", "site"}});
    ASSERT_NE(nullptr, c);
    const auto [h, v] = Centre(Button("site"));
    Click(h, v);
    EXPECT_TRUE(host->Log().Contains("open URL \"http://example.com/a b\"")) << host->Log().Text();
}

TEST_F(ControlToolbarWidgetTest, StatesByKindRefuseLowKindsAndByIdReachAnyButton)
{
    CMorvaXEditorCtrl* c = Start(600, 200, {{"ToolbarWysiwyg", "site,cut"}});
    ASSERT_NE(nullptr, c);
    ButtonInfo* site = Button("site");
    ASSERT_EQ(kButtonKindWindow, site->kind);
    EXPECT_EQ(0, c->ToolCheckButton(kButtonKindWindow, 0, true, true));
    EXPECT_EQ(0, c->ToolEnableButton(kButtonKindWindow, 0, false, true));
    EXPECT_EQ(0u, site->state & kButtonChecked);
    EXPECT_EQ(1, c->ToolCheckButton(0, site->EditorCommandID, true, false));
    EXPECT_EQ(1, c->ToolIsButtonChecked(0, site->EditorCommandID, false));
    EXPECT_EQ(1, c->ToolCheckButton(20, 0, true, true));
    EXPECT_EQ(1, c->ToolIsButtonChecked(20, 0, true));
    EXPECT_EQ(0, c->ToolCheckButton(0, 99999, true, false));
    // The whole toolbar greyed but the view buttons.
    c->ToolEnable(false);
    EXPECT_NE(0u, Button("cut")->state & kButtonGrey);
}

struct ViewCase
{
    const char* button;
    int view;
    int result;
};

TEST_F(ControlToolbarWidgetTest, ButtonsActOnlyInTheirViews)
{
    CMorvaXEditorCtrl* c = Start(600, 200,
        {{"ToolbarWysiwyg", "ordered-list,cut,expand,whitespace,site,any-p"},
            {"ToolbarSource", "ordered-list,cut,expand,whitespace,site,any-p"}});
    ASSERT_NE(nullptr, c);
    const ViewCase cases[] = {
        {"ordered-list", 0, 1},
        {"ordered-list", 1, 0},
        {"cut", 1, 1},
        {"expand", 1, 1},
        {"whitespace", 0, 0},
        {"whitespace", 1, 1},
        {"any-p", 1, 0},
        {"site", 1, 1},
    };
    for (const ViewCase& vc : cases) {
        c->m_viewMode = vc.view;
        ButtonInfo* b = Button(vc.button);
        ASSERT_NE(nullptr, b) << vc.button;
        EXPECT_EQ(vc.result, c->HandleButton(b)) << vc.button << " in view " << vc.view;
        EXPECT_EQ(vc.result, c->ProcessToolbarCommand(long(b->EditorCommandID))) << vc.button;
    }
    c->m_viewMode = 0;
    EXPECT_EQ(0, c->ProcessToolbarCommand(0));
}

TEST_F(ControlToolbarWidgetTest, TheSourceViewKeepsItsToolsAndDisablesTheRest)
{
    CMorvaXEditorCtrl* c
        = Start(600, 200, {{"ToolbarWysiwyg", "ordered-list,cut,expand,whitespace,indent,image"}});
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(0, c->ToolIsButtonEnabled(36, 0, true)) << "source tools off in WYSIWYG";
    c->ToolEnableButton(39, 0, false, true);
    c->CheckButtons(1);
    const std::pair<int, int> expected[] = {{7, 0}, {20, 1}, {15, 1}, {39, 1}, {16, 0}};
    for (const auto& [kind, enabled] : expected)
        EXPECT_EQ(enabled, c->ToolIsButtonEnabled(kind, 0, true)) << kind;
}

TEST_F(ControlToolbarWidgetTest, UpdatingToTheSourceViewRebuildsItsBarsAndChecksItsButton)
{
    CMorvaXEditorCtrl* c = Start(600, 200,
        {{"ToolbarSource", "cut,indent,whitespace,image,,wysiwyg,source"},
            {"ToolbarWysiwyg", "cut,wysiwyg"}});
    ASSERT_NE(nullptr, c);
    c->UpdateToolBar(1);
    EXPECT_EQ(0, c->m_viewMode) << "the view itself is not switched";
    EXPECT_EQ(nullptr, c->GetStyleBox()) << "no style box outside the WYSIWYG view";
    EXPECT_EQ(1, c->ToolIsButtonChecked(25, 0, true));
    EXPECT_EQ(0, c->ToolIsButtonChecked(27, 0, true));
    const std::pair<int, int> enabled[] = {{20, 1}, {39, 1}, {36, 1}, {16, 0}};
    for (const auto& [kind, on] : enabled)
        EXPECT_EQ(on, c->ToolIsButtonEnabled(kind, 0, true)) << kind;
    EXPECT_EQ(0u, Button("whitespace")->state & kButtonGrey) << "the source view's tools stay usable";
    EXPECT_EQ(29, c->m_toolbarHeight);

    // Back in the WYSIWYG view the style box leads again.
    c->UpdateToolBar(0);
    ASSERT_NE(nullptr, c->GetStyleBox());
    EXPECT_EQ(c->GetStyleBox(), c->m_toolBars.GetHead());
    EXPECT_EQ(1, c->ToolIsButtonChecked(27, 0, true));
}

// Records the source button's check when each engine command is posted.
class RecordingControl : public CMorvaXEditorCtrl
{
public:
    int PostEngineCommand(unsigned id) override
    {
        posted.push_back({id, ToolIsButtonChecked(25, 0, true)});
        return 1;
    }
    std::vector<std::pair<unsigned, int>> posted;
};

TEST_F(ControlToolbarWidgetTest, AViewButtonFlipsItsCheckBeforeItsCommandRuns)
{
    RecordingControl c;
    c.PrepareToolBar();
    EXPECT_EQ(1, c.ToolIsButtonChecked(27, 0, true)) << "the current view's button";
    EXPECT_EQ(0, c.ToolIsButtonChecked(25, 0, true));
    ButtonInfo* source = c.FindToolbarButtonFromID("source");
    ASSERT_NE(nullptr, source);
    EXPECT_EQ(1, c.ProcessToolbarCommand(long(source->EditorCommandID)));
    EXPECT_EQ((std::vector<std::pair<unsigned, int>>{{12001u, 1}}), c.posted);
}

TEST_F(ControlToolbarWidgetTest, AScriptCallsADefinitionByNameInTheWysiwygViewOnly)
{
    RecordingControl c;
    c.LoadAllButtonInfo();
    c.CallToolbarButton(qmtest::FromUtf8("Numbering"));
    c.CallToolbarButton(qmtest::FromUtf8("no-such-button"));
    c.m_viewMode = 1;
    c.CallToolbarButton(qmtest::FromUtf8("cut"));
    c.m_viewMode = 0;
    c.CallToolbarButton(qmtest::FromUtf8("CUT"));
    EXPECT_EQ((std::vector<std::pair<unsigned, int>>{{32802u, 0}, {32811u, 0}}), c.posted);
}

CElement* FindElement(CElement* e, const char* tag, const char* cls)
{
    for (; e; e = e->m_nextSibling) {
        CSafeBuf value;
        const bool has = e->GetAttrString("class", value);
        if (e->GetTagName() && CSafeBuf(e->GetTagName()) == tag && (cls ? has && value == cls : !has))
            return e;
        if (CElement* inner = FindElement(e->m_firstChild, tag, cls))
            return inner;
    }
    return nullptr;
}

TEST_F(ControlToolbarWidgetTest, AStyleButtonWithGuidFitsAnyClassButNotNone)
{
    CMorvaXEditorCtrl* c = Start(600, 200, {{"ToolbarWysiwyg", "any-p"}});
    ASSERT_NE(nullptr, c);
    c->BackupPort();
    ASSERT_TRUE(c->m_pXHTML->LoadDocument(qmtest::FromUtf8(
        "<html><body><p class=\"one\">a</p><p>b</p><div class=\"one\">c</div></body></html>")));
    c->RestorePort();
    CElement* root = c->m_pXHTML->m_doc.m_root;
    const std::pair<CElement*, bool> cases[] = {
        {FindElement(root, "p", "one"), true},
        {FindElement(root, "p", nullptr), false},
        {FindElement(root, "div", "one"), false},
    };
    ButtonInfo* style = Button("any-p");
    for (const auto& [element, fits] : cases) {
        ASSERT_NE(nullptr, element);
        c->StyleUnckeckStyleButtons();
        EXPECT_EQ(fits, c->FindBestButtonStyle(element)) << qmtest::Utf8(element->GetTagName());
        EXPECT_EQ(fits ? 1 : 0, c->ToolIsButtonChecked(0, style->EditorCommandID, false));
    }
}

} // namespace
