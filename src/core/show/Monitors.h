// Which monitors the show covers: with the main monitor only, a card on the
// primary monitor and a black window over every other one; with every
// monitor, a card of its own on each.
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

// The monitors that each get a show of their own when every monitor shows a
// card: the primary one first (it keeps the show's window and the focus),
// then the others as CoverAreas lists them. With no usable monitor listed,
// `fallback` (the primary screen as the program measured it) is the one.
std::vector<MonitorArea> ShowAreas(const std::vector<MonitorArea>& monitors, const MonitorArea& fallback);

}  // namespace mirobel
