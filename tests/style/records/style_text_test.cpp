// Interned style texts: cut at the field's room, equal texts one copy, and
// records with equal texts equal byte for byte (so they are shared).

#include "base/text/U16.h"
#include "style/records/ElementStyle.h"
#include "style/records/SharedStyle.h"
#include "style/records/StyleText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<unsigned short> Units(const std::string& text)
{
    std::vector<unsigned short> units(text.begin(), text.end());
    units.push_back(0);
    return units;
}

} // namespace

TEST(InternedStyleText, TextsAreCutAtTheRoomAndEqualTextsAreOneCopy)
{
    struct Case
    {
        std::string text;
        std::string held; // what a field of 5 units holds
    };
    const Case cases[] = {{"", ""}, {"a", "a"}, {"abcd", "abcd"}, {"abcde", "abcd"}, {"abcdefghij", "abcd"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CStyleText<5> field{};
        EXPECT_TRUE(field.IsEmpty());
        EXPECT_EQ(U16len(field), 0);
        const std::vector<unsigned short> units = Units(c.text);
        field.Set(units.data());
        EXPECT_EQ(field.IsEmpty(), c.held.empty());
        EXPECT_EQ(U16cmp(c.held.c_str(), field), 0);

        CStyleText<5> fromChars{};
        fromChars.Set(c.text.c_str());
        EXPECT_TRUE(fromChars == field) << "the same text, given as bytes or units, is one copy";
        EXPECT_EQ(static_cast<const unsigned short*>(fromChars), static_cast<const unsigned short*>(field));
    }

    CStyleText<5> a{}, b{};
    a.Set("abc");
    b.Set("abd");
    EXPECT_TRUE(a != b);
    const unsigned long count = InternedStyleTextCount();
    b.Set("abc");
    EXPECT_TRUE(a == b);
    EXPECT_EQ(InternedStyleTextCount(), count) << "a known text adds nothing";
    b.Set(static_cast<const unsigned short*>(nullptr));
    EXPECT_TRUE(b.IsEmpty());
}

// Records whose texts were set apart, from different buffers, are equal byte
// for byte and share one record; a different text keeps them apart.
TEST(InternedStyleText, RecordsWithEqualTextsShareOneRecord)
{
    std::vector<unsigned short> family = Units("Courier New");
    CSharedStyle a, b, c;
    a.Edit().fontFamily.Set(family.data());
    a.Edit().bkImage.Set("pictures/back.png");
    b.Edit().fontFamily.Set("Courier New");
    b.Edit().bkImage.Set(Units("pictures/back.png").data());
    c.Edit().fontFamily.Set("Courier New");
    c.Edit().bkImage.Set("pictures/back.gif");
    family.assign(family.size(), 'x');
    EXPECT_EQ(std::memcmp(&a.Get(), &b.Get(), sizeof(ELEMENT_STYLE)), 0);
    a.Share();
    b.Share();
    c.Share();
    EXPECT_EQ(&a.Get(), &b.Get());
    EXPECT_NE(&a.Get(), &c.Get());
    EXPECT_EQ(U16cmp(a.Get().fontFamily, "Courier New"), 0) << "the field keeps its own copy";
}
