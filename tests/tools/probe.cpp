// Looks at and drives windows of other processes from inside Wine, for the
// end-to-end tests. Prints one line of key=value pairs per answer (UTF-8).
//
//   probe find <caption>                 first top-level window with that caption
//   probe count <caption>                number of top-level windows with it
//   probe wait <caption> <ms>            like find, waiting up to ms for it
//   probe gone <caption> <ms>            waits up to ms for no such window
//   probe children <hwnd>                every descendant window
//   probe text <hwnd>                    texts of the window's children (a box's message)
//   probe press <hwnd> <button text>     clicks the child button with that text
//   probe close <hwnd>                   asks the window to close
//   probe kill <pid>                     ends a process
//   probe launch <hex>                   starts a process with exactly the command line
//                                        whose UTF-8 bytes the hex digits spell (Wine
//                                        would requote a plain argument)
//   probe post <hwnd> <msg> <wp> <lp>    posts a message (numbers decimal or 0x hex)
//   probe send <hwnd> <msg> <wp> <lp>    sends a message that carries no pointer; prints
//                                        its result
//   probe combo <hwnd>                   a combo box's entry count, selection and entries
//   probe select <hwnd> <index>          selects a combo box entry as the user does,
//                                        with the notification to its parent
//   probe pressid <hwnd> <id>            clicks the child button with that control id
//                                        (a box's Yes is 6, No 7, whatever the language)
//   probe gettext <hwnd>                 a control's own text (WM_GETTEXT), as one line
//   probe monitors                       every monitor: left top right bottom primary
//   probe windows <pid>                  every top-level window of a process
//   probe focus <hwnd>                   the window that has the keyboard focus in the
//                                        thread of that window, or none
//   probe foreground <ms>                a window of the probe takes the foreground and
//                                        the focus for ms, then is destroyed; prints
//                                        whether it was the foreground window
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring Escape(const std::wstring& s) {
    std::wstring out;
    for (wchar_t c : s) {
        if (c == L'\r') out += L"\\r";
        else if (c == L'\n') out += L"\\n";
        else if (c == L'\\') out += L"\\\\";
        else out += c;
    }
    return out;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[4096] = {};
    // The window's own text without sending it a message: a window whose
    // process is ending would keep us waiting.
    InternalGetWindowText(hwnd, buffer, 4096);
    return buffer;
}

std::wstring ControlText(HWND hwnd) {
    wchar_t buffer[4096] = {};
    // Controls of another process answer only WM_GETTEXT with their text.
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 1000, nullptr);
    return buffer;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetClassNameW(hwnd, buffer, 256);
    return buffer;
}

void Describe(HWND hwnd) {
    RECT r{}, c{};
    GetWindowRect(hwnd, &r);
    GetClientRect(hwnd, &c);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
    HWND parent = GetAncestor(hwnd, GA_PARENT);
    std::wstring line = L"hwnd=" + std::to_wstring(reinterpret_cast<uintptr_t>(hwnd)) +
                        L" visible=" + std::to_wstring(IsWindowVisible(hwnd) ? 1 : 0) +
                        L" style=" + std::to_wstring(static_cast<unsigned long>(style)) +
                        L" exstyle=" + std::to_wstring(static_cast<unsigned long>(ex)) +
                        L" left=" + std::to_wstring(r.left) + L" top=" + std::to_wstring(r.top) +
                        L" width=" + std::to_wstring(r.right - r.left) + L" height=" +
                        std::to_wstring(r.bottom - r.top) + L" cw=" + std::to_wstring(c.right) +
                        L" ch=" + std::to_wstring(c.bottom) + L" pid=" + std::to_wstring(pid) +
                        L" parent=" + std::to_wstring(reinterpret_cast<uintptr_t>(parent)) +
                        L" id=" + std::to_wstring(GetDlgCtrlID(hwnd)) +
                        L" class=" + ClassOf(hwnd) + L" text=" + Escape(TextOf(hwnd));
    std::printf("%s\n", Utf8(line).c_str());
}

