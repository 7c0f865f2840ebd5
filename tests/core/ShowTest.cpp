#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <set>

#include "core/show/ShowState.h"
#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "support/Fakes.h"
#include "support/FakePlatform.h"
#include "core/show/Card.h"
#include "core/show/FramePainter.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
class ShowTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillPoemTables();
        Fresh();
        Range(1, 100, 2);
    }
    // A show that has not begun, on a screen of this many units, presented
    // whole.
    void Fresh(int width = 1024, int height = 768) {
        show = ShowState{};
        show.presentation = Presentation::WholeScreen;
        show.screenWidth = width, show.screenHeight = height;
    }
    void Range(int first, int end, int type) {
        settings.SelectFirst = static_cast<int16_t>(first), settings.SelectEnd = static_cast<int16_t>(end);
        settings.SelectType = static_cast<int16_t>(type);
    }
    void Prepare() { PrepareCard(show, settings, canvas, random); }
    void Write() { WriteNextChar(show, canvas); }
    void Paint() { PaintFrame(show, settings, fake.Seams()); }

    std::vector<int> Cards(int count) {
        std::vector<int> seen;
        for (int i = 0; i < count; ++i) {
            Prepare();
            seen.push_back(show.PoemNo);
        }
        return seen;
    }
    // Writer calls until the card is fully written; returns how many.
    int WriteWholeCard() {
        int calls = 0;
        while (show.WritePhase < 8 && calls < 1000) {
            Write();
            ++calls;
        }
        return calls;
    }

    ShowState show;
    Settings settings;
    FakePlatform fake;
    RecordingCanvas& canvas = fake.canvas;
    RecordingFrame& frame = fake.frame;
    ScriptedRandom& random = fake.random;
    RecordingBoxes& boxes = fake.boxes;
};
}  // namespace

TEST_F(ShowTest, AscendingAndDescendingOrdersWrapWithinTheRange) {
    Range(98, 100, 2);
    EXPECT_EQ(Cards(5), (std::vector<int>{98, 99, 100, 98, 99}));

    Fresh();
    Range(1, 100, 3);
    std::vector<int> down = Cards(102);
    EXPECT_EQ(down[0], 100);
    EXPECT_EQ(down[99], 1);
    EXPECT_EQ(down[100], 100);
    EXPECT_EQ(down[101], 99);

    // Any order value other than 1 and 2 counts as descending.
    Fresh();
    Range(10, 12, 7);
    EXPECT_EQ(Cards(4), (std::vector<int>{12, 11, 10, 12}));
}

TEST_F(ShowTest, OnePoemRangeShowsThatPoemInEveryOrder) {
    settings.SelectFirst = settings.SelectEnd = 37;
    for (int16_t type : {1, 2, 3}) {
        Fresh();
        settings.SelectType = type;
        random.values = {0.0, 0.5, 0.999999};
        EXPECT_EQ(Cards(3), (std::vector<int>{37, 37, 37})) << type;
    }
}

TEST_F(ShowTest, RandomOrderReseedsStaysInRangeAndReachesEveryPoem) {
    Range(20, 23, 1);
    random.values = {0.0, 0.2499, 0.25, 0.5, 0.75, 0.999999, 0.999999};
    std::vector<int> seen = Cards(7);
    EXPECT_EQ(seen, (std::vector<int>{20, 20, 21, 22, 23, 23, 23}));
    EXPECT_EQ(random.reseeds, 7);
    EXPECT_EQ(show.FirstCard, 1) << "random order leaves the first-card flag alone";
}

TEST_F(ShowTest, CardBaseCarriesTitleNumberAndCreditInMincho) {
    settings.SelectFirst = settings.SelectEnd = 100;
    Prepare();
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
    EXPECT_EQ(show.TickerX, 1024);
    EXPECT_EQ(show.CommentLen, static_cast<int32_t>(CommentTable(100).size()));
    EXPECT_EQ(show.WritePhase, 0);
}

