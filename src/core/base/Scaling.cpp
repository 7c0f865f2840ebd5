#include "core/base/Scaling.h"

#include <cmath>

namespace mirobel {

int TwipsPerPixel(int dpi) {
    if (dpi <= 0) return 15;
    return static_cast<int>(std::lround(1440.0 / dpi));
}

int ScaledFontSize(int size, int twipsPerPixel) {
    // Integer arithmetic is exact here, and floor division keeps negative
    // requests consistent with the rule.
    long product = static_cast<long>(size) * twipsPerPixel;
    long q = product / 15;
    if (product % 15 != 0 && product < 0) --q;
    return static_cast<int>(q);
}

}  // namespace mirobel
