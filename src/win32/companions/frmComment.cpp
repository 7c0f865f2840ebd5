// The commentary viewer frmComment: pick a poem, press "決定", read its
// verses, poet and rendering.
#include "win32/base/Guard.h"
#include "win32/base/WindowClass.h"
#include "win32/base/Place.h"
#include "win32/base/Resources.h"
#include "core/companions/CompanionRules.h"
#include "win32/companions/Companions.h"
#include "win32/companions/Forms.h"
#include "win32/base/Fonts.h"
#include "core/poems/Poems.h"

namespace mirobel {

HWND frmComment = nullptr;

namespace {
HWND LabelTitle, Picture1, LabelType[5], Combo1, Command1, TextKaisetu[4], Image1, Command2;

enum : int { kIdCombo1 = 101, kIdCommand1 = 102, kIdCommand2 = 103, kIdTextKaisetu = 110 };

const wchar_t* const kRowCaptions[5] = {L"選　択", L"上の句", L"下の句", L"作　者", L"通　釈"};
const int kDroppedListHeight = 240;

void Font(HWND control, bool bold) {
    SetControlFont(control, ResolveFace(L"ＭＳ 明朝").c_str(), bold, SHIFTJIS_CHARSET, 9);
}

void CreateControls(HWND form) {
    LabelTitle = CreateControl(form, L"STATIC", L"百人一首の解説", SS_CENTER | SS_CENTERIMAGE | WS_BORDER);
    SetControlColours(LabelTitle, RGB(0, 128, 128));
    Picture1 = CreatePanel(form, RGB(0, 192, 192));
    // Creation order is tab order: the chooser, the four boxes top to
    // bottom, "決定"; "終　了" follows in the window itself.
    Combo1 = CreateControl(Picture1, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kIdCombo1);
    SetWindowPos(Combo1, nullptr, 0, 0, MagnifiedUnits(227), MagnifiedUnits(kDroppedListHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < 4; ++i) {
        DWORD style = i == 3 ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        TextKaisetu[i] =
            CreateControl(Picture1, L"EDIT", L"", style | WS_TABSTOP, kIdTextKaisetu + i, WS_EX_CLIENTEDGE);
    }
    Command1 = CreateControl(Picture1, L"BUTTON", L"決定", BS_PUSHBUTTON | WS_TABSTOP, kIdCommand1);
    for (int i = 0; i < 5; ++i) {
        LabelType[i] = CreateControl(Picture1, L"STATIC", kRowCaptions[i], SS_LEFT);
        SetControlColours(LabelType[i], RGB(0, 192, 192));
    }
    HBITMAP portrait = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_COMMENT_IMAGE),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    Image1 = CreateBitmapImage(form, portrait, WS_BORDER);
    Command2 = CreateControl(form, L"BUTTON", L"終　了", BS_PUSHBUTTON | WS_TABSTOP, kIdCommand2);

    Font(LabelTitle, true);
    for (HWND c : LabelType) Font(c, true);
    Font(Combo1, false);
    for (HWND c : TextKaisetu) Font(c, false);
    Font(Command1, true);
    Font(Command2, true);
    for (HWND c : {Combo1, TextKaisetu[0], TextKaisetu[1], TextKaisetu[2], TextKaisetu[3], Command1, Command2})
        EnableTabKey(c);
}

void LayOut() {
    PlaceFontControl(LabelTitle, 16, 376, 30, 10, 10);
    PlaceControl(Picture1, 376, 200, 10, 50);
    PlaceFontControl(LabelType[0], 9, 55, 20, 8, 16);
    for (int i = 1; i <= 4; ++i) PlaceFontControl(LabelType[i], 9, 55, 20, 8, static_cast<int16_t>(32 + 24 * i));
    PlaceFontControlKeepHeight(Combo1, 9, 227, 64, 16);
    for (int i = 0; i < 4; ++i) PlaceFontControl(TextKaisetu[i], 9, 297, 18, 64, static_cast<int16_t>(56 + 24 * i));
    // The commentary box is three rows high.
    PlaceControl(TextKaisetu[3], 297, 57, 64, 56 + 24 * 3);
    PlaceControl(Image1, 50, 50, 8, 260);
    PlaceFontControl(Command1, 10, 57, 33, 304, 16);
    PlaceFontControl(Command2, 11, 313, 50, 72, 260);
}

// Entry k is replaced in place or appended, so the list holds exactly one
// entry per poem however often the viewer is opened.
void FillChooser() {
    LRESULT selected = SendMessageW(Combo1, CB_GETCURSEL, 0, 0);
    for (int k = 0; k < kChooserEntries; ++k) {
        std::wstring text = ChooserEntryText(k);
        LRESULT count = SendMessageW(Combo1, CB_GETCOUNT, 0, 0);
        if (count > k) {
            SendMessageW(Combo1, CB_DELETESTRING, static_cast<WPARAM>(k), 0);
            SendMessageW(Combo1, CB_INSERTSTRING, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(text.c_str()));
        } else {
            SendMessageW(Combo1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    if (selected >= 0) SendMessageW(Combo1, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void Command1_Click() {
    int selected = static_cast<int>(SendMessageW(Combo1, CB_GETCURSEL, 0, 0));
    if (selected < 0) SendMessageW(Combo1, CB_SETCURSEL, 0, 0);
    int n = ChosenEntry(selected) + 1;
    CommentaryTexts texts = CommentaryFor(n);
    SetWindowTextW(TextKaisetu[0], texts.upper.c_str());
    SetWindowTextW(TextKaisetu[1], texts.lower.c_str());
    SetWindowTextW(TextKaisetu[2], texts.poet.c_str());
    SetWindowTextW(TextKaisetu[3], texts.comment.c_str());
}

void Command2_Click() { UnloadCommentary(); }

LRESULT CALLBACK FrmCommentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdCommand1) Command1_Click();
            else if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdCommand2) Command2_Click();
            return 0;
    }
    if (LRESULT result; CommonFormMessage(hwnd, msg, wp, lp, frmComment, Combo1, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

void ShowCommentary() {
    FillPoemTables();
    if (!frmComment) {
        frmComment = CreateForm(window_class::kCommentary, Guarded<FrmCommentProc>, IDI_MIROBEL, L"百人一首の解説",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        if (!frmComment) return;
        WindowOpened();
        CreateControls(frmComment);
    }
    SizeClientAndCentre(frmComment, 400, 320);
    LayOut();
    FillChooser();
    ShowWindow(frmComment, SW_SHOWNORMAL);
    SetForegroundWindow(frmComment);
}

void UnloadCommentary() {
    if (frmComment) DestroyWindow(frmComment);
}

}  // namespace mirobel
