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
}  // namespace

std::vector<MonitorArea> CoverAreas(const std::vector<MonitorArea>& monitors) {
    int primary = -1;
    for (std::size_t i = 0; i < monitors.size() && primary < 0; ++i)
        if (monitors[i].primary && !Empty(monitors[i])) primary = static_cast<int>(i);
    for (std::size_t i = 0; i < monitors.size() && primary < 0; ++i)
        if (HoldsOrigin(monitors[i])) primary = static_cast<int>(i);

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
    std::vector<MonitorArea> shows;
    for (const MonitorArea& m : monitors)
        if (m.primary && !Empty(m)) {
            shows.push_back(m);
            break;
        }
    if (shows.empty())
        for (const MonitorArea& m : monitors)
            if (HoldsOrigin(m) && !Empty(m)) {
                shows.push_back(m);
                break;
            }
    if (shows.empty()) shows.push_back(fallback);
    shows.front().primary = true;
    for (const MonitorArea& m : CoverAreas(monitors)) shows.push_back(m);
    return shows;
}

}  // namespace mirobel
