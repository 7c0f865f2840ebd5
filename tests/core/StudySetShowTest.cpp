// The card sequence of a show that keeps to a study set.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/poems/Poems.h"
#include "core/poems/StudySets.h"
#include "core/show/Card.h"
#include "core/show/ShowDriver.h"
#include "core/show/ShowRecord.h"
#include "support/FakePlatform.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
class StudySetShowTest : public ::testing::Test {
protected:
    // A fresh show of set `number` in this order, with a range that must not
    // matter; gives the set's poems.
    std::vector<int> Fresh(int number, int16_t type, int offset = 0) {
        FillPoemTables();
        show = ShowState{.sequenceOffset = offset};
        settings = Settings{.SelectFirst = 40, .SelectEnd = 45, .SelectType = type, .Set = static_cast<int16_t>(number)};
        random.values.clear(), random.next = 0, random.reseeds = 0;
        return StudySetNumbered(number) ? StudySetNumbered(number)->poems : std::vector<int>{};
    }
    std::vector<int> Cards(size_t count, RandomSource& source) {
        std::vector<int> seen;
        for (size_t i = 0; i < count; ++i) {
            PrepareCard(show, settings, fake.canvas, source);
            seen.push_back(show.PoemNo);
        }
        return seen;
    }
    ShowState show;
    Settings settings;
    FakePlatform fake;
    ScriptedRandom& random = fake.random;
};
}  // namespace

TEST_F(StudySetShowTest, OrderedShowsWalkTheSetFromItsEndOnWithTheMonitorsOffsetAndWrap) {
    for (int number = 1; number <= kStudySetCount; ++number)
        for (int16_t type : {int16_t{2}, int16_t{3}, int16_t{7}}) {
            std::vector<int> ordered = Fresh(number, type);
            if (type != 2) std::ranges::reverse(ordered);
            const size_t count = ordered.size();
            for (size_t offset : {size_t{0}, size_t{1}, count - 1, count + 3}) {
                Fresh(number, type, static_cast<int>(offset));
                std::vector<int> expected;
                for (size_t i = 0; i < 2 * count + 1; ++i) expected.push_back(ordered[(offset + i) % count]);
                EXPECT_EQ(Cards(expected.size(), random), expected) << number << " order " << type << " +" << offset;
            }
        }
}

TEST_F(StudySetShowTest, RandomOrderDrawsEachMemberForItsShareAndOnlyMembers) {
    SeededRandom seeded(20261209);
    for (int number = 1; number <= kStudySetCount; ++number) {
        // [0, 1) falls into equal shares, one a member: the middle of share
        // i draws member i, and the ends draw the first and the last.
        std::vector<int> expected = Fresh(number, 1);
        for (size_t i = 0; i < expected.size(); ++i) random.values.push_back((i + 0.5) / expected.size());
        random.values.insert(random.values.end(), {0.0, 0.9999999999});
        expected.insert(expected.end(), {expected.front(), expected.back()});
        EXPECT_EQ(Cards(expected.size(), random), expected) << number;
        EXPECT_EQ(random.reseeds, static_cast<int>(expected.size()));

        // With the show's own generator every member comes within 1,000
        // cards, and nothing else: were the draw uniform, one poem of the
        // largest set (42) would still be missing with odds (41/42)^1000,
        // about 4e-11. The seed fixes the run, so it cannot flicker.
        const std::vector<int> cards = Cards(1000, seeded);
        EXPECT_EQ(std::set<int>(cards.begin(), cards.end()), std::set<int>(expected.begin(), expected.end())) << number;
    }
}

// Unless the number names a set, the show is the range show it always was.
TEST_F(StudySetShowTest, NoSetOrAnUnknownNumberLeavesTheRangeAsItWas) {
    for (int16_t type : {int16_t{1}, int16_t{2}, int16_t{3}})
        for (int number : {kNoStudySet, -1, kStudySetCount + 1}) {
            Fresh(number, type, 2);
            random.values = {0.0, 0.3, 0.99, 0.5};
            EXPECT_EQ(Cards(7, random), type == 1   ? (std::vector<int>{40, 41, 45, 43, 43, 43, 43})
                                        : type == 2 ? (std::vector<int>{42, 43, 44, 45, 40, 41, 42})
                                                    : (std::vector<int>{43, 42, 41, 40, 45, 44, 43}))
                << number << " order " << type;
            EXPECT_EQ(random.next, type == 1 ? 7u : 0u);
        }
}

// The native program and the page run the show through the driver.
TEST(StudySetDriver, ASeededShowOfASetTellsItsCardsInOrder) {
    FillPoemTables();
    RecordingCanvas canvas;
    RecordingFrame frame;
    ShowDriver driver(Settings{.SelectType = 3, .Set = static_cast<int16_t>(StudySetNamed("green"))}, canvas, frame,
                      5, 96);
    std::vector<int> told;
    driver.OnNewCard([&](int poem) { told.push_back(poem); });
    driver.Start(1024, 768);
    for (int frames = 0; frames < 20000 && told.size() < 4; ++frames) driver.NextFrame();
    EXPECT_EQ(told, (std::vector<int>{93, 92, 71, 68}));
}
