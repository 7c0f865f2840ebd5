// An empty, black, full-screen window and nothing else: the baseline against
// which the show's memory is measured in the same Wine. Runs until closed.
// With "/tick MS" its timer fires every MS milliseconds and each tick reads
// the pointer and the caret, as the show's end test does, and draws
// nothing: what a tick costs in Wine before the show paints anything.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {
LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_TIMER) {
        POINT caret, pointer;
        GetCaretPos(&caret);
        GetCursorPos(&pointer);
        return 0;
    }
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"EmptyScreen";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"EmptyScreen", L"Empty Screen", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    if (const char* tick = strstr(commandLine, "/tick ")) SetTimer(window, 1, atoi(tick + 6), nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
