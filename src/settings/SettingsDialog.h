#pragma once

namespace mirobel {

// Opens the settings dialog "Saver Setting" modeless and returns at once.
void ShowSettingsDialog();

}  // namespace mirobel
