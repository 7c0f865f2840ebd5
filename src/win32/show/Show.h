// A show window's show from its start to its end. The windows call in here;
// nothing here calls back into them.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "win32/show/GdiShow.h"
#include "win32/show/Pointer.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/show/Monitors.h"
#include "core/show/ShowDriver.h"

namespace mirobel {

inline constexpr UINT_PTR kTimer1 = 1, kTimer2 = 2;
// Looks at the monitors once a second while windows lie over other monitors:
// Wine does not tell a program when an X output goes away.
inline constexpr UINT_PTR kMonitorTimer = 3;
inline constexpr UINT kMonitorCheckInterval = 1000;

// Caption of the black windows over the other monitors; the start-up guard
// looks only for the show's own caption.
inline constexpr const wchar_t* kCoverCaption = L"Mirobel Monitor";
// Caption of the show windows over the other monitors.
inline constexpr const wchar_t* kMonitorShowCaption = L"Mirobel Monitor Show";

// A show: the GDI seams it draws through, the core's driver that steps it
// (its settings record, state and generator: seeded for tests and tools, the
// clock's otherwise) and, in a window, that window's pointer, focus control
// and the windows it leads. Owned by its window from opening to closing.
struct DisplayShow {
    // A fresh show over the screen or monitor `area` (in pixels), drawn at
    // dpi, its frames going to `to` (tests and tools: a surface of their own).
    DisplayShow(const Settings& settings, int dpi, const MonitorArea& area,
                Presentation presentation = Presentation::ChangedRects, FrameDestination to = {},
                std::optional<uint64_t> seed = {});
    ShowState& State() { return driver.State(); }
    const ShowState& State() const { return driver.State(); }
    const Settings& SettingsRecord() const { return driver.SettingsRecord(); }

    // The lead's start, in the classic order: Timer1 from the speed, the
    // music and its upkeep timer, the poem tables, the first card.
    void InitShow();
    // A black window (main monitor only) or a show (every monitor) each.
    void OpenOtherMonitors();
    // One step of every show, then the end-of-show test; called on any of
    // them, input on one monitor ends them all.
    void DisplayTick(int16_t reason);
    // Starts or stops the lead's Timer2 to follow the music (BgmPlaying).
    void SyncMusicTimer();
    // The windows over monitors that are gone close, quietly.
    void DropGoneMonitors();
    // As the show ends: every show's window gives the default pointer back,
    // and the music stops for good.
    void GiveBack();
    // As its window goes: the lead's other windows go with it; another
    // monitor's show leaves the lead's list.
    void Closing();

    GdiSeams surfaces;
    ShowDriver driver;
    // Whether the lead's Timer2, the music upkeep, runs (only while music plays).
    bool timer2Running = false;

    // The window's own, from here on.
    HWND window = nullptr;
    // The monitor the window lies on, in virtual-screen pixels.
    MonitorArea monitor;
    ShowPointer pointer;
    // The show on the primary monitor (frmDisp's) leads: its timer paces
    // every show, its focus control takes the keys, and it holds the windows
    // over the other monitors, a black one each (main monitor only) or a
    // show each (every monitor). A show on another monitor points back to it.
    HWND focus = nullptr;
    std::vector<HWND> covers;
    std::vector<HWND> monitorShows;
    HWND lead = nullptr;
};

// The show belongs to its window (GWLP_USERDATA).
void AttachShow(HWND window, std::unique_ptr<DisplayShow> show);
std::unique_ptr<DisplayShow> DetachShow(HWND window);
// The show a show window runs, or null.
DisplayShow* ShowOf(HWND window);
// The show that leads what a window shows: a show window's lead, or for a
// black window the show it covers for; null for any other window.
DisplayShow* LeadOf(HWND window);

}  // namespace mirobel
