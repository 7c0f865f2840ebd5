// The show windows: frmDisp on the primary monitor, which leads (its timers
// pace every show, its picfocus takes the keys), and with every monitor
// chosen one more on each other monitor. Set-up, ticks, and the end of every
// show at once on the first sign of the user.
#include <memory>
#include <vector>

#include "core/base/Globals.h"
#include "core/base/Scaling.h"
// <windows.h> before the seams: its DrawText macro renames the canvas method alike.
#include "win32/base/Gdi.h"
#include "core/base/Platform.h"
#include "win32/base/Guard.h"
#include "win32/base/Win32Util.h"
#include "win32/base/WindowClass.h"
#include "core/show/Bgm.h"
#include "core/show/Monitors.h"
#include "win32/show/frmDisp.h"
#include "win32/show/Screens.h"
#include "win32/show/Show.h"
#include "core/show/ShowRules.h"
#include "core/show/ShowState.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "core/show/Card.h"
#include "core/show/FramePainter.h"
#include "core/show/Magnifier.h"

namespace mirobel {

HWND frmDisp = nullptr;
HWND picfocus = nullptr;

namespace {
// The show belongs to its window: attached as the window opens, freed as it
// closes.
void AttachShow(HWND window, std::unique_ptr<DisplayShow> show) {
    show->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(show.release()));
}
std::unique_ptr<DisplayShow> DetachShow(HWND window) {
    std::unique_ptr<DisplayShow> show(ShowOf(window));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return show;
}

ShowState FreshShow(int dpi, int widthPixels, int heightPixels, Presentation presentation) {
    ShowState show;
    show.showDpi = dpi;
    show.presentation = presentation;
    SetShowScreen(show, widthPixels, heightPixels);
    return show;
}

// The show that paces this one and holds the others: itself, or frmDisp's.
DisplayShow* LeadOf(DisplayShow& show) { return show.lead ? ShowOf(show.lead) : &show; }

// Every show's window gives the default pointer back.
void GiveBackPointers(DisplayShow& lead) {
    for (HWND window : lead.monitorShows)
        if (DisplayShow* other = ShowOf(window)) other->pointer.GiveBack();
    lead.pointer.GiveBack();
}

// What the show must give back when a failure ends the process under it.
void GiveBackPointerAndMusic() {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (DisplayShow* show = RunningShow()) {
        GiveBackPointers(*show);
        BgmControl(1, show->settings);
    }
}

void Form_Click(DisplayShow& show) {
    if (SaverActive) DisplayTick(show, kTickUserInput);
}
void picfocus_KeyDown(DisplayShow& show) {
    if (SaverActive) DisplayTick(show, kTickUserInput);
}
void Timer1_Timer(DisplayShow& show) {
    if (SaverActive) DisplayTick(show, kTickTimer);
}
void Timer2_Timer(DisplayShow& show) { BgmControl(2, show.settings); }

LRESULT CALLBACK FrmDispProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; ShowSurfaceMessage(hwnd, msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_TIMER: {
            // A box raised inside a tick runs its own message loop; the show
            // must not step again until it is gone.
            DisplayShow* show = ShowOf(hwnd);
            if (ModalBoxUp() || !show) return 0;
            if (wp == kTimer1) Timer1_Timer(*show);
            else if (wp == kTimer2) Timer2_Timer(*show);
            else if (wp == kMonitorTimer) DropGoneMonitors(*show);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (DisplayShow* show = ShowOf(hwnd); show && !ModalBoxUp()) picfocus_KeyDown(*show);
            return 0;
        case WM_DISPLAYCHANGE:
            if (DisplayShow* show = ShowOf(hwnd); show && hwnd == frmDisp) DropGoneMonitors(*show);
            return 0;
        case WM_PAINT: {
            PaintScope paint(hwnd);
            if (DisplayShow* show = ShowOf(hwnd)) show->surfaces.Repaint(paint.get(), paint.area());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // every frame covers the whole window
        case WM_DESTROY: {
            std::unique_ptr<DisplayShow> show = DetachShow(hwnd);  // and with it its card canvas, fonts, portrait and last frame
            if (hwnd != frmDisp) {
                // Another monitor's show: the lead no longer paces it. It
                // was never counted as a window of the process.
                if (DisplayShow* lead = show ? ShowOf(show->lead) : nullptr) std::erase(lead->monitorShows, hwnd);
                return 0;
            }
            KillTimer(hwnd, kTimer1);
            KillTimer(hwnd, kTimer2);
            KillTimer(hwnd, kMonitorTimer);
            // The other windows go with the lead; they are not counted as
            // windows of the process, so its closing still ends it.
            if (show) {
                for (HWND other : std::vector<HWND>(show->monitorShows)) DestroyWindow(other);
                for (HWND cover : std::vector<HWND>(show->covers)) DestroyWindow(cover);
            }
            frmDisp = nullptr;
            picfocus = nullptr;
            WindowClosed();
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PicfocusProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:  // Alt and F10 count like any other key
            if (DisplayShow* show = RunningShow(); show && !ModalBoxUp()) picfocus_KeyDown(*show);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
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
           RegisterCoverClass();
}

// The first card and frame of a show; the lead's InitShow does this after
// the pace and the music, another monitor's show only this.
void FirstCard(DisplayShow& show) {
    FillPoemTables();
    NormaliseRange(show.settings);
    const ShowSeams seams = show.Seams();
    PrepareCard(show.state, show.settings, seams.canvas, seams.random);
    PaintFrame(show.state, show.settings, seams);
}

void StepOtherMonitors(DisplayShow& lead) {
    for (HWND window : lead.monitorShows)
        if (DisplayShow* show = ShowOf(window)) PaintFrame(show->state, show->settings, show->Seams());
}
}  // namespace

bool ShowSurfaceMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_ACTIVATE:
        case WM_SETFOCUS:
            // Activated again (after a box, or after another program's window
            // took the foreground and gave it back): left to itself the
            // system puts the focus on the window, where no key reaches
            // picfocus_KeyDown.
            if (picfocus && (msg == WM_SETFOCUS || LOWORD(wp) != WA_INACTIVE)) SetFocus(picfocus);
            result = 0;
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (DisplayShow* show = RunningShow(); show && !ModalBoxUp()) Form_Click(*show);
            result = 0;
            return true;
        case WM_SETCURSOR: {
            if (LOWORD(lp) != HTCLIENT) return false;
            // A show window shows its own pointer; a black window the lead's.
            DisplayShow* show = ShowOf(window);
            if (!show) show = RunningShow();
            SetCursor(show ? show->pointer.Current() : LoadCursorW(nullptr, IDC_ARROW));
            result = TRUE;
            return true;
        }
        case WM_MOUSEACTIVATE:
            // The lead keeps the activation and picfocus the keys.
            if (window == frmDisp) return false;
            result = MA_NOACTIVATE;
            return true;
    }
    return false;
}

DisplayShow::DisplayShow(const Settings& chosen, int dpi, int widthPixels, int heightPixels,
                         Presentation presentation, FrameDestination to)
    : settings(chosen),
      state(FreshShow(dpi, widthPixels, heightPixels, presentation)),
      surfaces(to, dpi, ScaledFontSize(12, state.showTwipsPerPixel)) {}

DisplayShow* ShowOf(HWND window) {
    if (!window) return nullptr;
    wchar_t cls[32] = {};
    // Black windows keep nothing in their user data; only show windows hold a show.
    if (!GetClassNameW(window, cls, 32) || lstrcmpW(cls, window_class::kDisplay) != 0) return nullptr;
    return reinterpret_cast<DisplayShow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

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
    auto made = std::make_unique<DisplayShow>(settings, dpi, DispWidth, DispHeight, Presentation::ChangedRects,
                                              FrameDestination{.window = frmDisp});
    made->focus = picfocus;
    made->monitor = {DispLeft, DispTop, DispLeft + DispWidth, DispTop + DispHeight, true};
    DisplayShow& show = *made;
    AttachShow(frmDisp, std::move(made));
    ShowWindow(frmDisp, SW_SHOW);
    SetFocus(picfocus);
    ShowWindow(frmDisp, SW_SHOWNORMAL);
    SetWindowPos(frmDisp, nullptr, DispLeft, DispTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    show.pointer.Hide();
    RecordPositions(show.state, ReadPositions());
    InitShow(show);
    ShowWindow(frmDisp, SW_SHOW);
    SetWindowPos(frmDisp, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (settings.Screens == kEveryMonitor) OpenMonitorShows(show, ListMonitors());
    else CoverOtherMonitors(show);
    if (!show.monitorShows.empty() || !show.covers.empty())
        SetTimer(frmDisp, kMonitorTimer, kMonitorCheckInterval, nullptr);
}

HWND OpenMonitorShow(DisplayShow& lead, const MonitorArea& area, int k) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, window_class::kDisplay, kMonitorShowCaption,
                                  WS_POPUP, area.left, area.top, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    auto made = std::make_unique<DisplayShow>(lead.settings, lead.state.showDpi, width, height,
                                              Presentation::ChangedRects, FrameDestination{.window = window});
    made->monitor = area;
    made->lead = lead.window;
    made->state.sequenceOffset = k;
    DisplayShow& show = *made;
    AttachShow(window, std::move(made));
    lead.monitorShows.push_back(window);
    SetWindowPos(window, lead.window, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    show.pointer.Hide();
    FirstCard(show);
    return window;
}

void SyncMusicTimer(DisplayShow& show) {
    if (!frmDisp) return;
    if (BgmPlaying && !show.timer2Running) {
        show.timer2Running = SetTimer(frmDisp, kTimer2, kTimer2Interval, nullptr) != 0;
    } else if (!BgmPlaying && show.timer2Running) {
        KillTimer(frmDisp, kTimer2);
        show.timer2Running = false;
    }
}

void InitShow(DisplayShow& show) {
    // The show's state holds its start values: it was made with the window.
    SetTimer(frmDisp, kTimer1, Timer1IntervalFor(show.settings.Speed), nullptr);
    BgmControl(0, show.settings);
    SyncMusicTimer(show);
    FirstCard(show);
}

void DisplayTick(DisplayShow& from, int16_t reason) {
    DisplayShow* lead = LeadOf(from);
    if (!lead) return;
    DisplayShow& show = *lead;
    PaintFrame(show.state, show.settings, show.Seams());
    StepOtherMonitors(show);
    // Once per tick for every monitor: the pointer is one, wherever it is.
    const InputPositions now = ReadPositions();
    const bool ends = ShowEnds(reason, now, show.state);
    RecordPositions(show.state, now);
    if (ends) {
        GiveBackPointers(show);
        // The music is off for good: no more upkeep.
        if (frmDisp) KillTimer(frmDisp, kTimer2);
        show.timer2Running = false;
        BgmControl(1, show.settings);
        // Every show goes with the lead's window.
        if (frmDisp) DestroyWindow(frmDisp);
    }
}

}  // namespace mirobel
