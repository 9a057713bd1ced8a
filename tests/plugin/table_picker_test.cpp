// The table-size picker opened from the toolbar through the module's entry
// points: where it opens, the button checked and browser events ignored while
// it is open, and what a size or a close does to the document.

#include "tests/plugin/support/ControlInstance.h"

#include "base/geometry/Rect.h"
#include "editor/XHTML.h"
#include "platform/events/Services.h"
#include "platform/ui/ModalDialog.h"
#include "ui/DrawTableDlg.h"

#include <gtest/gtest.h>

namespace {

constexpr int kLayoutButton = 13;
constexpr int kDataButton = 14;

class TablePicker : public qmtest::ControlInstanceTest
{
protected:
    TablePicker() : ControlInstanceTest("table-picker-home-") { }

    CMorvaXEditorCtrl* StartWith(const std::string& value)
    {
        CMorvaXEditorCtrl* c
            = Start({{"EnableTimestamp", "false"}, {"IndentOutput", "Compact"}, {"Value", value}});
        Send(NPEventType_GetFocusEvent, 0, 0);
        Send(updateEvt, 0, 0);
        return c;
    }

    // One event at a point of the plug-in's area, as the browser sends it.
    std::int16_t Send(std::uint16_t what, int h, int v, std::uint32_t message = 0)
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
        EventRecord e{what, message, 0, {static_cast<std::int16_t>(gv), static_cast<std::int16_t>(gh)}, 0};
        return funcs.event(&npp, &e);
    }

    // Clicks the centre of the button of that kind where the toolbar laid
    // it out (the pointer arrives there first).
    void ClickButton(int kind)
    {
        ButtonInfo* b = Control()->FindToolbarButtonFromID(
            kind == kLayoutButton ? "draw-layout-table" : "draw-data-table");
        ASSERT_NE(nullptr, b);
        const int h = (b->left + b->right) / 2, v = (b->top + b->bottom) / 2;
        Send(nullEvent, h, v);
        Send(mouseDown, h, v);
        Send(mouseUp, h, v);
    }

    CDrawTableDlg* Picker() { return dynamic_cast<CDrawTableDlg*>(Control()->m_pXHTML->m_tableSizePicker); }
};

// The picker opens at the button's left edge, 3 pixels below it, with the
// button checked and the browser's events ignored (a key types nothing);
// answered 3 x 4 it leaves a table of 3 rows of 4 cells, each holding only
// a no-break space, no dialog shown, the button unchecked and events heard
// again.
TEST_F(TablePicker, ALayoutTableOfThePickedSizeGoesInWithoutADialog)
{
    CMorvaXEditorCtrl* c = StartWith("<p>text</p>");
    ASSERT_NE(nullptr, c);
    CRect button;
    c->GetToolButtonPos(kLayoutButton, &button);
    ASSERT_LT(button.left, button.right);
    ClickButton(kLayoutButton);
    CDrawTableDlg* picker = Picker();
    ASSERT_NE(nullptr, picker);
    EXPECT_TRUE(picker->IsOpen());
    EXPECT_EQ(0, picker->TableKind());
    EXPECT_EQ(button.left, picker->Left());
    EXPECT_EQ(button.bottom + 3, picker->Top());
    EXPECT_EQ(1, c->ToolIsButtonChecked(kLayoutButton, 0, true));
    EXPECT_EQ(1, c->m_dialogOpen);
    Send(keyDown, 0, 0, 'z');
    EXPECT_EQ("<p>text</p>", FormValue()) << "events are ignored while the picker is open";

    const int shownBefore = Ui().shown;
    ASSERT_TRUE(Ui().AnswerModeless(
        "table-size", {qm::host::DialogAnswer::kPress, "Insert", {{"rows", "3"}, {"columns", "4"}}}));
    EXPECT_EQ(shownBefore, Ui().shown) << "no dialog";
    EXPECT_FALSE(picker->IsOpen());
    EXPECT_EQ(0, c->ToolIsButtonChecked(kLayoutButton, 0, true));
    EXPECT_EQ(0, c->m_dialogOpen);
    const std::string row = "<tr align=\"left\" valign=\"top\">"
                            "<td>\xC2\xA0</td><td>\xC2\xA0</td><td>\xC2\xA0</td><td>\xC2\xA0</td></tr>";
    EXPECT_EQ("<table border=\"0\" cellpadding=\"1\" cellspacing=\"2\" width=\"100%\">" + row + row + row
            + "</table><p>text</p>",
        FormValue());
    Send(updateEvt, 0, 0);
    ASSERT_TRUE(host->WritePNG(qmtest::TestOutputPath("picked-layout-table-") + ".png"));
}

// The data-table picker opens the table dialog preset to the picked size;
// Cancel there inserts nothing. A second opening replaces the first picker.
TEST_F(TablePicker, TheDataTablePickerOpensTheDialogPresetToTheSize)
{
    CMorvaXEditorCtrl* c = StartWith("<p>text</p>");
    ASSERT_NE(nullptr, c);
    ClickButton(kDataButton);
    ClickButton(kDataButton); // the first picker goes
    ASSERT_NE(nullptr, Picker());
    EXPECT_EQ(1u, qm::ui::ModalDialog::Modeless().size());
    EXPECT_EQ(1, Picker()->TableKind());
    std::string rows, cols, caption;
    Ui().step = [&](qm::events::ModalLoop& loop) {
        auto* d = dynamic_cast<qm::ui::ModalDialog*>(&loop.Subject());
        if (d) {
            caption = d->caption;
            rows = d->Field("rows") ? *d->Field("rows") : "";
            cols = d->Field("cols") ? *d->Field("cols") : "";
            const int cancel = d->FindButton("Cancel");
            if (cancel >= 0) {
                d->Press(static_cast<std::size_t>(cancel));
                return qm::events::ModalAnswer::Continue();
            }
        }
        return qm::events::ModalAnswer::Close();
    };
    ASSERT_TRUE(Ui().AnswerModeless(
        "table-size", {qm::host::DialogAnswer::kPress, "Insert", {{"rows", "5"}, {"columns", "2"}}}));
    Ui().step = nullptr;
    EXPECT_EQ("Properties", caption);
    EXPECT_EQ("5", rows);
    EXPECT_EQ("2", cols);
    EXPECT_EQ(0, c->ToolIsButtonChecked(kDataButton, 0, true));
    EXPECT_EQ("<p>text</p>", FormValue());
}

// Closed without a size (its Cancel, or its window closed) nothing goes in,
// and the button and the events come back.
TEST_F(TablePicker, ClosingThePickerInsertsNothing)
{
    CMorvaXEditorCtrl* c = StartWith("<p>text</p>");
    ASSERT_NE(nullptr, c);
    for (bool byWindow : {false, true}) {
        ClickButton(kLayoutButton);
        ASSERT_NE(nullptr, Picker());
        if (byWindow)
            ASSERT_TRUE(Ui().AnswerModeless("table-size", {qm::host::DialogAnswer::kClose, "", {}}));
        else
            ASSERT_TRUE(Ui().AnswerModeless("table-size", {qm::host::DialogAnswer::kPress, "Cancel", {}}));
        EXPECT_FALSE(Picker()->IsOpen()) << byWindow;
        EXPECT_EQ(0, c->ToolIsButtonChecked(kLayoutButton, 0, true)) << byWindow;
        EXPECT_EQ(0, c->m_dialogOpen) << byWindow;
        EXPECT_EQ("<p>text</p>", FormValue()) << byWindow;
    }
}

} // namespace
