// The show's state, all of it, the seams a show draws through and the
// show's constants. The state is a value: whoever runs a show (the Windows
// show window, the native session, a test) owns one and hands it to the
// rules (Card.h, FramePainter.h), together with the settings record and the
// seams. Nothing here is process-wide, so a process may run any number of
// shows.
#pragma once
#include <cstdint>
#include <string>

#include "core/base/Faces.h"
#include "core/base/Seams.h"
#include "core/settings/Settings.h"

namespace mirobel {

// How a frame reaches the window: the whole screen every frame, or only what
// changed (old and new card, the stretch of the ticker strip its text
// covered and covers) after a whole first frame.
enum class Presentation { WholeScreen, ChangedRects };

// One show. Each member starts at its start value, so ShowState{} is a show
// that has not begun: the first PrepareCard sets PoemNo, CommentLen and
// TickerX, and the writer's alternation starts at 0.
struct ShowState {
    // Card state.
    int16_t PoemNo = 0;
    int16_t FirstCard = 1;
    int16_t WritePhase = 0;  // 0..4 phrases, 5 poet, 8 written, 9 finished
    int16_t WriteCharNo = 0;
    int16_t WriteX = 0;
    int16_t WriteY = 0;
    int16_t VersePause = 0;
    int16_t TickerX = 0;
    int32_t CommentLen = 0;
    // Motion state.
    int16_t CardX = 0, CardY = 0;
    int16_t CardDirX = 1, CardDirY = 1;
    int16_t WriteToggle = 0;
    // Pointer and caret as the end-of-show test last saw them.
    int16_t LastCursorX = 0, LastCursorY = 0;
    int16_t LastCaretX = 0, LastCaretY = 0;

    // This program's own bookkeeping, beside the classic names.
    // Twips per unit of the show's layout; fonts and the ticker estimate
    // follow it. The show works in units (pixels at 96 dpi), so on the
    // screen this is 15 at every resolution; the rules still take any value.
    int showTwipsPerPixel = 15;
    // Resolution of the show's drawing surfaces: every position and size the
    // rules give in units reaches the surfaces magnified by showDpi / 96
    // (through the magnifying seams, where the owner puts them), and the
    // surfaces make their fonts at this resolution.
    int showDpi = 96;
    // The screen in whole units (SetShowScreen, core/show/Magnifier.h).
    int screenWidth = 0, screenHeight = 0;
    Presentation presentation = Presentation::ChangedRects;
    // The changed-rectangle presentation's bookkeeping: whether the next
    // frame must be presented whole, the columns of the ticker strip that the
    // last frame's text covered (empty when right <= left), and the measured
    // width of the current poem's rendering (measured once per poem).
    bool wholeFrameDue = true;
    int tickerSpanLeft = 0, tickerSpanRight = 0;
    int16_t tickerWidthPoem = -1;
    int tickerWidth = 0;
    // Where an ordered show's first card stands from the start of its range
    // or set (or, descending, its end), wrapped within it: the show on
    // monitor k opens k poems further along, so that monitors do not repeat
    // each other.
    int sequenceOffset = 0;
    // How many kana of this card's opening the writer brushes in vermilion,
    // its deciding sounds (0 with the setting off).
    int16_t kimarijiKana = 0;
};

// What a show draws through and takes its random numbers from, all of them
// its owner's: two shows in one process draw into their own targets.
struct ShowSeams {
    CardCanvas& canvas;
    FrameTarget& frame;
    RandomSource& random;
};

inline constexpr int kCardWidth = 400;
inline constexpr int kCardHeight = 260;
inline constexpr int kCardStep = 2;
inline constexpr int kTickerStep = 20;
inline constexpr int kTickerOffset = 30;  // ticker top above the bottom edge
// The ticker's glyphs may reach a unit or two beyond their advance.
inline constexpr int kTickerSlack = 2;
inline constexpr int kPortraitLeft = 58, kPortraitTop = 41, kPortraitWidth = 126, kPortraitHeight = 180;
inline constexpr int kWriterPause = 8;

inline constexpr const wchar_t* kTitleLine = L"ミロベルスクリーンセイバーVer1.5";
// The card's credit is this lead and the authors' name (kAuthorName), drawn
// from the footer's start; the name is short enough for the whole line to
// end inside the card at every scale.
inline constexpr const wchar_t* kCreditLead = L"produced by ";

// The card's colours.
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kDarkCyan{0, 128, 128};
inline constexpr Rgb kWhite{255, 255, 255};

}  // namespace mirobel
