// Where the page meets the core's show: a session owns the page's canvases
// and one core show drawn on them, as the native program's session does.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

#include "core/settings/Settings.h"
#include "web/show/CanvasShow.h"

namespace mirobel::web {

class CanvasShowSession {
public:
    // With a seed the poems follow a fixed sequence (for comparing runs);
    // without one they follow the clock. The show is drawn at `dpi`: its
    // 96-dpi layout magnified by dpi / 96.
    CanvasShowSession(const Settings& settings, std::optional<uint64_t> seed, int dpi);
    ~CanvasShowSession();
    CanvasShowSession(const CanvasShowSession&) = delete;
    CanvasShowSession& operator=(const CanvasShowSession&) = delete;

    // The first card and its first frame on a screen of this many pixels.
    void Start(int width, int height);
    void NextFrame();
    // A new size keeps the card on the screen; the canvas is black again
    // and the next frame presents the whole screen.
    void Resize(int width, int height);
    // Presents part of the screen again from what the last frame showed
    // (a portrait the browser has decoded since comes with it).
    void Repaint(const Rect& r);
    // Milliseconds between frames for the speed setting.
    int FrameInterval() const;
    // Writes this frame to a record (see core/show/ShowRecord.h).
    void Record(std::FILE* out, long frame);
    const ShowState& State() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mirobel::web
