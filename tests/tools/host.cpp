// Stands in for the display settings' preview area in the end-to-end tests,
// and answers two questions about processes and boxes from inside Wine.
//
//   host <scr> <caption> <x> <y> [<width> <height>]
//       Opens a borderless top-level window (152 x 112 unless told) and starts
//       "<scr>" /p <its handle>. Asked to close, it destroys its window, then
//       waits up to 10 s for the saver to end: exit code 0 if it did, 3 if it
//       did not (the saver is then ended so that nothing is left), 4 if the
//       saver could not be started.
//   host wait <pid> <ms>
//       Exit code 0 once the process has ended (or never existed), 1 if it
//       is still running after ms.
//   host boxes
//       Prints "boxes=N" and the caption of every visible top-level dialog
//       window (message boxes are dialogs), one a line.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int Host(const std::wstring& scr, const std::wstring& caption, int x, int y, int width, int height) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(RGB(64, 64, 64));
    wc.lpszClassName = L"MirobelTestHost";
    RegisterClassExW(&wc);
    // No border, so that the window's rectangle and its client area agree.
    HWND window = CreateWindowExW(0, L"MirobelTestHost", caption.c_str(), WS_POPUP | WS_VISIBLE, x, y, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 4;

    std::wstring line = L"\"" + scr + L"\" /p " +
                        std::to_wstring(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        DestroyWindow(window);
        return 4;
    }
    CloseHandle(pi.hThread);
    std::printf("hwnd=%lu saver=%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)),
                pi.dwProcessId);
    std::fflush(stdout);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DWORD t0 = GetTickCount();
    DWORD waited = WaitForSingleObject(pi.hProcess, 10000);
    std::printf("saver %s after %lu ms\n", waited == WAIT_OBJECT_0 ? "ended" : "still running",
                GetTickCount() - t0);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return waited == WAIT_OBJECT_0 ? 0 : 3;
}

int Wait(DWORD pid, DWORD ms) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return 0;
    DWORD r = WaitForSingleObject(process, ms);
    CloseHandle(process);
    return r == WAIT_OBJECT_0 ? 0 : 1;
}

BOOL CALLBACK CollectBox(HWND hwnd, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (IsWindowVisible(hwnd) && std::wstring(cls) == L"#32770")
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

int Boxes() {
    std::vector<HWND> boxes;
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&boxes));
    std::printf("boxes=%zu\n", boxes.size());
    for (HWND box : boxes) {
        wchar_t caption[256] = {};
        InternalGetWindowText(box, caption, 256);
        std::printf("%s\n", Utf8(caption).c_str());
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::wstring verb = argv[1];
    if (verb == L"wait" && argc >= 4) return Wait(static_cast<DWORD>(_wtoi(argv[2])), static_cast<DWORD>(_wtoi(argv[3])));
    if (verb == L"boxes") return Boxes();
    if (argc >= 5) {
        int width = argc >= 7 ? _wtoi(argv[5]) : 152;
        int height = argc >= 7 ? _wtoi(argv[6]) : 112;
        return Host(argv[1], argv[2], _wtoi(argv[3]), _wtoi(argv[4]), width, height);
    }
    return 2;
}
