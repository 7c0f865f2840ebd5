// At 96 dpi every window and every frame of the show must stay what it was
// before the program learned to magnify itself. The pictures it was like are
// in tests/reference/96, taken from that build by this same test with
// MIROBEL_WRITE_REFERENCE=1; the portrait box is masked, as the portraits
// may gain detail from larger sources.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "win32/show/Show.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/base/Platform.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "core/show/ShowState.h"
#include "support/Fakes.h"
#include "win32/Pictures.h"
#include "win32/WindowTesting.h"
#include "win32/companions/Companions.h"
#include "win32/settings/frmSet.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
std::wstring ReferencePath(const std::string& name) {
    std::string unix = std::string(MIROBEL_SOURCE_DIR) + "/tests/reference/96/" + name + ".png";
    std::wstring path = L"Z:";
    for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

bool Writing() {
    const char* v = std::getenv("MIROBEL_WRITE_REFERENCE");
    return v && *v && std::string(v) != "0";
}

// Writes the picture as the reference, or compares it with the reference;
// a mismatch leaves the picture seen beside the reference as NAME.actual.png.
// What lies in `added` (drawn since the reference was taken, in a place that
// was plain) is left out of the comparison on both sides.
void Check(const std::string& name, Pixels seen, RECT added = {}) {
    if (Writing()) {
        ASSERT_TRUE(WritePng(ReferencePath(name), seen)) << name;
        return;
    }
    Pixels reference = ReadPng(ReferencePath(name));
    ASSERT_GT(reference.width, 0) << "no reference picture " << name;
    seen.Mask(added);
    reference.Mask(added);
    Difference d = Compare(seen, reference);
    if (d.count) WritePng(ReferencePath(name + ".actual"), seen);
    EXPECT_EQ(d.count, 0) << name << ": " << seen.width << "x" << seen.height << " against " << reference.width << "x"
                          << reference.height << ", first difference at (" << d.x << ", " << d.y << ")";
}

void SkipUnless96() {
    if (mirobel::testing::SystemDpi() != 96) GTEST_SKIP() << "the reference pictures are taken at 96 dpi";
}

Pixels Settled(HWND window) {
    Pump(50);
    HideCaret(nullptr);  // a blinking caret is no part of the layout
    return Steady([window] { return ClientPixels(window); });
}
}  // namespace

TEST(ReferenceAt96Dpi, FramesOfTheShowWithThePortraitBoxMasked) {
    SkipUnless96();
    AddEmbeddedFonts();
    FillPoemTables();
    Surface screen;
    screen.Resize(640, 400, RGB(90, 90, 90));
    DisplayShow show({.SelectFirst = 1, .SelectEnd = 100, .SelectType = 2}, 96, {0, 0, 640, 400},
                     Presentation::ChangedRects, {.dc = screen.dc});
    const ShowState& now = show.State();
    int cardChanges = 0;
    for (int frame = 1; frame <= 720; ++frame) {
        const int poem = now.PoemNo;
        if (frame == 1) show.driver.Start(640, 400);
        else show.driver.NextFrame();
        if (frame > 1 && now.PoemNo != poem) ++cardChanges;
        if (frame <= 3 || frame % 60 == 0) {
            Pixels seen = FromDc(screen.dc, 0, 0, screen.width, screen.height);
            seen.Mask({now.CardX + kPortraitLeft, now.CardY + kPortraitTop,
                       now.CardX + kPortraitLeft + kPortraitWidth, now.CardY + kPortraitTop + kPortraitHeight});
            char name[32];
            snprintf(name, sizeof name, "frame-%03d", frame);
            Check(name, seen);
        }
    }
    EXPECT_GE(cardChanges, 2) << "the run must show card changes";
}

TEST(ReferenceAt96Dpi, SettingsDialog) {
    SkipUnless96();
    AddEmbeddedFonts();
    BoxesInstalled boxes;
    ShowSettingsDialog({.SaverType = 2, .MusicMode = 1, .SelectFirst = 1, .SelectEnd = 100, .SelectType = 1,
                        .Speed = 3}, ReadDisplayScale());
    ASSERT_NE(frmSet, nullptr);
    // Wine draws the button under the pointer lit. The classic picture was
    // taken with the pointer at the screen's centre, over 昇順; the dialog,
    // centred, now reaches half its added rows higher, so the pointer goes
    // where it was over the dialog.
    const int rows = 44 + 44;  // the screens row and the sets' row
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2 - rows / 2);
    Pump(50);
    const Pixels seen = Settled(frmSet);
    Check("settings-dialog", seen);
    DestroyWindow(frmSet);
    Pump(30);

    // The two rows are all that is new: above the panel's lower edge the
    // dialog is the classic one pixel for pixel (settings-dialog-classic,
    // taken before the rows came), and from that edge down it is the classic
    // one moved down by the rows.
    const Pixels classic = ReadPng(ReferencePath("settings-dialog-classic"));
    const int edge = 50 + 180 - 2;  // the panel's top and height; its 2-pixel edge
    ASSERT_EQ(seen.width, classic.width);
    ASSERT_EQ(seen.height, classic.height + rows);
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < classic.height; ++y)
        for (int x = 0; x < classic.width; ++x)
            if (seen.At(x, y < edge ? y : y + rows) != classic.At(x, y) && differing++ == 0) firstX = x, firstY = y;
    EXPECT_EQ(differing, 0) << "first difference with the classic dialog at (" << firstX << ", " << firstY << ")";
}

