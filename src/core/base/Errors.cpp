#include "core/base/Errors.h"

#include <new>

namespace mirobel {

namespace {
// The descriptions of the failures the system raises itself, as a Japanese
// and an English runtime give them.
struct Description {
    int number;
    const wchar_t* japanese;
    const wchar_t* english;
};
constexpr Description kDescriptions[] = {
    {9, L"インデックスが有効範囲にありません。", L"Subscript out of range."},
    {6, L"オーバーフローしました。", L"Overflow."},
    {13, L"型が一致しません。", L"Type mismatch."},
    {5, L"プロシージャの呼び出し、または引数が不正です。", L"Invalid procedure call or argument."},
    {7, L"メモリが不足しています。", L"Out of memory."},
    {51, L"内部エラーです。", L"Internal error."},
};

RuntimeError Make(int number) {
    RuntimeError e;
    e.number = number;
    for (const Description& d : kDescriptions)
        if (d.number == number) e.description = d.japanese;
    return e;
}

// A description of the system's own in English; any other as it came.
std::wstring EnglishDescription(const RuntimeError& e) {
    for (const Description& d : kDescriptions)
        if (d.number == e.number && e.description == d.japanese) return d.english;
    return e.description;
}

std::wstring NumberText(int number) {
    // A non-negative number is written with a leading blank, as the classic
    // number-to-text conversion does for the sign position.
    std::wstring s = std::to_wstring(number);
    return number >= 0 ? L" " + s : s;
}
}  // namespace

RuntimeError SubscriptOutOfRange() { return Make(9); }
RuntimeError Overflow() { return Make(6); }
RuntimeError TypeMismatch() { return Make(13); }
RuntimeError InvalidCall() { return Make(5); }
RuntimeError OutOfMemory() { return Make(7); }
RuntimeError InternalError() { return Make(51); }

RuntimeError CurrentFailure() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    } catch (...) {
        return InternalError();
    }
}

std::wstring StandardErrorText(const RuntimeError& e, Language language) {
    if (language == Language::English)
        return L"Error " + std::to_wstring(e.number) + L" occurred in " + e.source + L".\r" + EnglishDescription(e);
    return L"エラー番号 = " + NumberText(e.number) + L"、" + e.source +
           L" でエラーが発生しました。 " + L"\r" + e.description;
}

std::wstring CardErrorText(const RuntimeError& e, Language language) {
    if (language == Language::English) return StandardErrorText(e, language);
    return L"エラー番号 " + NumberText(e.number) + e.source + L" でエラーが発生しました。 " +
           L"\r" + e.description;
}

}  // namespace mirobel
