// The control's start in a page through the test host: the first document
// from Value with the question about markup that does not clean (answered
// by the host's scripted UI driver), the first view, the default style
// sheet, the placement of the editing area and the source view, and the
// form value read while the source view shows.

#include "plugin/EntryPoints.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/Plugin.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "host/Host.h"
#include "platform/qd/Port.h"
#include "platform/ui/Window.h"
#include "source_view/ColoringEditor.h"

#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace qm::host;
using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

constexpr int kX = 20;
constexpr int kY = 30;
constexpr int kWidth = 600;
constexpr int kHeight = 400;

// Markup that does not clean (an element left open) but that Tidy repairs.
const char kBroken[] = "<p>one <b>two</p><p>three</p>";
// Markup that neither cleans nor loads, before or after repair.
const char* const kHopeless = qmtest::HopelessMarkup();

class ControlStartupTest : public qmtest::ControlInstanceTest
{
protected:
    ControlStartupTest() : ControlInstanceTest("startup-home-")
    {
        placeLeft = kX;
        placeTop = kY;
        placeWidth = kWidth;
        placeHeight = kHeight;
    }

    void Answer(const std::string& press)
    {
        DialogAnswer a;
        a.press = press;
        Ui().dialogs.push_back(a);
    }

    void AnswerClose()
    {
        DialogAnswer a;
        a.kind = DialogAnswer::kClose;
        Ui().dialogs.push_back(a);
    }

    std::string SourceText()
    {
        CSafeBuf text;
        Control()->GetSourceText(text, false);
        return ToUtf8(text);
    }

    // The document's compact markup, without the generator comment.
    std::string DocumentMarkup()
    {
        CSafeBuf out;
        Control()->m_pXHTML->GetSourceCode(out, 2);
        return WithoutComment(ToUtf8(out));
    }
};

// How a start-up with one Value goes, by what the user answers.
struct StartCase
{
    const char* name;
    const char* value;
    const char* options;
    const char* answer; // a button's label; "close" closes the box; null: no answer queued
    bool asked;
    bool alert;            // the correct-manually alert followed
    int view;              // 0 WYSIWYG, 1 source
    const char* source;    // the source view's text, null: not checked
    const char* formValue; // null: not checked
};

const char kRepaired[] = "<p>one <strong>two</strong></p><p><strong>three</strong></p>";

