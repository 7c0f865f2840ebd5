#include "core/poems/StudySets.h"

#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"

namespace mirobel {

namespace {
// The school game's five colours are a teaching standard, not something the
// poems imply, so they are kept as published. Yellow and orange are darker
// than the cards' own colours so that their names stay readable on white.
std::vector<StudySet> MakeSets() {
    std::vector<StudySet> sets = {
        {"blue", L"青", L"Blue", Rgb{0, 84, 204},
         {3, 5, 6, 12, 14, 24, 30, 31, 50, 57, 61, 62, 69, 70, 74, 75, 76, 82, 91, 100}},
        {"pink", L"桃", L"Pink", Rgb{214, 64, 128},
         {1, 4, 13, 16, 22, 28, 34, 40, 48, 51, 58, 65, 66, 72, 73, 80, 83, 84, 86, 97}},
        {"yellow", L"黄", L"Yellow", Rgb{196, 148, 0},
         {2, 7, 10, 18, 32, 33, 37, 39, 46, 47, 55, 60, 78, 79, 81, 85, 87, 89, 94, 96}},
        {"green", L"緑", L"Green", Rgb{0, 140, 64},
         {8, 9, 11, 15, 17, 20, 23, 26, 29, 35, 36, 38, 41, 42, 54, 59, 68, 71, 92, 93}},
        {"orange", L"橙", L"Orange", Rgb{230, 110, 0},
         {19, 21, 25, 27, 43, 44, 45, 49, 52, 53, 56, 63, 64, 67, 77, 88, 90, 95, 98, 99}},
    };
    // The groups by deciding sounds follow from the readings, so they are
    // worked out rather than typed.
    static constexpr std::string_view kGroupNames[] = {"kimariji1", "kimariji2", "kimariji3",
                                                       "kimariji4", "kimariji5", "kimariji6"};
    static constexpr std::wstring_view kGroupLabels[] = {L"一字決まり", L"二字決まり", L"三字決まり",
                                                         L"四字決まり", L"五字決まり", L"六字決まり"};
    static constexpr std::wstring_view kGroupEnglish[] = {L"1 sound",  L"2 sounds", L"3 sounds",
                                                          L"4 sounds", L"5 sounds", L"6 sounds"};
    for (int sounds = 1; sounds <= 6; ++sounds) {
        StudySet group{kGroupNames[sounds - 1], kGroupLabels[sounds - 1], kGroupEnglish[sounds - 1], std::nullopt, {}};
        for (int n = 1; n <= kPoemCount; ++n)
            if (KimarijiOf(n).sounds == sounds) group.poems.push_back(n);
        sets.push_back(std::move(group));
    }
    return sets;
}

const std::vector<StudySet>& Sets() {
    static const std::vector<StudySet> sets = MakeSets();
    return sets;
}
}  // namespace

const StudySet* StudySetNumbered(int number) {
    if (number < 1 || number > kStudySetCount) return nullptr;
    return &Sets()[static_cast<size_t>(number - 1)];
}

int StudySetNamed(std::string_view name) {
    for (int number = 1; number <= kStudySetCount; ++number)
        if (StudySetNumbered(number)->name == name) return number;
    return kNoStudySet;
}

std::string StudySetsText() {
    std::string text;
    for (int number = 1; number <= kStudySetCount; ++number) {
        const StudySet& set = *StudySetNumbered(number);
        text += set.name;
        char separator = '\t';
        for (int poem : set.poems) {
            text += separator;
            text += std::to_string(poem);
            separator = ' ';
        }
        text += '\n';
    }
    return text;
}

}  // namespace mirobel
