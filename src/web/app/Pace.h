// The show's pace on a browser's timers: one step per interval. A hidden
// page's timers are slowed or stopped; when they run again the show takes
// one step and goes on from there, never a burst of steps to catch up.
#pragma once
#include <algorithm>

namespace mirobel::web {

class FramePace {
public:
    // Times in milliseconds on one clock (the page's performance.now()).
    FramePace(double interval, double now) : interval_(interval), due_(now + interval) {}
    // Whether a step is due now; taking it sets the next one an interval on.
    bool Take(double now) {
        if (now < due_) return false;
        due_ += interval_;
        if (due_ < now) due_ = now + interval_;
        return true;
    }
    // How long until the next step.
    double Wait(double now) const { return std::max(0.0, due_ - now); }

private:
    double interval_;
    double due_;
};

}  // namespace mirobel::web
