// What the show presents must be, frame for frame, the picture of the
// classic way of drawing a frame: the whole work surface cleared to black,
// the card copied onto it, the portrait stretched over its box, the
// rendering written over everything, the work surface shown whole. That
// reference is drawn here, from the scenes the rules decide, and compared
// with what the product's compositor presents, in changed areas and whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "win32/show/GdiCanvas.h"
#include "win32/show/Portraits.h"
#include "win32/show/Show.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/base/Platform.h"
#include "core/base/Rects.h"
#include "core/base/Scaling.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "core/show/Card.h"
#include "core/show/FramePainter.h"
#include "core/show/Magnifier.h"
#include "core/show/ShowDriver.h"
#include "core/show/ShowRecord.h"
#include "core/show/ShowState.h"
#include "support/MarkedCard.h"

using namespace mirobel;

namespace {
uint64_t Fingerprint(const Surface& screen, std::vector<uint32_t>& pixels) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = screen.width;
    bi.bmiHeader.biHeight = -screen.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    pixels.assign(static_cast<size_t>(screen.width) * screen.height, 0);
    GetDIBits(screen.dc, screen.bitmap, 0, screen.height, pixels.data(), &bi, DIB_RGB_COLORS);
    uint64_t h = 1469598103934665603ull;
    for (uint32_t p : pixels) {
        h ^= p & 0xFFFFFF;
        h *= 1099511628211ull;
    }
    return h;
}

// The classic frame, at 96 dpi, on a work surface the size of the screen.
struct ClassicFrame : FrameTarget {
    ClassicFrame(const Surface& cardCanvas, FrameTarget& measuring, int width, int height)
        : canvas(cardCanvas), measure(measuring), font(MakeFont(kMinchoFace, 12, false, 96)) {
        work.Resize(width, height, RGB(0, 0, 0));
    }
    ~ClassicFrame() { DeleteObject(font); }
    int TickerWidth(const std::wstring& text) override { return measure.TickerWidth(text); }
    void Present(const Scene& scene, const std::vector<Rect>&) override {
        const RECT all{0, 0, work.width, work.height};
        FillRect(work.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        const Rect& c = scene.card;
        BitBlt(work.dc, c.left, c.top, c.right - c.left, c.bottom - c.top, canvas.dc, 0, 0, SRCCOPY);
        const Rect& p = scene.portrait;
        if (!Empty(p) && (picturePoem == scene.portraitPoem || DecodePortrait(scene.portraitPoem, picture))) {
            picturePoem = scene.portraitPoem;
            SetStretchBltMode(work.dc, HALFTONE);
            SetBrushOrgEx(work.dc, 0, 0, nullptr);
            StretchBlt(work.dc, p.left, p.top, p.right - p.left, p.bottom - p.top, picture.dc, 0, 0, picture.width,
                       picture.height, SRCCOPY);
        }
        if (!Empty(scene.tickerLine)) {
            HGDIOBJ old = SelectObject(work.dc, font);
            SetBkMode(work.dc, TRANSPARENT);
            SetTextColor(work.dc, RGB(255, 255, 255));
            TextOutW(work.dc, scene.tickerX, scene.tickerY, scene.tickerText.c_str(),
                     static_cast<int>(scene.tickerText.size()));
            SelectObject(work.dc, old);
        }
    }
    const Surface& canvas;
    FrameTarget& measure;
    HFONT font;
    Surface work, picture;
    int picturePoem = 0;
};

struct Playback {
    std::vector<uint64_t> frames;
    int cardChanges = 0;
    int corners = 0;
    // The window's repaint of the last frame (after being covered), reduced
    // the same way.
    uint64_t repainted = 0;
};

const Settings kRandomOrder{.SelectFirst = 1, .SelectEnd = 100, .SelectType = 2};

// The product's frames, presented into a screen that starts grey, so that
// a pixel it fails to present shows.
Playback Play(int width, int height, Presentation how, int frames) {
    Surface screen;
    screen.Resize(width, height, RGB(90, 90, 90));
    DisplayShow show(kRandomOrder, 96, {0, 0, width, height}, how, {.dc = screen.dc}, 5);
    Playback run;
    std::vector<uint32_t> pixels;
    for (int i = 0; i < frames; ++i) {
        const ShowState& now = show.State();
        int poem = now.PoemNo, dx = now.CardDirX, dy = now.CardDirY;
        if (i == 0) show.driver.Start(width, height);
        else show.driver.NextFrame();
        if (i > 0 && now.PoemNo != poem) ++run.cardChanges;
        if (now.CardDirX != dx && now.CardDirY != dy) ++run.corners;
        run.frames.push_back(Fingerprint(screen, pixels));
    }
    Surface repaint;
    repaint.Resize(width, height, RGB(90, 90, 90));
    show.surfaces.Repaint(repaint.dc, RECT{0, 0, width, height});
    run.repainted = Fingerprint(repaint, pixels);
    return run;
}

// The same show drawn the classic way.
std::vector<uint64_t> PlayClassic(int width, int height, int frames) {
    GdiSeams gdi({}, 96, TickerFontFor(Settings{}));
    ClassicFrame classic(gdi.CanvasSurface(), gdi.Frame(), width, height);
    ShowDriver driver(kRandomOrder, gdi.Canvas(), classic, 5, 96);
    std::vector<uint64_t> run;
    std::vector<uint32_t> pixels;
    for (int i = 0; i < frames; ++i) {
        if (i == 0) driver.Start(width, height);
        else driver.NextFrame();
        run.push_back(Fingerprint(classic.work, pixels));
    }
    return run;
}

int FirstDifference(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
    const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return at.first == a.end() && at.second == b.end() ? -1 : static_cast<int>(at.first - a.begin());
}

// Plays the classic frames and both presentations on a screen of the given
// size and compares them frame by frame.
void Compare(int width, int height, int frames, int minCardChanges, int minCorners) {
    AddEmbeddedFonts();
    FillPoemTables();

    const std::vector<uint64_t> classic = PlayClassic(width, height, frames);
    Playback whole = Play(width, height, Presentation::WholeScreen, frames);
    Playback changed = Play(width, height, Presentation::ChangedRects, frames);

    EXPECT_GE(changed.cardChanges, minCardChanges) << "the run must include card changes";
    EXPECT_GE(changed.corners, minCorners) << "the run must include a corner bounce";
    EXPECT_EQ(FirstDifference(classic, whole.frames), -1) << "whole frames differ from the classic frames";
    EXPECT_EQ(FirstDifference(classic, changed.frames), -1) << "changed areas differ from the classic frames";
    EXPECT_EQ(whole.repainted, whole.frames.back());
    EXPECT_EQ(changed.repainted, changed.frames.back()) << "a repaint does not restore the last frame";
    printf("%d x %d: compared %d frames, %d card changes, %d corner bounces\n", width, height, frames,
           changed.cardChanges, changed.corners);
}
}  // namespace

