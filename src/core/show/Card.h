// The card: which poem comes next, the card's base drawn on the canvas, and
// the poem written onto it one character per call.
#pragma once
#include <string>

#include "core/settings/Settings.h"
#include "core/show/ShowState.h"

namespace mirobel {

// A range the show cannot use (a hand-edited store) falls back to 1..100.
void NormaliseRange(Settings& settings);

// The rendering the ticker scrolls for poem n, in the record's language.
const std::wstring& TickerText(int poemNo, const Settings& settings);
// The face and size the ticker draws that rendering in: the Japanese one in
// the Mincho face, the English one in a Latin face, which reads better than
// the Mincho's narrow typewriter letters.
struct TickerFont {
    const wchar_t* face;
    int points;
};
TickerFont TickerFontFor(const Settings& settings);

// Chooses the next poem by the record's range (or study set) and order,
// draws the card's base and sets the writer and the ticker back for it.
// Traps its failures.
void PrepareCard(ShowState& show, const Settings& settings, CardCanvas& canvas, RandomSource& random);
// Writes the next character of the card, pauses before the lower verse, or
// does nothing once the card is written.
void WriteNextChar(ShowState& show, CardCanvas& canvas);

}  // namespace mirobel
