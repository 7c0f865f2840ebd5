#include "win32/show/Screens.h"

#include <algorithm>

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
}  // namespace

std::vector<MonitorArea> ListMonitors() {
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

bool Listed(const MonitorArea& a, const std::vector<MonitorArea>& monitors) {
    return std::any_of(monitors.begin(), monitors.end(), [&](const MonitorArea& m) {
        return m.left == a.left && m.top == a.top && m.right == a.right && m.bottom == a.bottom;
    });
}

HWND CreateMonitorWindow(const wchar_t* windowClass, const wchar_t* caption, const MonitorArea& area) {
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass, caption, WS_POPUP, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace mirobel
