// The random numbers of the show and the introduction window: drawn from a
// generator that is seeded again from the clock before every draw, so that
// each draw is as unforeseeable as the clock. Tests install sequences of
// their own.
#pragma once
#include <cstdint>
#include <random>

#include "core/base/Seams.h"

namespace mirobel {

// The platform's source: a clock-seeded generator.
struct ClockRandom : RandomSource {
    void Reseed() override;
    double Next() override;

private:
    std::mt19937_64 engine_;
    // Two reseeds within one tick of the clock must still differ.
    uint64_t reseeds_ = 0;
};

}  // namespace mirobel
