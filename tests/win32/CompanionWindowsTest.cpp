// The commentary viewer, the help window, the introduction window and the
// About box, built for real in the test's own process. Their layouts and
// colours are compared with pictures in ReferenceImagesTest.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/base/Platform.h"
#include "core/companions/CompanionRules.h"
#include "win32/companions/Companions.h"
#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"
#include "core/poems/StudySets.h"
#include "win32/Pictures.h"
#include "support/Fakes.h"
#include "win32/WindowTesting.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
class CompanionTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (HWND w : {frmComment, frmHelp, salesf})
            if (w) DestroyWindow(w);
        Pump(30);
    }
};

HWND Chooser() {
    for (HWND h : Descendants(frmComment))
        if (ClassName(h) == L"ComboBox") return h;
    return nullptr;
}
std::vector<HWND> TextBoxes(HWND window) {
    std::vector<HWND> boxes;
    for (HWND h : Descendants(window))
        if (ClassName(h) == L"Edit") boxes.push_back(h);
    return boxes;
}
int Count(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); }
int Selection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

void Press(HWND window, const wchar_t* caption) {
    SendMessageW(FindByText(window, caption, L"Button"), BM_CLICK, 0, 0);
    Pump(20);
}
}  // namespace

TEST_F(CompanionTest, ViewerOpensCentredWithAHundredEntriesNothingSelectedAndEmptyBoxes) {
    ShowCommentary(ReadDisplayScale());
    ASSERT_NE(frmComment, nullptr);
    EXPECT_EQ(Text(frmComment), L"百人一首の解説");
    EXPECT_TRUE(IsCentred(frmComment));
    HWND combo = Chooser();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(Count(combo), 100);
    EXPECT_EQ(Selection(combo), -1);
    FillPoemTables();
    for (int k : {0, 41, 99}) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(text, ChooserEntryText(k));
    }
    std::vector<HWND> boxes = TextBoxes(frmComment);
    ASSERT_EQ(boxes.size(), 4u);
    for (HWND box : boxes) {
        EXPECT_EQ(Text(box), L"");
        EXPECT_FALSE(GetWindowLongW(box, GWL_STYLE) & ES_READONLY);
    }
}

TEST_F(CompanionTest, ChoosingWithNothingSelectedShowsPoemOneAndAnotherEntryReplacesAllFour) {
    ShowCommentary(ReadDisplayScale());
    Press(frmComment, L"決定");
    HWND combo = Chooser();
    EXPECT_EQ(Selection(combo), 0);
    std::vector<HWND> boxes = TextBoxes(frmComment);
    EXPECT_EQ(Text(boxes[0]), L"あきのたの かりほのいほの とまをあらみ");
    EXPECT_EQ(Text(boxes[1]), L"わがころもでは つゆにぬれつつ");
    EXPECT_EQ(Text(boxes[2]), L"天智天皇");
    EXPECT_EQ(Text(boxes[3]), CommentTable(1).substr(4));

    SendMessageW(combo, CB_SETCURSEL, 99, 0);
    Press(frmComment, L"決定");
    CommentaryTexts hundred = CommentaryFor(100);
    EXPECT_EQ(Text(boxes[0]), hundred.upper);
    EXPECT_EQ(Text(boxes[1]), hundred.lower);
    EXPECT_EQ(Text(boxes[2]), L"順徳院");
    EXPECT_EQ(Text(boxes[3]), hundred.comment);
}

