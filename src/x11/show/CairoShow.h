// The show's drawing seams on cairo: the card canvas, the portraits and the
// frame. The frame keeps no screen-sized surface: it remembers what the
// work surface would hold (black, the card, the portrait, the ticker, in the
// order they were put there) and paints a presented rectangle from that, a
// tile at a time, into a sink. Memory therefore does not grow with the
// screen, and a frame costs what its changed rectangles cost.
#pragma once
#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "core/show/ShowState.h"
#include "x11/base/Faces.h"

namespace mirobel::x11 {

// Where presented pixels go: a window, or an image in tests and benchmarks.
struct FrameSink {
    virtual ~FrameSink() = default;
    virtual void FillBlack(const Rect& r) = 0;
    // A context in screen coordinates whose drawing reaches the tile r
    // (at most TileWidth x TileHeight); EndTile puts it on the screen.
    virtual cairo_t* BeginTile(const Rect& r) = 0;
    virtual void EndTile(const Rect& r) = 0;
    virtual int TileWidth() const = 0;
    virtual int TileHeight() const = 0;
};

// The whole screen as one image surface.
class ImageSink : public FrameSink {
public:
    ImageSink(int width, int height);
    ~ImageSink() override;
    void FillBlack(const Rect& r) override;
    cairo_t* BeginTile(const Rect& r) override;
    void EndTile(const Rect& r) override;
    int TileWidth() const override { return tileWidth; }
    int TileHeight() const override { return tileHeight; }
    cairo_surface_t* Surface() const { return surface_; }
    int tileWidth = 256, tileHeight = 256;

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

class CairoCanvas : public CardCanvas {
public:
    CairoCanvas(const Faces& faces, int dpi);
    ~CairoCanvas() override;
    void FillRect(const Rect& r, Rgb colour) override;
    void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) override;
    void SetFont(const std::wstring& face, int size, bool bold) override;
    void SetFontSize(int size) override;
    void DrawText(int x, int y, const std::wstring& text) override;
    cairo_surface_t* Surface() const { return surface_; }

private:
    void Changed();
    const Faces& faces_;
    int dpi_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
    std::wstring face_;
    int size_ = 10;
    bool bold_ = false;
};

class CairoFrame : public FrameTarget {
public:
    CairoFrame(const Faces& faces, const CairoCanvas& card, int dpi, int tickerPoints);
    ~CairoFrame() override;

    void SetSink(FrameSink* sink) { sink_ = sink; }
    // A new screen size: what was shown is forgotten (the window is black
    // again after a resize) until the next frame draws it.
    void SetScreen(int width, int height);

    void Clear(const Rect& r) override;
    void CopyCard(const Rect& r) override;
    void StretchPortrait(const Rect& r, int poemNo) override;
    void DrawTicker(int x, int y, const std::wstring& text) override;
    int TickerWidth(const std::wstring& text) override;
    void Present(const Rect& r) override;

    // How many things the remembered work surface holds (bounded: each
    // frame's clearing removes what it covers).
    size_t SceneSize() const { return scene_.size(); }
    // The portrait of a poem, decoded when its card comes; nullptr if
    // missing. Only the shown card's portrait is kept decoded (and a
    // previous one while the remembered surface still shows part of it), so
    // memory stays flat however long the show runs.
    cairo_surface_t* Portrait(int poemNo);
    // How many portraits are decoded now.
    int DecodedPortraits() const;

private:
    using Picture = std::shared_ptr<cairo_surface_t>;
    struct Item {
        enum Kind { Cleared, Card, Picture, Ticker } kind;
        Rect bounds;
        int x, y;
        std::wstring text;
        CairoFrame::Picture picture;  // the portrait a Picture item shows
    };
    void Paint(cairo_t* cr, const Item& item);
    void SetTickerFont(cairo_t* cr) const;

    const Faces& faces_;
    const CairoCanvas& card_;
    int tickerPixels_;
    int tickerBand_, tickerSlack_;  // the ticker's strip height and glyph overhang, in pixels
    int width_ = 0, height_ = 0;
    FrameSink* sink_ = nullptr;
    std::vector<Item> scene_;
    int portraitPoem_ = 0;
    Picture portrait_;
    // Measuring needs a context; a tiny image is enough.
    cairo_surface_t* measureSurface_;
    cairo_t* measure_;
    std::wstring measuredText_;
    int measuredWidth_ = 0;
};

}  // namespace mirobel::x11
