// The set of monitors the show lies over, and the bare windows it opens on
// them beside frmDisp. What the windows are for is the show's business.
#pragma once
#include <vector>

#include "core/show/Monitors.h"
#include <windows.h>

namespace mirobel {

// The monitors as the system lists them now, in virtual-screen pixels.
std::vector<MonitorArea> ListMonitors();
// Whether the area is one of the monitors, exactly.
bool Listed(const MonitorArea& area, const std::vector<MonitorArea>& monitors);
// A hidden top-most window of the class over the monitor's area, out of the
// task bar; null when it cannot be made.
HWND CreateMonitorWindow(const wchar_t* windowClass, const wchar_t* caption, const MonitorArea& area);

}  // namespace mirobel
