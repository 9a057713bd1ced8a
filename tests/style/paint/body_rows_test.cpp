// The body's entries answer from their ends and by halving while they are
// ordered; those answers must be the ones a walk over every entry gives.

#include "style/paint/BodyRows.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

using qm::paint::BodyRow;
using qm::paint::BodyRows;

BodyRows Entries(const std::vector<std::pair<int, int>>& spans, bool ordered)
{
    BodyRows rows;
    for (const auto& s : spans)
        rows.rows.push_back(BodyRow{nullptr, s.first, s.second, 0});
    rows.ordered = ordered;
    return rows;
}

} // namespace

TEST(BodyRows, OrderedEntriesAnswerAsAWalkOverAllOfThem)
{
    const std::vector<std::vector<std::pair<int, int>>> cases = {
        {{0, 10}},
        {{0, 10}, {10, 20}},
        {{0, 10}, {10, 20}, {20, 35}, {35, 35}, {35, 50}},
        {{-5, 12}, {0, 12}, {12, 40}, {40, 41}, {41, 90}, {60, 90}},
    };
    for (const auto& spans : cases) {
        const BodyRows fast = Entries(spans, true), walk = Entries(spans, false);
        const std::string name = std::to_string(spans.size()) + " entries";
        for (size_t at = 0; at < spans.size(); ++at) {
            for (const bool split : {false, true}) {
                int a[3], b[3];
                ASSERT_TRUE(BodyRowsAround(fast, at, split, a[0], a[1], a[2]));
                ASSERT_TRUE(BodyRowsAround(walk, at, split, b[0], b[1], b[2]));
                EXPECT_EQ(std::vector<int>(a, a + 3), std::vector<int>(b, b + 3))
                    << name << ", at " << at << (split ? ", split" : "");
            }
        }
        // No entry before the first one below a row meets a band from that row.
        for (int top = -10; top <= 100; top += 3) {
            const size_t first = FirstBodyRowBelow(fast, top);
            EXPECT_EQ(FirstBodyRowBelow(walk, top), 0u);
            for (size_t i = 0; i < first; ++i)
                EXPECT_LE(spans[i].second, top) << name << ", row " << top;
            if (first < spans.size()) {
                EXPECT_GT(spans[first].second, top) << name << ", row " << top;
            }
        }
    }
    // An entry never painted makes the walk give up.
    int before, tailTop, tailBottom;
    EXPECT_FALSE(
        BodyRowsAround(Entries({{0, 10}, {INT_MIN, INT_MAX}}, false), 0, true, before, tailTop, tailBottom));
}
