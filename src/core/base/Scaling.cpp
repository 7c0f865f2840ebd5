#include "core/base/Scaling.h"

#include <cmath>
#include <cstdlib>

namespace mirobel {

double TwipsPerPixel(int dpi) {
    if (dpi <= 0) return 15.0;
    return 1440.0 / dpi;
}

int ScaledFontSize(int size, double twipsPerPixel) {
    // 1440 / dpi is not exact in binary for every dpi (168: 8.571...), so a
    // quotient that is whole in exact arithmetic may come out a hair below
    // it; the tolerance is far below the smallest real fraction (1/dpi).
    return static_cast<int>(std::floor(size * twipsPerPixel / 15.0 + 1e-9));
}

namespace {
long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
}  // namespace

int Magnify(int units, int dpi) {
    if (dpi <= 0) dpi = 96;
    // Integer arithmetic keeps the rule exact: floor((v * dpi + 48) / 96).
    return static_cast<int>(FloorDiv(static_cast<long long>(units) * dpi + 48, 96));
}

int Magnify(double units, int dpi) {
    if (dpi <= 0) dpi = 96;
    return static_cast<int>(std::floor(units * dpi / 96.0 + 0.5));
}

int MagnifyLength(int start, int length, int dpi) { return Magnify(start + length, dpi) - Magnify(start, dpi); }

int UnitsIn(int pixels, int dpi) {
    if (dpi <= 0) dpi = 96;
    return static_cast<int>(FloorDiv(static_cast<long long>(pixels) * 96, dpi));
}

int FontPixelHeight(int points, int dpi) {
    if (dpi <= 0) dpi = 96;
    // MulDiv rounds half away from zero.
    long long n = static_cast<long long>(points) * dpi;
    long long q = (std::llabs(n) * 2 + 72) / 144;
    return static_cast<int>(n < 0 ? -q : q);
}

}  // namespace mirobel
