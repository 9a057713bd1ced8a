// The markup tree's texts (CSrcText) and arena: decoding with line feeds
// made CR LF, texts taken without a copy staying untouched, growth, and
// nodes of an arena outliving the tree that made them.

#include "document/SrcElement.h"
#include "document/SrcElementArena.h"
#include "document/SrcElementText.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using qmtest::FromUtf8;
using qmtest::Utf8;

std::string Shown(const CSrcText& text) { return Utf8(CSafeBuf(text)); }

TEST(SrcElementText, DecodesUtf8AndMakesLineFeedsCrLf)
{
    struct Case
    {
        const char* utf8;
        bool crlf;
        const char* expected;
    } cases[] = {
        {"a\nb\r\nc\n", true, "a\r\nb\r\nc\r\n"},
        {"\n\n", true, "\r\n\r\n"},
        {"\r\n", true, "\r\n"},
        {"caf\xC3\xA9\n", true, "caf\xC3\xA9\r\n"},
        {"a\nb", false, "a\nb"},
        // A malformed byte is dropped: the line feed then follows the CR.
        {"\r\xC3\n", true, "\r\n"},
        {"", true, ""},
    };
    for (const Case& c : cases) {
        for (CSrcArena* arena : {static_cast<CSrcArena*>(nullptr), new CSrcArena}) {
            if (arena)
                arena->AddRef();
            {
                CSrcText text;
                text.UseArena(arena);
                text.AssignUTF8(reinterpret_cast<const unsigned char*>(c.utf8),
                    static_cast<int>(std::strlen(c.utf8)), c.crlf);
                EXPECT_EQ(Shown(text), c.expected) << c.utf8;
                EXPECT_EQ(static_cast<const unsigned short*>(text)[text.Length()], 0) << c.utf8;
            }
            if (arena)
                arena->Release();
        }
    }
}

TEST(SrcElementText, LastingTextIsCopiedBeforeAnyChange)
{
    static const unsigned short lasting[] = {' ', 'a', 'b', ' ', 0};
    CSrcText text;
    text.AssignLasting(lasting, 4);
    EXPECT_EQ(static_cast<const unsigned short*>(text), lasting);
    text.Trim();
    EXPECT_EQ(Shown(text), "ab");
    text += "c";
    EXPECT_EQ(Shown(text), "abc");
    text.Empty();
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(Utf8(lasting, 4), " ab ");
}

TEST(SrcElementText, GrowsByAppendingAndAppendsItself)
{
    CSrcArena* arena = new CSrcArena;
    arena->AddRef();
    {
        CSrcText text;
        text.UseArena(arena);
        std::string expected;
        for (int i = 0; i < 3000; ++i) {
            text += (i % 2) ? "xy" : "z";
            expected += (i % 2) ? "xy" : "z";
        }
        EXPECT_EQ(Shown(text), expected);
        text += text;
        EXPECT_EQ(Shown(text), expected + expected);
        text.Assign(static_cast<const unsigned short*>(text) + 1, 2); // a part of itself
        EXPECT_EQ(Shown(text), expected.substr(1, 2));
    }
    arena->Release();

    CSrcText heap; // without an arena
    heap = FromUtf8("abc");
    heap += heap;
    EXPECT_EQ(Shown(heap), "abcabc");
    EXPECT_TRUE(heap == "abcabc");
    EXPECT_TRUE(heap != "abc");
    EXPECT_EQ(heap.CompareNoCase("ABCABC"), 0);
}

TEST(SrcElementText, NodesOutliveTheTreeThatMadeThem)
{
    CSrcElement* kept = nullptr;
    auto other = std::make_unique<CSrcElement>("body");
    {
        CSrcElement root("body");
        ASSERT_TRUE(root.LoadDoc(FromUtf8("<body><p>a<b>b</b></p><div>c</div></body>")));
        kept = root.FirstChild();
        ASSERT_TRUE(root.DetachChild(kept));
        other->AppendChild(root.FirstChild()); // the div moves to another tree
    }
    // The root and its arena's other nodes are gone; these two still read.
    ASSERT_EQ(kept->GetChildCount(), 2);
    EXPECT_EQ(Shown(kept->LastChild()->FirstChild()->m_text), "b");
    kept->LastChild()->FirstChild()->m_text += "c";
    EXPECT_EQ(Shown(kept->LastChild()->FirstChild()->m_text), "bc");
    delete kept;
    ASSERT_NE(other->FirstChild(), nullptr);
    EXPECT_EQ(Shown(other->FirstChild()->FirstChild()->m_text), "c");
    other.reset(); // the arena goes with its last node (LeakSanitizer checks)
}

} // namespace
