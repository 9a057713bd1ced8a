// The source view driven with browser event records: typing and the
// editing keys, selecting with Shift and the mouse, the clipboard, undo
// and redo, typed Unicode text and scrolling.

#include "tests/source_view/support/SourceViewFixture.h"

#include "base/shims/Pasteboard.h"

#include <gtest/gtest.h>

using namespace qm::input;
using qmtest::kCommand;
using qmtest::kShift;

namespace {

class SourceViewEvents : public qmtest::SourceViewTest
{ };

} // namespace

TEST_F(SourceViewEvents, TypingAndTheEditingKeys)
{
    Set("<p>ab_x_Here_to_put_cursor_x_cd</p>");
    Type("XY");
    EXPECT_EQ("<p>abXY_x_Here_to_put_cursor_x_cd</p>", Text(true));
    EXPECT_EQ(1, Key(kVK_Delete, 8)); // Backspace
    EXPECT_EQ("<p>abX_x_Here_to_put_cursor_x_cd</p>", Text(true));
    Key(kVK_ForwardDelete, 0x7F);
    EXPECT_EQ("<p>abX_x_Here_to_put_cursor_x_d</p>", Text(true));
    Key(kVK_Return, 13);
    EXPECT_EQ("<p>abX\r\n_x_Here_to_put_cursor_x_d</p>", Text(true));
    // Backspace after a line break takes CR and LF together; so do the arrows.
    Key(kVK_LeftArrow, 0x1C);
    EXPECT_EQ(6, view->Caret());
    Key(kVK_RightArrow, 0x1D);
    EXPECT_EQ(8, view->Caret());
    Key(kVK_Delete, 8);
    EXPECT_EQ("<p>abX_x_Here_to_put_cursor_x_d</p>", Text(true));
    // Keys that are not text are not used.
    EXPECT_EQ(0, Key(kVK_F1, 0x10));
    EXPECT_EQ(0, Send(keyUp, 0x2000));
}

TEST_F(SourceViewEvents, HomeEndAndUpDownKeepTheColumn)
{
    Set("abcdef\r\nxy\r\n_x_Here_to_put_cursor_x_mnopqr");
    Key(kVK_RightArrow);
    Key(kVK_RightArrow);
    Key(kVK_RightArrow); // column 3
    Key(kVK_UpArrow);    // the short line: its end
    EXPECT_EQ(10, view->Caret());
    Key(kVK_UpArrow); // back at column 3
    EXPECT_EQ(3, view->Caret());
    Key(kVK_End);
    EXPECT_EQ(6, view->Caret());
    Key(kVK_Home);
    EXPECT_EQ(0, view->Caret());
    Key(kVK_DownArrow, 0, kCommand);
    EXPECT_EQ(static_cast<int>(Text().size()), view->Caret());
}

TEST_F(SourceViewEvents, ShiftArrowsSelectBothWays)
{
    Set("0123_x_Here_to_put_cursor_x_456789");
    Key(kVK_RightArrow, 0, kShift);
    Key(kVK_RightArrow, 0, kShift);
    EXPECT_EQ(
        "0123_x_Here_selection_begins_x_45_x_Here_selection_ends_x__x_Here_to_put_cursor_x_6789", Text(true));
    Key(kVK_LeftArrow, 0, kShift);
    Key(kVK_LeftArrow, 0, kShift);
    Key(kVK_LeftArrow, 0, kShift);
    EXPECT_EQ(
        "012_x_Here_to_put_cursor_x__x_Here_selection_begins_x_3_x_Here_selection_ends_x_456789", Text(true));
    // An arrow without Shift ends the selection at its edge; typing replaces it.
    Key(kVK_RightArrow, 0, kShift);
    Key(kVK_RightArrow, 0, kShift);
    Type("Z");
    EXPECT_EQ("0123Z_x_Here_to_put_cursor_x_56789", Text(true));
}

TEST_F(SourceViewEvents, AMouseDragSelects)
{
    Set("<p>first line</p>\r\n<p>second line</p>");
    const CPoint from = At(3);
    const CPoint to = At(23);
    EXPECT_EQ(1, Send(mouseDown, 0, from.x, from.y));
    EXPECT_EQ(3, view->Caret());
    EXPECT_EQ(1, Send(nullEvent, 0, At(10).x, At(10).y));
    EXPECT_EQ(10, view->Caret());
    EXPECT_EQ(1, Send(mouseUp, 0, to.x, to.y));
    EXPECT_EQ(3, view->Anchor());
    EXPECT_EQ(23, view->Caret());
    // Without a press, null events and mouse-ups are not the view's.
    EXPECT_EQ(0, Send(nullEvent, 0, from.x, from.y));
    EXPECT_EQ(23, view->Caret());
    // Shift extends from the anchor.
    Send(mouseDown, 0, At(1).x, At(1).y);
    Send(mouseUp, 0, At(1).x, At(1).y);
    Send(mouseDown, 0, At(5).x, At(5).y, kShift);
    Send(mouseUp, 0, At(5).x, At(5).y);
    EXPECT_EQ(1, view->SelectionStart());
    EXPECT_EQ(5, view->SelectionEnd());
}

