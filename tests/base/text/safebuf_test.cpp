// CSafeBuf: capacity rules, per-overload widening of 8-bit text, editing,
// searching and replacing, tab layout, formatting, UTF-8 and files.

#include "base/text/SafeBuf.h"

#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

using qmtest::U16;
using qmtest::U16String;

namespace {

TEST(SafeBufCapacity, FollowsTheDoublingRules)
{
    CSafeBuf empty(0);
    EXPECT_EQ(0, empty.Length());
    EXPECT_EQ(0, empty.GetCapacity()) << "no memory until the first write";
    EXPECT_EQ(0, static_cast<const unsigned short*>(empty)[0]);

    CSafeBuf copy(empty);
    EXPECT_EQ(0, copy.GetCapacity());

    CSafeBuf grown(0);
    grown = U16(u"abcdefghijk"); // 11 units do not fit 10
    EXPECT_EQ(22, grown.GetCapacity());

    CSafeBuf kept(0);
    kept = U16(u"abc");
    EXPECT_EQ(10, kept.GetCapacity());
    kept += U16(u"01234567890123456789");
    EXPECT_EQ(46, kept.GetCapacity());
    EXPECT_EQ(u"abc01234567890123456789", U16String(kept));

    EXPECT_EQ(6, CSafeBuf("abc").GetCapacity());
    EXPECT_EQ(8, CSafeBuf(static_cast<unsigned short>('x'), 4).GetCapacity());
    EXPECT_EQ(u"xxxx", U16String(CSafeBuf(static_cast<unsigned short>('x'), 4)));
    EXPECT_EQ(0, CSafeBuf(static_cast<unsigned short>('x'), 0).GetCapacity());
    CSafeBuf sized(5L);
    EXPECT_EQ(5, sized.Length());
    EXPECT_EQ(10, sized.GetCapacity());
    EXPECT_EQ(0, sized.GetAt(5));
    EXPECT_EQ(8, CSafeBuf(CSafeBuf("abcd")).GetCapacity());
}

// Strings without memory share one terminator: whatever reaches one of them
// (writable access, an empty assignment, a swap, a shrink) must leave every
// other empty string empty.
TEST(SafeBufCapacity, EmptyStringsTakeMemoryOnlyWhenWritten)
{
    CSafeBuf a, b;
    a = "";
    a.Size(0);
    EXPECT_TRUE(a.Reserve(0));
    a.Empty();
    a.BufferChanged();
    a.ReplaceWith(&b);
    EXPECT_EQ(0, a.GetCapacity());
    EXPECT_EQ(0, b.GetCapacity());

    unsigned short* p = a; // writable access: a buffer of its own
    EXPECT_EQ(10, a.GetCapacity());
    p[0] = 'z';
    p[1] = 0;
    a.BufferChanged();
    EXPECT_EQ(u"z", U16String(a));
    EXPECT_TRUE(b.IsEmpty());
    const CSafeBuf& readOnly = b; // reading through a const string writes nothing
    EXPECT_EQ(0, static_cast<const unsigned short*>(readOnly)[0]);
    EXPECT_EQ(0, b.GetCapacity());

    CSafeBuf c;
    c[0] = 'q'; // the first unit of an empty string, written: its own buffer
    EXPECT_EQ(10, c.GetCapacity());
    EXPECT_EQ(0, static_cast<const unsigned short*>(CSafeBuf())[0]);

    CSafeBuf d;
    d += static_cast<unsigned short>('x');
    EXPECT_EQ(10, d.GetCapacity()) << "a first buffer is never smaller than 10";
    d.CutAt(0);
    d.ReplaceWith(&b); // d takes the shared terminator, b the buffer
    EXPECT_EQ(0, d.GetCapacity());
    EXPECT_EQ(10, b.GetCapacity());
    d = b;
    EXPECT_TRUE(d.IsEmpty());
}

TEST(SafeBufCapacity, SizeResizeAndShrinkNeverReduceCapacity)
{
    CSafeBuf s("abc"); // capacity 6
    s.Resize(7);       // grows, keeps the text
    EXPECT_EQ(14, s.GetCapacity());
    EXPECT_EQ(7, s.Length());
    EXPECT_EQ('a', s.GetAt(0));
    EXPECT_EQ('c', s.GetAt(2));
    EXPECT_EQ(0, s.GetAt(7));

    s.Size(2);
    EXPECT_EQ(14, s.GetCapacity());
    EXPECT_EQ(2, s.Length());
    s.Size(-1);
    EXPECT_EQ(2, s.Length());
    s.Size(20);
    EXPECT_EQ(40, s.GetCapacity());

    CSafeBuf t(0);
    EXPECT_TRUE(t.PrepareBufferSize(3));
    unsigned short* p = t;
    p[0] = 'x';
    p[1] = 'y';
    p[2] = 0;
    t.BufferChanged();
    EXPECT_EQ(u"xy", U16String(t));
    t.CutAt(1);
    EXPECT_EQ(u"x", U16String(t));
    t.CutAt(5);
    EXPECT_EQ(u"x", U16String(t));
    t.AdjSize(0);
    EXPECT_TRUE(t.IsEmpty());
}

// Reserve grows to exactly the room asked for, keeping the text, so that
// appending up to it allocates nothing more; it never shrinks.
TEST(SafeBufCapacity, ReserveGivesExactRoomAndKeepsTheText)
{
    CSafeBuf s("abc");
    EXPECT_TRUE(s.Reserve(100));
    EXPECT_EQ(100, s.GetCapacity());
    EXPECT_EQ(u"abc", U16String(s));
    const unsigned short* buffer = s;
    for (int i = 3; i < 100; ++i)
        s += static_cast<unsigned short>('x');
    EXPECT_EQ(100, s.Length());
    EXPECT_EQ(buffer, static_cast<const unsigned short*>(s)) << "no allocation up to the room reserved";
    EXPECT_EQ(u'x', s.GetAt(99));
    EXPECT_TRUE(s.Reserve(10));
    EXPECT_EQ(100, s.GetCapacity()) << "never shrinks";
    EXPECT_FALSE(s.Reserve(-1));
    EXPECT_EQ(100, s.Length());

    CSafeBuf empty;
    EXPECT_TRUE(empty.Reserve(50));
    EXPECT_EQ(50, empty.GetCapacity());
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(SafeBufCapacity, ReplaceWithHandsOverTheBuffer)
{
    CSafeBuf source("hello world, a longer text");
    int capacity = source.GetCapacity();
    CSafeBuf target("x");
    target.ReplaceWith(&source);
    EXPECT_EQ(u"hello world, a longer text", U16String(target));
    EXPECT_EQ(capacity, target.GetCapacity());
    EXPECT_TRUE(source.IsEmpty());
    source += "still usable";
    EXPECT_EQ(u"still usable", U16String(source));
    target.ReplaceWith(&target);
    EXPECT_EQ(u"hello world, a longer text", U16String(target));
}

TEST(SafeBufWidening, EachOverloadExtendsAsDocumented)
{
    const char* e = "\xE9";
    EXPECT_EQ(0xFFE9, CSafeBuf(e).GetAt(0));                                         // sign
    EXPECT_EQ(0x00E9, CSafeBuf(reinterpret_cast<const unsigned char*>(e)).GetAt(0)); // zero

    CSafeBuf assigned;
    assigned = e;
    EXPECT_EQ(0x00E9, assigned.GetAt(0));

    CSafeBuf appended;
    appended += e;
    appended += reinterpret_cast<const unsigned char*>(e);
    appended.Append("\xE9zz", 2);
    EXPECT_EQ(u"\u00E9\u00E9\u00E9z", U16String(appended));

    CSafeBuf inserted("ab");
    inserted.Insert(1, e);
    EXPECT_EQ(0xFFE9, inserted.GetAt(1));

    EXPECT_EQ('\xE9', CSafeBuf(e).GetAnsiBuffer()[0]);
    EXPECT_EQ('\xE9', assigned.GetAnsiBuffer()[0]);
    EXPECT_EQ(0, assigned.GetAnsiBuffer()[1]);

    // Equality and Find sign-extend; CompareNoCase zero-extends.
    EXPECT_TRUE(CSafeBuf(e) == e);
    EXPECT_FALSE(assigned == e);
    EXPECT_TRUE(assigned != e);
    EXPECT_EQ(-1, assigned.Find(e));
    EXPECT_EQ(0, CSafeBuf(e).Find(e));
    EXPECT_EQ(0, assigned.CompareNoCase(e));
    EXPECT_NE(0, CSafeBuf(e).CompareNoCase(e));

    // Replace sign-extends both 8-bit operands.
    CSafeBuf r("a\xE9"
               "b");
    EXPECT_EQ(1, r.Replace("\xE9", "\xE8"));
    EXPECT_EQ(0xFFE8, r.GetAt(1));
}

TEST(SafeBufCompare, NullAndWholeTextComparisons)
{
    CSafeBuf s("abc");
    const unsigned short* nullText = nullptr;
    const char* nullBytes = nullptr;
    EXPECT_FALSE(s == nullText);
    EXPECT_FALSE(s != nullText);
    EXPECT_FALSE(s == nullBytes);
    EXPECT_FALSE(s != nullBytes);
    EXPECT_TRUE(s == U16(u"abc"));
    EXPECT_TRUE(s != U16(u"abcd"));
    EXPECT_TRUE(s != "ab");
    EXPECT_FALSE(s == "abcd");
    EXPECT_TRUE(s == CSafeBuf("abc"));
    EXPECT_TRUE(s != CSafeBuf("abd"));
    EXPECT_EQ(0, s.CompareNoCase(U16(u"ABC")));
    EXPECT_EQ(0, s.CompareNoCase("AbC"));
    EXPECT_NE(0, s.CompareNoCase("abcd"));
    EXPECT_NE(0, s.CompareNoCase(nullBytes));
}

TEST(SafeBufCompare, ZeroUnitInsideTheLengthStopsAtTheCStringsEnd)
{
    // The C string is exactly as long as its text, so that the sanitizer
    // reports a read past its terminator.
    const std::unique_ptr<char[]> bytes(new char[2]{'a', 0});
    for (int tail : {0, 1, 5}) {
        CSafeBuf s("a");
        s += static_cast<unsigned short>(0);
        for (int i = 0; i < tail; ++i)
            s += static_cast<unsigned short>('b');
        EXPECT_FALSE(s == bytes.get()) << tail;
        EXPECT_TRUE(s != bytes.get()) << tail;
    }
}

TEST(SafeBufAccess, OutOfRangeIndicesAreAbsorbed)
{
    CSafeBuf s("xyz");
    EXPECT_EQ(0, s.GetAt(3));
    EXPECT_EQ(0, s.GetAt(4));
    EXPECT_EQ(0, s.GetAt(-1));
    EXPECT_EQ(&s[0], &s[3]);
    EXPECT_EQ(&s[0], &s[100L]);
    s.SetAt(3, 'q');
    s.SetAt(-1, 'q');
    EXPECT_EQ(u"xyz", U16String(s));
    s.SetAt(1, 'Y');
    EXPECT_EQ(u"xYz", U16String(s));
}

TEST(SafeBufEdit, InsertDeleteAndRemove)
{
    CSafeBuf s("held");
    EXPECT_EQ(1, s.Insert(2, U16(u"llo wor"), 1));
    EXPECT_EQ(u"helld", U16String(s));
    EXPECT_EQ(0, s.Insert(0, U16(u"zz"), 0));
    s.Insert(-5, U16(u"<"));
    s.Insert(99, U16(u">"));
    s.Insert(1, static_cast<unsigned short>('_'));
    EXPECT_EQ(u"<_helld>", U16String(s));

    EXPECT_EQ(7, s.Delete(1, 1));
    EXPECT_EQ(5, s.Delete(5, 100));
    EXPECT_EQ(5, s.Delete(5, 1));
    EXPECT_EQ(5, s.Delete(-1, 1));
    EXPECT_EQ(u"<hell", U16String(s));

    s.RemoveBeginTo(0);
    EXPECT_EQ(u"hell", U16String(s));
    EXPECT_EQ(2, s.Remove('l'));
    EXPECT_EQ(0, s.Remove(0));
    EXPECT_EQ(u"he", U16String(s));
    s.RemoveBeginTo(1);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(SafeBufEdit, TextTakenFromItselfSurvivesGrowth)
{
    CSafeBuf s("abcdefgh"); // capacity 16: doubling forces a new buffer
    s += s;
    EXPECT_EQ(u"abcdefghabcdefgh", U16String(s));
    s.Insert(1, static_cast<const unsigned short*>(s) + 8, 8);
    EXPECT_EQ(u"aabcdefghbcdefghabcdefgh", U16String(s));
    CSafeBuf t("one two");
    t = static_cast<const unsigned short*>(t) + 4;
    EXPECT_EQ(u"two", U16String(t));
    CSafeBuf r("abc");
    EXPECT_EQ(1, r.Replace(r, U16(u"x")));
    EXPECT_EQ(u"x", U16String(r));
    // Appends of a part of the string itself, with room and without; the
    // 8-bit appends take the low bytes of its units.
    CSafeBuf a("abcdef"); // capacity 12
    a.Append(static_cast<const unsigned short*>(a) + 1, 3);
    EXPECT_EQ(u"abcdefbcd", U16String(a));
    a.Append(static_cast<const unsigned short*>(a), 9);
    EXPECT_EQ(u"abcdefbcdabcdefbcd", U16String(a));
    CSafeBuf b("xy");
    b.Append(reinterpret_cast<const char*>(static_cast<const unsigned short*>(b)), 4);
    EXPECT_EQ(6, b.Length());
    EXPECT_EQ(u'x', b.GetAt(2));
    EXPECT_EQ(0, b.GetAt(3));
    b.AppendLiteral("<p>");
    EXPECT_EQ(u"<p>", U16String(b).substr(6));
    // Short pieces of itself: four units into the room left, one more past it.
    CSafeBuf c("wxyz"); // capacity 8
    c.Append(static_cast<const unsigned short*>(c), 4);
    c.Append(static_cast<const unsigned short*>(c) + 6, 1);
    EXPECT_EQ(u"wxyzwxyzy", U16String(c));
}

TEST(SafeBufEdit, TrimAndCopy)
{
    CSafeBuf s(" \t\r\nvalue//  ");
    s.TrimRight('/');
    EXPECT_EQ(u" \t\r\nvalue", U16String(s));
    s.TrimLeft();
    EXPECT_EQ(u"value", U16String(s));
    CSafeBuf t("xxmidxx");
    t.Trim('x');
    EXPECT_EQ(u"mid", U16String(t));

    const char16_t withZero[] = {u'a', 0, u'b'};
    CSafeBuf c;
    c.Copy(U16(withZero), 3);
    EXPECT_EQ(3, c.Length());
    EXPECT_EQ('b', c.GetAt(2));
    c.Copy(U16(u"q"), -1);
    EXPECT_EQ(3, c.Length());
}

// Matches at every place of a word of four units, near and at the end,
// after partial matches and among units that differ in one bit.
TEST(SafeBufSearch, FindAtEveryPlace)
{
    struct Case
    {
        const char16_t* text;
        const char16_t* word;
        int start;
        int found;
    };
    const Case cases[] = {
        {u"_x_", u"_x_", 0, 0},
        {u"a_x_", u"_x_", 0, 1},
        {u"ab_x_", u"_x_", 0, 2},
        {u"abc_x_", u"_x_", 0, 3},
        {u"abcd_x_", u"_x_", 0, 4},
        {u"abcdefg_x_", u"_x_", 0, 7},
        {u"abcdefgh_x", u"_x_", 0, -1},
        {u"__x_x_", u"_x_", 0, 1},
        {u"_x__x_", u"_x_", 1, 3},
        {u"_x__x_", u"_x_", 4, -1},
        {u"şɟx_", u"_x_", 0, -1}, // units that end as '_' does
        {u"şɟ_x_", u"_x_", 0, 2},
        {u"abcdefgh", u"h", 0, 7},
        {u"abcdefgh", u"h", 7, 7},
        {u"abcdefgh", u"a", 1, -1},
        {u"ab_", u"_x_", 0, -1}, // the first unit where the word no longer fits
        {u"_", u"_x_", 0, -1},
        {u"abc", u"_x_long_word_", 0, -1},
        {u"_x_long", u"_x_long_word_", 0, -1},
        {u"a_x_", u"_x_", -3, 1},
        {u"a_x_", u"_x_", 9, -1},
        {u"_x_", u"_x_", 3, -1},
        {u"", u"_", 0, -1},
    };
    for (const Case& c : cases) {
        const CSafeBuf text(U16(c.text));
        EXPECT_EQ(text.Find(U16(c.word), c.start), c.found)
            << std::u16string(c.text).size() << " units, from " << c.start;
    }
}

// CompareNoCase with bytes answers as with the same bytes widened without
// their sign, ASCII or not, whatever the order.
TEST(SafeBufSearch, CompareNoCaseWithBytesAsWidened)
{
    const char16_t* texts[] = {u"", u"style", u"STYLE", u"Styles", u"styl", u"caf\u00E9", u"CAF\u00C9",
        u"caf\uFFE9", u"\u00E9", u"zz"};
    const char* bytes[] = {"", "style", "sTyLe", "styl", "stylf", "caf\xE9", "CAF\xE9", "\xE9", "zz", "a"};
    for (const char16_t* t : texts) {
        const CSafeBuf text(U16(t));
        for (const char* b : bytes) {
            const CSafeBuf widened(reinterpret_cast<const unsigned char*>(b));
            EXPECT_EQ(text.CompareNoCase(b), text.CompareNoCase(static_cast<const unsigned short*>(widened)))
                << std::u16string(t).size() << " units against " << b;
        }
    }
    EXPECT_EQ(CSafeBuf(U16(u"a")).CompareNoCase(static_cast<const char*>(nullptr)), 1);
}

TEST(SafeBufSearch, FindRules)
{
    CSafeBuf s("Hello hello");
    EXPECT_EQ(-1, s.Find(U16(u"")));
    EXPECT_EQ(-1, s.Find(""));
    EXPECT_EQ(6, s.Find(U16(u"hello")));
    EXPECT_EQ(0, s.Find(U16(u"HELLO"), 0, false));
    EXPECT_EQ(6, s.Find("HELLO", 1, false));
    EXPECT_EQ(-1, s.Find("hello", 7));
    EXPECT_EQ(-1, s.Find("Hello hello!"));
    EXPECT_EQ(4, s.Find('o'));
    EXPECT_EQ(10, s.Find('o', 5));
    EXPECT_EQ(11, s.Find(static_cast<unsigned short>(0))); // the terminator's index
    EXPECT_EQ(-1, s.Find('H', 11));
    EXPECT_EQ(10, s.ReverseFind('o'));
    EXPECT_EQ(-1, CSafeBuf().ReverseFind('o'));
}

TEST(SafeBufSearch, ReplaceContinuesAfterInsertedText)
{
    CSafeBuf s("aaa");
    EXPECT_EQ(3, s.Replace("a", "aa"));
    EXPECT_EQ(u"aaaaaa", U16String(s));

    CSafeBuf t("x");
    EXPECT_EQ(0, t.Replace("", "y"));
    EXPECT_EQ(0, t.Replace(U16(u""), U16(u"y")));
    EXPECT_EQ(u"x", U16String(t));

    CSafeBuf u("A-a-A");
    EXPECT_EQ(3, u.Replace(U16(u"a"), U16(u"<b>"), false));
    EXPECT_EQ(u"<b>-<b>-<b>", U16String(u));
    EXPECT_EQ(2, u.Replace("-", static_cast<const unsigned short*>(nullptr)));
    EXPECT_EQ(u"<b><b><b>", U16String(u));

    // An 8-bit find text with a UTF-16 replacement that holds it.
    CSafeBuf v("&x;.&x;");
    EXPECT_EQ(2, v.Replace("&x;", U16(u"&x;\u00e9&x;")));
    EXPECT_EQ(u"&x;\u00e9&x;.&x;\u00e9&x;", U16String(v));
    EXPECT_EQ(3, u.Replace("<b>", U16(u"\u05D0")));
    EXPECT_EQ(u"\u05D0\u05D0\u05D0", U16String(u));
}

TEST(SafeBufSearch, ReplaceCases)
{
    struct Case
    {
        const char16_t *text, *oldText, *newText;
        bool matchCase;
        int count;
        const char16_t* result;
    } cases[] = {
        {u"abcabc", u"b", u"xyz", true, 2, u"axyzcaxyzc"}, // longer
        {u"abcabc", u"bc", u"x", true, 2, u"axax"},        // shorter
        {u"abcabc", u"abc", u"", true, 2, u""},            // everything goes
        {u"xabx", u"x", u"--", true, 2, u"--ab--"},        // at both ends
        {u"aaaa", u"aa", u"b", true, 2, u"bb"},            // matches do not overlap
        {u"aaa", u"aa", u"b", true, 1, u"ba"},             // the search goes on after a match
        {u"abc", u"abcd", u"x", true, 0, u"abc"},          // longer than the text
        {u"aBcAbC", u"bc", u"!", false, 2, u"a!A!"},       // any case
        {u"aBcAbC", u"bc", u"!", true, 0, u"aBcAbC"},      // this case only
        {u"\u05D0x\u05D0", u"\u05D0", u"\U0001F600", true, 2, u"\U0001F600x\U0001F600"}, // wide units
    };
    for (const Case& c : cases) {
        CSafeBuf s(U16(c.text));
        const int count = s.Replace(U16(c.oldText), U16(c.newText), c.matchCase);
        const int i = static_cast<int>(&c - cases);
        EXPECT_EQ(c.count, count) << "case " << i;
        EXPECT_EQ(std::u16string(c.result), U16String(s)) << "case " << i;
        EXPECT_EQ(0, static_cast<const unsigned short*>(s)[s.Length()]) << "case " << i << ": terminated";
    }

    CSafeBuf big(static_cast<unsigned short>('a'), 1000);
    const int capacity = big.GetCapacity();
    EXPECT_EQ(1000, big.Replace("a", ""));
    EXPECT_TRUE(big.IsEmpty());
    EXPECT_EQ(capacity, big.GetCapacity()) << "the buffer only grows";
    CSafeBuf grown("ab");
    EXPECT_EQ(1, grown.Replace("b", std::string(100, 'c').c_str()));
    EXPECT_EQ(101, grown.Length());
    EXPECT_EQ(u'c', grown.GetAt(100));
}

TEST(SafeBufExtract, LeftRightMid)
{
    CSafeBuf s("abcdef");
    EXPECT_EQ(u"cdef", U16String(s.Mid(2, 10)));
    EXPECT_EQ(u"bc", U16String(s.Mid(1, 2)));
    EXPECT_TRUE(s.Mid(6, 1).IsEmpty());
    EXPECT_TRUE(s.Mid(2, 0).IsEmpty());
    EXPECT_TRUE(s.Left(-1).IsEmpty());
    EXPECT_EQ(u"abcdef", U16String(s.Left(99)));
    EXPECT_EQ(u"ef", U16String(s.Right(2)));
    CSafeBuf out("keep");
    s.Right(0, &out);
    EXPECT_EQ(u"keep", U16String(out));
    s.Right(3, &out);
    EXPECT_EQ(u"def", U16String(out));

    // The string may take its own right part.
    CSafeBuf self("abcdef");
    self.Right(3, &self);
    EXPECT_EQ(u"def", U16String(self));
    EXPECT_EQ(3, self.Length());
    self.Right(99, &self);
    EXPECT_EQ(u"def", U16String(self));
    self.Right(0, &self);
    EXPECT_EQ(u"def", U16String(self));
    self = self.Left(2);
    EXPECT_EQ(u"de", U16String(self));
    self = self.Mid(1, 5);
    EXPECT_EQ(u"e", U16String(self));
}

TEST(SafeBufCase, CapitalizeUpperLower)
{
    CSafeBuf s("hello wORLD-foo");
    s.MakeCapitalize();
    EXPECT_EQ(u"Hello WORLD-Foo", U16String(s));
    CSafeBuf t;
    t = U16(u"Mixed \u00E9 Case");
    t.MakeUpper();
    EXPECT_EQ(u"MIXED \u00E9 CASE", U16String(t));
    t.MakeLower();
    EXPECT_EQ(u"mixed \u00E9 case", U16String(t));
}

TEST(SafeBufLayout, LoneCarriageReturnsGetLineFeeds)
{
    CSafeBuf s;
    s = U16(u"a\rb\r\nc\n");
    s.ConvertUnixToAnsiCR();
    EXPECT_EQ(u"a\r\nb\r\nc\n", U16String(s));
    CSafeBuf t;
    t = U16(u"\r\r");
    t.ConvertUnixToAnsiCR();
    EXPECT_EQ(u"\r\n\r\n", U16String(t));
}

TEST(SafeBufLayout, ExpandTabFillsToNextStop)
{
    CSafeBuf s;
    s = U16(u"ab\tc");
    s.ExpandTAB(8, ' ');
    EXPECT_EQ(u"ab      c", U16String(s));

    CSafeBuf two;
    two = U16(u"\t\t");
    two.ExpandTAB(8, ' ');
    EXPECT_EQ(std::u16string(16, u' '), U16String(two));

    // The column runs on across line breaks.
    CSafeBuf lines;
    lines = U16(u"ab\nc\tx");
    lines.ExpandTAB(8, '.');
    EXPECT_EQ(u"ab\nc....x", U16String(lines));

    // Widths beyond a small fixed pad work.
    CSafeBuf wide;
    wide = U16(u"a\t");
    wide.ExpandTAB(40, '-');
    EXPECT_EQ(u"a" + std::u16string(39, u'-'), U16String(wide));

    CSafeBuf same;
    same = U16(u"\tx");
    same.ExpandTAB(0, ' ');
    EXPECT_EQ(u"\tx", U16String(same));
}

TEST(SafeBufLayout, TabPositionMapping)
{
    CSafeBuf s;
    s = U16(u"\tab");
    EXPECT_EQ(0, s.RealPostionFromExpandedPos(5, 8));
    EXPECT_EQ(1, s.RealPostionFromExpandedPos(8, 8));
    EXPECT_EQ(3, s.RealPostionFromExpandedPos(50, 8));
    EXPECT_EQ(5, s.RealPostionFromExpandedPos(5, 1));
    EXPECT_EQ(7, s.GetAdjustPosForTAB(0, true, 8));
    EXPECT_EQ(0, s.GetAdjustPosForTAB(0, false, 8));
    EXPECT_EQ(8, s.GetAdjustPosForTAB(1, true, 8));
    EXPECT_EQ(10, s.GetAdjustPosForTAB(3, false, 8));

    CSafeBuf t;
    t = U16(u"a\tb");
    EXPECT_EQ(0, t.RealPostionFromExpandedPos(0, 4));
    EXPECT_EQ(1, t.RealPostionFromExpandedPos(2, 4));
    EXPECT_EQ(2, t.RealPostionFromExpandedPos(4, 4));
    EXPECT_EQ(4, t.GetAdjustPosForTAB(2, false, 4));
    EXPECT_EQ(3, t.GetAdjustPosForTAB(1, true, 4));
    EXPECT_EQ(1, t.GetAdjustPosForTAB(1, false, 4));
}

TEST(SafeBufFormat, IntegersAreFormattedWithinBounds)
{
    CSafeBuf s("old");
    EXPECT_TRUE(s.FormatInt("%d", 42));
    EXPECT_EQ(u"42", U16String(s));
    EXPECT_TRUE(s.FormatInt("#%06X;", 0xABCD));
    EXPECT_EQ(u"#00ABCD;", U16String(s));
    EXPECT_TRUE(s.FormatInt("%ld%%", LONG_MIN));
    EXPECT_EQ(u"-9223372036854775808%", U16String(s));
    EXPECT_TRUE(s.FormatInt("%c", 'Q'));
    EXPECT_EQ(u"Q", U16String(s));

    // Formats that would read a missing or wrong argument are refused.
    EXPECT_FALSE(s.FormatInt("%s", 1));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(s.FormatInt("%d %d", 1));
    EXPECT_FALSE(s.FormatInt("%*d", 1));
    EXPECT_FALSE(s.FormatInt("%n", 1));
    EXPECT_FALSE(s.FormatInt(nullptr, 1));

    // Long output is cut at the stated limits.
    EXPECT_TRUE(s.FormatInt("%9999d", 7));
    EXPECT_EQ(7999, s.Length());
    CSafeBuf a("n=");
    EXPECT_TRUE(a.AppendInt("%9999d", 7));
    EXPECT_EQ(2 + 999, a.Length());
    CSafeBuf b("v");
    b.AppendInt(-12L);
    b.AppendInt(3);
    EXPECT_FALSE(b.AppendInt("%f", 1));
    EXPECT_EQ(u"v-123", U16String(b));
}

TEST(SafeBufFormat, LengthModifiersChooseTheWidth)
{
    // Without a modifier the value is a 32-bit int.
    CSafeBuf s;
    EXPECT_TRUE(s.FormatInt("%x", -1));
    EXPECT_EQ(u"ffffffff", U16String(s));
    EXPECT_TRUE(s.FormatInt("%u", -1));
    EXPECT_EQ(u"4294967295", U16String(s));
    EXPECT_TRUE(s.FormatInt("%o", -1));
    EXPECT_EQ(u"37777777777", U16String(s));
    EXPECT_TRUE(s.FormatInt("%d", 0x80000000L));
    EXPECT_EQ(u"-2147483648", U16String(s));
    EXPECT_TRUE(s.FormatInt("%i", -5));
    EXPECT_EQ(u"-5", U16String(s));
    CSafeBuf a("#");
    EXPECT_TRUE(a.AppendInt("%X", -2));
    EXPECT_EQ(u"#FFFFFFFE", U16String(a));

    // "h" and "hh" narrow as short and char.
    EXPECT_TRUE(s.FormatInt("%hd", 70000));
    EXPECT_EQ(u"4464", U16String(s));
    EXPECT_TRUE(s.FormatInt("%hx", -1));
    EXPECT_EQ(u"ffff", U16String(s));
    EXPECT_TRUE(s.FormatInt("%hhd", 200));
    EXPECT_EQ(u"-56", U16String(s));
    EXPECT_TRUE(s.FormatInt("%hhu", 0x1FF));
    EXPECT_EQ(u"255", U16String(s));

    // "l" and "ll" keep all 64 bits.
    EXPECT_TRUE(s.FormatInt("%ld", 5000000000L));
    EXPECT_EQ(u"5000000000", U16String(s));
    EXPECT_TRUE(s.FormatInt("%ld", 2147483648L));
    EXPECT_EQ(u"2147483648", U16String(s));
    EXPECT_TRUE(s.FormatInt("%lld", -5000000000L));
    EXPECT_EQ(u"-5000000000", U16String(s));
    EXPECT_TRUE(s.FormatInt("%lx", -1));
    EXPECT_EQ(u"ffffffffffffffff", U16String(s));

    // %c prints one char whatever the modifier.
    EXPECT_TRUE(s.FormatInt("%lc", 'Z'));
    EXPECT_EQ(u"Z", U16String(s));
}

TEST(SafeBufUtf8, SupplementaryCharactersSurvive)
{
    CSafeBuf s;
    s.AssignUTF8("a\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(u"a\u00E9\U0001F600", U16String(s));

    char* utf8 = nullptr;
    EXPECT_EQ(7, s.CreateUTF8Str(&utf8));
    EXPECT_STREQ("a\xC3\xA9\xF0\x9F\x98\x80", utf8);
    delete[] utf8;

    CSafeBuf empty;
    EXPECT_EQ(0, empty.CreateUTF8Str(&utf8));
    ASSERT_NE(nullptr, utf8);
    EXPECT_STREQ("", utf8);
    delete[] utf8;

    // Widened UTF-8: one byte a unit.
    CSafeBuf widened("\xC3\xA9");
    CSafeBuf decoded("x");
    decoded.AssignUTF8(static_cast<const unsigned short*>(widened));
    EXPECT_EQ(u"\u00E9", U16String(decoded));
    decoded.AssignUTF8(static_cast<const char*>(nullptr));
    EXPECT_TRUE(decoded.IsEmpty());
}

TEST(SafeBufUtf8, CopyNeverCutsACharacterInTwo)
{
    CSafeBuf s;
    s.AssignUTF8("ab\xF0\x9F\x98\x80");
    char dst[8];
    std::memset(dst, 'Z', sizeof dst);
    EXPECT_EQ(2, s.CopyUTF8Str(dst, 5)); // room for 4 bytes: the emoji needs 4 after "ab"
    EXPECT_STREQ("ab", dst);
    EXPECT_EQ(6, s.CopyUTF8Str(dst, 7));
    EXPECT_STREQ("ab\xF0\x9F\x98\x80", dst);
    EXPECT_EQ(0, s.CopyUTF8Str(dst, 1));
    EXPECT_STREQ("", dst);
    EXPECT_EQ(0, s.CopyUTF8Str(dst, 0));
}

TEST(SafeBufQueries, CachedAnswersFollowChanges)
{
    CSafeBuf s("plain");
    EXPECT_TRUE(s.NoUnicode());
    EXPECT_TRUE(s.NoCJK());
    s[1] = 0x4E2D;
    EXPECT_FALSE(s.NoUnicode());
    EXPECT_FALSE(s.NoCJK());
    s.SetAt(1, 'l');
    EXPECT_TRUE(s.NoUnicode());
    s += static_cast<unsigned short>(0x0100);
    EXPECT_FALSE(s.NoUnicode());
    EXPECT_TRUE(s.NoCJK());
    s.Empty();
    EXPECT_TRUE(s.NoUnicode());

    EXPECT_TRUE(CSafeBuf(" \r\n\t").JustSpace());
    EXPECT_TRUE(CSafeBuf().JustSpace());
    EXPECT_FALSE(CSafeBuf(" x").JustSpace());
    EXPECT_TRUE(CSafeBuf("what?").IncludeSymbol());
    EXPECT_FALSE(CSafeBuf("what.").IncludeSymbol());
}

TEST(SafeBufQueries, EveryWriteCountsAChangeAndReadsDoNot)
{
    using Write = void (*)(CSafeBuf&);
    const Write writes[] = {
        [](CSafeBuf& s) { s.SetAt(0, 'x'); },
        [](CSafeBuf& s) { s[1] = 'x'; },
        [](CSafeBuf& s) { static_cast<unsigned short*>(s)[0] = 'y'; },
        [](CSafeBuf& s) { s = "other"; },
        [](CSafeBuf& s) { s += "more"; },
        [](CSafeBuf& s) { s += static_cast<unsigned short>('!'); },
        [](CSafeBuf& s) { s.Insert(0, "a", 1); },
        [](CSafeBuf& s) { s.Delete(0, 1); },
        [](CSafeBuf& s) { s.Remove('p'); },
        [](CSafeBuf& s) { s.MakeUpper(); },
        [](CSafeBuf& s) { s.MakeCapitalize(); },
        [](CSafeBuf& s) { s.Replace("a", "b"); },
        [](CSafeBuf& s) { s.ExpandTAB(8); },
        [](CSafeBuf& s) { s.TrimRight(); },
        [](CSafeBuf& s) { s.Empty(); },
        [](CSafeBuf& s) {
            CSafeBuf other("given");
            s.ReplaceWith(&other);
        },
    };
    for (size_t i = 0; i < sizeof writes / sizeof writes[0]; ++i) {
        SCOPED_TRACE("write " + std::to_string(i));
        CSafeBuf s("plain\ttext ");
        const std::uint32_t before = s.Changes();
        writes[i](s);
        EXPECT_NE(s.Changes(), before);
    }
    CSafeBuf s("plain");
    const CSafeBuf& read = s;
    const std::uint32_t before = s.Changes();
    EXPECT_EQ(read[0], 'p');
    EXPECT_TRUE(read.NoUnicode());
    EXPECT_EQ(read.Find('a'), 2);
    EXPECT_EQ(CSafeBuf(read).Length(), 5);
    EXPECT_EQ(s.Changes(), before);
}

TEST(SafeBufQueries, EscapeXmlAndCopies)
{
    CSafeBuf s("a<b & \"c\" > 'd'");
    s.EscapeXML();
    EXPECT_EQ(u"a&lt;b &amp; &quot;c&quot; &gt; 'd'", U16String(s));

    EXPECT_EQ(nullptr, CSafeBuf().CreateNew());
    unsigned short* copy = CSafeBuf("hi").CreateNew();
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ('i', copy[1]);
    EXPECT_EQ(0, copy[2]);
    delete[] copy;

    CSafeBuf t("abc");
    char* ansi = t.GetAnsiBuffer();
    EXPECT_STREQ("abc", ansi);
    t.Empty();
    EXPECT_STREQ("", ansi);
}

TEST(SafeBufFiles, SaveAndLoadRawUnitsUnderAUnicodeName)
{
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("safebuf-")));
    const std::string file = scratch.Path() + "/\xC3\xA9t\xC3\xA9.bin";
    CSafeBuf path;
    path.AssignUTF8(file.c_str());
    CSafeBuf text;
    text = U16(u"line \u05D0\U0001F600\n");
    ASSERT_TRUE(text.SaveAs(path));

    // The name reached the file system as UTF-8, and the file holds the
    // units themselves, two bytes each in the machine's order.
    std::FILE* f = std::fopen(file.c_str(), "rb");
    ASSERT_NE(nullptr, f);
    std::string bytes;
    for (int c; (c = std::fgetc(f)) != EOF;)
        bytes += static_cast<char>(c);
    std::fclose(f);
    const std::u16string units = U16String(text);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(units.data()), units.size() * 2), bytes);

