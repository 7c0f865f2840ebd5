// The show's painter on GDI, behind the core's compositor: it keeps the
// card (with its portrait) and the rendering's line as pictures to copy
// from, composes a tile where the compositor asks for one, and puts both on
// the window (or the surface) it was made for.
#pragma once
#include <algorithm>
#include <optional>
#include <string>

#include "core/show/Compositor.h"
#include "win32/show/GdiCanvas.h"
#include "win32/show/GdiShow.h"
#include "win32/show/Portraits.h"

namespace mirobel {

// Tiles are at most this big in the show's units: a card's change
// (402 x 262) fits in one.
inline constexpr int kTileUnits = 512;

inline void FillBlack(HDC dc, const Rect& r) {
    const RECT area{r.left, r.top, r.right, r.bottom};
    ::FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

struct GdiFrame : ScenePainter {
    GdiFrame(FontCache& cache, const GdiCanvas& card, FrameDestination to, int dpi, int tickerPoints)
        : fontCache(cache),
          canvas(card),
          destination(to),
          tile(Magnify(kTileUnits, dpi)),
          tickerFontSize(tickerPoints) {}
    FontCache& fontCache;
    const GdiCanvas& canvas;
    const FrameDestination destination;
    const int tile;  // pixels
    const int tickerFontSize;

    // The device context of the frame being presented, and of a repaint.
    HDC target = nullptr;
    HDC repaintDc = nullptr;
    std::optional<WindowDc> windowDc;

    int TickerWidth(const std::wstring& text) override {
        HDC dc = MeasuringDc();
        scratchFont.Use(dc, fontCache.Get(kMinchoFace, tickerFontSize, false));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }
    int TileWidth() const override { return tile; }
    int TileHeight() const override { return tile; }

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
    // strip at the bottom would send nearly the whole screen on every
    // frame. Asking for the queue's state lets it send the card's area on
    // its own first; asking for no kind of message changes nothing in the
    // queue, and on Windows it only returns 0.
    void BetweenAreas() override {
        if (windowDc) GetQueueStatus(0);
    }
    // Presents through dc (a repaint's) instead, for as long as it runs.
    template <typename Present>
    void Through(HDC dc, Present present) {
        repaintDc = dc;
        present();
        repaintDc = nullptr;
    }

    void FillBlack(const Rect& r) override { mirobel::FillBlack(target, r); }

    // The card with its portrait over it, brought up to date when the
    // canvas has changed or another portrait (or none) is shown.
    bool KeepCard(const Scene& scene) override {
        const Rect& card = scene.card;
        const int w = card.right - card.left, h = card.bottom - card.top;
        const int poem = Empty(scene.portrait) ? 0 : scene.portraitPoem;
        const Rect box = poem ? Moved(scene.portrait, -card.left, -card.top) : Rect{};
        if (keptCard.dc && keptCard.width == w && keptCard.height == h && keptChanges == canvas.changes &&
            keptPoem == poem && keptBox == box)
            return true;
        if (keptCard.width != w || keptCard.height != h) keptCard.Resize(w, h, RGB(0, 0, 0));
        DrawCard(keptCard.dc, {0, 0, w, h});
        if (poem) DrawPortrait(keptCard.dc, box, poem);
        keptChanges = canvas.changes, keptPoem = poem, keptBox = box;
        return true;
    }
    // The rendering's whole line, drawn once per text: drawing the text
    // again on every frame costs more than anything else in a frame, the
    // more so at a large scale.
    bool KeepTicker(const Scene& scene) override {
        const Rect& line = scene.tickerLine;
        const int w = line.right - line.left, h = line.bottom - line.top;
        if (keptLine.dc && keptLineText == scene.tickerText && keptLine.width == w && keptLine.height == h)
            return true;
        stripFont.Drop();
        keptLine.Resize(w, h, RGB(0, 0, 0));
        stripFont.Use(keptLine.dc, fontCache.Get(kMinchoFace, tickerFontSize, false));
        SetBkMode(keptLine.dc, TRANSPARENT);
        SetTextColor(keptLine.dc, RGB(255, 255, 255));
        TextOutW(keptLine.dc, scene.tickerX - line.left, scene.tickerY - line.top, scene.tickerText.c_str(),
                 static_cast<int>(scene.tickerText.size()));
        keptLineText = scene.tickerText;
        return true;
    }
    void CopyCard(const Scene& scene, const Rect& to) override {
        BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, keptCard.dc, to.left - scene.card.left,
               to.top - scene.card.top, SRCCOPY);
    }
    void CopyTicker(const Scene& scene, const Rect& to) override {
        BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, keptLine.dc,
               to.left - scene.tickerLine.left, to.top - scene.tickerLine.top, SRCCOPY);
    }

    // Composed in a scratch surface of one tile's size, then copied: no
    // half-drawn card ever reaches the window.
    void ComposeTile(const Scene& scene, const Rect& t) override {
        const int w = t.right - t.left, h = t.bottom - t.top;
        if (scratch.width < w || scratch.height < h)
            scratch.Resize(std::max(scratch.width, w), std::max(scratch.height, h), RGB(0, 0, 0));
        mirobel::FillBlack(scratch.dc, {0, 0, w, h});
        const auto local = [&](const Rect& r) { return Moved(r, -t.left, -t.top); };
        if (Overlap(scene.card, t)) DrawCard(scratch.dc, local(scene.card));
        if (Overlap(scene.portrait, t)) DrawPortrait(scratch.dc, local(scene.portrait), scene.portraitPoem);
        if (Overlap(scene.tickerLine, t)) {
            const Rect clip = local(Intersect(scene.tickerLine, t));
            if (HRGN region = CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom)) {
                SelectClipRgn(scratch.dc, region);
                DeleteObject(region);
            }
            scratchFont.Use(scratch.dc, fontCache.Get(kMinchoFace, tickerFontSize, false));
            SetBkMode(scratch.dc, TRANSPARENT);
            SetTextColor(scratch.dc, RGB(255, 255, 255));
            TextOutW(scratch.dc, scene.tickerX - t.left, scene.tickerY - t.top, scene.tickerText.c_str(),
                     static_cast<int>(scene.tickerText.size()));
            SelectClipRgn(scratch.dc, nullptr);
        }
        BitBlt(target, t.left, t.top, w, h, scratch.dc, 0, 0, SRCCOPY);
    }

    HDC MeasuringDc() {
        if (!scratch.dc) scratch.Resize(1, 1, RGB(0, 0, 0));
        return scratch.dc;
    }
    void DrawCard(HDC dc, const Rect& r) const {
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas.card.dc, 0, 0, SRCCOPY);
    }
    void DrawPortrait(HDC dc, const Rect& r, int poemNo) {
        Surface* picture = SizedPortrait(poemNo, r.right - r.left, r.bottom - r.top);
        if (!picture) return;
        BitBlt(dc, r.left, r.top, picture->width, picture->height, picture->dc, 0, 0, SRCCOPY);
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

    Surface scratch;
    HeldFont scratchFont, stripFont;
    Surface sized;
    int sizedPoem = 0;
    ShownPortrait portrait;
    Surface keptCard;
    unsigned long keptChanges = 0;
    int keptPoem = 0;
    Rect keptBox{};
    Surface keptLine;
    std::wstring keptLineText;

    // The fonts are deselected before the cache deletes them.
    void Release() {
        scratchFont.Drop();
        stripFont.Drop();
    }
};

}  // namespace mirobel
