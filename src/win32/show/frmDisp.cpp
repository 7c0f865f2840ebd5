// The full-screen show's window: set-up, timers, and the end of the show on
// the first sign of the user.
#include <memory>
#include <vector>

#include "core/base/Globals.h"
#include "core/base/Scaling.h"
#include "win32/base/Place.h"
#include "core/base/Platform.h"
#include "win32/base/Gdi.h"
#include "win32/base/Guard.h"
#include "win32/base/Win32Util.h"
#include "win32/base/WindowClass.h"
#include "core/show/Bgm.h"
#include "core/show/Monitors.h"
#include "win32/show/frmDisp.h"
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
HCURSOR transparentCursor = nullptr;
bool pointerIsDefault = false;
std::vector<HWND> covers;

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

// The show belongs to its window: attached as the window opens, freed as it
// closes.
DisplayShow* ShowOf(HWND window) {
    return window ? reinterpret_cast<DisplayShow*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}
void AttachShow(HWND window, std::unique_ptr<DisplayShow> show) {
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

// What the show must give back when a failure ends the process under it.
void GiveBackPointerAndMusic() {
    pointerIsDefault = true;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (DisplayShow* show = RunningShow()) BgmControl(1, show->settings);
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

HCURSOR ShowPointer() { return pointerIsDefault ? LoadCursorW(nullptr, IDC_ARROW) : transparentCursor; }

// What the show window and the black windows over other monitors answer
// alike: the focus back to picfocus, a click ends the show, the pointer
// stays hidden. True when the message was handled; result is the answer.
bool ShowSurfaceMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
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
        case WM_SETCURSOR:
            if (LOWORD(lp) != HTCLIENT) return false;
            SetCursor(ShowPointer());
            result = TRUE;
            return true;
    }
    return false;
}

LRESULT CALLBACK FrmDispProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; ShowSurfaceMessage(msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_TIMER: {
            // A box raised inside a tick runs its own message loop; the show
            // must not step again until it is gone.
            DisplayShow* show = ShowOf(hwnd);
            if (ModalBoxUp() || !show) return 0;
            if (wp == kTimer1) Timer1_Timer(*show);
            else if (wp == kTimer2) Timer2_Timer(*show);
            return 0;
        }
        case WM_PAINT: {
            PaintScope paint(hwnd);
            if (DisplayShow* show = ShowOf(hwnd)) show->surfaces.Repaint(paint.get(), paint.area());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // every frame covers the whole window
        case WM_DESTROY:
            KillTimer(hwnd, kTimer1);
            KillTimer(hwnd, kTimer2);
            // The covers go with the show; they are not counted as windows
            // of the process, so the show's closing still ends it.
            for (HWND cover : std::vector<HWND>(covers)) DestroyWindow(cover);
            covers.clear();
            DetachShow(hwnd);  // and with it its card canvas, fonts, portrait and last frame
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
            if (DisplayShow* show = RunningShow(); show && !ModalBoxUp()) picfocus_KeyDown(*show);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// A black window over a monitor other than the primary one: input over it
// ends the show as it does over the show itself.
LRESULT CALLBACK CoverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; ShowSurfaceMessage(msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_MOUSEACTIVATE:
            // The show keeps the activation and picfocus the keys.
            return MA_NOACTIVATE;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (DisplayShow* show = RunningShow(); show && !ModalBoxUp()) picfocus_KeyDown(*show);
            return 0;
        case WM_DESTROY:
            std::erase(covers, hwnd);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lp) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<MonitorArea>*>(lp)->push_back(
            {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom,
             (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

// Opens the black windows over the other monitors, just below the show in
// the topmost band: where a monitor overlaps the primary one the show stays
// on top.
void CoverOtherMonitors(HINSTANCE instance) {
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    for (const MonitorArea& area : CoverAreas(monitors)) {
        HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, window_class::kCover, kCoverCaption, WS_POPUP,
                                     area.left, area.top, area.right - area.left, area.bottom - area.top, nullptr,
                                     nullptr, instance, nullptr);
        if (!cover) continue;
        covers.push_back(cover);
        SetWindowPos(cover, frmDisp, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
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

DisplayShow::DisplayShow(const Settings& chosen, int dpi, int widthPixels, int heightPixels,
                         Presentation presentation, FrameDestination to)
    : settings(chosen),
      state(FreshShow(dpi, widthPixels, heightPixels, presentation)),
      surfaces(to, dpi, ScaledFontSize(12, state.showTwipsPerPixel)) {}

DisplayShow* RunningShow() { return ShowOf(frmDisp); }

void StartDisplay(const Settings& settings) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterClasses()) return;
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
    // Timer2 waits for the music: with none playing its upkeep has nothing
    // to do, and a 10 ms tick keeps the processor awake for hours.
    SetTimer(frmDisp, kTimer1, kTimer1StartInterval, nullptr);

    PlaceControl(picfocus, 30, 30, -50, 0);
    // The show is drawn at the display's scaling, read once at start; with it
    // the show's card canvas gets its size.
    auto made = std::make_unique<DisplayShow>(settings, ReadDisplayScale(), DispWidth, DispHeight,
                                              Presentation::ChangedRects, FrameDestination{.window = frmDisp});
    DisplayShow& show = *made;
    AttachShow(frmDisp, std::move(made));
    ShowWindow(frmDisp, SW_SHOW);
    SetFocus(picfocus);
    ShowWindow(frmDisp, SW_SHOWNORMAL);
    SetWindowPos(frmDisp, nullptr, DispLeft, DispTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    pointerIsDefault = false;
    SetCursor(transparentCursor);
    RecordPositions(show.state, ReadPositions());
    InitShow(show);
    ShowWindow(frmDisp, SW_SHOW);
    SetWindowPos(frmDisp, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CoverOtherMonitors(instance);
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
    FillPoemTables();
    NormaliseRange(show.settings);
    BgmControl(0, show.settings);
    SyncMusicTimer(show);
    const ShowSeams seams = show.Seams();
    PrepareCard(show.state, show.settings, seams.canvas, seams.random);
    PaintFrame(show.state, show.settings, seams);
}

void DisplayTick(DisplayShow& show, int16_t reason) {
    PaintFrame(show.state, show.settings, show.Seams());
    const InputPositions now = ReadPositions();
    const bool ends = ShowEnds(reason, now, show.state);
    RecordPositions(show.state, now);
    if (ends) {
        pointerIsDefault = true;
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        // The music is off for good: no more upkeep.
        if (frmDisp) KillTimer(frmDisp, kTimer2);
        show.timer2Running = false;
        BgmControl(1, show.settings);
        // The show goes with its window.
        if (frmDisp) DestroyWindow(frmDisp);
    }
}

}  // namespace mirobel
