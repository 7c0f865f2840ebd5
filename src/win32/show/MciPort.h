// The music port on the Windows multimedia command strings (mciSendStringA
// and mciExecute).
#pragma once
#include "core/base/Seams.h"

namespace mirobel {

MusicPort& MciMusicPort();

}  // namespace mirobel
