// The windows at the screen's display scaling, in both languages: every
// layout is its 96-dpi layout magnified by s, the English one is the
// Japanese one, and every text fits its control. Run by CTest at 96, 120,
// 144 and 192 dpi (a Wine prefix with LogPixels set for each). The 96-dpi
// layout to compare with is built in the same process by opening the window
// once more with the scale held at 96.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/base/Scaling.h"
#include "core/companions/CompanionRules.h"
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
    Language language = Language::Japanese;
};

// Poem 64's kimariji line is the longest (six sounds, and the group
// 六字決まり after them).
HWND ChooseInViewer(int entry) {
    for (HWND h : Descendants(frmComment))
        if (ClassName(h) == L"ComboBox") SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    SendMessageW(FindById(frmComment, 102), BM_CLICK, 0, 0);  // Command1
    return frmComment;
}

HWND OpenViewer(int dpi, Language language) {
    ShowCommentary(dpi, language);
    return ChooseInViewer(63);
}

void PrintTo(const Window& w, std::ostream* os) { *os << w.name; }

// The race held at its start: the cyclists ride over the texts by design,
// and a text is measured against the controls that stay beside it.
HWND OpenIntroduction(int dpi, Language language) {
    ShowSales(dpi, language);
    KillTimer(salesf, 1);
    return salesf;
}

Settings InLanguage(Language language) {
    Settings record;
    record.language = language;
    return record;
}

// Each window in each language, the Japanese first.
std::vector<Window> AllWindows() {
    std::vector<Window> all;
    for (Language l : {Language::Japanese, Language::English}) {
        const bool en = l == Language::English;
        all.push_back({en ? "settings dialog in English" : "settings dialog",
                       [l](int dpi) { return ShowSettingsDialog(InLanguage(l), dpi), frmSet; }, {400, 388}, l});
        all.push_back({en ? "commentary viewer in English" : "commentary viewer",
                       [l](int dpi) { return OpenViewer(dpi, l); }, {400, 320}, l});
        all.push_back({en ? "help window in English" : "help window",
                       [l](int dpi) { return ShowHelp(dpi, l), frmHelp; }, {490, 385}, l});
        all.push_back({en ? "introduction window in English" : "introduction window",
                       [l](int dpi) { return OpenIntroduction(dpi, l); }, {502, 394}, l});
    }
    return all;
}
const std::vector<Window> kWindows = AllWindows();

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

