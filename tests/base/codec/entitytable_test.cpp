// The HTML entity table: size, order, terminator, and every pair checked
// against the HTML parser's own entity list.

#include "base/codec/EntityTable.h"

#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

// "&name;" -> "name"; "&#160;" -> 160.
std::string NameOf(const char* reference)
{
    std::string s(reference);
    return s.substr(1, s.size() - 2);
}

long NumberOf(const char* reference) { return std::strtol(reference + 2, nullptr, 10); }

TEST(HTML2XML, HoldsExactly253PairsAndATerminator)
{
    int count = 0;
    while (HTML2XML[count].name != nullptr)
        ++count;
    EXPECT_EQ(253, count);
    EXPECT_EQ(HTML2XML_COUNT, count);
    EXPECT_EQ(nullptr, HTML2XML[HTML2XML_COUNT].name);
}

TEST(HTML2XML, EveryPairIsWellFormedUniqueAndAgreesWithTheHtmlParser)
{
    std::set<std::string> names;
    for (int i = 0; i < HTML2XML_COUNT; ++i) {
        const HTMLEntityPair& pair = HTML2XML[i];
        ASSERT_NE(nullptr, pair.number) << i;
        std::string name(pair.name), number(pair.number);
        ASSERT_GE(name.size(), 3u);
        EXPECT_EQ('&', name.front()) << name;
        EXPECT_EQ(';', name.back()) << name;
        EXPECT_EQ(0u, number.rfind("&#", 0)) << number;
        EXPECT_EQ(';', number.back()) << number;
        EXPECT_TRUE(names.insert(name).second) << "twice: " << name;

        const htmlEntityDesc* desc
            = htmlEntityLookup(reinterpret_cast<const xmlChar*>(NameOf(pair.name).c_str()));
        ASSERT_NE(nullptr, desc) << name << " is not an HTML entity";
        EXPECT_EQ(static_cast<long>(desc->value), NumberOf(pair.number)) << name;
    }
}

TEST(HTML2XML, FollowsTheOrderOfTheEntityList)
{
    EXPECT_STREQ("&nbsp;", HTML2XML[0].name);
    EXPECT_STREQ("&#160;", HTML2XML[0].number);
    // Latin-1 in code order.
    for (int i = 0; i < 96; ++i)
        EXPECT_EQ(160 + i, NumberOf(HTML2XML[i].number)) << HTML2XML[i].name;
    EXPECT_STREQ("&yuml;", HTML2XML[95].name);
    // The special set next, the markup characters first.
    const char* const special[][2] = {
        {"&quot;", "&#34;"},
        {"&amp;", "&#38;"},
        {"&lt;", "&#60;"},
        {"&gt;", "&#62;"},
        {"&apos;", "&#39;"},
        {"&OElig;", "&#338;"},
    };
    for (int k = 0; k < 6; ++k) {
        EXPECT_STREQ(special[k][0], HTML2XML[96 + k].name);
        EXPECT_STREQ(special[k][1], HTML2XML[96 + k].number);
    }
    EXPECT_STREQ("&euro;", HTML2XML[128].name);
    EXPECT_STREQ("&#8364;", HTML2XML[128].number);
    // Symbols and Greek letters last, ending with diams.
    EXPECT_STREQ("&fnof;", HTML2XML[129].name);
    EXPECT_STREQ("&Alpha;", HTML2XML[130].name);
    EXPECT_STREQ("&hearts;", HTML2XML[251].name);
    EXPECT_STREQ("&diams;", HTML2XML[252].name);
    EXPECT_STREQ("&#9830;", HTML2XML[252].number);
    EXPECT_STREQ("&diams;", HTML2XML[HTML2XML_COUNT - 1].name);
}

// Every pair of the special set (34 up to 8364 outside Latin-1, apos
// included) comes before every pair of the symbols set.
TEST(HTML2XML, SpecialSetPrecedesSymbols)
{
    const std::set<std::string> special = {
        "&quot;",
        "&amp;",
        "&lt;",
        "&gt;",
        "&apos;",
        "&OElig;",
        "&oelig;",
        "&Scaron;",
        "&scaron;",
        "&Yuml;",
        "&circ;",
        "&tilde;",
        "&ensp;",
        "&emsp;",
        "&thinsp;",
        "&zwnj;",
        "&zwj;",
        "&lrm;",
        "&rlm;",
        "&ndash;",
        "&mdash;",
        "&lsquo;",
        "&rsquo;",
        "&sbquo;",
        "&ldquo;",
        "&rdquo;",
        "&bdquo;",
        "&dagger;",
        "&Dagger;",
        "&permil;",
        "&lsaquo;",
        "&rsaquo;",
        "&euro;",
    };
    ASSERT_EQ(33u, special.size());
    for (int i = 96; i < 96 + 33; ++i)
        EXPECT_EQ(1u, special.count(HTML2XML[i].name)) << i << " " << HTML2XML[i].name;
    for (int i = 96 + 33; i < HTML2XML_COUNT; ++i)
        EXPECT_EQ(0u, special.count(HTML2XML[i].name)) << i << " " << HTML2XML[i].name;
}

} // namespace
