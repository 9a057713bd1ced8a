// Letter case folding for finds without regard to case: every case of a
// letter folds to one unit, letters without a simple case pair and all
// other units fold to themselves.

#include "base/text/LetterCase.h"

#include <gtest/gtest.h>

namespace {

struct Pair
{
    unsigned short capital;
    unsigned short small;
    const char* what;
};

TEST(LetterCase, CapitalsAndSmallLettersFoldAlike)
{
    const Pair pairs[] = {
        {'A', 'a', "ASCII"},
        {'Z', 'z', "ASCII, last"},
        {0x00C9, 0x00E9, "E acute (Latin-1)"},
        {0x00DE, 0x00FE, "thorn, the last capital of Latin-1"},
        {0x0178, 0x00FF, "Y diaeresis: its capital stands in Latin Extended-A"},
        {0x0100, 0x0101, "A macron (pairs in order capital, small)"},
        {0x0139, 0x013A, "L acute (pairs in order small, capital after U+0138)"},
        {0x0152, 0x0153, "ligature OE"},
        {0x017D, 0x017E, "Z caron"},
        {0x0181, 0x0253, "B hook, whose small letter is an IPA letter"},
        {0x01C4, 0x01C6, "DZ caron, capital"},
        {0x01C5, 0x01C6, "Dz caron, title case"},
        {0x0218, 0x0219, "S comma below (Latin Extended-B)"},
        {0x1E9E, 0x00DF, "capital sharp s"},
        {0x1EA0, 0x1EA1, "A dot below (Latin Extended Additional)"},
        {0x0386, 0x03AC, "Greek alpha with tonos"},
        {0x0391, 0x03B1, "Greek alpha"},
        {0x03A3, 0x03C3, "Greek sigma"},
        {0x03A3, 0x03C2, "Greek final sigma"},
        {0x039C, 0x00B5, "micro sign, a Greek mu"},
        {0x0400, 0x0450, "Cyrillic Ie grave"},
        {0x0410, 0x0430, "Cyrillic A"},
        {0x042F, 0x044F, "Cyrillic Ya"},
        {0x0460, 0x0461, "Cyrillic omega (pairs)"},
        {0x04C0, 0x04CF, "Cyrillic palochka"},
        {0x0500, 0x0501, "Cyrillic Supplement"},
        {'S', 0x017F, "long s"},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(FoldLetterCase(p.capital), FoldLetterCase(p.small));
        EXPECT_EQ(FoldLetterCase(FoldLetterCase(p.small)), FoldLetterCase(p.small))
            << "a fold is its own fold";
    }
}

TEST(LetterCase, OtherUnitsAreTheirOwnFold)
{
    const unsigned short units[]
        = {'0', '@', '[', '`', '{', 0x00D7 /* multiplication sign */, 0x00F7 /* division sign */,
            0x00DF /* sharp s: its capital is two letters */, 0x0138 /* kra */, 0x0131 /* dotless i */,
            0x0130 /* I with dot: its small form is two units */, 0x0390, 0x4E00, 0xD800, 0xFFFD, 0xFFFF, 0};
    for (const unsigned short u : units)
        EXPECT_EQ(u, FoldLetterCase(u)) << std::hex << u;
    // Neighbours of the pairs that are no letters of them.
    EXPECT_NE(FoldLetterCase(0x00D7), FoldLetterCase(0x00F7));
    EXPECT_NE(FoldLetterCase('I'), FoldLetterCase(0x0131));
}

} // namespace
