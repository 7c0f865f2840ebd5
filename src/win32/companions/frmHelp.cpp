// The help window frmHelp: the built-in help text and "ＯＫ！".
#include "core/base/Faces.h"
#include "core/companions/CompanionRules.h"
#include "win32/base/Guard.h"
#include "win32/base/WindowClass.h"
#include "win32/base/Place.h"
#include "win32/base/Resources.h"
#include "win32/companions/Companions.h"
#include "win32/companions/FormLook.h"
#include "win32/companions/Forms.h"

namespace mirobel {

HWND frmHelp = nullptr;

namespace {
struct HelpForm {
    FormResources res;
    Language language;
    HWND TextInformation, CommandButton;
};
enum : int { kIdTextInformation = 101, kIdCommandButton = 102 };

// The Japanese text is kept as the Shift-JIS bytes it was written in and
// read with code page 932 whatever the system's own code page is; the
// English one is plain ASCII.
std::wstring HelpText(Language language) {
    const bool english = language == Language::English;
    std::string bytes = ResourceBytes(english ? IDR_HELP_TEXT_ENGLISH : IDR_HELP_TEXT, RT_RCDATA);
    if (bytes.empty()) return {};
    const UINT codePage = english ? CP_UTF8 : 932;
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

void CreateControls(HWND form, HelpForm& f) {
    f.TextInformation = CreateControl(form, L"EDIT", HelpText(f.language).c_str(),
                                      ES_MULTILINE | ES_READONLY | WS_TABSTOP, kIdTextInformation, WS_EX_CLIENTEDGE);
    // Read-only, yet drawn like a page to read rather than a disabled box.
    SetControlColours(f.TextInformation, look::kPage);
    f.CommandButton = CreateControl(form, L"BUTTON", HelpTextsIn(f.language).ok, BS_PUSHBUTTON | WS_TABSTOP,
                                    kIdCommandButton);
    SetFormFont(f.TextInformation, TextFace(f.language), false);
    SetFormFont(f.CommandButton, TextFace(f.language), true);
    EnableTabKey(f.TextInformation);
    EnableTabKey(f.CommandButton);
}

void CommandButton_Click() { UnloadHelp(); }

LRESULT CALLBACK FrmHelpProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdCommandButton) CommandButton_Click();
            return 0;
    }
    if (LRESULT result; FormMessage(hwnd, msg, wp, lp, frmHelp, &HelpForm::CommandButton, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

void ShowHelp(int dpi, Language language) {
    if (frmHelp && FormOf<HelpForm>(frmHelp)->language != language) UnloadHelp();
    if (!frmHelp) {
        frmHelp = CreateForm(window_class::kHelp, Guarded<FrmHelpProc>, IDI_HELP, HelpTextsIn(language).caption,
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        if (!frmHelp) return;
        HelpForm& made = MakeForm<HelpForm>(frmHelp, dpi);
        made.language = language;
        CreateControls(frmHelp, made);
    }
    HelpForm& f = *FormOf<HelpForm>(frmHelp);
    SizeClientAndCentre(frmHelp, 490, 385, f.res.dpi);
    PlaceFontControl(f.TextInformation, 9, 470, 328, 10, 10);
    PlaceFontControl(f.CommandButton, 11, 89, 33, 390, 347);
    ShowWindow(frmHelp, SW_SHOWNORMAL);
    SetForegroundWindow(frmHelp);
}

void UnloadHelp() {
    if (frmHelp) DestroyWindow(frmHelp);
}

}  // namespace mirobel
