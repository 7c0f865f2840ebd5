// The sets in which people learn the hundred poems: the five colours of the
// school game (twenty poems each) and the groups by how many opening sounds
// decide a poem (the kimariji, one to six sounds). A show may keep to one of
// them instead of a range of numbers.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Seams.h"

namespace mirobel {

struct StudySet {
    // The short ASCII name the store, the native program's -set and the
    // page's set= use: "blue" .. "orange", "kimariji1" .. "kimariji6".
    std::string_view name;
    // What the dialog calls it, in Japanese and in English.
    std::wstring_view label;
    std::wstring_view englishLabel;
    // The colour sets' names are shown in their colour; the kimariji groups
    // have none.
    std::optional<Rgb> colour;
    // Its poems by number, ascending.
    std::vector<int> poems;
};

inline constexpr int kStudySetCount = 11;
// The choice that keeps to the range (SelectFirst..SelectEnd): number 0.
inline constexpr int kNoStudySet = 0;
inline constexpr const wchar_t* kRangeLabel = L"範囲で選ぶ";

// The eleven sets, numbered 1..11 in this order: blue, pink, yellow, green,
// orange, then one to six sounds.
const StudySet* StudySetNumbered(int number);  // nothing for 0 or any other number
// The number of the set of that name; kNoStudySet for any other text.
int StudySetNamed(std::string_view name);

// One line a set, in the order above: its name, a tab, its poems ascending
// separated by single spaces, a line feed. What the native program's
// -test-sets prints.
std::string StudySetsText();

}  // namespace mirobel
