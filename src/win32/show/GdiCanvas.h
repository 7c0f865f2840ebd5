// The card canvas on GDI, and the fonts the show draws with: made once per
// face, size and weight at the show's resolution, and left selected.
#pragma once
#include <map>
#include <string>
#include <tuple>

#include "win32/base/Fonts.h"
#include "win32/base/Gdi.h"
#include "win32/base/Surface.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/base/Scaling.h"
#include "core/show/ShowState.h"

namespace mirobel {

inline COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

inline HFONT MakeFont(const std::wstring& face, int points, bool bold, int dpi) {
    LOGFONTW lf{};
    // Made at the show's resolution, so that text keeps its place on the
    // magnified card.
    lf.lfHeight = -FontPixelHeight(points, dpi);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, ResolveFace(face).c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

// Fonts are made once per face, size and weight, at one show's resolution:
// the writer asks for the same few on every character.
struct FontCache {
    explicit FontCache(int showDpi) : dpi(showDpi) {}
    ~FontCache() { Clear(); }
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    int dpi;
    std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts;
    HFONT Get(const std::wstring& face, int points, bool bold) {
        auto key = std::make_tuple(face, points, bold);
        auto it = fonts.find(key);
        if (it != fonts.end()) return it->second;
        return fonts[key] = MakeFont(face, points, bold, dpi);
    }
    void Clear() {
        for (auto& [key, font] : fonts) DeleteObject(font);
        fonts.clear();
    }
};

// Selecting a font into a surface costs Wine's X11 driver a fresh reading of
// the X resources each time (on a display without any, it looks for the
// files again and again); a font left selected costs nothing. The original
// font goes back before the surface or the font is released.
struct HeldFont {
    HDC dc = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ original = nullptr;

    void Use(HDC into, HFONT wanted) {
        if (into != dc) {
            Drop();
            dc = into;
        }
        if (wanted == font) return;
        HGDIOBJ previous = SelectObject(dc, wanted);
        if (!original) original = previous;
        font = wanted;
    }
    void Drop() {
        if (dc && original) SelectObject(dc, original);
        dc = nullptr;
        font = original = nullptr;
    }
};

// PictureBior, the card canvas each show keeps, in units; the card is drawn
// in its top-left 400 x 260, and the rest is room for what a text reaches.
inline constexpr int kCardCanvasWidth = 560, kCardCanvasHeight = 346;

struct GdiCanvas : CardCanvas {
    GdiCanvas(FontCache& cache, Surface& surface) : fontCache(cache), card(surface) {}
    FontCache& fontCache;
    Surface& card;  // PictureBior: the card in its top-left corner
    // Counts the changes, so that a copy of the canvas knows when it is out
    // of date.
    unsigned long changes = 0;
    HeldFont held;
    std::wstring face;
    int size = 10;
    bool bold = false;

    void FillRect(const Rect& r, Rgb colour) override {
        Brush brush(CreateSolidBrush(Ref(colour)));
        RECT rc{r.left, r.top, r.right, r.bottom};
        ::FillRect(card.dc, &rc, brush.get());
        ++changes;
    }
    void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) override {
        // An inside-frame pen keeps a wide line within the rectangle, where
        // a one-pixel line is anyway.
        GdiObject<HPEN> pen(CreatePen(lineWidth > 1 ? PS_INSIDEFRAME : PS_SOLID, lineWidth, Ref(outline)));
        Brush brush(CreateSolidBrush(Ref(fill)));
        Selection penIn(card.dc, pen.get());
        Selection brushIn(card.dc, brush.get());
        Rectangle(card.dc, r.left, r.top, r.right, r.bottom);
        ++changes;
    }
    void SetFont(const std::wstring& f, int s, bool b) override { face = f, size = s, bold = b; }
    void SetFontSize(int s) override { size = s; }
    void DrawText(int x, int y, const std::wstring& text, Rgb ink) override {
        held.Use(card.dc, fontCache.Get(face, size, bold));
        SetBkMode(card.dc, TRANSPARENT);
        SetTextColor(card.dc, Ref(ink));
        TextOutW(card.dc, x, y, text.c_str(), static_cast<int>(text.size()));
        ++changes;
    }
};

}  // namespace mirobel
