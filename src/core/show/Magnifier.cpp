// The show's units magnified to the pixels of its surfaces.
#include "core/show/Magnifier.h"

#include "core/base/Scaling.h"

namespace mirobel {

namespace {
Rect Pixels(const Rect& r, int dpi) {
    return {Magnify(r.left, dpi), Magnify(r.top, dpi), Magnify(r.right, dpi), Magnify(r.bottom, dpi)};
}
}  // namespace

void SetShowScreen(ShowState& show, int widthPixels, int heightPixels) {
    show.screenWidth = UnitsIn(widthPixels, show.showDpi);
    show.screenHeight = UnitsIn(heightPixels, show.showDpi);
}

void MagnifiedCanvas::FillRect(const Rect& r, Rgb colour) { device_.FillRect(Pixels(r, dpi_), colour); }
void MagnifiedCanvas::OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) {
    device_.OutlineRect(Pixels(r, dpi_), Magnify(lineWidth, dpi_), outline, fill);
}
void MagnifiedCanvas::SetFont(const std::wstring& face, int size, bool bold) { device_.SetFont(face, size, bold); }
void MagnifiedCanvas::SetFontSize(int size) { device_.SetFontSize(size); }
void MagnifiedCanvas::DrawText(int x, int y, const std::wstring& text, Rgb ink) {
    device_.DrawText(Magnify(x, dpi_), Magnify(y, dpi_), text, ink);
}

int MagnifiedFrame::TickerWidth(const std::wstring& text) {
    const long long pixels = device_.TickerWidth(text);
    const int dpi = dpi_ > 0 ? dpi_ : 96;
    return static_cast<int>((pixels * 96 + dpi - 1) / dpi);
}

void MagnifiedFrame::Present(const Scene& scene, const std::vector<Rect>& areas) {
    Scene pixels = scene;
    pixels.card = Pixels(scene.card, dpi_);
    pixels.portrait = Pixels(scene.portrait, dpi_);
    pixels.tickerX = Magnify(scene.tickerX, dpi_), pixels.tickerY = Magnify(scene.tickerY, dpi_);
    pixels.tickerLine = Pixels(scene.tickerLine, dpi_);
    std::vector<Rect> changed;
    changed.reserve(areas.size());
    for (const Rect& area : areas) changed.push_back(Pixels(area, dpi_));
    FrameTarget& device = device_;
    device.Present(pixels, changed);
}

}  // namespace mirobel
