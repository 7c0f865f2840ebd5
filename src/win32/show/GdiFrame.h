// The show's painter on GDI, behind the core's compositor: it keeps the
// pictures the compositor presents from (the card with its portrait, the
// rendering's line) as memory surfaces, composes a tile where it is asked
// for one, and puts both on the window (or the surface) it was made for.
#pragma once
#include <optional>
#include <string>

#include "win32/show/GdiCanvas.h"
#include "win32/show/GdiShow.h"
#include "win32/show/Portraits.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/base/Scaling.h"
#include "core/show/Compositor.h"

namespace mirobel {

struct GdiFrame : ScenePainter {
    GdiFrame(FontCache& cache, GdiCanvas& card, FrameDestination to, int dpi, int tickerPoints)
        : fontCache(cache),
          canvas(card),
          destination(to),
          tile(Magnify(kTileUnits, dpi)),
          tickerFontSize(tickerPoints) {}
    FontCache& fontCache;
    GdiCanvas& canvas;
    const FrameDestination destination;
    const int tile;  // pixels
    const int tickerFontSize;

    // The device context of the frame being presented, and of a repaint.
    HDC target = nullptr;
    HDC repaintDc = nullptr;
    std::optional<WindowDc> windowDc;

    int TickerWidth(const std::wstring& text) override;
    int TileWidth() const override { return tile; }
    int TileHeight() const override { return tile; }
    bool Begin() override;
    void End() override;
    void BetweenAreas() override;
    // Presents through dc (a repaint's) instead, for as long as it runs.
    template <typename Present>
    void Through(HDC dc, Present present) {
        repaintDc = dc;
        present();
        repaintDc = nullptr;
    }

    void FillBlack(const Rect& r) override;
    void ComposeTile(const Scene& scene, const Rect& t) override;
    Rect CanvasBounds() const override { return {0, 0, canvas.card.width, canvas.card.height}; }
    Rect TakeCanvasChanged() override { return canvas.TakeChanged(); }
    bool MakeKept(Kept which, int width, int height) override;
    bool DrawKeptCard(const Rect& part, int poem, const Rect& box) override;
    void DrawKeptLine(const std::wstring& text, int x, int y) override;
    void CopyKept(Kept which, int fromX, int fromY, const Rect& to) override;

    // The fonts are deselected before the cache deletes them.
    void Release();

private:
    void DrawCard(HDC dc, const Rect& r) const;
    bool DrawPortrait(HDC dc, const Rect& r, int poemNo);
    Surface* SizedPortrait(int poemNo, int width, int height);
    void DrawTicker(HDC dc, HeldFont& font, const std::wstring& text, int x, int y);

    Surface scratch;
    HeldFont scratchFont, lineFont;
    Surface sized;
    int sizedPoem = 0;
    ShownPortrait portrait;
    Surface keptCard, keptLine;
};

}  // namespace mirobel
