// The settings dialog's decisions: shown values, range check, and apply with
// its two boxes and the store.
#include "core/settings/SettingsRules.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {

DialogValues Values(const wchar_t* first, const wchar_t* end, int option = 0, int music = 1,
                    const wchar_t* speed = L"3") {
    return {first, end, speed, option, music};
}

class ApplyTest : public ::testing::Test {
protected:
    Settings record{7, 1, 1, 100, 1, 3};
    FakePlatform fake;
    RecordingBoxes& boxes = fake.boxes;
    MemoryStore& store = fake.store;
};
}  // namespace

TEST(ShownValues, ARecordOfTheStoresDefaultsShowsAsItIs) {
    ShownSettings s = ShownValues({2, 1, 1, 100, 1, 3});
    EXPECT_EQ(s.first, 1);
    EXPECT_EQ(s.end, 100);
    EXPECT_EQ(s.option, 0);
    EXPECT_EQ(s.music, 1);
    EXPECT_EQ(s.speed, 3);

    s = ShownValues({2, 0, 37, 37, 3, 5});
    EXPECT_EQ(s.first, 37);
    EXPECT_EQ(s.end, 37);
    EXPECT_EQ(s.option, 2);
    EXPECT_EQ(s.music, 0);
    EXPECT_EQ(s.speed, 5);
}

TEST(ShownValues, FieldsNoControlCanShowFallBackToTheirDefaultsOneByOne) {
    // The zeros a failed load leaves behind.
    ShownSettings s = ShownValues({0, 0, 0, 0, 0, 0});
    EXPECT_EQ(s.first, 1);
    EXPECT_EQ(s.end, 100);
    EXPECT_EQ(s.option, 0);
    EXPECT_EQ(s.music, 0);  // 0 is a state the check box has
    EXPECT_EQ(s.speed, 3);

    // Hand-edited values just outside each range; good neighbours stay.
    s = ShownValues({2, 2, 101, -1, 4, 6});
    EXPECT_EQ(s.first, 1);
    EXPECT_EQ(s.end, 100);
    EXPECT_EQ(s.option, 0);
    EXPECT_EQ(s.music, 1);
    EXPECT_EQ(s.speed, 3);

    s = ShownValues({2, -1, 100, 1, -3, 1});
    EXPECT_EQ(s.first, 100);
    EXPECT_EQ(s.end, 1);  // a reversed range shows as it is; apply refuses it
    EXPECT_EQ(s.option, 0);
    EXPECT_EQ(s.music, 1);
    EXPECT_EQ(s.speed, 1);

    // A set number no set has (a hand-edited store) shows the range.
    Settings record;
    for (int16_t set : {-1, 12, 300}) EXPECT_EQ((record.Set = set, ShownValues(record).set), kNoStudySet) << set;
    for (int16_t set : {1, 11}) EXPECT_EQ((record.Set = set, ShownValues(record).set), set);
}

TEST(RangeAccepted, ExactlyOneToFirstToEndToHundred) {
    EXPECT_TRUE(RangeAccepted(1, 100));
    EXPECT_TRUE(RangeAccepted(37, 37));
    EXPECT_TRUE(RangeAccepted(100, 100));
    EXPECT_TRUE(RangeAccepted(1, 1));
    EXPECT_FALSE(RangeAccepted(50, 49));
    EXPECT_FALSE(RangeAccepted(0, 10));
    EXPECT_FALSE(RangeAccepted(0, 0));
    EXPECT_FALSE(RangeAccepted(1, 101));
    EXPECT_FALSE(RangeAccepted(101, 101));
    EXPECT_FALSE(RangeAccepted(-5, 3));
}

TEST(WholeNumberOfText, ReadsTheLeadingNumberLikeTheClassicConversion) {
    EXPECT_EQ(WholeNumberOfText(L"1"), 1);
    EXPECT_EQ(WholeNumberOfText(L"100"), 100);
    EXPECT_EQ(WholeNumberOfText(L" 42"), 42);
    EXPECT_EQ(WholeNumberOfText(L"7x"), 7);
    EXPECT_EQ(WholeNumberOfText(L"-3"), -3);
    EXPECT_EQ(WholeNumberOfText(L""), 0);
    EXPECT_EQ(WholeNumberOfText(L"abc"), 0);
    // Far too long a number saturates instead of wrapping round into range.
    EXPECT_FALSE(RangeAccepted(1, WholeNumberOfText(L"4294967297")));
}

