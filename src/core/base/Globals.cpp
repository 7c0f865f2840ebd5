#include "core/base/Globals.h"

namespace mirobel {

std::wstring AppFolder;
int16_t DispLeft = 0, DispTop = 0;
int16_t DispWidth = 0, DispHeight = 0;
bool SaverActive = false;

}  // namespace mirobel
