// The cairo seams driven by the real show rules into an image: what the
// card looks like, that presenting only the changed rectangles gives the
// same picture as whole frames, and that a resize keeps the card inside.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>
#include <cstdio>
#include <string>
#include <vector>

#include "core/show/ShowState.h"
#include "support/MarkedCard.h"
#include "x11/base/Assets.h"
#include "x11/base/Jpeg.h"
#include "x11/ImageSink.h"
#include "x11/show/CairoShowSession.h"

using namespace mirobel;
using namespace mirobel::x11;
using namespace mirobel::testing;

namespace {
struct Pixel {
    int r, g, b;
    bool operator==(const Pixel&) const = default;
};

Pixel At(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
    return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}

template <typename Test>
int Count(cairo_surface_t* s, Rect r, Test test) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (test(At(s, x, y))) ++n;
    return n;
}

// FNV-1a over the colour of every pixel.
uint64_t Digest(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) +
                                                           y * cairo_image_surface_get_stride(s));
        for (int x = 0; x < w; ++x) hash = (hash ^ (row[x] & 0xFFFFFF)) * 1099511628211ull;
    }
    return hash;
}

bool Dark(Pixel p) { return p.r + p.g + p.b < 200; }
bool White(Pixel p) { return p.r > 230 && p.g > 230 && p.b > 230; }
bool Colourful(Pixel p) { return !White(p) && !(p.r == 0 && p.g == 128 && p.b == 128); }

Settings Ascending(int16_t first = 1) {
    return {.SelectFirst = first, .SelectEnd = 100, .SelectType = 2, .Speed = 1};
}
}  // namespace

TEST(CairoShowTest, EmbeddedFontsAndEveryPortraitLoad) {
    EmbeddedFaces faces;
    EXPECT_TRUE(faces.Loaded());
    for (int n = 1; n <= 100; ++n) {
        Blob jpeg = PortraitJpeg(n);
        cairo_surface_t* s = DecodeJpeg(jpeg.data, jpeg.size);
        ASSERT_NE(s, nullptr) << n;
        EXPECT_GT(cairo_image_surface_get_width(s), 10) << n;
        EXPECT_GT(cairo_image_surface_get_height(s), 10) << n;
        cairo_surface_destroy(s);
    }
    EXPECT_EQ(PortraitJpeg(0).data, nullptr);
    EXPECT_EQ(PortraitJpeg(101).data, nullptr);
    // Broken data gives no picture, and the process lives on.
    Blob good = PortraitJpeg(1);
    EXPECT_EQ(DecodeJpeg(good.data, good.size / 3), nullptr);
    const unsigned char garbage[] = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 4, 5};
    EXPECT_EQ(DecodeJpeg(garbage, sizeof garbage), nullptr);
    EXPECT_EQ(DecodeJpeg(nullptr, 0), nullptr);
}

TEST(CairoShowTest, TickerIsMeasuredInTheEmbeddedMinchoAtTheShowsSize) {
    CairoShowSession show(Ascending(), 1);
    // Full-width characters advance one em: 12 points at 96 dpi are 16 px.
    EXPECT_EQ(show.Frame().TickerWidth(L"あいう"), 48);
    EXPECT_EQ(show.Frame().TickerWidth(L""), 0);
}

TEST(CairoShowTest, CardShowsFacePanelPoemPortraitAndTicker) {
    CairoShowSession show(Ascending(17), 3);
    ImageSink sink(1024, 768);
    show.SetSink(&sink);
    show.Start(1024, 768);
    // Past the writing (phase 5 and later): portrait and ticker are shown.
    int frames = 0;
    while ((show.State().WritePhase < 5 || show.State().TickerX > 600) && frames < 2000) show.NextFrame(), ++frames;
    ASSERT_LT(frames, 2000);
    const auto now = Now(show);
    EXPECT_EQ(now.poem, 17);
    cairo_surface_t* img = sink.Surface();
    const int x = now.cardX, y = now.cardY;
    // Dark-cyan face, the panel's black outline and white inside.
    EXPECT_EQ(At(img, x + 5, y + 100), (Pixel{0, 128, 128}));
    EXPECT_EQ(At(img, x + 395, y + 250), (Pixel{0, 128, 128}));
    EXPECT_EQ(At(img, x + 15, y + 100), (Pixel{0, 0, 0}));
    EXPECT_EQ(At(img, x + 384, y + 100), (Pixel{0, 0, 0}));
    EXPECT_EQ(At(img, x + 200, y + 16), (Pixel{255, 255, 255}));
    // The poem's five columns, right to left from x 350: ink in each.
    for (int column = 0; column < 5; ++column) {
        const int cx = x + 350 - 40 * column;
        EXPECT_GT(Count(img, {cx, y + 25, cx + 30, y + 240}, Dark), 150) << "column " << column;
    }
    // The portrait is a picture, not the white panel.
    EXPECT_GT(Count(img, {x + kPortraitLeft, y + kPortraitTop, x + kPortraitLeft + kPortraitWidth,
                          y + kPortraitTop + kPortraitHeight},
                    Colourful),
              kPortraitWidth * kPortraitHeight / 2);
    // The title line in small Mincho on the face above the panel.
    EXPECT_GT(Count(img, {x + 15, y + 1, x + 250, y + 15}, Dark), 100);
    // White ticker text on black along the bottom; nothing else there.
    const int tickerInk = Count(img, {0, 768 - 30, 1024, 768}, White);
    EXPECT_GT(tickerInk, 200);
    const int tickerLeft = std::max(0, show.State().TickerX - 3);
    EXPECT_EQ(Count(img, {0, 768 - 30, tickerLeft, 768}, [](Pixel p) { return p.r + p.g + p.b > 0; }), 0);
    // Black everywhere away from the card and the ticker.
    EXPECT_EQ(At(img, (x + 600) % 1024, (y + 400) % 700), (Pixel{0, 0, 0}));
}

