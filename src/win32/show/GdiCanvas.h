// The card canvas on GDI, and the fonts the show draws with: made once per
// face, size and weight at the show's resolution, and left selected.
#pragma once
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "win32/base/Fonts.h"
#include "win32/base/Gdi.h"
#include "win32/base/Surface.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/show/ShowState.h"

namespace mirobel {

// A font of the face at the show's resolution, so that text keeps its place
// on the magnified card.
HFONT MakeFont(const std::wstring& face, int points, bool bold, int dpi);

// Fonts are made once per face, size and weight, at one show's resolution:
// the writer asks for the same few on every character.
struct FontCache {
    explicit FontCache(int showDpi) : dpi(showDpi) {}
    int dpi;
    std::map<std::tuple<std::wstring, int, bool>, Font> fonts;
    HFONT Get(const std::wstring& face, int points, bool bold);
};

// Selecting a font into a surface costs Wine's X11 driver a fresh reading of
// the X resources each time (on a display without any, it looks for the
// files again and again); a font left selected costs nothing. The original
// font goes back before the surface or the font is released.
struct HeldFont {
    HDC dc = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ original = nullptr;

    void Use(HDC into, HFONT wanted);
    void Drop();
};

// PictureBior, the card canvas each show keeps, in units; the card is drawn
// in its top-left 400 x 260, and the rest is room for what a text reaches.
inline constexpr int kCardCanvasWidth = 560, kCardCanvasHeight = 346;

struct GdiCanvas : CardCanvas {
    GdiCanvas(FontCache& cache, Surface& surface) : fontCache(cache), card(surface) {}
    FontCache& fontCache;
    Surface& card;  // PictureBior: the card in its top-left corner
    HeldFont held;
    std::wstring face;
    int size = 10;
    bool bold = false;

    void FillRect(const Rect& r, Rgb colour) override;
    void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) override;
    void SetFont(const std::wstring& f, int s, bool b) override { face = f, size = s, bold = b; }
    void SetFontSize(int s) override { size = s; }
    void DrawText(int x, int y, const std::wstring& text, Rgb ink) override;
    // The part of the canvas drawn on since the last call, so that a copy of
    // it knows where it is out of date.
    Rect TakeChanged() { return std::exchange(changed_, Rect{}); }

private:
    Rect changed_{};
};

}  // namespace mirobel
