// The companion windows' rules that need no window: the commentary viewer's
// chooser texts and fields, the help text's layout, the cyclists' step.
#pragma once
#include <string>
#include <vector>

#include "core/base/Random.h"
#include "core/base/Seams.h"

namespace mirobel {

// --- commentary viewer -------------------------------------------------
inline constexpr int kChooserEntries = 100;

// Entry k (0-based) of the chooser: " 1  あきのたの かりほのいほの" for k = 0.
// The poem tables must have been filled.
std::wstring ChooserEntryText(int k);

// The poem's deciding kana as the card writes and marks them (in its old
// spelling: 逢ふことの is decided by あふこ, read おうこ), between the words
// around them: 決まり字「あさぼらけう」.
struct KimarijiLine {
    std::wstring lead;    // "決まり字「"
    std::wstring marked;  // in vermilion, as on the card
    std::wstring tail;    // "」"
};

struct CommentaryTexts {
    std::wstring upper;    // fields 1, 2, 3 joined by blanks
    std::wstring lower;    // fields 4, 5
    std::wstring poet;     // field 6
    std::wstring comment;  // the rendering without its four-character marker
    KimarijiLine kimariji;
    // In English, the poet's name in Latin letters alone, for a box too
    // narrow for both names.
    std::wstring poetLatin;
};
// For readers of English the verses as recited in Latin letters, the
// poet's name in them before the name the card writes, the English
// rendering, and the deciding kana named in English.
CommentaryTexts CommentaryFor(int poemNo, Language language = Language::Japanese);

// The viewer's own words.
struct ViewerTexts {
    const wchar_t* caption;   // the window's and its title strip's
    const wchar_t* rows[5];   // LabelType(0..4): chooser, upper, lower, poet, rendering
    const wchar_t* show;      // Command1
    const wchar_t* close;     // Command2
};
const ViewerTexts& ViewerTextsIn(Language language);

// Position the viewer shows for a chooser selection: nothing selected counts
// as entry 0.
int ChosenEntry(int selected);

// --- help window ---------------------------------------------------------
struct HelpTexts {
    const wchar_t* caption;
    const wchar_t* ok;
};
const HelpTexts& HelpTextsIn(Language language);

inline constexpr int kHelpLines = 25;
inline constexpr int kHelpColumns = 77;

// --- software introduction window ---------------------------------------
struct IntroductionTexts {
    const wchar_t* caption;
    const wchar_t* introduction;  // CR LF between lines
    const wchar_t* ok;
};
const IntroductionTexts& IntroductionTextsIn(Language language);

inline constexpr int kCyclists = 4;
inline constexpr int kCyclistWrapLeft = 336;

struct CyclistPlace {
    double left;
    int top;
};
// The staggered line the cyclists start from: ImageSensyu(i) at
// 240 - 32 i, 300 - 8 i.
CyclistPlace CyclistStart(int i);

// One cyclist's move for a draw r in [0, 1) at t twips per pixel: left by
// r * 200 / t, back to 336 once the left edge is below 100 / t.
double CyclistStep(double left, double r, int twipsPerPixel);

// One tick of the animation: reseed, then move cyclists 0 to 3 in order,
// one draw each.
void CyclistsTick(CyclistPlace (&cyclists)[kCyclists], RandomSource& random, int twipsPerPixel);

}  // namespace mirobel
