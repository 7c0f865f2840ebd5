// A show window's show from its start to its end: the pace, the music, the
// steps of every monitor's show and the end of them all. The windows call
// in here; nothing here calls back into them.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "win32/show/GdiShow.h"
#include "win32/show/Pointer.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/settings/Settings.h"
#include "core/show/Monitors.h"
#include "core/show/ShowDriver.h"
#include "core/show/ShowState.h"

namespace mirobel {

inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT_PTR kTimer2 = 2;
// Looks at the monitors once a second while windows lie over other monitors:
// Wine does not tell a program when an X output goes away.
inline constexpr UINT_PTR kMonitorTimer = 3;
inline constexpr UINT kMonitorCheckInterval = 1000;

// Caption of the black windows over the other monitors; the start-up guard
// looks only for the show's own caption.
inline constexpr const wchar_t* kCoverCaption = L"Mirobel Monitor";
// Caption of the show windows over the other monitors.
inline constexpr const wchar_t* kMonitorShowCaption = L"Mirobel Monitor Show";

// A show and what its window holds: the GDI seams it draws through, the
// core's driver that steps it (its settings record, its state, its
// generator: seeded for tests and tools, the clock's otherwise), and, once
// it runs in a window, that window's pointer, its focus control and the
// windows it leads. Owned by its window from its opening to its closing.
struct DisplayShow {
    // A fresh show on a screen of widthPixels x heightPixels, drawn at dpi,
    // its frames going to `to`. Tests and tools run one off the window
    // (presenting into a surface of their own), in either presentation.
    DisplayShow(const Settings& settings, int dpi, int widthPixels, int heightPixels,
                Presentation presentation = Presentation::ChangedRects, FrameDestination to = {},
                std::optional<uint64_t> seed = {});
    ShowState& State() { return driver.State(); }
    const ShowState& State() const { return driver.State(); }
    const Settings& SettingsRecord() const { return driver.SettingsRecord(); }

    // The lead's start, in the classic order: Timer1 from the speed, the
    // music and its upkeep timer, the poem tables, the first card.
    void InitShow();
    // The windows over the other monitors: black ones (main monitor only)
    // or a show each (every monitor).
    void OpenOtherMonitors();
    // One step of every show, then the end-of-show test; called on any of
    // them, input on one monitor ends them all.
    void DisplayTick(int16_t reason);
    // Starts or stops the lead's Timer2 to follow the music (BgmPlaying).
    void SyncMusicTimer();
    // After the monitors changed: the windows over monitors that are gone
    // close, quietly; the others go on.
    void DropGoneMonitors();
    // Every show's window gives the default pointer back.
    void GiveBackPointers();
    // As its window goes (the show already taken off it): the lead's timers
    // stop and its other windows go with it; another monitor's show leaves
    // the lead's list.
    void Closing();
    // The show that paces this one and holds the others: itself, or the lead.
    DisplayShow* Lead();

    GdiSeams surfaces;
    ShowDriver driver;
    // Whether the lead's Timer2, the music upkeep, is set: it runs only while
    // music plays.
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

private:
    void CoverOtherMonitors();
    void OpenMonitorShows();
};

// The show belongs to its window: attached as the window opens, taken off
// as it closes.
void AttachShow(HWND window, std::unique_ptr<DisplayShow> show);
std::unique_ptr<DisplayShow> DetachShow(HWND window);
// The show a show window runs, or null.
DisplayShow* ShowOf(HWND window);
// The show that leads what a window shows: a show window's lead, or for a
// black window the show it covers for; null for any other window.
DisplayShow* LeadOf(HWND window);

}  // namespace mirobel
