#include "core/settings/SettingsRules.h"

#include <algorithm>

#include "core/base/Errors.h"
#include "core/base/Platform.h"

namespace mirobel {

namespace {
int16_t Within(int16_t value, int16_t low, int16_t high, int16_t fallback) {
    return value >= low && value <= high ? value : fallback;
}
}  // namespace

ShownSettings ShownValues(const Settings& record) {
    // A fresh record holds the store's defaults, so the two never disagree.
    const Settings defaults;
    ShownSettings s{};
    s.first = Within(record.SelectFirst, 1, 100, defaults.SelectFirst);
    s.end = Within(record.SelectEnd, 1, 100, defaults.SelectEnd);
    s.option = static_cast<int16_t>(Within(record.SelectType, 1, 3, defaults.SelectType) - 1);
    s.music = Within(record.MusicMode, 0, 1, defaults.MusicMode);
    s.screens = record.Screens == kEveryMonitor ? 1 : 0;
    s.kimariji = record.Kimariji ? 1 : 0;
    s.set = StudySetNumbered(record.Set) ? record.Set : kNoStudySet;
    s.speed = Within(record.Speed, 1, 5, defaults.Speed);
    return s;
}

const DialogTexts& DialogTextsIn(Language language) {
    static const DialogTexts japanese{
        L"ミロベル ScreenSaver",
        {L"範囲", L"順序", L"音楽", L"速度　　　速　１←→５　遅"},
        {L"ランダム", L"昇順", L"降順"},
        L"画面",
        {L"主画面のみ", L"すべての画面"},
        L"決まり字",
        L"札の組", kRangeLabel,
        {L"更新", L"ヘルプ", L"解説", L"終了"},
        L"終了(&X&ｻ)", L"更新(&S&ﾄ)", L"ﾍﾙﾌﾟ(&H&ｸ)",
        {L"使い方(&H&ｸ)", L"百人一首の解説(&C&ｿ)", L"ｿﾌﾄ紹介(&E&ｲ)", L"ﾊﾞｰｼﾞｮﾝ(&A)"},
        kRangeMessage, kConfirmText,
    };
    // The speed's hint stands where the Japanese one stands, past the row's
    // lists, so the caption is padded to reach it.
    static const DialogTexts english{
        L"Mirobel ScreenSaver",
        {L"Range", L"Order", L"Music", L"Speed                 fast  1 - 5  slow"},
        {L"Random", L"In order", L"Reverse"},
        L"Screens",
        {L"Main only", L"All screens"},
        L"Kimariji",
        L"Set", L"By range",
        {L"Apply", L"Help", L"Poems", L"Close"},
        L"Close(&X)", L"Apply(&S)", L"Help(&H)",
        {L"How to use(&H)", L"The hundred poems(&C)", L"Introduction(&E)", L"Version(&A)"},
        L"The range of poems is not valid.", L"Apply these settings?\r\n",
    };
    return language == Language::English ? english : japanese;
}

const wchar_t* MusicCaption(int checkValue) { return checkValue == 1 ? kMusicOnCaption : kMusicOffCaption; }

int32_t WholeNumberOfText(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    // Saturate rather than overflow: any number this large fails the range
    // check all the same.
    int64_t value = 0;
    const int64_t kCeiling = 1000000000;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = std::min(value * 10 + (text[i] - L'0'), kCeiling);
    return static_cast<int32_t>(negative ? -value : value);
}

bool RangeAccepted(int32_t first, int32_t end) {
    return !(end < first || first < 1 || end < 1 || first > 100 || end > 100);
}

int16_t SelectTypeForOption(int option) {
    if (option == 0) return 1;
    if (option == 1) return 2;
    return 3;
}

ApplyOutcome ApplySettings(Settings& record, const DialogValues& values) {
    int32_t first = WholeNumberOfText(values.firstText);
    int32_t end = WholeNumberOfText(values.endText);
    int32_t speed = WholeNumberOfText(values.speedText);
    const DialogTexts& texts = DialogTextsIn(values.language);
    if (!RangeAccepted(first, end)) {
        ShowBox(texts.rangeMessage);
        return ApplyOutcome::BadRange;
    }
    if (ShowBox(texts.confirm, VersionTitle(values.language), kBoxYesNo | kBoxIconQuestion | kBoxDefaultButton2) !=
        kAnswerYes)
        return ApplyOutcome::NotConfirmed;
    record.SelectType = SelectTypeForOption(values.option);
    record.SelectFirst = static_cast<int16_t>(first);
    record.SelectEnd = static_cast<int16_t>(end);
    record.Speed = static_cast<int16_t>(speed);
    record.MusicMode = static_cast<int16_t>(values.music == 1 ? 1 : 0);
    record.Screens = values.screens == 1 ? kEveryMonitor : kMainMonitorOnly;
    record.Kimariji = values.kimariji == 1;
    record.Set = static_cast<int16_t>(StudySetNumbered(values.set) ? values.set : kNoStudySet);
    record.language = values.language;
    SaveSettings(record);
    return ApplyOutcome::Saved;
}

bool HasAccessKey(const std::wstring& caption, wchar_t key) {
    auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        if (fold(caption[i + 1]) == fold(key)) return true;
    }
    return false;
}

}  // namespace mirobel
