// The persisted settings record, its text form and the store seam.
#pragma once
#include <cstdint>
#include <string>

namespace mirobel {

// The record: module-level, 0 at process start until LoadSettings runs.
extern int16_t SaverType;
extern int16_t MusicMode;
extern int16_t SelectFirst;
extern int16_t SelectEnd;
extern int16_t SelectType;
extern int16_t Speed;

// The record back to its value at process start (all zero).
void ResetSettingsRecord();

inline constexpr const wchar_t* kStoreApp = L"SetupVel";
inline constexpr const wchar_t* kStoreSection = L"Mirobel";

struct SettingField {
    const wchar_t* key;
    int16_t defaultValue;
    int16_t* field;
};
// The six rows in the order in which they are read and written.
inline constexpr int kSettingCount = 6;
const SettingField* SettingFields();

// Stored text to a 16-bit value: blanks around allowed, fractions rounded
// half to even. Throws RuntimeError 13 (not a number) or 6 (out of range).
int16_t SettingFromText(const std::wstring& text);
std::wstring SettingToText(int16_t value);

// Both go through the platform's settings store (g_platform.store).
// Reads all six fields; a failure is reported once in the standard error box
// and the fields it did not reach get their defaults. Never throws.
void LoadSettings();
// Writes all six fields; a failure is reported once. Never throws.
void SaveSettings();

}  // namespace mirobel
