// The show's life on Windows: the core's driver steps every show; what is
// Windows' own is the lead's two timers, the music, the windows over the
// other monitors and the end of every show at once on the first sign of the
// user.
#include "win32/show/Show.h"

#include "core/base/Scaling.h"
#include "core/show/Bgm.h"
#include "core/show/ShowRules.h"
#include "win32/base/WindowClass.h"
#include "win32/show/Screens.h"

namespace mirobel {

namespace {
int Width(const MonitorArea& area) { return area.right - area.left; }
int Height(const MonitorArea& area) { return area.bottom - area.top; }

// Just below the lead's window in the top-most band, without taking the
// activation: the lead keeps it, and picfocus the keys.
void ShowBelow(HWND window, HWND lead) {
    SetWindowPos(window, lead, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}
}  // namespace

DisplayShow::DisplayShow(const Settings& settings, int dpi, int widthPixels, int heightPixels,
                         Presentation presentation, FrameDestination to, std::optional<uint64_t> seed)
    : surfaces(to, dpi, ScaledFontSize(12, kUnitTwips)),
      driver(settings, surfaces.Canvas(), surfaces.Frame(), seed, dpi),
      monitor{0, 0, widthPixels, heightPixels, true} {
    driver.State().presentation = presentation;
}

void DisplayShow::InitShow() {
    // Timer1 takes the speed table's interval as it stands: the system
    // clamps the fastest speeds itself.
    driver.Start(Width(monitor), Height(monitor),
                 {.pace = [this](int interval) { SetTimer(window, kTimer1, interval, nullptr); },
                  .music =
                      [this] {
                          BgmControl(0, SettingsRecord());
                          SyncMusicTimer();
                      }});
}

void DisplayShow::OpenOtherMonitors() {
    if (SettingsRecord().Screens == kEveryMonitor) OpenMonitorShows();
    else CoverOtherMonitors();
    if (!monitorShows.empty() || !covers.empty()) SetTimer(window, kMonitorTimer, kMonitorCheckInterval, nullptr);
}

// Where a monitor overlaps the primary one the show stays on top. A black
// window keeps in its user data the show it covers for.
void DisplayShow::CoverOtherMonitors() {
    for (const MonitorArea& area : CoverAreas(ListMonitors())) {
        HWND cover = CreateMonitorWindow(window_class::kCover, kCoverCaption, area);
        if (!cover) continue;
        SetWindowLongPtrW(cover, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        covers.push_back(cover);
        ShowBelow(cover, window);
    }
}

// Monitor k's show opens k poems along, at the lead's scaling, with no music,
// paced by the lead. The first area is the primary monitor, the lead's own.
void DisplayShow::OpenMonitorShows() {
    const std::vector<MonitorArea> areas = ShowAreas(ListMonitors(), monitor);
    for (size_t k = 1; k < areas.size(); ++k) {
        const MonitorArea& area = areas[k];
        HWND other = CreateMonitorWindow(window_class::kDisplay, kMonitorShowCaption, area);
        if (!other) continue;
        auto made = std::make_unique<DisplayShow>(SettingsRecord(), State().showDpi, Width(area), Height(area),
                                                  State().presentation, FrameDestination{.window = other});
        made->monitor = area;
        made->lead = window;
        made->State().sequenceOffset = static_cast<int>(k);
        DisplayShow& show = *made;
        AttachShow(other, std::move(made));
        monitorShows.push_back(other);
        ShowBelow(other, window);
        show.pointer.Hide();
        show.driver.Start(Width(area), Height(area));
    }
}

void DisplayShow::SyncMusicTimer() {
    if (!window) return;
    if (BgmPlaying && !timer2Running) {
        timer2Running = SetTimer(window, kTimer2, kTimer2Interval, nullptr) != 0;
    } else if (!BgmPlaying && timer2Running) {
        KillTimer(window, kTimer2);
        timer2Running = false;
    }
}

void DisplayShow::DisplayTick(int16_t reason) {
    DisplayShow* paced = Lead();
    if (!paced) return;
    DisplayShow& show = *paced;
    show.driver.NextFrame();
    for (HWND other : show.monitorShows)
        if (DisplayShow* each = ShowOf(other)) each->driver.NextFrame();
    // Once per tick for every monitor: the pointer is one, wherever it is.
    const InputPositions now = ReadPositions();
    const bool ends = ShowEnds(reason, now, show.State());
    RecordPositions(show.State(), now);
    if (!ends) return;
    show.GiveBackPointers();
    // The music is off for good: no more upkeep.
    KillTimer(show.window, kTimer2);
    show.timer2Running = false;
    BgmControl(1, show.SettingsRecord());
    // Every show goes with the lead's window.
    if (show.window) DestroyWindow(show.window);
}

void DisplayShow::GiveBackPointers() {
    for (HWND other : monitorShows)
        if (DisplayShow* show = ShowOf(other)) show->pointer.GiveBack();
    pointer.GiveBack();
}

void DisplayShow::DropGoneMonitors() {
    const std::vector<MonitorArea> monitors = ListMonitors();
    // Each window takes itself off the lists as it goes.
    for (HWND other : std::vector<HWND>(monitorShows))
        if (DisplayShow* show = ShowOf(other); show && !Listed(show->monitor, monitors)) DestroyWindow(other);
    for (HWND cover : std::vector<HWND>(covers)) {
        RECT r;
        GetWindowRect(cover, &r);
        if (!Listed({r.left, r.top, r.right, r.bottom}, monitors)) DestroyWindow(cover);
    }
}

void DisplayShow::Closing() {
    if (lead) {
        if (DisplayShow* paced = ShowOf(lead)) std::erase(paced->monitorShows, window);
        return;
    }
    KillTimer(window, kTimer1);
    KillTimer(window, kTimer2);
    KillTimer(window, kMonitorTimer);
    // The other windows go with the lead. They are not counted as windows
    // of the process, so its closing still ends it.
    for (HWND other : std::vector<HWND>(monitorShows)) DestroyWindow(other);
    for (HWND cover : std::vector<HWND>(covers)) DestroyWindow(cover);
}

DisplayShow* DisplayShow::Lead() { return lead ? ShowOf(lead) : this; }

void AttachShow(HWND window, std::unique_ptr<DisplayShow> show) {
    show->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(show.release()));
}

std::unique_ptr<DisplayShow> DetachShow(HWND window) {
    std::unique_ptr<DisplayShow> show(ShowOf(window));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return show;
}

namespace {
bool OfClass(HWND window, const wchar_t* name) {
    wchar_t cls[32] = {};
    return window && GetClassNameW(window, cls, 32) && lstrcmpW(cls, name) == 0;
}
}  // namespace

DisplayShow* ShowOf(HWND window) {
    if (!OfClass(window, window_class::kDisplay)) return nullptr;
    return reinterpret_cast<DisplayShow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

DisplayShow* LeadOf(HWND window) {
    if (OfClass(window, window_class::kCover))
        return ShowOf(reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    DisplayShow* show = ShowOf(window);
    return show ? show->Lead() : nullptr;
}

}  // namespace mirobel
