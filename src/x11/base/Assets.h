// The fonts and portraits compiled into the native program (generated at
// build time from assets/ by tools/x11/embed_assets.py).
#pragma once
#include <cstddef>

namespace mirobel::x11 {

struct Blob {
    const unsigned char* data;
    std::size_t size;
};

Blob BrushFontData();   // "Yuji Syuku" subset, stands in for the brush face
Blob MinchoFontData();  // "BIZ UDMincho" subset, stands in for the Mincho face
Blob LatinFontData();   // Liberation Sans subset ("Mirobel Latin"), stands in for the Latin face
// The JPEG of a poem's portrait; empty for numbers outside 1..100.
Blob PortraitJpeg(int poemNo);

}  // namespace mirobel::x11
