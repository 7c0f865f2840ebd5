#include "web/show/ShowLink.h"

#include <algorithm>

#include "core/base/Random.h"
#include "core/base/Scaling.h"
#include "core/poems/Poems.h"
#include "core/show/Card.h"
#include "core/show/FramePainter.h"
#include "core/show/Magnifier.h"
#include "core/show/ShowRecord.h"
#include "core/show/ShowRules.h"
#include "core/show/ShowState.h"

namespace mirobel::web {

namespace {
// The Windows timer behind the speed table never fires more often than
// every 10 ms; the fastest speeds run at that pace here too.
constexpr int kWindowsTimerMinimum = 10;
}  // namespace

struct ShowSession::Impl {
    Impl(const Settings& chosen, int dpi)
        : settings(chosen),
          canvas(dpi),
          frame(canvas, dpi, ScaledFontSize(12, kUnitTwips)),
          compositor(frame),
          magnifiedCanvas(canvas, dpi),
          magnifiedFrame(compositor, dpi) {
        show.showDpi = dpi;
    }
    ShowSeams Seams() { return {magnifiedCanvas, magnifiedFrame, *random}; }

    Settings settings;
    ShowState show;
    WebCanvas canvas;
    CanvasFrame frame;
    Compositor compositor;
    // The rules work in units; these hand the canvases pixels.
    MagnifiedCanvas magnifiedCanvas;
    MagnifiedFrame magnifiedFrame;
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<ShowRecorder> recorder;
    std::FILE* recordFile = nullptr;
    int poemAsked = 0;
    bool wholeNext = false;
};

ShowSession::ShowSession(const Settings& settings, std::optional<uint64_t> seed, int dpi) {
    impl_ = std::make_unique<Impl>(settings, dpi > 0 ? dpi : 96);
    if (seed) impl_->random = std::make_unique<SeededRandom>(*seed);
    else impl_->random = std::make_unique<ClockRandom>();
    NormaliseRange(impl_->settings);
}

ShowSession::~ShowSession() = default;

void ShowSession::Start(int width, int height) {
    SetShowScreen(impl_->show, width, height);
    FillPoemTables();
    PrepareCard(impl_->show, impl_->settings, impl_->magnifiedCanvas, *impl_->random);
    AfterFrame();
    PaintFrame(impl_->show, impl_->settings, impl_->Seams());
}

void ShowSession::NextFrame() {
    ShowState& show = impl_->show;
    if (impl_->wholeNext) show.presentation = Presentation::WholeScreen;
    PaintFrame(show, impl_->settings, impl_->Seams());
    if (impl_->wholeNext) show.presentation = Presentation::ChangedRects, impl_->wholeNext = false;
    AfterFrame();
}

void ShowSession::AfterFrame() {
    // A new card has its portrait decoded while its poem is written.
    if (impl_->show.PoemNo != impl_->poemAsked) {
        impl_->poemAsked = impl_->show.PoemNo;
        impl_->frame.CardCame(impl_->poemAsked);
    }
}

void ShowSession::Resize(int width, int height) {
    ShowState& show = impl_->show;
    SetShowScreen(show, width, height);
    // The rules would walk a card that is now outside back in a few units
    // a frame; put it at the edge at once. A screen smaller than the card
    // keeps it at the top-left corner.
    show.CardX = static_cast<int16_t>(std::clamp<int>(show.CardX, 0, std::max(0, show.screenWidth - kCardWidth)));
    show.CardY = static_cast<int16_t>(std::clamp<int>(show.CardY, 0, std::max(0, show.screenHeight - kCardHeight)));
    impl_->wholeNext = true;
}

void ShowSession::Repaint(const Rect& r) { impl_->compositor.Repaint(r); }

int ShowSession::FrameInterval() const {
    return std::max(kWindowsTimerMinimum, Timer1IntervalFor(impl_->settings.Speed));
}

void ShowSession::Record(std::FILE* out, long frame) {
    if (!impl_->recorder || impl_->recordFile != out) {
        impl_->recorder = std::make_unique<ShowRecorder>(out);
        impl_->recordFile = out;
    }
    impl_->recorder->AfterFrame(impl_->show, frame);
}

const ShowState& ShowSession::State() const { return impl_->show; }

}  // namespace mirobel::web
