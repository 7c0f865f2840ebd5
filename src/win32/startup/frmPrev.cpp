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

namespace mirobel {

HWND frmPrev = nullptr;
HWND prev = nullptr;

namespace {
HWND hostWindow = nullptr;
// The preview's size in twips, in 32 bits: the 16-bit DispWidth and
// DispHeight cannot hold hosts of 2185 pixels or more at 15 twips a pixel.
int32_t widthTwips = 0, heightTwips = 0;
Bitmap picture;
UINT_PTR watchTimer = 0;

// How often the host is looked at. When the host's process dies, its windows
// (ours among them) can vanish without any message reaching us, so waiting
// for WM_DESTROY alone could leave the process running forever.
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

void Forget() {
    if (watchTimer) KillTimer(nullptr, watchTimer);
    watchTimer = 0;
    picture.reset();
    frmPrev = nullptr;
    prev = nullptr;
    hostWindow = nullptr;
}

void CALLBACK WatchHost(HWND, UINT, UINT_PTR, DWORD) {
    if (IsWindow(hostWindow) && frmPrev && IsWindow(frmPrev)) return;
    if (frmPrev && IsWindow(frmPrev)) {
        DestroyWindow(frmPrev);  // its WM_DESTROY ends the process
        return;
    }
    // Destroyed behind our back together with the host's process.
    Forget();
    WindowClosed();
}

LRESULT CALLBACK FrmPrevProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        Forget();
        WindowClosed();
        return 0;
    }
    // No input handling of its own: mouse and keys over the preview change nothing.
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PrevProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PaintScope paint(hwnd);
            HDC dc = paint.get();
            RECT client;
            GetClientRect(hwnd, &client);
            BITMAP bm{};
            if (picture && GetObjectW(picture.get(), sizeof bm, &bm)) {
                MemoryDc source(dc);
                Selection selected(source.get(), picture.get());
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

// frmPrev with its picture control, both hidden.
void CreatePreviewWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterClasses()) return;
    frmPrev = CreateWindowExW(0, window_class::kPreview, L"preview window", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
    if (!frmPrev) return;
    WindowOpened();
    prev = CreateWindowExW(0, window_class::kPreviewPicture, L"", WS_CHILD, 0, 0, 0, 0, frmPrev, nullptr, instance, nullptr);
    picture.reset(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_PREVIEW), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
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
    DispLeft = 0;
    DispTop = 0;
    widthTwips = PixelsToTwips(r.right - r.left, ScreenTwipsPerPixelX());
    heightTwips = PixelsToTwips(r.bottom - r.top, ScreenTwipsPerPixelY());
    // The 16-bit globals keep what fits; the preview itself is sized from the
    // 32-bit values, so a large host is still filled.
    DispWidth = Saturated16(widthTwips);
    DispHeight = Saturated16(heightTwips);

    CreatePreviewWindow();
    if (!frmPrev) return;
    SetWindowLongW(frmPrev, GWL_STYLE, GetWindowLongW(frmPrev, GWL_STYLE) | WS_CHILD);
    SetParent(frmPrev, host);
    // GetParent reports the owner of a window that also has WS_POPUP, so the
    // host is kept here for the watch.
    hostWindow = host;
    ShowPreview();
    watchTimer = SetTimer(nullptr, 0, kWatchInterval, GuardedTimer<WatchHost>);
}

void ShowPreview() {
    if (!frmPrev) return;
    int width = TwipsToPixels(widthTwips, ScreenTwipsPerPixelX());
    int height = TwipsToPixels(heightTwips, ScreenTwipsPerPixelY());
    SetWindowPos(frmPrev, nullptr, DispLeft, DispTop, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The host's size is in device pixels already: the picture fills it as
    // it is, not magnified like a layout in units.
    SetWindowPos(prev, nullptr, 0, 0, Saturated16(width), Saturated16(height), SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(prev, SW_SHOW);
    ShowWindow(frmPrev, SW_SHOW);
}

}  // namespace mirobel
