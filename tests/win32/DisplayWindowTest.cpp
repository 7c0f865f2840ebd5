// The show's window run in the test's own process, where its state can be
// read directly: focus, pointer, z-order, timers and the end of the show.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/base/Globals.h"
#include "core/base/Platform.h"
#include "win32/base/Win32Util.h"
#include "core/show/Bgm.h"
#include "win32/show/frmDisp.h"
#include "core/settings/Settings.h"
#include "core/show/ShowRules.h"
#include "win32/WindowTesting.h"

using namespace mirobel;

namespace {
using mirobel::testing::Pump;
using mirobel::testing::TopLevelWindowsCalled;

// Pace 50 ms, no music.
const Settings kSilent{.MusicMode = 0, .Speed = 3};

bool IsFullyTransparentCursor(HCURSOR cursor) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return false;
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    bool ok = !info.fIcon && mask.bmWidth == 32 && mask.bmHeight == 64 && !info.hbmColor;
    // Monochrome cursor: AND mask on top, XOR mask below; transparent means
    // AND all ones and XOR all zeros.
    BYTE bits[32 * 64 / 8] = {};
    GetBitmapBits(info.hbmMask, sizeof bits, bits);
    for (int i = 0; ok && i < 32 * 32 / 8; ++i) ok = bits[i] == 0xFF;
    for (int i = 32 * 32 / 8; ok && i < 32 * 64 / 8; ++i) ok = bits[i] == 0x00;
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return ok;
}
}  // namespace

TEST(DisplayWindow, StartsOverTheScreenWithFocusHiddenPointerAndEndsOnInput) {
    SaverActive = true;
    DispLeft = DispTop = 0;
    DispWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
    DispHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    StartDisplay(kSilent, ReadDisplayScale());
    ASSERT_NE(frmDisp, nullptr);
    HWND window = frmDisp;

    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, DispWidth);
    EXPECT_EQ(r.bottom, DispHeight);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetFocus(), picfocus);
    GetWindowRect(picfocus, &r);
    EXPECT_EQ(r.left, -50);
    EXPECT_EQ(r.right - r.left, 30);
    EXPECT_TRUE(IsFullyTransparentCursor(GetCursor()));
    wchar_t caption[32] = {};
    GetWindowTextW(window, caption, 32);
    EXPECT_STREQ(caption, L"SAVER Screen");

    // Ticks run while nothing moves; the show goes on.
    Pump(300);
    EXPECT_TRUE(IsWindow(window));

    // Input ends it: default pointer first, then the window is gone, and
    // the show with it.
    ASSERT_NE(RunningShow(), nullptr);
    RunningShow()->DisplayTick(kTickUserInput);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(frmDisp, nullptr);
    EXPECT_EQ(RunningShow(), nullptr);
    Pump(50);
}

TEST(DisplayWindow, InactiveShowIgnoresClicksKeysAndTicks) {
    SaverActive = false;
    DispWidth = 640;
    DispHeight = 480;
    StartDisplay(kSilent, ReadDisplayScale());
    HWND window = frmDisp;
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_LBUTTONUP, 0, 0);
    SendMessageW(picfocus, WM_KEYDOWN, VK_SHIFT, 0);
    Pump(200);
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
    Pump(20);
}

namespace {
// A device that opens and plays whatever it is given and always reports
// playing; counts what reaches it.
struct PlayingDevice : MusicPort {
    int statusQueries = 0;
    std::vector<std::string> commands;
    uint32_t SendString(const std::string& command, char* reply, uint32_t length) override {
        commands.push_back(command);
        if (command == "status bgm mode") {
            ++statusQueries;
            if (reply && length > 8) std::memcpy(reply, "playing", 8);
        }
        return 0;
    }
    void Execute(const std::string& command) override { commands.push_back(command); }
    std::string Narrow(const std::wstring& text) override { return std::string(text.begin(), text.end()); }
};

// Dispatches until enough(ticks) holds or timeoutMs has passed, counting the
// show's timer ticks by timer. A busy machine delivers ticks late, never
// early: tests wait for a count, not for a time.
template <typename Enough>
std::map<UINT_PTR, int> PumpCountingTicks(HWND window, Enough enough, int timeoutMs = 20000) {
    std::map<UINT_PTR, int> ticks;
    DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            if (msg.message == WM_TIMER && msg.hwnd == window) ++ticks[msg.wParam];
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (enough(ticks)) break;
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
    return ticks;
}

void StartScreenSizedShow(const Settings& settings = kSilent) {
    SaverActive = true;
    DispLeft = DispTop = 0;
    DispWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
    DispHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    StartDisplay(settings, ReadDisplayScale());
}
}  // namespace

