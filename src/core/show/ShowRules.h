// Rules of the full-screen show that need no platform: its pace and the test
// that ends it.
#pragma once
#include <cstdint>

#include "core/show/ShowState.h"

namespace mirobel {

// Timer1's interval in ms for the speed setting (1 fastest .. 5 slowest);
// every value outside 1..4 is the slowest pace.
int Timer1IntervalFor(int16_t speed);
inline constexpr int kTimer2Interval = 10;
inline constexpr int kTimer1StartInterval = 50;

// Caret and pointer positions as the show records them, in 16 bits.
struct InputPositions {
    int16_t caretX = 0, caretY = 0, cursorX = 0, cursorY = 0;
    bool operator==(const InputPositions&) const = default;
};

// Reasons for a show step.
enum : int16_t { kTickTimer = 0, kTickUserInput = 1 };

// The show ends on user input, or on any change of the four positions since
// the previous test (the show's LastCaretX .. LastCursorY): no threshold,
// no grace period.
bool ShowEnds(int16_t reason, const InputPositions& now, const ShowState& show);
// Keeps the positions for the next test.
void RecordPositions(ShowState& show, const InputPositions& now);

}  // namespace mirobel
