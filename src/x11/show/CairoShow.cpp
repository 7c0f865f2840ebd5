#include "x11/show/CairoShow.h"

#include <algorithm>
#include <cmath>

#include "core/base/Scaling.h"
#include "x11/base/Assets.h"
#include "x11/base/Jpeg.h"

namespace mirobel::x11 {

namespace {
void SetColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

void FillBox(cairo_t* cr, const Rect& r) {
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_fill(cr);
}

bool Empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect Intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool Inside(const Rect& inner, const Rect& outer) {
    return Empty(inner) || (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
                            inner.bottom <= outer.bottom);
}

// Text whose top-left corner is at (x, y), as the Windows layer places it.
void ShowTextAt(cairo_t* cr, int x, int y, const std::wstring& text) {
    cairo_font_extents_t extents;
    cairo_font_extents(cr, &extents);
    cairo_move_to(cr, x, y + std::round(extents.ascent));
    cairo_show_text(cr, Utf8(text).c_str());
}

// Glyphs may reach a unit or two beyond their advance.
constexpr int kTickerSlack = 2;
}  // namespace

// --- ImageSink ---------------------------------------------------------

ImageSink::ImageSink(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)), cr_(cairo_create(surface_)) {}

ImageSink::~ImageSink() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void ImageSink::FillBlack(const Rect& r) {
    SetColour(cr_, kBlack);
    FillBox(cr_, r);
}

cairo_t* ImageSink::BeginTile(const Rect& r) {
    cairo_save(cr_);
    cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr_);
    return cr_;
}

void ImageSink::EndTile(const Rect&) { cairo_restore(cr_); }

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
    Changed();
}

void CairoCanvas::OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) {
    // A pen inside the rectangle, as GDI's Rectangle draws it.
    SetColour(cr_, outline);
    FillBox(cr_, r);
    SetColour(cr_, fill);
    FillBox(cr_, {r.left + lineWidth, r.top + lineWidth, r.right - lineWidth, r.bottom - lineWidth});
    Changed();
}

void CairoCanvas::SetFont(const std::wstring& face, int size, bool bold) {
    face_ = face, size_ = size, bold_ = bold;
}

void CairoCanvas::SetFontSize(int size) { size_ = size; }

void CairoCanvas::DrawText(int x, int y, const std::wstring& text) {
    cairo_set_font_face(cr_, faces_.Get(face_, bold_));
    cairo_set_font_size(cr_, PixelSize(size_, dpi_));
    SetColour(cr_, kBlack);
    ShowTextAt(cr_, x, y, text);
    Changed();
}

void CairoCanvas::Changed() {
    // The X backend keeps an uploaded copy of a source image until the
    // image is marked as changed.
    cairo_surface_flush(surface_);
    cairo_surface_mark_dirty(surface_);
}

// --- CairoFrame --------------------------------------------------------

CairoFrame::CairoFrame(const Faces& faces, const CairoCanvas& card, int dpi, int tickerPoints)
    : faces_(faces),
      card_(card),
      tickerPixels_(PixelSize(tickerPoints, dpi)),
      tickerBand_(Magnify(kTickerOffset, dpi)),
      tickerSlack_(Magnify(kTickerSlack, dpi)),
      measureSurface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1)),
      measure_(cairo_create(measureSurface_)) {
    SetTickerFont(measure_);
}

CairoFrame::~CairoFrame() {
    cairo_destroy(measure_);
    cairo_surface_destroy(measureSurface_);
}

void CairoFrame::SetScreen(int width, int height) {
    width_ = width, height_ = height;
    scene_.clear();
}

void CairoFrame::SetTickerFont(cairo_t* cr) const {
    cairo_set_font_face(cr, faces_.Get(kMinchoFace, false));
    cairo_set_font_size(cr, tickerPixels_);
}

void CairoFrame::Clear(const Rect& r) {
    const Rect screen{0, 0, width_, height_};
    const Rect cleared = Intersect(r, screen);
    // What the rectangle covers entirely is gone from the work surface.
    std::erase_if(scene_, [&](const Item& item) { return Inside(Intersect(item.bounds, screen), cleared); });
    if (Empty(cleared)) return;
    const bool overlaps = std::any_of(scene_.begin(), scene_.end(), [&](const Item& item) {
        return !Empty(Intersect(item.bounds, cleared));
    });
    if (overlaps) scene_.push_back({Item::Cleared, cleared, 0, 0, {}, {}});
    // A clearing matters only over what was drawn before it; once that is
    // gone, so is the clearing.
    for (size_t i = scene_.size(); i-- > 0;) {
        if (scene_[i].kind != Item::Cleared) continue;
        const bool over = std::any_of(scene_.begin(), scene_.begin() + static_cast<long>(i), [&](const Item& item) {
            return item.kind != Item::Cleared && !Empty(Intersect(item.bounds, scene_[i].bounds));
        });
        if (!over) scene_.erase(scene_.begin() + static_cast<long>(i));
    }
}

