#include "app/InstallPlatform.h"

#include "core/base/Platform.h"
#include "core/base/Random.h"
#include "win32/base/Win32Util.h"

#include <objbase.h>

#include "win32/settings/RegistryStore.h"
#include "win32/show/MciPort.h"

namespace mirobel {

namespace {
RegistryStore registryStore;
ClockRandom clockRandom;
}  // namespace

void InstallWin32Platform() {
    // The portraits are decoded through WIC, a COM library.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_platform.boxes = &Win32MessageBoxes();
    g_platform.store = &registryStore;
    g_platform.random = &clockRandom;
    g_platform.music = &MciMusicPort();
    g_platform.desktop = &Win32DesktopLanguage();
}

}  // namespace mirobel
