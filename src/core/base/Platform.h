// The bundle of seams between the portable core and the platform, and the
// boxes built on it. The Windows entry point installs the Win32
// implementations; tests install recording fakes.
#pragma once
#include <string>

#include "core/base/Errors.h"
#include "core/base/Seams.h"

namespace mirobel {

// The seams the program makes process-wide, in one bundle filled once at
// start by the platform layer's entry point and by tests with fakes: boxes,
// the store, the clock-seeded generator, the music device and the desktop's language. A seam left
// null is not used by whatever runs. The surfaces a show draws on are not
// here: they belong to whoever runs the show (core/show/ShowState.h).
struct Platform {
    MessageBoxes* boxes = nullptr;
    SettingsStore* store = nullptr;
    RandomSource* random = nullptr;
    MusicPort* music = nullptr;
    // Null reads as a desktop that does not speak Japanese.
    DesktopLanguage* desktop = nullptr;
};
extern Platform g_platform;

// While a modal box (ours or one the platform raises for us) is up, the
// message loop still dispatches timer ticks; the show must not re-enter
// itself from them. Every box is shown inside a ModalScope.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};
bool ModalBoxUp();

// A box; with no title of its own a box carries the application name.
int ShowBox(const std::wstring& text, const std::wstring& title = kAppName, unsigned style = kBoxOk);
// The standard error box: OK only, no icon, title "エラー" ("Error" in
// English), help attached.
void ShowErrorBox(const std::wstring& text, const RuntimeError& e, Language language = Language::Japanese);
// The language the desktop speaks: Japanese only where it says so.
Language DesktopSpeaks();

}  // namespace mirobel
