#include "core/show/Compositor.h"

#include <algorithm>
#include <optional>

namespace mirobel {

namespace {
// Floor division, for grid cells left of or above the origin.
int CellStart(int at, int size) { return at >= 0 ? at - at % size : at - ((at % size) + size) % size; }

// How an area goes to the screen as copies: black where neither the card
// nor the line lies, each pixel written once. None where the line runs over
// the card: there its text is drawn on the card.
struct CopyPlan {
    std::vector<Rect> black;
    Rect card{};    // empty: none
    Rect ticker{};  // empty: none
};

std::optional<CopyPlan> PlanCopies(const Rect& area, const Rect& card, const Rect& ticker) {
    CopyPlan plan;
    plan.card = Intersect(card, area);
    plan.ticker = Intersect(ticker, area);
    if (Empty(plan.card)) plan.card = {};
    if (Empty(plan.ticker)) plan.ticker = {};
    if (Overlap(plan.card, plan.ticker)) return std::nullopt;
    std::vector<Rect> outsideCard;
    AddOutside(area, plan.card, outsideCard);
    for (const Rect& piece : outsideCard) AddOutside(piece, plan.ticker, plan.black);
    return plan;
}
}  // namespace

void Compositor::Present(const Scene& scene, const std::vector<Rect>& areas) {
    shown_ = scene;
    if (!painter_.Begin()) return;
    bool presented = false;
    for (const Rect& area : areas) {
        if (Empty(area)) continue;
        if (presented) painter_.BetweenAreas();
        PresentArea(scene, area);
        presented = true;
    }
    painter_.End();
}

void Compositor::Repaint(const Rect& area) {
    if (Empty(area) || !painter_.Begin()) return;
    PresentArea(shown_, area);
    painter_.End();
}

void Compositor::PresentArea(const Scene& scene, const Rect& area) {
    // The kept card carries its portrait, so a portrait off the card is
    // composed.
    if (!Empty(scene.portrait) && !Inside(scene.portrait, scene.card)) return ComposeTiles(scene, area);
    const auto plan = PlanCopies(area, scene.card, scene.tickerLine);
    if (!plan || (!Empty(plan->card) && !KeepCard(scene)) || (!Empty(plan->ticker) && !KeepLine(scene)))
        return ComposeTiles(scene, area);
    for (const Rect& piece : plan->black) painter_.FillBlack(piece);
    const auto copy = [&](Kept which, const Rect& to, const Rect& from) {
        if (!Empty(to)) painter_.CopyKept(which, to.left - from.left, to.top - from.top, to);
    };
    copy(Kept::Card, plan->card, scene.card);
    copy(Kept::Line, plan->ticker, scene.tickerLine);
}

bool Compositor::MakeKept(Kept which, const Rect& size) {
    const int largest = painter_.LargestKept();
    return size.right <= largest && size.bottom <= largest && painter_.MakeKept(which, size.right, size.bottom);
}

// The kept card is a copy of the canvas's top-left corner, brought up to
// date only where the canvas was drawn on and where a portrait comes, goes
// or is another: on most frames nothing, while the poem is written one
// character. A portrait the painter could not draw yet is tried again on
// the next frame.
bool Compositor::KeepCard(const Scene& scene) {
    const Rect& card = scene.card;
    const Rect size{0, 0, card.right - card.left, card.bottom - card.top};
    if (!Inside(size, painter_.CanvasBounds())) return false;
    Rect stale = painter_.TakeCanvasChanged();
    if (size != card_.size) {
        card_ = {};
        if (!MakeKept(Kept::Card, size)) return false;
        card_.size = stale = size;
    }
    const Rect box = Empty(scene.portrait) ? Rect{} : Moved(scene.portrait, -card.left, -card.top);
    const int poem = Empty(box) ? 0 : scene.portraitPoem;
    if (poem != card_.poem || box != card_.box) stale = Union(stale, Union(card_.box, box));
    stale = Intersect(stale, size);
    if (Empty(stale)) return true;
    const bool drawn = painter_.DrawKeptCard(stale, poem, box);
    card_.poem = drawn ? poem : 0;
    card_.box = drawn ? box : Rect{};
    return true;
}

// The whole line is drawn once per text: drawing the text again on every
// frame costs more than anything else in a frame, the more so at a large
// scale. At a scale whose step is not whole pixels the text's place in the
// line shifts by a pixel now and then as the line moves, and is drawn again.
bool Compositor::KeepLine(const Scene& scene) {
    const Rect& line = scene.tickerLine;
    const Rect size{0, 0, line.right - line.left, line.bottom - line.top};
    const int x = scene.tickerX - line.left, y = scene.tickerY - line.top;
    if (size != line_.size) {
        line_ = {};
        if (!MakeKept(Kept::Line, size)) return false;
        line_.size = size;
    } else if (scene.tickerText == line_.text && x == line_.x && y == line_.y) {
        return true;
    }
    painter_.DrawKeptLine(scene.tickerText, x, y);
    line_.text = scene.tickerText, line_.x = x, line_.y = y;
    return true;
}

void Compositor::ComposeTiles(const Scene& scene, const Rect& area) {
    ScenePainter& painter = painter_;
    const int tw = std::max(1, painter.TileWidth()), th = std::max(1, painter.TileHeight());
    // Tiles on a fixed grid: a pixel is always composed in the same tile,
    // so a repaint gives exactly the pixels of the first paint.
    for (int top = CellStart(area.top, th); top < area.bottom; top += th) {
        for (int left = CellStart(area.left, tw); left < area.right; left += tw) {
            const Rect tile = Intersect({left, top, left + tw, top + th}, area);
            if (Empty(tile)) continue;
            // Most of a whole frame is plain black.
            if (Overlap(tile, scene.card) || Overlap(tile, scene.portrait) || Overlap(tile, scene.tickerLine))
                painter.ComposeTile(scene, tile);
            else
                painter.FillBlack(tile);
        }
    }
}

}  // namespace mirobel
