// Base64, hex, URL percent-encoding and MD5.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/codec/Base64.h"
#include "base/codec/Hex.h"
#include "base/codec/MD5Checksum.h"
#include "base/url/UrlEncoder.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

using qmtest::U16;

namespace {

std::string Base64Of(const std::string& bytes, bool lineBreaks)
{
    char* out = nullptr;
    int n = -1;
    CBase64::Encode(bytes.data(), static_cast<int>(bytes.size()), out, n, lineBreaks);
    std::string s = out ? std::string(out, static_cast<size_t>(n)) : std::string("<null>");
    if (out) {
        EXPECT_EQ(out[n], 0);
    }
    delete[] out;
    return s;
}

std::string FromBase64(const std::string& text)
{
    char* out = nullptr;
    int n = -1;
    CBase64::Decode(text.data(), static_cast<int>(text.size()), out, n);
    std::string s = out ? std::string(out, static_cast<size_t>(n)) : std::string("<null>");
    delete[] out;
    return s;
}

std::string Md5Of(const std::string& text)
{
    char* digest = CMD5Checksum::GetMD5(
        reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned int>(text.size()));
    if (!digest)
        return "<null>";
    for (int i = 32; i < 40; ++i)
        EXPECT_EQ(digest[i], 0) << "byte " << i;
    std::string s(digest);
    delete[] digest;
    return s;
}

} // namespace

TEST(Base64, KnownVectors)
{
    EXPECT_EQ(Base64Of("f", false), "Zg==");
    EXPECT_EQ(Base64Of("fo", false), "Zm8=");
    EXPECT_EQ(Base64Of("foo", false), "Zm9v");
    EXPECT_EQ(Base64Of("foobar", false), "Zm9vYmFy");
    EXPECT_EQ(Base64Of(std::string("\xFF\xFE\x00", 3), false), "//4A");
}

TEST(Base64, NothingForEmptyInput)
{
    char* out = reinterpret_cast<char*>(1);
    int n = 5;
    EXPECT_FALSE(CBase64::Encode("abc", 0, out, n, true));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(n, 0);
    EXPECT_FALSE(CBase64::Encode(static_cast<const char*>(nullptr), 3, out, n, true));
}

TEST(Base64, LineBreaksAfterEveryCompleteLine)
{
    const std::string b57(57, 'x');
    const std::string e57 = Base64Of(b57, true);
    ASSERT_EQ(e57.size(), 78u);
    EXPECT_EQ(e57.substr(76), "\r\n");
    EXPECT_EQ(e57.find('='), std::string::npos);

    const std::string e56 = Base64Of(std::string(56, 'x'), true);
    ASSERT_EQ(e56.size(), 76u);
    EXPECT_EQ(e56.back(), '=');
    EXPECT_EQ(e56.find('\r'), std::string::npos);

    const std::string e58 = Base64Of(std::string(58, 'x'), true);
    ASSERT_EQ(e58.size(), 82u);
    EXPECT_EQ(e58.substr(76, 2), "\r\n");
    EXPECT_EQ(e58.substr(80), "==");

    const std::string e114 = Base64Of(std::string(114, 'x'), true);
    ASSERT_EQ(e114.size(), 156u);
    EXPECT_EQ(e114.substr(76, 2), "\r\n");
    EXPECT_EQ(e114.substr(154), "\r\n");

    EXPECT_EQ(Base64Of(b57, false).size(), 76u);
}

TEST(Base64, RoundTripOfEveryByteValueThroughAllForms)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    bytes += bytes; // 512 bytes: several lines

    EXPECT_EQ(FromBase64(Base64Of(bytes, true)), bytes);

    // 8-bit in, UTF-16 out; UTF-16 in (low bytes), 8-bit out.
    unsigned short* wide = nullptr;
    int wideLength = 0;
    ASSERT_TRUE(CBase64::Encode(bytes.data(), static_cast<int>(bytes.size()), wide, wideLength, true));
    char* back = nullptr;
    int backLength = 0;
    ASSERT_TRUE(CBase64::Decode(wide, wideLength, back, backLength));
    EXPECT_EQ(std::string(back, static_cast<size_t>(backLength)), bytes);
    delete[] back;

    // UTF-16 out, one decoded byte per unit, zero-extended.
    unsigned short* units = nullptr;
    int unitCount = 0;
    ASSERT_TRUE(CBase64::Decode(wide, wideLength, units, unitCount));
    ASSERT_EQ(unitCount, 512);
    for (int i = 0; i < unitCount; ++i)
        ASSERT_EQ(units[i], i % 256) << i;
    EXPECT_EQ(units[unitCount], 0);
    delete[] units;
    delete[] wide;

    // UTF-16 input: only the low byte of each unit is encoded.
    unsigned short* enc = nullptr;
    int encLength = 0;
    ASSERT_TRUE(CBase64::Encode(U16(u"\u0166oo"), 3, enc, encLength, false));
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(enc), static_cast<size_t>(encLength)), u"Zm9v");
    delete[] enc;
}

