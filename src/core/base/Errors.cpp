#include "core/base/Errors.h"

#include <new>

namespace mirobel {

namespace {
RuntimeError Make(int number, const wchar_t* description) {
    RuntimeError e;
    e.number = number;
    e.description = description;
    return e;
}

std::wstring NumberText(int number) {
    // A non-negative number is written with a leading blank, as the classic
    // number-to-text conversion does for the sign position.
    std::wstring s = std::to_wstring(number);
    return number >= 0 ? L" " + s : s;
}
}  // namespace

RuntimeError SubscriptOutOfRange() { return Make(9, L"インデックスが有効範囲にありません。"); }
RuntimeError Overflow() { return Make(6, L"オーバーフローしました。"); }
RuntimeError TypeMismatch() { return Make(13, L"型が一致しません。"); }
RuntimeError InvalidCall() { return Make(5, L"プロシージャの呼び出し、または引数が不正です。"); }
RuntimeError OutOfMemory() { return Make(7, L"メモリが不足しています。"); }
RuntimeError InternalError() { return Make(51, L"内部エラーです。"); }

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

std::wstring StandardErrorText(const RuntimeError& e) {
    return L"エラー番号 = " + NumberText(e.number) + L"、" + e.source +
           L" でエラーが発生しました。 " + L"\r" + e.description;
}

std::wstring CardErrorText(const RuntimeError& e) {
    return L"エラー番号 " + NumberText(e.number) + e.source + L" でエラーが発生しました。 " +
           L"\r" + e.description;
}

}  // namespace mirobel
