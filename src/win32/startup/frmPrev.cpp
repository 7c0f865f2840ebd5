#include "win32/startup/frmPrev.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/base/Globals.h"
#include "win32/base/Place.h"
#include "win32/base/Gdi.h"
#include "win32/base/Guard.h"
#include "win32/base/Resources.h"
#include "win32/base/WindowClass.h"
#include "win32/companions/Forms.h"

namespace mirobel {

HWND frmPrev = nullptr;
HWND prev = nullptr;

namespace {
struct PrevForm {
    FormResources res;
    // GetParent reports the owner of a window that also has WS_POPUP, so the
    // host is kept here for the watch.
    HWND host = nullptr;
    // The preview's size in twips, in 32 bits: the 16-bit DispWidth and
    // DispHeight cannot hold hosts of 2185 pixels or more at 15 twips a pixel.
    int32_t widthTwips = 0, heightTwips = 0;
    Bitmap picture;
    UINT_PTR watchTimer = 0;
};

// How often the host is looked at. When the host's process dies, its windows
// (ours among them) can vanish without any message reaching us, so waiting
// for WM_DESTROY alone could leave the process running forever. The watch is
// therefore a timer of the thread, not of frmPrev: it must still fire once
// frmPrev has gone.
constexpr UINT kWatchInterval = 100;

int16_t Saturated16(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                     std::numeric_limits<int16_t>::max()));
}

// Twips per pixel are exact (1440 / dpi, 8.57... at 168 dpi); both ways are
// rounded, which brings a pixel count back unchanged as a twip is smaller
// than a pixel.
int32_t PixelsToTwips(int pixels, double twipsPerPixel) {
    return static_cast<int32_t>(std::lround(pixels * twipsPerPixel));
}
int TwipsToPixels(int32_t twips, double twipsPerPixel) { return static_cast<int>(std::lround(twips / twipsPerPixel)); }

void CALLBACK WatchHost(HWND, UINT, UINT_PTR timer, DWORD) {
    if (frmPrev && IsWindow(frmPrev)) {
        const PrevForm* f = FormOf<PrevForm>(frmPrev);
        if (f && IsWindow(f->host)) return;
        DestroyWindow(frmPrev);  // its WM_DESTROY ends the process
        return;
    }
    // Destroyed behind our back together with the host's process: no message
    // freed the form, and nothing is left to free it but the end of the
    // process, which this brings.
    KillTimer(nullptr, timer);
    frmPrev = nullptr;
    prev = nullptr;
    WindowClosed();
}

LRESULT CALLBACK FrmPrevProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        if (PrevForm* f = FormOf<PrevForm>(hwnd); f && f->watchTimer) {
            KillTimer(nullptr, f->watchTimer);
            f->watchTimer = 0;
        }
        prev = nullptr;
    }
    // No input handling of its own: mouse and keys over the preview change
    // nothing, and it has no control to keep the focus on.
    if (LRESULT result; FormMessage<PrevForm>(hwnd, msg, wp, lp, frmPrev, nullptr, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PrevProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PaintScope paint(hwnd);
            HDC dc = paint.get();
            RECT client;
            GetClientRect(hwnd, &client);
            const PrevForm* f = FormOf<PrevForm>(GetParent(hwnd));
            BITMAP bm{};
            if (f && f->picture && GetObjectW(f->picture.get(), sizeof bm, &bm)) {
                MemoryDc source(dc);
                Selection selected(source.get(), f->picture.get());
                // Width and height are scaled independently, so the whole
                // card shows in a host of any proportions.
                SetStretchBltMode(dc, HALFTONE);
                SetBrushOrgEx(dc, 0, 0, nullptr);
                StretchBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, bm.bmWidth, bm.bmHeight,
                           SRCCOPY);
            } else {
                FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole control
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterClasses() {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    return RegisterWindowClass({window_class::kPreview, Guarded<FrmPrevProc>, black}) &&
           RegisterWindowClass({window_class::kPreviewPicture, Guarded<PrevProc>});
}

// frmPrev with its picture control, both hidden; null when the window could
// not be made.
PrevForm* CreatePreviewWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterClasses()) return nullptr;
    frmPrev = CreateWindowExW(0, window_class::kPreview, L"preview window", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
    if (!frmPrev) return nullptr;
    // Laid out in device pixels (the host's), so the scale is never read.
    PrevForm& f = MakeForm<PrevForm>(frmPrev, 96);
    prev = CreateWindowExW(0, window_class::kPreviewPicture, L"", WS_CHILD, 0, 0, 0, 0, frmPrev, nullptr, instance, nullptr);
    f.picture.reset(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_PREVIEW), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return &f;
}
}  // namespace

void StartPreview(int32_t hostHandle) {
    // Handles are 32-bit values, sign-extended into a 64-bit process.
    HWND host = reinterpret_cast<HWND>(static_cast<intptr_t>(hostHandle));
    // With no host there is nothing to show in and nothing whose end would
    // ever end the process.
    if (!IsWindow(host)) return;

    RECT r{};
    GetWindowRect(host, &r);
    int32_t widthTwips = PixelsToTwips(r.right - r.left, ScreenTwipsPerPixelX());
    int32_t heightTwips = PixelsToTwips(r.bottom - r.top, ScreenTwipsPerPixelY());
    DispLeft = 0;
    DispTop = 0;
    // The 16-bit globals keep what fits; the preview itself is sized from the
    // 32-bit values, so a large host is still filled.
    DispWidth = Saturated16(widthTwips);
    DispHeight = Saturated16(heightTwips);

    PrevForm* f = CreatePreviewWindow();
    if (!f) return;
    f->host = host;
    f->widthTwips = widthTwips;
    f->heightTwips = heightTwips;
    SetWindowLongW(frmPrev, GWL_STYLE, GetWindowLongW(frmPrev, GWL_STYLE) | WS_CHILD);
    SetParent(frmPrev, host);
    ShowPreview();
    f->watchTimer = SetTimer(nullptr, 0, kWatchInterval, GuardedTimer<WatchHost>);
}

void ShowPreview() {
    const PrevForm* f = frmPrev ? FormOf<PrevForm>(frmPrev) : nullptr;
    if (!f) return;
    int width = TwipsToPixels(f->widthTwips, ScreenTwipsPerPixelX());
    int height = TwipsToPixels(f->heightTwips, ScreenTwipsPerPixelY());
    SetWindowPos(frmPrev, nullptr, DispLeft, DispTop, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The host's size is in device pixels already: the picture fills it as
    // it is, not magnified like a layout in units.
    SetWindowPos(prev, nullptr, 0, 0, Saturated16(width), Saturated16(height), SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(prev, SW_SHOW);
    ShowWindow(frmPrev, SW_SHOW);
}

}  // namespace mirobel
