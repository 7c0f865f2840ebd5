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
constexpr int kWindowsTimerMinimum = 10;
}  // namespace

struct ShowSession::Impl {
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<ShowRecorder> recorder;
    std::FILE* recordFile = nullptr;
};

ShowSession::ShowSession(const ShowSettings& settings, std::optional<uint64_t> seed, int dpi) : impl_(new Impl) {
    // As on Windows: the rules work in units (pixels at 96 dpi), whose twips
    // are 15 at every resolution, and the magnifying seams hand the cairo
    // surfaces pixels at the show's resolution.
    g_showDpi = dpi > 0 ? dpi : 96;
    g_showTwipsPerPixel = static_cast<int>(kUnitTwips);
    canvas_ = std::make_unique<CairoCanvas>(faces_, g_showDpi);
    frame_ = std::make_unique<CairoFrame>(faces_, *canvas_, g_showDpi, ScaledFontSize(12, g_showTwipsPerPixel));
    if (seed) impl_->random = std::make_unique<SeededRandom>(*seed);
    else impl_->random = std::make_unique<ClockRandom>();
    g_platform.canvas = canvas_.get();
    g_platform.frame = frame_.get();
    g_platform.random = impl_->random.get();
    MagnifyShowSurfaces(g_platform);
    Speed = settings.speed;
    SelectType = settings.order;
    SelectFirst = settings.first;
    SelectEnd = settings.last;
}

ShowSession::~ShowSession() {
    g_platform = {};
    g_showDpi = 96;
}

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
    // The rules would walk a card that is now outside back in a few units
    // a frame; put it at the edge at once. A screen smaller than the card
    // keeps it at the top-left corner.
    CardX = static_cast<int16_t>(std::clamp<int>(CardX, 0, std::max(0, ShowScreenWidth() - kCardWidth)));
    CardY = static_cast<int16_t>(std::clamp<int>(CardY, 0, std::max(0, ShowScreenHeight() - kCardHeight)));
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

ShowSession::Position ShowSession::Now() const {
    return {Magnify(static_cast<int>(CardX), g_showDpi), Magnify(static_cast<int>(CardY), g_showDpi), PoemNo, DispWidth,
            DispHeight};
}

}  // namespace mirobel::x11
