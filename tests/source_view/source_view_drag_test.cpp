// Drag and drop in the source view: the drop caret, a drop refused inside
// the dragged selection, a move of the view's own drag as one undo step, a
// copy from another editor, and the token that tells them apart.

#include "tests/source_view/support/SourceViewFixture.h"

#include "base/shims/Pasteboard.h"
#include "platform/dnd/DragSession.h"
#include "source_view/DragToken.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class SourceViewDrag : public qmtest::SourceViewTest
{
protected:
    // Drops every drag the driver delivers to dropKey at dropPoint.
    SourceViewDrag()
    {
        handler = qm::dnd::DragSession::InstallReceiveHandler(
            &dropKey, [this](qm::dnd::WindowKey, qm::dnd::DragSession& drag) {
                received = target->ReceiveDrop(drag, dropPoint);
                return received ? qm::dnd::kDragAccepted : qm::dnd::kDragNotAcceptedErr;
            });
    }
    ~SourceViewDrag() override { qm::dnd::DragSession::RemoveReceiveHandler(handler); }

    void DropAt(CColoringEditor& on, CPoint point)
    {
        target = &on;
        dropPoint = point;
        qm::host::DragAnswer answer;
        answer.drop = true;
        answer.window = &dropKey;
        driver.drags.push_back(answer);
    }

    int dropKey = 0;
    qm::dnd::DragHandlerId handler = 0;
    CColoringEditor* target = nullptr;
    CPoint dropPoint;
    bool received = false;
};

} // namespace

TEST_F(SourceViewDrag, AnOwnDragMovesAsOneStep)
{
    Set("<p>_x_Here_selection_begins_x_move_x_Here_selection_ends_x_ me</p>");
    DropAt(*view, At(10)); // after " me"
    const CPoint press = At(5);
    Send(mouseDown, 0, press.x, press.y); // on the selection: a drag
    EXPECT_TRUE(received);
    EXPECT_EQ("<p> memove</p>", Text());
    EXPECT_EQ(6, view->SelectionStart()); // the dropped text is selected
    EXPECT_EQ(10, view->SelectionEnd());
    view->OnUndo();
    EXPECT_EQ("<p>move me</p>", Text());
    EXPECT_EQ(-1, view->DropCaret());
}

TEST_F(SourceViewDrag, ADropInsideTheDraggedSelectionIsRefused)
{
    Set("<p>_x_Here_selection_begins_x_move_x_Here_selection_ends_x_ me</p>");
    DropAt(*view, At(5));
    Send(mouseDown, 0, At(4).x, At(4).y);
    EXPECT_FALSE(received);
    EXPECT_EQ("<p>move me</p>", Text());
    EXPECT_FALSE(view->CanUndo());
    // The drag ended without a drop: the press was a click.
    EXPECT_FALSE(view->HasSelection());
}

TEST_F(SourceViewDrag, MoveDragAnswersRefusedOnlyInsideTheSelection)
{
    Set("ab_x_Here_selection_begins_x_cdef_x_Here_selection_ends_x_gh");
    EXPECT_FALSE(view->MoveDrag(At(3))); // no drag of this view under way
    EXPECT_EQ(3, view->DropCaret());
    view->HideDragCursor(true);
    EXPECT_EQ(-1, view->DropCaret());
}

TEST_F(SourceViewDrag, ADropFromAnotherEditorCopies)
{
    Set("<p>_x_Here_selection_begins_x_mine_x_Here_selection_ends_x_</p>");
    CColoringEditor other(&record);
    other.m_viewRect = CRect(0, 0, kWidth, kHeight);
    other.SetText(qmtest::Wide(u"_x_Here_selection_begins_x_theirs_x_Here_selection_ends_x_"));
    DropAt(*view, At(0));
    EXPECT_EQ(0, other.StartDrag());
    EXPECT_TRUE(received);
    // Copied: this view's selection stays, the other editor keeps its text.
    EXPECT_EQ("theirs<p>mine</p>", Text());
    CSafeBuf theirs;
    other.GetText(theirs, false);
    EXPECT_EQ("theirs", qmtest::Utf8(theirs));
}

// Two editors never share a token, whatever their addresses: a foreign drop
// that looked like an own one would delete the selection as a move.
TEST_F(SourceViewDrag, TokensAreUniqueAndTheDropReadsThem)
{
    std::set<std::uint32_t> tokens;
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t t = NewDragToken();
        EXPECT_NE(0u, t);
        tokens.insert(t);
    }
    EXPECT_EQ(1000u, tokens.size());
    CColoringEditor a(&record);
    CColoringEditor b(&record);
    EXPECT_NE(a.DragToken(), b.DragToken());

    // A drop whose token is not this view's is a copy: the selection stays.
    Set("x_x_Here_selection_begins_x_yy_x_Here_selection_ends_x_z");
    qm::dnd::DragSession drag;
    const std::uint32_t token = b.DragToken();
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(token >> (8 * i));
    drag.AddFlavor(1, kFlavorEditorTag, bytes, 4);
    const std::u16string text = u"yy";
    drag.AddFlavor(1, kFlavorUnicodeText, text.data(), text.size() * 2);
    EXPECT_TRUE(view->ReceiveDrop(drag, At(4)));
    EXPECT_EQ("xyyzyy", Text());
}
