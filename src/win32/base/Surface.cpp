#include "win32/base/Surface.h"

namespace mirobel {

void Surface::Resize(int w, int h, COLORREF background) {
    if (!dc) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
    }
    HDC screen = GetDC(nullptr);
    HBITMAP fresh = CreateCompatibleBitmap(screen, w > 0 ? w : 1, h > 0 ? h : 1);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, fresh);
    if (!oldBitmap) oldBitmap = previous;
    if (bitmap) DeleteObject(bitmap);
    bitmap = fresh;
    width = w;
    height = h;
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

void Surface::Adopt(HBITMAP picture, int w, int h) {
    Release();
    dc = CreateCompatibleDC(nullptr);
    oldBitmap = SelectObject(dc, picture);
    bitmap = picture;
    width = w;
    height = h;
}

void Surface::Release() {
    if (dc) {
        SelectObject(dc, oldBitmap);
        DeleteDC(dc);
    }
    if (bitmap) DeleteObject(bitmap);
    *this = Surface{};
}

}  // namespace mirobel
