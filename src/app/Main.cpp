// Entry point: the start-up guard, the program folder, the settings and the
// dispatch on the mode switch.
#include "app/InstallPlatform.h"
#include "core/startup/CommandLine.h"
#include "core/base/Globals.h"
#include "win32/base/Guard.h"
#include "win32/startup/frmPrev.h"
#include "win32/base/Win32Util.h"
#include "win32/base/Fonts.h"
#include "win32/show/frmDisp.h"
#include "core/settings/Settings.h"
#include "win32/settings/frmSet.h"

namespace mirobel {

void Main() {
    // Both searches are always made, whatever the first one found.
    HWND show = FindWindowA(nullptr, "SAVER Screen");
    HWND dialog = FindWindowA(nullptr, "Saver Setting");
    if (show || dialog) ExitProcess(0);

    AppFolder = FolderWithBackslash(ModulePath());

    const Settings settings = LoadSettings();

    std::wstring arguments = ArgumentText(GetCommandLineW());
    std::wstring modeText = ModeText(arguments);
    int32_t hostHandle = HostHandle(arguments);

    switch (ModeOf(modeText)) {
        case Mode::Preview:
            SaverActive = false;
            StartPreview(hostHandle);
            break;
        case Mode::Saver:
            SaverActive = true;
            DispLeft = 0;
            DispTop = 0;
            DispWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
            DispHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
            StartDisplay(settings, ReadDisplayScale());
            break;
        case Mode::Configure:
            DoEvents();
            SaverActive = false;
            ShowSettingsDialog(settings, ReadDisplayScale());
            break;
        case Mode::None:
            break;
    }
}

}  // namespace mirobel

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        mirobel::InstallWin32Platform();
        mirobel::AddEmbeddedFonts();
        mirobel::Main();
        return mirobel::RunMessageLoop();
    } catch (...) {
        mirobel::EndAfterUntrappedFailure();
        return static_cast<int>(mirobel::kExitUnexpectedFailure);
    }
}