// A text a control must show in full, the room it has for it, and its
// extent in the control's font.
struct Fit {
    int room = 0, roomHeight = 0;
    SIZE extent{};
    std::wstring text;
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

int LineHeight(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return metrics.tmHeight;
}

// A rectangle of the control's client area in its parent's.
RECT ClientInParent(HWND control, RECT r) {
    MapWindowPoints(control, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// How far a text that starts at `left` may run in the band [top, bottom) of
// its parent before a sibling covers it (the row labels lie beneath their
// rows' lists and buttons; the introduction's picture over its text).
int RoomBeforeSiblings(const Control& c, const std::vector<Control>& all, int left, int top, int bottom, int room) {
    for (const Control& s : all) {
        if (s.hwnd == c.hwnd || s.parent != c.parent) continue;
        if (s.rect.top < bottom && top < s.rect.bottom && s.rect.left > left && s.rect.left < left + room)
            room = s.rect.left - left;
    }
    return room;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// Texts a control must show in full, with the room it has for them: a
// caption on one line, clear of the controls beside it; every entry of a
// list; every hand-broken line of a text box without wrapping, and all of
// a box's lines when it has no scroll bar to reach them.
std::vector<Fit> TextsOf(const Control& c, const std::vector<Control>& all) {
    std::vector<Fit> fits;
    RECT client;
    GetClientRect(c.hwnd, &client);
    LONG style = GetWindowLongW(c.hwnd, GWL_STYLE);
    if (c.cls == L"Static" && !c.text.empty()) {
        const SIZE extent = Extent(c.hwnd, c.text);
        int room = client.right;
        if (!(style & SS_CENTER))
            room = RoomBeforeSiblings(c, all, c.rect.left, c.rect.top, c.rect.top + extent.cy, room);
        fits.push_back({room, client.bottom, extent, c.text});
    } else if (c.cls == L"Button" && !c.text.empty()) {
        int kind = style & BS_TYPEMASK;
        int box = (kind == BS_AUTORADIOBUTTON || kind == BS_AUTOCHECKBOX) ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 4;
        std::wstring shown;
        for (wchar_t ch : c.text)
            if (ch != L'&') shown += ch;
        fits.push_back({client.right - box, client.bottom, Extent(c.hwnd, shown), shown});
    } else if (c.cls == L"Edit" && !(style & ES_MULTILINE) && !c.text.empty()) {
        RECT format{};
        SendMessageW(c.hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        fits.push_back({format.right - format.left, client.bottom, Extent(c.hwnd, c.text), c.text});
    } else if (c.cls == L"Edit" && !c.text.empty()) {
        RECT format{};
        SendMessageW(c.hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        const RECT in = ClientInParent(c.hwnd, format);
        const int height = LineHeight(c.hwnd), width = format.right - format.left;
        const std::vector<std::wstring> lines = Lines(c.text);
        // In a box that scrolls, any line may come to any row of it.
        const bool scrolls = style & WS_VSCROLL;
        if (lines.size() > 1)
            for (size_t i = 0; i < lines.size(); ++i) {
                const int top = scrolls ? in.top : in.top + static_cast<int>(i) * height;
                const int bottom = scrolls ? in.bottom : top + height;
                fits.push_back({RoomBeforeSiblings(c, all, in.left, top, bottom, width), height,
                                Extent(c.hwnd, lines[i]), lines[i]});
            }
        if (!scrolls) {
            const int shown = static_cast<int>(SendMessageW(c.hwnd, EM_GETLINECOUNT, 0, 0)) * height;
            fits.push_back({width, format.bottom - format.top, {0, shown}, L"all the lines of " + c.text.substr(0, 20)});
        }
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
                            Extent(c.hwnd, text), text});
        }
    }
    return fits;
}

std::string Narrow(const std::wstring& text) {
    std::string s;
    for (wchar_t ch : text.substr(0, 40)) s += ch < 128 ? static_cast<char>(ch) : '?';
    return s;
}

// Every text of the window fits where it stands; returns how many were measured.
int ExpectTextsFit(HWND window, int dpi) {
    int measured = 0;
    const std::vector<Control> all = Measure(window).controls;
    for (const Control& c : all)
        for (const Fit& f : TextsOf(c, all)) {
            ++measured;
            EXPECT_LE(f.extent.cx, f.room) << Name(c) << ": \"" << Narrow(f.text) << "\" at " << dpi << " dpi";
            EXPECT_LE(f.extent.cy, f.roomHeight) << Name(c) << ": \"" << Narrow(f.text) << "\" at " << dpi << " dpi";
        }
    return measured;
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

class ScaledLayoutViewer : public ::testing::Test {
protected:
    void SetUp() override { dpi = ReadDisplayScale(); }
    void TearDown() override { CloseAll(); }
    int dpi = 96;
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
    EXPECT_GT(ExpectTextsFit(window, dpi), 0);
    // A menu bar keeps to one row, or the client area would lose a row.
    if (HMENU bar = GetMenu(window)) {
        RECT first{}, item{};
        GetMenuItemRect(window, bar, 0, &first);
        for (int i = 1; i < GetMenuItemCount(bar); ++i) {
            GetMenuItemRect(window, bar, static_cast<UINT>(i), &item);
            EXPECT_EQ(item.top, first.top) << "menu item " << i << " wraps at " << dpi << " dpi";
        }
    }
}

// The English windows are the Japanese ones with other words: every control
// where the Japanese one stands.
TEST_P(ScaledLayout, TheEnglishLayoutIsTheJapaneseOne) {
    const Window& w = GetParam();
    if (w.language != Language::English) GTEST_SKIP() << "compares the English window with the Japanese one";
    const Window& japanese = *std::find_if(kWindows.begin(), kWindows.end(), [&](const Window& other) {
        return other.language == Language::Japanese && other.units.cx == w.units.cx && other.units.cy == w.units.cy;
    });
    Layout ja = MeasureAt(japanese, dpi), en = MeasureAt(w, dpi);
    EXPECT_EQ(en.client.cx, ja.client.cx);
    EXPECT_EQ(en.client.cy, ja.client.cy);
    ASSERT_EQ(en.controls.size(), ja.controls.size());
    for (size_t i = 0; i < en.controls.size(); ++i) {
        SCOPED_TRACE(Name(en.controls[i]));
        EXPECT_EQ(en.controls[i].cls, ja.controls[i].cls);
        EXPECT_TRUE(EqualRect(&en.controls[i].rect, &ja.controls[i].rect));
    }
}

// The viewer's boxes have fixed sizes; every poem's texts must fit them in
// both languages, not only the poem the other tests choose.
TEST_F(ScaledLayoutViewer, EveryPoemFitsTheViewerInBothLanguages) {
    for (Language l : {Language::Japanese, Language::English}) {
        ShowCommentary(dpi, l);
        ASSERT_NE(frmComment, nullptr);
        for (int entry = 0; entry < kChooserEntries; ++entry) {
            SCOPED_TRACE(entry + 1);
            ChooseInViewer(entry);
            ExpectTextsFit(frmComment, dpi);
        }
        CloseAll();
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ScaledLayout, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<Window>& info) {
                             std::string n;
                             for (const char* p = info.param.name; *p; ++p) n += *p == ' ' ? '_' : *p;
                             return n;
                         });
