// Arithmetic on the one rectangle type (core/base/Seams.h): edges left and
// top inside, right and bottom outside; empty when it has no area.
#pragma once
#include <vector>

#include "core/base/Seams.h"

namespace mirobel {

bool Empty(const Rect& r);
Rect Intersect(const Rect& a, const Rect& b);
// The smallest rectangle holding both (an empty one adds nothing).
Rect Union(const Rect& a, const Rect& b);
bool Overlap(const Rect& a, const Rect& b);
// An empty rectangle lies inside anything.
bool Inside(const Rect& inner, const Rect& outer);
Rect Moved(const Rect& r, int dx, int dy);
// What of `from` lies outside `hole`, as at most four rectangles added to out.
void AddOutside(const Rect& from, const Rect& hole, std::vector<Rect>& out);

}  // namespace mirobel
