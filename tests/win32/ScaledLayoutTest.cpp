// The windows at the screen's display scaling: every layout is its 96-dpi
// layout magnified by s. Run by CTest at 96, 120, 144 and 192 dpi (a Wine
// prefix with LogPixels set for each). The 96-dpi layout to compare with is
// built in the same process by opening the window once more with the scale
// held at 96.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/base/Scaling.h"
#include "core/poems/Poems.h"
#include "support/Fakes.h"
#include "win32/WindowTesting.h"
#include "win32/companions/Companions.h"
#include "win32/settings/frmSet.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
struct Control {
    HWND hwnd;
    HWND parent;
    std::wstring cls, text;
    RECT rect;  // in the parent's client area
    RECT parentClient;
};

struct Layout {
    SIZE client{};
    std::vector<Control> controls;
};

// The field of a drop-down list, whose window may count its dropped list.
RECT FieldInParent(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    RECT r = InParent(combo);
    if (GetComboBoxInfo(combo, &info)) r.bottom = r.top + info.rcButton.bottom + info.rcButton.top;
    return r;
}

Layout Measure(HWND window) {
    Layout l;
    l.client = ClientSize(window);
    for (HWND h : Descendants(window)) {
        // The list a drop-down list opens is a window of its own.
        if (ClassName(h) == L"ComboLBox" || !IsWindowVisible(h)) continue;
        Control c{h, GetParent(h), ClassName(h), Text(h), {}, {}};
        GetClientRect(c.parent, &c.parentClient);
        if (GetAncestor(h, GA_PARENT) != c.parent) continue;  // an edit inside a combo box
        c.rect = c.cls == L"ComboBox" ? FieldInParent(h) : InParent(h);
        l.controls.push_back(c);
    }
    return l;
}

struct Window {
    const char* name;
    std::function<HWND(int dpi)> open;
    SIZE units;
};

// With poem 64, whose kimariji line is the longest (six sounds, and the
// group 六字決まり after them).
HWND OpenViewer(int dpi) {
    ShowCommentary(dpi);
    for (HWND h : Descendants(frmComment))
        if (ClassName(h) == L"ComboBox") SendMessageW(h, CB_SETCURSEL, 63, 0);
    SendMessageW(FindByText(frmComment, L"決定", L"Button"), BM_CLICK, 0, 0);
    return frmComment;
}

void PrintTo(const Window& w, std::ostream* os) { *os << w.name; }

const std::vector<Window> kWindows = {
    {"settings dialog", [](int dpi) { return ShowSettingsDialog({}, dpi), frmSet; }, {400, 388}},
    {"commentary viewer", OpenViewer, {400, 320}},
    {"help window", [](int dpi) { return ShowHelp(dpi), frmHelp; }, {490, 385}},
    {"introduction window", [](int dpi) { return ShowSales(dpi), salesf; }, {502, 394}},
};

void CloseAll() {
    for (HWND w : {frmSet, frmComment, frmHelp, salesf})
        if (w) DestroyWindow(w);
    Pump(30);
}

