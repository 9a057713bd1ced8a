// Drops from another program built by the test host onto the editor's
// window: text refused over locked content and taken elsewhere, every drag
// refused while the preview or the screen-reader rendering shows, and text
// dropped into the source view going in at the drop caret. In the control's
// 600 x 400 area the editing area starts 30 pixels down: the first line of
// text is at y 50, the next paragraph's at y 80.

#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "base/shims/Pasteboard.h"
#include "editor/XHTML.h"
#include "platform/dnd/DragSession.h"
#include "source_view/ColoringEditor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ControlDropsTest : public qmtest::ControlInstanceTest
{
protected:
    ControlDropsTest() : ControlInstanceTest("drops-home-") { }

    // A drag of another program carrying text; dropped at (h, v) of the
    // plug-in's area, its answer.
    int DropText(const char* text, int h, int v)
    {
        const CSafeBuf units(text);
        qm::dnd::DragSession drag;
        drag.AddFlavor(1, kFlavorUnicodeText, static_cast<const unsigned short*>(units),
            static_cast<std::size_t>(units.Length()) * 2);
        int gh = 0, gv = 0;
        host->Window().ToScreen(h, v, gh, gv);
        drag.SetMouse(qm::events::Point{gv, gh});
        drag.TrackIn(&host->Window().Window(), qm::dnd::kDragTrackingInWindow);
        return drag.DropOn(&host->Window().Window());
    }
};

TEST_F(ControlDropsTest, ForeignTextIsRefusedOverLockedContentAndTakenElsewhere)
{
    Start({{"Value", "<p style=\"-qm-lock: true\">locked</p><p>free</p>"}});
    const std::string before = FormValue();
    EXPECT_EQ(DropText("x", 20, 50), 1);
    EXPECT_EQ(FormValue(), before);
    EXPECT_EQ(DropText("x", 20, 80), 0);
    EXPECT_NE(FormValue().find("x"), std::string::npos) << FormValue();
    EXPECT_NE(FormValue().find(">locked<"), std::string::npos) << FormValue();
}

// The preview and the screen-reader rendering show in a window of their
// own while the control's view mode says so.
TEST_F(ControlDropsTest, EveryDragIsRefusedWhileAPreviewShows)
{
    Start({{"Value", "<p>free</p>"}});
    for (int mode : {2, 3}) {
        Control()->m_viewMode = mode;
        EXPECT_EQ(DropText("x", 20, 50), CXHTML::kDragRefusedInView) << mode;
    }
    Control()->m_viewMode = 0;
    EXPECT_EQ(FormValue(), "<p>free</p>");
}

TEST_F(ControlDropsTest, TextDroppedInTheSourceViewGoesInAtTheDropCaret)
{
    Start({{"Value", "<p>free</p>"}});
    Control()->OnSource();
    ASSERT_NE(Control()->SourceView(), nullptr);
    EXPECT_EQ(DropText("XY", 80, 62), 0);
    CSafeBuf text;
    Control()->SourceView()->GetText(text, false);
    // Dropped on the second line, which holds the paragraph (the first
    // holds the generator comment).
    const std::string source = qmtest::Utf8(text);
    EXPECT_NE(source.find("\r\n<p>freXYe</p>"), std::string::npos) << source;
}

} // namespace
