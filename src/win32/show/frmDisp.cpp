// The full-screen show's window: set-up, timers, and the end of the show on
// the first sign of the user.
#include "core/base/Globals.h"
#include "core/base/Scaling.h"
#include "win32/base/Place.h"
#include "core/base/Platform.h"
#include "win32/base/Gdi.h"
#include "win32/base/Guard.h"
#include "win32/base/Win32Util.h"
#include "win32/base/WindowClass.h"
#include "core/show/Bgm.h"
#include "win32/show/frmDisp.h"
#include "win32/show/GdiShow.h"
#include "win32/show/Show.h"
#include "core/show/ShowRules.h"
#include "core/show/ShowState.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"

namespace mirobel {

HWND frmDisp = nullptr;
HWND picfocus = nullptr;
Surface PictureBior;
Surface scr_work;
Surface scr_bkg;

namespace {
InputPositions last;
HCURSOR transparentCursor = nullptr;
bool pointerIsDefault = false;

// A 32 x 32 pointer whose every pixel is transparent: AND mask all ones,
// XOR mask all zeros.
HCURSOR MakeTransparentCursor(HINSTANCE instance) {
    BYTE andMask[32 * 32 / 8];
    BYTE xorMask[32 * 32 / 8];
    for (BYTE& b : andMask) b = 0xFF;
    for (BYTE& b : xorMask) b = 0x00;
    return CreateCursor(instance, 0, 0, 32, 32, andMask, xorMask);
}

InputPositions ReadPositions() {
    POINT caret{0, 0}, cursor{0, 0};
    // With no caret of our own the reading is simply repeatable.
    GetCaretPos(&caret);
    GetCursorPos(&cursor);
    return {static_cast<int16_t>(caret.x), static_cast<int16_t>(caret.y), static_cast<int16_t>(cursor.x),
            static_cast<int16_t>(cursor.y)};
}

// What the show must give back when a failure ends the process under it.
void GiveBackPointerAndMusic() {
    pointerIsDefault = true;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    BgmControl(1);
}

void Form_Click() {
    if (SaverActive) DisplayTick(kTickUserInput);
}
void picfocus_KeyDown() {
    if (SaverActive) DisplayTick(kTickUserInput);
}
void Timer1_Timer() {
    if (SaverActive) DisplayTick(kTickTimer);
}
void Timer2_Timer() { BgmControl(2); }

LRESULT CALLBACK FrmDispProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            // A box raised inside a tick runs its own message loop; the show
            // must not step again until it is gone.
            if (ModalBoxUp()) return 0;
            if (wp == kTimer1) Timer1_Timer();
            else if (wp == kTimer2) Timer2_Timer();
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (!ModalBoxUp()) Form_Click();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) {
                SetCursor(pointerIsDefault ? LoadCursorW(nullptr, IDC_ARROW) : transparentCursor);
                return TRUE;
            }
            break;
        case WM_PAINT: {
            PaintScope paint(hwnd);
            if (scr_work.dc)
                BitBlt(paint.get(), 0, 0, scr_work.width, scr_work.height, scr_work.dc, 0, 0, SRCCOPY);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // every frame covers the whole window
        case WM_DESTROY:
            KillTimer(hwnd, kTimer1);
            KillTimer(hwnd, kTimer2);
            ReleaseGdiShow();
            PictureBior.Release();
            scr_work.Release();
            scr_bkg.Release();
            frmDisp = nullptr;
            picfocus = nullptr;
            WindowClosed();
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PicfocusProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:  // Alt and F10 count like any other key
            if (!ModalBoxUp()) picfocus_KeyDown();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterClasses() {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    return RegisterWindowClass({window_class::kDisplay, Guarded<FrmDispProc>, black, false}) &&
           RegisterWindowClass({window_class::kFocus, Guarded<PicfocusProc>, nullptr, false});
}
}  // namespace

void StartDisplay() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterClasses()) return;
    // The show is drawn at the display's scaling, read once at start; its
    // rules work in units, whose twips are 15 at every resolution.
    g_showDpi = ReadDisplayScale();
    g_showTwipsPerPixel = static_cast<int>(kUnitTwips);
    transparentCursor = MakeTransparentCursor(instance);

    // Created hidden, screen-sized, parked just outside the bottom-right corner;
    // it is moved over the screen only once it has been shown and has the focus.
    frmDisp = CreateWindowExW(0, window_class::kDisplay, L"SAVER Screen", WS_POPUP | WS_CLIPCHILDREN, DispWidth,
                              DispHeight, DispWidth, DispHeight, nullptr, nullptr, instance, nullptr);
    if (!frmDisp) return;
    WindowOpened();
    g_beforeFailureExit = GiveBackPointerAndMusic;
    picfocus = CreateWindowExW(0, window_class::kFocus, L"", WS_CHILD | WS_VISIBLE, 0, 0, 30, 30, frmDisp, nullptr,
                               instance, nullptr);
    SetTimer(frmDisp, kTimer1, kTimer1StartInterval, nullptr);
    SetTimer(frmDisp, kTimer2, kTimer2Interval, nullptr);

    PlaceControl(picfocus, 30, 30, -50, 0);
    SizeCardCanvas();
    ShowWindow(frmDisp, SW_SHOW);
    SetFocus(picfocus);
    ShowWindow(frmDisp, SW_SHOWNORMAL);
    SetWindowPos(frmDisp, nullptr, DispLeft, DispTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    scr_work.Resize(DispWidth, DispHeight, RGB(0, 0, 0));
    scr_bkg.Resize(DispWidth, DispHeight, RGB(0, 0, 0));
    pointerIsDefault = false;
    SetCursor(transparentCursor);
    last = ReadPositions();
    InitShow();
    ShowWindow(frmDisp, SW_SHOW);
    SetWindowPos(frmDisp, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void InitShow() {
    ResetShowState();
    SetTimer(frmDisp, kTimer1, Timer1IntervalFor(Speed), nullptr);
    FillPoemTables();
    NormaliseRange();
    BgmControl(0);
    PrepareCard();
    PaintFrame();
}

void DisplayTick(int16_t reason) {
    PaintFrame();
    InputPositions now = ReadPositions();
    if (ShowEnds(reason, now, last)) {
        pointerIsDefault = true;
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        BgmControl(1);
        if (frmDisp) DestroyWindow(frmDisp);
    }
    last = now;
}

}  // namespace mirobel
