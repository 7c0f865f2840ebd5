// Background music. The show calls it at start, every 10 ms and at its end;
// no music is played yet.
#include "display/Show.h"

namespace mirobel {

void BgmControl(int16_t) {}

}  // namespace mirobel