TEST_F(SourceViewEvents, CopyCutAndPasteGoThroughThePasteboard)
{
    Set("<b>_x_Here_selection_begins_x_bold_x_Here_selection_ends_x_</b>");
    Key(kVK_ANSI_C, 'c', kCommand);
    CSafeBuf board;
    ASSERT_TRUE(GetClipboardString("public.utf16-plain-text", board, true));
    EXPECT_EQ("bold", qmtest::Utf8(board));
    view->OnCut();
    EXPECT_EQ("<b></b>", Text());
    Key(kVK_End);
    view->OnPaste();
    EXPECT_EQ("<b></b>bold", Text());
    // Text another program put there, with its own line breaks, goes in as it is.
    qm::events::Services::Get().Pasteboards().Clipboard().Clear();
    const std::u16string other = u"x\ny";
    qm::events::Services::Get().Pasteboards().Clipboard().PutItemFlavor(
        1, "public.utf16-plain-text", other.data(), other.size() * 2);
    Key(kVK_ANSI_V, 'v', kCommand);
    EXPECT_EQ("<b></b>boldx\ny", Text());
    // Nothing selected: copy and cut leave the pasteboard and the text.
    view->OnCut();
    EXPECT_EQ("<b></b>boldx\ny", Text());
}

TEST_F(SourceViewEvents, UndoAndRedoWalkBackAndForth)
{
    Set("<p>_x_Here_to_put_cursor_x_</p>");
    Type("abc");         // one typing step
    Key(kVK_Return, 13); // one step
    Type("de");          // one step
    Key(kVK_Delete, 8);  // one step
    EXPECT_EQ("<p>abc\r\nd</p>", Text());
    const char* const states[] = {"<p>abc\r\nde</p>", "<p>abc\r\n</p>", "<p>abc</p>", "<p></p>"};
    for (const char* state : states) {
        Key(kVK_ANSI_Z, 'z', kCommand);
        EXPECT_EQ(state, Text());
    }
    EXPECT_FALSE(view->CanUndo());
    view->OnUndo(); // nothing left: nothing happens
    EXPECT_EQ("<p></p>", Text());
    view->OnRedo();
    view->OnRedo();
    EXPECT_EQ("<p>abc\r\n_x_Here_to_put_cursor_x_</p>", Text(true));
    Key(kVK_ANSI_Z, 'z', kCommand | kShift);
    EXPECT_EQ("<p>abc\r\nde</p>", Text());
    // A new edit ends the redo list.
    Type("!");
    view->OnRedo();
    EXPECT_EQ("<p>abc\r\nde!</p>", Text());
    EXPECT_FALSE(view->CanRedo());
    view->InitUndo();
    EXPECT_FALSE(view->CanUndo());
}

TEST_F(SourceViewEvents, UnicodeInputFixedAndProvisional)
{
    Set("<p>_x_Here_to_put_cursor_x_</p>");
    view->MacUnicodeInput(qmtest::U16(u"\u00e9t\u00e9"), 1);
    EXPECT_EQ("<p>\u00e9t\u00e9_x_Here_to_put_cursor_x_</p>", Text(true));
    // Provisional text: the caret steps back over it and the next input replaces it.
    view->MacUnicodeInput(qmtest::U16(u"ka"), 0);
    EXPECT_EQ("<p>\u00e9t\u00e9_x_Here_to_put_cursor_x_ka</p>", Text(true));
    view->MacUnicodeInput(qmtest::U16(u"\u304b"), 1);
    EXPECT_EQ("<p>\u00e9t\u00e9\u304b_x_Here_to_put_cursor_x_</p>", Text(true));
    // A line feed in typed text is a line break as Return makes it.
    view->MacUnicodeInput(qmtest::U16(u"\n"), 1);
    EXPECT_EQ("<p>\u00e9t\u00e9\u304b\r\n</p>", Text());
}

