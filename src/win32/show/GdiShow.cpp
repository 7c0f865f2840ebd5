// The seams one show draws through on GDI, put together: the card canvas
// (GdiCanvas.h), the core's compositor in front of the GDI painter
// (GdiFrame.h), their fonts and the card's surface, in pixels.
#include "win32/show/GdiShow.h"

#include "core/show/Compositor.h"
#include "core/base/Scaling.h"
#include "win32/show/GdiFrame.h"

namespace mirobel {

struct GdiSeams::Impl {
    Impl(FrameDestination to, int dpi, int tickerPoints)
        : fonts(dpi),
          canvas(fonts, PictureBior),
          painter(fonts, canvas, to, dpi, tickerPoints),
          compositor(painter) {}
    ~Impl() {
        // The fonts are deselected before the cache deletes them.
        painter.Release();
        canvas.held.Drop();
    }
    FontCache fonts;
    Surface PictureBior;  // the card canvas
    GdiCanvas canvas;
    GdiFrame painter;
    Compositor compositor;
};

GdiSeams::GdiSeams(FrameDestination to, int dpi, int tickerPoints)
    : impl_(std::make_unique<Impl>(to, dpi, tickerPoints)) {
    // Room for the card and what its texts may reach beyond it.
    impl_->PictureBior.Resize(Magnify(kCardCanvasWidth, dpi), Magnify(kCardCanvasHeight, dpi), RGB(255, 255, 255));
}

GdiSeams::~GdiSeams() = default;

CardCanvas& GdiSeams::Canvas() { return impl_->canvas; }
const Surface& GdiSeams::CanvasSurface() const { return impl_->PictureBior; }
FrameTarget& GdiSeams::Frame() { return impl_->compositor; }

void GdiSeams::Repaint(HDC dc, const RECT& area) {
    impl_->painter.Through(dc, [&] { impl_->compositor.Repaint({area.left, area.top, area.right, area.bottom}); });
}

}  // namespace mirobel
