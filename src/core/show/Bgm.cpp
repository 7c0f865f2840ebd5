// Background music. The show calls BgmControl at its start, on every tick of
// its 10 ms timer and at its end.
#include "core/show/Bgm.h"

#include <cstring>

#include "core/base/Globals.h"
#include "core/base/Platform.h"

namespace mirobel {

bool BgmPlaying = false;

namespace {
void Start(const Settings& settings) {
    if (settings.MusicMode != 1) return;
    BgmPlaying = false;
    // Quoted, so that a program folder with blanks in it (under
    // "Program Files", say) is read as one file name rather than cut at the
    // first blank.
    std::string open = "open \"" + g_platform.music->Narrow(AppFolder + kMusicFile) + "\" alias bgm";
    if (g_platform.music->SendString(open, nullptr, 0) != 0) return;
    if (g_platform.music->SendString("play bgm notify", nullptr, 0) == 0) {
        BgmPlaying = true;
    } else {
        g_platform.music->Execute("close bgm");
    }
}

void Stop() {
    if (!BgmPlaying) return;
    g_platform.music->Execute("stop bgm");
    g_platform.music->Execute("close bgm");
}

void Upkeep() {
    // Blanked before every query, so that a short or failed reply never
    // shows an earlier answer.
    char status[kStatusLength];
    std::memset(status, ' ', sizeof status);
    if (!BgmPlaying) return;
    if (g_platform.music->SendString("status bgm mode", status, kStatusLength) != 0) return;
    // Only the first seven characters count: "playing" followed by anything
    // is still playing.
    if (std::memcmp(status, "playing", 7) != 0) {
        g_platform.music->Execute("seek bgm to start");
        g_platform.music->Execute("play bgm notify");
    }
}
}  // namespace

void BgmControl(int16_t command, const Settings& settings) {
    // Without a port (the preview, tests of the rest of the show) there is no music.
    if (!g_platform.music) return;
    switch (command) {
        case 0: Start(settings); break;
        case 1: Stop(); break;
        case 2: Upkeep(); break;
        default: break;
    }
}

}  // namespace mirobel
