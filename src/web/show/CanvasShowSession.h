// Where the page meets the core's show: a session owns the page's canvases
// and one core show drawn on them, as the native program's session does.
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>

#include "core/base/Scaling.h"
#include "core/settings/Settings.h"
#include "core/show/ShowDriver.h"
#include "web/show/CanvasShow.h"

namespace mirobel::web {

class CanvasShowSession {
public:
    // With a seed the poems follow a fixed sequence (for comparing runs);
    // without one they follow the clock. The show is drawn at `dpi`: its
    // 96-dpi layout magnified by dpi / 96.
    CanvasShowSession(const Settings& settings, std::optional<uint64_t> seed, int dpi)
        : dpi_(dpi > 0 ? dpi : 96),
          canvas_(dpi_),
          frame_(canvas_, dpi_, TickerFontFor(settings)),
          compositor_(frame_),
          driver_(settings, canvas_, compositor_, seed, dpi_) {
        // A new card has its portrait decoded while its poem is written.
        driver_.OnNewCard([this](int poem) { frame_.CardCame(poem, compositor_.KeptPortrait()); });
    }

    // The first card and its first frame on a screen of this many pixels.
    void Start(int width, int height) { driver_.Start(width, height); }
    void NextFrame() {
        ShowState& show = driver_.State();
        if (wholeNext_) show.presentation = Presentation::WholeScreen;
        driver_.NextFrame();
        if (wholeNext_) show.presentation = Presentation::ChangedRects, wholeNext_ = false;
    }
    // A new size keeps the card on the screen; the canvas is black again
    // and the next frame presents the whole screen.
    void Resize(int width, int height) {
        driver_.Resize(width, height);
        wholeNext_ = true;
    }
    // Presents part of the screen again from what the last frame showed
    // (a portrait the browser has decoded since comes with it).
    void Repaint(const Rect& r) { compositor_.Repaint(r); }
    // Milliseconds between frames for the speed setting.
    int FrameInterval() const { return driver_.FrameInterval(); }
    // Writes this frame to a record (see core/show/ShowRecord.h).
    void Record(std::FILE* out, long frame) { driver_.Record(out, frame); }
    const ShowState& State() const { return driver_.State(); }

private:
    const int dpi_;
    WebCanvas canvas_;
    CanvasFrame frame_;
    Compositor compositor_;
    ShowDriver driver_;
    bool wholeNext_ = false;
};

}  // namespace mirobel::web
