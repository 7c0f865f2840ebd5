#include "web/show/CanvasShow.h"

#include "core/base/Faces.h"
#include "core/base/Rects.h"
#include "core/base/Scaling.h"

namespace mirobel::web {

Face FaceFor(const std::wstring& face) {
    return face == kBrushFace ? Face::Brush : face == kLatinFace ? Face::Latin : Face::Mincho;
}

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

// --- CanvasFrame -------------------------------------------------------

CanvasFrame::CanvasFrame(WebCanvas& card, int dpi, TickerFont ticker)
    : card_(card),
      tickerFace_(FaceFor(ticker.face)),
      tickerPixels_(FontPixelHeight(ticker.points, dpi)),
      tile_(Magnify(kTileUnits, dpi)) {}

CanvasFrame::~CanvasFrame() {
    if (keptCard_ >= 0) DestroyCanvas(keptCard_);
    if (keptLine_ >= 0) DestroyCanvas(keptLine_);
}

void CanvasFrame::CardCame(int poemNo, int keptPoem) {
    // Only the shown card's portrait stays decoded (and the kept card's, while
    // it still shows it), so memory stays flat however long the show runs.
    KeepOnlyPortrait(keptPoem ? keptPoem : poemNo);
    RequestPortrait(poemNo);
}

int CanvasFrame::TickerWidth(const std::wstring& text) { return TextWidth(tickerFace_, tickerPixels_, text); }

bool CanvasFrame::MakeKept(Kept which, int width, int height) {
    int& kept = which == Kept::Card ? keptCard_ : keptLine_;
    if (kept >= 0) DestroyCanvas(kept);
    kept = CreateCanvas(width, height);
    if (which == Kept::Line) keptLineSize_ = {0, 0, width, height};
    return true;
}

// A portrait the browser has not decoded yet is not drawn, and comes in a
// later frame.
bool CanvasFrame::DrawKeptCard(const Rect& part, int poem, const Rect& box) {
    ClipTo(keptCard_, part);
    CopyCanvas(card_.Id(), 0, 0, keptCard_, {0, 0, card_.Width(), card_.Height()});
    const bool drawn = !poem || DrawPortrait(keptCard_, poem, box);
    Unclip(keptCard_);
    return drawn;
}

void CanvasFrame::DrawKeptLine(const std::wstring& text, int x, int y) {
    FillBox(keptLine_, keptLineSize_, kBlack);
    DrawTicker(keptLine_, text, x, y);
}

void CanvasFrame::DrawTicker(int canvas, const std::wstring& text, int x, int y) {
    web::DrawText(canvas, tickerFace_, false, tickerPixels_, kWhite, x, y, text);
}

void CanvasFrame::CopyKept(Kept which, int fromX, int fromY, const Rect& to) {
    CopyCanvas(which == Kept::Card ? keptCard_ : keptLine_, fromX, fromY, kScreenCanvas, to);
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
        DrawTicker(kScreenCanvas, scene.tickerText, scene.tickerX, scene.tickerY);
        Unclip(kScreenCanvas);
    }
    Unclip(kScreenCanvas);
}

}  // namespace mirobel::web
