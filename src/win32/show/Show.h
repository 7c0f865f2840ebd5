// The full-screen show: its window, its timers and the calls into the card,
// the frame and the music.
#pragma once
#include <cstdint>

#include "core/show/ShowState.h"

namespace mirobel {

void StartDisplay();
void InitShow();
void DisplayTick(int16_t reason);

// Music: 0 start, 1 stop, 2 upkeep.
void BgmControl(int16_t command);

}  // namespace mirobel