// The browser hands every press on as typed text too, and once text input has
// started the view takes keys only from there: the editing keys arrive as
// their control characters, the shortcuts as their letters with Command held.
TEST_F(SourceViewEvents, KeysArrivingAsTypedTextEditAndNeverTypeThemselves)
{
    uint32_t& modifiers = qm::events::Services::Get().Input().modifiers;
    Set("<p>ab_x_Here_to_put_cursor_x_cd</p>");
    view->MacUnicodeInput(qmtest::U16(u"XY\b"), 1); // Backspace
    EXPECT_EQ("<p>abX_x_Here_to_put_cursor_x_cd</p>", Text(true));
    view->MacUnicodeInput(qmtest::U16(u"\x1c\x1c\x7f"), 1); // two lefts, Delete
    EXPECT_EQ("<p>a_x_Here_to_put_cursor_x_Xcd</p>", Text(true));
    view->MacUnicodeInput(qmtest::U16(u"\x1d\x01Z\x04\x03"), 1); // right, Home, Z, End, Enter
    EXPECT_EQ("Z<p>aXcd</p>\r\n", Text());
    // Escape and the function keys type nothing.
    view->MacUnicodeInput(qmtest::U16(u"\x1b\x10"), 1);
    EXPECT_EQ("Z<p>aXcd</p>\r\n", Text());

    modifiers = kCommand;
    view->MacUnicodeInput(qmtest::U16(u"a"), 1); // select all
    EXPECT_EQ(0, view->SelectionStart());
    EXPECT_EQ(static_cast<int>(Text().size()), view->SelectionEnd());
    view->MacUnicodeInput(qmtest::U16(u"x"), 1); // cut
    EXPECT_EQ("", Text());
    view->MacUnicodeInput(qmtest::U16(u"vb"), 1); // paste; Command+B types nothing
    EXPECT_EQ("Z<p>aXcd</p>\r\n", Text());
    view->MacUnicodeInput(qmtest::U16(u"z"), 1); // undo the paste
    EXPECT_EQ("", Text());
    modifiers = 0;
}

TEST_F(SourceViewEvents, ScrollCodesMoveTheRowsAndColumns)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "<p>line " + std::to_string(i) + "</p>\r\n";
    Set(text);
    const int rows = view->VisibleRows();
    view->OnVScroll(4, 0, nullptr);
    EXPECT_EQ(1, view->TopRow());
    view->OnVScroll(6, 0, nullptr);
    EXPECT_EQ(rows, view->TopRow());
    view->OnVScroll(7, 0, nullptr);
    view->OnVScroll(5, 0, nullptr);
    EXPECT_EQ(0, view->TopRow());
    view->OnVScroll(2, 100000, nullptr); // kept within the text
    EXPECT_EQ(view->Text().RowCount() - rows, view->TopRow());
    view->OnHScroll(12, 0, nullptr);
    EXPECT_EQ(1, view->LeftColumn());
    view->OnHScroll(11, 0, nullptr);
    view->OnHScroll(11, 0, nullptr);
    EXPECT_EQ(0, view->LeftColumn());
    // The caret's row comes into view when it moves.
    Key(kVK_UpArrow, 0, kCommand);
    EXPECT_EQ(0, view->TopRow());
    // A press on the view's scroll bar's lower arrow scrolls a row.
    Send(mouseDown, 0, kWidth - 7, kHeight - 5);
    EXPECT_EQ(1, view->TopRow());
    // Dragging the thumb (at the top of the track) to the track's end
    // shows the last rows; back up, the first.
    EXPECT_EQ(1, Send(mouseDown, 0, kWidth - 7, 20));
    EXPECT_EQ(1, Send(nullEvent, 0, kWidth - 7, kHeight));
    EXPECT_EQ(view->Text().RowCount() - rows, view->TopRow());
    EXPECT_EQ(1, Send(mouseUp, 0, kWidth - 7, -kHeight));
    EXPECT_EQ(0, view->TopRow());
    EXPECT_EQ(0, Send(nullEvent, 0, kWidth - 7, kHeight)); // the drag is over
}

TEST_F(SourceViewEvents, InsertTextGoesInUnchangedOverTheSelection)
{
    Set("<p>_x_Here_selection_begins_x_old_x_Here_selection_ends_x_</p>");
    view->InsertText(qmtest::U16(u"<b>&nbsp;new\r\n</b>"), true, false);
    EXPECT_EQ("<p><b>&nbsp;new\r\n</b>_x_Here_to_put_cursor_x_</p>", Text(true));
    view->OnUndo();
    EXPECT_EQ("<p>old</p>", Text());
}

TEST_F(SourceViewEvents, TheWindowAndTheGutterSetTheWrapWidth)
{
    Set(std::string(400, 'w') + "\r\nshort");
    view->SetWrapMode(true);
    const int columns = view->Text().WrapColumns();
    const int rows = view->Text().RowCount();
    EXPECT_GT(rows, 2);
    view->EnableLineNumber(false); // the gutter's room goes to the text
    EXPECT_EQ(0, view->GutterWidth());
    EXPECT_GT(view->Text().WrapColumns(), columns);
    view->m_viewRect = CRect(0, 0, kWidth / 2, kHeight);
    view->SizeChanged(kHeight, kWidth / 2);
    EXPECT_LT(view->Text().WrapColumns(), columns);
    EXPECT_GT(view->Text().RowCount(), rows);
    EXPECT_EQ(std::string(400, 'w') + "\r\nshort", Text());
}
