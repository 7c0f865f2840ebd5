#include <gtest/gtest.h>

#include <set>

#include "core/base/Globals.h"
#include "core/show/ShowState.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "support/Fakes.h"
#include "support/FakePlatform.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
class ShowTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillPoemTables();
        g_presentation = Presentation::WholeScreen;
        DispWidth = 1024;
        DispHeight = 768;
        SelectFirst = 1, SelectEnd = 100, SelectType = 2;
        ResetShowState();
    }

    std::vector<int> Cards(int count) {
        std::vector<int> seen;
        for (int i = 0; i < count; ++i) {
            PrepareCard();
            seen.push_back(PoemNo);
        }
        return seen;
    }
    // Writer calls until the card is fully written; returns how many.
    int WriteWholeCard() {
        int calls = 0;
        while (WritePhase < 8 && calls < 1000) {
            WriteNextChar();
            ++calls;
        }
        return calls;
    }

    FakePlatform fake;
    RecordingCanvas& canvas = fake.canvas;
    RecordingFrame& frame = fake.frame;
    ScriptedRandom& random = fake.random;
    RecordingBoxes& boxes = fake.boxes;
};
}  // namespace

TEST_F(ShowTest, AscendingAndDescendingOrdersWrapWithinTheRange) {
    SelectFirst = 98, SelectEnd = 100, SelectType = 2;
    EXPECT_EQ(Cards(5), (std::vector<int>{98, 99, 100, 98, 99}));

    ResetShowState();
    SelectFirst = 1, SelectEnd = 100, SelectType = 3;
    std::vector<int> down = Cards(102);
    EXPECT_EQ(down[0], 100);
    EXPECT_EQ(down[99], 1);
    EXPECT_EQ(down[100], 100);
    EXPECT_EQ(down[101], 99);

    // Any order value other than 1 and 2 counts as descending.
    ResetShowState();
    SelectFirst = 10, SelectEnd = 12, SelectType = 7;
    EXPECT_EQ(Cards(4), (std::vector<int>{12, 11, 10, 12}));
}

TEST_F(ShowTest, OnePoemRangeShowsThatPoemInEveryOrder) {
    SelectFirst = SelectEnd = 37;
    for (int16_t type : {1, 2, 3}) {
        ResetShowState();
        SelectType = type;
        random.values = {0.0, 0.5, 0.999999};
        EXPECT_EQ(Cards(3), (std::vector<int>{37, 37, 37})) << type;
    }
}

TEST_F(ShowTest, RandomOrderReseedsStaysInRangeAndReachesEveryPoem) {
    SelectFirst = 20, SelectEnd = 23, SelectType = 1;
    random.values = {0.0, 0.2499, 0.25, 0.5, 0.75, 0.999999, 0.999999};
    std::vector<int> seen = Cards(7);
    EXPECT_EQ(seen, (std::vector<int>{20, 20, 21, 22, 23, 23, 23}));
    EXPECT_EQ(random.reseeds, 7);
    EXPECT_EQ(FirstCard, 1) << "random order leaves the first-card flag alone";
}

TEST_F(ShowTest, CardBaseCarriesTitleNumberAndCreditInMincho) {
    SelectFirst = SelectEnd = 100;
    PrepareCard();
    ASSERT_GE(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[0].text, L"ミロベルスクリーンセイバーVer1.5");
    EXPECT_EQ(canvas.texts[0].x, 15);
    EXPECT_EQ(canvas.texts[0].y, 2);
    EXPECT_EQ(canvas.texts[1].text, L"No.100");
    EXPECT_EQ(canvas.texts[1].y, 246);
    EXPECT_EQ(canvas.texts[2].text, L"produced by Team Mirobel");
    EXPECT_EQ(canvas.texts[2].x, 222);
    EXPECT_EQ(canvas.texts[0].face, L"ＭＳ 明朝");
    EXPECT_EQ(canvas.texts[0].size, 10);
    EXPECT_EQ(canvas.face, L"HG正楷書体-PRO");
    EXPECT_TRUE(canvas.bold);
    EXPECT_EQ(canvas.fills.front(), (Rect{0, 0, 400, 260}));
    EXPECT_EQ(TickerX, 1024);
    EXPECT_EQ(CommentLen, static_cast<int32_t>(CommentTable(100).size()));
    EXPECT_EQ(WritePhase, 0);
}

