// The persisted settings record, its text form and the store seam.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/Seams.h"
#include "core/poems/StudySets.h"

namespace mirobel {

// The record, a value: LoadSettings makes one, the show and the settings
// dialog each keep their own. A fresh record holds the store's defaults, so
// whatever a load does not reach keeps a value the show and the dialog can
// use.
struct Settings {
    int16_t SaverType = 2;  // stored and loaded; nothing reads it
    int16_t MusicMode = 1;
    int16_t SelectFirst = 1;
    int16_t SelectEnd = 100;
    int16_t SelectType = 1;  // 1 random, 2 ascending, anything else descending
    int16_t Speed = 3;       // 1 fastest .. 5 slowest
    // Which monitors show a card: kMainMonitorOnly (the others black) or
    // kEveryMonitor. Stored beside the six classic values, as "screens".
    int16_t Screens = 0;
    // The card's deciding sounds brushed in vermilion; stored apart from the
    // six classic values (kKimarijiKey).
    bool Kimariji = false;
    // The poems the show keeps to: kNoStudySet for the range, or the number
    // of one of the study sets (core/poems/StudySets.h). Stored by the set's
    // name (kSetKey).
    int16_t Set = kNoStudySet;
    // The language of the windows and of the show's rendering, stored as
    // "ja" or "en" (kLanguageKey). A store without it follows the desktop
    // (LoadSettings); a record made without a store speaks Japanese, as the
    // program always did.
    Language language = Language::Japanese;
    bool operator==(const Settings&) const = default;
};

inline constexpr int16_t kMainMonitorOnly = 0;
inline constexpr int16_t kEveryMonitor = 1;
inline constexpr const wchar_t* kScreensKey = L"screens";

inline constexpr const wchar_t* kStoreApp = L"SetupVel";
inline constexpr const wchar_t* kStoreSection = L"Mirobel";

struct SettingField {
    const wchar_t* key;
    int16_t Settings::*field;
};
// The six rows in the order in which they are read and written.
inline constexpr int kSettingCount = 6;
inline constexpr SettingField kSettingFields[kSettingCount] = {
    {L"saver type", &Settings::SaverType},     {L"music mode", &Settings::MusicMode},
    {L"select first", &Settings::SelectFirst}, {L"select end", &Settings::SelectEnd},
    {L"select type", &Settings::SelectType},   {L"speed", &Settings::Speed},
};

// "1" on, "0" off; a missing key or any other text reads as off, without a
// box, so that a store written before the setting existed loads as before.
inline constexpr const wchar_t* kKimarijiKey = L"kimariji";
// The set's ASCII name ("blue", "kimariji1", ...), or empty for the range.
// Missing, empty, unknown or unreadable reads as the range, without a box.
inline constexpr const wchar_t* kSetKey = L"set";

// "ja" Japanese, "en" English. Any other text, a missing value or one the
// store cannot read is no choice: the language the desktop speaks, when it
// is Japanese, and English otherwise, without a box.
inline constexpr const wchar_t* kLanguageKey = L"language";
const wchar_t* LanguageCode(Language language);
// What a stored language code names; nothing for any other text.
std::optional<Language> LanguageOfCode(const std::wstring& code);
// The language a locale ("ja_JP.UTF-8") or a browser's language tag
// ("ja-JP") names: Japanese for ja, English for any other, "C" and the empty
// name included, as the desktop's rule has it.
Language LanguageOfLocale(std::string_view name);

// Stored text to a 16-bit value: blanks around allowed, fractions rounded
// half to even. Throws RuntimeError 13 (not a number) or 6 (out of range).
int16_t SettingFromText(const std::wstring& text);
std::wstring SettingToText(int16_t value);

// Both go through the platform's settings store (g_platform.store).
// Reads all six fields; a failure is reported once in the standard error box
// and the fields it did not reach keep their defaults. Then "screens",
// "kimariji" and "set", which no earlier version wrote: missing, unreadable
// or bad values read as main monitor only, no marking and the range, without
// a box; and "language", as kLanguageKey says. Never throws.
Settings LoadSettings();
// Writes all six fields, then "screens", "kimariji", "set" and "language"; a
// failure is reported once and stops the writing. Never throws.
void SaveSettings(const Settings& record);

}  // namespace mirobel
