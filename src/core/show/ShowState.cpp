#include "core/show/ShowState.h"

#include "core/base/Globals.h"

namespace mirobel {

int16_t PoemNo = 0;
int16_t FirstCard = 1;
int16_t WritePhase = 0;
int16_t WriteCharNo = 0;
int16_t WriteX = 0;
int16_t WriteY = 0;
int16_t VersePause = 0;
int16_t TickerX = 0;
int32_t CommentLen = 0;
int16_t CardX = 0, CardY = 0;
int16_t CardDirX = 1, CardDirY = 1;
int16_t WriteToggle = 0;

int g_showTwipsPerPixel = 15;
int g_showDpi = 96;
bool g_wholeFrameDue = true;
int g_tickerSpanLeft = 0, g_tickerSpanRight = 0;
int16_t g_tickerWidthPoem = -1;
int g_tickerWidth = 0;
Presentation g_presentation = Presentation::ChangedRects;

void ResetShowState() {
    CardX = CardY = 0;
    CardDirX = CardDirY = 1;
    TickerX = static_cast<int16_t>(ShowScreenWidth());
    WritePhase = VersePause = WriteX = WriteY = WriteCharNo = 0;
    FirstCard = 1;
    g_wholeFrameDue = true;
    g_tickerSpanLeft = g_tickerSpanRight = 0;
    g_tickerWidthPoem = -1;
    g_tickerWidth = 0;
}

void ResetShowGlobals() {
    ResetShowState();
    PoemNo = 0;
    CommentLen = 0;
    TickerX = 0;
    WriteToggle = 0;
    g_showTwipsPerPixel = 15;
    g_showDpi = 96;
    g_presentation = Presentation::ChangedRects;
}

}  // namespace mirobel
