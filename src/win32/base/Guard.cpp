#include "win32/base/Guard.h"

#include "core/base/Errors.h"
#include "core/base/Platform.h"

namespace mirobel {

void (*g_beforeFailureExit)() = nullptr;

namespace {
void GiveBackWhatTheShowTook() noexcept {
    // Once: a second failure inside the hook must not run it again.
    void (*hook)() = g_beforeFailureExit;
    g_beforeFailureExit = nullptr;
    if (hook) {
        try {
            hook();
        } catch (...) {
        }
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}
}  // namespace

void EndAfterUntrappedFailure() noexcept {
    static bool ending = false;
    if (ending) return;
    ending = true;
    UINT code = kExitUnexpectedFailure;
    try {
        throw;
    } catch (const RuntimeError& e) {
        code = kExitReportedFailure;
        // The pointer first: the box must be usable over a show whose pointer
        // was made invisible.
        GiveBackWhatTheShowTook();
        try {
            ShowErrorBox(StandardErrorText(e, DesktopSpeaks()), e, DesktopSpeaks());
        } catch (...) {
        }
    } catch (...) {
        GiveBackWhatTheShowTook();
    }
    ExitProcess(code);
}

}  // namespace mirobel
