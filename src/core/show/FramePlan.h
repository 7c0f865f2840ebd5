// How a presented area of a frame reaches the screen with the fewest
// copies: the card (kept with its portrait) and the ticker's line are each
// copied from a picture the platform keeps, and black fills the rest, each
// pixel written once. Both drawings follow this one plan.
#pragma once
#include <optional>
#include <vector>

#include "core/base/Rects.h"

namespace mirobel {

struct CopyPlan {
    std::vector<Rect> black;  // filled black
    Rect card{};              // copied from the kept card (empty: none)
    Rect ticker{};            // copied from the kept ticker line (empty: none)
};

// The plan for `area`, given where the card and the ticker's line lie
// (empty rectangles when they are not shown). No plan where the line runs
// over the card: there its text is drawn on the card, and the area is
// composed piece by piece instead.
std::optional<CopyPlan> PlanCopies(const Rect& area, const Rect& card, const Rect& ticker);

}  // namespace mirobel
