// Choice of the next poem and the card drawn one character at a time.
#include "core/show/Card.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Faces.h"
#include "core/base/Platform.h"
#include "core/base/Scaling.h"
#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"
#include "core/poems/StudySets.h"

namespace mirobel {

namespace {
int Scaled(const ShowState& show, int size) { return ScaledFontSize(size, show.showTwipsPerPixel); }

// A set is walked as the range is, member by member. A poem the set does not
// hold (a state carried over from another choice) is followed by the member
// that comes after it in the order's direction.
void ChooseInSet(ShowState& show, const Settings& settings, RandomSource& random, const std::vector<int>& poems) {
    const int count = static_cast<int>(poems.size());
    if (settings.SelectType == 1) {
        random.Reseed();
        const int at = static_cast<int>(std::floor(random.Next() * count));
        show.PoemNo = static_cast<int16_t>(poems[static_cast<size_t>(std::clamp(at, 0, count - 1))]);
        return;
    }
    const bool ascending = settings.SelectType == 2;
    if (show.FirstCard == 1) {
        const int along = show.sequenceOffset > 0 ? show.sequenceOffset % count : 0;
        show.PoemNo = static_cast<int16_t>(poems[static_cast<size_t>(ascending ? along : count - 1 - along)]);
        show.FirstCard = 0;
        return;
    }
    if (ascending) {
        const auto next = std::upper_bound(poems.begin(), poems.end(), show.PoemNo);
        show.PoemNo = static_cast<int16_t>(next == poems.end() ? poems.front() : *next);
    } else {
        const auto after = std::lower_bound(poems.begin(), poems.end(), show.PoemNo);
        show.PoemNo = static_cast<int16_t>(after == poems.begin() ? poems.back() : *std::prev(after));
    }
}

void ChoosePoem(ShowState& show, const Settings& settings, RandomSource& random) {
    if (const StudySet* set = StudySetNumbered(settings.Set)) {
        ChooseInSet(show, settings, random, set->poems);
        return;
    }
    if (settings.SelectType == 1) {
        random.Reseed();
        double r = random.Next();
        show.PoemNo = static_cast<int16_t>(std::floor(r * (settings.SelectEnd - settings.SelectFirst + 1)) +
                                        settings.SelectFirst);
        return;
    }
    if (show.FirstCard == 1) {
        const int span = settings.SelectEnd - settings.SelectFirst + 1;
        const int along = span > 0 && show.sequenceOffset > 0 ? show.sequenceOffset % span : 0;
        show.PoemNo = static_cast<int16_t>(settings.SelectType == 2 ? settings.SelectFirst + along
                                                                    : settings.SelectEnd - along);
        show.FirstCard = 0;
        return;
    }
    show.PoemNo = static_cast<int16_t>(settings.SelectType == 2 ? show.PoemNo + 1 : show.PoemNo - 1);
    if (show.PoemNo > settings.SelectEnd) show.PoemNo = settings.SelectFirst;
    if (show.PoemNo < settings.SelectFirst) show.PoemNo = settings.SelectEnd;
}
// The deciding sounds lie in the first phrase and may run into the second.
Rgb InkOf(const ShowState& show) {
    if (show.WritePhase > 1 || show.kimarijiKana == 0) return kBlack;
    int kana = show.WriteCharNo;
    if (show.WritePhase == 1) kana += static_cast<int>(GetField(PoemTable(show.PoemNo), 1, L",").size());
    return kana <= show.kimarijiKana ? kVermilion : kBlack;
}
}  // namespace

const std::wstring& TickerText(int poemNo, const Settings& settings) {
    return settings.language == Language::English ? EnglishRendering(poemNo) : CommentTable(poemNo);
}

TickerFont TickerFontFor(const Settings& settings) {
    return {TextFace(settings.language), ScaledFontSize(12, kUnitTwips)};
}

void NormaliseRange(Settings& settings) {
    if (settings.SelectFirst < 1 || settings.SelectFirst > 100 || settings.SelectEnd < 1 ||
        settings.SelectEnd > 100 || settings.SelectFirst > settings.SelectEnd) {
        settings.SelectFirst = 1;
        settings.SelectEnd = 100;
    }
}

void PrepareCard(ShowState& show, const Settings& settings, CardCanvas& canvas, RandomSource& random) {
    try {
        canvas.FillRect({0, 0, kCardWidth, kCardHeight}, kDarkCyan);
        canvas.FillRect({15, 15, 385, 245}, kWhite);
        canvas.OutlineRect({15, 15, 385, 245}, 1, kBlack, kWhite);
        ChoosePoem(show, settings, random);
        canvas.SetFont(kMinchoFace, Scaled(show, 10), false);
        canvas.DrawText(15, 2, kTitleLine, kBlack);
        canvas.DrawText(15, 246, L"No." + std::to_wstring(show.PoemNo), kBlack);
        canvas.DrawText(222, 246, std::wstring(kCreditLead) + kAuthorName, kBlack);
        canvas.SetFont(kBrushFace, Scaled(show, 20), true);
        show.TickerX = static_cast<int16_t>(show.screenWidth);
        show.CommentLen = static_cast<int32_t>(TickerText(show.PoemNo, settings).size());
        show.WritePhase = 0;
        show.kimarijiKana = static_cast<int16_t>(settings.Kimariji ? KimarijiOf(show.PoemNo).cardKana : 0);
    } catch (...) {
        const RuntimeError e = CurrentFailure();
        ShowErrorBox(CardErrorText(e, settings.language), e, settings.language);
    }
}

void WriteNextChar(ShowState& show, CardCanvas& canvas) {
    std::wstring item;
    if (show.WritePhase < 6) item = GetField(PoemTable(show.PoemNo), static_cast<int16_t>(show.WritePhase + 1), L",");
    if (show.WritePhase > 7) return;

    if (show.WritePhase == 3 && show.VersePause < kWriterPause) {
        ++show.VersePause;
        return;
    }
    if (show.WritePhase == 4 && show.VersePause == kWriterPause) show.VersePause = 0;

    if (show.WritePhase == 5) {
        show.WriteX = 25;
        if (item.size() <= 8) {
            show.WriteY = static_cast<int16_t>(show.WriteY + 25);
            canvas.SetFontSize(Scaled(show, 20));
        } else {
            // Long names step closer and smaller so that they stay on the panel.
            show.WriteY = static_cast<int16_t>(show.WriteCharNo == 0 ? 25 : show.WriteY + 18);
            canvas.SetFontSize(Scaled(show, 15));
        }
    } else {
        show.WriteX = static_cast<int16_t>(350 - 40 * show.WritePhase);
        show.WriteY = static_cast<int16_t>(show.WriteY + 25);
        canvas.SetFontSize(Scaled(show, 20));
    }
    ++show.WriteCharNo;
    if (static_cast<size_t>(show.WriteCharNo) <= item.size())
        canvas.DrawText(show.WriteX, show.WriteY, item.substr(show.WriteCharNo - 1, 1), InkOf(show));
    if (static_cast<size_t>(show.WriteCharNo) == item.size()) {
        show.WritePhase = static_cast<int16_t>(show.WritePhase == 5 ? 8 : show.WritePhase + 1);
        show.WriteCharNo = 0;
        show.WriteY = 0;
    }
}

}  // namespace mirobel
