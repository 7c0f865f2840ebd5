#include "core/settings/SettingsRules.h"

#include <algorithm>

#include "core/base/Errors.h"
#include "core/base/Platform.h"

namespace mirobel {

namespace {
int16_t Within(int16_t value, int16_t low, int16_t high, int16_t fallback) {
    return value >= low && value <= high ? value : fallback;
}

// Defaults come from the store's table so the two can never disagree.
int16_t DefaultOf(const int16_t* field) {
    for (int i = 0; i < kSettingCount; ++i)
        if (SettingFields()[i].field == field) return SettingFields()[i].defaultValue;
    return 0;
}
}  // namespace

ShownSettings ShownValues() {
    ShownSettings s{};
    s.first = Within(SelectFirst, 1, 100, DefaultOf(&SelectFirst));
    s.end = Within(SelectEnd, 1, 100, DefaultOf(&SelectEnd));
    s.option = static_cast<int16_t>(Within(SelectType, 1, 3, DefaultOf(&SelectType)) - 1);
    s.music = Within(MusicMode, 0, 1, DefaultOf(&MusicMode));
    s.speed = Within(Speed, 1, 5, DefaultOf(&Speed));
    return s;
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

ApplyOutcome ApplySettings(const DialogValues& values) {
    int32_t first = WholeNumberOfText(values.firstText);
    int32_t end = WholeNumberOfText(values.endText);
    int32_t speed = WholeNumberOfText(values.speedText);
    if (!RangeAccepted(first, end)) {
        ShowBox(kRangeMessage);
        return ApplyOutcome::BadRange;
    }
    if (ShowBox(kConfirmText, VersionTitle(), kBoxYesNo | kBoxIconQuestion | kBoxDefaultButton2) != kAnswerYes)
        return ApplyOutcome::NotConfirmed;
    SelectType = SelectTypeForOption(values.option);
    SelectFirst = static_cast<int16_t>(first);
    SelectEnd = static_cast<int16_t>(end);
    Speed = static_cast<int16_t>(speed);
    MusicMode = static_cast<int16_t>(values.music == 1 ? 1 : 0);
    SaveSettings();
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
