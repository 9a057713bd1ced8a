// The normalising of a text run read from markup (ValidateText): white space
// collapsed, line breaks at the edges dropped or kept as a blank, and the
// caret marker taken out with its offset kept; and the scans it stands on,
// against a character-by-character reading of the same rule.

#include "tests/common/CaseFile.h"

#include "element/markup/SourceCode.h"
#include "elements/TextElement.h"
#include "elements/TextRunScan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The cases write the caret marker as '|' and a control character as '^'
// followed by a letter (^A for 1).
std::u16string Decode(const std::string& text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '|') {
            for (const char* m = kCaretMarker; *m; ++m)
                out += static_cast<char16_t>(*m);
        } else if (text[i] == '^' && i + 1 < text.size()) {
            out += static_cast<char16_t>(text[++i] - '@');
        } else {
            out += static_cast<char16_t>(static_cast<unsigned char>(text[i]));
        }
    }
    return out;
}

std::string Encode(const std::u16string& text, int mark)
{
    std::string out;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (static_cast<int>(i) == mark)
            out += '|';
        if (i == text.size())
            break;
        const char16_t c = text[i];
        if (c < ' ' && c != '\t' && c != '\n' && c != '\r') {
            out += '^';
            out += static_cast<char>(c + '@');
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

CSafeBuf Buf(const std::u16string& text)
{
    CSafeBuf s;
    for (char16_t c : text)
        s += static_cast<unsigned short>(c);
    return s;
}

TEST(TextNormalise, TextInTextOut)
{
    const auto cases = qmtest::ReadCaseFile("text_runs/normalise.txt", 3);
    ASSERT_FALSE(cases.empty());
    for (const qmtest::CaseLine& c : cases) {
        // "word": the run follows a run of text on the same line.
        CTextElement before(nullptr);
        before.m_text = "word";
        CTextElement run(nullptr);
        if (c.fields[0] == "word")
            run.m_prevSibling = &before;
        run.m_text = Buf(Decode(c.fields[1]));
        run.ValidateText();
        const unsigned short* p = run.m_text;
        const std::u16string got(p, p + run.m_text.Length());
        EXPECT_EQ(Encode(got, run.m_cursorMark), c.fields[2]) << "line " << c.line << ": " << c.fields[1];
        run.m_prevSibling = nullptr;
    }
}

// The rule UnchangedPrefix reads eight units at a time, one unit at a time.
int PrefixByUnits(const std::u16string& s)
{
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] < ' ' || (s[i] == ' ' && i > 0 && s[i - 1] == ' '))
            return static_cast<int>(i);
    }
    return static_cast<int>(s.size());
}

const unsigned short* Units(const std::u16string& s)
{
    return reinterpret_cast<const unsigned short*>(s.data());
}

// Every length up to three steps of eight and a half, with one or two
// characters that end the stretch at every place: the first found must be
// the first there is, at the edges of the steps and in the last units.
TEST(TextNormalise, UnchangedPrefixEndsWhereTheRuleSays)
{
    const char16_t stops[][2]
        = {{u'\n', u'a'}, {u'\t', u'a'}, {u'\x01', u'a'}, {u' ', u' '}, {u'\x1F', u' '}};
    for (int n = 0; n <= 28; ++n) {
        std::u16string base;
        for (int i = 0; i < n; ++i)
            base += i % 3 == 2 ? u' ' : static_cast<char16_t>(i % 2 ? 0xFFFF : u'a' + i % 26);
        ASSERT_EQ(UnchangedPrefix(Units(base), n), PrefixByUnits(base)) << "n " << n;
        for (int at = 0; at + 1 < n; ++at) {
            for (const auto& stop : stops) {
                std::u16string s = base;
                s[at] = stop[0];
                s[at + 1] = stop[1];
                ASSERT_EQ(UnchangedPrefix(Units(s), n), PrefixByUnits(s)) << "n " << n << " at " << at;
            }
        }
    }
}

TEST(TextNormalise, TheMarkerSearchFindsTheFirstWholeMatch)
{
    const std::u16string needle = u"_x_";
    for (int n = 0; n <= 28; ++n) {
        for (int at = -1; at < n; ++at) {
            // Underscores everywhere, the needle's start without its end,
            // and the needle itself at one place (when it fits).
            std::u16string s(static_cast<size_t>(n), u'_');
            for (int i = 1; i < n; i += 2)
                s[static_cast<size_t>(i)] = u'y';
            if (at >= 0 && at + 3 <= n)
                s.replace(static_cast<size_t>(at), 3, needle);
            const size_t found = s.find(needle);
            const int expected = found == std::u16string::npos ? -1 : static_cast<int>(found);
            ASSERT_EQ(CSafeBuf(Units(s)).Find(Units(needle)), expected) << "n " << n << " at " << at;
        }
    }
    EXPECT_EQ(CSafeBuf(Units(needle)).Find(Units(std::u16string())), -1);
    EXPECT_EQ(CSafeBuf().Find(Units(needle)), -1);
}

} // namespace
