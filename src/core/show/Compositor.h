// The one compositor of the show's frames. The rules decide what a frame
// shows (a Scene: the card, the portrait, the rendering's line) and which
// areas of the screen change; the compositor decides how each area reaches
// the screen and when the pictures it copies from are out of date, and a
// platform's painter only puts pixels where it is told. GDI, cairo and the
// page's canvases all paint through it, so they cannot disagree on what a
// frame presents.
#pragma once
#include <string>
#include <vector>

#include "core/base/Rects.h"

namespace mirobel {

// Tiles are at most this big in the show's units: a card's change
// (402 x 262) fits in one.
inline constexpr int kTileUnits = 512;

// The pictures a painter keeps so that most areas reach the screen as plain
// copies: the card with its portrait over it, and the rendering's whole line.
enum class Kept { Card, Line };

// What a platform paints with, in its pixels.
struct ScenePainter {
    virtual ~ScenePainter() = default;
    // Width of the rendering's text as the painter draws it.
    virtual int TickerWidth(const std::wstring& text) = 0;
    // The largest tile ComposeTile takes.
    virtual int TileWidth() const = 0;
    virtual int TileHeight() const = 0;
    // Around one frame's drawing; false when there is nowhere to draw.
    virtual bool Begin() { return true; }
    virtual void End() {}
    // Between two areas of one frame: what is painted so far may go to the
    // screen on its own.
    virtual void BetweenAreas() {}
    virtual void FillBlack(const Rect& r) = 0;
    // Black, then the card, the portrait and the text clipped to its line,
    // in that order, clipped to the tile, put on the screen at once.
    virtual void ComposeTile(const Scene& scene, const Rect& tile) = 0;

    // The card canvas (the card in its top-left corner), and the part of it
    // drawn on since the last call.
    virtual Rect CanvasBounds() const = 0;
    virtual Rect TakeCanvasChanged() = 0;
    // The longest side of a kept picture the platform can hold: X pixmaps,
    // cairo's images and the browser's canvases hold at most 32767 pixels.
    virtual int LargestKept() const { return 32767; }
    // A new kept picture of this size, its pixels undefined; false when the
    // painter keeps none.
    virtual bool MakeKept(Kept which, int width, int height) = 0;
    // Within `part` of the kept card: the canvas, and over it the poem's
    // portrait stretched over `box` (poem 0: none). False when the portrait
    // could not be drawn (not decoded yet, or missing).
    virtual bool DrawKeptCard(const Rect& part, int poem, const Rect& box) = 0;
    // The whole kept line: black, the text with its top-left at (x, y).
    virtual void DrawKeptLine(const std::wstring& text, int x, int y) = 0;
    virtual void CopyKept(Kept which, int fromX, int fromY, const Rect& to) = 0;
};

// The frame target of a show, in pixels, in front of a painter. It keeps
// the last scene for repaints, and what the painter's kept pictures show.
class Compositor : public FrameTarget {
public:
    explicit Compositor(ScenePainter& painter) : painter_(painter) {}
    int TickerWidth(const std::wstring& text) override { return painter_.TickerWidth(text); }
    void Present(const Scene& scene, const std::vector<Rect>& areas) override;
    // Presents an area of the last frame again (the window was covered).
    void Repaint(const Rect& area);
    // The painter's kept pictures are gone (it draws somewhere else now).
    void ForgetKept() { card_ = {}, line_ = {}; }
    // The poem whose portrait the kept card shows (0: none).
    int KeptPortrait() const { return card_.poem; }

private:
    void PresentArea(const Scene& scene, const Rect& area);
    void ComposeTiles(const Scene& scene, const Rect& area);
    bool KeepCard(const Scene& scene);
    bool KeepLine(const Scene& scene);
    bool MakeKept(Kept which, const Rect& size);

    ScenePainter& painter_;
    Scene shown_;
    struct {
        Rect size{};  // empty: no picture
        int poem = 0;
        Rect box{};  // in the kept card's pixels
    } card_;
    struct {
        Rect size{};
        std::wstring text;
        int x = 0, y = 0;  // the text's place in the line
    } line_;
};

}  // namespace mirobel
