// The seams one show draws through on GDI, put together: the card canvas
// (GdiCanvas.h), the frame target (GdiFrame.h), their fonts and the card's
// surface, magnified from the show's units.
#include "win32/show/GdiShow.h"

#include "win32/show/GdiFrame.h"
#include "core/show/Magnifier.h"

namespace mirobel {

struct GdiSeams::Impl {
    Impl(HWND window, int dpi, int tickerPoints, Presentation presentation)
        : fonts(dpi),
          canvas(fonts, PictureBior),
          frame(fonts, canvas, window, dpi, tickerPoints, presentation),
          magnifiedCanvas(canvas, dpi),
          magnifiedFrame(frame, dpi) {}
    ~Impl() {
        // The fonts are deselected before the cache deletes them.
        frame.Reset();
        canvas.held.Drop();
    }
    FontCache fonts;
    Surface PictureBior;  // the card canvas
    GdiCanvas canvas;
    GdiFrame frame;
    MagnifiedCanvas magnifiedCanvas;
    MagnifiedFrame magnifiedFrame;
};

GdiSeams::GdiSeams(HWND window, int dpi, int tickerPoints, Presentation presentation, int widthPixels,
                   int heightPixels)
    : impl_(std::make_unique<Impl>(window, dpi, tickerPoints, presentation)) {
    // Room for the card and what its texts may reach beyond it.
    impl_->PictureBior.Resize(Magnify(kCardCanvasWidth, dpi), Magnify(kCardCanvasHeight, dpi), RGB(255, 255, 255));
    // Whole-screen surfaces only for presenting whole frames; the
    // changed-rectangle presentation composes in a scratch surface no bigger
    // than what one frame changes.
    if (presentation == Presentation::WholeScreen) {
        scr_work.Resize(widthPixels, heightPixels, RGB(0, 0, 0));
        scr_bkg.Resize(widthPixels, heightPixels, RGB(0, 0, 0));
    } else {
        scr_work.Release();
        scr_bkg.Release();
    }
}

GdiSeams::~GdiSeams() {
    impl_.reset();
    scr_work.Release();
    scr_bkg.Release();
}

CardCanvas& GdiSeams::Canvas() { return impl_->magnifiedCanvas; }
const Surface& GdiSeams::CanvasSurface() const { return impl_->PictureBior; }
FrameTarget& GdiSeams::Frame() { return impl_->magnifiedFrame; }
void GdiSeams::PresentInto(Surface* screen) { impl_->frame.screen = screen; }

void GdiSeams::Repaint(HDC dc, const RECT& area) {
    if (impl_->frame.whole) {
        if (scr_work.dc)
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, scr_work.dc, area.left,
                   area.top, SRCCOPY);
        return;
    }
    impl_->frame.PresentFrame(dc, area, impl_->frame.shown);
}

}  // namespace mirobel
