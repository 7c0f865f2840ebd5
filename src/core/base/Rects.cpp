#include "core/base/Rects.h"

#include <algorithm>

namespace mirobel {

bool Empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect Intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

Rect Union(const Rect& a, const Rect& b) {
    if (Empty(a)) return b;
    if (Empty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool Overlap(const Rect& a, const Rect& b) { return !Empty(Intersect(a, b)); }

bool Inside(const Rect& inner, const Rect& outer) {
    return Empty(inner) || (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
                            inner.bottom <= outer.bottom);
}

Rect Moved(const Rect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

void AddOutside(const Rect& from, const Rect& hole, std::vector<Rect>& out) {
    if (Empty(from)) return;
    const Rect common = Intersect(from, hole);
    if (Empty(common)) {
        out.push_back(from);
        return;
    }
    const Rect pieces[] = {{from.left, from.top, from.right, common.top},
                           {from.left, common.bottom, from.right, from.bottom},
                           {from.left, common.top, common.left, common.bottom},
                           {common.right, common.top, from.right, common.bottom}};
    for (const Rect& p : pieces)
        if (!Empty(p)) out.push_back(p);
}

}  // namespace mirobel