TEST(CairoShowTest, ChangedRectanglesAndCopiesGiveTheSamePictureAsWholeFrames) {
    // Long enough for several cards, bounces, portraits, the card over the
    // ticker and ticker restarts. Whole frames and changed rectangles, both
    // presented by copies of kept pictures where the frame allows, and
    // changed rectangles composed in tiles every time: the same screen at
    // every frame (compared by a digest of every pixel).
    const int frames = 1500;
    std::vector<std::vector<uint64_t>> runs;
    cairo_surface_t* last = nullptr;
    for (auto [whole, keeps] : {std::pair{true, true}, std::pair{false, true}, std::pair{false, false}}) {
        CairoShowSession show(Settings{.Speed = 1}, 11);
        show.PresentWholeFrames(whole);
        ImageSink sink(700, 420);
        sink.keeps = keeps;
        sink.tileWidth = 97, sink.tileHeight = 61;  // tiles that cut through everything
        show.SetSink(&sink);
        show.Start(700, 420);
        int mostPortraits = 0;
        std::set<int> poems;
        std::vector<uint64_t> digests;
        for (int i = 0; i < frames; ++i) {
            show.NextFrame();
            mostPortraits = std::max(mostPortraits, show.Frame().DecodedPortraits());
            poems.insert(Now(show).poem);
            digests.push_back(Digest(sink.Surface()));
        }
        // Of the cards' portraits only the shown one (and the last one,
        // while the kept card still shows it) stays decoded.
        EXPECT_GE(poems.size(), 3u);
        EXPECT_LE(mostPortraits, 2);
        runs.push_back(std::move(digests));
        show.SetSink(nullptr);
        if (last) cairo_surface_destroy(last);
        last = cairo_surface_reference(sink.Surface());
    }
    for (size_t run = 1; run < runs.size(); ++run) {
        const auto differ = std::mismatch(runs[0].begin(), runs[0].end(), runs[run].begin());
        EXPECT_EQ(differ.first, runs[0].end()) << "run " << run << " differs from frame "
                                               << (differ.first - runs[0].begin());
    }
    EXPECT_GT(Count(last, {0, 0, 700, 420}, [](Pixel p) { return p.g == 128 && p.b == 128 && p.r == 0; }), 1000);
    cairo_surface_destroy(last);
}

TEST(CairoShowTest, ResizeKeepsTheCardOnTheScreen) {
    // At 100 % and at 200 %, where the card and the screens are twice the size.
    for (int s : {1, 2}) {
        CairoShowSession show(Ascending(), 5, 96 * s);
        ImageSink sink(1280 * s, 720 * s);
        show.SetSink(&sink);
        show.Start(1280 * s, 720 * s);
        for (int i = 0; i < 400; ++i) show.NextFrame();  // far to the right and down
        ASSERT_GT(Now(show).cardX, (600 - kCardWidth) * s);
        show.Resize(600 * s, 400 * s);
        for (int i = 0; i < 500; ++i) {
            auto now = Now(show);
            ASSERT_GE(now.cardX, 0);
            ASSERT_LE(now.cardX + kCardWidth * s, 600 * s) << i;
            ASSERT_LE(now.cardY + kCardHeight * s, 400 * s) << i;
            show.NextFrame();
        }
        // Smaller than the card: it stays in the corner, and frames go on.
        show.Resize(300 * s, 200 * s);
        EXPECT_EQ(Now(show).cardX, 0);
        EXPECT_EQ(Now(show).cardY, 0);
        for (int i = 0; i < 50; ++i) show.NextFrame();
        EXPECT_EQ(show.State().screenWidth, 300);  // in units
    }
}

