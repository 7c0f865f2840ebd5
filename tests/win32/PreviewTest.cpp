// The preview run into a host window of the test's own process, where Wine
// draws it, so that what the user would see can be read back from the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "core/base/Globals.h"
#include "win32/startup/frmPrev.h"
#include "win32/base/Resources.h"
#include "win32/base/Win32Util.h"
#include "win32/base/WindowClass.h"
#include "win32/companions/Forms.h"
#include "win32/WindowTesting.h"

using namespace mirobel;

namespace {
// Whole twips of a pixel count: twips per pixel are 1440 / dpi exactly
// (8.57... at 168 dpi), so a count of them is rounded.
long Twips(int pixels, double twipsPerPixel) { return std::lround(pixels * twipsPerPixel); }
}  // namespace

namespace {
using mirobel::testing::Pump;
using mirobel::testing::Steady;

HWND MakeHost(int x, int y, int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        // A ground unlike anything in the picture, so uncovered host shows.
        wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
        wc.lpszClassName = L"PreviewTestHost";
        RegisterClassExW(&wc);
        registered = true;
    }
    return CreateWindowExW(0, L"PreviewTestHost", L"host", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

int32_t HandleValue(HWND hwnd) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd)); }

struct Pixels {
    int width = 0, height = 0;
    std::vector<RGBQUAD> px;
    const RGBQUAD& At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Pixels& o) const {
        return width == o.width && height == o.height &&
               std::memcmp(px.data(), o.px.data(), px.size() * sizeof(RGBQUAD)) == 0;
    }
};

Pixels ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
    Pixels p;
    p.width = width;
    p.height = height;
    p.px.resize(static_cast<size_t>(width) * height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    GetDIBits(dc, bitmap, 0, height, p.px.data(), &bi, DIB_RGB_COLORS);
    return p;
}

// What the screen shows in the rectangle.
Pixels Screen(const RECT& r) {
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    Pixels p = ReadBitmap(mem, bitmap, w, h);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return p;
}

// The committed picture, from the test program's own resources.
Pixels Picture() {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PREVIEW),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return {};
    BITMAP bm{};
    GetObjectW(bitmap, sizeof bm, &bm);
    HDC dc = CreateCompatibleDC(nullptr);
    Pixels p = ReadBitmap(dc, bitmap, bm.bmWidth, bm.bmHeight);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return p;
}

bool Dark(const RGBQUAD& c) { return c.rgbRed < 60 && c.rgbGreen < 60 && c.rgbBlue < 60; }

// Bounding box of everything that is not the black ground: the card.
RECT CardBox(const Pixels& p) {
    RECT box{p.width, p.height, -1, -1};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (!Dark(p.At(x, y))) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

class PreviewTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (host && IsWindow(host)) DestroyWindow(host);
        Pump(20);
    }
    HWND host = nullptr;
};
}  // namespace

