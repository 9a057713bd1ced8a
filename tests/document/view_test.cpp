// The document's view: the scroll state kept in step with the document's
// size and the caret, the rows copied to the window at the scroll offset,
// and the caret drawn and erased on top of them.

#include "tests/document/support/ViewedDocument.h"

#include "base/shims/CGShims.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "platform/ui/HelpTag.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "style/paint/OffscreenView.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::ViewedDocument;

// A document exactly height pixels tall and width wide (0: as wide as the
// view): the body adds 10 pixels below its content.
std::string Block(int height, int width = 0)
{
    return "<body style=\"margin: 0\"><div style=\"height: " + std::to_string(height - 10) + "px"
        + (width ? "; width: " + std::to_string(width) + "px" : std::string()) + "\"></div></body>";
}

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

TEST(DocumentView, ScrollBarsFollowTheDocumentsSize)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show(Block(1000), 600, 400));
    ASSERT_EQ(v.doc.m_root->Lay().m_sizeRect.bottom, 1000);
    EXPECT_EQ(v.doc.m_verticalBar.Minimum(), 0);
    EXPECT_EQ(v.doc.m_verticalBar.Maximum(), 301);
    EXPECT_EQ(v.doc.m_scrollY, 0);
    EXPECT_EQ(v.doc.m_horizontalBar.Maximum(), 0) << "a document as wide as the view needs no bar";

    // Scrolled to the caret 120 pixels down: the bar stands at 60.
    v.doc.m_scrollY = 500;
    v.doc.m_caretPoint = CPoint(10, 320);
    v.doc.AdjCursorPos();
    EXPECT_EQ(v.doc.m_scrollY, 120);
    EXPECT_EQ(v.doc.m_verticalBar.Value(), 60);

    // An offset past the document's end is pulled back at the next update.
    v.doc.m_scrollY = 1200;
    v.doc.SetScrollBar();
    EXPECT_EQ(v.doc.m_scrollY, 600);
    EXPECT_EQ(v.doc.m_verticalBar.Value(), 300);

    // A document that stops needing the bar disables it and keeps the offset
    // until the next Draw.
    v.doc.m_root->Lay().m_sizeRect.bottom = 300;
    v.doc.SetScrollBar();
    EXPECT_EQ(v.doc.m_verticalBar.Minimum(), -2);
    EXPECT_EQ(v.doc.m_verticalBar.Maximum(), -1);
    EXPECT_EQ(v.doc.m_scrollY, 600);
    v.doc.Redraw();
    EXPECT_EQ(v.doc.m_scrollY, 0);
}

TEST(DocumentView, AWideDocumentShowsTheHorizontalBarScrolledToItsStart)
{
    ViewedDocument v;
    v.doc.m_scrollX = 70;
    ASSERT_TRUE(v.Show(Block(100, 1500), 600, 400));
    EXPECT_EQ(v.doc.m_horizontalBar.Maximum(), (1500 - 600) / 2 + 1);
    EXPECT_EQ(v.doc.m_scrollX, 0);
    EXPECT_EQ(v.doc.m_verticalBar.Maximum(), 0) << "the vertical bar never became active";

    // Narrower again: the bar goes and each Draw forces the offset to 0.
    v.doc.m_scrollX = 40;
    v.doc.m_root->Lay().m_sizeRect.right = 500;
    v.doc.SetScrollBar();
    v.doc.m_scrollX = 40;
    v.doc.Redraw();
    EXPECT_EQ(v.doc.m_scrollX, 0);
}

TEST(DocumentView, AWindowGrownAtTheEndPullsTheOffsetBack)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show(Block(1000, 900), 600, 400));
    v.doc.m_scrollX = 300;
    v.doc.m_scrollY = 600; // the end
    v.doc.Redraw();
    EXPECT_EQ(v.doc.m_scrollX, 300);
    EXPECT_EQ(v.doc.m_scrollY, 600);

    ASSERT_TRUE(v.Resize(700, 500));
    v.doc.Redraw();
    EXPECT_EQ(v.doc.m_scrollX, 200) << "the document's right edge meets the view's";
    EXPECT_EQ(v.doc.m_scrollY, 500);

    // Clipped away nothing is drawn, but the offset is still pulled back.
    ASSERT_TRUE(v.Resize(800, 600));
    v.doc.m_clipTop = v.doc.m_clipBottom = 0;
    v.doc.Redraw();
    EXPECT_EQ(v.doc.m_scrollX, 100);
    EXPECT_EQ(v.doc.m_scrollY, 400);
    EXPECT_EQ(v.Pixel(10, 10), 0u) << "nothing drawn";
}