const StartCase kStartCases[] = {
    {"EmptyAsksNothing", "", "0", nullptr, false, false, 0, nullptr, ""},
    {"CleanValueIsCleanedAndCompact", "<p>one</p>\n\n<p>two  <b>three</b></p>", "0", nullptr, false, false, 0,
        nullptr, "<p>one</p><p>two <b>three</b></p>"},
    {"FixRepairs", kBroken, "0", "Fix", true, false, 0, nullptr, kRepaired},
    {"EditShowsTheValueAsGiven", kBroken, "0", "Edit", true, false, 1, kBroken, kBroken},
    {"ClosedBoxKeepsTheValueAsEdit", kBroken, "0", "close", true, false, 1, kBroken, kBroken},
    // Markup that does not clean does not load either: the document stays empty.
    {"DiscardLoadsAsGiven", kBroken, "0", "Discard", true, false, 0, nullptr, ""},
    {"FailingFixAlertsThenShowsTheSource", kHopeless, "0", "Fix", true, true, 1, kHopeless, kHopeless},
    {"Option2RepairsSilently", kBroken, "2", nullptr, false, false, 0, nullptr, kRepaired},
    {"Option2UnloadableOpensTheSource", kHopeless, "2", nullptr, false, false, 1, kHopeless, kHopeless},
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class ControlStartupAnswerTest : public ControlStartupTest, public ::testing::WithParamInterface<StartCase>
{ };

TEST_P(ControlStartupAnswerTest, TheFirstDocument)
{
    const StartCase& c = GetParam();
    if (c.answer && std::string(c.answer) == "close")
        AnswerClose();
    else if (c.answer)
        Answer(c.answer);
    CMorvaXEditorCtrl* control = Start({{"Value", c.value}, {"Options", c.options}});
    ASSERT_NE(nullptr, control);
    EXPECT_EQ((c.asked ? 1 : 0) + (c.alert ? 1 : 0), Ui().shown);
    if (c.alert) {
        EXPECT_EQ((std::vector<std::string>{"The errors could not be fixed. Please correct them manually."}),
            Ui().texts);
    } else if (c.asked) {
        EXPECT_EQ("Failure", Ui().caption);
        EXPECT_EQ((std::vector<std::string>{"The document contains errors."}), Ui().texts);
        EXPECT_EQ((std::vector<std::string>{"Fix", "Edit", "Discard"}), Ui().labels);
        EXPECT_EQ("Fix", Ui().defaultLabel);
    }
    EXPECT_EQ(c.view, control->m_viewMode);
    EXPECT_EQ(1, control->m_created);
    // The view's button is checked; a start forced into the source view
    // leaves only cut (20), copy (21) and paste (22) enabled; the WYSIWYG
    // view starts with indent (39) disabled.
    EXPECT_EQ(1, control->ToolIsButtonChecked(c.view == 1 ? 25 : 27, 0, true));
    EXPECT_EQ(0, control->ToolIsButtonChecked(c.view == 1 ? 27 : 25, 0, true));
    // A start forced into the source view greys every tool but the view
    // buttons, "expand" (15) and cut (20), copy (21) and paste (22).
    if (c.view == 1) {
        void* pos = control->m_toolBars.GetHeadPosition();
        int greyed = 0;
        while (pos) {
            auto* bar = static_cast<ToolBarStruct*>(control->m_toolBars.GetNext(pos));
            for (ButtonInfo* b = bar->buttons; b && bar->barKind == 0; b = b->next) {
                if (b->kind == 1)
                    continue; // a gap
                const bool kept
                    = b->kind < 7 || (b->kind >= 20 && b->kind <= 22) || (b->kind >= 25 && b->kind <= 28);
                EXPECT_EQ(!kept, (b->state & 4) != 0) << "kind " << b->kind;
                greyed += kept ? 0 : 1;
            }
        }
        EXPECT_GT(greyed, 0);
    }
    if (c.source) {
        EXPECT_EQ(c.source, SourceText());
    }
    if (c.formValue) {
        EXPECT_EQ(c.formValue, FormValue());
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ControlStartupAnswerTest, ::testing::ValuesIn(kStartCases),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST_F(ControlStartupTest, Option2000DisablesFixAndMakesEditTheDefault)
{
    Answer("Fix"); // cannot be pressed
    CMorvaXEditorCtrl* control = Start({{"Value", kBroken}, {"Options", "8192"}});
    ASSERT_NE(nullptr, control);
    EXPECT_EQ((std::vector<std::string>{"Edit", "Discard"}), Ui().labels);
    EXPECT_EQ("Edit", Ui().defaultLabel);
    ASSERT_EQ(1u, Ui().failures.size()) << "the driver found no Fix to press";
    Ui().failures.clear();
    EXPECT_EQ(1, control->m_viewMode) << "the unanswered box counts as Edit";
    EXPECT_EQ(kBroken, SourceText());
}

TEST_F(ControlStartupTest, Option100KeepsHardSpacesThroughTheRepair)
{
    // Tidy turns a named no-break space into the character; with the
    // option the reference comes out of the repair as it went in.
    const std::string value = "<p>a&nbsp;b <b>c</p>";
    CMorvaXEditorCtrl* control = Start({{"Value", value}, {"Options", "258"}});
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(0, control->m_viewMode);
    EXPECT_EQ("<p>a\u00A0b <strong>c</strong></p>", FormValue());
    for (int options : {2, 258}) {
        control->Options = options;
        CSafeBuf text = FromUtf8(value);
        control->TidyValue(text);
        EXPECT_EQ(options == 258, ToUtf8(text).find("a&nbsp;b") != std::string::npos)
            << options << ": " << ToUtf8(text);
    }
}

TEST_F(ControlStartupTest, AnEmptyStyleSheetGivesTheDefaultSheet)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>text</p>"}});
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(1, control->m_defaultCSS);
    EXPECT_NE(std::string::npos, ToUtf8(control->CSS).find("body { margin: 12px;"));
    CXDoc& doc = control->m_pXHTML->m_doc;
    ASSERT_NE(nullptr, doc.m_workingRules);
    ASSERT_NE(nullptr, doc.m_root);
    ASSERT_NE(nullptr, doc.m_root->m_firstChild);
    EXPECT_EQ(12, doc.m_root->Lay().m_marginLeftTop.x) << "the body's margin";
}

TEST_F(ControlStartupTest, TheAboutPictureIsLoaded)
{
    CMorvaXEditorCtrl* control = Start({});
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(48, control->m_aboutImage.GetWidth());
    EXPECT_EQ(48, control->m_aboutImage.GetHeight());
}

TEST_F(ControlStartupTest, APageSheetIsTakenAsItIs)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>text</p>"}, {"CSS", "p { color: red }"}});
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(0, control->m_defaultCSS);
    EXPECT_EQ("p { color: red }", ToUtf8(control->CSS));
}

TEST_F(ControlStartupTest, TheEditingAreaAndTheSourceViewArePlaced)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>text</p>"}});
    ASSERT_NE(nullptr, control);
    const int t = control->m_toolbarHeight;
    const NPWindow& area = control->m_editWindow;
    EXPECT_EQ(kX + 1, area.x);
    EXPECT_EQ(kY + t + 1, area.y);
    EXPECT_EQ(std::uint32_t(kWidth - 17), area.width);
    EXPECT_EQ(std::uint32_t(kHeight - t - 2), area.height);
    EXPECT_EQ(kX, area.clipRect.left) << "one further left than the area";
    EXPECT_EQ(kY + kHeight - 2, area.clipRect.bottom) << "one up from the area's bottom";
    ASSERT_NE(nullptr, control->m_coloringEditor);
    EXPECT_EQ(CRect(1, t + 1, kWidth - 1, kHeight - 1), control->m_coloringEditor->m_viewRect);
    EXPECT_EQ(&control->m_sourceWindow, control->m_coloringEditor->m_window);

    // A new geometry places both again.
    host->Window().Place(kX + 10, kY, kWidth - 100, kHeight);
    ASSERT_EQ(NPERR_NO_ERROR, funcs.setwindow(&npp, host->Window().Record()));
    EXPECT_EQ(kX + 11, control->m_editWindow.x);
    EXPECT_EQ(std::uint32_t(kWidth - 117), control->m_editWindow.width);
    const int narrower = control->m_toolbarHeight; // the bars may take more rows
    EXPECT_EQ(CRect(1, narrower + 1, kWidth - 101, kHeight - 1), control->m_coloringEditor->m_viewRect);

    // A page only: the document takes the whole window as its page and the
    // source view stays where it was.
    const CRect source = control->m_coloringEditor->m_viewRect;
    control->SetWindow(control->m_pPluginWindow, true);
    EXPECT_EQ(CRect(0, 0, kWidth - 100, kHeight), control->m_pXHTML->m_doc.m_viewRect);
    EXPECT_EQ(CRect(0, 0, kWidth - 100, kHeight), control->m_pXHTML->m_doc.m_windowRect);
    EXPECT_EQ(source, control->m_coloringEditor->m_viewRect);
}

