#include "win32/base/Surface.h"

#include "win32/base/Gdi.h"

namespace mirobel {

void Surface::Resize(int w, int h, COLORREF background) {
    WindowDc screen;
    if (!dc) dc = CreateCompatibleDC(screen.get());
    HBITMAP fresh = CreateCompatibleBitmap(screen.get(), w > 0 ? w : 1, h > 0 ? h : 1);
    HGDIOBJ previous = SelectObject(dc, fresh);
    if (!oldBitmap) oldBitmap = previous;
    if (bitmap) DeleteObject(bitmap);
    bitmap = fresh;
    width = w;
    height = h;
    Brush brush(CreateSolidBrush(background));
    RECT all{0, 0, w, h};
    FillRect(dc, &all, brush.get());
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
    dc = nullptr;
    bitmap = nullptr;
    oldBitmap = nullptr;
    width = height = 0;
}

}  // namespace mirobel
