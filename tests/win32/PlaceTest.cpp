// The placing procedures on real controls.
#include "win32/base/Place.h"

#include <gtest/gtest.h>

#include "core/base/Scaling.h"
#include "win32/base/FormResources.h"
#include "win32/WindowTesting.h"

using namespace mirobel;

namespace {
class PlaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
        AttachResources(parent, resources);
    }
    void TearDown() override {
        DestroyWindow(parent);
        DetachResources(parent);
    }
    HWND Child(const wchar_t* cls, DWORD style = 0) {
        return CreateWindowExW(0, cls, L"テキスト", WS_CHILD | WS_VISIBLE | style, 1, 1, 10, 10, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    static RECT InParent(HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static LOGFONTW FontOf(HWND control) {
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf;
    }
    HWND parent = nullptr;
    FormResources resources;  // the fonts the placing procedures make
};
}  // namespace

TEST_F(PlaceTest, PlaceControlSetsSizeAndPositionInPixelsEvenOutsideTheWindow) {
    HWND box = Child(L"STATIC");
    PlaceControl(box, 30, 30, -50, 0);
    RECT r = InParent(box);
    EXPECT_EQ(r.left, -50);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 30);
    EXPECT_EQ(r.bottom - r.top, 30);
}

TEST_F(PlaceTest, PlaceFontControlGivesTheScaledSizeAndKeepsFaceAndWeight) {
    HWND label = Child(L"STATIC");
    SetControlFont(label, L"ＭＳ 明朝", true, SHIFTJIS_CHARSET, 9);
    PlaceFontControl(label, 16, 376, 30, 10, 10);
    LOGFONTW lf = FontOf(label);
    int dpi = mirobel::testing::SystemDpi();
    EXPECT_EQ(lf.lfHeight, -FontPixelHeight(ScaledFontSize(16, kUnitTwips), dpi));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, L"ＭＳ 明朝");
    RECT r = InParent(label);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 376);
    EXPECT_EQ(r.bottom - r.top, 30);
}

TEST_F(PlaceTest, KeepHeightLeavesTheHeightAsItWas) {
    HWND label = Child(L"STATIC");
    PlaceControl(label, 40, 27, 0, 0);
    PlaceFontControlKeepHeight(label, 14, 80, 88, 8);
    RECT r = InParent(label);
    EXPECT_EQ(r.bottom - r.top, 27);
    EXPECT_EQ(r.right - r.left, 80);
    EXPECT_EQ(r.left, 88);
    EXPECT_EQ(r.top, 8);

    HWND combo = Child(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL);
    SetWindowPos(combo, nullptr, 0, 0, 50, 200, SWP_NOZORDER);
    int before = ComboListExtent(combo);
    ASSERT_GT(before, 100);
    PlaceFontControlKeepHeight(combo, 14, 80, 264, 144);
    EXPECT_EQ(ComboListExtent(combo), before);
    EXPECT_EQ(InParent(combo).left, 264);
}
