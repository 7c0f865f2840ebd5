// The show's state, all of it, and its rules (card choice, writer, motion,
// ticker). The state is defined in ShowState.cpp; the rules draw through the
// seams of the platform bundle (core/base/Platform.h).
#pragma once
#include <cstdint>
#include <string>

#include "core/base/Faces.h"
#include "core/base/Platform.h"
#include "core/base/Seams.h"

namespace mirobel {

// Card state.
extern int16_t PoemNo;
extern int16_t FirstCard;
extern int16_t WritePhase;  // 0..4 phrases, 5 poet, 8 written, 9 finished
extern int16_t WriteCharNo;
extern int16_t WriteX;
extern int16_t WriteY;
extern int16_t VersePause;
extern int16_t TickerX;
extern int32_t CommentLen;
// Motion state.
extern int16_t CardX, CardY;
extern int16_t CardDirX, CardDirY;
extern int16_t WriteToggle;

// State of this program's own beyond the classic list (g_ names).
// Twips per unit of the show's layout; fonts and the ticker estimate follow
// it. The show works in units (pixels at 96 dpi), so on the screen this is
// 15 at every resolution; the rules still take any value.
extern int g_showTwipsPerPixel;
// Resolution of the show's drawing surfaces: every position and size the
// rules give in units reaches the surfaces magnified by g_showDpi / 96
// (through the magnifying seams below, where the platform puts them), and
// the surfaces make their fonts at this resolution. 96 draws units as they
// are.
extern int g_showDpi;
// The changed-rectangle presentation's bookkeeping: whether the next frame
// must be presented whole, the columns of the ticker strip that the last
// frame's text covered (empty when right <= left), and the measured width
// of the current poem's rendering (measured once per poem).
extern bool g_wholeFrameDue;
extern int g_tickerSpanLeft, g_tickerSpanRight;
extern int16_t g_tickerWidthPoem;
extern int g_tickerWidth;

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

// How a frame reaches the window: the whole screen every frame, or only what
// changed (old and new card, the stretch of the ticker strip its text
// covered and covers) after a whole first frame.
enum class Presentation { WholeScreen, ChangedRects };
extern Presentation g_presentation;

// Start values of the show, set before the first card. PoemNo, CommentLen
// and WriteToggle keep what they hold: the first card sets the first two,
// and the writer's alternation simply goes on.
void ResetShowState();
// Every piece of show state back to its value at process start, as a fresh
// process finds it; tests start from here.
void ResetShowGlobals();
// A range the show cannot use (a hand-edited store) falls back to 1..100.
void NormaliseRange();

void PrepareCard();
void WriteNextChar();
void PaintFrame();

// Estimated width of one ticker character, in units.
int TickerCharWidth(int twipsPerPixel);

// The screen (DispWidth x DispHeight pixels) in whole units of the show.
int ShowScreenWidth();
int ShowScreenHeight();

// Seams that take the rules' units and hand pixels on to the surfaces
// below them, magnified by g_showDpi / 96 with the one rounding rule of the
// windows (each edge magnified, so the card, its panel and the strips stay
// flush). Widths measured by the surface come back as units, rounded up so
// that a strip cleared in units covers every pixel of the text.
// Puts the magnifying seams in front of the card canvas and the frame
// target of the bundle (once; a second call changes nothing).
void MagnifyShowSurfaces(Platform& platform);

}  // namespace mirobel
