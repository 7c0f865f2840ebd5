#include "x11/show/CairoShowSession.h"

#include "core/base/Scaling.h"

namespace mirobel::x11 {

CairoShowSession::CairoShowSession(const Settings& settings, std::optional<uint64_t> seed, int dpi) {
    // As on Windows: the rules work in units (pixels at 96 dpi, the state's
    // twips), and the magnifying seams hand the cairo surfaces pixels at the
    // show's resolution.
    dpi = dpi > 0 ? dpi : 96;
    canvas_ = std::make_unique<CairoCanvas>(faces_, dpi);
    frame_ = std::make_unique<CairoFrame>(faces_, *canvas_, dpi, ScaledFontSize(12, kUnitTwips));
    compositor_ = std::make_unique<Compositor>(*frame_);
    driver_ = std::make_unique<ShowDriver>(settings, *canvas_, *compositor_, seed, dpi);
}

CairoShowSession::~CairoShowSession() = default;

}  // namespace mirobel::x11
