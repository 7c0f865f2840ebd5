#include "win32/base/WindowClass.h"

namespace mirobel {

bool RegisterWindowClass(const WindowClassSpec& spec) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, spec.name, &existing)) return existing.lpfnWndProc == spec.proc;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = spec.style;
    wc.lpfnWndProc = spec.proc;
    wc.hInstance = instance;
    wc.hbrBackground = spec.background;
    if (spec.arrowCursor) wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (spec.iconId) {
        wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(spec.iconId), IMAGE_ICON, 32, 32, 0));
        wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(spec.iconId), IMAGE_ICON, 16, 16, 0));
    }
    wc.lpszClassName = spec.name;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace mirobel
