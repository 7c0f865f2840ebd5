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
    ScenePainter& painter = painter_;
    // The kept card carries its portrait, so a portrait off the card is
    // composed.
    if (!Empty(scene.portrait) && !Inside(scene.portrait, scene.card)) return ComposeTiles(scene, area);
    const auto plan = PlanCopies(area, scene.card, scene.tickerLine);
    if (!plan || (!Empty(plan->card) && !painter.KeepCard(scene)) ||
        (!Empty(plan->ticker) && !painter.KeepTicker(scene)))
        return ComposeTiles(scene, area);
    for (const Rect& piece : plan->black) painter.FillBlack(piece);
    if (!Empty(plan->card)) painter.CopyCard(scene, plan->card);
    if (!Empty(plan->ticker)) painter.CopyTicker(scene, plan->ticker);
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
