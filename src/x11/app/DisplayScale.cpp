#include "x11/app/DisplayScale.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/base/Scaling.h"

namespace mirobel::x11 {

std::optional<double> XftDpi(const char* resources) {
    if (!resources || !*resources) return std::nullopt;
    XrmInitialize();
    XrmDatabase db = XrmGetStringDatabase(resources);
    if (!db) return std::nullopt;
    char* type = nullptr;
    XrmValue value{};
    std::optional<double> dpi;
    if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
        // The value's size counts its terminating zero; do not rely on it.
        const std::string text(value.addr, strnlen(value.addr, value.size));
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        while (end && (*end == ' ' || *end == '\t')) ++end;
        if (end != text.c_str() && end && *end == '\0' && std::isfinite(v) && v > 0) dpi = v;
    }
    XrmDestroyDatabase(db);
    return dpi;
}

int ShowDpi(std::optional<int> scalePercent, const char* resources) {
    if (scalePercent) return static_cast<int>(std::lround(96.0 * *scalePercent / 100.0));
    const auto xft = XftDpi(resources);
    if (!xft) return 96;
    // A desktop below 100 % or beyond 400 % is shown at the nearest end of
    // the range that -scale offers.
    return static_cast<int>(std::lround(std::clamp(*xft, 96.0 * kMinScale / 100, 96.0 * kMaxScale / 100)));
}

}  // namespace mirobel::x11