TEST(HasAccessKey, BothKeysOfACaptionCountAndNothingElse) {
    EXPECT_TRUE(HasAccessKey(L"終了(&X&ｻ)", L'X'));
    EXPECT_TRUE(HasAccessKey(L"終了(&X&ｻ)", L'x'));
    EXPECT_TRUE(HasAccessKey(L"終了(&X&ｻ)", L'ｻ'));
    EXPECT_FALSE(HasAccessKey(L"終了(&X&ｻ)", L'S'));
    EXPECT_FALSE(HasAccessKey(L"終了(&X&ｻ)", L'('));
    EXPECT_TRUE(HasAccessKey(L"ﾊﾞｰｼﾞｮﾝ(&A)", L'a'));
    EXPECT_FALSE(HasAccessKey(L"A&&B", L'B'));  // "&&" is an ampersand, not a key
    EXPECT_FALSE(HasAccessKey(L"trailing&", L'&'));
}

TEST(VersionTitle, ApplicationTitleBlankVersion) {
    EXPECT_EQ(VersionTitle(), L"ミロベル　スクリーンセイバー Ver1.5");
}

TEST_F(ApplyTest, ABadRangeShowsTheMessageAloneAndChangesNothing) {
    EXPECT_EQ(ApplySettings(record, Values(L"50", L"49", 2, 0, L"5")), ApplyOutcome::BadRange);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, L"歌の選択範囲が違います。");
    EXPECT_EQ(boxes.shown[0].title, L"Mirobel");
    EXPECT_EQ(boxes.shown[0].style, kBoxOk);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(record.SelectFirst, 1);
    EXPECT_EQ(record.SelectEnd, 100);
    EXPECT_EQ(record.SelectType, 1);
    EXPECT_EQ(record.Speed, 3);
    EXPECT_EQ(record.MusicMode, 1);
}

TEST_F(ApplyTest, EveryBoundOfTheRangeIsChecked) {
    for (auto [first, end] : {std::pair{L"0", L"5"}, {L"1", L"101"}, {L"", L"5"}, {L"5", L""}}) {
        EXPECT_EQ(ApplySettings(record, Values(first, end)), ApplyOutcome::BadRange) << first << L" " << end;
    }
    EXPECT_EQ(boxes.shown.size(), 4u);
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(ApplyTest, AnsweringNoStoresNothingAndTheNextApplyAsksAgain) {
    boxes.answers = {kAnswerNo, kAnswerNo};
    EXPECT_EQ(ApplySettings(record, Values(L"37", L"37", 1, 0, L"2")), ApplyOutcome::NotConfirmed);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, L"更新しますか。\r\n");
    EXPECT_EQ(boxes.shown[0].title, L"ミロベル　スクリーンセイバー Ver1.5");
    EXPECT_EQ(boxes.shown[0].style, kBoxYesNo | kBoxIconQuestion | kBoxDefaultButton2);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(record.SelectFirst, 1);
    EXPECT_EQ(ApplySettings(record, Values(L"37", L"37", 1, 0, L"2")), ApplyOutcome::NotConfirmed);
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(ApplyTest, YesStoresAllSixKeysAsTextWithTheChosenOrder) {
    boxes.answers = {kAnswerYes};
    EXPECT_EQ(ApplySettings(record, Values(L"37", L"37", 2, 0, L"5")), ApplyOutcome::Saved);
    EXPECT_EQ(store.writes.size(), 10u);  // and "screens", "kimariji", "set" and "language"
    EXPECT_EQ(store.Get(L"saver type"), L"7");  // loaded, never shown, written back
    EXPECT_EQ(store.Get(L"kimariji"), L"0");
    EXPECT_EQ(store.Get(L"set"), L"");
    EXPECT_EQ(store.Get(L"music mode"), L"0");
    EXPECT_EQ(store.Get(L"select first"), L"37");
    EXPECT_EQ(store.Get(L"select end"), L"37");
    EXPECT_EQ(store.Get(L"select type"), L"3");
    EXPECT_EQ(store.Get(L"speed"), L"5");
    EXPECT_EQ(record.SelectType, 3);
    EXPECT_EQ(record.MusicMode, 0);

    for (auto [option, stored] : {std::pair{0, L"1"}, {1, L"2"}}) {
        boxes.answers = {kAnswerYes};
        ApplySettings(record, Values(L"1", L"100", option, 1));
        EXPECT_EQ(store.Get(L"select type"), stored);
        EXPECT_EQ(store.Get(L"music mode"), L"1");
    }
    // The set is stored by its name; the range's entry, or an entry no set
    // has, stores none.
    for (auto [set, stored] : {std::pair{4, L"green"}, {11, L"kimariji6"}, {0, L""}, {12, L""}}) {
        DialogValues values = Values(L"1", L"100", 0, 1);
        values.set = set;
        boxes.answers = {kAnswerYes};
        ApplySettings(record, values);
        EXPECT_EQ(store.Get(L"set"), stored) << set;
    }
}

TEST_F(ApplyTest, AStoreThatRefusesIsReportedAndTheRecordKeepsTheNewValues) {
    boxes.answers = {kAnswerYes};
    store.failWriteOn = L"select end";
    EXPECT_EQ(ApplySettings(record, Values(L"10", L"20", 1, 0, L"4")), ApplyOutcome::Saved);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].title, L"エラー");
    EXPECT_EQ(record.SelectFirst, 10);
    EXPECT_EQ(record.SelectEnd, 20);
    EXPECT_EQ(record.Speed, 4);
}

