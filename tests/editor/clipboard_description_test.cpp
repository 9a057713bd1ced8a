// Reading the fragment out of a clipboard HTML description.

#include "editor/ClipboardDescription.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ClipboardDescription, FragmentByOffsets)
{
    // Offsets count bytes from the start of the description.
    const std::string head = "Version:0.9\r\nStartFragment:0000000063\r\nEndFragment:0000000071\r\n";
    ASSERT_EQ(head.size(), 63u);
    const struct
    {
        const char* name;
        std::string text;
        bool ok;
        const char* fragment;
    } cases[] = {
        {"the end offset equals the length", head + "<b>x</b>", true, "<b>x</b>"},
        {"the fragment stops at the end offset", head + "<b>x</b><i>after</i>", true, "<b>x</b>"},
        {"an end offset past the text", head + "<b>x", false, ""},
        {"markers in any case", "startfragment:34\r\nENDFRAGMENT:39\r\nabcde", true, "abcde"},
        {"no markers: taken whole", "<p>plain&nbsp;html</p>", true, "<p>plain[%hardspace%]html</p>"},
        {"an end marker alone starts at 0", "EndFragment:5\r\n", true, "EndFr"},
        {"a start marker alone", "StartFragment:1\r\n<b>x</b>", false, ""},
        {"start after end", "StartFragment:40\r\nEndFragment:20\r\n01234567890123456789012345", false, ""},
        {"start equal to end", "StartFragment:35\r\nEndFragment:35\r\n0123456789", false, ""},
        {"a marker without a number", "StartFragment:x\r\nEndFragment:3\r\nabc", false, ""},
        {"an offset too large for an int", "StartFragment:0\r\nEndFragment:99999999999999999999\r\n", false,
            ""},
        {"markers out of order", "EndFragment:40\r\nStartFragment:0\r\n0123456789012345678901234", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSafeBuf fragment("stale");
        EXPECT_EQ(ReadClipboardFragment(c.text.data(), c.text.size(), fragment), c.ok);
        EXPECT_EQ(qmtest::Utf8(fragment), c.fragment);
    }
}

TEST(ClipboardDescription, BytesBecomeOneUnitEach)
{
    const std::string text = "EndFragment:20\r\n\xC3\xA9\xFF\x01";
    CSafeBuf fragment;
    ASSERT_TRUE(ReadClipboardFragment(text.data(), text.size(), fragment));
    ASSERT_EQ(fragment.Length(), 20);
    EXPECT_EQ(fragment.GetAt(16), 0xC3);
    EXPECT_EQ(fragment.GetAt(18), 0xFF);
    EXPECT_FALSE(ReadClipboardFragment(nullptr, 5, fragment));
    EXPECT_FALSE(ReadClipboardFragment(text.data(), 0, fragment));
}

} // namespace
