// The compositor writes every pixel of a presented area exactly once, and
// nothing outside it, whatever the card and the ticker's line cover and
// whether or not the painter keeps pictures to copy from; it copies only
// what lies in the kept pictures and composes the rest on one grid.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/show/Compositor.h"

using namespace mirobel;

namespace {
Rect RandomRect(std::mt19937& random, bool mayBeEmpty) {
    std::uniform_int_distribution<int> at(-5, 40), size(mayBeEmpty ? 0 : 1, 25);
    const int left = at(random), top = at(random);
    return {left, top, left + size(random), top + size(random)};
}

// Counts the writes of every pixel of the field the rectangles lie in.
struct CountingPainter : ScenePainter {
    bool keeps = true;
    int tile = 7;
    int writes[80][80] = {};  // from (-10, -10)
    int copies = 0, tiles = 0, betweens = 0;
    std::vector<std::string> faults;
    void Write(const Rect& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) ++writes[y + 10][x + 10];
    }
    int TickerWidth(const std::wstring& text) override { return static_cast<int>(text.size()); }
    int TileWidth() const override { return tile; }
    int TileHeight() const override { return tile + 2; }
    void FillBlack(const Rect& r) override { Write(r); }
    void BetweenAreas() override { ++betweens; }
    bool KeepCard(const Scene&) override { return keeps; }
    bool KeepTicker(const Scene&) override { return keeps; }
    void CopyCard(const Scene& scene, const Rect& to) override {
        if (!Inside(to, scene.card)) faults.push_back("card copied from beyond the card");
        Write(to), ++copies;
    }
    void CopyTicker(const Scene& scene, const Rect& to) override {
        if (!Inside(to, scene.tickerLine)) faults.push_back("line copied from beyond the line");
        Write(to), ++copies;
    }
    void ComposeTile(const Scene&, const Rect& t) override {
        const auto cell = [](int at, int size) { return ((at % size) + size) % size; };
        if (t.right - t.left > tile || t.bottom - t.top > tile + 2) faults.push_back("tile too large");
        if (cell(t.left, tile) + (t.right - t.left) > tile || cell(t.top, tile + 2) + (t.bottom - t.top) > tile + 2)
            faults.push_back("tile across the grid");
        Write(t), ++tiles;
    }
};
}  // namespace

TEST(Compositor, WritesEachPixelOfTheAreasOnceCopyingWhatItCanAndComposingTheRestOnOneGrid) {
    std::mt19937 random(7);
    int copied = 0, composed = 0;
    for (int i = 0; i < 2000; ++i) {
        const bool keeps = i % 4 != 0;
        Scene scene;
        scene.card = RandomRect(random, true);
        scene.tickerLine = RandomRect(random, true);
        const std::vector<Rect> areas{RandomRect(random, false), RandomRect(random, false)};
        const auto anythingIn = [&](const Rect& area) {
            return Overlap(scene.card, area) || Overlap(scene.tickerLine, area);
        };
        // Two areas may overlap; each is presented whole, so count them apart.
        for (const Rect& area : areas) {
            CountingPainter alone;
            alone.keeps = keeps;
            Compositor(alone).Present(scene, {area});
            for (int y = -10; y < 70; ++y)
                for (int x = -10; x < 70; ++x) {
                    const bool in = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                    ASSERT_EQ(alone.writes[y + 10][x + 10], in ? 1 : 0) << "case " << i << " at " << x << ", " << y;
                }
            ASSERT_TRUE(alone.faults.empty()) << i << ": " << alone.faults.front();
            const bool crossing = Overlap(Intersect(scene.card, area), Intersect(scene.tickerLine, area));
            const bool anything = anythingIn(area);
            // Copies wherever the painter keeps pictures and the line does
            // not run over the card there; tiles only otherwise.
            if (keeps && !crossing) {
                EXPECT_EQ(alone.tiles, 0) << i;
            } else {
                EXPECT_EQ(alone.copies, 0) << i;
                EXPECT_EQ(alone.tiles > 0, anything) << i;
            }
            copied += alone.copies > 0, composed += alone.tiles > 0;
        }
        // The painter hears of the step from one area to the next, and only
        // of that.
        CountingPainter both;
        Compositor(both).Present(scene, {areas[0], Rect{}, areas[1]});
        EXPECT_EQ(both.betweens, 1) << i;
        // A repaint presents the last frame's scene again.
        CountingPainter repainted;
        Compositor compositor(repainted);
        compositor.Present(scene, {});
        compositor.Repaint(areas[0]);
        int written = 0;
        for (const auto& row : repainted.writes)
            for (int n : row) written += n;
        EXPECT_EQ(written, (areas[0].right - areas[0].left) * (areas[0].bottom - areas[0].top)) << i;
        EXPECT_EQ(repainted.copies + repainted.tiles > 0, anythingIn(areas[0])) << i;
    }
    EXPECT_GT(copied, 500);
    EXPECT_GT(composed, 300);
}
