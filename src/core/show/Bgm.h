// Background music of the show: a MIDI file beside the program, looped
// through the multimedia command strings on the device alias "bgm".
#pragma once
#include <cstdint>
#include <string>

#include "core/base/Seams.h"

namespace mirobel {

// True once the device has been opened and started; upkeep and stop act
// only while it holds.
extern bool BgmPlaying;

// The music's state back to its value at process start.
void ResetMusicGlobals();

inline constexpr const wchar_t* kMusicFile = L"Mirobel.mid";
inline constexpr uint32_t kStatusLength = 80;

// Music: 0 start, 1 stop, 2 upkeep (restart when no longer playing).
void BgmControl(int16_t command);


}  // namespace mirobel
