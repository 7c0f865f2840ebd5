#include "core/show/FramePlan.h"

namespace mirobel {

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

}  // namespace mirobel
