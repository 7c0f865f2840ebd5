// The one guard where the system calls into the program: window procedures,
// timer procedures and the entry point. A C++ exception must never unwind
// through user32's frames (on x64 that ends in terminate, or in an exception
// the system silently swallows); an untrapped failure instead ends the
// process the way the program's own failures do.
#pragma once
#include "win32/base/Win32Util.h"

namespace mirobel {

// Exit codes of a process ended by an untrapped failure.
inline constexpr UINT kExitReportedFailure = 1;  // a RuntimeError, shown in the standard error box
inline constexpr UINT kExitUnexpectedFailure = 3;  // anything else

// Run just before a failure ends the process; the show sets it to give the
// pointer back and close the music. Null when nothing needs undoing.
extern void (*g_beforeFailureExit)();

// Reports the exception being handled (call only inside a catch block) and
// ends the process. Returns only for a failure that comes while an earlier
// one is being reported (a timer still ticking behind its box): that one is
// dropped, so that the user sees one box.
void EndAfterUntrappedFailure() noexcept;

template <WNDPROC Proc>
LRESULT CALLBACK Guarded(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    try {
        return Proc(hwnd, msg, wp, lp);
    } catch (...) {
        EndAfterUntrappedFailure();
        return 0;
    }
}

template <TIMERPROC Proc>
void CALLBACK GuardedTimer(HWND hwnd, UINT msg, UINT_PTR id, DWORD time) noexcept {
    try {
        Proc(hwnd, msg, id, time);
    } catch (...) {
        EndAfterUntrappedFailure();
    }
}

}  // namespace mirobel
