// The compositor writes every pixel of a presented area exactly once, and
// nothing outside it, whatever the card and the ticker's line cover and
// whether or not the painter keeps pictures to copy from; it copies only
// what lies in the kept pictures and composes the rest on one grid. What it
// copies is never out of date, and a kept picture is drawn again only where
// something it shows has changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/show/Compositor.h"

using namespace mirobel;

namespace {
Rect RandomRect(std::mt19937& random, bool mayBeEmpty) {
    std::uniform_int_distribution<int> at(-5, 40), size(mayBeEmpty ? 0 : 1, 25);
    const int left = at(random), top = at(random);
    return {left, top, left + size(random), top + size(random)};
}

bool In(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// A painter whose pixels are numbers, on a field of 80 x 80 from (-10, -10):
// black is 0, the card canvas holds what the test drew on it, a portrait's
// pixels are 1000 + its poem, a glyph is its character on two rows.
struct ModelPainter : ScenePainter {
    struct Picture {
        int width = 0, height = 0;
        std::vector<int> pixels;
    };
    static constexpr int kCanvas = 32;
    std::vector<int> canvas = std::vector<int>(kCanvas * kCanvas, 1);
    Rect changed{};
    bool keeps = true;
    bool ready[4] = {true, true, true, true};  // the portraits decoded
    int largest = 32767, tile = 7;
    int screen[80][80] = {}, writes[80][80] = {};
    Picture card, line;
    int copies = 0, lineCopies = 0, tiles = 0, betweens = 0, cardDraws = 0, wasted = 0;
    std::vector<std::string> faults;

    void DrawOnCanvas(const Rect& r, int value) {
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, kCanvas); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.right, kCanvas); ++x) canvas[y * kCanvas + x] = value;
        changed = Union(changed, r);
    }
    int Canvas(int x, int y) const { return In(CanvasBounds(), x, y) ? canvas[y * kCanvas + x] : 0; }
    int Portrait(int poem) const { return poem > 0 && ready[poem] ? 1000 + poem : -1; }
    static int Ink(const std::wstring& text, int dx, int dy) {
        return dx >= 0 && dx < static_cast<int>(text.size()) && dy >= 0 && dy < 2 ? text[dx] : -1;
    }
    // The classic picture: black, the card, the portrait, the text over all.
    int Expected(const Scene& s, int x, int y) const {
        int v = In(s.card, x, y) ? Canvas(x - s.card.left, y - s.card.top) : 0;
        if (In(s.portrait, x, y) && Portrait(s.portraitPoem) >= 0) v = Portrait(s.portraitPoem);
        const int ink = Ink(s.tickerText, x - s.tickerX, y - s.tickerY);
        return In(s.tickerLine, x, y) && ink >= 0 ? ink : v;
    }
    template <typename Value>
    void Put(const Rect& r, Value value) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) screen[y + 10][x + 10] = value(x, y), ++writes[y + 10][x + 10];
    }
    // Draws a kept picture's pixels in `part`; a draw that changes none is
    // wasted work.
    template <typename Value>
    void Redraw(Picture& p, const Rect& part, Value value) {
        if (!Inside(part, {0, 0, p.width, p.height})) return faults.push_back("drawn beyond a kept picture");
        bool any = false;
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x) {
                any |= p.pixels[y * p.width + x] != value(x, y);
                p.pixels[y * p.width + x] = value(x, y);
            }
        wasted += !any;
    }

    int TickerWidth(const std::wstring& text) override { return static_cast<int>(text.size()); }
    int TileWidth() const override { return tile; }
    int TileHeight() const override { return tile + 2; }
    void BetweenAreas() override { ++betweens; }
    void FillBlack(const Rect& r) override { Put(r, [](int, int) { return 0; }); }
    void ComposeTile(const Scene& scene, const Rect& t) override {
        const auto cell = [](int at, int size) { return ((at % size) + size) % size; };
        if (cell(t.left, tile) + (t.right - t.left) > tile || cell(t.top, tile + 2) + (t.bottom - t.top) > tile + 2)
            faults.push_back("tile across the grid or too large");
        Put(t, [&](int x, int y) { return Expected(scene, x, y); }), ++tiles;
    }
    Rect CanvasBounds() const override { return {0, 0, kCanvas, kCanvas}; }
    Rect TakeCanvasChanged() override { return std::exchange(changed, Rect{}); }
    int LargestKept() const override { return largest; }
    bool MakeKept(Kept which, int width, int height) override {
        if (width > largest || height > largest) faults.push_back("a picture beyond the painter's limit");
        // A new picture holds no pixel of the scene.
        Picture& p = which == Kept::Card ? card : line;
        p = keeps ? Picture{width, height, std::vector<int>(width * height, -7)} : Picture{};
        return keeps;
    }
    bool DrawKeptCard(const Rect& part, int poem, const Rect& box) override {
        const bool drawn = !poem || Portrait(poem) >= 0;
        const int before = wasted;
        Redraw(card, part,
               [&](int x, int y) { return drawn && poem && In(box, x, y) ? Portrait(poem) : Canvas(x, y); });
        // A portrait not decoded yet is asked for again on the next frame.
        if (!drawn) wasted = before;
        ++cardDraws;
        return drawn;
    }
    void DrawKeptLine(const std::wstring& text, int x0, int y0) override {
        Redraw(line, {0, 0, line.width, line.height},
               [&](int x, int y) { return std::max(Ink(text, x - x0, y - y0), 0); });
    }
    void CopyKept(Kept which, int fromX, int fromY, const Rect& to) override {
        const Picture& p = which == Kept::Card ? card : line;
        if (!Inside({fromX, fromY, fromX + to.right - to.left, fromY + to.bottom - to.top}, {0, 0, p.width, p.height}))
            return faults.push_back("copied from beyond a kept picture");
        Put(to, [&](int x, int y) { return p.pixels[(y - to.top + fromY) * p.width + x - to.left + fromX]; });
        ++copies, lineCopies += which == Kept::Line;
    }
};

