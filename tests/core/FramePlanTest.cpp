// The copy plan writes every pixel of a presented area exactly once, and
// nothing outside it, whatever the card and the ticker's line cover.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/show/FramePlan.h"

using namespace mirobel;

namespace {
Rect RandomRect(std::mt19937& random, bool mayBeEmpty) {
    std::uniform_int_distribution<int> at(-5, 40), size(mayBeEmpty ? 0 : 1, 25);
    const int left = at(random), top = at(random);
    return {left, top, left + size(random), top + size(random)};
}
}  // namespace

TEST(FramePlan, CoversTheAreaOnceAndNothingElseOrRefusesWhenTheLineRunsOverTheCard) {
    std::mt19937 random(7);
    int planned = 0, refused = 0;
    for (int i = 0; i < 3000; ++i) {
        const Rect area = RandomRect(random, false), card = RandomRect(random, true),
                   ticker = RandomRect(random, true);
        const auto plan = PlanCopies(area, card, ticker);
        const bool crossing = Overlap(Intersect(card, area), Intersect(ticker, area));
        ASSERT_EQ(!plan, crossing) << i;
        if (!plan) {
            ++refused;
            continue;
        }
        ++planned;
        EXPECT_TRUE(Inside(plan->card, card) && Inside(plan->ticker, ticker)) << i;
        std::vector<Rect> pieces = plan->black;
        pieces.push_back(plan->card);
        pieces.push_back(plan->ticker);
        for (int y = -10; y < 70; ++y) {
            for (int x = -10; x < 70; ++x) {
                int writes = 0;
                for (const Rect& p : pieces)
                    writes += !Empty(p) && x >= p.left && x < p.right && y >= p.top && y < p.bottom;
                const bool inArea = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                ASSERT_EQ(writes, inArea ? 1 : 0) << "case " << i << " at " << x << ", " << y;
            }
        }
        // Where the card lies, the card is copied, not black.
        EXPECT_EQ(plan->card, Empty(Intersect(card, area)) ? Rect{} : Intersect(card, area)) << i;
    }
    EXPECT_GT(planned, 1000);
    EXPECT_GT(refused, 30);
}
