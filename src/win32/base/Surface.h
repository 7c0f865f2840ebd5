// An off-screen drawing surface that keeps its content between frames. It
// owns its device context and bitmap: it can be moved, never copied, so the
// handles are freed exactly once.
#pragma once
#include "win32/base/Win32Util.h"

namespace mirobel {

struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    int width = 0, height = 0;

    Surface() = default;
    ~Surface() { Release(); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // New size; the content is cleared to the background colour.
    void Resize(int w, int h, COLORREF background);
    void Release();
    // Takes over a bitmap made elsewhere (a decoded picture).
    void Adopt(HBITMAP picture, int w, int h);
};

}  // namespace mirobel
