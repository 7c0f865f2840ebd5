#include "core/poems/StudySets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "core/poems/Poems.h"

using namespace mirobel;

namespace {
const std::vector<int>& Poems(int number) { return StudySetNumbered(number)->poems; }

// The sets numbered first..last share no poem and hold all hundred.
void ExpectPartition(int first, int last) {
    std::multiset<int> all, hundred;
    for (int number = first; number <= last; ++number) all.insert(Poems(number).begin(), Poems(number).end());
    for (int n = 1; n <= kPoemCount; ++n) hundred.insert(n);
    EXPECT_EQ(all, hundred) << "sets " << first << ".." << last;
}
}  // namespace

TEST(StudySets, FiveColoursOfTwentyAndSixKimarijiGroupsEachShareOutTheHundred) {
    ExpectPartition(1, 5);
    ExpectPartition(6, 11);
    std::vector<size_t> sizes;
    for (int number = 1; number <= kStudySetCount; ++number) {
        sizes.push_back(Poems(number).size());
        EXPECT_TRUE(std::ranges::is_sorted(Poems(number))) << number;
        EXPECT_EQ(StudySetNumbered(number)->colour.has_value(), number <= 5) << number;
    }
    EXPECT_EQ(sizes, (std::vector<size_t>{20, 20, 20, 20, 20, 7, 42, 37, 6, 2, 6}));
    // む す め ふ さ ほ せ
    EXPECT_EQ(Poems(StudySetNamed("kimariji1")), (std::vector<int>{18, 22, 57, 70, 77, 81, 87}));
}

// The listing names each set as the store does, so it proves the names too.
TEST(StudySets, ListingGivesEachSetsNameATabAndItsPoemsAscendingOneSetALine) {
    std::istringstream text(StudySetsText());
    std::vector<std::string> names;
    std::string line;
    while (std::getline(text, line)) {
        const int number = static_cast<int>(names.size()) + 1;
        ASSERT_LE(number, kStudySetCount) << line;
        names.push_back(line.substr(0, line.find('\t')));
        std::string poems;
        for (int poem : Poems(number)) poems.append(poems.empty() ? "" : " ").append(std::to_string(poem));
        EXPECT_EQ(line, names.back() + "\t" + poems);
        EXPECT_EQ(StudySetNamed(names.back()), number);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"blue", "pink", "yellow", "green", "orange", "kimariji1", "kimariji2",
                                               "kimariji3", "kimariji4", "kimariji5", "kimariji6"}));
    EXPECT_EQ(StudySetsText().back(), '\n');
}
