// What the cairo tests draw the show into and read back: the whole screen
// as one image surface, and where the card stands in its pixels.
#pragma once
#include <cairo.h>

#include "core/base/Scaling.h"
#include "x11/show/CairoShowSession.h"

namespace mirobel::x11 {

class ImageSink : public FrameSink {
public:
    ImageSink(int width, int height)
        : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)), cr_(cairo_create(surface_)) {}
    ~ImageSink() override {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    ImageSink(const ImageSink&) = delete;
    ImageSink& operator=(const ImageSink&) = delete;

    void FillBlack(const Rect& r) override {
        cairo_set_source_rgb(cr_, 0, 0, 0);
        Fill(r);
    }
    cairo_t* BeginTile(const Rect& r) override {
        cairo_save(cr_);
        cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_clip(cr_);
        return cr_;
    }
    void EndTile(const Rect&) override { cairo_restore(cr_); }
    int TileWidth() const override { return tileWidth; }
    int TileHeight() const override { return tileHeight; }
    cairo_surface_t* CreateKept(int width, int height) override {
        return keeps ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height) : nullptr;
    }
    void CopyKept(cairo_surface_t* kept, int fromX, int fromY, const Rect& to) override {
        cairo_set_source_surface(cr_, kept, to.left - fromX, to.top - fromY);
        Fill(to);
    }
    cairo_surface_t* Surface() const { return surface_; }

    int tileWidth = 256, tileHeight = 256;
    // Without kept pictures every frame is composed in tiles.
    bool keeps = true;

private:
    void Fill(const Rect& r) {
        cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_fill(cr_);
    }
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// The card's top-left corner in pixels, and the poem it carries.
struct CardPlace {
    int cardX, cardY, poem;
};
inline CardPlace Now(const CairoShowSession& show) {
    const ShowState& state = show.State();
    return {Magnify(static_cast<int>(state.CardX), state.showDpi), Magnify(static_cast<int>(state.CardY), state.showDpi),
            state.PoemNo};
}

}  // namespace mirobel::x11
