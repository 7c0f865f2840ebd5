// The settings dialog built for real in the test's own process: what it
// shows of the record, its menu, and what apply and close do to the windows
// and the registry. The boxes are answered by a recording fake. Its looks
// are compared with pictures in ReferenceImagesTest.
#include "win32/settings/frmSet.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/poems/StudySets.h"
#include "core/settings/SettingsRules.h"
#include "win32/companions/Companions.h"
#include "win32/base/Fonts.h"
#include "win32/settings/RegistryStore.h"
#include "core/settings/Settings.h"
#include "support/Fakes.h"
#include "win32/WindowTesting.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\SetupVel");
    }
    void TearDown() override {
        for (HWND w : {frmSet, frmComment, frmHelp, salesf})
            if (w) DestroyWindow(w);
        Pump(30);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\SetupVel");
    }
    // The dialog showing the record an empty store loads.
    void Open(const Settings& record = {}) { ShowSettingsDialog(record, ReadDisplayScale()); }
    HWND Control(int id) { return FindById(frmSet, id); }
    std::wstring Stored(const wchar_t* key) {
        auto v = store.Read(kStoreApp, kStoreSection, key);
        return v ? *v : L"<none>";
    }
    int Selected(int id) { return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0)); }
    void Select(int id, int index) { SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    void Click(int id) {
        SendMessageW(Control(id), BM_CLICK, 0, 0);
        Pump(20);
    }
    BoxesInstalled boxes;
    RegistryStore store;
};
}  // namespace

TEST_F(SettingsDialogTest, WindowIsCaptionedSizedByItsClientAreaCentredAndVisible) {
    Open();
    ASSERT_NE(frmSet, nullptr);
    EXPECT_EQ(Text(frmSet), L"Saver Setting");
    SIZE client = ClientSize(frmSet);
    EXPECT_EQ(client.cx, 400);
    EXPECT_EQ(client.cy, 388);  // the classic 300, the screens row and the sets' row
    EXPECT_NE(GetMenu(frmSet), nullptr);
    EXPECT_TRUE(IsCentred(frmSet));
    EXPECT_TRUE(IsWindowVisible(frmSet));
    EXPECT_EQ(GetWindow(frmSet, GW_OWNER), nullptr);
}

// The pictures of the windows (ReferenceImagesTest) show their layout,
// colours and faces; what they cannot show is the character set the texts
// are asked for in, as the faces drawn here hold the characters either way.
TEST_F(SettingsDialogTest, EveryFormAsksForItsNamedFacesInShiftJis) {
    Open();
    ShowCommentary(ReadDisplayScale());
    ShowHelp(ReadDisplayScale());
    ShowSales(ReadDisplayScale());
    const std::wstring faces[] = {ResolveFace(kMinchoFace), ResolveFace(kPGothicFace)};
    int fonts = 0;
    for (HWND form : {frmSet, frmComment, frmHelp, salesf}) {
        ASSERT_NE(form, nullptr);
        for (HWND c : Descendants(form)) {
            if (!SendMessageW(c, WM_GETFONT, 0, 0)) continue;
            ++fonts;
            LOGFONTW lf = FontOf(c);
            EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET) << ::testing::PrintToString(Text(c));
            EXPECT_TRUE(lf.lfFaceName == faces[0] || lf.lfFaceName == faces[1])
                << ::testing::PrintToString(Text(c));
        }
    }
    EXPECT_GE(fonts, 30);
}

