#include "base/shims/Pasteboard.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstring>

using qmtest::Equals;

namespace {

class ClipboardTest : public ::testing::Test
{
protected:
    void SetUp() override { qm::events::Services::Get().SetPasteboards(&store); }
    void TearDown() override { qm::events::Services::Get().SetPasteboards(nullptr); }
    qm::dnd::Pasteboard& Board() { return store.Clipboard(); }
    qm::dnd::PasteboardStore store;
};

} // namespace

TEST_F(ClipboardTest, WideAndByteReadsOfTheFirstItem)
{
    const char16_t text[] = u"héllo";
    Board().PutItemFlavor(1, "public.utf16-plain-text", text, 10);
    Board().PutItemFlavor(1, "public.html", "<b>\xE9</b>", 8);
    Board().PutItemFlavor(2, "public.tiff", "II*", 3);
    CSafeBuf out;
    EXPECT_TRUE(GetClipboardString("public.utf16-plain-text", out, true));
    EXPECT_TRUE(Equals(out, u"héllo"));
    EXPECT_TRUE(GetClipboardString("public.html", out, false));
    EXPECT_TRUE(Equals(out, u"<b>\u00E9</b>"));                  // one unit per byte
    EXPECT_FALSE(GetClipboardString("public.tiff", out, false)); // only on the second item
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(ClipboardTest, FileUrlsAndRtfdAreFoundByTheirTags)
{
    Board().PutItemFlavor(1, "dyn.some-file-type", "file:///a", 9, qm::events::FourCC("furl"));
    Board().PutItemFlavor(1, "dyn.rich", "RTFD", 4, qm::events::FourCC("rtfd"));
    CSafeBuf out;
    EXPECT_TRUE(GetClipboardString("public.file-url", out, false));
    EXPECT_TRUE(Equals(out, u"file:///a"));
    EXPECT_TRUE(GetClipboardString("com.apple.flat-rtfd", out, false));
    EXPECT_TRUE(Equals(out, u"RTFD"));
}

TEST_F(ClipboardTest, EmptyClipboardOrEmptyDataGivesFalse)
{
    CSafeBuf out("stale");
    EXPECT_FALSE(GetClipboardString("public.utf16-plain-text", out, true));
    EXPECT_TRUE(out.IsEmpty());
    Board().PutItemFlavor(1, "public.utf16-plain-text", "x", 1); // one byte: no whole unit
    out = "stale";
    EXPECT_FALSE(GetClipboardString("public.utf16-plain-text", out, true));
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_FALSE(GetClipboardString(nullptr, out, true));
}

TEST(CopyDataFromCFData, WideTakesWholeUnitsBytesWidenByValue)
{
    const unsigned char bytes[] = {'A', 0, 0xE9, 0, 'Z'};
    CSafeBuf out;
    CopyDataFromCFData(bytes, sizeof bytes, out, true);
    EXPECT_TRUE(Equals(out, u"Aé"));
    CopyDataFromCFData(std::vector<unsigned char>(bytes, bytes + 3), out, false);
    ASSERT_EQ(3, out.Length());
    EXPECT_EQ(0x41, out.GetAt(0));
    EXPECT_EQ(0, out.GetAt(1));
    EXPECT_EQ(0xE9, out.GetAt(2));
    CopyDataFromCFData(nullptr, 4, out, false);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(GetDragData, TextFlavoursIntoStringsOthersIntoTheCallersRoom)
{
    qm::dnd::DragSession drag;
    const char16_t markup[] = u"<p>é</p>";
    drag.AddFlavor(1111, kFlavorEditorMarkup, markup, 16);
    drag.AddFlavor(1111, kFlavorEditorTag, "\x01\x02\x03\x04", 4);
    drag.AddFlavor(1111, kFlavorFileURL, "file:///x%20y", 13);
    drag.AddFlavor(2, kFlavorUnicodeText, u"hi", 4);

    CSafeBuf text;
    int size = -1;
    EXPECT_TRUE(GetDragData(&drag, 1111, kFlavorEditorMarkup, &text, &size));
    EXPECT_TRUE(Equals(text, u"<p>é</p>"));
    EXPECT_EQ(8, size);
    EXPECT_TRUE(GetDragData(&drag, 1111, kFlavorFileURL, &text, &size));
    EXPECT_TRUE(Equals(text, u"file:///x%20y"));
    EXPECT_EQ(13, size);
    EXPECT_TRUE(GetDragData(&drag, 2, kFlavorUnicodeText, &text, nullptr));
    EXPECT_TRUE(Equals(text, u"hi"));

    unsigned char tag[4] = {};
    size = sizeof tag;
    EXPECT_TRUE(GetDragData(&drag, 1111, kFlavorEditorTag, tag, &size));
    EXPECT_EQ(4, size);
    EXPECT_EQ(0, std::memcmp(tag, "\x01\x02\x03\x04", 4));

    // The caller's room bounds the copy.
    unsigned char small[2] = {9, 9};
    size = sizeof small;
    EXPECT_TRUE(GetDragData(&drag, 1111, kFlavorEditorTag, small, &size));
    EXPECT_EQ(2, size);
    EXPECT_EQ(1, small[0]);
    EXPECT_EQ(2, small[1]);
    size = 0;
    EXPECT_FALSE(GetDragData(&drag, 1111, kFlavorEditorTag, small, &size));
}

TEST(GetDragData, WithoutASizeTheEditorTagIsCopied)
{
    qm::dnd::DragSession drag;
    drag.AddFlavor(7, kFlavorEditorTag, "QMD1", 4);
    drag.AddFlavor(8, kFlavorEditorTag, "\x05\x06\x07\x08\x09\x0A", 6);
    drag.AddFlavor(9, kFlavorEditorTag, "\x05\x06", 2);

    EXPECT_EQ(4u, kDragDataUnsizedBytes);
    unsigned char tag[8];
    std::memset(tag, 0xEE, sizeof tag);
    EXPECT_TRUE(GetDragData(&drag, 7, kFlavorEditorTag, tag, nullptr));
    EXPECT_EQ(0, std::memcmp(tag, "QMD1", 4));
    EXPECT_EQ(0xEE, tag[4]);

    // Longer data: only the tag's four bytes are written.
    std::memset(tag, 0xEE, sizeof tag);
    EXPECT_TRUE(GetDragData(&drag, 8, kFlavorEditorTag, tag, nullptr));
    EXPECT_EQ(0, std::memcmp(tag, "\x05\x06\x07\x08", 4));
    EXPECT_EQ(0xEE, tag[4]);
    EXPECT_EQ(0xEE, tag[5]);

    // Shorter data: what there is.
    std::memset(tag, 0xEE, sizeof tag);
    EXPECT_TRUE(GetDragData(&drag, 9, kFlavorEditorTag, tag, nullptr));
    EXPECT_EQ(5, tag[0]);
    EXPECT_EQ(6, tag[1]);
    EXPECT_EQ(0xEE, tag[2]);

    // A missing flavour or item answers false and writes nothing.
    std::memset(tag, 0xEE, sizeof tag);
    EXPECT_FALSE(GetDragData(&drag, 10, kFlavorEditorTag, tag, nullptr));
    EXPECT_FALSE(GetDragData(&drag, 7, qm::events::FourCC("TEXT"), tag, nullptr));
    EXPECT_EQ(0xEE, tag[0]);
    EXPECT_FALSE(GetDragData(&drag, 7, kFlavorEditorTag, nullptr, nullptr));
}

TEST(GetDragData, MissingFlavourEmptiesTheText)
{
    qm::dnd::DragSession drag;
    drag.AddFlavor(1, kFlavorUnicodeText, u"a", 2);
    CSafeBuf text("stale");
    EXPECT_FALSE(GetDragData(&drag, 1, kFlavorEditorMarkup, &text, nullptr));
    EXPECT_TRUE(text.IsEmpty());
    text = "stale";
    EXPECT_FALSE(GetDragData(&drag, 9, kFlavorUnicodeText, &text, nullptr));
    EXPECT_TRUE(text.IsEmpty());
    text = "stale";
    EXPECT_FALSE(GetDragData(nullptr, 1, kFlavorFileURL, &text, nullptr));
    EXPECT_TRUE(text.IsEmpty());
}
