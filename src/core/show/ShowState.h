// State of the show and the seams through which it draws. The rules that use
// them (card choice, writer, motion, ticker) live in the portable core; the
// Win32 layer implements the seams with GDI, tests with recording fakes.
#pragma once
#include <cstdint>
#include <string>

#include "core/base/Faces.h"
#include "core/base/Random.h"

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
// Twips per pixel of the screen; fonts and the ticker estimate follow it.
extern int ShowTwipsPerPixel;

inline constexpr int kCardWidth = 400;
inline constexpr int kCardHeight = 260;
inline constexpr int kCardStep = 2;
inline constexpr int kTickerStep = 20;
inline constexpr int kTickerOffset = 30;  // ticker top above the bottom edge
inline constexpr int kPortraitLeft = 58, kPortraitTop = 41, kPortraitWidth = 126, kPortraitHeight = 180;
inline constexpr int kWriterPause = 8;

inline constexpr const wchar_t* kTitleLine = L"ミロベルスクリーンセイバーVer1.5";
// The card's credit. "produced by the Mirobel authors" would run past the
// card's right edge from where the footer starts; this is the shortest form
// that names the authors and fits.
inline constexpr const wchar_t* kCardCredit = L"Mirobel authors";

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kDarkCyan{0, 128, 128};
inline constexpr Rgb kWhite{255, 255, 255};

struct Rect {
    int left, top, right, bottom;
    bool operator==(const Rect&) const = default;
};

// The card canvas: keeps what is drawn on it between frames.
struct CardCanvas {
    virtual ~CardCanvas() = default;
    virtual void FillRect(const Rect& r, Rgb colour) = 0;
    // One-pixel outline, inside filled with the fill colour.
    virtual void OutlineRect(const Rect& r, Rgb outline, Rgb fill) = 0;
    virtual void SetFont(const std::wstring& face, int size, bool bold) = 0;
    virtual void SetFontSize(int size) = 0;
    // Glyphs only, top-left at (x, y), in the canvas's default black.
    virtual void DrawText(int x, int y, const std::wstring& text) = 0;
};

// The frame's surfaces: background, work surface, card canvas, portraits
// and the window.
struct FrameTarget {
    virtual ~FrameTarget() = default;
    virtual void Clear(const Rect& r) = 0;  // work surface from the background
    virtual void CopyCard(int x, int y) = 0;
    virtual void StretchPortrait(int x, int y, int poemNo) = 0;
    virtual void DrawTicker(int x, int y, const std::wstring& text) = 0;  // white Mincho
    // Pixel width of the ticker text as DrawTicker draws it.
    virtual int TickerWidth(const std::wstring& text) = 0;
    virtual void Present(const Rect& r) = 0;  // window from the work surface
};

struct ShowPorts {
    CardCanvas* canvas = nullptr;
    FrameTarget* frame = nullptr;
    RandomSource* random = nullptr;
};
extern ShowPorts showPorts;

// How a frame reaches the window: the whole screen every frame, or only what
// changed (old and new card, the stretch of the ticker strip its text
// covered and covers) after a whole first frame.
enum class Presentation { WholeScreen, ChangedRects };
extern Presentation presentation;

// Start values of the show, set before the first card.
void ResetShowState();
// A range the show cannot use (a hand-edited store) falls back to 1..100.
void NormaliseRange();

void PrepareCard();
void WriteNextChar();
void PaintFrame();

// Estimated pixel width of one ticker character.
int TickerCharWidth(int twipsPerPixel);

}  // namespace mirobel