TEST_F(ShowTest, WriterFillsColumnsRightToLeftWithEightSilentCallsBeforeTheLowerVerse) {
    SelectFirst = SelectEnd = 1;
    PrepareCard();
    canvas.texts.clear();
    std::vector<int16_t> phaseBefore;
    std::vector<size_t> drawnAfter;
    while (WritePhase < 8) {
        phaseBefore.push_back(WritePhase);
        WriteNextChar();
        drawnAfter.push_back(canvas.texts.size());
    }
    // Calls that drew nothing, and in which phase they came.
    std::vector<int16_t> silentPhases;
    for (size_t i = 0; i < drawnAfter.size(); ++i)
        if (drawnAfter[i] == (i ? drawnAfter[i - 1] : 0)) silentPhases.push_back(phaseBefore[i]);
    EXPECT_EQ(silentPhases, std::vector<int16_t>(8, 3));

    const std::wstring record = PoemTable(1);
    size_t k = 0;
    for (int phrase = 1; phrase <= 5; ++phrase) {
        std::wstring text = GetField(record, static_cast<int16_t>(phrase), L",");
        for (size_t c = 0; c < text.size(); ++c, ++k) {
            EXPECT_EQ(canvas.texts[k].text, text.substr(c, 1));
            EXPECT_EQ(canvas.texts[k].x, 350 - 40 * (phrase - 1));
            EXPECT_EQ(canvas.texts[k].y, 25 + 25 * static_cast<int>(c));
            EXPECT_EQ(canvas.texts[k].size, 20);
        }
    }
    EXPECT_EQ(canvas.texts[k].text, L"天");
    EXPECT_EQ(canvas.texts[k].x, 25);
    EXPECT_EQ(canvas.texts.back().y, 25 + 25 * 3);
    EXPECT_EQ(VersePause, 0);

    // Once written, further calls change nothing.
    size_t before = canvas.texts.size();
    for (int i = 0; i < 5; ++i) WriteNextChar();
    EXPECT_EQ(canvas.texts.size(), before);
    EXPECT_EQ(WritePhase, 8);
}

TEST_F(ShowTest, LongPoetNamesAreWrittenSmallerWithEighteenPixelSteps) {
    for (int poem : {76, 91, 75}) {
        ResetShowState();
        SelectFirst = SelectEnd = static_cast<int16_t>(poem);
        PrepareCard();
        canvas.texts.clear();
        WriteWholeCard();
        std::wstring name = GetField(PoemTable(poem), 6, L",");
        std::vector<DrawnText> column(canvas.texts.end() - static_cast<long>(name.size()), canvas.texts.end());
        bool longName = name.size() > 8;
        for (size_t i = 0; i < column.size(); ++i) {
            EXPECT_EQ(column[i].x, 25) << poem;
            EXPECT_EQ(column[i].y, 25 + static_cast<int>(i) * (longName ? 18 : 25)) << poem;
            EXPECT_EQ(column[i].size, longName ? 15 : 20) << poem;
        }
    }
    EXPECT_EQ(25 + 11 * 18, 223);  // the last of poem 76's twelve characters stays on the panel
}

TEST_F(ShowTest, FontsFollowTheScreenResolution) {
    g_showTwipsPerPixel = 12;
    SelectFirst = SelectEnd = 76;
    PrepareCard();
    EXPECT_EQ(canvas.texts[0].size, 8);  // 10 at 120 dpi
    WriteWholeCard();
    EXPECT_EQ(canvas.texts.back().size, 12);  // 15 at 120 dpi
    EXPECT_EQ(TickerCharWidth(15), 16);
    EXPECT_EQ(TickerCharWidth(12), 13);
}

