// CTextArena and the strings given its buffers (CSafeBuf::ReserveIn): the
// texts stay whole however the strings and the arena end, and every block is
// freed with its last string (the sanitizer build reports any left).

#include "base/text/SafeBuf.h"
#include "base/text/TextArena.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using qmtest::U16;
using qmtest::U16String;

namespace {

// The text of string i: its number and enough letters to make len units.
std::u16string TextOf(int i, int len)
{
    std::u16string text;
    for (char c : std::to_string(i))
        text += static_cast<char16_t>(c);
    while (static_cast<int>(text.size()) < len)
        text += static_cast<char16_t>(u'a' + text.size() % 26);
    text.resize(static_cast<size_t>(len));
    return text;
}

// Strings filled from an arena that is gone before they are read.
std::vector<std::unique_ptr<CSafeBuf>> Filled(int count, int len)
{
    std::vector<std::unique_ptr<CSafeBuf>> strings;
    CTextArena arena;
    for (int i = 0; i < count; ++i) {
        auto s = std::make_unique<CSafeBuf>();
        EXPECT_TRUE(s->ReserveIn(arena, len));
        EXPECT_EQ(s->GetCapacity(), len);
        *s = U16(TextOf(i, len));
        strings.push_back(std::move(s));
    }
    return strings;
}

TEST(TextArena, TextsOutliveTheArenaAcrossBlocks)
{
    // 3000 texts of 100 units fill several blocks; they are let go in an
    // order that frees blocks from the middle first.
    auto strings = Filled(3000, 100);
    for (size_t i = 1000; i < 2000; ++i)
        strings[i].reset();
    for (size_t i = 0; i < strings.size(); i += 2)
        strings[i].reset();
    for (size_t i = 0; i < strings.size(); ++i) {
        if (strings[i]) {
            EXPECT_EQ(U16String(*strings[i]), TextOf(static_cast<int>(i), 100)) << i;
        }
    }
}

TEST(TextArena, StringsLeaveTheArenaAsTheyChange)
{
    auto strings = Filled(4, 8);
    // Grown past its capacity: a buffer of its own, the old one given back.
    *strings[0] += U16(u"-and-more-than-fits");
    EXPECT_EQ(U16String(*strings[0]), TextOf(0, 8) + u"-and-more-than-fits");
    // Copies are strings of their own.
    CSafeBuf copy(*strings[1]);
    strings[1].reset();
    EXPECT_EQ(U16String(copy), TextOf(1, 8));
    // Buffers change hands both ways between lent and owned strings.
    CSafeBuf owned(U16(u"owned"));
    owned.ReplaceWith(strings[2].get());
    EXPECT_EQ(U16String(owned), TextOf(2, 8));
    *strings[2] = U16(u"x");
    strings[3]->ReplaceWith(&owned);
    strings[2].reset();
    EXPECT_EQ(U16String(*strings[3]), TextOf(2, 8));
    EXPECT_EQ(owned.Length(), 0);
    // Edits within the capacity stay in the arena's buffer.
    strings[3]->Delete(0);
    EXPECT_EQ(U16String(*strings[3]), TextOf(2, 8).substr(1));
}

TEST(TextArena, WhatTheArenaDoesNotCutIsReservedAsUsual)
{
    CTextArena arena;
    struct Case
    {
        long units;
        bool withText;
        int capacity; // after ReserveIn
    };
    const Case cases[] = {
        {0, false, 0}, // no memory
        {CTextArena::kMaxUnits, false, static_cast<int>(CTextArena::kMaxUnits)},
        {CTextArena::kMaxUnits + 1, false, static_cast<int>(CTextArena::kMaxUnits + 1)}, // own buffer
        {5, true, 10},  // a string with memory keeps its buffer
        {40, true, 40}, // and grows it by Reserve's rule, its text kept
    };
    for (const Case& c : cases) {
        CSafeBuf s;
        if (c.withText)
            s = U16(u"abc");
        EXPECT_TRUE(s.ReserveIn(arena, c.units)) << c.units;
        EXPECT_EQ(s.GetCapacity(), c.capacity) << c.units;
        EXPECT_EQ(U16String(s), c.withText ? u"abc" : u"") << c.units;
    }
    EXPECT_EQ(arena.Take(-1), nullptr);
    EXPECT_EQ(arena.Take(CTextArena::kMaxUnits + 1), nullptr);
}

TEST(TextArena, StringsMayEndOnAnotherThread)
{
    auto strings = Filled(2000, 50);
    std::vector<std::unique_ptr<CSafeBuf>> half;
    for (size_t i = 0; i < strings.size(); i += 2)
        half.push_back(std::move(strings[i]));
    std::thread other([&half] { half.clear(); });
    strings.clear();
    other.join();
}

} // namespace
