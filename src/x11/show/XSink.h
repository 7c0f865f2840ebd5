// Presents frames into an X window: by copies from pixmaps kept on the X
// server where the frame allows (the card, the ticker's line), otherwise
// through one small back tile drawn complete before it is copied to the
// window. Either way no half-drawn card is ever seen, and no screen-sized
// buffer is kept.
#pragma once
#include <X11/Xlib.h>

#include "x11/show/CairoShow.h"

namespace mirobel::x11 {

class XSink : public FrameSink {
public:
    // Tiles of tile x tile pixels: kTileUnits magnified by the show's scale
    // keeps the card in one tile.
    XSink(Display* display, Window window, Visual* visual, int depth, int tile = kTileUnits);
    ~XSink() override;
    XSink(const XSink&) = delete;
    XSink& operator=(const XSink&) = delete;

    void FillBlack(const Rect& r) override;
    cairo_t* BeginTile(const Rect& r) override;
    void EndTile(const Rect& r) override;
    int TileWidth() const override { return tileSize_; }
    int TileHeight() const override { return tileSize_; }
    // Pixmaps on the server, copied to the window with XCopyArea.
    cairo_surface_t* CreateKept(int width, int height) override;
    void CopyKept(cairo_surface_t* kept, int fromX, int fromY, const Rect& to) override;

private:
    int tileSize_;
    Display* display_;
    Window window_;
    Visual* visual_;
    int depth_;
    Pixmap tile_;
    GC gc_;
    unsigned long black_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

}  // namespace mirobel::x11
