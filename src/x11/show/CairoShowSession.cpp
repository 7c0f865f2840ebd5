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

void CairoShowSession::PresentWholeFrames(bool whole) {
    driver_->State().presentation = whole ? Presentation::WholeScreen : Presentation::ChangedRects;
}

void CairoShowSession::Start(int width, int height) {
    width_ = width, height_ = height;
    driver_->Start(width, height);
}

void CairoShowSession::NextFrame() { driver_->NextFrame(); }

void CairoShowSession::Resize(int width, int height) {
    width_ = width, height_ = height;
    driver_->Resize(width, height);
}

CairoShowSession::Position CairoShowSession::Now() const {
    const ShowState& show = driver_->State();
    return {Magnify(static_cast<int>(show.CardX), show.showDpi), Magnify(static_cast<int>(show.CardY), show.showDpi),
            show.PoemNo, width_, height_};
}

}  // namespace mirobel::x11
