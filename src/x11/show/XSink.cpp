#include "x11/show/XSink.h"

#include <cairo-xlib.h>

namespace mirobel::x11 {

namespace {
// Black with every alpha bit set, so that a 32-bit (ARGB) window is opaque.
unsigned long OpaqueBlack(Visual* visual, int depth) {
    const unsigned long all = depth >= 32 ? 0xFFFFFFFFul : (1ul << depth) - 1;
    return all & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
}
}  // namespace

XSink::XSink(Display* display, Window window, Visual* visual, int depth, int tile)
    : tileSize_(tile),
      display_(display),
      window_(window),
      tile_(XCreatePixmap(display, window, static_cast<unsigned>(tile), static_cast<unsigned>(tile),
                          static_cast<unsigned>(depth))),
      gc_(XCreateGC(display, window, 0, nullptr)),
      black_(OpaqueBlack(visual, depth)),
      surface_(cairo_xlib_surface_create(display, tile_, visual, tile, tile)),
      cr_(cairo_create(surface_)) {
    XSetForeground(display_, gc_, black_);
    XSetGraphicsExposures(display_, gc_, False);
}

XSink::~XSink() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
    XFreeGC(display_, gc_);
    XFreePixmap(display_, tile_);
}

void XSink::FillBlack(const Rect& r) {
    XFillRectangle(display_, window_, gc_, r.left, r.top, static_cast<unsigned>(r.right - r.left),
                   static_cast<unsigned>(r.bottom - r.top));
}

cairo_t* XSink::BeginTile(const Rect& r) {
    cairo_save(cr_);
    cairo_rectangle(cr_, 0, 0, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr_);
    cairo_translate(cr_, -r.left, -r.top);
    return cr_;
}

void XSink::EndTile(const Rect& r) {
    cairo_restore(cr_);
    cairo_surface_flush(surface_);
    XCopyArea(display_, tile_, window_, gc_, 0, 0, static_cast<unsigned>(r.right - r.left),
              static_cast<unsigned>(r.bottom - r.top), r.left, r.top);
}

}  // namespace mirobel::x11
