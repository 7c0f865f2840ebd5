#include "core/base/Random.h"

#include <chrono>

namespace mirobel {

void ClockRandom::Reseed() {
    auto now = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    engine_.seed(now ^ (reseeds_++ * 0x9E3779B97F4A7C15ull));
}

double ClockRandom::Next() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

}  // namespace mirobel
