#include "core/settings/Settings.h"

#include <cmath>
#include <cstdlib>

#include "core/base/Errors.h"
#include "core/base/Platform.h"

namespace mirobel {

int16_t SaverType = 0;
int16_t MusicMode = 0;
int16_t SelectFirst = 0;
int16_t SelectEnd = 0;
int16_t SelectType = 0;
int16_t Speed = 0;

void ResetSettingsRecord() { SaverType = MusicMode = SelectFirst = SelectEnd = SelectType = Speed = 0; }

const SettingField* SettingFields() {
    static const SettingField fields[kSettingCount] = {
        {L"saver type", 2, &SaverType},     {L"music mode", 1, &MusicMode},
        {L"select first", 1, &SelectFirst}, {L"select end", 100, &SelectEnd},
        {L"select type", 1, &SelectType},   {L"speed", 3, &Speed},
    };
    return fields;
}

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

void LoadSettings() {
    if (!g_platform.store) {
        for (int i = 0; i < kSettingCount; ++i) *SettingFields()[i].field = SettingFields()[i].defaultValue;
        return;
    }
    SettingsStore& store = *g_platform.store;
    int reached = 0;
    try {
        for (; reached < kSettingCount; ++reached) {
            const SettingField& row = SettingFields()[reached];
            std::optional<std::wstring> text = store.Read(kStoreApp, kStoreSection, row.key);
            *row.field = text ? SettingFromText(*text) : row.defaultValue;
        }
    } catch (...) {
        const RuntimeError e = CurrentFailure();
        // Zeros left in the unread fields would make the show pick the empty
        // poem 0 and the dialog show nothing; the defaults are always usable.
        for (int i = reached; i < kSettingCount; ++i) *SettingFields()[i].field = SettingFields()[i].defaultValue;
        ShowErrorBox(StandardErrorText(e), e);
    }
}

void SaveSettings() {
    if (!g_platform.store) return;
    SettingsStore& store = *g_platform.store;
    try {
        for (int i = 0; i < kSettingCount; ++i) {
            const SettingField& row = SettingFields()[i];
            store.Write(kStoreApp, kStoreSection, row.key, SettingToText(*row.field));
        }
    } catch (...) {
        const RuntimeError e = CurrentFailure();
        ShowErrorBox(StandardErrorText(e), e);
    }
}

}  // namespace mirobel
