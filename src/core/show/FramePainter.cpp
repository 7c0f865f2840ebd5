// One frame of the show: motion, bounces, writer, portrait and ticker.
#include <algorithm>

#include "core/base/Globals.h"
#include "core/show/ShowState.h"
#include "core/poems/Poems.h"

namespace mirobel {

int16_t CardX = 0, CardY = 0;
int16_t CardDirX = 1, CardDirY = 1;
int16_t WriteToggle = 0;
Presentation presentation = Presentation::ChangedRects;

namespace {
bool wholeFrameDue = true;
// Columns of the ticker strip that the last frame's text covered; empty
// when it showed none.
struct Span {
    int left = 0, right = 0;
    bool Empty() const { return right <= left; }
};
Span tickerSpan;
// Glyphs may reach a pixel or two beyond their advance.
constexpr int kTickerSlack = 2;

int TickerWidthOfCard() {
    static int measuredPoem = -1;
    static int width = 0;
    if (measuredPoem != PoemNo) {
        width = showPorts.frame->TickerWidth(CommentTable(PoemNo));
        measuredPoem = PoemNo;
    }
    return width;
}

Span Union(Span a, Span b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.left, b.left), std::max(a.right, b.right)};
}

Span Clip(Span s, int width) { return {std::max(s.left, 0), std::min(s.right, width)}; }
}  // namespace

int TickerCharWidth(int twipsPerPixel) { return static_cast<int>(twipsPerPixel * 12 / 15.0 * 1.4); }

void ResetShowState() {
    CardX = CardY = 0;
    CardDirX = CardDirY = 1;
    TickerX = DispWidth;
    WritePhase = VersePause = WriteX = WriteY = WriteCharNo = 0;
    FirstCard = 1;
    wholeFrameDue = true;
    tickerSpan = {};
}

void PaintFrame() {
    FrameTarget& frame = *showPorts.frame;
    const Rect screen{0, 0, DispWidth, DispHeight};
    const bool whole = presentation == Presentation::WholeScreen || wholeFrameDue;
    const int oldX = CardX, oldY = CardY;

    if (whole) frame.Clear(screen);

    CardX = static_cast<int16_t>(CardDirX == 1 ? CardX + kCardStep : CardX - kCardStep);
    CardY = static_cast<int16_t>(CardDirY == 1 ? CardY + kCardStep : CardY - kCardStep);
    if (CardX > DispWidth - kCardWidth) {
        if (WritePhase == 9) PrepareCard();
        CardX = static_cast<int16_t>(CardX - kCardStep);
        CardDirX = -1;
    }
    if (CardX < 0) {
        if (WritePhase == 9) PrepareCard();
        CardX = static_cast<int16_t>(CardX + kCardStep);
        CardDirX = 1;
    }
    if (CardY > DispHeight - kCardHeight) {
        if (WritePhase == 9) PrepareCard();
        CardY = static_cast<int16_t>(CardY - kCardStep);
        CardDirY = -1;
    }
    if (CardY < 0) {
        if (WritePhase == 9) PrepareCard();
        CardY = static_cast<int16_t>(CardY + kCardStep);
        CardDirY = 1;
    }

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
        int width = TickerWidthOfCard();
        next = {TickerX - kTickerStep - kTickerSlack, TickerX - kTickerStep + width + kTickerSlack};
    }
    const Span changedSpan = Clip(Union(tickerSpan, next), DispWidth);
    const Rect strip{changedSpan.left, DispHeight - kTickerOffset, changedSpan.right, DispHeight};
    if (!whole) {
        frame.Clear(cards);
        if (!changedSpan.Empty()) frame.Clear(strip);
    }

    frame.CopyCard(CardX, CardY);

    if (WritePhase > 4) {
        frame.StretchPortrait(CardX + kPortraitLeft, CardY + kPortraitTop, PoemNo);
        TickerX = static_cast<int16_t>(TickerX - kTickerStep);
        const double estimate = static_cast<double>(TickerCharWidth(ShowTwipsPerPixel)) * CommentLen;
        if (DispWidth - estimate > TickerX) WritePhase = 9;
        if (-estimate > TickerX) TickerX = DispWidth;
        frame.DrawTicker(TickerX, DispHeight - kTickerOffset, CommentTable(PoemNo));
        tickerSpan = {TickerX - kTickerSlack, TickerX + TickerWidthOfCard() + kTickerSlack};
    } else {
        tickerSpan = {};
    }

    if (whole) {
        frame.Present(screen);
    } else {
        frame.Present(cards);
        if (!changedSpan.Empty()) frame.Present(strip);
    }
    wholeFrameDue = false;
}

}  // namespace mirobel
