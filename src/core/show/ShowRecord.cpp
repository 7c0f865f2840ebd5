#include "core/show/ShowRecord.h"

namespace mirobel {

double SeededRandom::Next() {
    // splitmix64: exact in 64-bit unsigned arithmetic, so identical under
    // every compiler; the top 53 bits make a double in [0, 1).
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
}

void ShowRecorder::AfterFrame(const ShowState& show, long n) {
    if (!out_) return;
    // A new card starts its writing again; the poem may be the same one.
    const bool newCard = first_ || show.WritePhase < lastPhase_;
    if (newCard) {
        // How many kana the card marks, when it marks any.
        if (show.kimarijiKana > 0) std::fprintf(out_, "card %ld %d kimariji %d\n", n, show.PoemNo, show.kimarijiKana);
        else std::fprintf(out_, "card %ld %d\n", n, show.PoemNo);
    }
    // The ticker only moves left; a step to the right without a new card
    // (which puts it back at the edge anyway) is the ticker starting over.
    else if (show.TickerX > lastTickerX_) std::fprintf(out_, "ticker %ld\n", n);
    std::fprintf(out_, "frame %ld %d %d %d %d %d\n", n, show.CardX, show.CardY, show.PoemNo, show.TickerX,
                 show.WritePhase);
    lastPhase_ = show.WritePhase;
    lastTickerX_ = show.TickerX;
    first_ = false;
}

}  // namespace mirobel