TEST_F(ShowTest, AFailingCardIsReportedInItsOwnBoxAndTheShowGoesOn) {
    SelectFirst = SelectEnd = 101;  // only a hand-edited store holds this
    SelectType = 2;
    PrepareCard();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              L"エラー番号  9Mirobel でエラーが発生しました。 \rインデックスが有効範囲にありません。");
    EXPECT_EQ(boxes.shown[0].title, L"エラー");

    NormaliseRange();
    EXPECT_EQ(SelectFirst, 1);
    EXPECT_EQ(SelectEnd, 100);
    for (auto [first, end] : {std::pair{0, 5}, {5, 0}, {50, 49}, {-3, 100}, {1, 101}}) {
        SelectFirst = static_cast<int16_t>(first), SelectEnd = static_cast<int16_t>(end);
        NormaliseRange();
        EXPECT_EQ(SelectFirst, 1);
        EXPECT_EQ(SelectEnd, 100);
    }
    SelectFirst = 37, SelectEnd = 37;
    NormaliseRange();
    EXPECT_EQ(SelectFirst, 37);
}

TEST_F(ShowTest, CardStaysOnScreenAndACornerPreparesAtMostOneCard) {
    DispWidth = 404, DispHeight = 264;  // every few frames the card meets a corner
    SelectFirst = 1, SelectEnd = 100, SelectType = 2;
    PrepareCard();
    int prepared = 0;
    for (int i = 0; i < 3000; ++i) {
        int before = PoemNo;
        WritePhase = 9;  // ready to be replaced at any contact
        PaintFrame();
        int step = (PoemNo - before + 100) % 100;
        ASSERT_LE(step, 1) << "two cards in one frame at " << i;
        prepared += step;
        ASSERT_GE(CardX, 0);
        ASSERT_LE(CardX, DispWidth - 400);
        ASSERT_GE(CardY, 0);
        ASSERT_LE(CardY, DispHeight - 260);
    }
    EXPECT_GT(prepared, 500);
}