TEST(Presentation, WhatIsPresentedIsTheClassicFrame) {
    // A small screen makes edge contacts and card changes frequent; with these
    // sizes the card meets a side every 100 frames and the top or bottom
    // every 50, so every side contact is a corner.
    Compare(598, 358, 1500, 3, 1);
}

TEST(Presentation, WhatIsPresentedIsTheClassicFrameOnAWideScreen) {
    // At 1280 x 720 the ticker's line is wider than one tile, so the text
    // crosses the seam between tiles; the first whole frame is mostly plain
    // black.
    Compare(1280, 720, 1000, 1, 0);
}

// The card's credit, "produced by " and the authors' name in the embedded
// Mincho, ends inside the card at 100 % and magnified: its last ink lies
// left of the card's right edge, in the canvas's pixels at that scale (the
// canvas is white beyond the card, where overrunning text would show).
TEST(Presentation, TheWholeCreditFitsOnTheCardAtEveryScale) {
    AddEmbeddedFonts();
    FillPoemTables();
    for (int dpi : {96, 120, 144, 192, 288}) {
        SCOPED_TRACE(dpi);
        DisplayShow show({}, dpi, {0, 0, 1280, 720});
        MagnifiedCanvas canvas(show.surfaces.Canvas(), dpi);
        PrepareCard(show.State(), show.SettingsRecord(), canvas, *g_platform.random);
        const int top = Magnify(246, dpi), bottom = Magnify(260, dpi);
        const int left = Magnify(222, dpi), edge = Magnify(kCardWidth, dpi);
        const Surface& card = show.surfaces.CanvasSurface();
        int lastInk = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < card.width; ++x)
                if (COLORREF c = GetPixel(card.dc, x, y); c != RGB(0, 128, 128) && c != RGB(255, 255, 255))
                    lastInk = std::max(lastInk, x);
        printf("%d dpi: the credit's ink ends at %d of %d\n", dpi, lastInk + 1, edge);
        EXPECT_GT(lastInk, left + (edge - left) / 2) << "no credit drawn";
        EXPECT_LT(lastInk, edge) << "the credit runs past the card";
    }
}

// With the kimariji setting on, the card canvas differs from the classic
// one only in the marked kana, which are vermilion: at 100 % and at 200 %,
// for a mark within the first phrase, one across both phrases and one of a
// single kana.
TEST(Presentation, TheMarkedCardIsTheClassicCardWithItsDecidingKanaInVermilion) {
    AddEmbeddedFonts();
    FillPoemTables();
    for (int dpi : {96, 192})
        for (int poem : {31, 44, 87}) {
            SCOPED_TRACE("poem " + std::to_string(poem) + " at " + std::to_string(dpi) + " dpi");
            Settings settings{.SelectFirst = static_cast<int16_t>(poem), .SelectEnd = static_cast<int16_t>(poem),
                              .SelectType = 2};
            std::vector<std::vector<uint32_t>> cards(2);
            int width = 0, height = 0;
            for (bool on : {false, true}) {
                settings.Kimariji = on;
                DisplayShow show(settings, dpi, {0, 0, 1280, 720});
                MagnifiedCanvas canvas(show.surfaces.Canvas(), dpi);
                PrepareCard(show.State(), show.SettingsRecord(), canvas, *g_platform.random);
                while (show.State().WritePhase < 8) WriteNextChar(show.State(), canvas);
                const Surface& card = show.surfaces.CanvasSurface();
                Fingerprint(card, cards[on]);
                width = card.width, height = card.height;
            }
            auto pixel = [&](const std::vector<uint32_t>& c) {
                return [&c, width](int x, int y) { return c[static_cast<size_t>(y) * width + x] & 0xFFFFFF; };
            };
            const int scale = dpi / 96;
            const auto cells = mirobel::testing::MarkedCells(poem, 0, 0, scale);
            const mirobel::testing::MarkedCardReport r = mirobel::testing::CompareMarkedCard(width, height, pixel(cards[0]), pixel(cards[1]), cells);
            EXPECT_EQ(r.outside + r.newInk + r.notRed, 0)
                << r.first << " (outside " << r.outside << ", new ink " << r.newInk << ", not red " << r.notRed << ")";
            EXPECT_GT(r.vermilion, 40L * scale * scale * static_cast<long>(cells.size()));
        }
}
