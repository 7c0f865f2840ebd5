#include "x11/show/ShowLink.h"

#include <algorithm>

#include "core/base/Globals.h"
#include "core/base/Platform.h"
#include "core/base/Random.h"
#include "core/base/Scaling.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "core/show/ShowRecord.h"
#include "core/show/ShowRules.h"
#include "core/show/ShowState.h"

namespace mirobel::x11 {

namespace {
// Display scaling is not wired yet: the show runs at the 96-dpi geometry.
// This is the one value to change for it.
constexpr int kDisplayScale = 1;
constexpr int kDpi = 96 * kDisplayScale;
constexpr int kWindowsTimerMinimum = 10;

}  // namespace

struct ShowSession::Impl {
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<ShowRecorder> recorder;
    std::FILE* recordFile = nullptr;
};

ShowSession::ShowSession(const ShowSettings& settings, std::optional<uint64_t> seed) : impl_(new Impl) {
    g_showTwipsPerPixel = static_cast<int>(TwipsPerPixel(kDpi));
    canvas_ = std::make_unique<CairoCanvas>(faces_, kDpi);
    frame_ = std::make_unique<CairoFrame>(faces_, *canvas_, kDpi, ScaledFontSize(12, g_showTwipsPerPixel));
    if (seed) impl_->random = std::make_unique<SeededRandom>(*seed);
    else impl_->random = std::make_unique<ClockRandom>();
    g_platform.canvas = canvas_.get();
    g_platform.frame = frame_.get();
    g_platform.random = impl_->random.get();
    Speed = settings.speed;
    SelectType = settings.order;
    SelectFirst = settings.first;
    SelectEnd = settings.last;
}

ShowSession::~ShowSession() { g_platform = {}; }

void ShowSession::Start(int width, int height) {
    DispWidth = static_cast<int16_t>(width);
    DispHeight = static_cast<int16_t>(height);
    frame_->SetScreen(width, height);
    ResetShowState();
    WriteToggle = 0;
    FillPoemTables();
    NormaliseRange();
    PrepareCard();
    PaintFrame();
}

void ShowSession::NextFrame() { PaintFrame(); }

void ShowSession::Resize(int width, int height) {
    DispWidth = static_cast<int16_t>(width);
    DispHeight = static_cast<int16_t>(height);
    frame_->SetScreen(width, height);
    // The rules would walk a card that is now outside back in a few pixels
    // a frame; put it at the edge at once. A screen smaller than the card
    // keeps it at the top-left corner.
    CardX = static_cast<int16_t>(std::clamp<int>(CardX, 0, std::max(0, width - kCardWidth)));
    CardY = static_cast<int16_t>(std::clamp<int>(CardY, 0, std::max(0, height - kCardHeight)));
}

int ShowSession::FrameInterval() const {
    // The Windows timer behind the table never fires more often than every
    // 10 ms, so the fastest speeds run at that pace there; here too, or the
    // card would race across the screen ten times faster.
    return std::max(kWindowsTimerMinimum, Timer1IntervalFor(Speed));
}

void ShowSession::PresentWholeFrames(bool whole) {
    g_presentation = whole ? Presentation::WholeScreen : Presentation::ChangedRects;
}

void ShowSession::Record(std::FILE* out, long frame) {
    if (!impl_->recorder || impl_->recordFile != out) {
        impl_->recorder = std::make_unique<ShowRecorder>(out);
        impl_->recordFile = out;
    }
    impl_->recorder->AfterFrame(frame);
}

ShowSession::Position ShowSession::Now() const { return {CardX, CardY, PoemNo, DispWidth, DispHeight}; }

}  // namespace mirobel::x11