TEST_F(ShowTest, FirstFrameShowsTheCardAtTwoTwoMovingRightAndDown) {
    SelectFirst = SelectEnd = 5;
    PrepareCard();
    PaintFrame();
    EXPECT_EQ(CardX, 2);
    EXPECT_EQ(CardY, 2);
    EXPECT_EQ(frame.events.front().kind, FrameEvent::Clear);
    EXPECT_EQ(frame.events.front().rect, (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(frame.events.back().kind, FrameEvent::Present);
    EXPECT_FALSE(frame.Has(FrameEvent::Portrait));
}

TEST_F(ShowTest, PortraitAndTickerAppearInTheFrameThatCompletesThePhrases) {
    SelectFirst = SelectEnd = 9;
    PrepareCard();
    int frames = 0;
    while (true) {
        frame.events.clear();
        int phaseBefore = WritePhase;
        PaintFrame();
        ++frames;
        if (WritePhase > 4) {
            EXPECT_EQ(phaseBefore, 4);
            break;
        }
        ASSERT_FALSE(frame.Has(FrameEvent::Portrait)) << frames;
        ASSERT_FALSE(frame.Has(FrameEvent::Ticker)) << frames;
    }
    ASSERT_TRUE(frame.Has(FrameEvent::Portrait));
    ASSERT_TRUE(frame.Has(FrameEvent::Ticker));
    for (const auto& e : frame.events) {
        if (e.kind == FrameEvent::Portrait) {
            EXPECT_EQ(e.rect, (Rect{CardX + 58, CardY + 41, CardX + 184, CardY + 221}));
            EXPECT_EQ(e.poem, 9);
        }
        if (e.kind == FrameEvent::Ticker) {
            EXPECT_EQ(e.rect.left, 1024 - 20);
            EXPECT_EQ(e.rect.top, 768 - 30);
            EXPECT_EQ(e.text, CommentTable(9));
        }
    }
    // The poet's name comes two frames later, next to the portrait.
    size_t texts = canvas.texts.size();
    PaintFrame();
    EXPECT_EQ(canvas.texts.size(), texts);
    PaintFrame();
    EXPECT_EQ(canvas.texts.back().x, 25);
}

TEST_F(ShowTest, SixtyCharacterRenderingFinishesTheCardInThe49thTickerFrame) {
    for (int width : {1024, 1920, 3840}) {
        DispWidth = static_cast<int16_t>(width);
        DispHeight = 2000;  // no edge contact while counting
        ResetShowState();
        SelectFirst = SelectEnd = 1;
        PrepareCard();
        CommentLen = 60;
        WritePhase = 8;
        int tickerFrame = 0;
        while (WritePhase != 9) {
            PaintFrame();
            ++tickerFrame;
            ASSERT_LT(tickerFrame, 100);
        }
        EXPECT_EQ(tickerFrame, 49) << width;
    }
}

TEST_F(ShowTest, FinishedCardFarFromEdgesRepeatsItsTicker) {
    DispWidth = 1000, DispHeight = 32000;
    SelectFirst = SelectEnd = 1;
    PrepareCard();
    CommentLen = 10;  // estimate 160 pixels
    WritePhase = 8;
    std::vector<int> xs;
    for (int i = 0; i < 70; ++i) {
        PaintFrame();
        xs.push_back(TickerX);
    }
    EXPECT_EQ(WritePhase, 9);
    // Leaves at the left (x < -160), then starts again from the right edge.
    auto restart = std::find(xs.begin(), xs.end(), 1000);
    ASSERT_NE(restart, xs.end());
    EXPECT_LT(*(restart - 1) - 20, -160);
}

TEST_F(ShowTest, ChangedRectanglesCoverOldAndNewCardAndTheTickerText) {
    g_presentation = Presentation::ChangedRects;
    SelectFirst = SelectEnd = 1;
    PrepareCard();
    auto presented = [&] {
        std::vector<Rect> rects;
        for (const auto& e : frame.events)
            if (e.kind == FrameEvent::Present) rects.push_back(e.rect);
        frame.events.clear();
        return rects;
    };
    PaintFrame();  // the first frame is whole
    EXPECT_EQ(presented(), (std::vector<Rect>{{0, 0, 1024, 768}}));
    PaintFrame();
    EXPECT_EQ(presented(), (std::vector<Rect>{{2, 2, 404, 264}}));

    // The ticker enters at the right edge: only its stretch of the strip.
    WritePhase = 8;
    PaintFrame();
    EXPECT_EQ(presented(), (std::vector<Rect>{{4, 4, 406, 266}, {1002, 738, 1024, 768}}));

    // Fully on screen it covers its old and new place, not the whole width.
    DispWidth = 3000;
    CommentLen = 60;
    const int width = 16 * static_cast<int>(CommentTable(1).size());
    TickerX = 1500;
    PaintFrame();  // draws at 1480
    PaintFrame();  // draws at 1460, clears what 1480 covered
    std::vector<Rect> rects = presented();
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[3], (Rect{1458, 738, 1480 + width + 2, 768}));

    // When the card changes the old text is wiped once, then nothing.
    WritePhase = 0;
    PaintFrame();
    rects = presented();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[1], (Rect{1458, 738, 1460 + width + 2, 768}));
    PaintFrame();
    EXPECT_EQ(presented().size(), 1u);
}

TEST_F(ShowTest, WhatTheMovedCardUncoversIsClearedInEveryDirection) {
    g_presentation = Presentation::ChangedRects;
    SelectFirst = SelectEnd = 1;
    PrepareCard();
    PaintFrame();  // the first frame is whole
    // Frames moving down-right, then bouncing at the right edge (up-left
    // and down-left moves).
    DispWidth = 410, DispHeight = 700;
    for (int frame = 0; frame < 8; ++frame) {
        this->frame.events.clear();
        const Rect old{CardX, CardY, CardX + kCardWidth, CardY + kCardHeight};
        PaintFrame();
        const Rect now{CardX, CardY, CardX + kCardWidth, CardY + kCardHeight};
        std::vector<Rect> clears;
        for (const auto& e : this->frame.events)
            if (e.kind == FrameEvent::Clear && e.rect.top < DispHeight - kTickerOffset) clears.push_back(e.rect);
        auto inside = [](const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
        // Every pixel of the old place outside the new one is cleared,
        // whichever way the card went.
        for (int y = old.top; y < old.bottom; ++y)
            for (int x = old.left; x < old.right; ++x) {
                if (inside(now, x, y)) continue;
                int times = 0;
                for (const Rect& c : clears) times += inside(c, x, y);
                ASSERT_GE(times, 1) << "frame " << frame << " at " << x << "," << y;
            }
    }
    EXPECT_EQ(CardDirX, -1) << "the run must include a bounce";
}
