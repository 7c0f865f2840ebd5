#include "core/settings/Settings.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
void ExpectRecord(const Settings& loaded, Settings expected) {
    EXPECT_EQ(loaded.SaverType, expected.SaverType);
    EXPECT_EQ(loaded.MusicMode, expected.MusicMode);
    EXPECT_EQ(loaded.SelectFirst, expected.SelectFirst);
    EXPECT_EQ(loaded.SelectEnd, expected.SelectEnd);
    EXPECT_EQ(loaded.SelectType, expected.SelectType);
    EXPECT_EQ(loaded.Speed, expected.Speed);
}
const std::vector<std::wstring> kKeyOrder = {L"saver type", L"music mode", L"select first",
                                              L"select end", L"select type", L"speed", L"screens",
                                              L"kimariji", L"set", L"language"};

class SettingsTest : public ::testing::Test {
protected:
    FakePlatform fake;
    RecordingBoxes& boxes = fake.boxes;
    MemoryStore& store = fake.store;
};
}  // namespace

TEST(SettingFromText, AcceptsDecimalNumbersWithBlanksAroundAndRoundsHalfToEven) {
    EXPECT_EQ(SettingFromText(L"42"), 42);
    EXPECT_EQ(SettingFromText(L"  42\t"), 42);
    EXPECT_EQ(SettingFromText(L"42.5"), 42);
    EXPECT_EQ(SettingFromText(L"43.5"), 44);
    EXPECT_EQ(SettingFromText(L"2.5"), 2);
    EXPECT_EQ(SettingFromText(L"3.5"), 4);
    EXPECT_EQ(SettingFromText(L"-3"), -3);
    EXPECT_EQ(SettingFromText(L"+9"), 9);
    EXPECT_EQ(SettingFromText(L".6"), 1);
    EXPECT_EQ(SettingFromText(L"1e2"), 100);
    EXPECT_EQ(SettingFromText(L"-32768"), -32768);
    EXPECT_EQ(SettingFromText(L"32767"), 32767);
    EXPECT_EQ(SettingFromText(L"32767.4"), 32767);
}

TEST(SettingFromText, RejectsWhatIsNotANumberOrDoesNotFit) {
    for (const wchar_t* bad : {L"", L"   ", L"abc", L"4 2", L"42x", L"x42", L"0x10", L"-", L".", L"1e", L"１２"}) {
        try {
            SettingFromText(bad);
            ADD_FAILURE() << "accepted: " << ::testing::PrintToString(std::wstring(bad));
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number, 13) << ::testing::PrintToString(std::wstring(bad));
        }
    }
    for (const wchar_t* big : {L"40000", L"32768", L"-32769", L"32767.5", L"1e9"}) {
        try {
            SettingFromText(big);
            ADD_FAILURE() << "accepted: " << ::testing::PrintToString(std::wstring(big));
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number, 6);
        }
    }
}

TEST(SettingToText, PlainDecimal) {
    EXPECT_EQ(SettingToText(0), L"0");
    EXPECT_EQ(SettingToText(100), L"100");
    EXPECT_EQ(SettingToText(-3), L"-3");
    EXPECT_EQ(SettingToText(-32768), L"-32768");
}

TEST_F(SettingsTest, EmptyStoreLoadsTheDefaultsInTableOrder) {
    ExpectRecord(LoadSettings(), {2, 1, 1, 100, 1, 3});
    EXPECT_EQ(store.reads, kKeyOrder);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsTest, StoredValuesOverrideDefaultsOneByOne) {
    store.Put(L"speed", L"5");
    ExpectRecord(LoadSettings(), {2, 1, 1, 100, 1, 5});
    store.Put(L"select end", L" 42 ");
    store.Put(L"speed", L"9");  // out of the dialog's range, but a 16-bit value
    ExpectRecord(LoadSettings(), {2, 1, 1, 42, 1, 9});
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsTest, BadTextStopsTheLoadWithOneBoxAndDefaultsTheRest) {
    store.Put(L"saver type", L"7");
    store.Put(L"music mode", L"0");
    store.Put(L"select first", L"abc");
    store.Put(L"select end", L"50");
    store.Put(L"language", L"ja");
    ExpectRecord(LoadSettings(), {7, 0, 1, 100, 1, 3});
    // The values later versions added are read all the same: they are no part of the six.
    EXPECT_EQ(store.reads, (std::vector<std::wstring>{L"saver type", L"music mode", L"select first", L"screens",
                                                      L"kimariji", L"set", L"language"}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, L"エラー番号 =  13、Mirobel でエラーが発生しました。 \r型が一致しません。");
    EXPECT_EQ(boxes.shown[0].title, L"エラー");
    EXPECT_EQ(boxes.shown[0].style, kBoxOk);
    EXPECT_TRUE(boxes.modalUpDuringShow);
    EXPECT_FALSE(ModalBoxUp());
}

// The box speaks the stored language, though it is read after the failure.
TEST_F(SettingsTest, OutOfRangeAndStoreFailuresAreReportedToo) {
    store.Put(L"speed", L"40000");
    store.Put(L"language", L"en");
    ExpectRecord(LoadSettings(), {2, 1, 1, 100, 1, 3});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, L"Error 6 occurred in Mirobel.\rOverflow.");
    EXPECT_EQ(boxes.shown[0].title, L"Error");
    store.Put(L"language", L"ja");

    store.failReadOn = L"select type";
    store.Put(L"select first", L"12");
    // The fields read before the failure keep what was read.
    ExpectRecord(LoadSettings(), {2, 1, 12, 100, 1, 3});
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, L"エラー番号 =  70、Store でエラーが発生しました。 \r書き込みできません。");
}

