#include "x11/show/CairoShow.h"

#include <algorithm>
#include <cmath>

#include "core/base/Rects.h"
#include "core/base/Scaling.h"
#include "core/show/Compositor.h"
#include "x11/base/Assets.h"
#include "x11/base/Jpeg.h"

namespace mirobel::x11 {

namespace {
void SetColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

void FillBox(cairo_t* cr, const Rect& r) {
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_fill(cr);
}

// The portrait stretched over its box, whose top-left is at (x, y).
void PaintPicture(cairo_t* cr, cairo_surface_t* picture, int x, int y, int width, int height) {
    const int w = cairo_image_surface_get_width(picture), h = cairo_image_surface_get_height(picture);
    cairo_save(cr);
    // The box as the seams magnified it: the pictures are drawn for the box
    // at 200 %, made smaller below that and larger above.
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, static_cast<double>(width) / w, static_cast<double>(height) / h);
    cairo_set_source_surface(cr, picture, 0, 0);
    // Edge pixels repeat outwards rather than fading into nothing.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

// Text whose top-left corner is at (x, y), as the Windows layer places it.
void ShowTextAt(cairo_t* cr, int x, int y, const std::wstring& text) {
    cairo_font_extents_t extents;
    cairo_font_extents(cr, &extents);
    cairo_move_to(cr, x, y + std::round(extents.ascent));
    cairo_show_text(cr, Utf8(text).c_str());
}

}  // namespace

// --- CairoCanvas -------------------------------------------------------

CairoCanvas::CairoCanvas(const Faces& faces, int dpi)
    : faces_(faces),
      dpi_(dpi),
      // The card at the show's resolution: its texts are drawn from the
      // outlines at their magnified size, never stretched afterwards.
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, Magnify(kCardWidth, dpi), Magnify(kCardHeight, dpi))),
      cr_(cairo_create(surface_)) {
    SetColour(cr_, kWhite);
    cairo_paint(cr_);
}

CairoCanvas::~CairoCanvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void CairoCanvas::FillRect(const Rect& r, Rgb colour) {
    SetColour(cr_, colour);
    FillBox(cr_, r);
    Changed(r);
}

void CairoCanvas::OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) {
    // A pen inside the rectangle, as GDI's Rectangle draws it.
    SetColour(cr_, outline);
    FillBox(cr_, r);
    SetColour(cr_, fill);
    FillBox(cr_, {r.left + lineWidth, r.top + lineWidth, r.right - lineWidth, r.bottom - lineWidth});
    Changed(r);
}

void CairoCanvas::SetFont(const std::wstring& face, int size, bool bold) {
    face_ = face, size_ = size, bold_ = bold;
}

void CairoCanvas::SetFontSize(int size) { size_ = size; }

void CairoCanvas::DrawText(int x, int y, const std::wstring& text, Rgb colour) {
    cairo_set_font_face(cr_, faces_.Get(face_, bold_));
    cairo_set_font_size(cr_, PixelSize(size_, dpi_));
    SetColour(cr_, colour);
    ShowTextAt(cr_, x, y, text);
    // The ink's box, a pixel wider for antialiasing.
    cairo_font_extents_t font;
    cairo_font_extents(cr_, &font);
    cairo_text_extents_t ink;
    cairo_text_extents(cr_, Utf8(text).c_str(), &ink);
    const double ox = x, oy = y + std::round(font.ascent);
    Changed({static_cast<int>(std::floor(ox + ink.x_bearing)) - 1, static_cast<int>(std::floor(oy + ink.y_bearing)) - 1,
             static_cast<int>(std::ceil(ox + ink.x_bearing + ink.width)) + 1,
             static_cast<int>(std::ceil(oy + ink.y_bearing + ink.height)) + 1});
}

void CairoCanvas::Changed(const Rect& r) {
    // The X backend keeps an uploaded copy of a source image until the
    // image is marked as changed.
    cairo_surface_flush(surface_);
    cairo_surface_mark_dirty(surface_);
    changed_ = Union(changed_, r);
}

Rect CairoCanvas::TakeChanged() {
    const Rect all{0, 0, cairo_image_surface_get_width(surface_), cairo_image_surface_get_height(surface_)};
    const Rect changed = Intersect(changed_, all);
    changed_ = {};
    return Empty(changed) ? Rect{} : changed;
}

// --- CairoFrame --------------------------------------------------------

CairoFrame::CairoFrame(const Faces& faces, CairoCanvas& card, int dpi, int tickerPoints)
    : faces_(faces),
      card_(card),
      tickerPixels_(PixelSize(tickerPoints, dpi)),
      measureSurface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1)),
      measure_(cairo_create(measureSurface_)) {
    SetTickerFont(measure_);
}

CairoFrame::~CairoFrame() {
    DropKept();
    cairo_destroy(measure_);
    cairo_surface_destroy(measureSurface_);
}

void CairoFrame::SetSink(FrameSink* sink) {
    // Kept pictures belong to the sink that made them.
    if (sink != sink_) DropKept();
    sink_ = sink;
}

void CairoFrame::DropKept() {
    if (keptCard_) cairo_surface_destroy(keptCard_);
    if (keptTicker_) cairo_surface_destroy(keptTicker_);
    keptCard_ = keptTicker_ = nullptr;
    keptCardStale_ = true;
    keptPicture_ = nullptr;
    keptPictureBox_ = {};
    keptTickerText_.clear();
}

void CairoFrame::SetTickerFont(cairo_t* cr) const {
    cairo_set_font_face(cr, faces_.Get(kMinchoFace, false));
    cairo_set_font_size(cr, tickerPixels_);
}

