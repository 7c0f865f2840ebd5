// The show's drawing seams on GDI: the card canvas, the frame surfaces, the
// portraits decoded from JPEG resources, and the clock-seeded generator.
#include "win32/show/GdiShow.h"

#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>

#include "core/base/Globals.h"
#include "win32/base/Fonts.h"
#include "win32/base/Resources.h"
#include "core/base/Scaling.h"
#include "win32/show/frmDisp.h"
#include "core/show/ShowState.h"

namespace mirobel {

namespace {
COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

HFONT MakeFont(const std::wstring& face, int points, bool bold) {
    LOGFONTW lf{};
    // Made at the show's resolution, so that text keeps its place on the
    // magnified card.
    lf.lfHeight = -FontPixelHeight(points, g_showDpi);
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

struct GdiCanvas : CardCanvas {
    std::wstring face;
    int size = 10;
    bool bold = false;

    void FillRect(const Rect& r, Rgb colour) override {
        HBRUSH brush = CreateSolidBrush(Ref(colour));
        RECT rc{r.left, r.top, r.right, r.bottom};
        ::FillRect(PictureBior.dc, &rc, brush);
        DeleteObject(brush);
    }
    void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) override {
        // An inside-frame pen keeps a wide line within the rectangle, where
        // a one-pixel line is anyway.
        HPEN pen = CreatePen(lineWidth > 1 ? PS_INSIDEFRAME : PS_SOLID, lineWidth, Ref(outline));
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
        HGDIOBJ old = SelectObject(PictureBior.dc, fontCache.Get(face, size, bold));
        SetBkMode(PictureBior.dc, TRANSPARENT);
        SetTextColor(PictureBior.dc, RGB(0, 0, 0));
        TextOutW(PictureBior.dc, x, y, text.c_str(), static_cast<int>(text.size()));
        SelectObject(PictureBior.dc, old);
    }
};

Surface* screenSurface = nullptr;

struct GdiFrame : FrameTarget {
    void Clear(const Rect& r) override {
        BitBlt(scr_work.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, scr_bkg.dc, r.left, r.top, SRCCOPY);
    }
    void CopyCard(const Rect& r) override {
        BitBlt(scr_work.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PictureBior.dc, 0, 0, SRCCOPY);
        lastCard = r;
    }
    void StretchPortrait(const Rect& r, int poemNo) override {
        Surface* picture = SizedPortrait(poemNo, r.right - r.left, r.bottom - r.top);
        if (!picture) return;
        BitBlt(scr_work.dc, r.left, r.top, picture->width, picture->height, picture->dc, 0, 0, SRCCOPY);
    }
    // The portrait at the box's size, made once per card: the pictures are
    // larger than the box below 200 %, and averaging them down keeps their
    // fine lines, which costs too much to do on every frame.
    Surface* SizedPortrait(int poemNo, int width, int height) {
        if (sizedPoem == poemNo && sized.width == width && sized.height == height) return &sized;
        Surface* picture = Portrait(poemNo);
        if (!picture) return nullptr;
        sized.Resize(width, height, RGB(255, 255, 255));
        SetStretchBltMode(sized.dc, HALFTONE);
        SetBrushOrgEx(sized.dc, 0, 0, nullptr);
        StretchBlt(sized.dc, 0, 0, width, height, picture->dc, 0, 0, picture->width, picture->height, SRCCOPY);
        sizedPoem = poemNo;
        return &sized;
    }
    Surface sized;
    int sizedPoem = 0;
    // Over the black background the rendering is copied from a strip drawn
    // once per card: drawing the whole line of text again on every frame
    // costs more than anything else in a frame, the more so at a large
    // scale. Where the card lies under it, the text is drawn over the card.
    void DrawTicker(int x, int y, const std::wstring& text) override {
        const Surface& strip = TickerStrip(text);
        const RECT place{x, y, x + strip.width, y + strip.height};
        const bool overCard = place.left < lastCard.right && lastCard.left < place.right &&
                              place.top < lastCard.bottom && lastCard.top < place.bottom;
        if (!overCard) {
            BitBlt(scr_work.dc, x, y, strip.width, strip.height, strip.dc, 0, 0, SRCCOPY);
            return;
        }
        HGDIOBJ old = SelectObject(scr_work.dc, fontCache.Get(kMinchoFace, TickerFontSize(), false));
        SetBkMode(scr_work.dc, TRANSPARENT);
        SetTextColor(scr_work.dc, RGB(255, 255, 255));
        TextOutW(scr_work.dc, x, y, text.c_str(), static_cast<int>(text.size()));
        SelectObject(scr_work.dc, old);
    }
    const Surface& TickerStrip(const std::wstring& text) {
        const int size = TickerFontSize();
        if (stripText == text && stripSize == size && stripDpi == g_showDpi && tickerStrip.dc) return tickerStrip;
        HFONT font = fontCache.Get(kMinchoFace, size, false);
        HGDIOBJ old = SelectObject(scr_work.dc, font);
        SIZE extent{};
        GetTextExtentPoint32W(scr_work.dc, text.c_str(), static_cast<int>(text.size()), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(scr_work.dc, &metrics);
        SelectObject(scr_work.dc, old);
        // Room for glyphs that reach beyond their advance or cell.
        const int slack = metrics.tmMaxCharWidth / 2 + 2;
        tickerStrip.Resize(extent.cx + slack, std::max<int>(extent.cy, metrics.tmHeight) + slack, RGB(0, 0, 0));
        old = SelectObject(tickerStrip.dc, font);
        SetBkMode(tickerStrip.dc, TRANSPARENT);
        SetTextColor(tickerStrip.dc, RGB(255, 255, 255));
        TextOutW(tickerStrip.dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
        SelectObject(tickerStrip.dc, old);
        stripText = text, stripSize = size, stripDpi = g_showDpi;
        return tickerStrip;
    }
    Surface tickerStrip;
    std::wstring stripText;
    int stripSize = 0, stripDpi = 0;
    Rect lastCard{0, 0, 0, 0};
    int TickerWidth(const std::wstring& text) override {
        HGDIOBJ old = SelectObject(scr_work.dc, fontCache.Get(kMinchoFace, TickerFontSize(), false));
        SIZE extent{};
        GetTextExtentPoint32W(scr_work.dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(scr_work.dc, old);
        return extent.cx;
    }
    void Present(const Rect& r) override {
        if (screenSurface) {
            BitBlt(screenSurface->dc, r.left, r.top, r.right - r.left, r.bottom - r.top, scr_work.dc, r.left, r.top,
                   SRCCOPY);
            return;
        }
        if (!frmDisp) return;
        HDC window = GetDC(frmDisp);
        BitBlt(window, r.left, r.top, r.right - r.left, r.bottom - r.top, scr_work.dc, r.left, r.top, SRCCOPY);
        ReleaseDC(frmDisp, window);
    }
    static int TickerFontSize() { return ScaledFontSize(12, g_showTwipsPerPixel); }
};

GdiCanvas gdiCanvas;
GdiFrame gdiFrame;
Surface portraits[101];


bool DecodeJpeg(const void* data, DWORD size, Surface& out) {
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return false;
    bool ok = false;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    if (SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), size)) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
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
        HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dib && SUCCEEDED(converter->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(bits)))) {
            out.Adopt(dib, static_cast<int>(w), static_cast<int>(h));
            ok = true;
        } else if (dib) {
            DeleteObject(dib);
        }
    }
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    if (stream) stream->Release();
    factory->Release();
    return ok;
}

