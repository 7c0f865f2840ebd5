// GDI implementations of the show's drawing seams.
#pragma once
#include <memory>

#include "win32/base/Fonts.h"
#include "win32/base/Surface.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/show/ShowState.h"

namespace mirobel {

// The picture of a poem's poet, decoded from its JPEG resource into out
// (WIC: COM must be started on the thread first). False if missing.
bool DecodePortrait(int poemNo, Surface& out);

// The seams one show draws through on GDI: the card canvas on PictureBior
// and the frame target on the work surfaces, presenting to frmDisp. Both
// take the show's units and draw at its resolution; fonts, portraits and
// the last frame (for repaints) are kept here, for this show alone. frmDisp
// owns one for its show; tests, tools and the benchmark make their own to
// run a show off the window.
class GdiSeams {
public:
    // PictureBior is sized for dpi; the whole-screen presentation also gets
    // work and background surfaces of the screen's size (the
    // changed-rectangle presentation composes in a scratch surface no bigger
    // than what one frame changes). tickerPoints: the ticker's font size.
    GdiSeams(int dpi, int tickerPoints, Presentation presentation, int widthPixels, int heightPixels);
    ~GdiSeams();
    GdiSeams(const GdiSeams&) = delete;
    GdiSeams& operator=(const GdiSeams&) = delete;

    CardCanvas& Canvas();
    FrameTarget& Frame();
    // Frames go to this surface instead of frmDisp (nullptr: back to it).
    void PresentInto(Surface* screen);
    // Draws the area of the last presented frame again (the window was covered).
    void Repaint(HDC dc, const RECT& area);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mirobel