// The line also names the poem's group by its sounds, and the colour set's
// name stands in its colour in the captions' column beside it.
TEST_F(CompanionTest, TheChosenPoemsKimarijiStandsUnderTheChooserWithItsKanaInVermilion) {
    ShowCommentary(ReadDisplayScale());
    HWND line = FindById(frmComment, 120);  // the kimariji's line
    HWND tag = FindById(frmComment, 121);   // the colour set's name
    ASSERT_NE(line, nullptr);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(Text(line), L"");
    EXPECT_EQ(Text(tag), L"");
    SendMessageW(Chooser(), CB_SETCURSEL, 43, 0);
    Press(frmComment, L"決定");
    EXPECT_EQ(Text(line), L"決まり字「あふこ」　三字決まり");
    EXPECT_EQ(Text(tag), L"「橙」");
    // Under the chooser, above the upper verse, clear of both and of "決定".
    const RECT place = InParent(line), chooser = InParent(Chooser()), upper = InParent(TextBoxes(frmComment)[0]);
    const RECT button = InParent(FindByText(frmComment, L"決定", L"Button"));
    EXPECT_GE(place.top, chooser.bottom);
    EXPECT_LE(place.bottom, upper.top);
    EXPECT_LE(place.right, button.left);
    EXPECT_EQ(place.left, chooser.left);

    const RECT tagPlace = InParent(tag);
    EXPECT_LE(tagPlace.right, place.left);
    EXPECT_EQ(tagPlace.top, place.top);

    UpdateWindow(frmComment);
    Pump(50);
    const Pixels seen = ClientPixels(frmComment);
    // Pixels of a control within 24 of a colour in each channel.
    auto matching = [&](HWND control, Rgb want) {
        POINT at{0, 0};
        MapWindowPoints(control, frmComment, &at, 1);
        const SIZE size = ClientSize(control);
        int count = 0;
        for (int y = at.y; y < at.y + size.cy; ++y)
            for (int x = at.x; x < at.x + size.cx; ++x) {
                const uint32_t c = seen.At(x, y);
                count += std::abs(int(c >> 16 & 0xFF) - want.r) < 24 && std::abs(int(c >> 8 & 0xFF) - want.g) < 24 &&
                         std::abs(int(c & 0xFF) - want.b) < 24;
            }
        return count;
    };
    EXPECT_GT(matching(line, kVermilion), 20) << "the marked kana";
    EXPECT_GT(matching(line, Rgb{0, 0, 0}), 20) << "the words around them";
    EXPECT_GT(matching(tag, *StudySetNumbered(StudySetNamed("orange"))->colour), 20) << "the colour's name in it";

    // Every poem's line fits its strip.
    HDC dc = GetDC(line);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(line, WM_GETFONT, 0, 0)));
    for (int k = 0; k < 100; ++k) {
        SendMessageW(Chooser(), CB_SETCURSEL, static_cast<WPARAM>(k), 0);
        Press(frmComment, L"決定");
        const std::wstring text = Text(line), colour = Text(tag);
        SIZE size{}, tagSize{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        GetTextExtentPoint32W(dc, colour.c_str(), static_cast<int>(colour.size()), &tagSize);
        EXPECT_LE(size.cx, place.right - place.left) << k + 1;
        EXPECT_LE(tagSize.cx, tagPlace.right - tagPlace.left) << k + 1;
        // Every poem has a colour and a group.
        EXPECT_EQ(colour.size(), 3u) << k + 1;
        EXPECT_EQ(text.substr(text.size() - 4), L"字決まり") << k + 1;
    }
    SelectObject(dc, old);
    ReleaseDC(line, dc);
}

TEST_F(CompanionTest, ReopeningKeepsOneWindowAHundredEntriesAndTheTexts) {
    ShowCommentary(ReadDisplayScale());
    HWND first = frmComment;
    SendMessageW(Chooser(), CB_SETCURSEL, 8, 0);
    Press(frmComment, L"決定");
    ShowCommentary(ReadDisplayScale());
    ShowCommentary(ReadDisplayScale());
    EXPECT_EQ(frmComment, first);
    EXPECT_EQ(Count(Chooser()), 100);
    EXPECT_EQ(Text(TextBoxes(frmComment)[2]), L"小野小町");

    Press(frmComment, L"終　了");
    EXPECT_EQ(frmComment, nullptr);
    EXPECT_FALSE(IsWindow(first));
    ShowCommentary(ReadDisplayScale());
    EXPECT_EQ(Selection(Chooser()), -1);
    EXPECT_EQ(Text(TextBoxes(frmComment)[0]), L"");
}