    CSafeBuf loaded("previous");
    ASSERT_TRUE(loaded.LoadFile(path));
    EXPECT_TRUE(loaded == text);

    CSafeBuf missing("unchanged");
    CSafeBuf nowhere;
    nowhere.AssignUTF8((scratch.Path() + "/no/such/file.bin").c_str());
    EXPECT_FALSE(missing.LoadFile(nowhere));
    EXPECT_EQ(u"unchanged", U16String(missing));
}

// A folder chain below root (names of 100 bytes) whose path leaves room for a
// file name of 100 to 200 bytes before the path reaches total bytes.
std::string DeepFolder(const std::string& root, size_t total)
{
    std::string folder = root;
    while (folder.size() + 1 + 200 < total) {
        folder += "/" + std::string(100, 'd');
        if (::mkdir(folder.c_str(), 0700) != 0)
            return std::string();
    }
    return folder;
}

TEST(SafeBufFiles, PathsOf1024Utf8BytesAreRefused)
{
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("safebuf-long-")));
    const std::string folder = DeepFolder(scratch.Path(), 1024);
    ASSERT_FALSE(folder.empty());
    const std::string head = folder + "/";
    ASSERT_LE(head.size(), 1024u - 100u);

    // 1023 bytes still name a file.
    const std::string fits = head + std::string(1023 - head.size(), 'f');
    ASSERT_EQ(1023u, fits.size());
    CSafeBuf path;
    path.AssignUTF8(fits.c_str());
    CSafeBuf text("data");
    EXPECT_TRUE(text.SaveAs(path));
    CSafeBuf loaded;
    EXPECT_TRUE(loaded.LoadFile(path));
    EXPECT_TRUE(loaded == text);

    // 1024 bytes are refused, even though the file is there to be read.
    const std::string tooLong = head + std::string(1024 - head.size(), 'g');
    ASSERT_EQ(1024u, tooLong.size());
    std::FILE* f = std::fopen(tooLong.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fputs("abcd", f);
    std::fclose(f);
    path.AssignUTF8(tooLong.c_str());
    EXPECT_FALSE(text.SaveAs(path));
    CSafeBuf untouched("kept");
    EXPECT_FALSE(untouched.LoadFile(path));
    EXPECT_EQ(u"kept", U16String(untouched));
    f = std::fopen(tooLong.c_str(), "rb");
    ASSERT_NE(nullptr, f);
    char bytes[8] = {};
    EXPECT_EQ(4u, std::fread(bytes, 1, sizeof bytes, f)); // SaveAs did not write it
    std::fclose(f);
    EXPECT_STREQ("abcd", bytes);

    // The limit counts UTF-8 bytes, not units: two-byte characters reach it
    // with fewer units.
    std::string wide = head;
    while (wide.size() + 2 <= 1024)
        wide += "\xC3\xA9";
    if (wide.size() < 1024)
        wide += 'x';
    ASSERT_EQ(1024u, wide.size());
    path.AssignUTF8(wide.c_str());
    ASSERT_LT(path.Length(), 1024);
    EXPECT_FALSE(text.SaveAs(path));
    EXPECT_FALSE(untouched.LoadFile(path));
    struct stat st;
    EXPECT_NE(0, ::stat(wide.c_str(), &st));
}

} // namespace
