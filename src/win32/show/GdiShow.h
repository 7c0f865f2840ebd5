// GDI implementations of the show's drawing seams.
#pragma once
#include <memory>

#include "win32/base/Fonts.h"
#include "win32/base/Surface.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/show/ShowState.h"

namespace mirobel {

// The seams one show draws through on GDI: the card canvas on its own
// surface (PictureBior) and the frame target, presenting to the window it is
// made for. Both
// take the show's units and draw at its resolution; fonts, portraits and
// the last frame (for repaints) are kept here, for this show alone. frmDisp
// owns one for its show; tests, tools and the benchmark make their own to
// run a show off the window.
class GdiSeams {
public:
    // The card canvas is sized for dpi; the whole-screen presentation also gets
    // work and background surfaces of the screen's size (the
    // changed-rectangle presentation composes in a scratch surface no bigger
    // than what one frame changes). tickerPoints: the ticker's font size.
    // window: where frames go (nullptr: only into a surface of PresentInto).
    GdiSeams(HWND window, int dpi, int tickerPoints, Presentation presentation, int widthPixels, int heightPixels);
    ~GdiSeams();
    GdiSeams(const GdiSeams&) = delete;
    GdiSeams& operator=(const GdiSeams&) = delete;

    CardCanvas& Canvas();
    // The card canvas's pixels: the card in its top-left corner, and room
    // beyond it for what a text may reach.
    const Surface& CanvasSurface() const;
    FrameTarget& Frame();
    // Frames go to this surface instead of the window (nullptr: back to it).
    void PresentInto(Surface* screen);
    // Draws the area of the last presented frame again (the window was covered).
    void Repaint(HDC dc, const RECT& area);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mirobel
