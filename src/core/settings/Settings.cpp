#include "core/settings/Settings.h"

#include <cmath>
#include <cstdlib>

#include "core/base/Errors.h"
#include "core/base/Platform.h"

namespace mirobel {

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
}  // namespace

int16_t SettingFromText(const std::wstring& text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    // Validate the whole trimmed text as one decimal number: sign, digits,
    // optional fraction, optional exponent. Anything else is not a number.
    std::string number;
    size_t i = b;
    if (i < e && (text[i] == L'+' || text[i] == L'-')) number += static_cast<char>(text[i++]);
    size_t mantissaDigits = 0;
    while (i < e && IsDigit(text[i])) number += static_cast<char>(text[i++]), ++mantissaDigits;
    if (i < e && text[i] == L'.') {
        number += '.';
        ++i;
        while (i < e && IsDigit(text[i])) number += static_cast<char>(text[i++]), ++mantissaDigits;
    }
    if (mantissaDigits == 0) throw TypeMismatch();
    if (i < e && (text[i] == L'e' || text[i] == L'E')) {
        number += 'e';
        ++i;
        if (i < e && (text[i] == L'+' || text[i] == L'-')) number += static_cast<char>(text[i++]);
        size_t expDigits = 0;
        while (i < e && IsDigit(text[i])) number += static_cast<char>(text[i++]), ++expDigits;
        if (expDigits == 0) throw TypeMismatch();
    }
    if (i != e) throw TypeMismatch();
    double value = std::strtod(number.c_str(), nullptr);
    double rounded = std::nearbyint(value);  // default rounding: half to even
    if (!std::isfinite(rounded) || rounded < -32768.0 || rounded > 32767.0) throw Overflow();
    return static_cast<int16_t>(rounded);
}

std::wstring SettingToText(int16_t value) { return std::to_wstring(value); }

namespace {
// The values later versions added beside the six: no earlier version wrote
// them, so only "1" turns one on; a missing, unusable or unreadable value
// leaves it off, without a box, as nothing there is the user's to mend.
bool StoredAsOne(SettingsStore& store, const wchar_t* key) {
    try {
        const std::optional<std::wstring> text = store.Read(kStoreApp, kStoreSection, key);
        return text && SettingFromText(*text) == 1;
    } catch (...) {
        return false;
    }
}
// The names are ASCII, so any other character already makes a text unknown.
int16_t StoredSet(SettingsStore& store) {
    try {
        const std::optional<std::wstring> text = store.Read(kStoreApp, kStoreSection, kSetKey);
        if (!text) return kNoStudySet;
        std::string name;
        for (wchar_t c : *text) {
            if (c > 0x7F) return kNoStudySet;
            name += static_cast<char>(c);
        }
        return static_cast<int16_t>(StudySetNamed(name));
    } catch (...) {
        return kNoStudySet;
    }
}

std::wstring SetToText(int16_t number) {
    const StudySet* set = StudySetNumbered(number);
    return set ? std::wstring(set->name.begin(), set->name.end()) : std::wstring();
}

// The language is not a number, and a store from before it, or one edited by
// hand, must still open in a language the user reads.
Language StoredLanguage(SettingsStore& store) {
    try {
        const std::optional<std::wstring> text = store.Read(kStoreApp, kStoreSection, kLanguageKey);
        if (text)
            if (std::optional<Language> chosen = LanguageOfCode(*text)) return *chosen;
    } catch (...) {
    }
    return DesktopSpeaks();
}
}  // namespace

const wchar_t* LanguageCode(Language language) { return language == Language::English ? L"en" : L"ja"; }

std::optional<Language> LanguageOfCode(const std::wstring& code) {
    if (code == L"ja") return Language::Japanese;
    if (code == L"en") return Language::English;
    return std::nullopt;
}

Language LanguageOfLocale(std::string_view name) {
    // "ja" alone or before a territory, code set or modifier; not "jv".
    constexpr std::string_view kAfterLanguage = "_-.@";
    const bool ja = name.substr(0, 2) == "ja" && (name.size() == 2 || kAfterLanguage.find(name[2]) != name.npos);
    return ja ? Language::Japanese : Language::English;
}

Settings LoadSettings() {
    // Zeros left in the unread fields would make the show pick the empty
    // poem 0 and the dialog show nothing; a fresh record holds the defaults,
    // and a field is assigned only once its key has been read.
    Settings record;
    if (!g_platform.store) return record;
    SettingsStore& store = *g_platform.store;
    std::optional<RuntimeError> failure;
    try {
        for (const SettingField& row : kSettingFields) {
            std::optional<std::wstring> text = store.Read(kStoreApp, kStoreSection, row.key);
            if (text) record.*row.field = SettingFromText(*text);
        }
    } catch (...) {
        failure = CurrentFailure();
    }
    // Read whatever became of the six: they are no part of their sequence.
    record.Screens = StoredAsOne(store, kScreensKey) ? kEveryMonitor : kMainMonitorOnly;
    record.Kimariji = StoredAsOne(store, kKimarijiKey);
    record.Set = StoredSet(store);
    record.language = StoredLanguage(store);
    // The box speaks the language the user reads, which is read last.
    if (failure) ShowErrorBox(StandardErrorText(*failure, record.language), *failure, record.language);
    return record;
}

void SaveSettings(const Settings& record) {
    if (!g_platform.store) return;
    SettingsStore& store = *g_platform.store;
    try {
        for (const SettingField& row : kSettingFields)
            store.Write(kStoreApp, kStoreSection, row.key, SettingToText(record.*row.field));
        store.Write(kStoreApp, kStoreSection, kScreensKey,
                    SettingToText(record.Screens == kEveryMonitor ? kEveryMonitor : kMainMonitorOnly));
        store.Write(kStoreApp, kStoreSection, kKimarijiKey, record.Kimariji ? L"1" : L"0");
        store.Write(kStoreApp, kStoreSection, kSetKey, SetToText(record.Set));
        store.Write(kStoreApp, kStoreSection, kLanguageKey, LanguageCode(record.language));
    } catch (...) {
        const RuntimeError e = CurrentFailure();
        ShowErrorBox(StandardErrorText(e, record.language), e, record.language);
    }
}

}  // namespace mirobel
