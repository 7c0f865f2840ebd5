#include "win32/companions/Forms.h"

#include "core/base/Scaling.h"
#include "win32/base/Fonts.h"
#include "win32/base/Gdi.h"
#include "win32/base/Guard.h"
#include "win32/base/Place.h"
#include "win32/base/WindowClass.h"

namespace mirobel {

namespace {
const wchar_t* const kOldProcProperty = L"MirobelTabOldProc";

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
            if (FormResources* form = ExistingResourcesOf(hwnd))
                for (const FormResources::Panel& p : form->panels)
                    if (p.panel == hwnd) brush = p.brush.get();
            FillRect(reinterpret_cast<HDC>(wp), &r, brush);
            return 1;
        }
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            // The window's procedure handles its controls wherever they sit.
            LRESULT r = SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
            if (r || msg == WM_COMMAND || msg == WM_DRAWITEM) return r;
            break;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK ImageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the picture covers every pixel the window owns
        case WM_PAINT: {
            PaintScope paint(hwnd);
            HDC dc = paint.get();
            // Paint DCs come from a shared cache; leave no stretch mode behind.
            int saved = SaveDC(dc);
            RECT r;
            GetClientRect(hwnd, &r);
            const FormResources::Picture* picture = nullptr;
            if (FormResources* form = ExistingResourcesOf(hwnd))
                for (const FormResources::Picture& p : form->pictures)
                    if (p.image == hwnd) picture = &p;
            if (picture && picture->bitmap) {
                BITMAP info{};
                GetObjectW(picture->bitmap.get(), sizeof info, &info);
                MemoryDc source(dc);
                Selection selected(source.get(), picture->bitmap.get());
                SetStretchBltMode(dc, HALFTONE);
                SetBrushOrgEx(dc, 0, 0, nullptr);
                StretchBlt(dc, 0, 0, r.right, r.bottom, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
            } else if (picture && picture->icon) {
                DrawIconEx(dc, 0, 0, picture->icon, r.right, r.bottom, 0, nullptr, DI_NORMAL);
            }
            RestoreDC(dc, saved);
            return 0;
        }
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // a picture takes no clicks, as on a form
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterChildClasses() {
    return RegisterWindowClass({window_class::kPanel, Guarded<PanelProc>}) &&
           RegisterWindowClass({window_class::kImage, Guarded<ImageProc>});
}

// The opaque pixels of an icon, from its AND mask (0 where the icon draws).
HRGN IconRegion(HICON icon, int width, int height) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return nullptr;
    Bitmap mask(info.hbmMask), colour(info.hbmColor);
    MemoryDc dc;
    Selection selected(dc.get(), mask.get());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            while (x < width && GetPixel(dc.get(), x, y) != RGB(0, 0, 0)) ++x;
            int start = x;
            while (x < width && GetPixel(dc.get(), x, y) == RGB(0, 0, 0)) ++x;
            if (x > start) {
                Region run(CreateRectRgn(start, y, x, y + 1));
                CombineRgn(region, region, run.get(), RGN_OR);
            }
        }
    }
    return region;
}

LRESULT CALLBACK TabKeyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProperty));
    switch (msg) {
        case WM_KEYDOWN:
            if (wp == VK_TAB) {
                bool back = GetKeyState(VK_SHIFT) < 0;
                HWND next = GetNextDlgTabItem(GetAncestor(hwnd, GA_ROOT), hwnd, back);
                if (next) SetFocus(next);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wp == L'\t') return 0;
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
            RemovePropW(hwnd, kOldProcProperty);
            break;
    }
    return CallWindowProcW(old, hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateForm(const wchar_t* className, WNDPROC proc, int iconId, const wchar_t* caption, DWORD style,
                HMENU menu) {
    if (!RegisterChildClasses()) return nullptr;
    if (!RegisterWindowClass({className, proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), true, iconId}))
        return nullptr;
    return CreateWindowExW(0, className, caption, style | WS_CLIPCHILDREN, CW_USEDEFAULT,
                           CW_USEDEFAULT, 320, 240, nullptr, menu, Instance(), nullptr);
}

HWND CreateControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 10, 10,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
}

HWND CreatePanel(HWND parent, COLORREF background, DWORD exStyle) {
    RegisterChildClasses();
    HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT | exStyle, window_class::kPanel, L"",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent,
                                 nullptr, Instance(), nullptr);
    if (panel) ResourcesOf(parent).panels.push_back({panel, Brush(CreateSolidBrush(background))});
    return panel;
}

