// UTF-8 decoding of text of any length: each kind of sequence, malformed,
// truncated and surrogate bytes, at every place around the blocks of ASCII
// that are widened at once, against the units expected and against a
// decoder that reads one sequence at a time.

#include "base/text/SafeBuf.h"
#include "base/text/Utf.h"
#include "platform/common/Utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
using Units = std::vector<unsigned short>;

struct Case
{
    int line;
    Bytes bytes;
    Units units;
};

std::vector<Case> LoadCases()
{
    std::ifstream in(QM_TEST_DATA_DIR "/utf8/decode.txt");
    EXPECT_TRUE(in.good());
    std::vector<Case> cases;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t bar = line.find('|');
        EXPECT_NE(bar, std::string::npos) << "line " << number;
        if (bar == std::string::npos)
            continue;
        Case c{number, {}, {}};
        std::istringstream bytes(line.substr(0, bar)), units(line.substr(bar + 1));
        unsigned value = 0;
        while (bytes >> std::hex >> value)
            c.bytes.push_back(static_cast<unsigned char>(value));
        while (units >> std::hex >> value)
            c.units.push_back(static_cast<unsigned short>(value));
        cases.push_back(c);
    }
    return cases;
}

Units Decode(const Bytes& bytes)
{
    Units out(bytes.size() + 1, 0xEEEE);
    const int n = UTF82UnicodeInto(bytes.data(), static_cast<int>(bytes.size()), out.data());
    EXPECT_LE(static_cast<size_t>(n), bytes.size());
    // Nothing is written past the units answered.
    EXPECT_EQ(out[static_cast<size_t>(n)], 0xEEEE);
    out.resize(static_cast<size_t>(n));
    return out;
}

// One sequence at a time, with the same rules.
Units DecodePlainly(const Bytes& bytes)
{
    Units out;
    const unsigned char* in = bytes.data();
    const size_t end = bytes.size();
    for (size_t i = 0; i < end;) {
        char32_t c = 0;
        const int taken = qm::utf8::Decode(in + i, end - i, c);
        if (taken == 0) {
            ++i;
            continue;
        }
        i += static_cast<size_t>(taken);
        if (c >= 0x10000) {
            out.push_back(qm::utf8::HighSurrogate(c));
            out.push_back(qm::utf8::LowSurrogate(c));
        } else if (qm::utf8::IsHighSurrogate(c)) {
            char32_t low = 0;
            if (qm::utf8::Decode(in + i, end - i, low) == 3 && qm::utf8::IsLowSurrogate(low)) {
                out.push_back(static_cast<unsigned short>(c));
                out.push_back(static_cast<unsigned short>(low));
                i += 3;
            }
        } else if (!qm::utf8::IsLowSurrogate(c) && c != 0xFFFE && c != 0xFFFF) {
            out.push_back(static_cast<unsigned short>(c));
        }
    }
    return out;
}

TEST(Utf8Decode, CasesAloneAndAtEveryPlaceInAsciiText)
{
    const std::vector<Case> cases = LoadCases();
    ASSERT_GT(cases.size(), 40u);
    const size_t afters[] = {0, 1, 7, 15, 16, 17, 31, 33};
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.bytes), c.units) << "line " << c.line;
        for (size_t before = 0; before <= 34; ++before) {
            for (size_t after : afters) {
                Bytes bytes(before, 'a');
                bytes.insert(bytes.end(), c.bytes.begin(), c.bytes.end());
                bytes.insert(bytes.end(), after, 'z');
                Units units(before, 'a');
                units.insert(units.end(), c.units.begin(), c.units.end());
                units.insert(units.end(), after, 'z');
                EXPECT_EQ(Decode(bytes), units)
                    << "line " << c.line << ", " << before << " before, " << after << " after";
            }
        }
    }
}

// Text mixing ASCII runs of every length with the cases' bytes (which may
// then run into each other: a truncated sequence before continuation bytes)
// decodes as the plain decoder decodes it.
TEST(Utf8Decode, MixedTextAsThePlainDecoder)
{
    const std::vector<Case> cases = LoadCases();
    ASSERT_FALSE(cases.empty());
    std::mt19937 random(20261209);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes;
        const int pieces = static_cast<int>(random() % 12);
        for (int p = 0; p < pieces; ++p) {
            bytes.insert(bytes.end(), random() % 40, static_cast<unsigned char>('A' + p));
            const Case& c = cases[random() % cases.size()];
            bytes.insert(bytes.end(), c.bytes.begin(), c.bytes.end());
            if (random() % 4 == 0)
                bytes.push_back(static_cast<unsigned char>(0x80 + random() % 0x80));
        }
        EXPECT_EQ(Decode(bytes), DecodePlainly(bytes)) << "round " << round;
    }
}

TEST(Utf8Decode, StringFromBytesOfAKnownLength)
{
    const std::string text = "caf\xC3\xA9 au lait, \xE2\x82\xAC"
                             "5, and a long run of plain text after it";
    CSafeBuf terminated, counted;
    terminated.AssignUTF8(text.c_str());
    counted.AssignUTF8(text.c_str(), static_cast<int>(text.size()));
    EXPECT_TRUE(counted == terminated);
    EXPECT_EQ(counted.Length(), static_cast<int>(text.size()) - 3);
    // Part of the bytes: a sequence cut off by the length is dropped.
    counted.AssignUTF8(text.c_str(), 4);
    EXPECT_TRUE(counted == CSafeBuf("caf"));
    counted.AssignUTF8(text.c_str(), 0);
    EXPECT_TRUE(counted.IsEmpty());
    counted.AssignUTF8(nullptr, 5);
    EXPECT_TRUE(counted.IsEmpty());
}

} // namespace