// Whether each pixel of `area` was written once and shows the scene, and
// nothing else was written.
::testing::AssertionResult PresentedOnce(const ModelPainter& painter, const Scene& scene, const Rect& area) {
    for (int y = -10; y < 70; ++y)
        for (int x = -10; x < 70; ++x) {
            const bool in = In(area, x, y);
            if (painter.writes[y + 10][x + 10] != (in ? 1 : 0))
                return ::testing::AssertionFailure()
                       << "written " << painter.writes[y + 10][x + 10] << " times at " << x << ", " << y;
            if (in && painter.screen[y + 10][x + 10] != painter.Expected(scene, x, y))
                return ::testing::AssertionFailure() << "wrong pixel at " << x << ", " << y;
        }
    if (!painter.faults.empty()) return ::testing::AssertionFailure() << painter.faults.front();
    return ::testing::AssertionSuccess();
}
}  // namespace

TEST(Compositor, WritesEachPixelOfTheAreasOnceCopyingWhatItCanAndComposingTheRestOnOneGrid) {
    std::mt19937 random(7);
    int copied = 0, composed = 0;
    for (int i = 0; i < 2000; ++i) {
        const bool keeps = i % 4 != 0;
        Scene scene;
        scene.card = RandomRect(random, true);
        scene.tickerLine = RandomRect(random, true);
        scene.tickerText = L"abc";
        scene.tickerX = scene.tickerLine.left + 1, scene.tickerY = scene.tickerLine.top;
        const std::vector<Rect> areas{RandomRect(random, false), RandomRect(random, false)};
        const auto anythingIn = [&](const Rect& area) {
            return Overlap(scene.card, area) || Overlap(scene.tickerLine, area);
        };
        // Two areas may overlap; each is presented whole, so count them apart.
        for (const Rect& area : areas) {
            ModelPainter alone;
            alone.keeps = keeps;
            Compositor(alone).Present(scene, {area});
            ASSERT_TRUE(PresentedOnce(alone, scene, area)) << "case " << i;
            const bool crossing = Overlap(Intersect(scene.card, area), Intersect(scene.tickerLine, area));
            // Copies wherever the painter keeps pictures and the line does
            // not run over the card there; tiles only otherwise.
            if (keeps && !crossing) {
                EXPECT_EQ(alone.tiles, 0) << i;
            } else {
                EXPECT_EQ(alone.copies, 0) << i;
                EXPECT_EQ(alone.tiles > 0, anythingIn(area)) << i;
            }
            copied += alone.copies > 0, composed += alone.tiles > 0;
        }
        // The painter hears of the step from one area to the next, and only
        // of that.
        ModelPainter both;
        Compositor(both).Present(scene, {areas[0], Rect{}, areas[1]});
        EXPECT_EQ(both.betweens, 1) << i;
        // A repaint presents the last frame's scene again.
        ModelPainter repainted;
        Compositor compositor(repainted);
        compositor.Present(scene, {});
        compositor.Repaint(areas[0]);
        ASSERT_TRUE(PresentedOnce(repainted, scene, areas[0])) << "repaint " << i;
    }
    EXPECT_GT(copied, 500);
    EXPECT_GT(composed, 300);
}

