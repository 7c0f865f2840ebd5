// The one place where the native layer meets the core's show: a session
// owns one show (its settings, its state, its seams and its generator) and
// steps the rules on it. Kept small on purpose, so that changes to how the
// core gathers its state touch only this file.
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>

#include "core/base/Scaling.h"
#include "core/settings/Settings.h"
#include "core/show/ShowDriver.h"
#include "x11/show/CairoShow.h"

namespace mirobel::x11 {

// One show drawn on cairo. Sessions share nothing: a process may hold and
// step several at once.
class CairoShowSession {
public:
    // With a seed the poems follow a fixed sequence (for comparing runs);
    // without one they follow the clock. The show is drawn at `dpi`: its
    // 96-dpi layout magnified by dpi / 96, as the Windows show is. The show
    // reads the range, the order and the speed from `settings`. As on
    // Windows, the rules work in units (pixels at 96 dpi, the state's twips)
    // and the magnifying seams hand the cairo surfaces pixels.
    CairoShowSession(const Settings& settings, std::optional<uint64_t> seed, int dpi = 96)
        : dpi_(dpi > 0 ? dpi : 96),
          canvas_(faces_, dpi_),
          frame_(faces_, canvas_, dpi_, TickerFontFor(settings)),
          compositor_(frame_),
          driver_(settings, canvas_, compositor_, seed, dpi_) {}

    // Frames go to this sink from now on (nullptr: nowhere). The pictures
    // kept in the last one go with it.
    void SetSink(FrameSink* sink) { frame_.SetSink(sink), compositor_.ForgetKept(); }
    // Whole frames every time instead of the changed rectangles (benchmark);
    // chosen before Start.
    void PresentWholeFrames(bool whole) {
        driver_.State().presentation = whole ? Presentation::WholeScreen : Presentation::ChangedRects;
    }
    // Starts the show on a screen of this size: the first card and its
    // first frame, as the Windows show starts.
    void Start(int width, int height) { driver_.Start(width, height); }
    void NextFrame() { driver_.NextFrame(); }
    // A new size keeps the card on the screen; the window is black again
    // (the caller clears it) and the next frame paints what changed.
    void Resize(int width, int height) { driver_.Resize(width, height); }
    // Repaints part of the screen from what the last frame showed.
    void Repaint(const Rect& r) { compositor_.Repaint(r); }
    // Milliseconds between frames for the speed setting.
    int FrameInterval() const { return driver_.FrameInterval(); }
    // Writes this frame to a record (see core/show/ShowRecord.h).
    void Record(std::FILE* out, long frame) { driver_.Record(out, frame); }

    const ShowState& State() const { return driver_.State(); }
    CairoFrame& Frame() { return frame_; }

private:
    const int dpi_;
    EmbeddedFaces faces_;
    CairoCanvas canvas_;
    CairoFrame frame_;
    Compositor compositor_;
    ShowDriver driver_;
};

}  // namespace mirobel::x11
