// The display window frmDisp, its focus control and the windows beside it.
#pragma once
#include "win32/show/Show.h"

namespace mirobel {

// The window on the primary monitor, captioned "SAVER Screen", and its focus
// control: one each per process, as the start-up guard looks for the one
// caption and the keyboard has one focus. The show windows of the other
// monitors hang from frmDisp's show.
extern HWND frmDisp;
extern HWND picfocus;

// Opens frmDisp over the screen (DispWidth x DispHeight) at the display's
// scaling dpi and starts the show of this settings record in it; with every
// monitor chosen, each other monitor gets a show window of its own.
void StartDisplay(const Settings& settings, int dpi);
// The show frmDisp runs, or null while there is none.
DisplayShow* RunningShow();

}  // namespace mirobel
