#include "core/base/Errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <utility>

#include "core/companions/About.h"
#include "core/show/ShowState.h"
#include "support/FakePlatform.h"
#include "core/show/Card.h"

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

// The procedures that trap report any failure, not only the program's own,
// in the standard box, and go on: running out of memory is run-time error 7,
// anything else 51. Each box speaks the language of the record it is about;
// a failed load, before the record's language is read, the desktop's.
TEST(TrappingProcedures, ReportEveryKindOfFailureAndGoOn) {
    struct Failure {
        std::function<void()> fail;
        std::wstring text, cardText, english;
    };
    const Failure failures[] = {
        {[] { throw std::bad_alloc(); }, L"エラー番号 =  7、Mirobel でエラーが発生しました。 \rメモリが不足しています。",
         L"エラー番号  7Mirobel でエラーが発生しました。 \rメモリが不足しています。",
         L"Error 7 occurred in Mirobel.\rOut of memory."},
        {[] { throw std::runtime_error("x"); }, L"エラー番号 =  51、Mirobel でエラーが発生しました。 \r内部エラーです。",
         L"エラー番号  51Mirobel でエラーが発生しました。 \r内部エラーです。",
         L"Error 51 occurred in Mirobel.\rInternal error."},
        {[] {
             RuntimeError withHelp = Overflow();
             withHelp.helpFile = L"C:\\help\\mirobel.hlp", withHelp.helpContext = 1006;
             throw withHelp;
         },
         L"エラー番号 =  6、Mirobel でエラーが発生しました。 \rオーバーフローしました。",
         L"エラー番号  6Mirobel でエラーが発生しました。 \rオーバーフローしました。",
         L"Error 6 occurred in Mirobel.\rOverflow."},
    };
    struct Desktop : DesktopLanguage {
        Language speaks = Language::Japanese;
        Language Get() override { return speaks; }
    } desktop;
    for (const Language language : {Language::Japanese, Language::English})
        for (const auto& [fail, japanese, japaneseCard, english] : failures) {
            const bool inEnglish = language == Language::English;
            const std::wstring& text = inEnglish ? english : japanese;
            const std::wstring& cardText = inEnglish ? english : japaneseCard;
            const std::wstring title = inEnglish ? kErrorTitleEnglish : kErrorTitle;
            SCOPED_TRACE(::testing::PrintToString(text));
            mirobel::testing::FakePlatform p;
            desktop.speaks = language;
            g_platform.desktop = &desktop;
            p.store.failure = fail;
            const Settings loaded = LoadSettings();
            SaveSettings(loaded);
            ASSERT_EQ(p.boxes.shown.size(), 2u);
            EXPECT_EQ(p.boxes.shown[0].text, text);
            EXPECT_EQ(p.boxes.shown[1].text, text);
            EXPECT_EQ(loaded.Speed, 3) << "the unread settings keep their defaults";

            p.canvas.failure = fail;
            ShowState show;
            PrepareCard(show, loaded, p.canvas, p.random);
            ASSERT_EQ(p.boxes.shown.size(), 3u);
            EXPECT_EQ(p.boxes.shown[2].text, cardText) << "the card reports in its own wording";

            p.boxes.failure = fail;
            ShowAbout(language);
            ASSERT_EQ(p.boxes.shown.size(), 4u);
            EXPECT_EQ(p.boxes.shown[3].text, text);

            // Every box hands on the help the failure carries.
            const bool carriesHelp = &fail == &failures[2].fail;
            for (const auto& box : p.boxes.shown) {
                EXPECT_EQ(box.title, title);
                EXPECT_EQ(box.helpFile, carriesHelp ? L"C:\\help\\mirobel.hlp" : L"");
                EXPECT_EQ(box.helpContext, carriesHelp ? 1006 : 0);
            }
        }
}