struct Search {
    std::wstring caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    if (s->caption == buffer) s->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopWindows(const std::wstring& caption) {
    Search s{caption, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        std::printf("monitor left=%ld top=%ld right=%ld bottom=%ld primary=%d\n", info.rcMonitor.left,
                    info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom,
                    (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
    return TRUE;
}

struct OfProcess {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOfProcess(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<OfProcess*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid) s->found.push_back(hwnd);
    return TRUE;
}

void PumpFor(int ms) {
    DWORD start = GetTickCount();
    MSG msg;
    while (static_cast<int>(GetTickCount() - start) < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
}

// Stands for a notification or another program's window that comes to the
// front for a while and goes away again.
int TakeForeground(int ms) {
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"probe foreground", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                  40, 40, 240, 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return 1;
    SetForegroundWindow(window);
    SetActiveWindow(window);
    SetFocus(window);
    PumpFor(ms / 2);
    bool foreground = GetForegroundWindow() == window;
    PumpFor(ms - ms / 2);
    DestroyWindow(window);
    PumpFor(100);
    std::printf("foreground=%d\n", foreground ? 1 : 0);
    return 0;
}

LONG_PTR ParseNumber(const wchar_t* text) { return static_cast<LONG_PTR>(_wcstoi64(text, nullptr, 0)); }

HWND ParseHandle(const wchar_t* text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(_wcstoui64(text, nullptr, 10))); }

int Wait(const std::wstring& caption, int ms, bool wantPresent) {
    DWORD start = GetTickCount();
    for (;;) {
        auto found = TopWindows(caption);
        if (wantPresent && !found.empty()) {
            Describe(found.front());
            return 0;
        }
        if (!wantPresent && found.empty()) {
            std::printf("gone\n");
            return 0;
        }
        if (static_cast<int>(GetTickCount() - start) > ms) {
            std::printf(wantPresent ? "none\n" : "present\n");
            return 1;
        }
        Sleep(20);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::wstring verb = argv[1];
    if (verb == L"find" && argc >= 3) {
        auto found = TopWindows(argv[2]);
        if (found.empty()) {
            std::printf("none\n");
            return 1;
        }
        Describe(found.front());
        return 0;
    }
    if (verb == L"count" && argc >= 3) {
        std::printf("count=%zu\n", TopWindows(argv[2]).size());
        return 0;
    }
    if ((verb == L"wait" || verb == L"gone") && argc >= 4) return Wait(argv[2], _wtoi(argv[3]), verb == L"wait");
    if (verb == L"focus" && argc >= 3) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        DWORD thread = GetWindowThreadProcessId(ParseHandle(argv[2]), nullptr);
        if (!thread || !GetGUIThreadInfo(thread, &info) || !info.hwndFocus) {
            std::printf("none\n");
            return 1;
        }
        Describe(info.hwndFocus);
        return 0;
    }
    if (verb == L"children" && argc >= 3) {
        for (HWND child : Children(ParseHandle(argv[2]))) Describe(child);
        return 0;
    }
    if (verb == L"text" && argc >= 3) {
        for (HWND child : Children(ParseHandle(argv[2]))) {
            std::wstring t = ControlText(child);
            if (ClassOf(child) == L"Static" && !t.empty()) std::printf("%s\n", Utf8(Escape(t)).c_str());
        }
        return 0;
    }
    if (verb == L"press" && argc >= 4) {
        for (HWND child : Children(ParseHandle(argv[2]))) {
            if (ClassOf(child) == L"Button" && ControlText(child) == argv[3]) {
                PostMessageW(child, BM_CLICK, 0, 0);
                std::printf("pressed\n");
                return 0;
            }
        }
        std::printf("no such button\n");
        return 1;
    }
    if (verb == L"kill" && argc >= 3) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(_wtoi(argv[2])));
        if (process) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
        std::printf("killed\n");
        return 0;
    }
    if (verb == L"close" && argc >= 3) {
        PostMessageW(ParseHandle(argv[2]), WM_CLOSE, 0, 0);
        std::printf("closed\n");
        return 0;
    }
    if ((verb == L"post" || verb == L"send") && argc >= 6) {
        HWND target = ParseHandle(argv[2]);
        UINT msg = static_cast<UINT>(ParseNumber(argv[3]));
        WPARAM wp = static_cast<WPARAM>(ParseNumber(argv[4]));
        LPARAM lp = static_cast<LPARAM>(ParseNumber(argv[5]));
        if (verb == L"post") {
            std::printf(PostMessageW(target, msg, wp, lp) ? "posted\n" : "failed\n");
            return 0;
        }
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(target, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) {
            std::printf("failed\n");
            return 1;
        }
        std::printf("result=%lld\n", static_cast<long long>(static_cast<LONG_PTR>(result)));
        return 0;
    }
    if (verb == L"combo" && argc >= 3) {
        HWND combo = ParseHandle(argv[2]);
        DWORD_PTR count = 0, selected = 0;
        SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        SendMessageTimeoutW(combo, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selected);
        std::printf("count=%lld sel=%lld\n", static_cast<long long>(static_cast<LONG_PTR>(count)),
                    static_cast<long long>(static_cast<LONG_PTR>(selected)));
        for (LONG_PTR i = 0; i < static_cast<LONG_PTR>(count); ++i) {
            wchar_t buffer[512] = {};
            // The system carries this text across processes, as it does WM_GETTEXT.
            SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer),
                                SMTO_ABORTIFHUNG, 5000, nullptr);
            std::printf("item=%s\n", Utf8(Escape(buffer)).c_str());
        }
        return 0;
    }
    if (verb == L"select" && argc >= 4) {
        HWND combo = ParseHandle(argv[2]);
        WPARAM index = static_cast<WPARAM>(ParseNumber(argv[3]));
        SendMessageTimeoutW(combo, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        WPARAM notify = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
        PostMessageW(GetAncestor(combo, GA_PARENT), WM_COMMAND, notify, reinterpret_cast<LPARAM>(combo));
        std::printf("selected\n");
        return 0;
    }
    if (verb == L"pressid" && argc >= 4) {
        int id = static_cast<int>(ParseNumber(argv[3]));
        for (HWND child : Children(ParseHandle(argv[2]))) {
            if (ClassOf(child) == L"Button" && GetDlgCtrlID(child) == id) {
                PostMessageW(child, BM_CLICK, 0, 0);
                std::printf("pressed\n");
                return 0;
            }
        }
        std::printf("no such button\n");
        return 1;
    }
    if (verb == L"gettext" && argc >= 3) {
        std::printf("%s\n", Utf8(Escape(ControlText(ParseHandle(argv[2])))).c_str());
        return 0;
    }
    if (verb == L"monitors") {
        EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
        return 0;
    }
    if (verb == L"windows" && argc >= 3) {
        OfProcess s{static_cast<DWORD>(_wtoi(argv[2])), {}};
        EnumWindows(CollectOfProcess, reinterpret_cast<LPARAM>(&s));
        for (HWND hwnd : s.found) Describe(hwnd);
        return 0;
    }
    if (verb == L"foreground" && argc >= 3) return TakeForeground(_wtoi(argv[2]));
    if (verb == L"launch" && argc >= 3) {
        std::wstring hex = argv[2];
        std::string utf8;
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            utf8 += static_cast<char>(std::stoi(std::wstring(hex.substr(i, 2)), nullptr, 16));
        std::wstring childLine(utf8.size() + 1, L'\0');
        int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), childLine.data(),
                                    static_cast<int>(childLine.size()));
        childLine.resize(n);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, childLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            std::printf("failed=%lu\n", GetLastError());
            return 1;
        }
        std::printf("pid=%lu\n", pi.dwProcessId);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return 0;
    }
    return 2;
}