TEST(ReferenceAt96Dpi, CommentaryViewerWithAPoemChosen) {
    SkipUnless96();
    AddEmbeddedFonts();
    ShowCommentary(ReadDisplayScale());
    ASSERT_NE(frmComment, nullptr);
    HWND chooser = nullptr;
    for (HWND h : Descendants(frmComment))
        if (ClassName(h) == L"ComboBox") chooser = h;
    ASSERT_NE(chooser, nullptr);
    SendMessageW(chooser, CB_SETCURSEL, 16, 0);
    SendMessageW(FindByText(frmComment, L"決定", L"Button"), BM_CLICK, 0, 0);
    // The poem's kimariji and its study sets came later, in the panel's
    // strip below the chooser and its caption: everything else is as it was.
    HWND kimariji = FindByText(frmComment, L"決まり字「ちは」　二字決まり", L"Static");
    HWND colour = FindByText(frmComment, L"「緑」", L"Static");
    ASSERT_NE(kimariji, nullptr);
    ASSERT_NE(colour, nullptr);
    RECT strip, tag;
    GetWindowRect(kimariji, &strip);
    GetWindowRect(colour, &tag);
    UnionRect(&strip, &strip, &tag);
    MapWindowPoints(HWND_DESKTOP, frmComment, reinterpret_cast<POINT*>(&strip), 2);
    Check("commentary-viewer", Settled(frmComment), strip);
    DestroyWindow(frmComment);
    Pump(30);
}

TEST(ReferenceAt96Dpi, HelpWindow) {
    SkipUnless96();
    AddEmbeddedFonts();
    ShowHelp(ReadDisplayScale());
    ASSERT_NE(frmHelp, nullptr);
    Check("help-window", Settled(frmHelp));
    DestroyWindow(frmHelp);
    Pump(30);
}

TEST(ReferenceAt96Dpi, IntroductionWindowWithTheCyclistsAtTheirStart) {
    SkipUnless96();
    AddEmbeddedFonts();
    ShowSales(ReadDisplayScale());
    ASSERT_NE(salesf, nullptr);
    // The race is random; stopped before its first step, it starts from the
    // same line every time.
    KillTimer(salesf, 1);
    Check("introduction-window", Settled(salesf));
    DestroyWindow(salesf);
    Pump(30);
}

// The dialog and the viewer for readers of English, as they were when the
// English windows were made (taken with MIROBEL_WRITE_REFERENCE=1 and looked
// at): their words in the Japanese windows' places.
TEST(ReferenceAt96Dpi, SettingsDialogInEnglish) {
    SkipUnless96();
    AddEmbeddedFonts();
    BoxesInstalled boxes;
    // Wine lights the control under the pointer, and keeps it lit when the
    // pointer is moved away without a move the window sees: the pointer
    // rests outside before the dialog opens.
    SetCursorPos(0, 0);
    Pump(50);
    Settings record;
    record.language = Language::English;
    ShowSettingsDialog(record, ReadDisplayScale());
    ASSERT_NE(frmSet, nullptr);
    // Wine draws the music box's square lit or not by where the pointer
    // went in the tests before: the square is left out on both sides.
    RECT square;
    GetWindowRect(FindByText(frmSet, L"Music On", L"Button"), &square);
    MapWindowPoints(HWND_DESKTOP, frmSet, reinterpret_cast<POINT*>(&square), 2);
    square.right = square.left + 20;
    Check("settings-dialog-english", Settled(frmSet), square);
    DestroyWindow(frmSet);
    Pump(30);
}

TEST(ReferenceAt96Dpi, CommentaryViewerInEnglishWithAPoemChosen) {
    SkipUnless96();
    AddEmbeddedFonts();
    ShowCommentary(ReadDisplayScale(), Language::English);
    ASSERT_NE(frmComment, nullptr);
    for (HWND h : Descendants(frmComment))
        if (ClassName(h) == L"ComboBox") SendMessageW(h, CB_SETCURSEL, 16, 0);
    SendMessageW(FindByText(frmComment, L"Show", L"Button"), BM_CLICK, 0, 0);
    Check("commentary-viewer-english", Settled(frmComment));
    DestroyWindow(frmComment);
    Pump(30);
}

TEST(ReferenceAt96Dpi, HelpAndIntroductionWindowsInEnglish) {
    SkipUnless96();
    AddEmbeddedFonts();
    ShowHelp(ReadDisplayScale(), Language::English);
    ASSERT_NE(frmHelp, nullptr);
    Check("help-window-english", Settled(frmHelp));
    DestroyWindow(frmHelp);
    ShowSales(ReadDisplayScale(), Language::English);
    ASSERT_NE(salesf, nullptr);
    KillTimer(salesf, 1);
    Check("introduction-window-english", Settled(salesf));
    DestroyWindow(salesf);
    Pump(30);
}
