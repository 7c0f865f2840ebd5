// Which black windows the show opens so that no monitor keeps showing the
// desktop while it runs. The show itself stays on the primary monitor.
#pragma once
#include <vector>

namespace mirobel {

// A monitor's area in virtual-screen pixels: monitors left of or above the
// primary one have negative coordinates.
struct MonitorArea {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool primary = false;
    bool operator==(const MonitorArea&) const = default;
};

// The areas to cover with a black window of their own, in the order the
// monitors were listed: every monitor but the primary one, except monitors
// with no area and monitors that only repeat what is already covered (a
// clone of the primary, a second listing of the same monitor). When no
// monitor is marked primary, the one holding the origin is, as the primary
// monitor's top-left corner is the origin of the virtual screen.
std::vector<MonitorArea> CoverAreas(const std::vector<MonitorArea>& monitors);

}  // namespace mirobel
