// A box that the multimedia layer raises from inside the show's music upkeep
// runs its own message loop while the show's timers keep firing. The real
// mciExecute is used, against a device that was never opened, so that every
// command it is given fails and raises the platform's own box.
#include <gtest/gtest.h>

#include "core/base/Platform.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/base/Globals.h"
#include "win32/base/Win32Util.h"
#include "core/show/Bgm.h"
#include "win32/show/frmDisp.h"
#include "core/show/ShowState.h"
#include "core/settings/Settings.h"

using namespace mirobel;

namespace {
// Reports the device as stopped, so that every upkeep restarts it through the
// platform's real mciExecute.
struct StoppedDevice : MusicPort {
    MusicPort* platform = nullptr;
    int statusQueries = 0;
    std::vector<std::string> executed;
    int depth = 0;
    int nested = 0;  // commands that came while a box was up

    uint32_t SendString(const std::string& command, char* reply, uint32_t length) override {
        if (command == "status bgm mode") {
            ++statusQueries;
            if (reply && length > 7) std::memcpy(reply, "stopped", 8);
        }
        return 0;
    }
    void Execute(const std::string& command) override {
        executed.push_back(command);
        // Each of these would have put a second box over the first; stopping
        // here keeps a failing run from nesting boxes until the stack is gone.
        if (depth > 0) {
            ++nested;
            return;
        }
        ++depth;
        platform->Execute(command);
        --depth;
    }
    std::string Narrow(const std::wstring& text) override { return platform->Narrow(text); }
};

BOOL CALLBACK CollectBox(HWND hwnd, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (IsWindowVisible(hwnd) && std::wstring(cls) == L"#32770")
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> BoxesOfThisThread() {
    std::vector<HWND> boxes;
    EnumThreadWindows(GetCurrentThreadId(), CollectBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

// Watches from a thread timer, which the box's own loop dispatches: counts
// the boxes up at once, notes what the show did while one was up, and
// answers each box after a while.
struct Watch {
    StoppedDevice* device = nullptr;
    int boxesAnswered = 0;
    size_t mostAtOnce = 0;
    DWORD upSince = 0;
    int16_t cardXWhenUp = 0, cardYWhenUp = 0;
    int statusWhenUp = 0;
    int cardMovesWhileUp = 0, statusQueriesWhileUp = 0;
};
Watch watch;

void CALLBACK WatchBoxes(HWND, UINT, UINT_PTR, DWORD now) {
    std::vector<HWND> boxes = BoxesOfThisThread();
    watch.mostAtOnce = std::max(watch.mostAtOnce, boxes.size());
    if (boxes.empty()) {
        watch.upSince = 0;
        return;
    }
    const DisplayShow* show = RunningShow();
    if (!show) return;
    if (!watch.upSince) {
        watch.upSince = now;
        watch.cardXWhenUp = show->State().CardX;
        watch.cardYWhenUp = show->State().CardY;
        watch.statusWhenUp = watch.device->statusQueries;
        return;
    }
    // Long enough for many 10 ms music ticks and several 50 ms show ticks.
    if (now - watch.upSince < 300) return;
    if (show->State().CardX != watch.cardXWhenUp || show->State().CardY != watch.cardYWhenUp) ++watch.cardMovesWhileUp;
    watch.statusQueriesWhileUp += watch.device->statusQueries - watch.statusWhenUp;
    for (HWND box : boxes) PostMessageW(box, WM_COMMAND, IDOK, 0);
    ++watch.boxesAnswered;
    watch.upSince = 0;
}
}  // namespace

TEST(MusicBox, OnlyOneBoxAtATimeAndTheShowWaitsForIt) {
    SaverActive = true;
    DispLeft = DispTop = 0;
    DispWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
    DispHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    StartDisplay({.MusicMode = 0, .Speed = 3}, ReadDisplayScale());  // 50 ms; the show starts without music ...
    ASSERT_NE(frmDisp, nullptr);
    HWND window = frmDisp;
    DisplayShow* show = RunningShow();
    ASSERT_NE(show, nullptr);

    // ... and then finds its device stopped on every upkeep.
    StoppedDevice device;
    device.platform = g_platform.music;
    ASSERT_NE(device.platform, nullptr);
    g_platform.music = &device;
    BgmPlaying = true;
    // Music plays now, so its upkeep timer runs. (Not an ASSERT: the device
    // on this stack must be taken out again below before the test returns.)
    show->SyncMusicTimer();
    EXPECT_TRUE(show->timer2Running);
    watch = Watch{};
    watch.device = &device;
    UINT_PTR timer = SetTimer(nullptr, 0, 15, WatchBoxes);

    DWORD end = GetTickCount() + 10000;
    MSG msg;
    while (watch.boxesAnswered < 3 && static_cast<int>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    // Quiet the music before anything else can tick.
    BgmPlaying = false;
    KillTimer(nullptr, timer);
    if (IsWindow(window)) DestroyWindow(window);
    for (HWND box : BoxesOfThisThread()) PostMessageW(box, WM_COMMAND, IDOK, 0);
    g_platform.music = device.platform;

    EXPECT_GE(watch.boxesAnswered, 3) << "the failing commands raised no box";
    EXPECT_EQ(watch.mostAtOnce, 1u);
    EXPECT_EQ(device.nested, 0);
    EXPECT_EQ(watch.cardMovesWhileUp, 0);
    EXPECT_EQ(watch.statusQueriesWhileUp, 0);
    // Each box came from one command, in the order of the upkeep.
    ASSERT_GE(device.executed.size(), 2u);
    EXPECT_EQ(device.executed[0], "seek bgm to start");
    EXPECT_EQ(device.executed[1], "play bgm notify");
}
