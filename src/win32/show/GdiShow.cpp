// The show's drawing seams on GDI: the card canvas, the frame surfaces, the
// portraits decoded from JPEG resources, and the clock-seeded generator.
#include "win32/show/GdiShow.h"

#include <wincodec.h>

#include <chrono>
#include <map>
#include <random>
#include <vector>

#include "core/base/Globals.h"
#include "win32/base/Fonts.h"
#include "win32/base/Gdi.h"
#include "win32/base/Resources.h"
#include "core/base/Scaling.h"
#include "win32/show/frmDisp.h"
#include "core/show/ShowState.h"

namespace mirobel {

namespace {
COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

HFONT MakeFont(const std::wstring& face, int points, bool bold) {
    LOGFONTW lf{};
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, ResolveFace(face).c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

// Fonts are made once per face, size and weight: the writer asks for the
// same few on every character.
struct FontCache {
    std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts;
    HFONT Get(const std::wstring& face, int points, bool bold) {
        auto key = std::make_tuple(face, points, bold);
        auto it = fonts.find(key);
        if (it != fonts.end()) return it->second;
        return fonts[key] = MakeFont(face, points, bold);
    }
    void Clear() {
        for (auto& [key, font] : fonts) DeleteObject(font);
        fonts.clear();
    }
};
FontCache fontCache;

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

struct GdiCanvas : CardCanvas {
    HeldFont held;
    std::wstring face;
    int size = 10;
    bool bold = false;

    void FillRect(const Rect& r, Rgb colour) override {
        HBRUSH brush = CreateSolidBrush(Ref(colour));
        RECT rc{r.left, r.top, r.right, r.bottom};
        ::FillRect(PictureBior.dc, &rc, brush);
        DeleteObject(brush);
    }
    void OutlineRect(const Rect& r, Rgb outline, Rgb fill) override {
        HPEN pen = CreatePen(PS_SOLID, 1, Ref(outline));
        HBRUSH brush = CreateSolidBrush(Ref(fill));
        HGDIOBJ oldPen = SelectObject(PictureBior.dc, pen);
        HGDIOBJ oldBrush = SelectObject(PictureBior.dc, brush);
        Rectangle(PictureBior.dc, r.left, r.top, r.right, r.bottom);
        SelectObject(PictureBior.dc, oldPen);
        SelectObject(PictureBior.dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
    void SetFont(const std::wstring& f, int s, bool b) override { face = f, size = s, bold = b; }
    void SetFontSize(int s) override { size = s; }
    void DrawText(int x, int y, const std::wstring& text) override {
        held.Use(PictureBior.dc, fontCache.Get(face, size, bold));
        SetBkMode(PictureBior.dc, TRANSPARENT);
        SetTextColor(PictureBior.dc, RGB(0, 0, 0));
        TextOutW(PictureBior.dc, x, y, text.c_str(), static_cast<int>(text.size()));
    }
};

Surface* screenSurface = nullptr;

// The changed-rectangle presentation keeps no picture of the screen. Every
// rectangle it presents was cleared in the same frame, so its pixels are
// black plus what this frame drew there: the card, the portrait and the
// ticker. They are recorded as the frame is painted and drawn again, in
// order, into a scratch surface the size of one piece of the rectangle.
// Memory then stays the same whatever the size of the screen.
struct FrameOp {
    enum Kind { Card, Portrait, Ticker } kind;
    int x, y;
    int poemNo;
    std::wstring text;
};

// Pieces are at most this big: a card's change (402 x 262) fits in one, a
// wide ticker strip or a whole first frame takes several.
constexpr int kPieceWidth = 1024, kPieceHeight = 272;
// Glyphs of the ticker may reach beyond their advance and cell; pieces that
// nothing touches within these margins are filled black directly.
constexpr int kTickerMargin = 16, kTickerReach = 64;

void FillBlack(HDC dc, const RECT& r) { ::FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }

struct GdiFrame : FrameTarget {
    std::vector<FrameOp> ops;    // the frame being painted
    std::vector<FrameOp> shown;  // the last frame presented, for repaints
    bool painting = false;       // ops belong to the frame being painted
    int tickerWidth = 0;
    std::wstring measuredText;
    Surface scratch;
    HeldFont scratchFont, workFont;

    static bool Whole() { return g_presentation == Presentation::WholeScreen; }

    void Record(FrameOp op) {
        if (!painting) {
            ops.clear();
            painting = true;
        }
        ops.push_back(std::move(op));
    }
    void Clear(const Rect& r) override {
        if (Whole()) {
            BitBlt(scr_work.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, scr_bkg.dc, r.left, r.top,
                   SRCCOPY);
            return;
        }
        // Clearing starts a frame; the cleared area is black unless drawn on.
        if (!painting) {
            ops.clear();
            painting = true;
        }
    }
    void CopyCard(int x, int y) override {
        if (Whole()) return DrawCard(scr_work.dc, x, y);
        Record({FrameOp::Card, x, y, 0, {}});
    }
    void StretchPortrait(int x, int y, int poemNo) override {
        if (Whole()) return DrawPortrait(scr_work.dc, x, y, poemNo);
        Record({FrameOp::Portrait, x, y, poemNo, {}});
    }
    void DrawTicker(int x, int y, const std::wstring& text) override {
        if (Whole()) return DrawText(scr_work.dc, x, y, text);
        if (text != measuredText) {
            tickerWidth = TickerWidth(text);
            measuredText = text;
        }
        Record({FrameOp::Ticker, x, y, 0, text});
    }
    int TickerWidth(const std::wstring& text) override {
        HDC dc = MeasuringDc();
        scratchFont.Use(dc, fontCache.Get(kMinchoFace, TickerFontSize(), false));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }
    void Present(const Rect& r) override {
        if (!Whole()) {
            painting = false;
            shown = ops;
        }
        HDC target = nullptr;
        if (screenSurface) {
            target = screenSurface->dc;
        } else if (frmDisp) {
            target = GetDC(frmDisp);
        } else {
            return;
        }
        const RECT area{r.left, r.top, r.right, r.bottom};
        if (Whole())
            BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, scr_work.dc, r.left, r.top, SRCCOPY);
        else
            Compose(target, area, shown);
        if (!screenSurface) ReleaseDC(frmDisp, target);
    }

    // Puts the area of a frame made of `frame` on black onto dc, piece by piece.
    void Compose(HDC dc, const RECT& area, const std::vector<FrameOp>& frame) {
        for (int top = area.top; top < area.bottom; top += kPieceHeight) {
            for (int left = area.left; left < area.right; left += kPieceWidth) {
                const RECT piece{left, top, std::min<int>(left + kPieceWidth, area.right),
                                 std::min<int>(top + kPieceHeight, area.bottom)};
                bool touched = false;
                for (const FrameOp& op : frame) touched = touched || Touches(op, piece);
                if (!touched) {
                    FillBlack(dc, piece);
                    continue;
                }
                const int w = piece.right - piece.left, h = piece.bottom - piece.top;
                if (scratch.width < w || scratch.height < h)
                    scratch.Resize(std::max(scratch.width, w), std::max(scratch.height, h), RGB(0, 0, 0));
                FillBlack(scratch.dc, RECT{0, 0, w, h});
                for (const FrameOp& op : frame) {
                    const int x = op.x - piece.left, y = op.y - piece.top;
                    switch (op.kind) {
                        case FrameOp::Card: DrawCard(scratch.dc, x, y); break;
                        case FrameOp::Portrait: DrawPortrait(scratch.dc, x, y, op.poemNo); break;
                        case FrameOp::Ticker: DrawText(scratch.dc, x, y, op.text); break;
                    }
                }
                BitBlt(dc, piece.left, piece.top, w, h, scratch.dc, 0, 0, SRCCOPY);
            }
        }
    }

    bool Touches(const FrameOp& op, const RECT& piece) const {
        RECT bounds{};
        switch (op.kind) {
            case FrameOp::Card: bounds = {op.x, op.y, op.x + kCardWidth, op.y + kCardHeight}; break;
            case FrameOp::Portrait: bounds = {op.x, op.y, op.x + kPortraitWidth, op.y + kPortraitHeight}; break;
            case FrameOp::Ticker:
                bounds = {op.x - kTickerMargin, op.y - kTickerMargin, op.x + tickerWidth + kTickerMargin,
                          op.y + kTickerReach};
                break;
        }
        RECT common;
        return IntersectRect(&common, &bounds, &piece) != 0;
    }

    HDC MeasuringDc() {
        if (!scratch.dc) scratch.Resize(1, 1, RGB(0, 0, 0));
        return scratch.dc;
    }

    static void DrawCard(HDC dc, int x, int y) {
        BitBlt(dc, x, y, kCardWidth, kCardHeight, PictureBior.dc, 0, 0, SRCCOPY);
    }
    static void DrawPortrait(HDC dc, int x, int y, int poemNo) {
        Surface* picture = Portrait(poemNo);
        if (!picture) return;
        StretchBlt(dc, x, y, kPortraitWidth, kPortraitHeight, picture->dc, 0, 0, picture->width, picture->height,
                   SRCCOPY);
    }
    void DrawText(HDC dc, int x, int y, const std::wstring& text) {
        HeldFont& held = dc == scratch.dc ? scratchFont : workFont;
        held.Use(dc, fontCache.Get(kMinchoFace, TickerFontSize(), false));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    }
    static int TickerFontSize() { return ScaledFontSize(12, g_showTwipsPerPixel); }

    void Reset() {
        ops.clear();
        shown.clear();
        painting = false;
        measuredText.clear();
        scratchFont.Drop();
        workFont.Drop();
        scratch.Release();
    }
};

GdiCanvas gdiCanvas;
GdiFrame gdiFrame;
// Only the shown card's portrait is kept: a show that runs for hours would
// otherwise end up holding all hundred, and decoding one per card is cheap.
Surface portrait;
int portraitPoem = 0;


bool DecodeJpeg(const void* data, DWORD size, Surface& out) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))))
        return false;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    UINT w = 0, h = 0;
    converter->GetSize(&w, &h);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = static_cast<LONG>(w);
    bi.bmiHeader.biHeight = -static_cast<LONG>(h);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(bits)))) return false;
    out.Adopt(dib.release(), static_cast<int>(w), static_cast<int>(h));
    return true;
}

