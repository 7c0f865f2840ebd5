#include "win32/base/Place.h"

#include "core/base/Scaling.h"
#include "win32/base/FormResources.h"

namespace mirobel {

namespace {
// The fonts made here belong to the control's form, which frees them.
void SetOwnedFont(HWND control, HFONT font) { ResourcesOf(control).SetFont(control, font); }

LOGFONTW CurrentLogFont(HWND control) {
    LOGFONTW lf{};
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectW(font, sizeof lf, &lf);
    return lf;
}

// Layouts give font sizes in points at 96 dpi, for controls measured in
// units; the font rule sees the twips of a unit, and the height in pixels
// follows the form's scale, which keeps text in proportion to its magnified
// control.
int DpiOf(HWND control) { return ResourcesOf(control).dpi; }
LONG PixelHeight(HWND control, int size) {
    return -FontPixelHeight(ScaledFontSize(size, kUnitTwips), DpiOf(control));
}

bool IsComboBox(HWND control) {
    wchar_t cls[32] = {};
    GetClassNameW(control, cls, 32);
    return lstrcmpiW(cls, L"ComboBox") == 0;
}

RECT RectInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    HWND parent = GetParent(control);
    if (parent && (GetWindowLongW(control, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
}  // namespace

void SetControlFontSize(HWND control, int16_t size) {
    LOGFONTW lf = CurrentLogFont(control);
    lf.lfHeight = PixelHeight(control, size);
    lf.lfWidth = 0;
    SetOwnedFont(control, CreateFontIndirectW(&lf));
}

void SetControlFont(HWND control, const wchar_t* face, bool bold, BYTE charset, int16_t size) {
    LOGFONTW lf{};
    lf.lfHeight = PixelHeight(control, size);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = charset;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    SetOwnedFont(control, CreateFontIndirectW(&lf));
}

RECT MagnifiedRect(int width, int height, int left, int top, int dpi) {
    return {Magnify(left, dpi), Magnify(top, dpi), Magnify(left + width, dpi), Magnify(top + height, dpi)};
}

void PlaceControl(HWND control, int16_t width, int16_t height, int16_t left, int16_t top) {
    RECT r = MagnifiedRect(width, height, left, top, DpiOf(control));
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveControl(HWND control, double left, int top) {
    const int dpi = DpiOf(control);
    SetWindowPos(control, nullptr, Magnify(left, dpi), Magnify(top, dpi), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int MagnifiedUnits(HWND control, int units) { return Magnify(units, DpiOf(control)); }

void PlaceFontControl(HWND control, int16_t size, int16_t width, int16_t height, int16_t left, int16_t top) {
    SetControlFontSize(control, size);
    PlaceControl(control, width, height, left, top);
}

int ComboListExtent(HWND combo) {
    RECT dropped{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    return dropped.bottom - dropped.top;
}

void PlaceFontControlKeepHeight(HWND control, int16_t size, int16_t widthUnits, int16_t leftUnits,
                                int16_t topUnits) {
    // The height is the control's own (from its font); the rest is magnified.
    RECT m = MagnifiedRect(widthUnits, 0, leftUnits, topUnits, DpiOf(control));
    const int width = m.right - m.left, left = m.left, top = m.top;
    if (IsComboBox(control)) {
        // The window height of a combo box is its field plus its dropped
        // list; the field follows the font, the list keeps its extent.
        int list = ComboListExtent(control);
        SetControlFontSize(control, size);
        RECT field{};
        GetWindowRect(control, &field);
        int height = (field.bottom - field.top) + list;
        SetWindowPos(control, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        // Systems differ in whether the dropped rectangle counts the field;
        // one correction makes the extent come out as it was either way.
        int error = list - ComboListExtent(control);
        if (error != 0)
            SetWindowPos(control, nullptr, 0, 0, width, height + error, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    SetControlFontSize(control, size);
    RECT r = RectInParent(control);
    SetWindowPos(control, nullptr, left, top, width, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace mirobel
