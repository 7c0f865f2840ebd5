#include "win32/base/Win32Util.h"

#include <utility>

#include "core/base/Platform.h"
#include "win32/base/Gdi.h"
#include "core/base/Scaling.h"

namespace mirobel {

namespace {
int openWindows = 0;

int DeviceCaps(int index) { return GetDeviceCaps(WindowDc().get(), index); }

// The help of the box that is up on this thread; a nested box keeps the outer
// one's until it is answered.
thread_local const Win32Boxes* helpOwner = nullptr;
thread_local const std::wstring* helpFileOfBox = nullptr;

void CALLBACK BoxHelpRequested(LPHELPINFO info) {
    if (helpOwner && helpFileOfBox && helpOwner->openHelp)
        helpOwner->openHelp(*helpFileOfBox, static_cast<int>(info->dwContextId));
}
Win32Boxes win32Boxes;
}  // namespace

double ScreenTwipsPerPixelX() { return TwipsPerPixel(DeviceCaps(LOGPIXELSX)); }
double ScreenTwipsPerPixelY() { return TwipsPerPixel(DeviceCaps(LOGPIXELSY)); }

int ReadDisplayScale() {
    const int dpi = DeviceCaps(LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

void WindowOpened() { ++openWindows; }
void WindowClosed() {
    if (--openWindows <= 0) PostQuitMessage(0);
}
int OpenWindowCount() { return openWindows; }

int RunMessageLoop() {
    if (openWindows <= 0) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void SizeClientAndCentre(HWND hwnd, int widthUnits, int heightUnits, int dpi) {
    const int width = Magnify(widthUnits, dpi), height = Magnify(heightUnits, dpi);
    RECT outer, client;
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    int w = (outer.right - outer.left) - (client.right - client.left) + width;
    int h = (outer.bottom - outer.top) - (client.bottom - client.top) + height;
    SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar may wrap to another height once the width changes: measure again.
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    h = (outer.bottom - outer.top) - (client.bottom - client.top) + height;
    int left = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    SetWindowPos(hwnd, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Boxes::Show(const std::wstring& text, const std::wstring& title, unsigned style,
                     const std::wstring& helpFile, int helpContext) {
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof params;
    // Owned by the active window so that the box stays above a topmost show.
    params.hwndOwner = GetActiveWindow();
    params.lpszText = text.c_str();
    params.lpszCaption = title.c_str();
    params.dwStyle = style;
    // The help goes with the box without a Help button: F1 in the box asks
    // for the topic, and the callback opens it in the failure's own file.
    params.dwContextHelpId = static_cast<DWORD_PTR>(helpContext);
    if (!helpFile.empty()) params.lpfnMsgBoxCallback = BoxHelpRequested;
    const Win32Boxes* outerOwner = std::exchange(helpOwner, this);
    const std::wstring* outerFile = std::exchange(helpFileOfBox, &helpFile);
    int answer = MessageBoxIndirectW(&params);
    helpOwner = outerOwner;
    helpFileOfBox = outerFile;
    return answer;
}

void OpenHelpTopic(const std::wstring& helpFile, int helpContext) {
    WinHelpW(GetActiveWindow(), helpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(helpContext));
}

Win32Boxes& Win32MessageBoxes() { return win32Boxes; }

DesktopLanguage& Win32DesktopLanguage() {
    struct UserInterface : DesktopLanguage {
        Language Get() override {
            return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::Japanese
                                                                              : Language::English;
        }
    };
    static UserInterface desktop;
    return desktop;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace mirobel