TEST(CairoShowTest, FramesComeAtTheWindowsPaceForEachSpeed) {
    // The table's 1 ms is held to the Windows timer's 10 ms minimum.
    const int expected[] = {10, 10, 50, 100, 500};
    for (int16_t speed = 1; speed <= 5; ++speed) {
        CairoShowSession show(Settings{.Speed = speed}, 1);
        EXPECT_EQ(show.FrameInterval(), expected[speed - 1]) << speed;
    }
}

namespace {
// A frame as plain pixels, kept after the sink has moved on.
struct Shot {
    int width = 0, height = 0;
    std::vector<Pixel> pixels;
    Pixel at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Shot Take(cairo_surface_t* s) {
    Shot shot{cairo_image_surface_get_width(s), cairo_image_surface_get_height(s), {}};
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) shot.pixels.push_back(At(s, x, y));
    return shot;
}

struct ScaledRun {
    std::string record;
    std::vector<CardPlace> positions;
    std::vector<Shot> shots;  // every kShotEvery frames
};
constexpr int kShotEvery = 125;

// A seeded random-order run of the real show on a screen of the given
// pixels, drawn at `dpi`.
ScaledRun Play(int dpi, int width, int height, int frames) {
    ScaledRun run;
    std::FILE* out = std::tmpfile();
    {
        CairoShowSession show(Settings{.Speed = 1}, 23, dpi);
        ImageSink sink(width, height);
        show.SetSink(&sink);
        show.Start(width, height);
        for (int i = 1; i <= frames; ++i) {
            show.NextFrame();
            show.Record(out, i);
            run.positions.push_back(Now(show));
            if (i % kShotEvery == 0) run.shots.push_back(Take(sink.Surface()));
        }
    }
    std::rewind(out);
    for (int c; (c = std::fgetc(out)) != EOF;) run.record += static_cast<char>(c);
    std::fclose(out);
    return run;
}

int Luma(Pixel p) { return (p.r * 3 + p.g * 6 + p.b) / 10; }
bool Grey(Pixel p) { return p.r == p.g && p.g == p.b && p.r > 40 && p.r < 215; }  // a glyph edge on white or black
}  // namespace

TEST(CairoShowTest, AtTwiceTheScaleEveryFrameIsThe96DpiFrameMagnifiedAndDrawnCrisply) {
    // 640 x 400 units: 640 x 400 pixels at 96 dpi, 1280 x 800 at 192.
    const int frames = 1500;
    const ScaledRun base = Play(96, 640, 400, frames);
    const ScaledRun scaled = Play(192, 1280, 800, frames);

    // The same rules decided the same things in every frame.
    ASSERT_GT(std::count(base.record.begin(), base.record.end(), 'c'), 3) << "the run must change cards";
    EXPECT_EQ(scaled.record, base.record);
    ASSERT_EQ(scaled.positions.size(), base.positions.size());
    for (size_t i = 0; i < base.positions.size(); ++i) {
        ASSERT_EQ(scaled.positions[i].cardX, 2 * base.positions[i].cardX) << "frame " << i + 1;
        ASSERT_EQ(scaled.positions[i].cardY, 2 * base.positions[i].cardY) << "frame " << i + 1;
    }

    // Each picture is the 96-dpi one at twice the size: every 2 x 2 block
    // averages to its 96-dpi pixel, apart from where glyph edges fall (text
    // or a portrait left at the 96-dpi size differs three times as much).
    // And it is drawn at that size, not stretched: a glyph's grey edge is
    // twice as long at twice the size, where a stretched picture would have
    // four times as many grey pixels (every one made a 2 x 2 block).
    ASSERT_EQ(base.shots.size(), static_cast<size_t>(frames / kShotEvery));
    for (size_t n = 0; n < base.shots.size(); ++n) {
        const Shot &a = base.shots[n], &b = scaled.shots[n];
        ASSERT_EQ(b.width, 2 * a.width);
        long difference = 0, far = 0, inked = 0, greyA = 0, greyB = 0;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                const Pixel p = a.at(x, y);
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) sum += Luma(b.at(2 * x + dx, 2 * y + dy));
                const int d = std::abs(sum / 4 - Luma(p));
                difference += d;
                far += d > 96;
                inked += Luma(p) != 0;
                greyA += Grey(p);
            }
        for (const Pixel& p : b.pixels) greyB += Grey(p);
        const std::string frame = "frame " + std::to_string((n + 1) * kShotEvery);
        EXPECT_LT(static_cast<double>(difference) / (a.width * a.height), 4.5) << frame;
        EXPECT_LT(far, inked / 20) << frame;
        ASSERT_GT(greyA, 200) << frame << ": text on the card";
        EXPECT_GT(greyB, greyA * 17 / 10) << frame;
        EXPECT_LT(greyB, greyA * 26 / 10) << frame;
    }
}

