// The guard where the system calls the program: a failure that escapes a
// window procedure or a timer ends the process the program's own way. The
// failing program runs as a child process, since it ends itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "win32/base/Guard.h"
#include "win32/base/Win32Util.h"
#include "win32/base/WindowClass.h"

using namespace mirobel;

namespace {
std::wstring Beside(const wchar_t* name) {
    std::wstring path = ModulePath();
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

struct Child {
    PROCESS_INFORMATION info{};
    std::wstring marker;

    explicit Child(const std::wstring& how) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        marker = std::wstring(temp) + L"guard-marker-" + how + L".txt";
        DeleteFileW(marker.c_str());
        std::wstring commandLine = L"\"" + Beside(L"guard_victim.exe") + L"\" " + how + L" \"" + marker + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info))
            ADD_FAILURE() << "guard_victim.exe did not start";
    }
    ~Child() {
        if (!info.hProcess) return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        DeleteFileW(marker.c_str());
    }
    // Exit code once ended, or -1 if it still runs after ms.
    long EndedWith(DWORD ms) {
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<long>(code);
    }
    bool HookRan() const { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::vector<HWND> ErrorBoxes() const {
        struct Search {
            DWORD pid;
            std::vector<HWND> found;
        } search{info.dwProcessId, {}};
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                wchar_t title[32] = {};
                GetWindowTextW(hwnd, title, 32);
                // The box speaks the desktop's language, which follows the host's locale.
                const std::wstring caption = title;
                if (pid == s->pid && (caption == kErrorTitle || caption == kErrorTitleEnglish) && IsWindowVisible(hwnd))
                    s->found.push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // Waits (bounded, for a busy machine) for the first error box.
    HWND WaitForErrorBox() {
        for (int i = 0; i < 600; ++i) {
            auto boxes = ErrorBoxes();
            if (!boxes.empty()) return boxes[0];
            if (EndedWith(0) != -1) return nullptr;
            Sleep(50);
        }
        return nullptr;
    }
};

std::wstring BoxText(HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

void PressOk(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok) ok = GetDlgItem(box, IDCANCEL);
    PostMessageW(ok, BM_CLICK, 0, 0);
}
}  // namespace

TEST(Guard, OurFailureInAWindowProcedureIsReportedInTheStandardBoxThenTheProcessEnds) {
    Child child(L"window-runtime");
    HWND box = child.WaitForErrorBox();
    ASSERT_NE(box, nullptr) << "no error box; exit code " << child.EndedWith(0);
    EXPECT_EQ(BoxText(box), StandardErrorText(SubscriptOutOfRange(), Win32DesktopLanguage().Get()));
    EXPECT_TRUE(child.HookRan()) << "the pointer is given back before the box";
    EXPECT_EQ(child.EndedWith(0), -1) << "the process waits for the box";
    PressOk(box);
    EXPECT_EQ(child.EndedWith(30000), static_cast<long>(kExitReportedFailure));
}

TEST(Guard, ATimerThatKeepsFailingRaisesOneBoxOnly) {
    Child child(L"timer-runtime");
    HWND box = child.WaitForErrorBox();
    ASSERT_NE(box, nullptr) << "no error box; exit code " << child.EndedWith(0);
    EXPECT_EQ(BoxText(box), StandardErrorText(Overflow(), Win32DesktopLanguage().Get()));
    // A hundred more ticks fail behind the box.
    Sleep(1000);
    EXPECT_EQ(child.ErrorBoxes().size(), 1u);
    PressOk(box);
    EXPECT_EQ(child.EndedWith(30000), static_cast<long>(kExitReportedFailure));
}

TEST(Guard, AnyOtherFailureEndsTheProcessWithoutABoxAndNotAsSuccess) {
    Child child(L"window-other");
    EXPECT_EQ(child.EndedWith(30000), static_cast<long>(kExitUnexpectedFailure));
    EXPECT_TRUE(child.HookRan());
    EXPECT_TRUE(child.ErrorBoxes().empty());
}

TEST(WindowClasses, ANameTakenByAnotherProcedureIsRefusedAndTheSameOneIsKept) {
    auto first = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT { return DefWindowProcW(h, m, w, l); };
    auto second = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        return m == WM_NULL ? 1 : DefWindowProcW(h, m, w, l);
    };
    EXPECT_TRUE(RegisterWindowClass({L"MirobelTestClass", first}));
    EXPECT_TRUE(RegisterWindowClass({L"MirobelTestClass", first}));
    EXPECT_FALSE(RegisterWindowClass({L"MirobelTestClass", second}));
}