void CairoFrame::CopyCard(const Rect& r) {
    scene_.push_back({Item::Card, r, r.left, r.top, {}, {}});
}

void CairoFrame::StretchPortrait(const Rect& r, int poemNo) {
    if (!Portrait(poemNo)) return;
    scene_.push_back({Item::Picture, r, r.left, r.top, {}, portrait_});
}

void CairoFrame::DrawTicker(int x, int y, const std::wstring& text) {
    const int width = TickerWidth(text);
    scene_.push_back({Item::Ticker, {x - tickerSlack_, y, x + width + tickerSlack_, y + tickerBand_}, x, y, text, {}});
}

int CairoFrame::TickerWidth(const std::wstring& text) {
    if (text != measuredText_) {
        cairo_text_extents_t extents;
        cairo_text_extents(measure_, Utf8(text).c_str(), &extents);
        measuredText_ = text;
        measuredWidth_ = static_cast<int>(std::ceil(extents.x_advance));
    }
    return measuredWidth_;
}

cairo_surface_t* CairoFrame::Portrait(int poemNo) {
    if (poemNo < 1 || poemNo > 100) return nullptr;
    if (poemNo != portraitPoem_) {
        // The scene's items hold the picture they show; the last of them to
        // go frees it.
        const Blob jpeg = PortraitJpeg(poemNo);
        cairo_surface_t* decoded = DecodeJpeg(jpeg.data, jpeg.size);
        portrait_ = decoded ? Picture(decoded, cairo_surface_destroy) : nullptr;
        portraitPoem_ = poemNo;
    }
    return portrait_.get();
}

int CairoFrame::DecodedPortraits() const {
    std::vector<cairo_surface_t*> alive;
    if (portrait_) alive.push_back(portrait_.get());
    for (const Item& item : scene_)
        if (item.picture && std::find(alive.begin(), alive.end(), item.picture.get()) == alive.end())
            alive.push_back(item.picture.get());
    return static_cast<int>(alive.size());
}

void CairoFrame::Paint(cairo_t* cr, const Item& item) {
    switch (item.kind) {
        case Item::Cleared:
            SetColour(cr, kBlack);
            FillBox(cr, item.bounds);
            break;
        case Item::Card:
            cairo_set_source_surface(cr, card_.Surface(), item.x, item.y);
            FillBox(cr, item.bounds);
            break;
        case Item::Picture: {
            cairo_surface_t* picture = item.picture.get();
            const int w = cairo_image_surface_get_width(picture), h = cairo_image_surface_get_height(picture);
            cairo_save(cr);
            // The box as the seams magnified it: the pictures are drawn for
            // the box at 200 %, made smaller below that and larger above.
            const int bw = item.bounds.right - item.bounds.left, bh = item.bounds.bottom - item.bounds.top;
            cairo_rectangle(cr, item.x, item.y, bw, bh);
            cairo_clip(cr);
            cairo_translate(cr, item.x, item.y);
            cairo_scale(cr, static_cast<double>(bw) / w, static_cast<double>(bh) / h);
            cairo_set_source_surface(cr, picture, 0, 0);
            // Edge pixels repeat outwards rather than fading into nothing.
            cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
            cairo_paint(cr);
            cairo_restore(cr);
            break;
        }
        case Item::Ticker:
            SetTickerFont(cr);
            SetColour(cr, kWhite);
            ShowTextAt(cr, item.x, item.y, item.text);
            break;
    }
}

void CairoFrame::Present(const Rect& r) {
    if (!sink_) return;
    const Rect area = Intersect(r, {0, 0, width_, height_});
    if (Empty(area)) return;
    const int tw = std::max(1, sink_->TileWidth()), th = std::max(1, sink_->TileHeight());
    // Tiles on a fixed grid: a pixel is always drawn in the same tile, so a
    // repaint gives exactly the pixels of the first paint.
    for (int top = area.top - area.top % th; top < area.bottom; top += th) {
        for (int left = area.left - area.left % tw; left < area.right; left += tw) {
            const Rect tile{std::max(left, area.left), std::max(top, area.top), std::min(left + tw, area.right),
                            std::min(top + th, area.bottom)};
            const bool drawn = std::any_of(scene_.begin(), scene_.end(), [&](const Item& item) {
                return item.kind != Item::Cleared && !Empty(Intersect(item.bounds, tile));
            });
            // Most of a whole frame is plain black: no tile to fill for it.
            if (!drawn) {
                sink_->FillBlack(tile);
                continue;
            }
            cairo_t* cr = sink_->BeginTile(tile);
            SetColour(cr, kBlack);
            FillBox(cr, tile);
            for (const Item& item : scene_)
                if (!Empty(Intersect(item.bounds, tile))) Paint(cr, item);
            sink_->EndTile(tile);
        }
    }
}

}  // namespace mirobel::x11
