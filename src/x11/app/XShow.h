// The show in an X window: the window XScreenSaver gives it, the root
// window, or a window of its own; frames at the pace of the speed setting
// until SIGTERM, the window's end, or (own window) Esc, q or closing it.
#pragma once
#include "x11/app/Options.h"

namespace mirobel::x11 {

// Returns the exit status: 0 after an orderly end, 1 when the display or
// the window cannot be used.
int RunShow(const Options& options, const Placement& placement);

}  // namespace mirobel::x11