TEST(DisplayWindow, MusicUpkeepTicksOnlyWhileMusicPlays) {
    MusicPort* platform = g_platform.music;
    PlayingDevice device;
    g_platform.music = &device;

    // Without music the show ticks, the upkeep does not.
    BgmPlaying = false;
    StartScreenSizedShow();
    ASSERT_NE(frmDisp, nullptr);
    HWND window = frmDisp;
    // Ten show ticks pass (at 50 ms, half a second on a quiet machine) and
    // not one upkeep tick comes.
    std::map<UINT_PTR, int> ticks = PumpCountingTicks(window, [](auto& t) { return t[kTimer1] >= 10; });
    EXPECT_GE(ticks[kTimer1], 10);
    EXPECT_EQ(ticks[kTimer2], 0);
    ASSERT_NE(RunningShow(), nullptr);
    EXPECT_FALSE(RunningShow()->timer2Running);
    EXPECT_TRUE(device.commands.empty());
    DestroyWindow(window);
    Pump(20);

    // With music the upkeep asks the device at each of its 10 ms ticks.
    StartScreenSizedShow({.MusicMode = 1, .Speed = 3});
    ASSERT_NE(frmDisp, nullptr);
    window = frmDisp;
    ASSERT_TRUE(BgmPlaying);
    ASSERT_NE(RunningShow(), nullptr);
    EXPECT_TRUE(RunningShow()->timer2Running);
    ticks = PumpCountingTicks(window, [](auto& t) { return t[kTimer2] >= 10; });
    EXPECT_GE(ticks[kTimer2], 10);
    EXPECT_GE(device.statusQueries, 10);

    // The end of the show stops the music and its upkeep with it.
    ASSERT_NE(RunningShow(), nullptr);
    RunningShow()->DisplayTick(kTickUserInput);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_GE(device.commands.size(), 2u);
    EXPECT_EQ(device.commands[device.commands.size() - 2], "stop bgm");
    EXPECT_EQ(device.commands.back(), "close bgm");
    // Nothing asks the device any more: twenty upkeep ticks' time passes
    // without one command.
    const size_t commandsAtEnd = device.commands.size();
    Pump(200);
    EXPECT_EQ(device.commands.size(), commandsAtEnd);

    BgmPlaying = false;
    g_platform.music = platform;
}

TEST(DisplayWindow, KeysReachPicfocusAgainAfterAnotherWindowHadTheFocus) {
    StartScreenSizedShow();
    ASSERT_NE(frmDisp, nullptr);
    HWND window = frmDisp;
    Pump(100);
    ASSERT_EQ(GetFocus(), picfocus);
    // The system lists the show among the process's windows; on one monitor
    // there is nothing else to cover, so no black window beside it.
    EXPECT_EQ(TopLevelWindowsCalled(L"SAVER Screen"), std::vector<HWND>{window});
    if (GetSystemMetrics(SM_CMONITORS) == 1) {
        EXPECT_TRUE(TopLevelWindowsCalled(kCoverCaption).empty());
    }

    // Another window takes the foreground and the focus, then goes away.
    HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"notification", WS_POPUP | WS_VISIBLE, 100, 100, 200, 80,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    SetFocus(other);
    Pump(100);
    ASSERT_NE(GetFocus(), picfocus);
    DestroyWindow(other);
    Pump(100);
    // Activated again by the system or by hand, the show gives the keys to
    // picfocus, not to itself.
    if (GetActiveWindow() != window) SetActiveWindow(window);
    Pump(50);
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(GetFocus(), picfocus);

    // Focus put on the show window itself goes on to picfocus as well.
    SetFocus(window);
    EXPECT_EQ(GetFocus(), picfocus);

    SendMessageW(GetFocus(), WM_KEYDOWN, VK_SHIFT, 0);
    EXPECT_FALSE(IsWindow(window));
    Pump(50);
}
