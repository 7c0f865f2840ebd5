// Background music of the show: a MIDI file beside the program, looped
// through the multimedia command strings on the device alias "bgm".
#pragma once
#include <cstdint>
#include <string>

#include "core/base/Seams.h"
#include "core/settings/Settings.h"

namespace mirobel {

// True once the device has been opened and started; upkeep and stop act
// only while it holds. Process-wide, as the device is: its alias "bgm" is
// one name in the process's multimedia session, whichever show opened it.
extern bool BgmPlaying;

inline constexpr const wchar_t* kMusicFile = L"Mirobel.mid";
inline constexpr uint32_t kStatusLength = 80;

// Music: 0 start (if the show's record has it on), 1 stop, 2 upkeep
// (restart when no longer playing).
void BgmControl(int16_t command, const Settings& settings);

}  // namespace mirobel
