// Background music. The show calls BgmControl at its start, on every tick of
// its 10 ms timer and at its end.
#include "core/show/Bgm.h"

#include <cstring>

#include "core/base/Globals.h"
#include "core/settings/Settings.h"

namespace mirobel {

MusicPort* musicPort = nullptr;
bool BgmPlaying = false;

namespace {
// One buffer of a fixed length, kept between queries; it is
// blanked before every query so that a short or failed reply never shows
// the previous answer.
char statusBuffer[kStatusLength];

void Start() {
    if (MusicMode != 1) return;
    BgmPlaying = false;
    // Quoted, so that a program folder with blanks in it (under
    // "Program Files", say) is read as one file name rather than cut at the
    // first blank.
    std::string open = "open \"" + musicPort->Narrow(AppFolder + kMusicFile) + "\" alias bgm";
    if (musicPort->SendString(open, nullptr, 0) != 0) return;
    if (musicPort->SendString("play bgm notify", nullptr, 0) == 0) {
        BgmPlaying = true;
    } else {
        musicPort->Execute("close bgm");
    }
}

void Stop() {
    if (!BgmPlaying) return;
    musicPort->Execute("stop bgm");
    musicPort->Execute("close bgm");
}

void Upkeep() {
    std::memset(statusBuffer, ' ', sizeof statusBuffer);
    if (!BgmPlaying) return;
    if (musicPort->SendString("status bgm mode", statusBuffer, kStatusLength) != 0) return;
    // Only the first seven characters count: "playing" followed by anything
    // is still playing.
    if (std::memcmp(statusBuffer, "playing", 7) != 0) {
        musicPort->Execute("seek bgm to start");
        musicPort->Execute("play bgm notify");
    }
}
}  // namespace

void BgmControl(int16_t command) {
    // Without a port (the preview, tests of the rest of the show) there is no music.
    if (!musicPort) return;
    switch (command) {
        case 0: Start(); break;
        case 1: Stop(); break;
        case 2: Upkeep(); break;
        default: break;
    }
}

}  // namespace mirobel