TEST_F(SettingsTest, SaveWritesAllKeysInOrderAsPlainText) {
    Settings record{7, 0, 12, 88, 3, 5};
    record.Screens = kEveryMonitor, record.Kimariji = true, record.Set = StudySetNamed("kimariji3");
    SaveSettings(record);
    EXPECT_EQ(store.writes, kKeyOrder);
    EXPECT_EQ(store.Get(L"saver type"), L"7");
    EXPECT_EQ(store.Get(L"music mode"), L"0");
    EXPECT_EQ(store.Get(L"select first"), L"12");
    EXPECT_EQ(store.Get(L"select end"), L"88");
    EXPECT_EQ(store.Get(L"select type"), L"3");
    EXPECT_EQ(store.Get(L"speed"), L"5");
    EXPECT_EQ(store.Get(L"screens"), L"1");
    EXPECT_EQ(store.Get(L"kimariji"), L"1");
    EXPECT_EQ(store.Get(L"set"), L"kimariji3");
    EXPECT_TRUE(boxes.shown.empty());

    // What was saved loads back unchanged.
    EXPECT_EQ(LoadSettings(), record);
}

TEST_F(SettingsTest, RefusedWriteStopsTheSaveWithOneBox) {
    store.Put(L"speed", L"1");
    store.failWriteOn = L"select end";
    SaveSettings({2, 1, 30, 40, 2, 4});
    EXPECT_EQ(store.writes, (std::vector<std::wstring>{L"saver type", L"music mode", L"select first", L"select end"}));
    EXPECT_EQ(store.Get(L"select first"), L"30");  // written up to the refused key ...
    EXPECT_EQ(store.Get(L"speed"), L"1");          // ... and later keys keep their old values
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.substr(0, 18), L"エラー番号 =  5、Mirobel");
}

