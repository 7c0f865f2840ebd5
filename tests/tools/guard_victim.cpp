// A program whose window procedure or timer fails on purpose, to watch the
// guard end it: guard_victim <window-runtime|window-other|timer-runtime> <marker file>.
// The marker file is written by the hook that runs before the process ends.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "core/base/Errors.h"
#include "app/InstallPlatform.h"
#include "win32/base/Guard.h"
#include "win32/base/WindowClass.h"

using namespace mirobel;

namespace {
std::wstring how, marker;

void WriteMarker() {
    if (FILE* f = _wfopen(marker.c_str(), L"w")) {
        std::fputs("hook ran\n", f);
        std::fclose(f);
    }
}

LRESULT CALLBACK VictimProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
        if (how == L"window-runtime") throw SubscriptOutOfRange();
        throw std::runtime_error("not one of ours");
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Fails on every tick, so that a second failure meets the box of the first.
void CALLBACK FailingTick(HWND, UINT, UINT_PTR, DWORD) { throw Overflow(); }
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (__argc < 3) return 2;
    how = __wargv[1];
    marker = __wargv[2];
    InstallWin32Platform();
    g_beforeFailureExit = WriteMarker;
    if (!RegisterWindowClass({L"GuardVictim", Guarded<VictimProc>})) return 2;
    HWND window = CreateWindowExW(0, L"GuardVictim", L"guard victim", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    if (how == L"timer-runtime") SetTimer(nullptr, 0, 10, GuardedTimer<FailingTick>);
    else PostMessageW(window, WM_APP, 0, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