TEST_F(ShowTest, WriterFillsColumnsRightToLeftWithEightSilentCallsBeforeTheLowerVerse) {
    settings.SelectFirst = settings.SelectEnd = 1;
    Prepare();
    canvas.texts.clear();
    std::vector<int16_t> phaseBefore;
    std::vector<size_t> drawnAfter;
    while (show.WritePhase < 8) {
        phaseBefore.push_back(show.WritePhase);
        Write();
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
    EXPECT_EQ(show.VersePause, 0);

    // Once written, further calls change nothing.
    size_t before = canvas.texts.size();
    for (int i = 0; i < 5; ++i) Write();
    EXPECT_EQ(canvas.texts.size(), before);
    EXPECT_EQ(show.WritePhase, 8);
}

TEST_F(ShowTest, WithTheSettingOnTheWriterBrushesTheDecidingKanaInVermilionAndNothingElse) {
    for (bool on : {false, true}) {
        settings.Kimariji = on;
        for (int n = 1; n <= 100; ++n) {
            settings.SelectFirst = settings.SelectEnd = static_cast<int16_t>(n);
            Prepare();
            canvas.texts.clear();
            WriteWholeCard();
            // Written in the order the card is read: the marked kana are its
            // opening, in one unbroken run, and all the rest is black.
            std::wstring marked;
            size_t firstBlack = canvas.texts.size();
            for (size_t i = 0; i < canvas.texts.size(); ++i) {
                const DrawnText& t = canvas.texts[i];
                if (t.ink == kVermilion) {
                    EXPECT_LT(i, firstBlack) << n;
                    marked += t.text;
                } else {
                    EXPECT_EQ(t.ink, kBlack) << n;
                    firstBlack = std::min(firstBlack, i);
                }
            }
            EXPECT_EQ(marked, on ? KimarijiOf(n).written : L"") << n;
        }
    }
    // The card's base stays black whatever the setting.
    settings.Kimariji = true;
    canvas.texts.clear();
    Prepare();
    for (const DrawnText& t : canvas.texts) EXPECT_EQ(t.ink, kBlack) << ::testing::PrintToString(t.text);
}

TEST_F(ShowTest, LongPoetNamesAreWrittenSmallerWithEighteenPixelSteps) {
    for (int poem : {76, 91, 75}) {
        Fresh();
        settings.SelectFirst = settings.SelectEnd = static_cast<int16_t>(poem);
        Prepare();
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
        // The name's last character ends on the panel (its bottom edge at
        // 245), its em being its size in points at 96 dpi.
        EXPECT_LE(column.back().y + column.back().size * 96 / 72, 245) << poem;
    }
}

TEST_F(ShowTest, FontsFollowTheScreenResolution) {
    show.showTwipsPerPixel = 12;
    settings.SelectFirst = settings.SelectEnd = 76;
    Prepare();
    EXPECT_EQ(canvas.texts[0].size, 8);  // 10 at 120 dpi
    WriteWholeCard();
    EXPECT_EQ(canvas.texts.back().size, 12);  // 15 at 120 dpi
    EXPECT_EQ(TickerCharWidth(15), 16);
    EXPECT_EQ(TickerCharWidth(12), 13);
}

TEST_F(ShowTest, AFailingCardIsReportedInItsOwnBoxAndTheShowGoesOn) {
    settings.SelectFirst = settings.SelectEnd = 101;  // only a hand-edited store holds this
    settings.SelectType = 2;
    Prepare();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              L"エラー番号  9Mirobel でエラーが発生しました。 \rインデックスが有効範囲にありません。");
    EXPECT_EQ(boxes.shown[0].title, L"エラー");

    // A card whose canvas fails at an edge contact is reported the same way,
    // and the show goes on with what the canvas and the state hold: the old
    // card travels on, every frame reaches the screen, and the next contact
    // brings the next poem.
    Fresh();
    Range(1, 100, 2);
    Prepare();
    WriteWholeCard();
    show.WritePhase = 9;  // written and shown: replaced at the next contact
    canvas.failure = [] { throw std::bad_alloc(); };
    int frames = 0;
    while (boxes.shown.size() < 2 && frames < 2000) Paint(), ++frames;
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, L"エラー番号  7Mirobel でエラーが発生しました。 \rメモリが不足しています。");
    EXPECT_EQ(show.PoemNo, 1);
    canvas.failure = nullptr;
    const size_t presented = frame.scenes.size();
    const Rect failedAt = frame.scenes.back().card;
    frames = 0;
    while (show.PoemNo == 1 && frames < 2000) Paint(), ++frames;
    EXPECT_EQ(show.PoemNo, 2);
    EXPECT_EQ(frame.scenes.size(), presented + static_cast<size_t>(frames));
    EXPECT_GT(frames, 10) << "the next card waits for the next contact";
    EXPECT_NE(frame.scenes.back().card, failedAt);
    EXPECT_EQ(boxes.shown.size(), 2u);

    NormaliseRange(settings);
    EXPECT_EQ(settings.SelectFirst, 1);
    EXPECT_EQ(settings.SelectEnd, 100);
    for (auto [first, end] : {std::pair{0, 5}, {5, 0}, {50, 49}, {-3, 100}, {1, 101}}) {
        settings.SelectFirst = static_cast<int16_t>(first), settings.SelectEnd = static_cast<int16_t>(end);
        NormaliseRange(settings);
        EXPECT_EQ(settings.SelectFirst, 1);
        EXPECT_EQ(settings.SelectEnd, 100);
    }
    settings.SelectFirst = 37, settings.SelectEnd = 37;
    NormaliseRange(settings);
    EXPECT_EQ(settings.SelectFirst, 37);
}

