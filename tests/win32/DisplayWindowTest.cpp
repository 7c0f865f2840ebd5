// The show's window run in the test's own process, where its state can be
// read directly: focus, pointer, z-order, timers and the end of the show.
#include <gtest/gtest.h>

#include "core/base/Globals.h"
#include "win32/base/Win32Util.h"
#include "win32/show/frmDisp.h"
#include "win32/show/Show.h"
#include "core/settings/Settings.h"
#include "win32/WindowTesting.h"

using namespace mirobel;

namespace {
using mirobel::testing::Pump;

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
    Speed = 3;
    SaverActive = true;
    DispLeft = DispTop = 0;
    DispWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
    DispHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    StartDisplay();
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

    // Input ends it: default pointer first, then the window is gone.
    DisplayTick(1);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(frmDisp, nullptr);
    Pump(50);
}

TEST(DisplayWindow, InactiveShowIgnoresClicksKeysAndTicks) {
    SaverActive = false;
    DispWidth = 640;
    DispHeight = 480;
    StartDisplay();
    HWND window = frmDisp;
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_LBUTTONUP, 0, 0);
    SendMessageW(picfocus, WM_KEYDOWN, VK_SHIFT, 0);
    Pump(200);
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
    Pump(20);
}
