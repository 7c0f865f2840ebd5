#include "x11/show/ShowLink.h"

#include <algorithm>

#include "core/base/Random.h"
#include "core/base/Scaling.h"
#include "core/poems/Poems.h"
#include "core/show/Magnifier.h"
#include "core/show/ShowRecord.h"
#include "core/show/ShowRules.h"
#include "core/show/ShowState.h"
#include "core/show/Card.h"
#include "core/show/FramePainter.h"

namespace mirobel::x11 {

namespace {
constexpr int kWindowsTimerMinimum = 10;
}  // namespace

struct ShowSession::Impl {
    Impl(const Settings& chosen, CairoCanvas& canvas, FrameTarget& frame, int dpi)
        : settings(chosen), magnifiedCanvas(canvas, dpi), magnifiedFrame(frame, dpi) {
        show.showDpi = dpi;
    }
    ShowSeams Seams() { return {magnifiedCanvas, magnifiedFrame, *random}; }

    Settings settings;
    ShowState show;
    // The rules work in units; these hand the cairo surfaces pixels.
    MagnifiedCanvas magnifiedCanvas;
    MagnifiedFrame magnifiedFrame;
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<ShowRecorder> recorder;
    std::FILE* recordFile = nullptr;
    int width = 0, height = 0;  // the screen in pixels
};

ShowSession::ShowSession(const Settings& settings, std::optional<uint64_t> seed, int dpi) {
    // As on Windows: the rules work in units (pixels at 96 dpi, the state's
    // twips), and the magnifying seams hand the cairo surfaces pixels at the
    // show's resolution.
    dpi = dpi > 0 ? dpi : 96;
    canvas_ = std::make_unique<CairoCanvas>(faces_, dpi);
    frame_ = std::make_unique<CairoFrame>(faces_, *canvas_, dpi, ScaledFontSize(12, kUnitTwips));
    compositor_ = std::make_unique<Compositor>(*frame_);
    impl_ = std::make_unique<Impl>(settings, *canvas_, *compositor_, dpi);
    if (seed) impl_->random = std::make_unique<SeededRandom>(*seed);
    else impl_->random = std::make_unique<ClockRandom>();
    NormaliseRange(impl_->settings);
}

ShowSession::~ShowSession() = default;

void ShowSession::PresentWholeFrames(bool whole) {
    impl_->show.presentation = whole ? Presentation::WholeScreen : Presentation::ChangedRects;
}

void ShowSession::Start(int width, int height) {
    impl_->width = width, impl_->height = height;
    SetShowScreen(impl_->show, width, height);
    FillPoemTables();
    PrepareCard(impl_->show, impl_->settings, impl_->magnifiedCanvas, *impl_->random);
    PaintFrame(impl_->show, impl_->settings, impl_->Seams());
}

void ShowSession::NextFrame() { PaintFrame(impl_->show, impl_->settings, impl_->Seams()); }

void ShowSession::Resize(int width, int height) {
    impl_->width = width, impl_->height = height;
    ShowState& show = impl_->show;
    SetShowScreen(show, width, height);
    // The rules would walk a card that is now outside back in a few units
    // a frame; put it at the edge at once. A screen smaller than the card
    // keeps it at the top-left corner.
    show.CardX = static_cast<int16_t>(std::clamp<int>(show.CardX, 0, std::max(0, show.screenWidth - kCardWidth)));
    show.CardY = static_cast<int16_t>(std::clamp<int>(show.CardY, 0, std::max(0, show.screenHeight - kCardHeight)));
}

int ShowSession::FrameInterval() const {
    // The Windows timer behind the table never fires more often than every
    // 10 ms, so the fastest speeds run at that pace there; here too, or the
    // card would race across the screen ten times faster.
    return std::max(kWindowsTimerMinimum, Timer1IntervalFor(impl_->settings.Speed));
}

void ShowSession::Record(std::FILE* out, long frame) {
    if (!impl_->recorder || impl_->recordFile != out) {
        impl_->recorder = std::make_unique<ShowRecorder>(out);
        impl_->recordFile = out;
    }
    impl_->recorder->AfterFrame(impl_->show, frame);
}

ShowSession::Position ShowSession::Now() const {
    const ShowState& show = impl_->show;
    return {Magnify(static_cast<int>(show.CardX), show.showDpi), Magnify(static_cast<int>(show.CardY), show.showDpi),
            show.PoemNo, impl_->width, impl_->height};
}

const ShowState& ShowSession::State() const { return impl_->show; }

}  // namespace mirobel::x11
