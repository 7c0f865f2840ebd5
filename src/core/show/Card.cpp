// Choice of the next poem and the card drawn one character at a time.
#include <cmath>

#include "core/base/Errors.h"
#include "core/base/Globals.h"
#include "core/base/Platform.h"
#include "core/base/Scaling.h"
#include "core/show/ShowState.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"

namespace mirobel {

namespace {
int Scaled(int size) { return ScaledFontSize(size, g_showTwipsPerPixel); }

void ChoosePoem() {
    if (SelectType == 1) {
        g_platform.random->Reseed();
        double r = g_platform.random->Next();
        PoemNo = static_cast<int16_t>(std::floor(r * (SelectEnd - SelectFirst + 1)) + SelectFirst);
        return;
    }
    if (FirstCard == 1) {
        PoemNo = SelectType == 2 ? SelectFirst : SelectEnd;
        FirstCard = 0;
        return;
    }
    PoemNo = static_cast<int16_t>(SelectType == 2 ? PoemNo + 1 : PoemNo - 1);
    if (PoemNo > SelectEnd) PoemNo = SelectFirst;
    if (PoemNo < SelectFirst) PoemNo = SelectEnd;
}
}  // namespace

void NormaliseRange() {
    if (SelectFirst < 1 || SelectFirst > 100 || SelectEnd < 1 || SelectEnd > 100 || SelectFirst > SelectEnd) {
        SelectFirst = 1;
        SelectEnd = 100;
    }
}

void PrepareCard() {
    CardCanvas& canvas = *g_platform.canvas;
    try {
        canvas.FillRect({0, 0, kCardWidth, kCardHeight}, kDarkCyan);
        canvas.FillRect({15, 15, 385, 245}, kWhite);
        canvas.OutlineRect({15, 15, 385, 245}, 1, kBlack, kWhite);
        ChoosePoem();
        canvas.SetFont(kMinchoFace, Scaled(10), false);
        canvas.DrawText(15, 2, kTitleLine);
        canvas.DrawText(15, 246, L"No." + std::to_wstring(PoemNo));
        canvas.DrawText(222, 246, std::wstring(kCreditLead) + kAuthorName);
        canvas.SetFont(kBrushFace, Scaled(20), true);
        TickerX = static_cast<int16_t>(ShowScreenWidth());
        CommentLen = static_cast<int32_t>(CommentTable(PoemNo).size());
        WritePhase = 0;
    } catch (...) {
        const RuntimeError e = CurrentFailure();
        ShowErrorBox(CardErrorText(e), e);
    }
}

void WriteNextChar() {
    std::wstring item;
    if (WritePhase < 6) item = GetField(PoemTable(PoemNo), static_cast<int16_t>(WritePhase + 1), L",");
    if (WritePhase > 7) return;

    if (WritePhase == 3 && VersePause < kWriterPause) {
        ++VersePause;
        return;
    }
    if (WritePhase == 4 && VersePause == kWriterPause) VersePause = 0;

    CardCanvas& canvas = *g_platform.canvas;
    if (WritePhase == 5) {
        WriteX = 25;
        if (item.size() <= 8) {
            WriteY = static_cast<int16_t>(WriteY + 25);
            canvas.SetFontSize(Scaled(20));
        } else {
            // Long names step closer and smaller so that they stay on the panel.
            WriteY = static_cast<int16_t>(WriteCharNo == 0 ? 25 : WriteY + 18);
            canvas.SetFontSize(Scaled(15));
        }
    } else {
        WriteX = static_cast<int16_t>(350 - 40 * WritePhase);
        WriteY = static_cast<int16_t>(WriteY + 25);
        canvas.SetFontSize(Scaled(20));
    }
    ++WriteCharNo;
    if (static_cast<size_t>(WriteCharNo) <= item.size()) canvas.DrawText(WriteX, WriteY, item.substr(WriteCharNo - 1, 1));
    if (static_cast<size_t>(WriteCharNo) == item.size()) {
        WritePhase = static_cast<int16_t>(WritePhase == 5 ? 8 : WritePhase + 1);
        WriteCharNo = 0;
        WriteY = 0;
    }
}

}  // namespace mirobel