TEST_F(PreviewTest, EmbedsAVisibleChildThatCoversTheHost) {
    int before = OpenWindowCount();
    host = MakeHost(40, 60, 152, 112);
    StartPreview(HandleValue(host));
    Pump(100);
    ASSERT_NE(frmPrev, nullptr);
    EXPECT_EQ(OpenWindowCount(), before + 1);

    wchar_t caption[32] = {};
    GetWindowTextW(frmPrev, caption, 32);
    EXPECT_STREQ(caption, L"preview window");
    LONG style = GetWindowLongW(frmPrev, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    EXPECT_EQ(GetAncestor(frmPrev, GA_PARENT), host);
    EXPECT_TRUE(IsWindowVisible(frmPrev));
    EXPECT_TRUE(IsWindowVisible(prev));
    RECT r = WindowRect(frmPrev);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, 152);
    EXPECT_EQ(r.bottom - r.top, 112);
    RECT c{};
    GetClientRect(prev, &c);
    EXPECT_EQ(c.right, 152);
    EXPECT_EQ(c.bottom, 112);
    EXPECT_EQ(WindowRect(prev).left, 40);

    // The host's size in twips, both ways.
    EXPECT_EQ(DispLeft, 0);
    EXPECT_EQ(DispTop, 0);
    EXPECT_EQ(DispWidth, Twips(152, ScreenTwipsPerPixelX()));
    EXPECT_EQ(DispHeight, Twips(112, ScreenTwipsPerPixelY()));
    if (ScreenTwipsPerPixelX() == 15 && ScreenTwipsPerPixelY() == 15) {
        EXPECT_EQ(DispWidth, 2280);
        EXPECT_EQ(DispHeight, 1680);
    }

    // Mouse and keys reach it and change nothing.
    for (HWND target : {frmPrev, prev}) {
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
        SendMessageW(target, WM_KEYDOWN, 'A', 0);
        SendMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    Pump(200);
    ASSERT_NE(frmPrev, nullptr);
    EXPECT_TRUE(IsWindowVisible(frmPrev));
    EXPECT_EQ(WindowRect(frmPrev).right, 40 + 152);
    EXPECT_EQ(OpenWindowCount(), before + 1);

    // Destroying the host takes the preview with it, and the preview counts
    // itself out so that the process can end.
    HWND preview = frmPrev;
    DestroyWindow(host);
    Pump(50);
    EXPECT_FALSE(IsWindow(preview));
    EXPECT_EQ(frmPrev, nullptr);
    EXPECT_EQ(prev, nullptr);
    EXPECT_EQ(OpenWindowCount(), before);
}

TEST_F(PreviewTest, PictureFillsHostsOfAnyProportions) {
    Pixels picture = Picture();
    ASSERT_EQ(picture.width, 200);
    ASSERT_EQ(picture.height, 140);
    // The committed picture: a card of the show's proportions amid black.
    RECT card = CardBox(picture);
    EXPECT_NEAR(static_cast<double>(card.right - card.left) / (card.bottom - card.top), 400.0 / 260.0, 0.04);
    EXPECT_NEAR(card.left, 200 - card.right, 1);
    EXPECT_NEAR(card.top, 140 - card.bottom, 1);
    struct Size {
        int w, h;
    };
    for (Size s : {Size{152, 112}, Size{200, 140}, Size{360, 120}, Size{110, 300}}) {
        SCOPED_TRACE(::testing::Message() << s.w << " x " << s.h);
        host = MakeHost(30, 40, s.w, s.h);
        StartPreview(HandleValue(host));
        Pixels shown = Steady([&] { return Screen(WindowRect(host)); });

        // The card stands where the stretched picture puts it: nothing kept
        // the picture's proportions or left a band of host or black at an edge.
        double sx = s.w / 200.0, sy = s.h / 140.0;
        RECT seen = CardBox(shown);
        EXPECT_NEAR(seen.left, card.left * sx, 2);
        EXPECT_NEAR(seen.right, card.right * sx, 2);
        EXPECT_NEAR(seen.top, card.top * sy, 2);
        EXPECT_NEAR(seen.bottom, card.bottom * sy, 2);

        // And it is the picture: compared point by point with the picture
        // sampled at the same place, the colours agree on the whole.
        long difference = 0, hostGround = 0;
        for (int y = 0; y < s.h; ++y)
            for (int x = 0; x < s.w; ++x) {
                const RGBQUAD& a = shown.At(x, y);
                const RGBQUAD& b = picture.At(x * 200 / s.w, y * 140 / s.h);
                difference += std::abs(a.rgbRed - b.rgbRed) + std::abs(a.rgbGreen - b.rgbGreen) +
                              std::abs(a.rgbBlue - b.rgbBlue);
                if (a.rgbRed == 255 && a.rgbGreen == 0 && a.rgbBlue == 255) ++hostGround;
            }
        double mean = static_cast<double>(difference) / (3.0 * s.w * s.h);
        EXPECT_LT(mean, 20.0);
        EXPECT_EQ(hostGround, 0);

        DestroyWindow(host);
        Pump(20);
        EXPECT_EQ(frmPrev, nullptr);
    }
}

TEST_F(PreviewTest, HostTooLargeForSixteenBitTwipsIsStillFilled) {
    // 2400 pixels are 36000 twips at 96 dpi, beyond 16 bits.
    host = MakeHost(0, 0, 2400, 1800);
    ASSERT_EQ(WindowRect(host).right, 2400);
    StartPreview(HandleValue(host));
    Pump(50);
    ASSERT_NE(frmPrev, nullptr);
    RECT r = WindowRect(frmPrev);
    EXPECT_EQ(r.right - r.left, 2400);
    EXPECT_EQ(r.bottom - r.top, 1800);
    RECT c{};
    GetClientRect(prev, &c);
    EXPECT_EQ(c.right, 2400);
    EXPECT_EQ(c.bottom, 1800);
    // The 16-bit globals hold the most they can instead of wrapping round;
    // a height that fits is kept exactly.
    EXPECT_EQ(DispWidth, std::min<long>(Twips(2400, ScreenTwipsPerPixelX()), 32767));
    EXPECT_EQ(DispHeight, Twips(1800, ScreenTwipsPerPixelY()));
    DestroyWindow(host);

    // The largest host that fits: 2184 pixels are 32760 twips at 96 dpi.
    host = MakeHost(0, 0, 2184, 100);
    StartPreview(HandleValue(host));
    EXPECT_EQ(DispWidth, Twips(2184, ScreenTwipsPerPixelX()));
    EXPECT_EQ(WindowRect(frmPrev).right, 2184);
}

// The preview's picture and the forms' pictures are different windows with
// different procedures; in one process neither may take the other's class.
TEST_F(PreviewTest, APreviewAndAFormWithAPictureLiveInOneProcess) {
    FormResources resources;  // outlives the form, which goes first
    std::unique_ptr<HWND__, decltype(&DestroyWindow)> owned(
        CreateForm(window_class::kHelp, DefWindowProcW, 0, L"form", WS_OVERLAPPEDWINDOW), &DestroyWindow);
    HWND form = owned.get();
    ASSERT_NE(form, nullptr);
    AttachResources(form, resources);
    HWND formPicture = CreateBitmapImage(form, nullptr);
    ASSERT_NE(formPicture, nullptr);

    host = MakeHost(40, 60, 152, 112);
    StartPreview(HandleValue(host));
    Pump(100);
    ASSERT_NE(prev, nullptr);
    EXPECT_NE(GetWindowLongPtrW(prev, GWLP_WNDPROC), GetWindowLongPtrW(formPicture, GWLP_WNDPROC));
    wchar_t a[64] = {}, b[64] = {};
    GetClassNameW(prev, a, 64);
    GetClassNameW(formPicture, b, 64);
    EXPECT_STRNE(a, b);
}

// The preview is a form of its own inside a window it does not own: its
// struct is reached from its picture, and neither its making nor its going
// touches what the host holds, even where the host is a form too.
TEST_F(PreviewTest, ThePreviewKeepsItsFormApartFromItsHosts) {
    FormResources hostResources;
    host = MakeHost(40, 60, 152, 112);
    AttachResources(host, hostResources);
    StartPreview(HandleValue(host));
    Pump(50);
    ASSERT_NE(prev, nullptr);
    FormResources* own = ExistingResourcesOf(prev);
    EXPECT_NE(own, nullptr);
    EXPECT_NE(own, &hostResources);
    EXPECT_EQ(ExistingResourcesOf(frmPrev), own);

    DestroyWindow(frmPrev);
    Pump(20);
    EXPECT_EQ(frmPrev, nullptr);
    EXPECT_EQ(prev, nullptr);
    EXPECT_EQ(ExistingResourcesOf(host), &hostResources);
    DetachResources(host);
}
