// ASCII prefix and suffix tests without regard to case.

#include "base/text/Ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AsciiNoCase, StartsWith)
{
    EXPECT_TRUE(StartsWithNoCase("http://host/", "http:"));
    EXPECT_TRUE(StartsWithNoCase("HTTPS://host/", "https:"));
    EXPECT_TRUE(StartsWithNoCase("File://x", "FILE://"));
    EXPECT_TRUE(StartsWithNoCase("abc", ""));
    EXPECT_TRUE(StartsWithNoCase("http:", "http:"));
    EXPECT_FALSE(StartsWithNoCase("http", "http:"));
    EXPECT_FALSE(StartsWithNoCase("", "h"));
    EXPECT_FALSE(StartsWithNoCase(" http:", "http:"));
    EXPECT_FALSE(StartsWithNoCase("ftp://", "http:"));
    // Only A-Z and a-z have a case: a byte of a UTF-8 sequence matches only itself.
    EXPECT_FALSE(StartsWithNoCase("\xC3\xA9t\xC3\xA9", "\xC3\x89"));
    EXPECT_TRUE(StartsWithNoCase(std::string("a\0b", 3), std::string("A\0", 2)));
}

TEST(AsciiNoCase, EndsWith)
{
    EXPECT_TRUE(EndsWithNoCase("picture.ICNS", ".icns"));
    EXPECT_FALSE(EndsWithNoCase("icns", ".icns"));
    EXPECT_TRUE(EndsWithNoCase("x", ""));
}

} // namespace
