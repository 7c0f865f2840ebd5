#include "win32/show/GdiFrame.h"

#include <algorithm>

// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/base/Rects.h"

namespace mirobel {

namespace {
void Black(HDC dc, const Rect& r) {
    const RECT area{r.left, r.top, r.right, r.bottom};
    ::FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// Everything drawn on dc until Unclip stays inside r.
void ClipTo(HDC dc, const Rect& r) {
    if (HRGN region = CreateRectRgn(r.left, r.top, r.right, r.bottom)) {
        SelectClipRgn(dc, region);
        DeleteObject(region);
    }
}
void Unclip(HDC dc) { SelectClipRgn(dc, nullptr); }
}  // namespace

int GdiFrame::TickerWidth(const std::wstring& text) {
    if (!scratch.dc) scratch.Resize(1, 1, RGB(0, 0, 0));
    scratchFont.Use(scratch.dc, fontCache.Get(kMinchoFace, tickerFontSize, false));
    SIZE extent{};
    GetTextExtentPoint32W(scratch.dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

bool GdiFrame::Begin() {
    if (repaintDc) {
        target = repaintDc;
    } else if (destination.dc) {
        target = destination.dc;
    } else if (destination.window && IsWindow(destination.window)) {
        windowDc.emplace(destination.window);
        target = windowDc->get();
    }
    return target != nullptr;
}

void GdiFrame::End() {
    windowDc.reset();
    target = nullptr;
}

// Wine puts what a frame changed in a window on the X screen as one
// rectangle around all of it: the card near the top and the ticker's strip
// at the bottom would send nearly the whole screen on every frame. Asking
// for the queue's state lets it send the card's area on its own first;
// asking for no kind of message changes nothing in the queue, and on
// Windows it only returns 0.
void GdiFrame::BetweenAreas() {
    if (windowDc) GetQueueStatus(0);
}

void GdiFrame::FillBlack(const Rect& r) { Black(target, r); }

bool GdiFrame::MakeKept(Kept which, int width, int height) {
    Surface& kept = which == Kept::Card ? keptCard : keptLine;
    kept.Resize(width, height, RGB(0, 0, 0));
    return kept.bitmap != nullptr;
}

bool GdiFrame::DrawKeptCard(const Rect& part, int poem, const Rect& box) {
    ClipTo(keptCard.dc, part);
    DrawCard(keptCard.dc, {0, 0, keptCard.width, keptCard.height});
    const bool drawn = !poem || DrawPortrait(keptCard.dc, box, poem);
    Unclip(keptCard.dc);
    return drawn;
}

void GdiFrame::DrawKeptLine(const std::wstring& text, int x, int y) {
    Black(keptLine.dc, {0, 0, keptLine.width, keptLine.height});
    DrawTicker(keptLine.dc, lineFont, text, x, y);
}

void GdiFrame::CopyKept(Kept which, int fromX, int fromY, const Rect& to) {
    const Surface& kept = which == Kept::Card ? keptCard : keptLine;
    BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, kept.dc, fromX, fromY, SRCCOPY);
}

// Composed in a scratch surface of one tile's size, then copied: no
// half-drawn card ever reaches the window.
void GdiFrame::ComposeTile(const Scene& scene, const Rect& t) {
    const int w = t.right - t.left, h = t.bottom - t.top;
    if (scratch.width < w || scratch.height < h)
        scratch.Resize(std::max(scratch.width, w), std::max(scratch.height, h), RGB(0, 0, 0));
    Black(scratch.dc, {0, 0, w, h});
    const auto local = [&](const Rect& r) { return Moved(r, -t.left, -t.top); };
    if (Overlap(scene.card, t)) DrawCard(scratch.dc, local(scene.card));
    if (Overlap(scene.portrait, t)) DrawPortrait(scratch.dc, local(scene.portrait), scene.portraitPoem);
    if (Overlap(scene.tickerLine, t)) {
        ClipTo(scratch.dc, local(Intersect(scene.tickerLine, t)));
        DrawTicker(scratch.dc, scratchFont, scene.tickerText, scene.tickerX - t.left, scene.tickerY - t.top);
        Unclip(scratch.dc);
    }
    BitBlt(target, t.left, t.top, w, h, scratch.dc, 0, 0, SRCCOPY);
}

void GdiFrame::DrawCard(HDC dc, const Rect& r) const {
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas.card.dc, 0, 0, SRCCOPY);
}

bool GdiFrame::DrawPortrait(HDC dc, const Rect& r, int poemNo) {
    Surface* picture = SizedPortrait(poemNo, r.right - r.left, r.bottom - r.top);
    if (!picture) return false;
    BitBlt(dc, r.left, r.top, picture->width, picture->height, picture->dc, 0, 0, SRCCOPY);
    return true;
}

// The portrait at the box's size, made once per card: the pictures are
// larger than the box below 200 %, and averaging them down keeps their fine
// lines, which costs too much to do on every frame.
Surface* GdiFrame::SizedPortrait(int poemNo, int width, int height) {
    if (sizedPoem == poemNo && sized.width == width && sized.height == height) return &sized;
    Surface* picture = portrait.Of(poemNo);
    if (!picture) return nullptr;
    sized.Resize(width, height, RGB(255, 255, 255));
    SetStretchBltMode(sized.dc, HALFTONE);
    SetBrushOrgEx(sized.dc, 0, 0, nullptr);
    StretchBlt(sized.dc, 0, 0, width, height, picture->dc, 0, 0, picture->width, picture->height, SRCCOPY);
    sizedPoem = poemNo;
    return &sized;
}

void GdiFrame::DrawTicker(HDC dc, HeldFont& font, const std::wstring& text, int x, int y) {
    font.Use(dc, fontCache.Get(kMinchoFace, tickerFontSize, false));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void GdiFrame::Release() {
    scratchFont.Drop();
    lineFont.Drop();
}

}  // namespace mirobel
