// What start-up makes process-wide: the program's folder, the mode and the
// display's size. The show and the preview read them; nothing else sets them.
#pragma once
#include <cstdint>
#include <string>

namespace mirobel {

extern std::wstring AppFolder;  // program folder, always ending in one backslash
extern int16_t DispLeft, DispTop;
extern int16_t DispWidth, DispHeight;
extern bool SaverActive;  // true only in saver mode

}  // namespace mirobel