TEST_F(ControlStartupTest, TheValueInTheSourceViewFollowsTheSourceText)
{
    Answer("Edit");
    CMorvaXEditorCtrl* control = Start({{"Value", kHopeless}});
    ASSERT_NE(nullptr, control);
    ASSERT_EQ(1, control->m_viewMode);
    control->m_pXHTML->LoadDocument(FromUtf8("<p>before</p>"));
    const std::string before = DocumentMarkup();

    // Text that does not load: the value is the text as typed, and the
    // WYSIWYG document is left alone.
    CSafeBuf typed = FromUtf8("<p>typed <i>text</p><");
    control->SetSourceText(typed);
    EXPECT_EQ("<p>typed <i>text</p><", FormValue());
    EXPECT_EQ(before, DocumentMarkup());

    // Text that loads: cleaned, and the WYSIWYG document follows it.
    CSafeBuf fine = FromUtf8("<!DOCTYPE html><p>fine  text</p>");
    control->SetSourceText(fine);
    EXPECT_EQ("<p>fine text</p>", FormValue());
    EXPECT_EQ("<p>fine text</p>", DocumentMarkup());
}

TEST_F(ControlStartupTest, AnUpdateDrawsTheSourceViewItStartedIn)
{
    // The source view's line-number gutter is light grey; the WYSIWYG view
    // shows the white document there.
    auto gutterPixel = [this] {
        EventRecord update{};
        update.what = updateEvt;
        EXPECT_EQ(1, funcs.event(&npp, &update));
        cairo_surface_t* surface = host->Window().Window().Port()->Surface();
        cairo_surface_flush(surface);
        const unsigned char* row = cairo_image_surface_get_data(surface)
            + (kY + kHeight / 2) * cairo_image_surface_get_stride(surface);
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, row + (kX + 4) * 4, 4);
        return pixel & 0xFFFFFF;
    };
    Answer("Edit");
    ASSERT_NE(nullptr, Start({{"Value", kBroken}}));
    EXPECT_EQ(0xF0F0F0u, gutterPixel());
}

TEST(ControlTextColour, TheCandidateFurthestFromTheBackground)
{
    const std::pair<unsigned long, unsigned long> cases[] = {
        {RGB(255, 255, 255), RGB(0, 0, 0)},
        {RGB(0, 0, 0), RGB(255, 255, 255)},
        {RGB(0, 0, 255), RGB(255, 153, 51)},
        {RGB(255, 255, 0), RGB(0, 0, 153)},
        {RGB(0, 255, 255), RGB(153, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, CMorvaXEditorCtrl::ContrastingTextColor(c.first)) << std::hex << c.first;
}

} // namespace
