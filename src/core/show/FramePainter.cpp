// One frame of the show: motion, bounces, writer, portrait and ticker.
#include <algorithm>

#include "core/base/Globals.h"
#include "core/base/Platform.h"
#include "core/show/ShowState.h"
#include "core/poems/Poems.h"

namespace mirobel {

namespace {
// Columns of the ticker strip; empty when right <= left.
struct Span {
    int left = 0, right = 0;
    bool Empty() const { return right <= left; }
};

int TickerWidthOfCard() {
    if (g_tickerWidthPoem != PoemNo) {
        g_tickerWidth = g_platform.frame->TickerWidth(CommentTable(PoemNo));
        g_tickerWidthPoem = PoemNo;
    }
    return g_tickerWidth;
}

Span Union(Span a, Span b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.left, b.left), std::max(a.right, b.right)};
}

Span Clip(Span s, int width) { return {std::max(s.left, 0), std::min(s.right, width)}; }
}  // namespace

int TickerCharWidth(int twipsPerPixel) { return static_cast<int>(twipsPerPixel * 12 / 15.0 * 1.4); }

void PaintFrame() {
    FrameTarget& frame = *g_platform.frame;
    // The rules work in units; the seams magnify them to the screen's pixels.
    const int width = ShowScreenWidth(), height = ShowScreenHeight();
    const Rect screen{0, 0, width, height};
    const bool whole = g_presentation == Presentation::WholeScreen || g_wholeFrameDue;
    const int oldX = CardX, oldY = CardY;

    if (whole) frame.Clear(screen);

    CardX = static_cast<int16_t>(CardDirX == 1 ? CardX + kCardStep : CardX - kCardStep);
    CardY = static_cast<int16_t>(CardDirY == 1 ? CardY + kCardStep : CardY - kCardStep);
    // Each edge in turn: a finished card is replaced at the contact, and the
    // card steps back and turns.
    const auto bounce = [](int16_t& position, int16_t& direction, int16_t newDirection) {
        if (WritePhase == 9) PrepareCard();
        position = static_cast<int16_t>(position + newDirection * kCardStep);
        direction = newDirection;
    };
    if (CardX > width - kCardWidth) bounce(CardX, CardDirX, -1);
    if (CardX < 0) bounce(CardX, CardDirX, 1);
    if (CardY > height - kCardHeight) bounce(CardY, CardDirY, -1);
    if (CardY < 0) bounce(CardY, CardDirY, 1);

    // Only the old and the new card place and the ticker strip can differ
    // from the previous frame; the rest of the work surface is still black.
    const Rect cards{std::min(oldX, static_cast<int>(CardX)), std::min(oldY, static_cast<int>(CardY)),
                     std::max(oldX, static_cast<int>(CardX)) + kCardWidth,
                     std::max(oldY, static_cast<int>(CardY)) + kCardHeight};
    if (WriteToggle == 0) {
        WriteNextChar();
        WriteToggle = 1;
    } else {
        WriteToggle = 0;
    }

    // The writer draws on the card canvas only, so clearing the work surface
    // after it gives the same frame and lets the ticker follow the phase.
    // This frame's text starts one step left of where the last one stood
    // (or off screen at the right edge after a restart).
    Span next;
    if (WritePhase > 4) {
        const int textWidth = TickerWidthOfCard();
        next = {TickerX - kTickerStep - kTickerSlack, TickerX - kTickerStep + textWidth + kTickerSlack};
    }
    const Span changedSpan = Clip(Union({g_tickerSpanLeft, g_tickerSpanRight}, next), width);
    const Rect strip{changedSpan.left, height - kTickerOffset, changedSpan.right, height};
    const Rect card{CardX, CardY, CardX + kCardWidth, CardY + kCardHeight};
    if (!whole) {
        frame.Clear(cards);
        if (!changedSpan.Empty()) frame.Clear(strip);
    }

    frame.CopyCard(card);

    if (WritePhase > 4) {
        const int left = CardX + kPortraitLeft, top = CardY + kPortraitTop;
        frame.StretchPortrait({left, top, left + kPortraitWidth, top + kPortraitHeight}, PoemNo);
        TickerX = static_cast<int16_t>(TickerX - kTickerStep);
        const double estimate = static_cast<double>(TickerCharWidth(g_showTwipsPerPixel)) * CommentLen;
        if (width - estimate > TickerX) WritePhase = 9;
        if (-estimate > TickerX) TickerX = static_cast<int16_t>(width);
        frame.DrawTicker(TickerX, height - kTickerOffset, CommentTable(PoemNo));
        g_tickerSpanLeft = TickerX - kTickerSlack;
        g_tickerSpanRight = TickerX + TickerWidthOfCard() + kTickerSlack;
    } else {
        g_tickerSpanLeft = g_tickerSpanRight = 0;
    }

    if (whole) {
        frame.Present(screen);
    } else {
        frame.Present(cards);
        if (!changedSpan.Empty()) frame.Present(strip);
    }
    g_wholeFrameDue = false;
}

}  // namespace mirobel