// Opens the window laid out at dpi and measures it.
Layout MeasureAt(const Window& w, int dpi) {
    HWND window = w.open(dpi);
    if (salesf) KillTimer(salesf, 1);  // cyclists stay on their start line
    Pump(50);
    Layout l = window ? Measure(window) : Layout{};
    CloseAll();
    return l;
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Name(const Control& c) {
    std::string s;
    for (wchar_t ch : c.cls + L" \"" + c.text.substr(0, 12) + L"\"") s += ch < 128 ? static_cast<char>(ch) : '?';
    return s;
}

// Width the control leaves for its text, and the text's extent in its font.
struct Fit {
    int room = 0, roomHeight = 0;
    SIZE extent{};
};

SIZE Extent(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

// Texts a control must show in full, with the room it has for them. Of a
// multi-line box only the height is measured, and only where the box has no
// scroll bar: its lines wrap where the text asks.
std::vector<Fit> TextsOf(const Control& c) {
    std::vector<Fit> fits;
    RECT client;
    GetClientRect(c.hwnd, &client);
    LONG style = GetWindowLongW(c.hwnd, GWL_STYLE);
    if (c.cls == L"Static" && !c.text.empty()) {
        fits.push_back({client.right, client.bottom, Extent(c.hwnd, c.text)});
    } else if (c.cls == L"Button" && !c.text.empty()) {
        int kind = style & BS_TYPEMASK;
        int box = (kind == BS_AUTORADIOBUTTON || kind == BS_AUTOCHECKBOX) ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 4;
        std::wstring shown;
        for (wchar_t ch : c.text)
            if (ch != L'&') shown += ch;
        fits.push_back({client.right - box, client.bottom, Extent(c.hwnd, shown)});
    } else if (c.cls == L"Edit" && !(style & ES_MULTILINE) && !c.text.empty()) {
        RECT format{};
        SendMessageW(c.hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        fits.push_back({format.right - format.left, client.bottom, Extent(c.hwnd, c.text)});
    } else if (c.cls == L"Edit" && (style & ES_MULTILINE) && !(style & WS_VSCROLL) && !c.text.empty()) {
        // A box with no scroll bar must show all its lines: the height its
        // last line with text reaches, from its first, at the box's own
        // line pitch.
        RECT format{};
        SendMessageW(c.hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        auto top = [&](int line) {
            LRESULT at = SendMessageW(c.hwnd, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
            return static_cast<int>(static_cast<short>(HIWORD(SendMessageW(c.hwnd, EM_POSFROMCHAR, at, 0))));
        };
        int last = static_cast<int>(SendMessageW(c.hwnd, EM_GETLINECOUNT, 0, 0)) - 1;
        if (last > 0 && SendMessageW(c.hwnd, EM_LINELENGTH, SendMessageW(c.hwnd, EM_LINEINDEX, last, 0), 0) == 0)
            --last;  // the empty line after a closing line break
        int pitch = last > 0 ? (top(last) - top(0)) / last : Extent(c.hwnd, L"M").cy;
        fits.push_back({format.right, format.bottom, SIZE{0, top(last) + pitch}});
    } else if (c.cls == L"ComboBox") {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(c.hwnd, &info);
        int items = static_cast<int>(SendMessageW(c.hwnd, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < items; ++i) {
            wchar_t text[256] = {};
            if (SendMessageW(c.hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) >= 256) continue;
            SendMessageW(c.hwnd, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            fits.push_back({info.rcItem.right - info.rcItem.left, info.rcItem.bottom - info.rcItem.top,
                            Extent(c.hwnd, text)});
        }
    }
    return fits;
}

class ScaledLayout : public ::testing::TestWithParam<Window> {
protected:
    void SetUp() override {
        dpi = ReadDisplayScale();
        FillPoemTables();
    }
    void TearDown() override { CloseAll(); }
    int dpi = 96;
    BoxesInstalled boxes;
};
}  // namespace

TEST_P(ScaledLayout, IsThe96DpiLayoutMagnified) {
    const Window& w = GetParam();
    Layout base = MeasureAt(w, 96);
    Layout scaled = MeasureAt(w, dpi);
    ASSERT_EQ(base.controls.size(), scaled.controls.size());
    ASSERT_FALSE(scaled.controls.empty());
    std::printf("%s at %d dpi: client %ldx%ld\n", w.name, dpi, scaled.client.cx, scaled.client.cy);

    // The client area is the 96-dpi one magnified by the rule.
    EXPECT_EQ(base.client.cx, w.units.cx);
    EXPECT_EQ(base.client.cy, w.units.cy);
    EXPECT_EQ(scaled.client.cx, Magnify(static_cast<int>(w.units.cx), dpi));
    EXPECT_EQ(scaled.client.cy, Magnify(static_cast<int>(w.units.cy), dpi));

    for (size_t i = 0; i < scaled.controls.size(); ++i) {
        const Control &c = scaled.controls[i], &c96 = base.controls[i];
        const RECT& pc = c.parentClient;
        SCOPED_TRACE(Name(c));
        // Every control lies inside the client area of what holds it. The
        // one exception is the settings dialog's last row label, which
        // reaches a pixel into the panel's frame at 96 dpi already; it may
        // not reach further at any scale.
        int over96 = std::max<int>(0, c96.rect.bottom - c96.parentClient.bottom);
        EXPECT_GE(c.rect.left, 0);
        EXPECT_GE(c.rect.top, 0);
        EXPECT_LE(c.rect.right, pc.right);
        EXPECT_LE(c.rect.bottom, pc.bottom + over96);
    }
    // Windows are listed in the same order both times; controls that keep
    // apart at 96 dpi keep apart at this scale too.
    for (size_t i = 0; i < scaled.controls.size(); ++i)
        for (size_t j = i + 1; j < scaled.controls.size(); ++j) {
            const Control &a = scaled.controls[i], &b = scaled.controls[j];
            const Control &a96 = base.controls[i], &b96 = base.controls[j];
            if (a.parent != b.parent || a96.text != a.text) continue;
            if (!Overlap(a96.rect, b96.rect)) {
                EXPECT_FALSE(Overlap(a.rect, b.rect)) << Name(a) << " and " << Name(b) << " overlap";
            }
        }
}

TEST_P(ScaledLayout, PlacedControlsAreTheirUnitsMagnifiedAndFlush) {
    const Window& w = GetParam();
    Layout base = MeasureAt(w, 96);
    Layout scaled = MeasureAt(w, dpi);
    ASSERT_EQ(base.controls.size(), scaled.controls.size());
    for (size_t i = 0; i < scaled.controls.size(); ++i) {
        const Control &c = scaled.controls[i], &c96 = base.controls[i];
        SCOPED_TRACE(Name(c));
        // Heights of drop-down lists follow their fonts; everything else is
        // its edges at 96 dpi magnified.
        EXPECT_EQ(c.rect.left, Magnify(static_cast<int>(c96.rect.left), dpi));
        EXPECT_EQ(c.rect.top, Magnify(static_cast<int>(c96.rect.top), dpi));
        EXPECT_EQ(c.rect.right, Magnify(static_cast<int>(c96.rect.right), dpi));
        if (c.cls != L"ComboBox") {
            EXPECT_EQ(c.rect.bottom, Magnify(static_cast<int>(c96.rect.bottom), dpi));
        }
    }
}

TEST_P(ScaledLayout, EveryTextFitsItsControl) {
    const Window& w = GetParam();
    HWND window = w.open(dpi);
    ASSERT_NE(window, nullptr);
    Pump(50);
    int measured = 0;
    for (const Control& c : Measure(window).controls) {
        for (const Fit& f : TextsOf(c)) {
            ++measured;
            EXPECT_LE(f.extent.cx, f.room) << Name(c) << " at " << dpi << " dpi";
            EXPECT_LE(f.extent.cy, f.roomHeight) << Name(c) << " at " << dpi << " dpi";
        }
    }
    EXPECT_GT(measured, 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, ScaledLayout, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<Window>& info) {
                             std::string n;
                             for (const char* p = info.param.name; *p; ++p) n += *p == ' ' ? '_' : *p;
                             return n;
                         });