TEST(Base64, DecodeSkipsForeignCharactersAndStopsAtPad)
{
    EXPECT_EQ(FromBase64("Zm9v\r\nYmFy"), "foobar");
    EXPECT_EQ(FromBase64(" Zm 9v*"), "foo");
    EXPECT_EQ(FromBase64("Zg==Zm9v"), "f");
    EXPECT_EQ(FromBase64("Zm8"), "<null>"); // below four characters

    // A unit above 0xFF is not an alphabet character even if its low byte is.
    char* out = nullptr;
    int n = 0;
    ASSERT_TRUE(CBase64::Decode(U16(u"Z\u0141g=="), 5, out, n));
    EXPECT_EQ(std::string(out, static_cast<size_t>(n)), "f");
    delete[] out;
}

TEST(Hex, EncodeWritesUpperCasePairs)
{
    char* out = nullptr;
    int n = 0;
    ASSERT_TRUE(CHex::Encode("\x00\xAB\xFF\x5c", 4, out, n));
    EXPECT_EQ(n, 8);
    EXPECT_STREQ(out, "00ABFF5C");
    delete[] out;

    ASSERT_TRUE(CHex::Encode(U16(u"\u01FF\u0020"), 2, out, n));
    EXPECT_STREQ(out, "FF20");
    delete[] out;

    EXPECT_FALSE(CHex::Encode("x", 0, out, n));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(n, 0);
}

