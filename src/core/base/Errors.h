// Run-time failures in the classic form: a number, a source and a description.
// Procedures that "trap" catch every failure and report it once in a box
// (CurrentFailure gives the program's own errors as they are and any other
// failure a classic number); procedures that don't trap let it propagate.
#pragma once
#include <string>

#include "core/base/Seams.h"

namespace mirobel {

inline constexpr const wchar_t* kAppName = L"Mirobel";
inline constexpr const wchar_t* kAppTitle = L"ミロベル　スクリーンセイバー";
inline constexpr const wchar_t* kAppVersion = L"Ver1.5";
// The authors, as the card's credit, the About box and the rights notice
// name them: the program is its project's work.
inline constexpr const wchar_t* kAuthorName = L"Team Mirobel";

inline constexpr const wchar_t* kAppTitleEnglish = L"Mirobel Screen Saver";

// "ミロベル　スクリーンセイバー Ver1.5": the confirm question's and the About
// box's title; for readers of English "Mirobel Screen Saver Ver1.5".
inline std::wstring VersionTitle(Language language = Language::Japanese) {
    return std::wstring(language == Language::English ? kAppTitleEnglish : kAppTitle) + L" " + kAppVersion;
}

struct RuntimeError {
    int number = 0;
    std::wstring source = kAppName;
    std::wstring description;
    std::wstring helpFile;
    int helpContext = 0;
};

// The failures the system raises itself, with the descriptions a Japanese
// runtime gives them.
RuntimeError SubscriptOutOfRange();  // 9
RuntimeError Overflow();             // 6
RuntimeError TypeMismatch();         // 13
RuntimeError InvalidCall();          // 5
RuntimeError OutOfMemory();          // 7
RuntimeError InternalError();        // 51

// The failure being handled, as a run-time error: the program's own as it
// is, running out of memory as 7, anything else as 51. Call it only inside
// a catch block; the procedures that trap report every failure this way.
RuntimeError CurrentFailure();

// Text of the one failure report of the system. For readers of English:
// "Error 9 occurred in Mirobel." and the description in English.
std::wstring StandardErrorText(const RuntimeError& e, Language language = Language::Japanese);
// The card preparation's own wording of the same report (in English, the
// standard one).
std::wstring CardErrorText(const RuntimeError& e, Language language = Language::Japanese);

inline constexpr const wchar_t* kErrorTitle = L"エラー";
inline constexpr const wchar_t* kErrorTitleEnglish = L"Error";

}  // namespace mirobel
