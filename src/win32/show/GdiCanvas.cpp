#include "win32/show/GdiCanvas.h"

// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/base/Rects.h"
#include "core/base/Scaling.h"

namespace mirobel {

namespace {
COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }
}  // namespace

HFONT MakeFont(const std::wstring& face, int points, bool bold, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -FontPixelHeight(points, dpi);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, ResolveFace(face).c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

HFONT FontCache::Get(const std::wstring& face, int points, bool bold) {
    Font& font = fonts[std::make_tuple(face, points, bold)];
    if (!font) font.reset(MakeFont(face, points, bold, dpi));
    return font.get();
}

void HeldFont::Use(HDC into, HFONT wanted) {
    if (into != dc) {
        Drop();
        dc = into;
    }
    if (wanted == font) return;
    HGDIOBJ previous = SelectObject(dc, wanted);
    if (!original) original = previous;
    font = wanted;
}

void HeldFont::Drop() {
    if (dc && original) SelectObject(dc, original);
    dc = nullptr;
    font = original = nullptr;
}

void GdiCanvas::FillRect(const Rect& r, Rgb colour) {
    Brush brush(CreateSolidBrush(Ref(colour)));
    RECT rc{r.left, r.top, r.right, r.bottom};
    ::FillRect(card.dc, &rc, brush.get());
    changed_ = Union(changed_, r);
}

void GdiCanvas::OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) {
    // An inside-frame pen keeps a wide line within the rectangle, where
    // a one-pixel line is anyway.
    GdiObject<HPEN> pen(CreatePen(lineWidth > 1 ? PS_INSIDEFRAME : PS_SOLID, lineWidth, Ref(outline)));
    Brush brush(CreateSolidBrush(Ref(fill)));
    Selection penIn(card.dc, pen.get());
    Selection brushIn(card.dc, brush.get());
    Rectangle(card.dc, r.left, r.top, r.right, r.bottom);
    changed_ = Union(changed_, r);
}

void GdiCanvas::DrawText(int x, int y, const std::wstring& text, Rgb ink) {
    held.Use(card.dc, fontCache.Get(face, size, bold));
    SetBkMode(card.dc, TRANSPARENT);
    SetTextColor(card.dc, Ref(ink));
    TextOutW(card.dc, x, y, text.c_str(), static_cast<int>(text.size()));
    // A glyph's ink may reach beyond its advance (the brush face's strokes,
    // synthesised bold): unmeasured, a text changes the whole canvas.
    changed_ = {0, 0, card.width, card.height};
}

}  // namespace mirobel
