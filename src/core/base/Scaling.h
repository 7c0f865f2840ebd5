// The display's scaling. Every layout of the program is made in pixels of a
// 96-dpi screen ("units"); on a screen of another logical resolution the
// whole layout is magnified by s = dpi / 96, so that the program looks as it
// does at 100 % but is drawn crisply at the user's size.
#pragma once

namespace mirobel {

// The range of the show's scale that the options offer, in percent; the
// desktop's own scaling is held to it as well.
inline constexpr int kMinScale = 100, kMaxScale = 400;

// Twips (1/1440 inch) per screen pixel: 1440 / dpi, exactly (15 at 96 dpi,
// 12 at 120, 10 at 144, 7.5 at 192). No reading (0) counts as 96 dpi.
double TwipsPerPixel(int dpi);
// Twips per unit of the magnified layouts: a unit is a pixel at 96 dpi.
inline constexpr double kUnitTwips = 15.0;

// floor(size * twipsPerPixel / 15): keeps the text's pixel height as it is at
// 96 dpi. In the magnified layouts it is given kUnitTwips, which leaves sizes
// as they are; the magnification then comes from FontPixelHeight.
int ScaledFontSize(int size, double twipsPerPixel);

// The one rounding rule of the magnification: floor(v * dpi / 96 + 1/2).
// A length is magnified as the difference of its magnified edges, so that
// controls that meet at 96 dpi still meet at every scale.
int Magnify(int units, int dpi);
int Magnify(double units, int dpi);
int MagnifyLength(int start, int length, int dpi);

// The number of whole units that fit in a length of device pixels.
int UnitsIn(int pixels, int dpi);

// Pixel height of a font of `points` points at `dpi` (points * dpi / 72,
// rounded like MulDiv): at 96 dpi the height the program always had, and in
// proportion to its magnified control at every other resolution.
int FontPixelHeight(int points, int dpi);

}  // namespace mirobel
