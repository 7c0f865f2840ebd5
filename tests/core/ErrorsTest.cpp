#include "core/base/Errors.h"

#include <gtest/gtest.h>

using namespace mirobel;

TEST(StandardErrorText, BuiltFromNumberSourceAndDescription) {
    RuntimeError e = TypeMismatch();
    EXPECT_EQ(StandardErrorText(e),
              L"エラー番号 =  13、Mirobel でエラーが発生しました。 \r型が一致しません。");
    RuntimeError negative{-2147024891, L"Registry", L"アクセスが拒否されました。", L"", 0};
    EXPECT_EQ(StandardErrorText(negative),
              L"エラー番号 = -2147024891、Registry でエラーが発生しました。 \rアクセスが拒否されました。");
}

TEST(CardErrorText, OwnVariantWithoutEqualsSignAndComma) {
    EXPECT_EQ(CardErrorText(SubscriptOutOfRange()),
              L"エラー番号  9Mirobel でエラーが発生しました。 \rインデックスが有効範囲にありません。");
    RuntimeError negative{-5, L"X", L"d", L"", 0};
    EXPECT_EQ(CardErrorText(negative), L"エラー番号 -5X でエラーが発生しました。 \rd");
}
