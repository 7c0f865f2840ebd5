#include "core/show/Monitors.h"

#include <cstddef>

namespace mirobel {

namespace {
bool Empty(const MonitorArea& a) { return a.right <= a.left || a.bottom <= a.top; }

bool Inside(const MonitorArea& inner, const MonitorArea& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool HoldsOrigin(const MonitorArea& a) { return a.left <= 0 && a.top <= 0 && a.right > 0 && a.bottom > 0; }

// The monitor the system calls primary, else the one holding the screen's
// origin; -1 when neither is listed.
int PrimaryIndex(const std::vector<MonitorArea>& monitors) {
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].primary && !Empty(monitors[i])) return static_cast<int>(i);
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (HoldsOrigin(monitors[i])) return static_cast<int>(i);
    return -1;
}
}  // namespace

std::vector<MonitorArea> CoverAreas(const std::vector<MonitorArea>& monitors) {
    const int primary = PrimaryIndex(monitors);

    std::vector<MonitorArea> covers;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const MonitorArea& m = monitors[i];
        if (static_cast<int>(i) == primary || Empty(m)) continue;
        // The show's window already hides everything inside the primary
        // monitor, and one window per area is enough.
        if (primary >= 0 && Inside(m, monitors[static_cast<std::size_t>(primary)])) continue;
        bool repeated = false;
        for (const MonitorArea& c : covers) repeated = repeated || Inside(m, c);
        if (repeated) continue;
        MonitorArea cover = m;
        cover.primary = false;
        covers.push_back(cover);
    }
    return covers;
}

std::vector<MonitorArea> ShowAreas(const std::vector<MonitorArea>& monitors, const MonitorArea& fallback) {
    const int primary = PrimaryIndex(monitors);
    std::vector<MonitorArea> shows{primary >= 0 ? monitors[static_cast<std::size_t>(primary)] : fallback};
    shows.front().primary = true;
    for (const MonitorArea& m : CoverAreas(monitors)) shows.push_back(m);
    return shows;
}

}  // namespace mirobel
