// The seams one show draws through on GDI, put together: the card canvas
// (GdiCanvas.h) and the core's compositor in front of the GDI painter here,
// their fonts and the card's surface, in pixels.
#include <algorithm>
#include <optional>

#include "win32/show/GdiCanvas.h"
#include "win32/show/GdiShow.h"
#include "win32/show/Portraits.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/base/Rects.h"
#include "core/base/Scaling.h"
#include "core/show/Compositor.h"

namespace mirobel {

namespace {
void Black(HDC dc, const Rect& r) {
    const RECT area{r.left, r.top, r.right, r.bottom};
    ::FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// Everything drawn on dc until Unclip stays inside r.
void ClipTo(HDC dc, const Rect& r) {
    if (HRGN region = CreateRectRgn(r.left, r.top, r.right, r.bottom)) {
        SelectClipRgn(dc, region);
        DeleteObject(region);
    }
}
void Unclip(HDC dc) { SelectClipRgn(dc, nullptr); }

// The show's painter on GDI, behind the core's compositor: it keeps the
// pictures the compositor presents from (the card with its portrait, the
// rendering's line) as memory surfaces, composes a tile where it is asked
// for one, and puts both on the window (or the surface) it was made for.
struct GdiFrame : ScenePainter {
    GdiFrame(FontCache& cache, GdiCanvas& card, FrameDestination to, int dpi, TickerFont ticker)
        : fontCache(cache),
          canvas(card),
          destination(to),
          tile(Magnify(kTileUnits, dpi)),
          tickerFace(ticker.face),
          tickerFontSize(ticker.points) {}
    FontCache& fontCache;
    GdiCanvas& canvas;
    const FrameDestination destination;
    const int tile;  // pixels
    const wchar_t* const tickerFace;
    const int tickerFontSize;

    // The device context of the frame being presented; a repaint's while it runs.
    HDC target = nullptr;
    HDC repaintDc = nullptr;
    std::optional<WindowDc> windowDc;
    Surface scratch;
    HeldFont scratchFont, lineFont;
    Surface sized;
    int sizedPoem = 0;
    ShownPortrait portrait;
    Surface keptCard, keptLine;

    int TileWidth() const override { return tile; }
    int TileHeight() const override { return tile; }
    Rect CanvasBounds() const override { return {0, 0, canvas.card.width, canvas.card.height}; }
    Rect TakeCanvasChanged() override { return canvas.TakeChanged(); }
    void FillBlack(const Rect& r) override { Black(target, r); }

    int TickerWidth(const std::wstring& text) override {
        if (!scratch.dc) scratch.Resize(1, 1, RGB(0, 0, 0));
        scratchFont.Use(scratch.dc, fontCache.Get(tickerFace, tickerFontSize, false));
        SIZE extent{};
        GetTextExtentPoint32W(scratch.dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }

    bool Begin() override {
        if (repaintDc) {
            target = repaintDc;
        } else if (destination.dc) {
            target = destination.dc;
        } else if (destination.window && IsWindow(destination.window)) {
            windowDc.emplace(destination.window);
            target = windowDc->get();
        }
        return target != nullptr;
    }

    void End() override {
        windowDc.reset();
        target = nullptr;
    }

    // Wine puts what a frame changed in a window on the X screen as one
    // rectangle around all of it: the card near the top and the ticker's
    // strip at the bottom would send nearly the whole screen on every frame.
    // Asking for the queue's state lets it send the card's area on its own
    // first; asking for no kind of message changes nothing in the queue, and
    // on Windows it only returns 0.
    void BetweenAreas() override {
        if (windowDc) GetQueueStatus(0);
    }

    Surface& KeptOf(Kept which) { return which == Kept::Card ? keptCard : keptLine; }

    bool MakeKept(Kept which, int width, int height) override {
        KeptOf(which).Resize(width, height, RGB(0, 0, 0));
        return KeptOf(which).bitmap != nullptr;
    }

    bool DrawKeptCard(const Rect& part, int poem, const Rect& box) override {
        ClipTo(keptCard.dc, part);
        DrawCard(keptCard.dc, {0, 0, keptCard.width, keptCard.height});
        const bool drawn = !poem || DrawPortrait(keptCard.dc, box, poem);
        Unclip(keptCard.dc);
        return drawn;
    }

    void DrawKeptLine(const std::wstring& text, int x, int y) override {
        Black(keptLine.dc, {0, 0, keptLine.width, keptLine.height});
        DrawTicker(keptLine.dc, lineFont, text, x, y);
    }

    void CopyKept(Kept which, int fromX, int fromY, const Rect& to) override {
        BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, KeptOf(which).dc, fromX, fromY,
               SRCCOPY);
    }

    // Composed in a scratch surface of one tile's size, then copied: no
    // half-drawn card ever reaches the window.
    void ComposeTile(const Scene& scene, const Rect& t) override {
        const int w = t.right - t.left, h = t.bottom - t.top;
        if (scratch.width < w || scratch.height < h)
            scratch.Resize(std::max(scratch.width, w), std::max(scratch.height, h), RGB(0, 0, 0));
        Black(scratch.dc, {0, 0, w, h});
        const auto local = [&](const Rect& r) { return Moved(r, -t.left, -t.top); };
        if (Overlap(scene.card, t)) DrawCard(scratch.dc, local(scene.card));
        if (Overlap(scene.portrait, t)) DrawPortrait(scratch.dc, local(scene.portrait), scene.portraitPoem);
        if (Overlap(scene.tickerLine, t)) {
            ClipTo(scratch.dc, local(Intersect(scene.tickerLine, t)));
            DrawTicker(scratch.dc, scratchFont, scene.tickerText, scene.tickerX - t.left, scene.tickerY - t.top);
            Unclip(scratch.dc);
        }
        BitBlt(target, t.left, t.top, w, h, scratch.dc, 0, 0, SRCCOPY);
    }

    void DrawCard(HDC dc, const Rect& r) const {
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas.card.dc, 0, 0, SRCCOPY);
    }

    bool DrawPortrait(HDC dc, const Rect& r, int poemNo) {
        Surface* picture = SizedPortrait(poemNo, r.right - r.left, r.bottom - r.top);
        if (!picture) return false;
        BitBlt(dc, r.left, r.top, picture->width, picture->height, picture->dc, 0, 0, SRCCOPY);
        return true;
    }

    // The portrait at the box's size, made once per card: the pictures are
    // larger than the box below 200 %, and averaging them down keeps their
    // fine lines, which costs too much to do on every frame.
    Surface* SizedPortrait(int poemNo, int width, int height) {
        if (sizedPoem == poemNo && sized.width == width && sized.height == height) return &sized;
        Surface* picture = portrait.Of(poemNo);
        if (!picture) return nullptr;
        sized.Resize(width, height, RGB(255, 255, 255));
        SetStretchBltMode(sized.dc, HALFTONE);
        SetBrushOrgEx(sized.dc, 0, 0, nullptr);
        StretchBlt(sized.dc, 0, 0, width, height, picture->dc, 0, 0, picture->width, picture->height, SRCCOPY);
        sizedPoem = poemNo;
        return &sized;
    }

    void DrawTicker(HDC dc, HeldFont& font, const std::wstring& text, int x, int y) {
        font.Use(dc, fontCache.Get(tickerFace, tickerFontSize, false));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    }
};
}  // namespace

struct GdiSeams::Impl {
    Impl(FrameDestination to, int dpi, TickerFont ticker)
        : fonts(dpi),
          canvas(fonts, PictureBior),
          painter(fonts, canvas, to, dpi, ticker),
          compositor(painter) {}
    ~Impl() {
        // The fonts are deselected before the cache deletes them.
        painter.scratchFont.Drop();
        painter.lineFont.Drop();
        canvas.held.Drop();
    }
    FontCache fonts;
    Surface PictureBior;  // the card canvas
    GdiCanvas canvas;
    GdiFrame painter;
    Compositor compositor;
};

GdiSeams::GdiSeams(FrameDestination to, int dpi, TickerFont ticker)
    : impl_(std::make_unique<Impl>(to, dpi, ticker)) {
    // Room for the card and what its texts may reach beyond it.
    impl_->PictureBior.Resize(Magnify(kCardCanvasWidth, dpi), Magnify(kCardCanvasHeight, dpi), RGB(255, 255, 255));
}

GdiSeams::~GdiSeams() = default;

CardCanvas& GdiSeams::Canvas() { return impl_->canvas; }
const Surface& GdiSeams::CanvasSurface() const { return impl_->PictureBior; }
FrameTarget& GdiSeams::Frame() { return impl_->compositor; }

void GdiSeams::Repaint(HDC dc, const RECT& area) {
    impl_->painter.repaintDc = dc;
    impl_->compositor.Repaint({area.left, area.top, area.right, area.bottom});
    impl_->painter.repaintDc = nullptr;
}

}  // namespace mirobel
