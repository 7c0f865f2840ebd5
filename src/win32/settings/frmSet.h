// The settings dialog frmSet: shows the settings record, checks and stores
// it on a confirmed apply, and opens the companion windows.
#pragma once
#include "core/settings/Settings.h"
#include "win32/base/Win32Util.h"

namespace mirobel {

// Control and menu ids; the controls of the panel are children of the panel.
enum : int {
    kIdComboFirst = 101,
    kIdComboEnd = 102,
    kIdComboSpeed = 103,
    kIdOptionType = 110,  // + 0..2
    kIdCheckMusic = 120,
    kIdCommandButton = 130,  // + 0..3
    kIdOptionScreens = 140,  // + 0..1
    kIdCheckKimariji = 150,
    kIdComboSets = 160,
    kIdMenuClose = 200,
    kIdMenuSet = 201,
    kIdMenuAbout = 210,  // + 0..3
    kIdMenuLanguage = 220,  // + 0 Japanese, 1 English
};

// The dialog while it is open, null otherwise. Like each of its companion
// windows (Companions.h) it exists at most once in the process, so its
// handle is the process's; everything else of it is in the window's own
// struct.
extern HWND frmSet;

// Opens the settings dialog "Saver Setting" modeless, showing this record,
// and returns at once. The dialog keeps its own copy, which an apply changes
// and stores. The dialog and the windows it opens are laid out at dpi.
void ShowSettingsDialog(const Settings& record, int dpi);

}  // namespace mirobel
