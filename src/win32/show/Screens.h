// The set of monitors the show lies over and the windows it opens on them
// beside frmDisp: a black window over each other monitor, or a show of its
// own on each.
#pragma once
#include <vector>

#include "core/show/Monitors.h"
#include "win32/show/Show.h"

namespace mirobel {

// The monitors as the system lists them now, in virtual-screen pixels.
std::vector<MonitorArea> ListMonitors();

bool RegisterCoverClass();
// Main monitor only: opens the black windows over the other monitors, just
// below the lead's window in the topmost band, held by the lead.
void CoverOtherMonitors(DisplayShow& lead);
// Every monitor: opens a show on each monitor but the lead's, monitor k
// opening k poems along, held by the lead.
void OpenMonitorShows(DisplayShow& lead, const std::vector<MonitorArea>& monitors);
// After the monitors changed: the windows over monitors that are gone close,
// quietly; the others go on.
void DropGoneMonitors(DisplayShow& lead);

}  // namespace mirobel
