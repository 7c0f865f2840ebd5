// One frame of the show: motion, bounces, writer, portrait and ticker.
#pragma once
#include "core/settings/Settings.h"
#include "core/show/ShowState.h"

namespace mirobel {

// Paints the next frame of the show through its seams.
void PaintFrame(ShowState& show, const Settings& settings, const ShowSeams& seams);

// Estimated width of one ticker character, in units.
int TickerCharWidth(int twipsPerPixel);

}  // namespace mirobel