TEST_F(SettingsDialogTest, ListsHoldTheirEntriesInOrder) {
    Open();
    auto entries = [&](int id) {
        std::vector<std::wstring> all;
        int n = static_cast<int>(SendMessageW(Control(id), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t text[16] = {};
            SendMessageW(Control(id), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            all.push_back(text);
        }
        return all;
    };
    std::vector<std::wstring> hundred, five;
    for (int i = 1; i <= 100; ++i) hundred.push_back(std::to_wstring(i));
    for (int i = 1; i <= 5; ++i) five.push_back(std::to_wstring(i));
    EXPECT_EQ(entries(kIdComboFirst), hundred);
    EXPECT_EQ(entries(kIdComboEnd), hundred);
    EXPECT_EQ(entries(kIdComboSpeed), five);
}

TEST_F(SettingsDialogTest, TheRecordIsShownAndWhatCannotBeShownShowsItsDefault) {
    Open({.SaverType = 2, .MusicMode = 0, .SelectFirst = 37, .SelectEnd = 64, .SelectType = 3, .Speed = 5});
    EXPECT_EQ(Text(Control(kIdComboFirst)), L"37");
    EXPECT_EQ(Text(Control(kIdComboEnd)), L"64");
    EXPECT_EQ(Text(Control(kIdComboSpeed)), L"5");
    EXPECT_EQ(SendMessageW(Control(kIdOptionType + 2), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Control(kIdCheckMusic), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Text(Control(kIdCheckMusic)), L"Music Off");
    DestroyWindow(frmSet);

    Open({.SaverType = 0, .MusicMode = 7, .SelectFirst = 0, .SelectEnd = 300, .SelectType = 9, .Speed = 0});
    EXPECT_EQ(Text(Control(kIdComboFirst)), L"1");
    EXPECT_EQ(Text(Control(kIdComboEnd)), L"100");
    EXPECT_EQ(Text(Control(kIdComboSpeed)), L"3");
    EXPECT_EQ(SendMessageW(Control(kIdOptionType), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Text(Control(kIdCheckMusic)), L"Music On");
    // Showing changes nothing in the record: what no control shows goes
    // back to the store as it came.
    boxes.answers = {kAnswerYes};
    Click(kIdCommandButton);
    EXPECT_EQ(Stored(L"saver type"), L"0");
}

// The row below the speed shows the record's screens and kimariji and an
// apply stores what is chosen there, beside the six classic values.
TEST_F(SettingsDialogTest, TheScreensChoiceAndTheKimarijiBoxAreShownAndStoredOnApply) {
    Settings every;
    every.Screens = kEveryMonitor;
    every.Kimariji = true;
    Open(every);
    EXPECT_EQ(Text(Control(kIdCheckKimariji)), L"決まり字");
    EXPECT_EQ(SendMessageW(Control(kIdCheckKimariji), BM_GETCHECK, 0, 0), BST_CHECKED);
    Click(kIdCheckKimariji);
    EXPECT_EQ(Text(Control(kIdOptionScreens)), L"主画面のみ");
    EXPECT_EQ(Text(Control(kIdOptionScreens + 1)), L"すべての画面");
    EXPECT_EQ(SendMessageW(Control(kIdOptionScreens + 1), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Control(kIdOptionScreens), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Click(kIdOptionScreens);
    boxes.answers = {kAnswerYes};
    Click(kIdCommandButton);
    EXPECT_EQ(Stored(L"screens"), L"0");
    EXPECT_EQ(Stored(L"kimariji"), L"0");
    EXPECT_EQ(frmSet, nullptr);

    Open();
    EXPECT_EQ(SendMessageW(Control(kIdOptionScreens), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Control(kIdCheckKimariji), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Click(kIdCheckKimariji);
    Click(kIdOptionScreens + 1);
    // Choosing an order leaves the screens alone: the two groups are apart.
    Click(kIdOptionType + 1);
    EXPECT_EQ(SendMessageW(Control(kIdOptionScreens + 1), BM_GETCHECK, 0, 0), BST_CHECKED);
    boxes.answers = {kAnswerYes};
    Click(kIdCommandButton);
    EXPECT_EQ(Stored(L"screens"), L"1");
    EXPECT_EQ(Stored(L"kimariji"), L"1");
    EXPECT_EQ(Stored(L"select type"), L"2");
}

// The sets' list offers the range and the eleven sets by their labels and
// shows the record's set. While a set is chosen the range's lists are
// disabled, keeping their values for when the range comes back; the choice
// is stored on apply.
TEST_F(SettingsDialogTest, AChosenSetDisablesTheRangeWhichKeepsItsValuesAndIsStoredOnApply) {
    Settings green;
    green.SelectFirst = 10, green.SelectEnd = 20, green.Set = static_cast<int16_t>(StudySetNamed("green"));
    Open(green);
    HWND sets = Control(kIdComboSets);
    ASSERT_NE(sets, nullptr);
    ASSERT_EQ(SendMessageW(sets, CB_GETCOUNT, 0, 0), kStudySetCount + 1);
    for (int i = 0; i <= kStudySetCount; ++i) {
        wchar_t item[32] = {};
        SendMessageW(sets, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        EXPECT_EQ(std::wstring(item), i == 0 ? kRangeLabel : StudySetNumbered(i)->label) << i;
    }
    auto rangeEnabled = [&] {
        const bool first = IsWindowEnabled(Control(kIdComboFirst)), end = IsWindowEnabled(Control(kIdComboEnd));
        EXPECT_EQ(first, end);
        return first;
    };
    // As the list reports a choice (the keys that make one are the
    // end-to-end test's).
    auto choose = [&](int index) {
        Select(kIdComboSets, index);
        SendMessageW(frmSet, WM_COMMAND, MAKEWPARAM(kIdComboSets, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sets));
    };
    EXPECT_EQ(Selected(kIdComboSets), StudySetNamed("green"));
    EXPECT_FALSE(rangeEnabled());
    choose(0);  // the range
    EXPECT_TRUE(rangeEnabled());
    EXPECT_EQ(Text(Control(kIdComboFirst)), L"10");
    EXPECT_EQ(Text(Control(kIdComboEnd)), L"20");
    choose(kStudySetCount);  // six sounds
    EXPECT_FALSE(rangeEnabled());
    boxes.answers = {kAnswerYes};
    Click(kIdCommandButton);
    EXPECT_EQ(Stored(L"set"), L"kimariji6");
    EXPECT_EQ(Stored(L"select first"), L"10");

    Open(LoadSettings());
    EXPECT_EQ(Selected(kIdComboSets), kStudySetCount);
    EXPECT_FALSE(rangeEnabled());
}

TEST_F(SettingsDialogTest, MusicBoxRelabelsItselfAndTheRecordWaitsForApply) {
    Open();
    Click(kIdCheckMusic);
    EXPECT_EQ(Text(Control(kIdCheckMusic)), L"Music Off");
    EXPECT_EQ(Stored(L"music mode"), L"<none>");
    Click(kIdCheckMusic);
    EXPECT_EQ(Text(Control(kIdCheckMusic)), L"Music On");
}

TEST_F(SettingsDialogTest, MenuCaptionsCarryBothAccessKeys) {
    Open();
    HMENU bar = GetMenu(frmSet);
    auto caption = [](HMENU menu, int pos) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(pos), text, 64, MF_BYPOSITION);
        return std::wstring(text);
    };
    ASSERT_EQ(GetMenuItemCount(bar), 4);  // the classic three, then the language
    EXPECT_EQ(caption(bar, 0), L"終了(&X&ｻ)");
    EXPECT_EQ(caption(bar, 1), L"更新(&S&ﾄ)");
    EXPECT_EQ(caption(bar, 2), L"ﾍﾙﾌﾟ(&H&ｸ)");
    HMENU help = GetSubMenu(bar, 2);
    ASSERT_EQ(GetMenuItemCount(help), 4);
    EXPECT_EQ(caption(help, 0), L"使い方(&H&ｸ)");
    EXPECT_EQ(caption(help, 1), L"百人一首の解説(&C&ｿ)");
    EXPECT_EQ(caption(help, 2), L"ｿﾌﾄ紹介(&E&ｲ)");
    EXPECT_EQ(caption(help, 3), L"ﾊﾞｰｼﾞｮﾝ(&A)");
    // The kana keys reach their entries through the menu-character request.
    LRESULT r = SendMessageW(frmSet, WM_MENUCHAR, MAKEWPARAM(L'ｿ', MF_POPUP), reinterpret_cast<LPARAM>(help));
    EXPECT_EQ(HIWORD(r), MNC_EXECUTE);
    EXPECT_EQ(LOWORD(r), 1);
    r = SendMessageW(frmSet, WM_MENUCHAR, MAKEWPARAM(L'ﾄ', 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(HIWORD(r), MNC_EXECUTE);
    EXPECT_EQ(LOWORD(r), 1);
    r = SendMessageW(frmSet, WM_MENUCHAR, MAKEWPARAM(L'ﾇ', 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(HIWORD(r), MNC_IGNORE);
}

TEST_F(SettingsDialogTest, BadRangeKeepsTheDialogAsTheUserLeftIt) {
    Open();
    Select(kIdComboFirst, 49);
    Select(kIdComboEnd, 48);
    Click(kIdCommandButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, L"歌の選択範囲が違います。");
    ASSERT_NE(frmSet, nullptr);
    EXPECT_EQ(Text(Control(kIdComboFirst)), L"50");
    EXPECT_EQ(Text(Control(kIdComboEnd)), L"49");
    EXPECT_EQ(Stored(L"select first"), L"<none>");
}

TEST_F(SettingsDialogTest, ConfirmedApplyStoresClosesTheDialogHelpAndIntroductionButNotTheViewer) {
    Open();
    ShowHelp(ReadDisplayScale());
    ShowSales(ReadDisplayScale());
    ShowCommentary(ReadDisplayScale());
    Select(kIdComboFirst, 36);
    Select(kIdComboEnd, 36);
    Select(kIdComboSpeed, 0);
    Click(kIdOptionType + 2);
    Click(kIdCheckMusic);
    boxes.answers = {kAnswerNo, kAnswerYes};
    SendMessageW(frmSet, WM_COMMAND, kIdMenuSet, 0);  // the menu entry, answered No
    Pump(20);
    ASSERT_NE(frmSet, nullptr);
    EXPECT_EQ(Stored(L"speed"), L"<none>");
    Click(kIdCommandButton);  // the button, answered Yes
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(frmSet, nullptr);
    EXPECT_EQ(frmHelp, nullptr);
    EXPECT_EQ(salesf, nullptr);
    EXPECT_NE(frmComment, nullptr);
    EXPECT_EQ(Stored(L"saver type"), L"2");
    EXPECT_EQ(Stored(L"music mode"), L"0");
    EXPECT_EQ(Stored(L"select first"), L"37");
    EXPECT_EQ(Stored(L"select end"), L"37");
    EXPECT_EQ(Stored(L"select type"), L"3");
    EXPECT_EQ(Stored(L"speed"), L"1");
}

TEST_F(SettingsDialogTest, CloseClosesEveryWindowWithoutAskingOrStoring) {
    Open();
    ShowHelp(ReadDisplayScale());
    ShowSales(ReadDisplayScale());
    ShowCommentary(ReadDisplayScale());
    int before = OpenWindowCount();
    SendMessageW(frmSet, WM_COMMAND, kIdMenuClose, 0);
    Pump(20);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(frmSet, nullptr);
    EXPECT_EQ(frmHelp, nullptr);
    EXPECT_EQ(salesf, nullptr);
    EXPECT_EQ(frmComment, nullptr);
    EXPECT_EQ(OpenWindowCount(), before - 4);
    EXPECT_EQ(Stored(L"speed"), L"<none>");
}

TEST_F(SettingsDialogTest, TheCloseBoxClosesOnlyTheDialog) {
    Open();
    ShowHelp(ReadDisplayScale());
    ShowCommentary(ReadDisplayScale());
    SendMessageW(frmSet, WM_CLOSE, 0, 0);
    Pump(20);
    EXPECT_EQ(frmSet, nullptr);
    EXPECT_NE(frmHelp, nullptr);
    EXPECT_NE(frmComment, nullptr);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsDialogTest, HelpMenuEntriesOpenTheirWindowsOnceEach) {
    Open();
    for (int round = 0; round < 2; ++round) {
        SendMessageW(frmSet, WM_COMMAND, kIdMenuAbout + 0, 0);
        SendMessageW(frmSet, WM_COMMAND, kIdMenuAbout + 1, 0);
        SendMessageW(frmSet, WM_COMMAND, kIdMenuAbout + 2, 0);
        Click(kIdCommandButton + 1);
        Click(kIdCommandButton + 2);
    }
    EXPECT_NE(frmHelp, nullptr);
    EXPECT_NE(frmComment, nullptr);
    EXPECT_NE(salesf, nullptr);
    int helpWindows = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            if (Text(h) == L"ミロベルスクリーンセイバーの使い方") ++*reinterpret_cast<int*>(lp);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&helpWindows));
    EXPECT_EQ(helpWindows, 1);
    SendMessageW(frmSet, WM_COMMAND, kIdMenuAbout + 3, 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, L"ミロベル　スクリーンセイバー Ver1.5");
}

// What the help calls the dialog's items are the dialog's own words: each row
// caption (up to its first blank: the speed's hint is no part of its name)
// and each check box that names a setting rather than its state. An item
// added to the dialog and not to the help, or gone from the dialog and left
// in the help, fails here.
TEST_F(SettingsDialogTest, TheHelpItOpensNamesEveryItemOfItsSettingsAndNoOther) {
    Open();
    std::set<std::wstring> dialogItems;
    auto name = [](const std::wstring& caption) { return caption.substr(0, caption.find_first_of(L" 　")); };
    for (HWND h : Descendants(frmSet)) {
        if (ClassName(GetParent(h)) != L"MirobelPanel") continue;
        std::wstring caption = Text(h);
        LONG kind = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
        bool rowCaption = ClassName(h) == L"Static" && caption != L"～";
        bool namingBox = ClassName(h) == L"Button" && kind == BS_AUTOCHECKBOX && caption != MusicCaption(0) &&
                         caption != MusicCaption(1);
        if (rowCaption || namingBox) dialogItems.insert(name(caption));
    }
    ASSERT_GE(dialogItems.size(), 6u);

    Click(kIdCommandButton + 1);
    ASSERT_NE(frmHelp, nullptr);
    std::wstring help;
    for (HWND h : Descendants(frmHelp))
        if (ClassName(h) == L"Edit") help = Text(h);
    const std::wstring heading = L"\r\n■設定について\r\n";
    size_t at = help.find(heading);
    ASSERT_NE(at, std::wstring::npos);
    at += heading.size();
    std::vector<std::wstring> helpItems;
    // The section runs to its empty line; its items begin with ① to ⑳.
    for (size_t end; (end = help.find(L"\r\n", at)) != std::wstring::npos && end > at; at = end + 2)
        if (help[at] >= L'①' && help[at] <= L'⑳') helpItems.push_back(name(help.substr(at + 1, end - at - 1)));
    EXPECT_EQ(std::set<std::wstring>(helpItems.begin(), helpItems.end()), dialogItems);
    EXPECT_EQ(helpItems.size(), dialogItems.size()) << "an item told twice";
}

// The language menu relabels the open dialog at once, in the same places,
// opens the companion windows in its language, and is stored by an apply
// like the other values; the dialog's values stay as the user set them.
TEST_F(SettingsDialogTest, TheLanguageMenuRelabelsTheDialogAtOnceAndAnApplyStoresIt) {
    Open();
    HMENU bar = GetMenu(frmSet);
    HMENU languages = GetSubMenu(bar, 3);
    ASSERT_EQ(GetMenuItemCount(languages), 2);
    EXPECT_EQ(GetMenuState(languages, kIdMenuLanguage, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    std::vector<RECT> before;
    for (HWND c : Descendants(frmSet)) before.push_back(InParent(c));
    Select(kIdComboFirst, 4);
    Click(kIdCheckMusic);  // off

    SendMessageW(frmSet, WM_COMMAND, kIdMenuLanguage + 1, 0);
    Pump(30);
    EXPECT_EQ(Text(frmSet), L"Saver Setting");  // the start-up guard's caption
    for (const wchar_t* caption : {L"Mirobel ScreenSaver", L"Range", L"Random", L"Music Off", L"Apply", L"Close"})
        EXPECT_NE(FindByText(frmSet, caption), nullptr) << ::testing::PrintToString(std::wstring(caption));
    EXPECT_EQ(FindByText(frmSet, L"更新"), nullptr);
    EXPECT_STREQ(FontOf(FindByText(frmSet, L"Range")).lfFaceName, ResolveFace(kLatinFace).c_str());
    std::vector<RECT> after;
    for (HWND c : Descendants(frmSet)) after.push_back(InParent(c));
    EXPECT_EQ(before.size(), after.size());
    for (size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        EXPECT_TRUE(EqualRect(&before[i], &after[i])) << "control " << i << " moved";
    EXPECT_EQ(ClientSize(frmSet).cy, 388);
    languages = GetSubMenu(GetMenu(frmSet), 3);
    EXPECT_EQ(GetMenuState(languages, kIdMenuLanguage + 1, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(Selected(kIdComboFirst), 4);
    EXPECT_EQ(Stored(L"language"), L"<none>");  // nothing is stored before an apply

    SendMessageW(frmSet, WM_COMMAND, kIdMenuAbout + 1, 0);
    ASSERT_NE(frmComment, nullptr);
    EXPECT_EQ(Text(frmComment), L"Hyakunin Isshu");
    SendMessageW(frmSet, WM_COMMAND, kIdMenuAbout + 3, 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, L"Mirobel Screen Saver Ver1.5");

    boxes.answers = {kAnswerYes};
    Click(kIdCommandButton);
    EXPECT_EQ(boxes.shown.back().text, L"Apply these settings?\r\n");
    EXPECT_EQ(frmSet, nullptr);
    EXPECT_EQ(Stored(L"language"), L"en");
    EXPECT_EQ(Stored(L"select first"), L"5");
    EXPECT_EQ(Stored(L"music mode"), L"0");
}
