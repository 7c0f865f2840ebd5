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

void Clip(cairo_t* cr, const Rect& r) {
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
}

// The portrait stretched over its box.
void PaintPicture(cairo_t* cr, cairo_surface_t* picture, const Rect& box) {
    const int w = cairo_image_surface_get_width(picture), h = cairo_image_surface_get_height(picture);
    cairo_save(cr);
    // The box as the seams magnified it: the pictures are drawn for the box
    // at 200 %, made smaller below that and larger above.
    Clip(cr, box);
    cairo_translate(cr, box.left, box.top);
    cairo_scale(cr, static_cast<double>(box.right - box.left) / w, static_cast<double>(box.bottom - box.top) / h);
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

CairoCanvas::CairoCanvas(const EmbeddedFaces& faces, int dpi)
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

// --- CairoFrame --------------------------------------------------------

CairoFrame::CairoFrame(const EmbeddedFaces& faces, CairoCanvas& card, int dpi, TickerFont ticker)
    : faces_(faces),
      card_(card),
      tickerFace_(ticker.face),
      tickerPixels_(PixelSize(ticker.points, dpi)),
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
    if (keptLine_) cairo_surface_destroy(keptLine_);
    keptCard_ = keptLine_ = nullptr;
}

void CairoFrame::SetTickerFont(cairo_t* cr) const {
    cairo_set_font_face(cr, faces_.Get(tickerFace_, false));
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
        const Blob jpeg = PortraitJpeg(poemNo);
        portrait_.reset(DecodeJpeg(jpeg.data, jpeg.size));
        portraitPoem_ = poemNo;
    }
    return portrait_.get();
}

int CairoFrame::DecodedPortraits() const { return portrait_ ? 1 : 0; }

Rect CairoFrame::CanvasBounds() const {
    return {0, 0, cairo_image_surface_get_width(card_.Surface()), cairo_image_surface_get_height(card_.Surface())};
}

bool CairoFrame::MakeKept(Kept which, int width, int height) {
    cairo_surface_t*& kept = which == Kept::Card ? keptCard_ : keptLine_;
    if (kept) cairo_surface_destroy(kept);
    kept = sink_->CreateKept(width, height);
    return kept != nullptr;
}

bool CairoFrame::DrawKeptCard(const Rect& part, int poem, const Rect& box) {
    cairo_surface_t* picture = poem ? Portrait(poem) : nullptr;
    cairo_t* cr = cairo_create(keptCard_);
    Clip(cr, part);
    cairo_set_source_surface(cr, card_.Surface(), 0, 0);
    cairo_paint(cr);
    if (picture) PaintPicture(cr, picture, box);
    cairo_destroy(cr);
    cairo_surface_flush(keptCard_);
    return !poem || picture;
}

void CairoFrame::DrawKeptLine(const std::wstring& text, int x, int y) {
    cairo_t* cr = cairo_create(keptLine_);
    SetColour(cr, kBlack);
    cairo_paint(cr);
    SetTickerFont(cr);
    SetColour(cr, kWhite);
    ShowTextAt(cr, x, y, text);
    cairo_destroy(cr);
    cairo_surface_flush(keptLine_);
}

void CairoFrame::CopyKept(Kept which, int fromX, int fromY, const Rect& to) {
    sink_->CopyKept(which == Kept::Card ? keptCard_ : keptLine_, fromX, fromY, to);
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
        if (cairo_surface_t* picture = Portrait(scene.portraitPoem)) PaintPicture(cr, picture, scene.portrait);
    if (Overlap(scene.tickerLine, tile)) {
        cairo_save(cr);
        Clip(cr, Intersect(scene.tickerLine, tile));
        SetTickerFont(cr);
        SetColour(cr, kWhite);
        ShowTextAt(cr, scene.tickerX, scene.tickerY, scene.tickerText);
        cairo_restore(cr);
    }
    sink_->EndTile(tile);
}

}  // namespace mirobel::x11
