// Resolution-corrected font sizes for layouts made in pixels at 96 dpi.
#pragma once

namespace mirobel {

// Twips (1/1440 inch) per screen pixel for a logical resolution in dpi,
// taken as a whole number: 15 at 96 dpi, 12 at 120, 10 at 144.
int TwipsPerPixel(int dpi);

// floor(size * twipsPerPixel / 15): keeps the text's pixel height as it is at
// 96 dpi whatever the screen's resolution.
int ScaledFontSize(int size, int twipsPerPixel);

}  // namespace mirobel
