// The show's drawing on cairo: the card canvas, the portraits and the
// painter behind the core's compositor. Nothing screen-sized is kept: a
// presented area is copied from pictures kept in the sink or composed a
// tile at a time, so memory does not grow with the screen, and a frame
// costs what its changed areas cost.
#pragma once
#include <cairo.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/show/Compositor.h"
#include "core/show/Card.h"
#include "core/show/ShowState.h"
#include "x11/base/EmbeddedFaces.h"

namespace mirobel::x11 {

// Where presented pixels go: a window, or an image in tests.
struct FrameSink {
    virtual ~FrameSink() = default;
    virtual void FillBlack(const Rect& r) = 0;
    // A context in screen coordinates whose drawing reaches the tile r
    // (at most TileWidth x TileHeight); EndTile puts it on the screen.
    virtual cairo_t* BeginTile(const Rect& r) = 0;
    virtual void EndTile(const Rect& r) = 0;
    virtual int TileWidth() const = 0;
    virtual int TileHeight() const = 0;
    // A picture kept where the pixels go (on the X server for a window), of
    // the screen's depth, to present from by plain copies; nullptr when the
    // sink keeps none. Destroying the surface frees what it holds.
    virtual cairo_surface_t* CreateKept(int, int) { return nullptr; }
    // Copies the kept picture's pixels from (fromX, fromY) onto `to`.
    virtual void CopyKept(cairo_surface_t*, int, int, const Rect&) {}
};

class CairoCanvas : public CardCanvas {
public:
    CairoCanvas(const EmbeddedFaces& faces, int dpi);
    ~CairoCanvas() override;
    void FillRect(const Rect& r, Rgb colour) override;
    void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) override;
    void SetFont(const std::wstring& face, int size, bool bold) override;
    void SetFontSize(int size) override;
    void DrawText(int x, int y, const std::wstring& text, Rgb ink) override;
    cairo_surface_t* Surface() const { return surface_; }
    // The part of the canvas drawn on since the last call.
    Rect TakeChanged() { return std::exchange(changed_, Rect{}); }

private:
    void Changed(const Rect& r);
    const EmbeddedFaces& faces_;
    int dpi_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
    std::wstring face_;
    int size_ = 10;
    bool bold_ = false;
    Rect changed_{};
};

// The show's painter on cairo: puts what the core's compositor decides into
// a sink, as copies of pictures kept in the sink or as composed tiles.
class CairoFrame : public ScenePainter {
public:
    CairoFrame(const EmbeddedFaces& faces, CairoCanvas& card, int dpi, TickerFont ticker);
    ~CairoFrame() override;
    CairoFrame(const CairoFrame&) = delete;
    CairoFrame& operator=(const CairoFrame&) = delete;

    void SetSink(FrameSink* sink);

    int TickerWidth(const std::wstring& text) override;
    int TileWidth() const override { return sink_ ? sink_->TileWidth() : 1; }
    int TileHeight() const override { return sink_ ? sink_->TileHeight() : 1; }
    bool Begin() override { return sink_ != nullptr; }
    void FillBlack(const Rect& r) override { sink_->FillBlack(r); }
    void ComposeTile(const Scene& scene, const Rect& tile) override;
    Rect CanvasBounds() const override;
    Rect TakeCanvasChanged() override { return card_.TakeChanged(); }
    bool MakeKept(Kept which, int width, int height) override;
    bool DrawKeptCard(const Rect& part, int poem, const Rect& box) override;
    void DrawKeptLine(const std::wstring& text, int x, int y) override;
    void CopyKept(Kept which, int fromX, int fromY, const Rect& to) override;

    // The portrait of a poem, decoded when its card comes; nullptr if
    // missing. Only the shown card's portrait is kept decoded, so memory
    // stays flat however long the show runs.
    cairo_surface_t* Portrait(int poemNo);
    // How many portraits are decoded now.
    int DecodedPortraits() const;

private:
    using Picture = std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)>;
    void SetTickerFont(cairo_t* cr) const;
    void DropKept();

    const EmbeddedFaces& faces_;
    CairoCanvas& card_;
    const wchar_t* tickerFace_;
    int tickerPixels_;
    FrameSink* sink_ = nullptr;
    int portraitPoem_ = 0;
    Picture portrait_{nullptr, cairo_surface_destroy};
    // The pictures the compositor presents from, kept in the sink.
    cairo_surface_t* keptCard_ = nullptr;
    cairo_surface_t* keptLine_ = nullptr;
    // Measuring needs a context; a tiny image is enough.
    cairo_surface_t* measureSurface_;
    cairo_t* measure_;
};

}  // namespace mirobel::x11
