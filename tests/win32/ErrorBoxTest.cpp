// The error box carries the failure's help without a Help button: F1 in the
// box reaches the failure's help file at its topic.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Platform.h"
#include "win32/base/Win32Util.h"

using namespace mirobel;

namespace {
std::vector<std::pair<std::wstring, int>> opened;
std::vector<bool> helpButtonShown;

BOOL CALLBACK PressF1AndAnswer(HWND hwnd, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (!IsWindowVisible(hwnd) || std::wstring(cls) != L"#32770") return TRUE;
    helpButtonShown.push_back(FindWindowExW(hwnd, nullptr, L"Button", L"Help") != nullptr ||
                              GetDlgItem(hwnd, IDHELP) != nullptr);
    // What the system sends the box for F1.
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = hwnd;
    SendMessageW(hwnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), PressF1AndAnswer, 0);
}
}  // namespace

TEST(ErrorBox, F1OpensTheFailuresHelpTopicAndABoxWithoutHelpOpensNothing) {
    Win32Boxes boxes;
    boxes.openHelp = [](const std::wstring& file, int topic) { opened.emplace_back(file, topic); };
    MessageBoxes* platformBoxes = std::exchange(g_platform.boxes, &boxes);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, Watch);

    RuntimeError withHelp = Overflow();
    withHelp.helpFile = L"C:\\help\\mirobel.hlp", withHelp.helpContext = 1006;
    ShowErrorBox(StandardErrorText(withHelp), withHelp);
    ShowErrorBox(StandardErrorText(TypeMismatch()), TypeMismatch());

    KillTimer(nullptr, timer);
    g_platform.boxes = platformBoxes;
    ASSERT_EQ(helpButtonShown.size(), 2u) << "each box was up and answered";
    EXPECT_EQ(helpButtonShown, (std::vector<bool>{false, false}));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].first, L"C:\\help\\mirobel.hlp");
    EXPECT_EQ(opened[0].second, 1006);
}
