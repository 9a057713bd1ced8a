#include "net/AdditionalHeaders.h"

#include "base/SafeBuf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CSafeBuf U(const std::string& s)
{
    CSafeBuf b;
    b.AssignUTF8(s.c_str());
    return b;
}

std::string Utf8(const unsigned short* text)
{
    CSafeBuf b(text);
    char* bytes = nullptr;
    int n = b.CreateUTF8Str(&bytes);
    std::string out = bytes ? std::string(bytes, static_cast<size_t>(n)) : std::string();
    delete[] bytes;
    return out;
}

} // namespace

TEST(HeaderFieldTest, CutsAtCapacityWithoutSplittingSurrogatePairs)
{
    ADDITIONAL_HTTP_HEADERS h;
    ClearAdditionalHeaders(&h);
    std::string id(250, 'i');
    EXPECT_EQ(SetHeaderField(h.UserID, U(id)), 200);
    EXPECT_EQ(Utf8(h.UserID), std::string(200, 'i'));

    // 199 letters then a character outside the basic plane: the pair would
    // end at unit 201, so it is left out whole.
    std::string tail = std::string(199, 'a') + "\xF0\x9F\x98\x80";
    EXPECT_EQ(SetHeaderField(h.UserID, U(tail)), 199);
    EXPECT_EQ(SetHeaderField(h.UserID, nullptr), 0);
    EXPECT_EQ(h.UserID[0], 0);
    EXPECT_EQ(std::string(AdditionalHeaderName(0)), "X-Document-ID");
    EXPECT_EQ(std::string(AdditionalHeaderName(17)), "X-TagList");
    EXPECT_EQ(AdditionalHeaderCount(), 18);
    EXPECT_EQ(AdditionalHeaderValue(&h, 18), nullptr);
}
