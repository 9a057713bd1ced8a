#include "base/app/PropExchange.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

using qmtest::Equals;

TEST(PropExchange, NamesMatchWithoutCaseAndTheFirstWins)
{
    const char* names[] = {"Mode", "VALUE", "value", "Lang"};
    const char* values[] = {"source", "<p>caf\xC3\xA9 \xF0\x9F\x98\x80</p>", "second", nullptr};
    CPropExchange pe(names, values, 4);
    CSafeBuf v;
    pe.GetValue("value", v, "default");
    EXPECT_TRUE(Equals(v, u"<p>café 😀</p>"));
    PX_String(&pe, "mODE", v, nullptr);
    EXPECT_TRUE(Equals(v, u"source"));
}

TEST(PropExchange, AbsentAndNullValuesLeaveItEmptyWithoutTheDefault)
{
    const char* names[] = {"Lang", nullptr};
    const char* values[] = {nullptr, "orphan"};
    CPropExchange pe(names, values, 2);
    CSafeBuf v("stale");
    pe.GetValue("Lang", v, "en");
    EXPECT_TRUE(v.IsEmpty());
    v = "stale";
    PX_String(&pe, "CSS", v, "default.css");
    EXPECT_TRUE(v.IsEmpty());
    v = "stale";
    PX_String(nullptr, "CSS", v, nullptr);
    EXPECT_TRUE(v.IsEmpty());
    CPropExchange none(nullptr, values, 5);
    EXPECT_EQ(0, none.GetCount());
    none.GetValue("Lang", v);
    EXPECT_TRUE(v.IsEmpty());
}
