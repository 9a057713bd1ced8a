// The CSS value helpers, each family driven by its case file under
// tests/data/css_values/.

#include "style/values/BorderValues.h"
#include "style/values/HexValue.h"
#include "style/values/ValueParts.h"

#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qmtest::ReadCaseFile;
using qmtest::Utf8;
using qmtest::Wide;

TEST(GetLineType, TableOfCases)
{
    const auto cases = ReadCaseFile("css_values/line_types.txt", 3);
    ASSERT_GT(cases.size(), 15u);
    for (const auto& c : cases) {
        EXPECT_EQ(std::stoi(c.fields[2]), GetLineType(Wide(c.fields[0]), c.fields[1] == "search"))
            << "line " << c.line << ": " << c.fields[0];
    }
}

TEST(GetWidth, TableOfCases)
{
    const auto cases = ReadCaseFile("css_values/widths.txt", 2);
    ASSERT_GT(cases.size(), 10u);
    for (const auto& c : cases)
        EXPECT_EQ(std::stoi(c.fields[1]), GetWidth(Wide(c.fields[0])))
            << "line " << c.line << ": " << c.fields[0];
}

TEST(HexDec, TableOfCases)
{
    const auto cases = ReadCaseFile("css_values/hexdec.txt", 2);
    ASSERT_GT(cases.size(), 5u);
    for (const auto& c : cases)
        EXPECT_EQ(std::stol(c.fields[1]), HexDec(Wide(c.fields[0])))
            << "line " << c.line << ": " << c.fields[0];
}

namespace {

// Every part from position 0 on, each in brackets; the one-character form
// when the separator is one character and useText is false.
std::string AllParts(const CSafeBuf& text, const CSafeBuf& separator, bool useText)
{
    std::string out;
    CSafeBuf part("left over");
    int position = 0;
    for (int guard = 0; guard < 100; ++guard) {
        const bool found = useText ? GetPartStr(text, position, separator, part)
                                   : GetPartStr(text, position, separator.GetAt(0), part);
        if (!found) {
            EXPECT_TRUE(part.IsEmpty());
            break;
        }
        out += "[" + Utf8(part) + "]";
    }
    return out;
}

} // namespace

TEST(GetPartStr, TableOfCases)
{
    const auto cases = ReadCaseFile("css_values/parts.txt", 3);
    ASSERT_GT(cases.size(), 8u);
    for (const auto& c : cases) {
        const CSafeBuf text = Wide(c.fields[0]), separator = Wide(c.fields[1]);
        EXPECT_EQ(c.fields[2], AllParts(text, separator, true)) << "line " << c.line;
        if (separator.Length() == 1) {
            EXPECT_EQ(c.fields[2], AllParts(text, separator, false)) << "line " << c.line;
        }
    }

    const auto after = ReadCaseFile("css_values/parts_after.txt", 4);
    ASSERT_GT(after.size(), 4u);
    for (const auto& c : after) {
        const CSafeBuf text = Wide(c.fields[0]), start = Wide(c.fields[1]), separator = Wide(c.fields[2]);
        CSafeBuf part, partByCharacter;
        const bool found = GetPartStr(text, start, separator, part);
        EXPECT_EQ(c.fields[3], found ? "[" + Utf8(part) + "]" : "(none)") << "line " << c.line;
        if (separator.Length() == 1) {
            EXPECT_EQ(found, GetPartStr(text, start, separator.GetAt(0), partByCharacter))
                << "line " << c.line;
            EXPECT_TRUE(part == partByCharacter) << "line " << c.line;
        }
    }
}

TEST(GetPartStr, LongPartComesWholeAndIntoItsOwnBuffer)
{
    CSafeBuf text(static_cast<unsigned short>('x'), 20000);
    text += ",y";
    CSafeBuf first, second;
    int position = 0;
    ASSERT_TRUE(GetPartStr(text, position, ',', first));
    ASSERT_TRUE(GetPartStr(text, position, ',', second));
    EXPECT_EQ(20000, first.Length());
    EXPECT_EQ("y", Utf8(second));

    // The text may be the part's own buffer.
    CSafeBuf self = Wide("ab,cd");
    position = 3;
    ASSERT_TRUE(GetPartStr(self, position, ',', self));
    EXPECT_EQ("cd", Utf8(self));

    position = -1;
    EXPECT_FALSE(GetPartStr(text, position, ',', first));
}

TEST(GetPartStr, PositionPastTheEndIsNoPart)
{
    // The text ends inside a larger buffer whose units past the terminator
    // hold characters: none of them may be taken for a part.
    const unsigned short buffer[] = {'a', ',', 'b', 0, 'x', 'y', ',', 'z', 0};
    CSafeBuf part("left over");
    for (int start : {3, 4, 5, 7}) {
        int position = start;
        EXPECT_FALSE(GetPartStr(buffer, position, ',', part)) << "position " << start;
        EXPECT_TRUE(part.IsEmpty()) << "position " << start;
        position = start;
        EXPECT_FALSE(GetPartStr(buffer, position, static_cast<const unsigned short*>(CSafeBuf(",")), part))
            << "position " << start;
    }
}

TEST(CutString, TableOfCases)
{
    const auto cases = ReadCaseFile("css_values/cut.txt", 4);
    ASSERT_GT(cases.size(), 4u);
    for (const auto& c : cases) {
        CSafeBuf text = Wide(c.fields[0]);
        int length = text.Length();
        const int answer = CutString(text, length, std::stoi(c.fields[1]), c.fields[2] == "front");
        text.BufferChanged();
        EXPECT_EQ(c.fields[3], Utf8(text)) << "line " << c.line;
        EXPECT_EQ(text.Length(), answer) << "line " << c.line;
        EXPECT_EQ(text.Length(), length) << "line " << c.line;
    }
}

TEST(GetLine, TableOfCases)
{
    const auto cases = ReadCaseFile("css_values/lines.txt", 4);
    ASSERT_GT(cases.size(), 5u);
    for (const auto& c : cases) {
        const CSafeBuf text = Wide(c.fields[0]);
        const int maximum = std::stoi(c.fields[2]);
        // Exactly maximum characters and the terminator, so the sanitizer
        // sees any write past them.
        std::vector<unsigned short> line(static_cast<size_t>(maximum) + 1);
        std::string lines;
        const unsigned short* p = text;
        for (int guard = 0; guard < 100; ++guard) {
            p = GetLine(p, line.data(), static_cast<unsigned short>(c.fields[1][0]), maximum);
            if (!p)
                break;
            lines += "[" + Utf8(CSafeBuf(line.data())) + "]";
        }
        EXPECT_EQ(c.fields[3], lines) << "line " << c.line;
    }
}
