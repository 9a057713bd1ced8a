#include "platform/dnd/DragSession.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qm::dnd;
using qm::events::FourCC;

TEST(Pasteboard, ItemsKeepOrderAndFlavoursAreReplacedNotDuplicated)
{
    PasteboardStore store;
    Pasteboard& board = store.Open("test");
    EXPECT_EQ(&board, &store.Open("test"));
    EXPECT_TRUE(board.PutItemFlavor(2, "public.html", "<b>", 3));
    EXPECT_TRUE(board.PutItemFlavor(1, "public.utf16-plain-text", "a\0", 2));
    EXPECT_TRUE(board.PutItemFlavor(2, "public.html", "<i>x", 4));
    EXPECT_FALSE(board.PutItemFlavor(2, "", "x", 1));
    EXPECT_FALSE(board.PutItemFlavor(2, "public.html", nullptr, 1));
    ASSERT_EQ(2u, board.ItemCount());
    EXPECT_EQ(2u, board.ItemAt(1)->id);
    EXPECT_EQ(nullptr, board.ItemAt(0));
    EXPECT_EQ(nullptr, board.ItemAt(3));
    ASSERT_EQ(1u, board.ItemAt(1)->flavors.size());
    EXPECT_EQ(4u, board.FindFlavor(2, "public.html")->data.size());
    board.Clear();
    EXPECT_EQ(0u, board.ItemCount());
}

TEST(Pasteboard, FlavoursCarryTheirTypesPreferredTag)
{
    Pasteboard board("t");
    board.PutItemFlavor(1, "public.file-url", "file:///x", 9);
    board.PutItemFlavor(1, "dyn.custom", "y", 1, FourCC("rtfd"));
    board.PutItemFlavor(1, "public.html", "z", 1);
    EXPECT_EQ("public.file-url", board.FindFlavorByTag(1, FourCC("furl"))->type);
    EXPECT_EQ("dyn.custom", board.FindFlavorByTag(1, FourCC("rtfd"))->type);
    EXPECT_EQ(0u, board.FindFlavor(1, "public.html")->tag);
    EXPECT_EQ(nullptr, board.FindFlavorByTag(1, 0));
    EXPECT_EQ(nullptr, board.FindFlavor(9, "public.html"));
}

TEST(DragSession, ItemsAndFlavours)
{
    DragSession drag;
    EXPECT_TRUE(drag.AddFlavor(1111, FourCC("QMRK"), "m\0", 2));
    EXPECT_TRUE(drag.AddFlavor(1111, FourCC("QMD1"), "\1\2\3\4", 4));
    EXPECT_TRUE(drag.AddFlavor(7, FourCC("furl"), "f", 1));
    EXPECT_FALSE(drag.AddFlavor(7, FourCC("furl"), nullptr, 3));
    ASSERT_EQ(2u, drag.CountItems());
    DragItemRef ref = 0;
    EXPECT_TRUE(drag.GetItemReference(1, ref));
    EXPECT_EQ(1111u, ref);
    EXPECT_FALSE(drag.GetItemReference(3, ref));
    std::vector<std::uint8_t> data{9};
    EXPECT_TRUE(drag.GetFlavorData(1111, FourCC("QMD1"), data));
    EXPECT_EQ((std::vector<std::uint8_t>{1, 2, 3, 4}), data);
    EXPECT_FALSE(drag.GetFlavorData(7, FourCC("utxt"), data));
    EXPECT_TRUE(data.empty());
    EXPECT_FALSE(drag.HasFlavor(8, FourCC("furl")));
}

TEST(DragSession, DefaultDriverCancelsTheDrag)
{
    qm::events::Services::Get().Reset();
    DragSession drag;
    drag.AddFlavor(1, FourCC("utxt"), "a\0", 2);
    EXPECT_EQ(qm::events::kUserCanceledErr, drag.Track());
    EXPECT_FALSE(drag.WasDropped());
}

namespace {

// Moves the drag into the window, then drops it there.
class DroppingDriver : public qm::events::UiDriver
{
public:
    WindowKey window = nullptr;
    int trackResult = -1;
    int TrackDrag(DragSession& drag) override
    {
        drag.SetMouse({30, 40});
        trackResult = drag.TrackIn(window, kDragTrackingInWindow);
        return drag.DropOn(window);
    }
};

} // namespace

TEST(DragSession, DriverDeliversToTheWindowsHandlers)
{
    int windowA = 0, windowB = 0;
    std::vector<std::string> log;
    const DragHandlerId track
        = DragSession::InstallTrackingHandler(&windowA, [&](short message, WindowKey, DragSession& d) {
              log.push_back("track " + std::to_string(message) + " " + std::to_string(d.Mouse().h));
              return 0;
          });
    const DragHandlerId refuse = DragSession::InstallReceiveHandler(&windowA, [&](WindowKey, DragSession&) {
        log.push_back("refuse");
        return 1;
    });
    const DragHandlerId accept = DragSession::InstallReceiveHandler(&windowA, [&](WindowKey, DragSession& d) {
        std::vector<std::uint8_t> text;
        d.GetFlavorData(1, FourCC("utxt"), text);
        log.push_back("accept " + std::to_string(text.size()));
        return kDragAccepted;
    });
    const DragHandlerId other = DragSession::InstallReceiveHandler(&windowB, [&](WindowKey, DragSession&) {
        log.push_back("wrong window");
        return 0;
    });

    DroppingDriver driver;
    driver.window = &windowA;
    qm::events::ScopedUiDriver scope(driver);
    DragSession drag;
    drag.AddFlavor(1, FourCC("utxt"), "a\0b\0", 4);
    EXPECT_EQ(kDragAccepted, drag.Track());
    EXPECT_TRUE(drag.WasDropped());
    EXPECT_EQ(0, driver.trackResult);
    EXPECT_EQ((std::vector<std::string>{"track 3 40", "refuse", "accept 4"}), log);

    // With its handlers removed the window no longer takes drops.
    EXPECT_TRUE(DragSession::RemoveTrackingHandler(track));
    EXPECT_TRUE(DragSession::RemoveReceiveHandler(refuse));
    EXPECT_TRUE(DragSession::RemoveReceiveHandler(accept));
    EXPECT_FALSE(DragSession::RemoveReceiveHandler(accept));
    DragSession second;
    EXPECT_EQ(kDragNotAcceptedErr, second.Track());
    EXPECT_FALSE(second.WasDropped());
    EXPECT_EQ((std::vector<std::string>{"track 3 40", "refuse", "accept 4"}), log);
    // The other window's handler goes too: its key is this test's stack.
    EXPECT_TRUE(DragSession::RemoveReceiveHandler(other));
}
