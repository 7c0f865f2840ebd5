#include "web/show/CanvasShow.h"

#include "core/base/Faces.h"
#include "core/base/Rects.h"
#include "core/base/Scaling.h"

namespace mirobel::web {

namespace {
// The kept card covers the card at every scale; a tile of this many units
// holds it with its step, as on X.
constexpr int kTileUnits = 512;
}  // namespace

Face FaceFor(const std::wstring& face) { return face == kBrushFace ? Face::Brush : Face::Mincho; }

// --- WebCanvas ---------------------------------------------------------

WebCanvas::WebCanvas(int dpi)
    : dpi_(dpi),
      // The card at the show's resolution: its texts are drawn from the
      // outlines at their magnified size, never stretched afterwards.
      width_(Magnify(kCardWidth, dpi)),
      height_(Magnify(kCardHeight, dpi)),
      id_(CreateCanvas(width_, height_)) {
    FillBox(id_, {0, 0, width_, height_}, kWhite);
}

WebCanvas::~WebCanvas() { DestroyCanvas(id_); }

void WebCanvas::FillRect(const Rect& r, Rgb colour) {
    FillBox(id_, r, colour);
    changed_ = Union(changed_, r);
}

void WebCanvas::OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) {
    // A pen inside the rectangle, as GDI's Rectangle draws it.
    FillBox(id_, r, outline);
    FillBox(id_, {r.left + lineWidth, r.top + lineWidth, r.right - lineWidth, r.bottom - lineWidth}, fill);
    changed_ = Union(changed_, r);
}

void WebCanvas::SetFont(const std::wstring& face, int size, bool bold) { face_ = FaceFor(face), size_ = size, bold_ = bold; }

void WebCanvas::SetFontSize(int size) { size_ = size; }

void WebCanvas::DrawText(int x, int y, const std::wstring& text, Rgb ink) {
    // Pixel em size as the Windows layer rounds it (MulDiv).
    const int pixels = FontPixelHeight(size_, dpi_);
    changed_ = Union(changed_, web::DrawText(id_, face_, bold_, pixels, ink, x, y, text));
}

Rect WebCanvas::TakeChanged() {
    const Rect changed = Intersect(changed_, {0, 0, width_, height_});
    changed_ = {};
    return Empty(changed) ? Rect{} : changed;
}

// --- CanvasFrame -------------------------------------------------------

CanvasFrame::CanvasFrame(WebCanvas& card, int dpi, int tickerPoints)
    : card_(card), tickerPixels_(FontPixelHeight(tickerPoints, dpi)), tile_(Magnify(kTileUnits, dpi)) {}

CanvasFrame::~CanvasFrame() {
    if (keptCard_ >= 0) DestroyCanvas(keptCard_);
    if (keptTicker_ >= 0) DestroyCanvas(keptTicker_);
}

void CanvasFrame::CardCame(int poemNo) {
    // Only the shown card's portrait stays decoded (and the kept card's, while
    // it still shows it), so memory stays flat however long the show runs.
    KeepOnlyPortrait(keptPoem_ ? keptPoem_ : poemNo);
    RequestPortrait(poemNo);
}

int CanvasFrame::TickerWidth(const std::wstring& text) { return TextWidth(Face::Mincho, tickerPixels_, text); }

bool CanvasFrame::KeepCard(const Scene& scene) {
    const Rect& card = scene.card;
    const int w = card.right - card.left, h = card.bottom - card.top;
    if (w != card_.Width() || h != card_.Height()) return false;
    if (keptCard_ < 0) {
        keptCard_ = CreateCanvas(w, h);
        keptCardStale_ = true;
    }
    // Brought up to date where the canvas changed and where a portrait
    // comes, goes or is another. A portrait the browser has not decoded yet
    // is not shown, and comes in a later frame.
    Rect stale = card_.TakeChanged();
    if (keptCardStale_) stale = {0, 0, w, h};
    const Rect wantedBox = Empty(scene.portrait) ? Rect{} : Moved(scene.portrait, -card.left, -card.top);
    const int wanted = Empty(wantedBox) ? 0 : scene.portraitPoem;
    if (wanted != keptPoem_ || wantedBox != keptPictureBox_) stale = Union(stale, Union(keptPictureBox_, wantedBox));
    if (Empty(stale)) return true;
    ClipTo(keptCard_, stale);
    CopyCanvas(card_.Id(), 0, 0, keptCard_, {0, 0, w, h});
    const bool shown = wanted && DrawPortrait(keptCard_, wanted, wantedBox);
    Unclip(keptCard_);
    keptCardStale_ = false;
    keptPoem_ = shown ? wanted : 0;
    keptPictureBox_ = shown ? wantedBox : Rect{};
    return true;
}

bool CanvasFrame::KeepTicker(const Scene& scene) {
    const Rect& line = scene.tickerLine;
    const int w = line.right - line.left, h = line.bottom - line.top;
    // Beyond what a canvas can hold, the line is composed in tiles.
    if (w > 32767 || h > 32767) return false;
    const Rect size{0, 0, w, h};
    if (keptTicker_ >= 0 && keptTickerText_ == scene.tickerText && keptTickerSize_ == size) return true;
    if (keptTicker_ >= 0) DestroyCanvas(keptTicker_);
    keptTicker_ = CreateCanvas(w, h);
    FillBox(keptTicker_, size, kBlack);
    DrawTicker(keptTicker_, scene, -line.left, -line.top);
    keptTickerText_ = scene.tickerText;
    keptTickerSize_ = size;
    return true;
}

void CanvasFrame::DrawTicker(int canvas, const Scene& scene, int dx, int dy) {
    web::DrawText(canvas, Face::Mincho, false, tickerPixels_, kWhite, scene.tickerX + dx, scene.tickerY + dy,
                  scene.tickerText);
}

void CanvasFrame::CopyCard(const Scene& scene, const Rect& to) {
    CopyCanvas(keptCard_, to.left - scene.card.left, to.top - scene.card.top, kScreenCanvas, to);
}

void CanvasFrame::CopyTicker(const Scene& scene, const Rect& to) {
    CopyCanvas(keptTicker_, to.left - scene.tickerLine.left, to.top - scene.tickerLine.top, kScreenCanvas, to);
}

void CanvasFrame::ComposeTile(const Scene& scene, const Rect& tile) {
    ClipTo(kScreenCanvas, tile);
    FillBox(kScreenCanvas, tile, kBlack);
    if (Overlap(scene.card, tile)) {
        const Rect part = Intersect(scene.card, tile);
        CopyCanvas(card_.Id(), part.left - scene.card.left, part.top - scene.card.top, kScreenCanvas, part);
    }
    if (Overlap(scene.portrait, tile)) DrawPortrait(kScreenCanvas, scene.portraitPoem, scene.portrait);
    if (Overlap(scene.tickerLine, tile)) {
        ClipTo(kScreenCanvas, Intersect(scene.tickerLine, tile));
        DrawTicker(kScreenCanvas, scene, 0, 0);
        Unclip(kScreenCanvas);
    }
    Unclip(kScreenCanvas);
}

}  // namespace mirobel::web
