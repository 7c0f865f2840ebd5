// Helpers for tests that drive the program's windows in the test's own process.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "win32/base/Win32Util.h"

namespace mirobel::testing {

// Dispatches what is queued for ms milliseconds; the quit message that the
// last window's closing posts is dropped, as the test goes on.
inline void Pump(int ms) {
    DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

// What capture() returns once two looks a pump apart agree: a window mapped
// on a busy machine is painted late, so a test waits for the picture to
// hold rather than for a time (bounded by timeoutMs).
template <typename Capture>
auto Steady(Capture capture, int timeoutMs = 20000) {
    Pump(50);
    auto last = capture();
    DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    while (static_cast<int>(end - GetTickCount()) > 0) {
        Pump(100);
        auto now = capture();
        if (now == last) break;
        last = std::move(now);
    }
    return last;
}

inline std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

inline std::wstring Text(HWND h) {
    wchar_t buffer[4096] = {};
    GetWindowTextW(h, buffer, 4096);
    return buffer;
}

// The top-level windows of this process with that caption, as the system
// lists them: what is on the desktop, not what the program believes it made.
inline std::vector<HWND> TopLevelWindowsCalled(const std::wstring& caption) {
    struct Search {
        std::wstring caption;
        std::vector<HWND> found;
    } search{caption, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lp);
            DWORD process = 0;
            GetWindowThreadProcessId(h, &process);
            if (process == GetCurrentProcessId() && Text(h) == s.caption) s.found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The screen's logical resolution, asked of the system.
inline int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

inline std::wstring ClassName(HWND h) {
    wchar_t buffer[64] = {};
    GetClassNameW(h, buffer, 64);
    return buffer;
}

// The first descendant with that text (and class, when given).
inline HWND FindByText(HWND parent, const std::wstring& text, const std::wstring& cls = L"") {
    for (HWND h : Descendants(parent))
        if (Text(h) == text && (cls.empty() || ClassName(h) == cls)) return h;
    return nullptr;
}

inline HWND FindById(HWND parent, int id) {
    for (HWND h : Descendants(parent))
        if (GetDlgCtrlID(h) == id) return h;
    return nullptr;
}

// Position and size in the client area of the control's parent.
inline RECT InParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline SIZE ClientSize(HWND window) {
    RECT c;
    GetClientRect(window, &c);
    return {c.right, c.bottom};
}

inline bool IsCentred(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    return r.left == (GetSystemMetrics(SM_CXSCREEN) - w) / 2 && r.top == (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
}

inline LOGFONTW FontOf(HWND control) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

}  // namespace mirobel::testing
