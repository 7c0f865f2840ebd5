// A card written with its deciding kana marked, against the same card
// written the classic way, pixel by pixel: for the GDI and the cairo
// renderers alike. Plain C++, over whatever pixels a renderer gives.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/base/Seams.h"
#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"
#include "core/show/ShowState.h"

namespace mirobel::testing {

// Where the writer puts the marked kana of poem n, in pixels of a card whose
// top-left is (left, top) drawn at `scale`: each kana's cell with room for
// what a bold glyph reaches beyond it.
inline std::vector<Rect> MarkedCells(int n, int left, int top, int scale) {
    FillPoemTables();
    const int firstPhrase = static_cast<int>(GetField(PoemTable(n), 1, L",").size());
    std::vector<Rect> cells;
    for (int k = 0; k < KimarijiOf(n).cardKana; ++k) {
        const int x = k < firstPhrase ? 350 : 310, y = 25 + 25 * (k < firstPhrase ? k : k - firstPhrase);
        cells.push_back({left + (x - 4) * scale, top + (y - 4) * scale, left + (x + 34) * scale,
                         top + (y + 40) * scale});
    }
    return cells;
}

struct MarkedCardReport {
    long differing = 0;  // pixels that differ at all
    long outside = 0;    // ... outside the marked kana's cells
    long newInk = 0;     // ... where the classic card has no ink
    long notRed = 0;     // ... that are not a shade of the vermilion
    long vermilion = 0;  // pixels in the vermilion itself
    std::string first;   // the first wrong pixel, for the message
};

// pixel(x, y) of each picture gives 0xRRGGBB.
template <typename Classic, typename Marked>
MarkedCardReport CompareMarkedCard(int width, int height, Classic classic, Marked marked,
                                   const std::vector<Rect>& cells) {
    MarkedCardReport report;
    auto channel = [](uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = classic(x, y), m = marked(x, y);
            if (c == m) continue;
            ++report.differing;
            bool inside = false;
            for (const Rect& r : cells) inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            const int r = channel(m, 16), g = channel(m, 8), b = channel(m, 0);
            const bool white = c == 0xFFFFFF;
            // Vermilion over white, however thin the coverage: red above
            // green and blue, never darker than the black it replaces.
            const bool red = r >= g && r >= b && r >= channel(c, 16);
            const bool wrong = !inside || white || !red;
            report.outside += !inside;
            report.newInk += white;
            report.notRed += !red;
            if (wrong && report.first.empty()) {
                std::ostringstream where;
                where << "(" << x << ", " << y << "): classic " << std::hex << c << ", marked " << m;
                report.first = where.str();
            }
            if (std::abs(r - kVermilion.r) <= 24 && std::abs(g - kVermilion.g) <= 24 && std::abs(b - kVermilion.b) <= 24)
                ++report.vermilion;
        }
    return report;
}

}  // namespace mirobel::testing