HWND CreateBitmapImage(HWND parent, HBITMAP bitmap, DWORD style) {
    RegisterChildClasses();
    HWND image = CreateWindowExW(0, window_class::kImage, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 10, 10,
                                 parent, nullptr, Instance(), nullptr);
    if (image) ResourcesOf(parent).pictures.push_back({image, Bitmap(bitmap)});
    return image;
}

HWND CreateIconImage(HWND parent, HICON icon) {
    RegisterChildClasses();
    HWND image = CreateWindowExW(0, window_class::kImage, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 32, 32, parent,
                                 nullptr, Instance(), nullptr);
    if (!image) return nullptr;
    ResourcesOf(parent).pictures.push_back({image, Bitmap(), icon});
    if (icon) {
        ICONINFO info{};
        BITMAP mask{};
        bool hasColour = false;
        if (GetIconInfo(icon, &info)) {
            Bitmap maskBits(info.hbmMask), colourBits(info.hbmColor);
            GetObjectW(maskBits.get(), sizeof mask, &mask);
            hasColour = static_cast<bool>(colourBits);
        }
        int height = hasColour ? mask.bmHeight : mask.bmHeight / 2;
        if (HRGN region = IconRegion(icon, mask.bmWidth, height)) SetWindowRgn(image, region, FALSE);
    }
    return image;
}

void SetControlColours(HWND control, COLORREF back, COLORREF text) {
    FormResources& form = ResourcesOf(control);
    for (FormResources::Colours& c : form.colours) {
        if (c.control == control) {
            c = {control, Brush(CreateSolidBrush(back)), back, text};
            return;
        }
    }
    form.colours.push_back({control, Brush(CreateSolidBrush(back)), back, text});
}

HBRUSH ControlColours(HDC dc, HWND control) {
    FormResources* form = ExistingResourcesOf(control);
    if (!form) return nullptr;
    for (const FormResources::Colours& c : form->colours) {
        if (c.control != control) continue;
        SetTextColor(dc, c.text);
        SetBkColor(dc, c.back);
        return c.brush.get();
    }
    return nullptr;
}

void EnableTabKey(HWND control) {
    if (!control || GetPropW(control, kOldProcProperty)) return;
    LONG_PTR old = SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Guarded<TabKeyProc>));
    SetPropW(control, kOldProcProperty, reinterpret_cast<HANDLE>(old));
}

bool KeepFocus(HWND form, UINT msg, WPARAM wp, HWND initial) {
    if (msg != WM_ACTIVATE) return false;
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        FormResources* resources = ExistingResourcesOf(form);
        if (resources && focus && IsChild(form, focus)) resources->lastFocus = focus;
        return true;
    }
    if (HIWORD(wp)) return true;  // minimised: nothing to focus
    FormResources* resources = ExistingResourcesOf(form);
    HWND last = resources ? resources->lastFocus : nullptr;
    HWND target = last && IsWindow(last) ? last : initial;
    // A disabled control takes no keys (the settings dialog's range while a
    // study set is chosen): the next control that does gets the focus.
    if (target && !IsWindowEnabled(target)) target = GetNextDlgTabItem(form, target, FALSE);
    if (target) SetFocus(target);
    return true;
}

bool CommonFormMessage(HWND form, UINT msg, WPARAM wp, LPARAM lp, HWND& handle, HWND initial, LRESULT& result) {
    switch (msg) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (HBRUSH brush = ControlColours(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
            return false;
        case WM_ACTIVATE:
            KeepFocus(form, msg, wp, initial);
            result = 0;
            return true;
        case WM_DESTROY:
            handle = nullptr;
            WindowClosed();
            result = 0;
            return true;
    }
    return false;
}

namespace {
BYTE CharsetOf(const wchar_t* face) {
    return lstrcmpW(face, kLatinFace) == 0 ? DEFAULT_CHARSET : SHIFTJIS_CHARSET;
}
}  // namespace

void SetFormFont(HWND control, const wchar_t* face, bool bold) {
    SetControlFont(control, ResolveFace(face).c_str(), bold, CharsetOf(face), 9);
}

void SetUnscaledFont(HWND control, const wchar_t* face, bool bold, int points) {
    LOGFONTW lf{};
    lf.lfHeight = -FontPixelHeight(points, ResourcesOf(control).dpi);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = CharsetOf(face);
    lstrcpynW(lf.lfFaceName, ResolveFace(face).c_str(), LF_FACESIZE);
    ResourcesOf(control).SetFont(control, CreateFontIndirectW(&lf));
}

std::wstring ControlText(HWND control) {
    int n = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(control, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

std::string ResourceBytes(int id, const wchar_t* type) {
    HRSRC found = FindResourceW(Instance(), MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(Instance(), found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    return data ? std::string(data, SizeofResource(Instance(), found)) : std::string();
}

}  // namespace mirobel
