// The show's resolution on Linux, read as Linux programs read the desktop's
// scaling: Xft.dpi in the X resource database, which the desktops set (192
// at 200 %). The -scale option wins over it.
#pragma once
#include <optional>

namespace mirobel::x11 {

// Xft.dpi from the text of the resource database (as
// XResourceManagerString returns it; null or empty when none is set), or
// nothing when it is missing or not a positive number.
std::optional<double> XftDpi(const char* resources);

// The show's dots per inch: -scale N gives 96 * N / 100; else Xft.dpi held
// to the range of -scale; else 96. Whole dots per inch, as Windows has them.
int ShowDpi(std::optional<int> scalePercent, const char* resources);

}  // namespace mirobel::x11
