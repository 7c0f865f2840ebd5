// The changed-rectangle presentation must put exactly the same picture on the
// screen as presenting the whole work surface every frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/base/Scaling.h"
#include "win32/show/frmDisp.h"
#include "win32/show/Show.h"
#include "core/show/ShowState.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "core/show/Card.h"
#include "core/show/FramePainter.h"

using namespace mirobel;

namespace {
// The screen's pixels reduced to one number per frame (FNV-1a), and the
// card events seen, so that the two runs can be compared frame by frame.
struct Playback {
    std::vector<uint64_t> frames;
    int cardChanges = 0;
    int corners = 0;
    bool wholeScreenSurfaces = false;
    // The window's repaint of the last frame (after being covered), reduced
    // the same way.
    uint64_t repainted = 0;
};

uint64_t Fingerprint(Surface& screen, std::vector<uint32_t>& pixels) {
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

Playback Play(int width, int height, Presentation how, int frames) {
    Surface screen;
    screen.Resize(width, height, RGB(90, 90, 90));  // not black: stale pixels would show
    DisplayShow show({.SelectFirst = 1, .SelectEnd = 100, .SelectType = 2}, 96, width, height, how);
    show.surfaces.PresentInto(&screen);
    PrepareCard(show.state, show.settings, show.surfaces.Canvas(), *g_platform.random);
    Playback run;
    run.wholeScreenSurfaces = scr_work.dc || scr_bkg.dc;
    std::vector<uint32_t> pixels;
    for (int i = 0; i < frames; ++i) {
        const ShowState& now = show.state;
        int poem = now.PoemNo, dx = now.CardDirX, dy = now.CardDirY;
        PaintFrame(show.state, show.settings, show.Seams());
        if (now.PoemNo != poem) ++run.cardChanges;
        if (now.CardDirX != dx && now.CardDirY != dy) ++run.corners;
        run.frames.push_back(Fingerprint(screen, pixels));
    }
    Surface repaint;
    repaint.Resize(width, height, RGB(90, 90, 90));
    show.surfaces.Repaint(repaint.dc, RECT{0, 0, width, height});
    run.repainted = Fingerprint(repaint, pixels);
    return run;
}

// Plays both presentations on a screen of the given size and compares them
// frame by frame.
void Compare(int width, int height, int frames, int minCardChanges, int minCorners) {
    AddEmbeddedFonts();
    FillPoemTables();

    Playback whole = Play(width, height, Presentation::WholeScreen, frames);
    Playback changed = Play(width, height, Presentation::ChangedRects, frames);

    EXPECT_GE(whole.cardChanges, minCardChanges) << "the run must include card changes";
    EXPECT_GE(whole.corners, minCorners) << "the run must include a corner bounce";
    EXPECT_EQ(changed.cardChanges, whole.cardChanges);
    ASSERT_EQ(changed.frames.size(), whole.frames.size());
    int firstDifference = -1;
    for (size_t i = 0; i < whole.frames.size() && firstDifference < 0; ++i)
        if (changed.frames[i] != whole.frames[i]) firstDifference = static_cast<int>(i);
    EXPECT_EQ(firstDifference, -1) << "screens differ from frame " << firstDifference;
    // Only the reference presentation keeps pictures of the whole screen.
    EXPECT_TRUE(whole.wholeScreenSurfaces);
    EXPECT_FALSE(changed.wholeScreenSurfaces);
    EXPECT_EQ(whole.repainted, whole.frames.back());
    EXPECT_EQ(changed.repainted, changed.frames.back()) << "a repaint does not restore the last frame";
    printf("%d x %d: compared %d frames, %d card changes, %d corner bounces\n", width, height, frames,
           whole.cardChanges, whole.corners);
}
}  // namespace

TEST(Presentation, ChangedRectanglesGiveTheSameScreenAsWholeFrames) {
    // A small screen makes edge contacts and card changes frequent; with these
    // sizes the card meets a side every 100 frames and the top or bottom
    // every 50, so every side contact is a corner.
    Compare(598, 358, 1500, 3, 1);
}

TEST(Presentation, ChangedRectanglesGiveTheSameScreenAsWholeFramesOnAWideScreen) {
    // At 1280 x 720 the ticker strip is wider than one composing piece, so
    // the text crosses the seam between pieces; the first whole frame is
    // mostly plain black.
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
        DisplayShow show({}, dpi, 1280, 720);
        PrepareCard(show.state, show.settings, show.surfaces.Canvas(), *g_platform.random);
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
