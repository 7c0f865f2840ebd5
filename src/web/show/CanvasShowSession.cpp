#include "web/show/CanvasShowSession.h"

#include "core/base/Scaling.h"
#include "core/show/ShowDriver.h"

namespace mirobel::web {

struct CanvasShowSession::Impl {
    Impl(const Settings& settings, std::optional<uint64_t> seed, int dpi)
        : canvas(dpi),
          frame(canvas, dpi, ScaledFontSize(12, kUnitTwips)),
          compositor(frame),
          driver(settings, canvas, compositor, seed, dpi) {
        // A new card has its portrait decoded while its poem is written.
        driver.OnNewCard([this](int poem) { frame.CardCame(poem, compositor.KeptPortrait()); });
    }

    WebCanvas canvas;
    CanvasFrame frame;
    Compositor compositor;
    ShowDriver driver;
    bool wholeNext = false;
};

CanvasShowSession::CanvasShowSession(const Settings& settings, std::optional<uint64_t> seed, int dpi)
    : impl_(std::make_unique<Impl>(settings, seed, dpi > 0 ? dpi : 96)) {}

CanvasShowSession::~CanvasShowSession() = default;

void CanvasShowSession::Start(int width, int height) { impl_->driver.Start(width, height); }

void CanvasShowSession::NextFrame() {
    ShowState& show = impl_->driver.State();
    if (impl_->wholeNext) show.presentation = Presentation::WholeScreen;
    impl_->driver.NextFrame();
    if (impl_->wholeNext) show.presentation = Presentation::ChangedRects, impl_->wholeNext = false;
}

void CanvasShowSession::Resize(int width, int height) {
    impl_->driver.Resize(width, height);
    impl_->wholeNext = true;
}

void CanvasShowSession::Repaint(const Rect& r) { impl_->compositor.Repaint(r); }

int CanvasShowSession::FrameInterval() const { return impl_->driver.FrameInterval(); }

void CanvasShowSession::Record(std::FILE* out, long frame) { impl_->driver.Record(out, frame); }

const ShowState& CanvasShowSession::State() const { return impl_->driver.State(); }

}  // namespace mirobel::web
