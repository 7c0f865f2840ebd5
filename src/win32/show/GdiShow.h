// GDI implementations of the show's drawing seams.
#pragma once
#include <memory>

#include "win32/base/Fonts.h"
#include "win32/base/Surface.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/show/Card.h"
#include "core/show/ShowState.h"

namespace mirobel {

// Where a show's frames go: a window, or a device context of the caller's
// (a surface of a test or a tool).
struct FrameDestination {
    HWND window = nullptr;
    HDC dc = nullptr;
};

// The seams one show draws through on GDI: the card canvas on its own
// surface (PictureBior) and the compositor in front of the GDI painter,
// presenting to where it was made for, both in pixels at the show's
// resolution; fonts, portraits and the last frame (for repaints) are kept
// here, for this show alone. Each show owns one; tests make their own.
class GdiSeams {
public:
    GdiSeams(FrameDestination to, int dpi, TickerFont ticker);
    ~GdiSeams();

    CardCanvas& Canvas();
    // The card canvas's pixels: the card in its top-left corner, and room
    // beyond it for what a text may reach.
    const Surface& CanvasSurface() const;
    FrameTarget& Frame();
    // Draws the area of the last presented frame again (the window was covered).
    void Repaint(HDC dc, const RECT& area);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mirobel