// Sessions share nothing: two at once, stepped in turn, each moves and draws
// exactly as it does alone, though their seeds, screens and scales differ.
// They draw from the same three poems, so that they often show the same
// poem at the same time.
TEST(CairoShowTest, TwoSessionsAtOnceEachDrawWhatItDrawsAlone) {
    struct Kind {
        uint64_t seed;
        int width, height, dpi;
    };
    const Kind kinds[2] = {{3, 560, 360, 96}, {8, 840, 540, 144}};
    const Settings settings{.SelectFirst = 79, .SelectEnd = 81, .SelectType = 1, .Speed = 1};
    const int frames = 600;
    struct Run {
        Run(const Kind& kind, const Settings& settings)
            : show(settings, kind.seed, kind.dpi), sink(kind.width, kind.height) {
            show.SetSink(&sink);
            show.Start(kind.width, kind.height);
        }
        void Next() {
            show.NextFrame();
            const auto now = Now(show);
            path += std::to_string(now.cardX) + "," + std::to_string(now.cardY) + "," + std::to_string(now.poem) + " ";
        }
        CairoShowSession show;
        ImageSink sink;
        std::string path;
    };
    std::vector<std::string> paths;
    std::vector<Shot> shots;
    for (const Kind& kind : kinds) {
        Run alone(kind, settings);
        for (int i = 0; i < frames; ++i) alone.Next();
        paths.push_back(alone.path);
        shots.push_back(Take(alone.sink.Surface()));
    }
    ASSERT_NE(paths[0], paths[1]);

    Run first(kinds[0], settings), second(kinds[1], settings);
    for (int i = 0; i < frames; ++i) first.Next(), second.Next();
    EXPECT_EQ(first.path, paths[0]);
    EXPECT_EQ(second.path, paths[1]);
    EXPECT_TRUE(Take(first.sink.Surface()).pixels == shots[0].pixels);
    EXPECT_TRUE(Take(second.sink.Surface()).pixels == shots[1].pixels);
}

// With the kimariji setting on, the card differs from the classic card only
// in the marked kana, which are vermilion: at 100 % and at 200 %, for a mark
// within the first phrase, one across both phrases and one of a single kana.
TEST(CairoShowTest, TheMarkedCardIsTheClassicCardWithItsDecidingKanaInVermilion) {
    for (int scale : {1, 2})
        for (int poem : {31, 44, 87}) {
            SCOPED_TRACE("poem " + std::to_string(poem) + " at " + std::to_string(100 * scale) + " %");
            Settings settings{.SelectFirst = static_cast<int16_t>(poem), .SelectEnd = static_cast<int16_t>(poem),
                              .SelectType = 2, .Speed = 1};
            std::vector<Shot> shots;
            CardPlace where{};
            for (bool on : {false, true}) {
                settings.Kimariji = on;
                CairoShowSession show(settings, 1, 96 * scale);
                ImageSink sink(640 * scale, 400 * scale);
                show.SetSink(&sink);
                show.Start(640 * scale, 400 * scale);
                while (show.State().WritePhase < 8) show.NextFrame();
                where = Now(show);
                shots.push_back(Take(sink.Surface()));
            }
            auto pixel = [](const Shot& s) {
                return [&s](int x, int y) {
                    const Pixel p = s.at(x, y);
                    return static_cast<uint32_t>(p.r << 16 | p.g << 8 | p.b);
                };
            };
            const auto cells = MarkedCells(poem, where.cardX, where.cardY, scale);
            const MarkedCardReport r =
                CompareMarkedCard(shots[0].width, shots[0].height, pixel(shots[0]), pixel(shots[1]), cells);
            EXPECT_EQ(r.outside + r.newInk + r.notRed, 0) << r.first << " (outside " << r.outside << ", new ink " << r.newInk << ", not red " << r.notRed << ") card at " << where.cardX << ", " << where.cardY;
            EXPECT_GT(r.vermilion, 40L * scale * scale * static_cast<long>(cells.size()));
        }
}
