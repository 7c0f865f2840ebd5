// One frame of the show: motion, bounces, writer, portrait and ticker.
#include "core/show/FramePainter.h"

#include <algorithm>

#include "core/poems/Poems.h"
#include "core/show/Card.h"

namespace mirobel {

namespace {
// Columns of the ticker strip; empty when right <= left.
struct Span {
    int left = 0, right = 0;
    bool Empty() const { return right <= left; }
};

int TickerWidthOfCard(ShowState& show, const Settings& settings, FrameTarget& frame) {
    if (show.tickerWidthPoem != show.PoemNo) {
        show.tickerWidth = frame.TickerWidth(TickerText(show.PoemNo, settings));
        show.tickerWidthPoem = show.PoemNo;
    }
    return show.tickerWidth;
}

Span Union(Span a, Span b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.left, b.left), std::max(a.right, b.right)};
}

Span Clip(Span s, int width) { return {std::max(s.left, 0), std::min(s.right, width)}; }

// What the frame shows: the card where it now stands and, once the poem is
// written, the portrait on it and the rendering along the bottom.
Scene SceneOf(const ShowState& show, const Settings& settings, int tickerWidth) {
    Scene scene;
    scene.card = {show.CardX, show.CardY, show.CardX + kCardWidth, show.CardY + kCardHeight};
    if (show.WritePhase > 4) {
        const int left = show.CardX + kPortraitLeft, top = show.CardY + kPortraitTop;
        const int bottom = show.screenHeight, lineTop = bottom - kTickerOffset;
        scene.portrait = {left, top, left + kPortraitWidth, top + kPortraitHeight};
        scene.portraitPoem = show.PoemNo;
        scene.tickerX = show.TickerX, scene.tickerY = lineTop;
        scene.tickerLine = {show.TickerX - kTickerSlack, lineTop, show.TickerX + tickerWidth + kTickerSlack, bottom};
        scene.tickerText = TickerText(show.PoemNo, settings);
    }
    return scene;
}
}  // namespace

int TickerCharWidth(int twipsPerPixel) { return static_cast<int>(twipsPerPixel * 12 / 15.0 * 1.4); }

namespace {
// The portrait and the ticker follow the phase the writer has just reached.
// This frame's text starts one step left of where the last one stood (or off
// screen at the right edge after a restart). Returns the text's width, and
// the columns it covers in `next`.
int StepTicker(ShowState& show, const Settings& settings, FrameTarget& frame, Span& next) {
    if (show.WritePhase <= 4) return 0;
    const int width = show.screenWidth;
    const int textWidth = TickerWidthOfCard(show, settings, frame);
    next = {show.TickerX - kTickerStep - kTickerSlack, show.TickerX - kTickerStep + textWidth + kTickerSlack};
    show.TickerX = static_cast<int16_t>(show.TickerX - kTickerStep);
    // The classic estimate counts every character as wide as a kana; a Latin
    // letter is about half that, so an English line would leave the card
    // waiting and the strip empty for as long again: it goes by its measured
    // width.
    const double estimate = settings.language == Language::English
                                ? static_cast<double>(textWidth)
                                : static_cast<double>(TickerCharWidth(show.showTwipsPerPixel)) * show.CommentLen;
    if (width - estimate > show.TickerX) show.WritePhase = 9;
    if (-estimate > show.TickerX) show.TickerX = static_cast<int16_t>(width);
    return textWidth;
}
}  // namespace

void PaintFrame(ShowState& show, const Settings& settings, const ShowSeams& seams) {
    // The rules work in units; the seams magnify them to the screen's pixels.
    const int width = show.screenWidth, height = show.screenHeight;
    const bool whole = show.presentation == Presentation::WholeScreen || show.wholeFrameDue;
    const int oldX = show.CardX, oldY = show.CardY;

    show.CardX = static_cast<int16_t>(show.CardDirX == 1 ? show.CardX + kCardStep : show.CardX - kCardStep);
    show.CardY = static_cast<int16_t>(show.CardDirY == 1 ? show.CardY + kCardStep : show.CardY - kCardStep);
    // Each edge in turn: a finished card is replaced at the contact, and the
    // card steps back and turns.
    const auto bounce = [&](int16_t& position, int16_t& direction, int16_t newDirection) {
        if (show.WritePhase == 9) PrepareCard(show, settings, seams.canvas, seams.random);
        position = static_cast<int16_t>(position + newDirection * kCardStep);
        direction = newDirection;
    };
    if (show.CardX > width - kCardWidth) bounce(show.CardX, show.CardDirX, -1);
    if (show.CardX < 0) bounce(show.CardX, show.CardDirX, 1);
    if (show.CardY > height - kCardHeight) bounce(show.CardY, show.CardDirY, -1);
    if (show.CardY < 0) bounce(show.CardY, show.CardDirY, 1);

    if (show.WriteToggle == 0) {
        WriteNextChar(show, seams.canvas);
        show.WriteToggle = 1;
    } else {
        show.WriteToggle = 0;
    }

    Span next;
    const int textWidth = StepTicker(show, settings, seams.frame, next);
    // Only the old and the new card place and the stretch of the ticker's
    // strip that its text covered or covers can differ from the last frame.
    std::vector<Rect> areas;
    if (whole) {
        areas.push_back({0, 0, width, height});
    } else {
        areas.push_back({std::min(oldX, static_cast<int>(show.CardX)), std::min(oldY, static_cast<int>(show.CardY)),
                         std::max(oldX, static_cast<int>(show.CardX)) + kCardWidth,
                         std::max(oldY, static_cast<int>(show.CardY)) + kCardHeight});
        const Span changed = Clip(Union({show.tickerSpanLeft, show.tickerSpanRight}, next), width);
        if (!changed.Empty()) areas.push_back({changed.left, height - kTickerOffset, changed.right, height});
    }
    const Scene scene = SceneOf(show, settings, textWidth);
    FrameTarget& frame = seams.frame;
    frame.Present(scene, areas);
    // The columns the text covers now, for the next frame's changed strip.
    show.tickerSpanLeft = scene.tickerLine.left, show.tickerSpanRight = scene.tickerLine.right;
    show.wholeFrameDue = false;
}

}  // namespace mirobel
