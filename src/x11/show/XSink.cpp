#include "x11/show/XSink.h"

#include <cairo-xlib.h>

namespace mirobel::x11 {

namespace {
// Black with every alpha bit set, so that a 32-bit (ARGB) window is opaque.
unsigned long OpaqueBlack(Visual* visual, int depth) {
    const unsigned long all = depth >= 32 ? 0xFFFFFFFFul : (1ul << depth) - 1;
    return all & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
}

// A kept pixmap goes with the cairo surface drawn on it.
struct KeptPixmap {
    Display* display;
    Pixmap pixmap;
};
const cairo_user_data_key_t kKeptPixmap{};

void FreeKeptPixmap(void* data) {
    auto* kept = static_cast<KeptPixmap*>(data);
    XFreePixmap(kept->display, kept->pixmap);
    delete kept;
}
}  // namespace

XSink::XSink(Display* display, Window window, Visual* visual, int depth, int tile)
    : tileSize_(tile),
      display_(display),
      window_(window),
      visual_(visual),
      depth_(depth),
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

cairo_surface_t* XSink::CreateKept(int width, int height) {
    // The window's depth, so that XCopyArea may copy from it.
    const Pixmap pixmap =
        XCreatePixmap(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      static_cast<unsigned>(depth_));
    cairo_surface_t* surface = cairo_xlib_surface_create(display_, pixmap, visual_, width, height);
    auto* owner = new KeptPixmap{display_, pixmap};
    if (cairo_surface_set_user_data(surface, &kKeptPixmap, owner, FreeKeptPixmap) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        FreeKeptPixmap(owner);
        return nullptr;
    }
    return surface;
}

void XSink::CopyKept(cairo_surface_t* kept, int fromX, int fromY, const Rect& to) {
    cairo_surface_flush(kept);
    XCopyArea(display_, cairo_xlib_surface_get_drawable(kept), window_, gc_, fromX, fromY,
              static_cast<unsigned>(to.right - to.left), static_cast<unsigned>(to.bottom - to.top), to.left, to.top);
}

}  // namespace mirobel::x11