TEST(DocumentView, TheViewShowsTheRowsAtTheScrollOffset)
{
    ViewedDocument v;
    const std::string markup = "<body style=\"margin: 0\">"
                               "<div style=\"height: 3000px; background-color: #ff0000\"></div>"
                               "<div style=\"height: 30000px; background-color: #0000ff\"></div></body>";
    ASSERT_TRUE(v.Show(markup, 200, 100));
    v.doc.m_scrollY = 2950;
    v.doc.Redraw();
    // (Column 0 and the blocks' edges carry the editor's outline of a div.)
    EXPECT_EQ(v.Pixel(100, 0), kRed);
    EXPECT_EQ(v.Pixel(1, 49), kRed);
    EXPECT_EQ(v.Pixel(1, 50), kBlue) << "document row 3000 at view row 50";
    EXPECT_EQ(v.Pixel(199, 99), kBlue);

    // Far down: the tiles there are made resident and painted; the bitmap's
    // pixels live in the tiles, never in one buffer.
    v.doc.m_scrollY = 8000;
    v.doc.Redraw();
    EXPECT_EQ(v.Pixel(100, 20), kBlue);
    EXPECT_EQ(v.doc.m_bitmapPixels, nullptr);
    EXPECT_LT(ResidentBitmapBytes(v.doc.m_root), v.doc.m_bitmapBytes);
}

TEST(DocumentView, ACaretAtTheViewsTopIsCutThere)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show(Block(1000), 200, 100));
    v.doc.m_scrollY = 300;
    v.doc.Redraw();
    v.doc.m_caretEnabled = 1;
    v.doc.m_caretColor = RGB(255, 0, 0);
    v.doc.m_caretHeight = 16;
    v.doc.m_caretPoint = CPoint(20, 305); // the foot 5 pixels below the view's top
    v.doc.m_caretPhase = 1;
    v.doc.DisplayCursorInView();
    int drawn = 0;
    for (int y = 0; y < 100; ++y)
        drawn += v.Pixel(20, y) == kRed;
    EXPECT_EQ(drawn, 5);
    EXPECT_EQ(v.Pixel(20, 4), kRed);
    EXPECT_EQ(v.Pixel(21, 4), kWhite);

    // Erased: the document's own pixels come back.
    v.doc.m_caretPhase = 0;
    v.doc.DisplayCursorInView();
    EXPECT_EQ(v.Pixel(20, 4), kWhite);
}

TEST(DocumentView, AStaleCaretIsTakenFromItsElementBeforeItIsDrawn)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show("<p _caret=\"2\">abcd</p>", 200, 100));
    CElement* run = v.doc.m_caretElement;
    ASSERT_NE(run, nullptr);
    CPoint foot;
    run->GetKeyPos(foot, -1);
    v.doc.m_caretEnabled = 1;
    v.doc.m_caretPoint = CPoint(5000, 5000); // outside the view
    v.doc.m_caretStale = 1;
    v.doc.DisplayCursorInView();
    EXPECT_EQ(v.doc.m_caretPoint, foot);
    EXPECT_EQ(v.doc.m_caretHeight, run->GetKeyLen());
    EXPECT_EQ(v.Pixel(int(foot.x), int(foot.y) - 1), 0xFF000000u) << "drawn where the element says";
}

TEST(DocumentView, ACaretOutsideTheViewIsNeitherDrawnNorErased)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show(Block(1000), 200, 100));
    v.doc.m_scrollY = 300;
    v.doc.m_caretEnabled = 1;
    v.doc.m_caretHeight = 16;
    CRect view(0, 0, 200, 100);
    auto calls = [&](CPoint foot, unsigned char phase) {
        v.doc.m_caretPoint = foot;
        v.doc.m_caretPhase = phase;
        CGContextRef context = CreateCGContext(v.port.get());
        context->EnableTrace(true);
        v.doc.DisplayCursor(context, view, true);
        const size_t n = context->Trace().size();
        EndCGContext(v.port.get(), &context);
        return n;
    };
    EXPECT_EQ(calls(CPoint(20, 300), 1), 0u) << "ends at the view's top";
    EXPECT_EQ(calls(CPoint(20, 300), 0), 0u);
    EXPECT_EQ(calls(CPoint(20, 416), 1), 0u) << "starts below the view";
    EXPECT_EQ(calls(CPoint(20, 416), 0), 0u);
    EXPECT_EQ(calls(CPoint(260, 350), 1), 0u) << "right of the view";
    EXPECT_GT(calls(CPoint(20, 415), 1), 0u) << "its top row is the view's last";
    EXPECT_GT(calls(CPoint(20, 415), 0), 0u);
}