TEST_F(ShowTest, CardStaysOnScreenAndACornerPreparesAtMostOneCard) {
    show.screenWidth = 404, show.screenHeight = 264;  // every few frames the card meets a corner
    Range(1, 100, 2);
    Prepare();
    int prepared = 0;
    for (int i = 0; i < 3000; ++i) {
        int before = show.PoemNo;
        show.WritePhase = 9;  // ready to be replaced at any contact
        Paint();
        int step = (show.PoemNo - before + 100) % 100;
        ASSERT_LE(step, 1) << "two cards in one frame at " << i;
        prepared += step;
        ASSERT_GE(show.CardX, 0);
        ASSERT_LE(show.CardX, show.screenWidth - 400);
        ASSERT_GE(show.CardY, 0);
        ASSERT_LE(show.CardY, show.screenHeight - 260);
    }
    EXPECT_GT(prepared, 500);
}

TEST_F(ShowTest, FirstFrameShowsTheCardAtTwoTwoMovingRightAndDown) {
    settings.SelectFirst = settings.SelectEnd = 5;
    Prepare();
    Paint();
    EXPECT_EQ(show.CardX, 2);
    EXPECT_EQ(show.CardY, 2);
    EXPECT_EQ(frame.events.back().kind, FrameEvent::Present);
    EXPECT_EQ(frame.events.back().rect, (Rect{0, 0, 1024, 768}));
    EXPECT_FALSE(frame.Has(FrameEvent::Portrait));
}

TEST_F(ShowTest, PortraitAndTickerAppearInTheFrameThatCompletesThePhrases) {
    settings.SelectFirst = settings.SelectEnd = 9;
    Prepare();
    int frames = 0;
    while (true) {
        frame.events.clear();
        int phaseBefore = show.WritePhase;
        Paint();
        ++frames;
        if (show.WritePhase > 4) {
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
            EXPECT_EQ(e.rect, (Rect{show.CardX + 58, show.CardY + 41, show.CardX + 184, show.CardY + 221}));
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
    Paint();
    EXPECT_EQ(canvas.texts.size(), texts);
    Paint();
    EXPECT_EQ(canvas.texts.back().x, 25);
}

TEST_F(ShowTest, SixtyCharacterRenderingFinishesTheCardInThe49thTickerFrame) {
    for (int width : {1024, 1920, 3840}) {
        Fresh(width, 2000);  // no edge contact while counting
        settings.SelectFirst = settings.SelectEnd = 1;
        Prepare();
        show.CommentLen = 60;
        show.WritePhase = 8;
        int tickerFrame = 0;
        while (show.WritePhase != 9) {
            Paint();
            ++tickerFrame;
            ASSERT_LT(tickerFrame, 100);
        }
        EXPECT_EQ(tickerFrame, 49) << width;
    }
}

TEST_F(ShowTest, FinishedCardFarFromEdgesRepeatsItsTicker) {
    show.screenWidth = 1000, show.screenHeight = 32000;
    settings.SelectFirst = settings.SelectEnd = 1;
    Prepare();
    show.CommentLen = 10;  // estimate 160 pixels
    show.WritePhase = 8;
    std::vector<int> xs;
    for (int i = 0; i < 70; ++i) {
        Paint();
        xs.push_back(show.TickerX);
    }
    EXPECT_EQ(show.WritePhase, 9);
    // Leaves at the left (x < -160), then starts again from the right edge.
    auto restart = std::find(xs.begin(), xs.end(), 1000);
    ASSERT_NE(restart, xs.end());
    EXPECT_LT(*(restart - 1) - 20, -160);
}

TEST_F(ShowTest, ChangedRectanglesCoverOldAndNewCardAndTheTickerText) {
    show.presentation = Presentation::ChangedRects;
    settings.SelectFirst = settings.SelectEnd = 1;
    Prepare();
    auto presented = [&] {
        std::vector<Rect> rects;
        for (const auto& e : frame.events)
            if (e.kind == FrameEvent::Present) rects.push_back(e.rect);
        frame.events.clear();
        return rects;
    };
    Paint();  // the first frame is whole
    EXPECT_EQ(presented(), (std::vector<Rect>{{0, 0, 1024, 768}}));
    Paint();
    EXPECT_EQ(presented(), (std::vector<Rect>{{2, 2, 404, 264}}));

    // The ticker enters at the right edge: only its stretch of the strip.
    show.WritePhase = 8;
    Paint();
    EXPECT_EQ(presented(), (std::vector<Rect>{{4, 4, 406, 266}, {1002, 738, 1024, 768}}));

    // Fully on screen it covers its old and new place, not the whole width.
    show.screenWidth = 3000;
    show.CommentLen = 60;
    const int width = 16 * static_cast<int>(CommentTable(1).size());
    show.TickerX = 1500;
    Paint();  // draws at 1480
    Paint();  // draws at 1460, presents what 1480 covered
    std::vector<Rect> rects = presented();
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[3], (Rect{1458, 738, 1480 + width + 2, 768}));

    // When the card changes the old text is wiped once, then nothing.
    show.WritePhase = 0;
    Paint();
    rects = presented();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[1], (Rect{1458, 738, 1460 + width + 2, 768}));
    Paint();
    EXPECT_EQ(presented().size(), 1u);
}

