// The settings dialog's window. Its controls and menu come on top of this
// frame; the caption is what a new start looks for to stay out of the way.
#include "settings/SettingsDialog.h"

#include "app/Place.h"
#include "app/Resources.h"
#include "app/Win32Util.h"

namespace mirobel {

namespace {
HWND frmSet = nullptr;

LRESULT CALLBACK FrmSetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_DESTROY:
            ReleaseControlFonts(hwnd);
            frmSet = nullptr;
            WindowClosed();
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterFrmSet(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FrmSetProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MIROBEL));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MirobelSettings";
    RegisterClassExW(&wc);
    registered = true;
}
}  // namespace

void ShowSettingsDialog() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterFrmSet(instance);
    frmSet = CreateWindowExW(0, L"MirobelSettings", L"Saver Setting",
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                             CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    if (!frmSet) return;
    WindowOpened();
    SizeClientAndCentre(frmSet, 400, 300);
    ShowWindow(frmSet, SW_SHOWNORMAL);
    UpdateWindow(frmSet);
}

}  // namespace mirobel