TEST(DocumentView, AdjCursorPosCentresACaretOutsideTheWindow)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show(Block(2000, 3000), 600, 400));
    v.doc.m_scrollX = 500;
    v.doc.m_caretPoint = CPoint(490, 100); // 10 pixels left of the view
    v.doc.AdjCursorPos();
    EXPECT_EQ(v.doc.m_scrollX, 190);
    EXPECT_EQ(v.doc.m_scrollY, 0) << "inside on this axis: not moved";
    EXPECT_EQ(v.doc.m_horizontalBar.Value(), 95);

    v.doc.m_scrollX = 110;
    v.doc.m_caretPoint = CPoint(100, 100);
    v.doc.AdjCursorPos();
    EXPECT_EQ(v.doc.m_scrollX, 0) << "never below 0";

    // A caret inside the window moves nothing.
    v.doc.m_scrollX = 40;
    v.doc.m_caretPoint = CPoint(640, 400);
    v.doc.AdjCursorPos();
    EXPECT_EQ(v.doc.m_scrollX, 40);
    EXPECT_EQ(v.doc.m_scrollY, 0);
}

TEST(DocumentView, TheControlsViewModeAndPendingWindowChangeHoldTheDrawing)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("view-home-")));
    CMorvaXEditorCtrl control;
    ViewedDocument v;
    v.marked.engine.m_control = &control;
    ASSERT_TRUE(v.Show(Block(100, 1500), 600, 400));
    EXPECT_EQ(control.m_horizontalBarShown, 1) << "the control holds the horizontal bar";

    // A fresh port each time: nothing drawn reads as transparent.
    control.m_viewMode = 1; // source
    ASSERT_TRUE(v.Resize(600, 400));
    v.doc.Redraw();
    EXPECT_EQ(v.Pixel(10, 10), 0u);
    control.m_viewMode = 0;
    control.m_windowChangePending = 1;
    ASSERT_TRUE(v.Resize(600, 400));
    v.doc.Redraw();
    EXPECT_EQ(v.Pixel(10, 10), 0u);
    control.m_windowChangePending = 0;
    v.doc.Redraw();
    EXPECT_EQ(v.Pixel(10, 10), kWhite);
    v.marked.engine.m_control = nullptr;
}

} // namespace

namespace {

TEST(DocumentView, HelpTagsAndTheCaretsScreenPlaceLeaveTheScrollOffsetAndEnterTheScreen)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show(Block(1000), 200, 100));
    v.port->SetScreenPosition(1000, 500);
    v.doc.m_scrollX = 0;
    v.doc.m_scrollY = 300;
    v.doc.DisplayTooltip(CPoint(50, 340), "tip", false);
    const qm::events::HelpTag* tag = qm::ui::CurrentHelpTag();
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->text, "tip");
    EXPECT_EQ(tag->left, 1050);
    EXPECT_EQ(tag->top, 560) << "20 pixels below the point";
    EXPECT_EQ(tag->right - tag->left, 20);
    EXPECT_EQ(tag->bottom - tag->top, 20);
    v.doc.DisplayTooltip(CPoint(50, 340), "tip", true);
    EXPECT_EQ(qm::ui::CurrentHelpTag()->left, 1010) << "moved left";
    v.doc.HideTooltip(false);
    EXPECT_EQ(qm::ui::CurrentHelpTag(), nullptr);
    // The engine's, which the element kinds call, is the document's.
    CXHTMLServices& owner = v.marked.engine;
    owner.DisplayTooltip(CPoint(50, 340), CSafeBuf("title"), false);
    ASSERT_NE(qm::ui::CurrentHelpTag(), nullptr);
    EXPECT_EQ(qm::ui::CurrentHelpTag()->text, "title");
    owner.HideTooltip(false);
    EXPECT_EQ(qm::ui::CurrentHelpTag(), nullptr);

    v.doc.m_caretPoint = CPoint(30, 320);
    CPoint at;
    v.doc.GetCurPos(at);
    EXPECT_EQ(at.x, 1030);
    EXPECT_EQ(at.y, 500 + 20 + 50);
}

} // namespace
