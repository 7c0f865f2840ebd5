// The full-screen show: its windows, its timers and the calls into the card,
// the frame and the music.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "core/base/Platform.h"
#include "core/settings/Settings.h"
#include "core/show/Monitors.h"
#include "core/show/ShowState.h"
#include "win32/show/GdiShow.h"
#include "win32/show/Pointer.h"

namespace mirobel {

// A show and what its window holds: its settings record, its state and the
// seams it draws through, and, once it runs in a window, that window's
// pointer, its focus control and the windows it leads. Owned by its window
// from its opening to its closing. Its poems come from the process's
// clock-seeded generator.
struct DisplayShow {
    // A fresh show on a screen of widthPixels x heightPixels, drawn at dpi,
    // its frames going to `to`. Tests and tools run one off the window
    // (presenting into a surface of their own), in either presentation.
    DisplayShow(const Settings& settings, int dpi, int widthPixels, int heightPixels,
                Presentation presentation = Presentation::ChangedRects, FrameDestination to = {});
    ShowSeams Seams() { return {surfaces.Canvas(), surfaces.Frame(), *g_platform.random}; }

    Settings settings;
    ShowState state;
    GdiSeams surfaces;
    // Whether frmDisp's Timer2, the music upkeep, is set for this show: it
    // runs only while music plays.
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

// Opens frmDisp over the screen (DispWidth x DispHeight) at the display's
// scaling dpi and starts the show of this settings record in it; with every
// monitor chosen, each other monitor gets a show window of its own.
void StartDisplay(const Settings& settings, int dpi);
void InitShow(DisplayShow& show);
// Opens the show window over another monitor, its show k poems along,
// paced by the lead; null when the window cannot be made.
HWND OpenMonitorShow(DisplayShow& lead, const MonitorArea& monitor, int k);
// Starts or stops the show's Timer2 to follow the music (BgmPlaying).
void SyncMusicTimer(DisplayShow& show);
// One step of every show, then the end-of-show test; `show` may be any of
// them, input on one monitor ends them all.
void DisplayTick(DisplayShow& show, int16_t reason);
// The show frmDisp runs, or null while there is none.
DisplayShow* RunningShow();
// The show a show window runs, or null.
DisplayShow* ShowOf(HWND window);

}  // namespace mirobel
