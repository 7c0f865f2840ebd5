// The software introduction window salesf, with four cyclists racing along
// the bottom of its panel.
#include <chrono>
#include <cmath>
#include <random>

#include "core/base/Scaling.h"
#include "win32/base/Guard.h"
#include "win32/base/WindowClass.h"
#include "win32/base/Place.h"
#include "win32/base/Resources.h"
#include "core/base/Platform.h"
#include "core/companions/CompanionRules.h"
#include "win32/companions/Companions.h"
#include "win32/companions/Forms.h"
#include "win32/base/Fonts.h"

namespace mirobel {

HWND salesf = nullptr;

namespace {
HWND Picture1, TextInformation, Picture2, Label1, TextAddress, ImageSensyu[kCyclists], Command1;
CyclistPlace cyclists[kCyclists];

enum : int { kIdCommand1 = 101 };
const UINT_PTR kTimer1 = 1;
const UINT kTimer1Interval = 10;

const wchar_t* const kIntroduction =
    L"ミロベル スクリーンセイバー\r\n"
    L"\r\n"
    L"百人一首の百首を、かるたの札にして\r\n"
    L"画面に一首ずつ映し出すスクリーンセイバーです。\r\n"
    L"札は黒い画面の上を斜めに進み、端で跳ね返ります。\r\n"
    L"歌は縦書きで一文字ずつ札に書かれ、\r\n"
    L"書き終わると作者の絵が現れて、\r\n"
    L"画面の下を歌の意味を伝える通釈が流れます。\r\n"
    L"\r\n"
    L"表示する歌の範囲と順序、速度、\r\n"
    L"音楽のあり・なしは設定画面で選べます。\r\n"
    L"歌を一首ずつゆっくり読みたいときは、\r\n"
    L"ヘルプメニューの「百人一首の解説」をどうぞ。\r\n"
    L"\r\n"
    L"このソフトはフリーソフトです。\r\n"
    L"ご意見、ご感想は下のアドレスまでお寄せください。\r\n";
const wchar_t* const kAddress = L"https://www.example.com/mirobel/";


HICON LoadCyclist(int i) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CYCLIST_BASE + i), IMAGE_ICON,
                   MagnifiedUnits(32), MagnifiedUnits(32), 0));
}

void CreateControls(HWND form) {
    std::wstring mincho = ResolveFace(L"ＭＳ 明朝");
    std::wstring gothic = ResolveFace(L"ＭＳ Ｐゴシック");
    Picture1 = CreatePanel(form, GetSysColor(COLOR_BTNFACE));
    // The picture sits over the text box's upper right corner, whose lines
    // are kept short enough to stay clear of it.
    Picture2 = CreateBitmapImage(Picture1, static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                                           MAKEINTRESOURCEW(IDB_SALES_PICTURE),
                                                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    TextInformation = CreateControl(Picture1, L"EDIT", kIntroduction,
                                    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
                                    WS_EX_CLIENTEDGE);
    SetControlColours(TextInformation, RGB(255, 255, 255));
    Label1 = CreateControl(Picture1, L"STATIC", L"", SS_LEFT);
    SetControlColours(Label1, GetSysColor(COLOR_BTNFACE));
    TextAddress = CreateControl(Picture1, L"EDIT", kAddress, ES_CENTER | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, 0,
                                WS_EX_CLIENTEDGE);
    SetControlColours(TextAddress, RGB(255, 255, 255));
    for (int i = 0; i < kCyclists; ++i) ImageSensyu[i] = CreateIconImage(Picture1, LoadCyclist(i));
    Command1 = CreateControl(Picture1, L"BUTTON", L"ＯＫ！", BS_PUSHBUTTON | WS_TABSTOP, kIdCommand1);

    SetControlFont(TextInformation, gothic.c_str(), false, SHIFTJIS_CHARSET, 9);
    SetControlFont(Label1, mincho.c_str(), false, SHIFTJIS_CHARSET, 9);
    SetUnscaledFont(TextAddress, gothic.c_str(), false, 9);
    SetControlFont(Command1, mincho.c_str(), false, SHIFTJIS_CHARSET, 9);
    for (HWND c : {TextInformation, TextAddress, Command1}) EnableTabKey(c);
}

void Form_Load(HWND form) {
    CreateControls(form);
    // The window measures in pixels; the timer reads the twips per pixel
    // itself on every tick.
    SizeClientAndCentre(form, 502, 394);
    SetWindowTextW(Label1, L"URL Address …");
    PlaceControl(Picture1, 470, 360, 16, 16);
    PlaceControl(Picture2, 50, 50, 370, 32);
    PlaceControl(TextAddress, 240, 18, 120, 328);
    PlaceFontControl(TextInformation, 9, 433, 255, 16, 16);
    PlaceFontControl(Label1, 10, 100, 17, 20, 328);
    for (int i = 0; i < kCyclists; ++i) {
        cyclists[i] = CyclistStart(i);
        PlaceControl(ImageSensyu[i], 32, 32, static_cast<int16_t>(cyclists[i].left),
                     static_cast<int16_t>(cyclists[i].top));
    }
    PlaceFontControl(Command1, 12, 65, 33, 384, 312);
    SetTimer(form, kTimer1, kTimer1Interval, nullptr);
}

void Timer1_Timer() {
    // The race is run in units; steps and wrap are magnified with the window.
    CyclistsTick(cyclists, *g_platform.random, static_cast<int>(kUnitTwips));
    for (int i = 0; i < kCyclists; ++i) MoveControl(ImageSensyu[i], cyclists[i].left, cyclists[i].top);
}

void Command1_Click() { UnloadSales(); }

LRESULT CALLBACK SalesfProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == kTimer1) Timer1_Timer();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdCommand1) Command1_Click();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, kTimer1);
            break;
    }
    if (LRESULT result; CommonFormMessage(hwnd, msg, wp, lp, salesf, Command1, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

void ShowSales() {
    if (!salesf) {
        salesf = CreateForm(window_class::kSales, Guarded<SalesfProc>, IDI_MIROBEL, L"作者ソフト紹介",
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        if (!salesf) return;
        WindowOpened();
        Form_Load(salesf);
    }
    ShowWindow(salesf, SW_SHOWNORMAL);
    SetForegroundWindow(salesf);
}

void UnloadSales() {
    if (salesf) DestroyWindow(salesf);
}

}  // namespace mirobel
