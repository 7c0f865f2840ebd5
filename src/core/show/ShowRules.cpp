#include "core/show/ShowRules.h"

namespace mirobel {

int Timer1IntervalFor(int16_t speed) {
    switch (speed) {
        case 1: return 1;
        case 2: return 10;
        case 3: return 50;
        case 4: return 100;
        default: return 500;
    }
}

bool ShowEnds(int16_t reason, const InputPositions& now, const ShowState& show) {
    const InputPositions last{show.LastCaretX, show.LastCaretY, show.LastCursorX, show.LastCursorY};
    return reason == kTickUserInput || !(now == last);
}

void RecordPositions(ShowState& show, const InputPositions& now) {
    show.LastCaretX = now.caretX, show.LastCaretY = now.caretY;
    show.LastCursorX = now.cursorX, show.LastCursorY = now.cursorY;
}

}  // namespace mirobel
