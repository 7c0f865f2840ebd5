// The poets' portraits: decoded from the program's JPEG resources through
// WIC (COM must be started on the thread first), one card's at a time.
#pragma once
#include "win32/base/Surface.h"

namespace mirobel {

// The picture of a poem's poet, decoded into out. False if missing.
bool DecodePortrait(int poemNo, Surface& out);

// Only the shown card's portrait is kept: a show that runs for hours would
// otherwise end up holding all hundred, and decoding one per card is cheap.
struct ShownPortrait {
    Surface picture;
    int poemNo = 0;
    Surface* Of(int poem) {
        if (poem < 1 || poem > 100) return nullptr;
        if (poemNo == poem && picture.dc) return &picture;
        poemNo = 0;
        if (!DecodePortrait(poem, picture)) return nullptr;
        poemNo = poem;
        return &picture;
    }
};

}  // namespace mirobel
