#include "core/show/ShowDriver.h"

#include <algorithm>

#include "core/poems/Poems.h"
#include "core/show/Card.h"
#include "core/show/FramePainter.h"
#include "core/show/Magnifier.h"
#include "core/show/ShowRules.h"

namespace mirobel {

namespace {
// The Windows timer behind the speed table never fires more often than every
// 10 ms, so the fastest speeds run at that pace there; elsewhere too, or the
// card would race across the screen ten times faster.
constexpr int kWindowsTimerMinimum = 10;

int ShowDpi(int dpi) { return dpi > 0 ? dpi : 96; }
}  // namespace

ShowDriver::ShowDriver(const Settings& settings, CardCanvas& canvas, FrameTarget& frame,
                       std::optional<uint64_t> seed, int dpi)
    : settings_(settings),
      magnifiedCanvas_(std::make_unique<MagnifiedCanvas>(canvas, ShowDpi(dpi))),
      magnifiedFrame_(std::make_unique<MagnifiedFrame>(frame, ShowDpi(dpi))) {
    show_.showDpi = ShowDpi(dpi);
    if (seed) random_ = std::make_unique<SeededRandom>(*seed);
    else random_ = std::make_unique<ClockRandom>();
    NormaliseRange(settings_);
}

ShowDriver::~ShowDriver() = default;

void ShowDriver::Start(int width, int height, const StartSteps& first) {
    if (first.pace) first.pace(TimerInterval());
    if (first.music) first.music();
    SetShowScreen(show_, width, height);
    FillPoemTables();
    PrepareCard(show_, settings_, *magnifiedCanvas_, *random_);
    TellNewCard();
    NextFrame();
}

void ShowDriver::NextFrame() {
    PaintFrame(show_, settings_, {*magnifiedCanvas_, *magnifiedFrame_, *random_});
    TellNewCard();
}

void ShowDriver::TellNewCard() {
    if (show_.PoemNo == cardTold_) return;
    cardTold_ = show_.PoemNo;
    if (onNewCard_) onNewCard_(cardTold_);
}

void ShowDriver::Resize(int width, int height) {
    SetShowScreen(show_, width, height);
    // A screen smaller than the card keeps it at the top-left corner.
    show_.CardX = static_cast<int16_t>(std::clamp<int>(show_.CardX, 0, std::max(0, show_.screenWidth - kCardWidth)));
    show_.CardY =
        static_cast<int16_t>(std::clamp<int>(show_.CardY, 0, std::max(0, show_.screenHeight - kCardHeight)));
}

int ShowDriver::TimerInterval() const { return Timer1IntervalFor(settings_.Speed); }

int ShowDriver::FrameInterval() const { return std::max(kWindowsTimerMinimum, TimerInterval()); }

void ShowDriver::Record(std::FILE* out, long frame) {
    if (!recorder_ || recordFile_ != out) {
        recorder_ = std::make_unique<ShowRecorder>(out);
        recordFile_ = out;
    }
    recorder_->AfterFrame(show_, frame);
}

}  // namespace mirobel