TEST_F(CompanionTest, HelpWindowShowsTheShiftJisTextReadOnlyAndReopensFresh) {
    ShowHelp(ReadDisplayScale());
    ASSERT_NE(frmHelp, nullptr);
    EXPECT_EQ(Text(frmHelp), L"ミロベルスクリーンセイバーの使い方");
    EXPECT_TRUE(IsCentred(frmHelp));
    HWND text = TextBoxes(frmHelp).at(0);

    std::wstring shown = Text(text);
    EXPECT_EQ(shown.rfind(L"■ミロベル ScreenSaverについて\r\n", 0), 0u);
    EXPECT_NE(shown.find(L"\r\n①範囲"), std::wstring::npos);
    EXPECT_NE(shown.find(L"\r\n④速度"), std::wstring::npos);
    // Its own lines and the empty one after the last CR LF: none wraps.
    EXPECT_EQ(SendMessageW(text, EM_GETLINECOUNT, 0, 0), kHelpLines + 1);

    // Typing changes nothing.
    SendMessageW(text, WM_CHAR, L'x', 0);
    SendMessageW(text, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(Text(text), shown);

    // Help again while open: one window, centred again.
    SetWindowPos(frmHelp, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND first = frmHelp;
    ShowHelp(ReadDisplayScale());
    EXPECT_EQ(frmHelp, first);
    EXPECT_TRUE(IsCentred(frmHelp));

    // After OK, a fresh window scrolled to its beginning.
    SendMessageW(text, EM_LINESCROLL, 0, 10);
    Press(frmHelp, L"ＯＫ！");
    EXPECT_EQ(frmHelp, nullptr);
    ShowHelp(ReadDisplayScale());
    EXPECT_NE(frmHelp, first);
    EXPECT_EQ(SendMessageW(TextBoxes(frmHelp).at(0), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(CompanionTest, IntroductionWindowRacesTheCyclistsLeftFromTheirLineAtEveryOpening) {
    ShowSales(ReadDisplayScale());
    ASSERT_NE(salesf, nullptr);
    EXPECT_EQ(Text(salesf), L"作者ソフト紹介");
    EXPECT_TRUE(IsCentred(salesf));
    std::vector<HWND> boxes = TextBoxes(salesf);
    ASSERT_EQ(boxes.size(), 2u);
    // Drawn like pages, yet nothing can be typed into them.
    for (HWND box : boxes) EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_READONLY);

    std::vector<HWND> cyclists;
    for (HWND h : Descendants(salesf))
        if (ClassName(h) == L"MirobelImage" && InParent(h).right - InParent(h).left == 32) cyclists.push_back(h);
    ASSERT_EQ(cyclists.size(), 4u);
    std::vector<RECT> start;
    for (int i = 0; i < 4; ++i) {
        start.push_back(InParent(cyclists[i]));
        // Shaped to the picture: a corner of the square is not part of it.
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(cyclists[i], region), ERROR);
        EXPECT_FALSE(PtInRegion(region, 0, 0));
        EXPECT_TRUE(PtInRegion(region, 8, 24) || PtInRegion(region, 24, 24));
        DeleteObject(region);
    }
    // The 10 ms timer runs from the start; it is taken over here so that
    // every single step can be looked at.
    Pump(100);
    ASSERT_TRUE(KillTimer(salesf, 1));
    double limit = 200.0 / ScreenTwipsPerPixelX() + 1;  // a pixel of rounding
    int wraps = 0;
    std::vector<RECT> last;
    for (HWND c : cyclists) last.push_back(InParent(c));
    for (int tick = 0; tick < 300; ++tick) {
        SendMessageW(salesf, WM_TIMER, 1, 0);
        for (int i = 0; i < 4; ++i) {
            RECT now = InParent(cyclists[i]);
            EXPECT_EQ(now.top, start[i].top);
            if (now.left > last[i].left) {
                EXPECT_EQ(now.left, kCyclistWrapLeft);
                EXPECT_LT(last[i].left - limit, 100.0 / ScreenTwipsPerPixelX());
                ++wraps;
            } else {
                EXPECT_LE(last[i].left - now.left, limit);
            }
            last[i] = now;
        }
    }
    EXPECT_GT(wraps, 0);

    Press(salesf, L"ＯＫ！");
    EXPECT_EQ(salesf, nullptr);
    ShowSales(ReadDisplayScale());
    std::vector<HWND> again;
    for (HWND h : Descendants(salesf))
        if (ClassName(h) == L"MirobelImage" && InParent(h).right - InParent(h).left == 32) again.push_back(h);
    ASSERT_EQ(again.size(), 4u);
    EXPECT_EQ(InParent(again[0]).left, start[0].left);  // a new opening starts from the line again
}

namespace {
struct SeenBox {
    std::wstring title, text;
    int buttons = 0, icons = 0;
};
SeenBox seenBox;

void CALLBACK CloseTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND box = GetActiveWindow()) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// Runs inside the box's own loop: look at the box, keep its picture when
// asked to, then close it with its only button.
void CALLBACK LookAtTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = GetActiveWindow();
    if (!box || Text(box) != L"ミロベル　スクリーンセイバー Ver1.5") return;
    KillTimer(nullptr, timer);
    seenBox.title = Text(box);
    for (HWND c : Descendants(box)) {
        if (ClassName(c) == L"Button") ++seenBox.buttons;
        if (ClassName(c) == L"Static" && (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) ++seenBox.icons;
        else if (ClassName(c) == L"Static" && !Text(c).empty()) seenBox.text = Text(c);
    }
    // tools/screenshots keeps the box up for a while to take its picture.
    char hold[16] = {};
    if (GetEnvironmentVariableA("MIROBEL_HOLD_ABOUT_MS", hold, sizeof hold)) {
        SetTimer(nullptr, 0, static_cast<UINT>(atoi(hold)), CloseTheBox);
        return;
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST(AboutBox, IsAnInformationBoxWithOneButtonAndTheVersionText) {
    seenBox = {};
    UINT_PTR timer = SetTimer(nullptr, 0, 200, LookAtTheBox);
    ShowAbout();
    KillTimer(nullptr, timer);
    EXPECT_EQ(seenBox.title, L"ミロベル　スクリーンセイバー Ver1.5");
    EXPECT_EQ(seenBox.buttons, 1);
    EXPECT_EQ(seenBox.icons, 1);
    EXPECT_EQ(seenBox.text, AboutText(DevelopmentTool()));
    EXPECT_EQ(seenBox.text.rfind(L"This program was written with MinGW-w64 GCC ", 0), 0u);
}

// For readers of English each companion opens in English: the viewer shows
// the recited poem in Latin letters, the poet by both names and the English
// rendering; one open in the other language is made again in this one.
TEST_F(CompanionTest, InEnglishTheCompanionsSpeakEnglishAndTheViewerRomanisesThePoem) {
    ShowCommentary(ReadDisplayScale());
    HWND japanese = frmComment;
    ShowCommentary(ReadDisplayScale(), Language::English);
    ASSERT_NE(frmComment, nullptr);
    EXPECT_NE(frmComment, japanese);
    EXPECT_EQ(TopLevelWindowsCalled(L"百人一首の解説").size(), 0u);
    EXPECT_EQ(Text(frmComment), L"Hyakunin Isshu");
    EXPECT_EQ(Count(Chooser()), 100);
    SendMessageW(Chooser(), CB_SETCURSEL, 43, 0);
    Press(frmComment, L"Show");
    std::vector<HWND> boxes = TextBoxes(frmComment);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(Text(boxes[0]), L"ōkotono taeteshinakuwa nakanakani");
    EXPECT_EQ(Text(boxes[1]), L"hitoomomiomo uramizaramashi");
    EXPECT_EQ(Text(boxes[2]), EnglishPoetName(44) + L"  中納言朝忠");
    EXPECT_EQ(Text(boxes[3]), EnglishRendering(44));
    EXPECT_EQ(Text(FindById(frmComment, 120)), L"Kimariji 「あふこ」　3 sounds");
    EXPECT_EQ(Text(FindById(frmComment, 121)), L"Orange");  // its colour set, drawn in its colour
    for (const wchar_t* caption : {L"Poem", L"Upper", L"Lower", L"Poet", L"Meaning"})
        EXPECT_NE(FindByText(frmComment, caption, L"Static"), nullptr);
    Press(frmComment, L"Close");
    EXPECT_EQ(frmComment, nullptr);

    ShowHelp(ReadDisplayScale(), Language::English);
    ASSERT_NE(frmHelp, nullptr);
    EXPECT_EQ(Text(frmHelp), L"How to use Mirobel Screen Saver");
    const std::wstring help = Text(TextBoxes(frmHelp).at(0));
    EXPECT_EQ(help.rfind(L"About Mirobel ScreenSaver\r\n", 0), 0u);
    for (const wchar_t* item : {L"1 Range", L"2 Order", L"3 Music", L"4 Speed", L"5 Screens", L"6 Kimariji",
                                L"Mirobel.mid", L"MIT licence"})
        EXPECT_NE(help.find(item), std::wstring::npos) << ::testing::PrintToString(std::wstring(item));
    Press(frmHelp, L"OK");
    EXPECT_EQ(frmHelp, nullptr);

    ShowSales(ReadDisplayScale(), Language::English);
    ASSERT_NE(salesf, nullptr);
    EXPECT_EQ(Text(salesf), L"Introducing Mirobel");
    EXPECT_EQ(Text(TextBoxes(salesf).at(0)).rfind(L"Mirobel Screen Saver\r\n", 0), 0u);
    Press(salesf, L"OK");
    EXPECT_EQ(salesf, nullptr);
}