TEST_F(ShowTest, WhatTheMovedCardUncoversIsPresentedInEveryDirection) {
    show.presentation = Presentation::ChangedRects;
    settings.SelectFirst = settings.SelectEnd = 1;
    Prepare();
    Paint();  // the first frame is whole
    // Frames moving down-right, then bouncing at the right edge (up-left
    // and down-left moves).
    show.screenWidth = 410, show.screenHeight = 700;
    for (int frame = 0; frame < 8; ++frame) {
        this->frame.events.clear();
        const Rect old{show.CardX, show.CardY, show.CardX + kCardWidth, show.CardY + kCardHeight};
        Paint();
        const Rect now{show.CardX, show.CardY, show.CardX + kCardWidth, show.CardY + kCardHeight};
        std::vector<Rect> presented;
        for (const auto& e : this->frame.events)
            if (e.kind == FrameEvent::Present && e.rect.top < show.screenHeight - kTickerOffset)
                presented.push_back(e.rect);
        auto inside = [](const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
        // Every pixel of the old place outside the new one is presented
        // (black, as no item of the scene lies there),
        // whichever way the card went.
        for (int y = old.top; y < old.bottom; ++y)
            for (int x = old.left; x < old.right; ++x) {
                if (inside(now, x, y)) continue;
                int times = 0;
                for (const Rect& c : presented) times += inside(c, x, y);
                ASSERT_GE(times, 1) << "frame " << frame << " at " << x << "," << y;
            }
    }
    EXPECT_EQ(show.CardDirX, -1) << "the run must include a bounce";
}

// The language chooses what the strip scrolls, nothing else: the run draws
// the same cards, and every frame that shows a rendering shows its
// card's rendering in that language.
TEST_F(ShowTest, TheStripScrollsTheRenderingInTheRecordsLanguageAndTheCardStaysJapanese) {
    std::vector<DrawnText> cardTexts[2];
    for (Language language : {Language::Japanese, Language::English}) {
        Fresh(640, 400);
        settings.language = language;
        frame.events.clear(), canvas.texts.clear();
        Prepare();
        std::set<int> poemsScrolled;
        for (int i = 0; i < 1500; ++i) {
            Paint();
            for (const FrameEvent& e : frame.events)
                if (e.kind == FrameEvent::Ticker) {
                    ASSERT_EQ(e.text, language == Language::English ? EnglishRendering(show.PoemNo)
                                                                    : CommentTable(show.PoemNo));
                    poemsScrolled.insert(show.PoemNo);
                }
            frame.events.clear();
        }
        EXPECT_GE(poemsScrolled.size(), 2u) << "the run must scroll more than one card's rendering";
        cardTexts[language == Language::English] = canvas.texts;
    }
    // The lines take their own time, so one run gets further than the
    // other; up to where the shorter stopped, the cards are written alike.
    const size_t common = std::min(cardTexts[0].size(), cardTexts[1].size());
    EXPECT_TRUE(std::equal(cardTexts[0].begin(), cardTexts[0].begin() + common, cardTexts[1].begin()));
}

// Latin letters are narrower than the kana the classic estimate counts; an
// English card is finished once its measured line has come in whole.
TEST_F(ShowTest, AnEnglishCardIsFinishedWhenItsMeasuredLineHasComeIn) {
    Fresh(1024, 2000);
    settings.language = Language::English;
    settings.SelectFirst = settings.SelectEnd = 1;
    frame.charWidth = 7;
    Prepare();
    show.WritePhase = 8;
    const int width = 7 * static_cast<int>(EnglishRendering(1).size());
    int frames = 0;
    while (show.WritePhase != 9) {
        Paint();
        ASSERT_LT(++frames, 1000);
    }
    // Its left edge has just passed the point where its right edge meets the
    // screen's right edge.
    EXPECT_LT(show.TickerX, 1024 - width);
    EXPECT_GE(show.TickerX + kTickerStep, 1024 - width);
}