// The dialog shows a record and applying what it shows stores that record
// again: the controls and the apply read every field the same way.
TEST_F(ApplyTest, ARecordShownAndAppliedAsItStandsIsStoredUnchanged) {
    for (int16_t type : {1, 2, 3})
        for (int16_t on : {0, 1})
            for (int16_t speed : {1, 2, 5}) {
                Settings made{7, on, 12, 88, type, speed};
                made.Screens = on ? kEveryMonitor : kMainMonitorOnly;
                made.Kimariji = on == 0;
                made.Set = static_cast<int16_t>((type * 6 + speed * 2 + on) % (kStudySetCount + 1));
                const ShownSettings s = ShownValues(made);
                // Every field starts elsewhere, so a field the apply skips shows.
                record = {7, static_cast<int16_t>(1 - on), 1, 100, static_cast<int16_t>(type % 3 + 1),
                          static_cast<int16_t>(6 - speed)};
                record.Screens = on ? kMainMonitorOnly : kEveryMonitor;
                record.Kimariji = on == 1;
                record.Set = static_cast<int16_t>(made.Set % kStudySetCount + 1);
                boxes.answers = {kAnswerYes};
                const std::wstring first = std::to_wstring(s.first), end = std::to_wstring(s.end),
                                   pace = std::to_wstring(s.speed);
                DialogValues values = Values(first.c_str(), end.c_str(), s.option, s.music, pace.c_str());
                values.screens = s.screens, values.kimariji = s.kimariji, values.set = s.set;
                ASSERT_EQ(ApplySettings(record, values), ApplyOutcome::Saved);
                EXPECT_EQ(record, made) << type << " " << on << " " << speed;
                EXPECT_EQ(LoadSettings(), made) << "as stored";
            }
}

// The language menu's choice decides the language of the apply's two boxes
// and is stored with the rest.
TEST_F(ApplyTest, InEnglishBothBoxesSpeakEnglishAndTheChoiceIsStored) {
    DialogValues bad = Values(L"50", L"49");
    bad.language = Language::English;
    EXPECT_EQ(ApplySettings(record, bad), ApplyOutcome::BadRange);
    DialogValues good = Values(L"3", L"9");
    good.language = Language::English;
    boxes.answers = {kAnswerYes};
    EXPECT_EQ(ApplySettings(record, good), ApplyOutcome::Saved);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, L"The range of poems is not valid.");
    EXPECT_EQ(boxes.shown[0].title, L"Mirobel");
    EXPECT_EQ(boxes.shown[1].text, L"Apply these settings?\r\n");
    EXPECT_EQ(boxes.shown[1].title, L"Mirobel Screen Saver Ver1.5");
    EXPECT_EQ(boxes.shown[1].style, kBoxYesNo | kBoxIconQuestion | kBoxDefaultButton2);
    EXPECT_EQ(store.Get(L"language"), L"en");
    EXPECT_EQ(record.language, Language::English);
}