// No earlier version wrote "screens": whatever it holds, the six classic
// values load as before and a value the show cannot use is main monitor only,
// with no box.
TEST_F(SettingsTest, ScreensRoundTripsAndReadsAnythingElseAsMainMonitorOnly) {
    Settings every{7, 0, 12, 88, 3, 5};
    every.Screens = kEveryMonitor;
    SaveSettings(every);
    EXPECT_EQ(store.Get(L"screens"), L"1");
    EXPECT_EQ(LoadSettings(), every);
    SaveSettings(Settings{});
    EXPECT_EQ(store.Get(L"screens"), L"0");
    EXPECT_EQ(LoadSettings().Screens, kMainMonitorOnly);

    for (const wchar_t* bad : {L"", L"abc", L"2", L"-1", L"99999", L"1x"}) {
        store.Put(L"screens", bad);
        const Settings loaded = LoadSettings();
        EXPECT_EQ(loaded.Screens, kMainMonitorOnly) << bad;
        EXPECT_EQ(loaded, Settings{}) << bad;
    }
    store.Put(L"screens", L" 1 ");
    EXPECT_EQ(LoadSettings().Screens, kEveryMonitor);
    store.failReadOn = L"screens";
    EXPECT_EQ(LoadSettings().Screens, kMainMonitorOnly);
    EXPECT_TRUE(boxes.shown.empty());

    // A bad classic value still gets its one box, and does not hide "screens".
    store.failReadOn.reset();
    store.Put(L"speed", L"fast");
    EXPECT_EQ(LoadSettings().Screens, kEveryMonitor);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(SettingsTest, KimarijiIsOnForOneOffForZeroAndOffWithoutABoxForAnythingElse) {
    EXPECT_FALSE(LoadSettings().Kimariji);  // a store from before the setting
    for (auto [text, on] : {std::pair{L"1", true}, {L" 1 ", true}, {L"0", false}, {L"2", false}, {L"", false},
                            {L"abc", false}, {L"-1", false}, {L"99999", false}}) {
        store.Put(L"kimariji", text);
        EXPECT_EQ(LoadSettings().Kimariji, on) << ::testing::PrintToString(std::wstring(text));
    }
    store.failReadOn = L"kimariji";
    EXPECT_FALSE(LoadSettings().Kimariji);
    EXPECT_TRUE(boxes.shown.empty());
    // The six classic values load as they did beside it.
    store.failReadOn.reset();
    store.Put(L"kimariji", L"1");
    ExpectRecord(LoadSettings(), {2, 1, 1, 100, 1, 3});

    SaveSettings({});
    EXPECT_EQ(store.Get(L"kimariji"), L"0");
}

// No earlier version wrote "set": missing, empty, unknown or unreadable is
// the range, with no box, and a bad classic value does not hide a set.
TEST_F(SettingsTest, SetRoundTripsByNameAndReadsAnythingElseAsTheRange) {
    for (int number = -1; number <= kStudySetCount + 1; ++number) {
        Settings chosen{7, 0, 12, 88, 3, 5};
        chosen.Set = static_cast<int16_t>(number);
        SaveSettings(chosen);
        const StudySet* set = StudySetNumbered(number);
        EXPECT_EQ(store.Get(L"set"), set ? std::wstring(set->name.begin(), set->name.end()) : L"") << number;
        EXPECT_EQ(LoadSettings().Set, set ? number : kNoStudySet);
    }
    for (const wchar_t* bad : {L"", L"Blue", L" blue", L"red", L"kimariji0", L"kimariji7", L"1", L"青"}) {
        store.Put(L"set", bad);
        EXPECT_EQ(LoadSettings().Set, kNoStudySet) << ::testing::PrintToString(std::wstring(bad));
    }
    store.failReadOn = L"set";
    EXPECT_EQ(LoadSettings().Set, kNoStudySet);
    EXPECT_TRUE(boxes.shown.empty());

    store.failReadOn.reset();
    store.Put(L"set", L"orange");
    store.Put(L"speed", L"fast");
    EXPECT_EQ(LoadSettings().Set, StudySetNamed("orange"));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

// "language" is a code, not a number. Without a usable one the record
// follows the desktop: Japanese on a Japanese desktop, English on any other,
// and never with a box.
TEST_F(SettingsTest, LanguageRoundTripsAndWithoutAUsableCodeFollowsTheDesktop) {
    for (Language language : {Language::English, Language::Japanese}) {
        Settings record{7, 0, 12, 88, 3, 5};
        record.language = language;
        SaveSettings(record);
        EXPECT_EQ(store.Get(L"language"), language == Language::English ? L"en" : L"ja");
        EXPECT_EQ(LoadSettings(), record);
    }
    struct Desktop : DesktopLanguage {
        Language speaks = Language::Japanese;
        Language Get() override { return speaks; }
    } desktop;
    for (Language speaks : {Language::Japanese, Language::English}) {
        desktop.speaks = speaks;
        for (DesktopLanguage* seam : {static_cast<DesktopLanguage*>(&desktop), static_cast<DesktopLanguage*>(nullptr)}) {
            g_platform.desktop = seam;
            const Language expected = seam && speaks == Language::Japanese ? Language::Japanese : Language::English;
            store.values.erase(MemoryStore::Path(kStoreApp, kStoreSection, L"language"));
            EXPECT_EQ(LoadSettings().language, expected) << "missing";
            for (const wchar_t* bad : {L"", L"JA", L"en-US", L" en", L"fr", L"1"}) {
                store.Put(L"language", bad);
                EXPECT_EQ(LoadSettings().language, expected) << ::testing::PrintToString(std::wstring(bad));
            }
            store.failReadOn = L"language";
            EXPECT_EQ(LoadSettings().language, expected) << "unreadable";
            store.failReadOn.reset();
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
    // The classic values load as they did beside it.
    store.Put(L"language", L"en");
    ExpectRecord(LoadSettings(), {7, 0, 12, 88, 3, 5});
}
