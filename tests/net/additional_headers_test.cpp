#include "net/AdditionalHeaders.h"

#include "base/text/SafeBuf.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

TEST(HeaderFieldTest, CutsAtCapacityWithoutSplittingSurrogatePairs)
{
    ADDITIONAL_HTTP_HEADERS h;
    ClearAdditionalHeaders(&h);
    std::string id(250, 'i');
    EXPECT_EQ(SetHeaderField(h.UserID, FromUtf8(id)), 200);
    EXPECT_EQ(ToUtf8(h.UserID), std::string(200, 'i'));

    // 199 letters then a character outside the basic plane: the pair would
    // end at unit 201, so it is left out whole.
    std::string tail = std::string(199, 'a') + "\xF0\x9F\x98\x80";
    EXPECT_EQ(SetHeaderField(h.UserID, FromUtf8(tail)), 199);
    EXPECT_EQ(SetHeaderField(h.UserID, nullptr), 0);
    EXPECT_EQ(h.UserID[0], 0);
    EXPECT_EQ(std::string(AdditionalHeaderName(0)), "X-Document-ID");
    EXPECT_EQ(std::string(AdditionalHeaderName(17)), "X-TagList");
    EXPECT_EQ(AdditionalHeaderCount(), 18);
    EXPECT_EQ(AdditionalHeaderValue(&h, 18), nullptr);
}
