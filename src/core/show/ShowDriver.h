// One show as the portable rules step it, for a platform that draws on
// canvases of its own: the settings it started with, its state, the seams
// that magnify its units into the platform's pixels, its generator and, when
// asked, its record. The Windows show windows, the native program and the
// web page each wrap one and add only how frames reach their screen.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

#include "core/base/Random.h"
#include "core/settings/Settings.h"
#include "core/show/ShowRecord.h"
#include "core/show/ShowState.h"

namespace mirobel {

// Out of this header, where <windows.h>'s DrawText macro could rename them.
class MagnifiedCanvas;
class MagnifiedFrame;

class ShowDriver {
public:
    // With a seed the poems follow a fixed sequence (for comparing runs);
    // without one they follow the clock. The show is drawn at `dpi`: its
    // 96-dpi layout magnified by dpi / 96. The canvas and the frame are the
    // platform's, in pixels, and must outlive the driver.
    ShowDriver(const Settings& settings, CardCanvas& canvas, FrameTarget& frame, std::optional<uint64_t> seed,
               int dpi);
    ~ShowDriver();

    // Told the number of each new card once: the first before anything is
    // presented, each later one right after the frame that chose it. A
    // platform that loads portraits slowly starts loading there.
    void OnNewCard(std::function<void(int poem)> told) { onNewCard_ = std::move(told); }

    // What a platform does as its show starts, before the poem tables and the
    // first card: set its pace (handed TimerInterval()), then start its music.
    // The Windows lead does both; a show paced by another does neither.
    struct StartSteps {
        std::function<void(int timerInterval)> pace;
        std::function<void()> music;
    };
    // The first card and its first frame on a screen of this many pixels.
    void Start(int width, int height, const StartSteps& first = {});
    void NextFrame();
    // A new size keeps the card on the screen at once, where the rules
    // would walk it back a few units a frame.
    void Resize(int width, int height);
    // Milliseconds between frames as the speed table names them, for a
    // system timer that clamps them itself (Windows: to 10 ms at least).
    int TimerInterval() const;
    // The pace that timer really keeps, for timers that would fire faster.
    int FrameInterval() const;
    // Writes this frame to a record (see core/show/ShowRecord.h).
    void Record(std::FILE* out, long frame);

    // The record the show runs with, its range made usable.
    const Settings& SettingsRecord() const { return settings_; }
    ShowState& State() { return show_; }
    const ShowState& State() const { return show_; }

private:
    void TellNewCard();

    Settings settings_;
    ShowState show_;
    std::unique_ptr<MagnifiedCanvas> magnifiedCanvas_;
    std::unique_ptr<MagnifiedFrame> magnifiedFrame_;
    std::unique_ptr<RandomSource> random_;
    std::unique_ptr<ShowRecorder> recorder_;
    std::FILE* recordFile_ = nullptr;
    std::function<void(int)> onNewCard_;
    int cardTold_ = 0;
};

}  // namespace mirobel
