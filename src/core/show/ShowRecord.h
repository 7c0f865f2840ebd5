// Repeatable runs of the show, for comparing two platform layers: a random
// sequence fixed by a seed, and a per-frame record of what the rules decided
// (where the card is, which poem it carries, where the ticker stands). Both
// layers drive the same rules, so their records must match line for line
// whatever their rasterisers make of the glyphs.
#pragma once
#include <cstdint>
#include <cstdio>

#include "core/show/ShowState.h"

namespace mirobel {

// The same numbers on every platform and compiler for a given seed; Reseed
// does not restart it, so a run does not depend on the clock.
struct SeededRandom : RandomSource {
    explicit SeededRandom(uint64_t seed) : state(seed) {}
    void Reseed() override {}
    double Next() override;
    uint64_t state;
};

// Writes one line per frame: "frame x y poem tickerX phase", and marks the
// frames where a new card appears ("card n poem", followed by "kimariji k"
// when it marks its first k kana) and where the ticker of
// the same card starts again at the right edge ("ticker n").
class ShowRecorder {
public:
    explicit ShowRecorder(std::FILE* out) : out_(out) {}
    // Call after frame n of the show has been painted.
    void AfterFrame(const ShowState& show, long n);

private:
    std::FILE* out_;
    int lastPhase_ = 0;
    int lastTickerX_ = 0;
    bool first_ = true;
};

}  // namespace mirobel
