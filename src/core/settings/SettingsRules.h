// What the settings dialog decides without touching a window: the values it
// shows for a record, the range check, and the apply with its two boxes.
#pragma once
#include <cstdint>
#include <string>

#include "core/settings/Settings.h"

namespace mirobel {

inline constexpr const wchar_t* kRangeMessage = L"歌の選択範囲が違います。";
inline constexpr const wchar_t* kConfirmText = L"更新しますか。\r\n";
inline constexpr const wchar_t* kMusicOnCaption = L"Music On";
inline constexpr const wchar_t* kMusicOffCaption = L"Music Off";

// Everything the dialog says, in one of its languages: its captions in the
// order of its controls, its menu and its two boxes.
struct DialogTexts {
    const wchar_t* title;                 // LabelTitle
    const wchar_t* rows[4];               // LabelType(0..3): range, order, music, speed
    const wchar_t* orders[3];             // OptionType(0..2)
    const wchar_t* screens;               // the screens row's label
    const wchar_t* screensOptions[2];     // main monitor only, every monitor
    const wchar_t* kimariji;              // the marking check box
    const wchar_t* sets, *range;          // the sets' row label, and its list's first entry
    const wchar_t* buttons[4];            // apply, help, viewer, close
    const wchar_t* menuClose, *menuSet, *menuHelp;
    const wchar_t* menuAbout[4];          // help, viewer, introduction, About
    const wchar_t* rangeMessage, *confirm;
};
const DialogTexts& DialogTextsIn(Language language);

// The language menu reads the same in either language, so that a reader of
// one finds the other: its caption and its two entries, in the order of
// Language.
inline constexpr const wchar_t* kLanguageMenuCaption = L"言語 Language(&L)";
inline constexpr const wchar_t* kLanguageEntries[2] = {L"日本語(&J)", L"English(&E)"};

// The values the dialog's controls show for the record. A field that no
// control can show (a hand-edited store, or zeros left by a failed load) is
// shown with its default, so that every list has a selection and an apply
// writes back something the show can use.
struct ShownSettings {
    int16_t first, end;  // 1..100
    int16_t option;      // index of the selected option button, 0..2
    int16_t music;       // check box state, 0 or 1
    int16_t speed;       // 1..5
    int16_t screens;     // index of the selected screens button: 0 main monitor only, 1 every monitor
    int16_t kimariji;    // check box state, 0 or 1
    int16_t set;         // index in the sets' list: 0 the range, else the study set of that number
};
ShownSettings ShownValues(const Settings& record);

const wchar_t* MusicCaption(int checkValue);

// Whole part of the number a list's text starts with; "" and text without
// digits give 0, as the classic numeric reading of a text does.
int32_t WholeNumberOfText(const std::wstring& text);

// 1 <= first <= end <= 100.
bool RangeAccepted(int32_t first, int32_t end);

// Option button index to the stored order: 0 random (1), 1 ascending (2),
// anything else descending (3).
int16_t SelectTypeForOption(int option);

// What the dialog's controls hold when the user applies.
struct DialogValues {
    std::wstring firstText, endText, speedText;
    int option;  // selected option button
    int music;   // check box state
    int screens = 0;  // selected screens button: 1 every monitor, anything else main monitor only
    int kimariji = 0;  // check box state: 1 marks the deciding kana
    int set = 0;       // selected entry of the sets' list: 0 the range, else a study set's number
    Language language = Language::Japanese;  // chosen in the language menu; the boxes speak it
};
enum class ApplyOutcome { BadRange, NotConfirmed, Saved };

// The range check with its message, the confirm question (both in the
// values' language), then the record
// (the dialog's own) and SaveSettings. Only a Saved outcome changes the
// record or the store; SaverType goes back as it was loaded.
ApplyOutcome ApplySettings(Settings& record, const DialogValues& values);

// Whether a menu caption names key as one of its access keys. A caption may
// carry two ("終了(&X&ｻ)": the Latin letter and the kana on the same key);
// Latin letters match in either case, "&&" is a literal ampersand.
bool HasAccessKey(const std::wstring& caption, wchar_t key);

}  // namespace mirobel
