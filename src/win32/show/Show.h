// The full-screen show: its window, its timers and the calls into the card,
// the frame and the music.
#pragma once
#include <cstdint>

#include "core/base/Platform.h"
#include "core/settings/Settings.h"
#include "core/show/ShowState.h"
#include "win32/show/GdiShow.h"

namespace mirobel {

// The show that runs in frmDisp: its settings record, its state and the
// seams it draws through, owned by the window from its opening to its
// closing. Its poems come from the process's clock-seeded generator.
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
};

// Opens frmDisp over the screen (DispWidth x DispHeight) and starts the show
// of this settings record in it.
void StartDisplay(const Settings& settings);
void InitShow(DisplayShow& show);
// Starts or stops the show's Timer2 to follow the music (BgmPlaying).
void SyncMusicTimer(DisplayShow& show);
void DisplayTick(DisplayShow& show, int16_t reason);
// The show frmDisp runs, or null while there is none.
DisplayShow* RunningShow();

}  // namespace mirobel
