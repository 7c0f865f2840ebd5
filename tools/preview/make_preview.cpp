// Makes the preview picture: one card drawn by the show's own card drawing,
// fully written and with its portrait, on black, scaled to 200 x 140 and
// saved as a 24-bit BMP. Run under Wine by make_preview.sh.
//
//   make_preview <out.bmp> [poem number]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "win32/show/Portraits.h"
#include "win32/show/Show.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "app/InstallPlatform.h"
#include "core/base/Platform.h"
#include "core/show/ShowState.h"
#include "core/poems/Poems.h"
#include "core/settings/Settings.h"
#include "core/show/Card.h"

using namespace mirobel;

namespace {
// The card sits on a black ground of the picture's own proportions (10:7),
// so that scaling keeps its shape and a black margin shows round it.
constexpr int kGroundWidth = 440, kGroundHeight = 308;
constexpr int kCardLeft = (kGroundWidth - kCardWidth) / 2, kCardTop = (kGroundHeight - kCardHeight) / 2;
constexpr int kOutWidth = 200, kOutHeight = 140;

struct Pixels {
    int width, height;
    std::vector<double> rgb;  // row-major, three channels
};

Pixels Read(const Surface& s) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.width;
    bi.bmiHeader.biHeight = -s.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> bgra(static_cast<size_t>(s.width) * s.height * 4);
    GetDIBits(s.dc, s.bitmap, 0, s.height, bgra.data(), &bi, DIB_RGB_COLORS);
    Pixels p{s.width, s.height, std::vector<double>(static_cast<size_t>(s.width) * s.height * 3)};
    for (size_t i = 0; i < static_cast<size_t>(s.width) * s.height; ++i) {
        p.rgb[i * 3 + 0] = bgra[i * 4 + 2];
        p.rgb[i * 3 + 1] = bgra[i * 4 + 1];
        p.rgb[i * 3 + 2] = bgra[i * 4 + 0];
    }
    return p;
}

// Area averaging: every output pixel is the mean of the source area it
// covers, weighted by coverage, so that the fine brush strokes thin out
// instead of breaking up as they would with GDI's point sampling.
Pixels Shrink(const Pixels& in, int width, int height) {
    Pixels out{width, height, std::vector<double>(static_cast<size_t>(width) * height * 3)};
    const double sx = static_cast<double>(in.width) / width, sy = static_cast<double>(in.height) / height;
    for (int y = 0; y < height; ++y) {
        const double y0 = y * sy, y1 = y0 + sy;
        for (int x = 0; x < width; ++x) {
            const double x0 = x * sx, x1 = x0 + sx;
            double sum[3] = {0, 0, 0}, area = 0;
            for (int iy = static_cast<int>(y0); iy < in.height && iy < y1; ++iy) {
                const double wy = std::min<double>(iy + 1, y1) - std::max<double>(iy, y0);
                for (int ix = static_cast<int>(x0); ix < in.width && ix < x1; ++ix) {
                    const double w = wy * (std::min<double>(ix + 1, x1) - std::max<double>(ix, x0));
                    const double* src = &in.rgb[(static_cast<size_t>(iy) * in.width + ix) * 3];
                    for (int c = 0; c < 3; ++c) sum[c] += w * src[c];
                    area += w;
                }
            }
            for (int c = 0; c < 3; ++c) out.rgb[(static_cast<size_t>(y) * width + x) * 3 + c] = sum[c] / area;
        }
    }
    return out;
}

bool WriteBmp(const wchar_t* path, const Pixels& p) {
    const int stride = (p.width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = p.width;
    ih.biHeight = p.height;  // bottom-up, as most readers expect
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = static_cast<DWORD>(stride) * p.height;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::vector<BYTE> rows(ih.biSizeImage, 0);
    for (int y = 0; y < p.height; ++y) {
        BYTE* row = &rows[static_cast<size_t>(p.height - 1 - y) * stride];
        for (int x = 0; x < p.width; ++x) {
            const double* px = &p.rgb[(static_cast<size_t>(y) * p.width + x) * 3];
            for (int c = 0; c < 3; ++c) row[x * 3 + (2 - c)] = static_cast<BYTE>(px[c] + 0.5);
        }
    }
    FILE* f = _wfopen(path, L"wb");
    if (!f) return false;
    bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1 &&
              fwrite(rows.data(), rows.size(), 1, f) == 1;
    return fclose(f) == 0 && ok;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_preview <out.bmp> [poem]\n");
        return 2;
    }
    const int poem = argc > 2 ? _wtoi(argv[2]) : 1;
    if (poem < 1 || poem > 100) return 2;

    AddEmbeddedFonts();
    InstallWin32Platform();
    FillPoemTables();
    // The picture is made once for every screen: the card at 96 dots per inch.
    const int16_t number = static_cast<int16_t>(poem);
    DisplayShow show({.SelectFirst = number, .SelectEnd = number, .SelectType = 2}, 96, {0, 0, 1024, 768});
    CardCanvas& canvas = show.surfaces.Canvas();
    PrepareCard(show.State(), show.SettingsRecord(), canvas, *g_platform.random);
    for (int calls = 0; show.State().WritePhase < 8 && calls < 1000; ++calls) WriteNextChar(show.State(), canvas);
    if (show.State().WritePhase != 8) {
        std::fprintf(stderr, "the card was not written to its end\n");
        return 1;
    }
    Surface portrait;
    if (!DecodePortrait(poem, portrait)) {
        std::fprintf(stderr, "no portrait for poem %d\n", poem);
        return 1;
    }

    Surface ground;
    ground.Resize(kGroundWidth, kGroundHeight, RGB(0, 0, 0));
    BitBlt(ground.dc, kCardLeft, kCardTop, kCardWidth, kCardHeight, show.surfaces.CanvasSurface().dc, 0, 0,
           SRCCOPY);
    // As the frame painting shows it, default stretch mode included.
    StretchBlt(ground.dc, kCardLeft + kPortraitLeft, kCardTop + kPortraitTop, kPortraitWidth, kPortraitHeight,
               portrait.dc, 0, 0, portrait.width, portrait.height, SRCCOPY);

    if (!WriteBmp(argv[1], Shrink(Read(ground), kOutWidth, kOutHeight))) {
        std::fprintf(stderr, "cannot write the picture\n");
        return 1;
    }
    ground.Release();
    return 0;
}
