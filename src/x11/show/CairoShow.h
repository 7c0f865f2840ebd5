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
    // A picture kept where the pixels go (on the X server for a window), of
    // the screen's depth, to present from by plain copies; nullptr when the
    // sink keeps none. Destroying the surface frees what it holds.
    virtual cairo_surface_t* CreateKept(int, int) { return nullptr; }
    // Copies the kept picture's pixels from (fromX, fromY) onto `to`.
    virtual void CopyKept(cairo_surface_t*, int, int, const Rect&) {}
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
    cairo_surface_t* CreateKept(int width, int height) override;
    void CopyKept(cairo_surface_t* kept, int fromX, int fromY, const Rect& to) override;
    cairo_surface_t* Surface() const { return surface_; }
    int tileWidth = 256, tileHeight = 256;
    // Without kept pictures every frame is composed in tiles.
    bool keeps = true;

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
    // The part of the canvas changed since the last call (empty if none).
    Rect TakeChanged();

private:
    void Changed(const Rect& r);
    const Faces& faces_;
    int dpi_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
    std::wstring face_;
    int size_ = 10;
    bool bold_ = false;
    Rect changed_{};
};

class CairoFrame : public FrameTarget {
public:
    CairoFrame(const Faces& faces, CairoCanvas& card, int dpi, int tickerPoints);
    ~CairoFrame() override;
    CairoFrame(const CairoFrame&) = delete;
    CairoFrame& operator=(const CairoFrame&) = delete;

    void SetSink(FrameSink* sink);
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
    // Presents the area by copies of kept pictures and black fills, when
    // the scene is the card (with its portrait) and the ticker apart from
    // it; false when it must be composed in tiles.
    bool PresentByCopies(const Rect& area);
    void PresentTiles(const Rect& area);
    bool KeepCard(const Item& card, const Item* picture);
    bool KeepTicker(const Item& ticker);
    void DropKept();

    const Faces& faces_;
    CairoCanvas& card_;
    int tickerPixels_;
    int tickerBand_, tickerSlack_;  // the ticker's strip height and glyph overhang, in pixels
    int width_ = 0, height_ = 0;
    FrameSink* sink_ = nullptr;
    std::vector<Item> scene_;
    int portraitPoem_ = 0;
    Picture portrait_;
    // Kept in the sink: the card with its portrait, brought up to date
    // where the canvas or the portrait changed, and the ticker's whole line
    // drawn once per text.
    cairo_surface_t* keptCard_ = nullptr;
    bool keptCardStale_ = true;
    Picture keptPicture_;
    Rect keptPictureBox_{};  // in the kept card's pixels
    cairo_surface_t* keptTicker_ = nullptr;
    std::wstring keptTickerText_;
    // Measuring needs a context; a tiny image is enough.
    cairo_surface_t* measureSurface_;
    cairo_t* measure_;
    std::wstring measuredText_;
    int measuredWidth_ = 0;
};

}  // namespace mirobel::x11