// One show's worth of changes on one compositor: drawing on the canvas's
// card and beyond it, portraits coming late, going, moving a pixel and
// changing, the card and the line changing size, lines beyond the painter's
// limit, the painter losing its pictures or keeping none for a while.
TEST(Compositor, CopiesAreNeverOutOfDateAndKeptPicturesAreDrawnOnlyWhereTheyChanged) {
    std::mt19937 random(3);
    const auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const std::vector<std::wstring> texts{L"a line too long to keep", L"A line too long to keep", L"wxyz"};
    ModelPainter painter;
    painter.largest = 26;  // the card and "wxyz" with its slack fit, longer lines do not
    Compositor compositor(painter);
    Scene scene;
    int drawn = 2000, poem = 0, cardWidth = 24, lineWidth = 8;  // drawn: apart from portraits' 1000 + poem
    std::wstring text = texts[2];
    for (int frame = 0; frame < 4000; ++frame) {
        // On the card below its portrait, or beyond every card's width; a
        // canvas's changes are kept as one rectangle, which then only holds
        // pixels that changed.
        const int left = pick(0, 21), top = pick(10, 15);
        if (chance(30))
            painter.DrawOnCanvas(chance(20) ? Rect{27, top, 34, top + 3}
                                            : Rect{left, top, left + pick(1, 22 - left), top + pick(1, 16 - top)},
                                 ++drawn);
        if (chance(2)) cardWidth = pick(0, 4) == 0 ? 34 : pick(22, 26);  // 34: wider than the canvas
        // A new card's portrait may come some frames late; the one the kept
        // card shows stays decoded.
        if (chance(3) && (poem = chance(30) ? 0 : pick(1, 3)) && poem != compositor.KeptPortrait())
            painter.ready[poem] = chance(50);
        if (chance(5)) painter.ready[poem] = true;
        if (chance(2)) text = texts[pick(0, 2)];
        if (chance(2)) lineWidth = static_cast<int>(text.size()) + pick(4, 5);
        if (chance(1)) painter.keeps = !painter.keeps || chance(80);
        if (chance(1)) painter.card = painter.line = {}, compositor.ForgetKept();
        const int x = pick(-8, 40), y = pick(-8, 30), into = chance(10) ? pick(-2, 2) : 0;
        scene.card = {x, y, x + cardWidth, y + 16};
        // A portrait now and then a pixel off its place, or reaching off the card.
        scene.portrait = poem ? Rect{x + 3 + into, y + 2, x + 9 + into + (chance(5) ? 30 : 0), y + 10} : Rect{};
        scene.portraitPoem = poem;
        scene.tickerText = text;
        // At a scale whose step is not whole pixels the text's place in its
        // line shifts by a pixel now and then.
        const int slack = chance(10) ? 3 : 2;
        scene.tickerX = pick(-10, 50), scene.tickerY = 61;
        scene.tickerLine = {scene.tickerX - slack, 60, scene.tickerX - slack + lineWidth, 64};
        const std::vector<Rect> areas = chance(50) ? std::vector<Rect>{{-10, -10, 70, 70}}
                                                   : std::vector<Rect>{RandomRect(random, false), {-10, 55, 70, 70}};
        compositor.Present(scene, areas);
        for (const Rect& area : areas)
            for (int py = area.top; py < area.bottom; ++py)
                for (int px = area.left; px < area.right; ++px)
                    ASSERT_EQ(painter.screen[py + 10][px + 10], painter.Expected(scene, px, py))
                        << "frame " << frame << " at " << px << ", " << py;
        ASSERT_TRUE(painter.faults.empty()) << frame << ": " << painter.faults.front();
        // The poem the compositor says the kept card shows is the one it holds.
        bool shows = false;
        for (int v : painter.card.pixels) shows |= v == 1000 + compositor.KeptPortrait();
        EXPECT_EQ(shows, compositor.KeptPortrait() != 0) << frame;
    }
    EXPECT_EQ(painter.wasted, 0);
    // The run went both ways often enough to tell.
    EXPECT_GT(painter.cardDraws, 300);
    EXPECT_GT(painter.copies - painter.lineCopies, 400);
    EXPECT_GT(painter.lineCopies, 400);
    EXPECT_GT(painter.tiles, 20000);
}