int CairoFrame::TickerWidth(const std::wstring& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(measure_, Utf8(text).c_str(), &extents);
    return static_cast<int>(std::ceil(extents.x_advance));
}

cairo_surface_t* CairoFrame::Portrait(int poemNo) {
    if (poemNo < 1 || poemNo > 100) return nullptr;
    if (poemNo != portraitPoem_) {
        // The kept card holds the picture it shows until it is brought up
        // to date; the last holder frees it.
        const Blob jpeg = PortraitJpeg(poemNo);
        cairo_surface_t* decoded = DecodeJpeg(jpeg.data, jpeg.size);
        portrait_ = decoded ? Picture(decoded, cairo_surface_destroy) : nullptr;
        portraitPoem_ = poemNo;
    }
    return portrait_.get();
}

int CairoFrame::DecodedPortraits() const {
    return (portrait_ ? 1 : 0) + (keptPicture_ && keptPicture_ != portrait_ ? 1 : 0);
}

bool CairoFrame::KeepCard(const Scene& scene) {
    const Rect& card = scene.card;
    const int w = card.right - card.left, h = card.bottom - card.top;
    if (cairo_image_surface_get_width(card_.Surface()) != w || cairo_image_surface_get_height(card_.Surface()) != h)
        return false;
    if (!keptCard_) {
        keptCard_ = sink_->CreateKept(w, h);
        if (!keptCard_) return false;
        keptCardStale_ = true;
    }
    // Brought up to date where the canvas changed and where a portrait
    // comes, goes or is another.
    Rect stale = card_.TakeChanged();
    if (keptCardStale_) stale = {0, 0, w, h};
    const bool shown = !Empty(scene.portrait) && Portrait(scene.portraitPoem);
    const Picture wanted = shown ? portrait_ : nullptr;
    const Rect wantedBox = shown ? Moved(scene.portrait, -card.left, -card.top) : Rect{};
    if (wanted != keptPicture_ || wantedBox != keptPictureBox_) stale = Union(stale, Union(keptPictureBox_, wantedBox));
    if (Empty(stale)) return true;
    cairo_t* cr = cairo_create(keptCard_);
    cairo_rectangle(cr, stale.left, stale.top, stale.right - stale.left, stale.bottom - stale.top);
    cairo_clip(cr);
    cairo_set_source_surface(cr, card_.Surface(), 0, 0);
    cairo_paint(cr);
    if (wanted)
        PaintPicture(cr, wanted.get(), wantedBox.left, wantedBox.top, wantedBox.right - wantedBox.left,
                     wantedBox.bottom - wantedBox.top);
    cairo_destroy(cr);
    cairo_surface_flush(keptCard_);
    keptCardStale_ = false;
    keptPicture_ = wanted;
    keptPictureBox_ = wantedBox;
    return true;
}

bool CairoFrame::KeepTicker(const Scene& scene) {
    const Rect& line = scene.tickerLine;
    const int w = line.right - line.left, h = line.bottom - line.top;
    // Beyond what an X pixmap can hold, the line is composed in tiles.
    if (w > 32767 || h > 32767) return false;
    const Rect size{0, 0, w, h};
    if (keptTicker_ && keptTickerText_ == scene.tickerText && keptTickerSize_ == size) return true;
    if (keptTicker_) cairo_surface_destroy(keptTicker_);
    keptTicker_ = sink_->CreateKept(w, h);
    keptTickerText_.clear();
    if (!keptTicker_) return false;
    cairo_t* cr = cairo_create(keptTicker_);
    SetColour(cr, kBlack);
    cairo_paint(cr);
    SetTickerFont(cr);
    SetColour(cr, kWhite);
    ShowTextAt(cr, scene.tickerX - line.left, scene.tickerY - line.top, scene.tickerText);
    cairo_destroy(cr);
    cairo_surface_flush(keptTicker_);
    keptTickerText_ = scene.tickerText;
    keptTickerSize_ = size;
    return true;
}

void CairoFrame::CopyCard(const Scene& scene, const Rect& to) {
    sink_->CopyKept(keptCard_, to.left - scene.card.left, to.top - scene.card.top, to);
}

void CairoFrame::CopyTicker(const Scene& scene, const Rect& to) {
    sink_->CopyKept(keptTicker_, to.left - scene.tickerLine.left, to.top - scene.tickerLine.top, to);
}

void CairoFrame::ComposeTile(const Scene& scene, const Rect& tile) {
    cairo_t* cr = sink_->BeginTile(tile);
    SetColour(cr, kBlack);
    FillBox(cr, tile);
    if (Overlap(scene.card, tile)) {
        cairo_set_source_surface(cr, card_.Surface(), scene.card.left, scene.card.top);
        FillBox(cr, Intersect(scene.card, tile));
    }
    if (Overlap(scene.portrait, tile))
        if (cairo_surface_t* picture = Portrait(scene.portraitPoem))
            PaintPicture(cr, picture, scene.portrait.left, scene.portrait.top,
                         scene.portrait.right - scene.portrait.left, scene.portrait.bottom - scene.portrait.top);
    if (Overlap(scene.tickerLine, tile)) {
        const Rect clip = Intersect(scene.tickerLine, tile);
        cairo_save(cr);
        cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
        cairo_clip(cr);
        SetTickerFont(cr);
        SetColour(cr, kWhite);
        ShowTextAt(cr, scene.tickerX, scene.tickerY, scene.tickerText);
        cairo_restore(cr);
    }
    sink_->EndTile(tile);
}

}  // namespace mirobel::x11