Surface* LoadPortrait(int poemNo) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_PORTRAIT_BASE + poemNo), RT_RCDATA);
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded) return nullptr;
    if (!DecodeJpeg(LockResource(loaded), SizeofResource(instance, found), portraits[poemNo])) return nullptr;
    return &portraits[poemNo];
}
}  // namespace

Surface* Portrait(int poemNo) {
    if (poemNo < 1 || poemNo > 100) return nullptr;
    if (portraits[poemNo].dc) return &portraits[poemNo];
    return LoadPortrait(poemNo);
}

CardCanvas& GdiCardCanvas() { return gdiCanvas; }
FrameTarget& GdiFrameTarget() { return gdiFrame; }

void PresentInto(Surface* screen) { screenSurface = screen; }

void SizeCardCanvas() {
    // Room for the card and what its texts may reach beyond it.
    PictureBior.Resize(Magnify(kCardCanvasWidth, g_showDpi), Magnify(kCardCanvasHeight, g_showDpi),
                       RGB(255, 255, 255));
}

void BeginShowOffWindow() {
    SizeCardCanvas();
    scr_work.Resize(DispWidth, DispHeight, RGB(0, 0, 0));
    scr_bkg.Resize(DispWidth, DispHeight, RGB(0, 0, 0));
    ResetShowState();
    WriteToggle = 0;
    PrepareCard();
}

void ReleaseGdiShow() {
    fontCache.Clear();
    gdiFrame.sized.Release();
    gdiFrame.sizedPoem = 0;
    gdiFrame.tickerStrip.Release();
    gdiFrame.stripText.clear();
    for (Surface& s : portraits) s.Release();
}

}  // namespace mirobel
