// The show's life on Windows: the core's driver steps every show; the lead's
// timers, the music, the other monitors' windows and the end of every show
// at once on the first sign of the user are Windows' own.
#include "win32/show/Show.h"

#include "core/base/Scaling.h"
#include "core/show/Bgm.h"
#include "core/show/ShowRules.h"
#include "win32/base/WindowClass.h"
#include "win32/show/Screens.h"

namespace mirobel {

namespace {
bool OfClass(HWND window, const wchar_t* name) {
    wchar_t cls[32] = {};
    return window && GetClassNameW(window, cls, 32) && lstrcmpW(cls, name) == 0;
}

// Just below the lead's window in the top-most band, without taking the
// activation: the lead keeps it, and picfocus the keys.
void ShowBelow(HWND window, HWND lead) {
    SetWindowPos(window, lead, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// Where a monitor overlaps the primary one the show stays on top. A black
// window keeps the lead's window in its user data.
void CoverOtherMonitors(DisplayShow& lead) {
    for (const MonitorArea& area : CoverAreas(ListMonitors())) {
        HWND cover = CreateMonitorWindow(window_class::kCover, kCoverCaption, area);
        if (!cover) continue;
        SetWindowLongPtrW(cover, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(lead.window));
        lead.covers.push_back(cover);
        ShowBelow(cover, lead.window);
    }
}

// Monitor k's show opens k poems along, at the lead's scaling, with no music,
// paced by the lead. The first area is the primary monitor, the lead's own.
void OpenMonitorShows(DisplayShow& lead) {
    const std::vector<MonitorArea> areas = ShowAreas(ListMonitors(), lead.monitor);
    for (size_t k = 1; k < areas.size(); ++k) {
        const MonitorArea& area = areas[k];
        HWND other = CreateMonitorWindow(window_class::kDisplay, kMonitorShowCaption, area);
        if (!other) continue;
        auto made = std::make_unique<DisplayShow>(lead.SettingsRecord(), lead.State().showDpi, area,
                                                  lead.State().presentation, FrameDestination{.window = other});
        made->lead = lead.window;
        made->State().sequenceOffset = static_cast<int>(k);
        DisplayShow& show = *made;
        AttachShow(other, std::move(made));
        lead.monitorShows.push_back(other);
        ShowBelow(other, lead.window);
        show.pointer.Hide();
        show.driver.Start(area.right - area.left, area.bottom - area.top);
    }
}
}  // namespace

DisplayShow::DisplayShow(const Settings& settings, int dpi, const MonitorArea& area, Presentation presentation,
                         FrameDestination to, std::optional<uint64_t> seed)
    : surfaces(to, dpi, TickerFontFor(settings)),
      driver(settings, surfaces.Canvas(), surfaces.Frame(), seed, dpi),
      monitor(area) {
    driver.State().presentation = presentation;
}

void DisplayShow::InitShow() {
    // Timer1 takes the speed table's interval as it stands: the system
    // clamps the fastest speeds itself.
    driver.Start(monitor.right - monitor.left, monitor.bottom - monitor.top,
                 {.pace = [this](int interval) { SetTimer(window, kTimer1, interval, nullptr); },
                  .music = [this] { BgmControl(0, SettingsRecord()); SyncMusicTimer(); }});
}

void DisplayShow::OpenOtherMonitors() {
    if (SettingsRecord().Screens == kEveryMonitor) OpenMonitorShows(*this);
    else CoverOtherMonitors(*this);
    if (!monitorShows.empty() || !covers.empty()) SetTimer(window, kMonitorTimer, kMonitorCheckInterval, nullptr);
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
    DisplayShow* paced = lead ? ShowOf(lead) : this;
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
    show.GiveBack();
    // Every show goes with the lead's window.
    if (show.window) DestroyWindow(show.window);
}

void DisplayShow::GiveBack() {
    for (HWND other : monitorShows)
        if (DisplayShow* show = ShowOf(other)) show->pointer.GiveBack();
    pointer.GiveBack();
    // The music is off for good: no more upkeep.
    KillTimer(window, kTimer2);
    timer2Running = false;
    BgmControl(1, SettingsRecord());
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
    // Its timers go with its window, and so do the other windows; they are
    // not counted as windows of the process, so its closing still ends it.
    for (HWND other : std::vector<HWND>(monitorShows)) DestroyWindow(other);
    for (HWND cover : std::vector<HWND>(covers)) DestroyWindow(cover);
}

void AttachShow(HWND window, std::unique_ptr<DisplayShow> show) {
    show->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(show.release()));
}

std::unique_ptr<DisplayShow> DetachShow(HWND window) {
    std::unique_ptr<DisplayShow> show(ShowOf(window));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return show;
}

DisplayShow* ShowOf(HWND window) {
    if (!OfClass(window, window_class::kDisplay)) return nullptr;
    return reinterpret_cast<DisplayShow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

DisplayShow* LeadOf(HWND window) {
    if (OfClass(window, window_class::kCover))
        return ShowOf(reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    DisplayShow* show = ShowOf(window);
    return show && show->lead ? ShowOf(show->lead) : show;
}

}  // namespace mirobel
