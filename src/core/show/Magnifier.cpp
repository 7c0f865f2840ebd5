// The show's units magnified to the pixels of its surfaces.
#include "core/base/Globals.h"
#include "core/base/Platform.h"
#include "core/base/Scaling.h"
#include "core/show/ShowState.h"

namespace mirobel {

namespace {
struct MagnifiedCanvas : CardCanvas {
    CardCanvas* device = nullptr;
    void FillRect(const Rect& r, Rgb colour) override;
    void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) override;
    void SetFont(const std::wstring& face, int size, bool bold) override;
    void SetFontSize(int size) override;
    void DrawText(int x, int y, const std::wstring& text) override;
};
struct MagnifiedFrame : FrameTarget {
    FrameTarget* device = nullptr;
    void Clear(const Rect& r) override;
    void CopyCard(const Rect& r) override;
    void StretchPortrait(const Rect& r, int poemNo) override;
    void DrawTicker(int x, int y, const std::wstring& text) override;
    int TickerWidth(const std::wstring& text) override;
    void Present(const Rect& r) override;
};

Rect Pixels(const Rect& r) {
    return {Magnify(r.left, g_showDpi), Magnify(r.top, g_showDpi), Magnify(r.right, g_showDpi),
            Magnify(r.bottom, g_showDpi)};
}

MagnifiedCanvas magnifiedCanvas;
MagnifiedFrame magnifiedFrame;
}  // namespace

int ShowScreenWidth() { return UnitsIn(DispWidth, g_showDpi); }
int ShowScreenHeight() { return UnitsIn(DispHeight, g_showDpi); }

void MagnifiedCanvas::FillRect(const Rect& r, Rgb colour) { device->FillRect(Pixels(r), colour); }
void MagnifiedCanvas::OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) {
    device->OutlineRect(Pixels(r), Magnify(lineWidth, g_showDpi), outline, fill);
}
void MagnifiedCanvas::SetFont(const std::wstring& face, int size, bool bold) { device->SetFont(face, size, bold); }
void MagnifiedCanvas::SetFontSize(int size) { device->SetFontSize(size); }
void MagnifiedCanvas::DrawText(int x, int y, const std::wstring& text) {
    device->DrawText(Magnify(x, g_showDpi), Magnify(y, g_showDpi), text);
}

void MagnifiedFrame::Clear(const Rect& r) { device->Clear(Pixels(r)); }
void MagnifiedFrame::CopyCard(const Rect& r) { device->CopyCard(Pixels(r)); }
void MagnifiedFrame::StretchPortrait(const Rect& r, int poemNo) { device->StretchPortrait(Pixels(r), poemNo); }
void MagnifiedFrame::DrawTicker(int x, int y, const std::wstring& text) {
    device->DrawTicker(Magnify(x, g_showDpi), Magnify(y, g_showDpi), text);
}
int MagnifiedFrame::TickerWidth(const std::wstring& text) {
    const long long pixels = device->TickerWidth(text);
    const int dpi = g_showDpi > 0 ? g_showDpi : 96;
    return static_cast<int>((pixels * 96 + dpi - 1) / dpi);
}
void MagnifiedFrame::Present(const Rect& r) { device->Present(Pixels(r)); }

void MagnifyShowSurfaces(Platform& platform) {
    if (platform.canvas != &magnifiedCanvas) {
        magnifiedCanvas.device = platform.canvas;
        platform.canvas = &magnifiedCanvas;
    }
    if (platform.frame != &magnifiedFrame) {
        magnifiedFrame.device = platform.frame;
        platform.frame = &magnifiedFrame;
    }
}

}  // namespace mirobel
