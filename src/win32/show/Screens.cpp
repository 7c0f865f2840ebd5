#include "win32/show/Screens.h"

#include <algorithm>

#include "core/base/Globals.h"
#include "win32/base/Guard.h"
#include "core/base/Platform.h"
#include "win32/base/WindowClass.h"
#include "win32/show/frmDisp.h"
#include "core/show/ShowRules.h"

namespace mirobel {

namespace {
BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lp) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<MonitorArea>*>(lp)->push_back(
            {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom,
             (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

// A black window over a monitor other than the primary one: input over it
// ends the show as it does over the show itself.
LRESULT CALLBACK CoverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; ShowSurfaceMessage(hwnd, msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (DisplayShow* show = RunningShow(); show && SaverActive && !ModalBoxUp())
                DisplayTick(*show, kTickUserInput);
            return 0;
        case WM_DESTROY:
            if (DisplayShow* show = RunningShow()) std::erase(show->covers, hwnd);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool SameArea(const MonitorArea& a, const MonitorArea& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Listed(const MonitorArea& area, const std::vector<MonitorArea>& monitors) {
    return std::any_of(monitors.begin(), monitors.end(), [&](const MonitorArea& m) { return SameArea(m, area); });
}
}  // namespace

std::vector<MonitorArea> ListMonitors() {
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

bool RegisterCoverClass() {
    return RegisterWindowClass(
        {window_class::kCover, Guarded<CoverProc>, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), false});
}

// Where a monitor overlaps the primary one the show stays on top.
void CoverOtherMonitors(DisplayShow& lead) {
    for (const MonitorArea& area : CoverAreas(ListMonitors())) {
        HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, window_class::kCover, kCoverCaption, WS_POPUP,
                                     area.left, area.top, area.right - area.left, area.bottom - area.top, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!cover) continue;
        lead.covers.push_back(cover);
        SetWindowPos(cover, lead.window, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

void OpenMonitorShows(DisplayShow& lead, const std::vector<MonitorArea>& monitors) {
    const std::vector<MonitorArea> areas = ShowAreas(monitors, lead.monitor);
    // The first is the primary monitor, which the lead already shows.
    for (size_t k = 1; k < areas.size(); ++k) OpenMonitorShow(lead, areas[k], static_cast<int>(k));
}

void DropGoneMonitors(DisplayShow& lead) {
    const std::vector<MonitorArea> monitors = ListMonitors();
    // Each window takes itself off the lead's lists as it goes.
    for (HWND window : std::vector<HWND>(lead.monitorShows))
        if (DisplayShow* show = ShowOf(window); show && !Listed(show->monitor, monitors)) DestroyWindow(window);
    for (HWND cover : std::vector<HWND>(lead.covers)) {
        RECT r;
        GetWindowRect(cover, &r);
        if (!Listed({r.left, r.top, r.right, r.bottom}, monitors)) DestroyWindow(cover);
    }
}

}  // namespace mirobel
