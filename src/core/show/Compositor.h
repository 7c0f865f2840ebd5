// The one compositor of the show's frames. The rules decide what a frame
// shows (a Scene: the card, the portrait, the rendering's line) and which
// areas of the screen change; the compositor decides how each area reaches
// the screen, and a platform's painter only puts pixels there. Both
// drawings, GDI and cairo, go through it, so they cannot disagree on what a
// frame presents.
#pragma once
#include <string>
#include <vector>

#include "core/base/Rects.h"

namespace mirobel {

// What a platform paints with, in its pixels. Pictures the painter keeps
// (the card with its portrait, the rendering's whole line) let most areas
// reach the screen as plain copies; the rest is composed a tile at a time.
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
    // Brings the kept card (the card canvas's card with the scene's
    // portrait over it) or the kept line (black, the text at its place in
    // the line) up to date; false when the painter keeps none.
    virtual bool KeepCard(const Scene& scene) = 0;
    virtual bool KeepTicker(const Scene& scene) = 0;
    // Copies the kept pictures onto `to`, which lies inside the scene's card
    // or line.
    virtual void CopyCard(const Scene& scene, const Rect& to) = 0;
    virtual void CopyTicker(const Scene& scene, const Rect& to) = 0;
    // Black, then the card, the portrait and the text clipped to its line,
    // in that order, clipped to the tile, put on the screen at once.
    virtual void ComposeTile(const Scene& scene, const Rect& tile) = 0;
};

// The frame target of a show, in pixels, in front of a painter. It keeps
// the last scene for repaints.
class Compositor : public FrameTarget {
public:
    explicit Compositor(ScenePainter& painter) : painter_(painter) {}
    int TickerWidth(const std::wstring& text) override { return painter_.TickerWidth(text); }
    void Present(const Scene& scene, const std::vector<Rect>& areas) override;
    // Presents an area of the last frame again (the window was covered).
    void Repaint(const Rect& area);

private:
    void PresentArea(const Scene& scene, const Rect& area);
    void ComposeTiles(const Scene& scene, const Rect& area);

    ScenePainter& painter_;
    Scene shown_;
};

}  // namespace mirobel
