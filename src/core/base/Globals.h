// Display globals that start-up sets and the show and preview read.
#pragma once
#include <cstdint>
#include <string>

namespace mirobel {

extern std::wstring AppFolder;  // program folder, always ending in one backslash
extern int16_t DispLeft, DispTop;
extern int16_t DispWidth, DispHeight;
extern bool SaverActive;  // true only in saver mode

// All of them back to their values at process start.
void ResetDisplayGlobals();

}  // namespace mirobel
