// The show windows' procedures: frmDisp on the primary monitor, which leads,
// and a show or a black window on each other monitor. Each event goes to the
// window's show (Show.h).
#include "win32/show/frmDisp.h"

#include <memory>

#include "core/base/Globals.h"
#include "core/base/Platform.h"
#include "core/base/Scaling.h"
#include "core/show/Bgm.h"
#include "core/show/ShowRules.h"
#include "win32/base/Gdi.h"
#include "win32/base/Guard.h"
#include "win32/base/Win32Util.h"
#include "win32/base/WindowClass.h"

namespace mirobel {

HWND frmDisp = nullptr;
HWND picfocus = nullptr;

namespace {
// What the show must give back when a failure ends the process under it.
void GiveBackPointerAndMusic() {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (DisplayShow* show = RunningShow()) show->GiveBack();
}

void Form_Click(DisplayShow& show) { if (SaverActive) show.DisplayTick(kTickUserInput); }
void picfocus_KeyDown(DisplayShow& show) { if (SaverActive) show.DisplayTick(kTickUserInput); }
void Timer1_Timer(DisplayShow& show) { if (SaverActive) show.DisplayTick(kTickTimer); }
void Timer2_Timer(DisplayShow& show) { BgmControl(2, show.SettingsRecord()); }

// What every window of the show answers alike: the focus back to picfocus,
// a click or a key ends the show, the pointer stays hidden. True when the
// message was handled; result is the answer.
bool ShowSurfaceMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_ACTIVATE:
        case WM_SETFOCUS:
            // Activated again (after a box, or after another program's window
            // took the foreground and gave it back): left to itself the
            // system puts the focus on the window, where no key reaches
            // picfocus_KeyDown.
            if (DisplayShow* lead = LeadOf(window);
                lead && lead->focus && (msg == WM_SETFOCUS || LOWORD(wp) != WA_INACTIVE))
                SetFocus(lead->focus);
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (DisplayShow* lead = LeadOf(window); lead && !ModalBoxUp()) Form_Click(*lead);
            return true;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (DisplayShow* lead = LeadOf(window); lead && !ModalBoxUp()) picfocus_KeyDown(*lead);
            return true;
        case WM_SETCURSOR: {
            if (LOWORD(lp) != HTCLIENT) return false;
            // A show window shows its own pointer; a black window the lead's.
            DisplayShow* show = ShowOf(window);
            if (!show) show = LeadOf(window);
            SetCursor(show ? show->pointer.Current() : LoadCursorW(nullptr, IDC_ARROW));
            result = TRUE;
            return true;
        }
        case WM_MOUSEACTIVATE:
            // The lead keeps the activation and picfocus the keys.
            if (DisplayShow* show = ShowOf(window); show && !show->lead) return false;
            result = MA_NOACTIVATE;
            return true;
    }
    return false;
}

LRESULT CALLBACK FrmDispProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; ShowSurfaceMessage(hwnd, msg, wp, lp, result)) return result;
    DisplayShow* show = ShowOf(hwnd);
    switch (msg) {
        case WM_TIMER:
            // A box raised inside a tick runs its own message loop; the show
            // must not step again until it is gone.
            if (ModalBoxUp() || !show) return 0;
            if (wp == kTimer1) Timer1_Timer(*show);
            else if (wp == kTimer2) Timer2_Timer(*show);
            else if (wp == kMonitorTimer) show->DropGoneMonitors();
            return 0;
        case WM_DISPLAYCHANGE:
            if (show && !show->lead) show->DropGoneMonitors();
            return 0;
        case WM_PAINT: {
            PaintScope paint(hwnd);
            if (show) show->surfaces.Repaint(paint.get(), paint.area());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // every frame covers the whole window
        case WM_DESTROY:
            // The show goes with its window, and with it its card canvas,
            // fonts, portrait and last frame.
            if (std::unique_ptr<DisplayShow> gone = DetachShow(hwnd)) gone->Closing();
            if (hwnd == frmDisp) {
                frmDisp = nullptr;
                picfocus = nullptr;
                WindowClosed();
            }
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PicfocusProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:  // Alt and F10 count like any other key
            if (DisplayShow* lead = LeadOf(GetParent(hwnd)); lead && !ModalBoxUp()) picfocus_KeyDown(*lead);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// A black window over a monitor other than the primary one: input over it
// ends the show as it does over the show itself.
LRESULT CALLBACK CoverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; ShowSurfaceMessage(hwnd, msg, wp, lp, result)) return result;
    if (msg == WM_DESTROY) {
        if (DisplayShow* lead = LeadOf(hwnd)) std::erase(lead->covers, hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterClasses() {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // Frames are presented through GetDC many times a second; a device
    // context of its own is not set up afresh for each (under Wine each set-up
    // costs the X11 driver a look-up of the X resources).
    return RegisterWindowClass({window_class::kDisplay, Guarded<FrmDispProc>, black, false, 0, CS_OWNDC}) &&
           RegisterWindowClass({window_class::kFocus, Guarded<PicfocusProc>, nullptr, false}) &&
           RegisterWindowClass({window_class::kCover, Guarded<CoverProc>, black, false});
}
}  // namespace

DisplayShow* RunningShow() { return ShowOf(frmDisp); }

void StartDisplay(const Settings& settings, int dpi) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterClasses()) return;

    // Created hidden, screen-sized, parked just outside the bottom-right corner;
    // it is moved over the screen only once it has been shown and has the focus.
    frmDisp = CreateWindowExW(0, window_class::kDisplay, L"SAVER Screen", WS_POPUP | WS_CLIPCHILDREN, DispWidth,
                              DispHeight, DispWidth, DispHeight, nullptr, nullptr, instance, nullptr);
    if (!frmDisp) return;
    WindowOpened();
    g_beforeFailureExit = GiveBackPointerAndMusic;
    picfocus = CreateWindowExW(0, window_class::kFocus, L"", WS_CHILD | WS_VISIBLE, 0, 0, 30, 30, frmDisp, nullptr,
                               instance, nullptr);
    // Timer2 waits for the music: with none playing its upkeep has nothing
    // to do, and a 10 ms tick keeps the processor awake for hours.
    SetTimer(frmDisp, kTimer1, kTimer1StartInterval, nullptr);

    SetWindowPos(picfocus, nullptr, Magnify(-50, dpi), 0, Magnify(30, dpi), Magnify(30, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The show is drawn at the display's scaling; with it the show's card
    // canvas gets its size.
    const MonitorArea screen{DispLeft, DispTop, DispLeft + DispWidth, DispTop + DispHeight, true};
    auto made = std::make_unique<DisplayShow>(settings, dpi, screen, Presentation::ChangedRects,
                                              FrameDestination{.window = frmDisp});
    made->focus = picfocus;
    DisplayShow& show = *made;
    AttachShow(frmDisp, std::move(made));
    ShowWindow(frmDisp, SW_SHOW);
    SetFocus(picfocus);
    ShowWindow(frmDisp, SW_SHOWNORMAL);
    SetWindowPos(frmDisp, nullptr, DispLeft, DispTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    show.pointer.Hide();
    RecordPositions(show.State(), ReadPositions());
    show.InitShow();
    ShowWindow(frmDisp, SW_SHOW);
    SetWindowPos(frmDisp, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    show.OpenOtherMonitors();
}

}  // namespace mirobel
