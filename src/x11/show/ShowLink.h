// The one place where the native layer meets the core's show: it installs
// the seams, sets the globals the show reads, and steps the rules. Kept
// small on purpose, so that changes to how the core gathers its state touch
// only this file.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

#include "x11/show/CairoShow.h"

namespace mirobel::x11 {

struct ShowSettings {
    int16_t speed = 3;   // 1 fastest .. 5 slowest
    int16_t order = 1;   // 1 random, 2 ascending, 3 descending
    int16_t first = 1;   // range of poems, 1..100
    int16_t last = 100;
};

// The show's drawing seams on cairo and its generator, installed into the
// core while it lives. One at a time.
class ShowSession {
public:
    // With a seed the poems follow a fixed sequence (for comparing runs);
    // without one they follow the clock. The show is drawn at `dpi`: its
    // 96-dpi layout magnified by dpi / 96, as the Windows show is.
    ShowSession(const ShowSettings& settings, std::optional<uint64_t> seed, int dpi = 96);
    ~ShowSession();
    ShowSession(const ShowSession&) = delete;
    ShowSession& operator=(const ShowSession&) = delete;

    // Frames go to this sink from now on (nullptr: nowhere).
    void SetSink(FrameSink* sink) { frame_->SetSink(sink); }
    // Starts the show on a screen of this size: the first card and its
    // first frame, as the Windows show starts.
    void Start(int width, int height);
    void NextFrame();
    // A new size keeps the card on the screen; the window is black again
    // (the caller clears it) and the next frame paints what changed.
    void Resize(int width, int height);
    // Repaints part of the screen from what the last frame showed.
    void Repaint(const Rect& r) { frame_->Present(r); }
    // Milliseconds between frames for the speed setting.
    int FrameInterval() const;
    // Whole frames every time instead of the changed rectangles (benchmark).
    static void PresentWholeFrames(bool whole);
    // Writes this frame to a record (see core/show/ShowRecord.h).
    void Record(std::FILE* out, long frame);

    // The card's top-left corner in pixels, and the screen's size.
    struct Position {
        int cardX, cardY, poem, width, height;
    };
    Position Now() const;
    CairoFrame& Frame() { return *frame_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    Faces faces_;
    std::unique_ptr<CairoCanvas> canvas_;
    std::unique_ptr<CairoFrame> frame_;
};

}  // namespace mirobel::x11