Surface* LoadPortrait(int poemNo) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_PORTRAIT_BASE + poemNo), RT_RCDATA);
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded) return nullptr;
    portrait.Release();
    portraitPoem = 0;
    if (!DecodeJpeg(LockResource(loaded), SizeofResource(instance, found), portrait)) return nullptr;
    portraitPoem = poemNo;
    return &portrait;
}
}  // namespace

Surface* Portrait(int poemNo) {
    if (poemNo < 1 || poemNo > 100) return nullptr;
    if (portraitPoem == poemNo && portrait.dc) return &portrait;
    return LoadPortrait(poemNo);
}

CardCanvas& GdiCardCanvas() { return gdiCanvas; }
FrameTarget& GdiFrameTarget() { return gdiFrame; }

void PresentInto(Surface* screen) { screenSurface = screen; }

void PrepareFrameSurfaces() {
    gdiFrame.Reset();
    if (g_presentation == Presentation::WholeScreen) {
        scr_work.Resize(DispWidth, DispHeight, RGB(0, 0, 0));
        scr_bkg.Resize(DispWidth, DispHeight, RGB(0, 0, 0));
    } else {
        scr_work.Release();
        scr_bkg.Release();
    }
}

void RepaintShow(HDC dc, const RECT& area) {
    if (g_presentation == Presentation::WholeScreen) {
        if (scr_work.dc)
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, scr_work.dc, area.left,
                   area.top, SRCCOPY);
        return;
    }
    gdiFrame.Compose(dc, area, gdiFrame.shown);
}

void BeginShowOffWindow() {
    PictureBior.Resize(kCardCanvasWidth, kCardCanvasHeight, RGB(255, 255, 255));
    PrepareFrameSurfaces();
    ResetShowState();
    WriteToggle = 0;
    PrepareCard();
}

void ReleaseGdiShow() {
    gdiFrame.Reset();
    gdiCanvas.held.Drop();
    scr_work.Release();
    scr_bkg.Release();
    fontCache.Clear();
    portrait.Release();
    portraitPoem = 0;
}

}  // namespace mirobel