TEST(Hex, DecodePairsAnyCaseAndTreatsNonDigitsAsZero)
{
    char* out = nullptr;
    int n = 0;
    ASSERT_TRUE(CHex::Decode("0aFfzzG1", 8, out, n));
    ASSERT_EQ(n, 4);
    EXPECT_EQ(static_cast<unsigned char>(out[0]), 0x0A);
    EXPECT_EQ(static_cast<unsigned char>(out[1]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(out[2]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(out[3]), 0x01);
    delete[] out;

    // Unpaired last digit ignored; UTF-16 units above 0xFF are not digits.
    ASSERT_TRUE(CHex::Decode(U16(u"AB\u0141\u01466"), 5, out, n));
    ASSERT_EQ(n, 2);
    EXPECT_EQ(static_cast<unsigned char>(out[0]), 0xAB);
    EXPECT_EQ(static_cast<unsigned char>(out[1]), 0x00);
    delete[] out;

    EXPECT_FALSE(CHex::Decode("A", 1, out, n));
    EXPECT_EQ(out, nullptr);
}

TEST(Hex, DecodeToLongAndDigits)
{
    EXPECT_EQ(CHex::DecodeToLong("#FF-00"), 0xFF00);
    EXPECT_EQ(CHex::DecodeToLong("1G"), 0x10);              // letters beyond F add 0 but shift
    EXPECT_EQ(CHex::DecodeToLong("123456789"), 0x23456789); // wraps at 32 bits
    EXPECT_EQ(CHex::DecodeToLong("FFFFFFFF"), -1);
    EXPECT_EQ(CHex::DecodeToLong(nullptr), 0);
    EXPECT_EQ(CHex::Hex(0), '0');
    EXPECT_EQ(CHex::Hex(15), 'F');
    EXPECT_EQ(CHex::DeHex('f'), 15);
    EXPECT_EQ(CHex::DeHex('G'), 0);
    EXPECT_EQ(CHex::DeHex(static_cast<unsigned short>(0x0141)), 0);
}

TEST(Url, EncodeEscapesEverythingButLettersAndDigits)
{
    char out[64];
    EXPECT_TRUE(CURL::EncodeURL("a b/\xE9-9", out, -1, sizeof out));
    EXPECT_STREQ(out, "a%20b%2F%E9%2D9");
    // An explicit length takes zero bytes too.
    EXPECT_TRUE(CURL::EncodeURL("a\0b", out, 3, sizeof out));
    EXPECT_STREQ(out, "a%00b");
    EXPECT_TRUE(CURL::EncodeURL("", out, -1, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(CURL::EncodeURL(nullptr, out, -1, sizeof out));
    EXPECT_FALSE(CURL::EncodeURL("a", nullptr, -1, 10));
}

TEST(Url, EncodeNeverWritesPastTheOutput)
{
    char out[8];
    std::memset(out, '#', sizeof out);
    // "a b c" needs "a%20b%20c" (9 bytes + terminator); 6 bytes fit "a%20b".
    EXPECT_FALSE(CURL::EncodeURL("a b c", out, -1, 6));
    EXPECT_STREQ(out, "a%20b");
    EXPECT_EQ(out[6], '#');
    // Cut before an escape that does not fit whole.
    EXPECT_FALSE(CURL::EncodeURL("a b", out, -1, 4));
    EXPECT_STREQ(out, "a");
    EXPECT_FALSE(CURL::EncodeURL("ab", out, -1, 0));

    // The array form is bounded by the array's size.
    char small[3];
    EXPECT_FALSE(CURL::EncodeURL(" ", small, -1)); // "%20" and its terminator need 4
    EXPECT_STREQ(small, "");
    EXPECT_TRUE(CURL::EncodeURL("ab", small, -1));
    EXPECT_STREQ(small, "ab");
}

TEST(Url, Decode)
{
    char out[32];
    EXPECT_EQ(CURL::DecodeURL("%41%2f+x", out), 4);
    EXPECT_STREQ(out, "A/+x");
    EXPECT_EQ(CURL::DecodeURL("abc%", out), 4);
    EXPECT_STREQ(out, "abc%");
    EXPECT_EQ(CURL::DecodeURL("%4", out), 2);
    EXPECT_STREQ(out, "%4");
    EXPECT_EQ(CURL::DecodeURL("%G1", out), 3);
    EXPECT_STREQ(out, "%G1");
    EXPECT_EQ(CURL::DecodeURL("%e9%00z", out), 3);
    EXPECT_EQ(static_cast<unsigned char>(out[0]), 0xE9);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 'z');
    EXPECT_EQ(CURL::DecodeURL(nullptr, out), 0);

    std::memset(out, '#', sizeof out);
    EXPECT_EQ(CURL::DecodeURL("abcdef", out, 3), 2);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(out[3], '#');
}

TEST(MD5, KnownVectors)
{
    EXPECT_EQ(Md5Of(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(Md5Of("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(Md5Of("message digest"), "F96B697D7CB7938D525A2F31AAF161D0");
    // 56 bytes: the padding needs a second block.
    EXPECT_EQ(Md5Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
        "8215EF0796A20BCAAAE116D3876C664A");
    // 80 bytes: more than one block of input.
    std::string digits;
    for (int i = 0; i < 8; ++i)
        digits += "1234567890";
    EXPECT_EQ(Md5Of(digits), "57EDF4A22BE3C955AC49DA2E2107B67A");
    EXPECT_EQ(Md5Of(std::string(1000000, 'a')), "7707D6AE4E027C70EEA2A935C2296F21");
    EXPECT_EQ(CMD5Checksum::GetMD5(static_cast<const unsigned char*>(nullptr), 3), nullptr);
}

TEST(MD5, FileDigestMatchesBlockDigest)
{
    // Larger than one 1024-byte read, not a multiple of it: "abc...z" repeated
    // to 3000 bytes, whose digest was taken with an independent MD5 tool.
    std::string content;
    for (int i = 0; i < 3000; ++i)
        content += static_cast<char>('a' + i % 26);
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("md5-")));
    const std::string path = scratch.Path() + "/md5_input.bin";
    ASSERT_TRUE(qmtest::WriteFile(path, content));

    char* digest = CMD5Checksum::GetMD5(path.c_str());
    ASSERT_NE(digest, nullptr);
    EXPECT_EQ(std::string(digest), "2CDC6CFCED72F6BE4617710CAB9EB2AE");
    EXPECT_EQ(std::string(digest), Md5Of(content));
    delete[] digest;

    EXPECT_EQ(CMD5Checksum::GetMD5((scratch.Path() + "/no-such-file").c_str()), nullptr);
}
