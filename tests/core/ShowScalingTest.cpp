// The show at a display scaling is the 96-dpi show magnified: the rules run
// in units, the same poems come at the same frames, and every position and
// size that reaches the surfaces is the 96-dpi one magnified.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/base/Platform.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "core/show/Magnifier.h"
#include "core/show/ShowState.h"
#include "support/Fakes.h"
#include "support/ShowFakes.h"
#include "core/show/Card.h"
#include "core/show/FramePainter.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
struct ShowRun {
    RecordingCanvas canvas;
    RecordingFrame frame;
    std::vector<int> cardChanges, tickerRestarts, poems;
    std::vector<size_t> canvasTextsAt, frameEventsAt;  // per frame, how many had been recorded
};

// Plays `frames` frames of a random-order show on a screen of the given
// pixels at the given resolution, with the same random numbers every time.
void Play(ShowRun& run, int dpi, int width, int height, int frames) {
    ScriptedRandom random;
    random.values = {0.42, 0.07, 0.93, 0.55, 0.18, 0.71, 0.30, 0.86};
    RecordingBoxes boxes;
    g_platform = {&boxes, nullptr, nullptr, nullptr};
    run.frame.dpi = dpi;
    MagnifiedCanvas canvas(run.canvas, dpi);
    MagnifiedFrame frame(run.frame, dpi);
    ShowState show;
    show.showDpi = dpi;
    SetShowScreen(show, width, height);
    const Settings settings{.SelectFirst = 1, .SelectEnd = 100, .SelectType = 1};
    PrepareCard(show, settings, canvas, random);
    run.poems.push_back(show.PoemNo);
    for (int i = 1; i <= frames; ++i) {
        int poem = show.PoemNo, ticker = show.TickerX;
        PaintFrame(show, settings, {canvas, frame, random});
        if (show.PoemNo != poem) run.cardChanges.push_back(i), run.poems.push_back(show.PoemNo);
        if (show.TickerX > ticker) run.tickerRestarts.push_back(i);
        run.canvasTextsAt.push_back(run.canvas.texts.size());
        run.frameEventsAt.push_back(run.frame.events.size());
    }
    g_platform = {};
}

Rect Twice(const Rect& r) { return {2 * r.left, 2 * r.top, 2 * r.right, 2 * r.bottom}; }

class ShowScaling : public ::testing::Test {
protected:
    void SetUp() override { FillPoemTables(); }
};
}  // namespace

TEST_F(ShowScaling, AtTwiceTheResolutionEveryFrameIsThe96DpiFrameMagnified) {
    // 1024 x 640 units: on a 2048 x 1280 screen at 192 dpi.
    const int frames = 4000;
    ShowRun base, scaled;
    Play(base, 96, 1024, 640, frames);
    Play(scaled, 192, 2048, 1280, frames);

    ASSERT_GE(base.cardChanges.size(), 3u) << "the run must change cards";
    ASSERT_GE(base.tickerRestarts.size(), 1u) << "the run must restart a ticker";
    EXPECT_EQ(scaled.poems, base.poems);
    EXPECT_EQ(scaled.cardChanges, base.cardChanges);
    EXPECT_EQ(scaled.tickerRestarts, base.tickerRestarts);
    EXPECT_EQ(scaled.canvasTextsAt, base.canvasTextsAt);
    EXPECT_EQ(scaled.frameEventsAt, base.frameEventsAt);

    // The card: panel, white field, outline twice as thick, texts at twice
    // the place in the same point sizes (the surface makes them at 192 dpi).
    ASSERT_EQ(scaled.canvas.fills.size(), base.canvas.fills.size());
    for (size_t i = 0; i < base.canvas.fills.size(); ++i)
        EXPECT_EQ(scaled.canvas.fills[i], Twice(base.canvas.fills[i])) << i;
    ASSERT_EQ(scaled.canvas.outlines.size(), base.canvas.outlines.size());
    for (size_t i = 0; i < base.canvas.outlines.size(); ++i) {
        EXPECT_EQ(scaled.canvas.outlines[i].rect, Twice(base.canvas.outlines[i].rect));
        EXPECT_EQ(scaled.canvas.outlines[i].lineWidth, 2);
    }
    ASSERT_EQ(scaled.canvas.texts.size(), base.canvas.texts.size());
    for (size_t i = 0; i < base.canvas.texts.size(); ++i) {
        const DrawnText &a = base.canvas.texts[i], &b = scaled.canvas.texts[i];
        ASSERT_EQ(b.text, a.text) << i;
        EXPECT_EQ(b.x, 2 * a.x) << i;
        EXPECT_EQ(b.y, 2 * a.y) << i;
        EXPECT_EQ(b.size, a.size) << i;
        EXPECT_EQ(b.face, a.face) << i;
    }

    // The frames: card, portraits, ticker and what is
    // presented, each at twice the place and size.
    ASSERT_EQ(scaled.frame.events.size(), base.frame.events.size());
    for (size_t i = 0; i < base.frame.events.size(); ++i) {
        const FrameEvent &a = base.frame.events[i], &b = scaled.frame.events[i];
        ASSERT_EQ(b.kind, a.kind) << i;
        EXPECT_EQ(b.rect, Twice(a.rect)) << i;
        EXPECT_EQ(b.text, a.text) << i;
        EXPECT_EQ(b.poem, a.poem) << i;
    }
}

TEST_F(ShowScaling, TheCardAndItsMotionAreMagnifiedFromTheFirstFrame) {
    ShowRun run;
    Play(run, 192, 3840, 2160, 1);
    // The first frame: the card one step (2 units) in from the corner.
    const FrameEvent* card = nullptr;
    const FrameEvent* present = nullptr;
    for (const FrameEvent& e : run.frame.events) {
        if (e.kind == FrameEvent::Card) card = &e;
        if (e.kind == FrameEvent::Present && !present) present = &e;
    }
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->rect, (Rect{4, 4, 804, 524}));
    // The first frame is presented whole: the screen in units, magnified.
    ASSERT_NE(present, nullptr);
    EXPECT_EQ(present->rect, (Rect{0, 0, 3840, 2160}));
}

TEST_F(ShowScaling, BounceLimitsAndTickerFollowTheScreenInUnits) {
    // 150 %: a 1920 x 1080 screen holds 1280 x 720 units.
    ShowRun run;
    ShowState show;
    show.showDpi = 144;
    SetShowScreen(show, 1920, 1080);
    EXPECT_EQ(show.screenWidth, 1280);
    EXPECT_EQ(show.screenHeight, 720);
    Play(run, 144, 1920, 1080, 1200);
    int rightmost = 0, lowest = 0, tickerTop = -1;
    for (const FrameEvent& e : run.frame.events) {
        if (e.kind == FrameEvent::Card) rightmost = std::max(rightmost, e.rect.right), lowest = std::max(lowest, e.rect.bottom);
        if (e.kind == FrameEvent::Ticker) tickerTop = e.rect.top;
    }
    // The card turns at the screen's edges: its far edge reaches them
    // within one magnified step (2 units, 3 pixels) and never beyond.
    EXPECT_LE(rightmost, 1920);
    EXPECT_GE(rightmost, 1920 - 3);
    EXPECT_LE(lowest, 1080);
    EXPECT_GE(lowest, 1080 - 3);
    // The ticker's top is 30 units, 45 pixels, above the bottom.
    EXPECT_EQ(tickerTop, 1080 - 45);
    // The restart estimate is 16 units a character (24 pixels at 150 %).
    EXPECT_EQ(TickerCharWidth(show.showTwipsPerPixel), 16);
}
