#include "core/base/Random.h"

#include <chrono>
#include <cstdint>

namespace mirobel {

void ClockRandom::Reseed() {
    auto now = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    // Each show has a generator of its own; shows on several monitors that
    // reseed within one tick of a coarse clock must still draw apart.
    engine_.seed(now ^ (reseeds_++ * 0x9E3779B97F4A7C15ull) ^
                 (reinterpret_cast<uintptr_t>(this) * 0xC2B2AE3D27D4EB4Full));
}

double ClockRandom::Next() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

}  // namespace mirobel
