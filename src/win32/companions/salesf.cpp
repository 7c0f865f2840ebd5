// The software introduction window salesf, with four cyclists racing along
// the bottom of its panel.
#include <chrono>
#include <cmath>
#include <random>

#include "core/base/Faces.h"
#include "core/base/Scaling.h"
#include "win32/base/Guard.h"
#include "win32/base/WindowClass.h"
#include "win32/base/Place.h"
#include "win32/base/Resources.h"
#include "core/base/Platform.h"
#include "core/companions/CompanionRules.h"
#include "win32/companions/Companions.h"
#include "win32/companions/FormLook.h"
#include "win32/companions/Forms.h"

namespace mirobel {

HWND salesf = nullptr;

namespace {
struct SalesForm {
    FormResources res;
    Language language;
    HWND Picture1, TextInformation, Picture2, Label1, TextAddress, ImageSensyu[kCyclists], Command1;
    CyclistPlace cyclists[kCyclists];  // where each stands in the race
};

enum : int { kIdCommand1 = 101 };
const UINT_PTR kTimer1 = 1;
const UINT kTimer1Interval = 10;

const wchar_t* const kAddress = L"https://www.example.com/mirobel/";


HICON LoadCyclist(int i, int dpi) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CYCLIST_BASE + i), IMAGE_ICON,
                   Magnify(32, dpi), Magnify(32, dpi), 0));
}

void CreateControls(HWND form, SalesForm& f) {
    const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
    f.Picture1 = CreatePanel(form, buttonFace);
    // The picture sits over the text box's upper right corner, whose lines
    // are kept short enough to stay clear of it.
    f.Picture2 = CreateBitmapImage(f.Picture1, static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                                               MAKEINTRESOURCEW(IDB_SALES_PICTURE),
                                                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const IntroductionTexts& texts = IntroductionTextsIn(f.language);
    f.TextInformation = CreateControl(f.Picture1, L"EDIT", texts.introduction,
                                      ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
                                      WS_EX_CLIENTEDGE);
    SetControlColours(f.TextInformation, look::kPage);
    f.Label1 = CreateControl(f.Picture1, L"STATIC", L"", SS_LEFT);
    SetControlColours(f.Label1, buttonFace);
    f.TextAddress = CreateControl(f.Picture1, L"EDIT", kAddress,
                                  ES_CENTER | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, 0, WS_EX_CLIENTEDGE);
    SetControlColours(f.TextAddress, look::kPage);
    for (int i = 0; i < kCyclists; ++i) f.ImageSensyu[i] = CreateIconImage(f.Picture1, LoadCyclist(i, f.res.dpi));
    f.Command1 = CreateControl(f.Picture1, L"BUTTON", texts.ok, BS_PUSHBUTTON | WS_TABSTOP, kIdCommand1);

    const bool english = f.language == Language::English;
    const wchar_t* gothic = english ? kLatinFace : kPGothicFace;
    SetFormFont(f.TextInformation, gothic, false);
    SetFormFont(f.Label1, TextFace(f.language), false);
    SetUnscaledFont(f.TextAddress, gothic, false, 9);
    SetFormFont(f.Command1, TextFace(f.language), false);
    for (HWND c : {f.TextInformation, f.TextAddress, f.Command1}) EnableTabKey(c);
}

void Form_Load(HWND form, SalesForm& f) {
    CreateControls(form, f);
    // The window measures in pixels; the timer reads the twips per pixel
    // itself on every tick.
    SizeClientAndCentre(form, 502, 394, f.res.dpi);
    SetWindowTextW(f.Label1, L"URL Address …");
    PlaceControl(f.Picture1, 470, 360, 16, 16);
    PlaceControl(f.Picture2, 50, 50, 370, 32);
    PlaceControl(f.TextAddress, 240, 18, 120, 328);
    PlaceFontControl(f.TextInformation, 9, 433, 255, 16, 16);
    PlaceFontControl(f.Label1, 10, 100, 17, 20, 328);
    for (int i = 0; i < kCyclists; ++i) {
        f.cyclists[i] = CyclistStart(i);
        PlaceControl(f.ImageSensyu[i], 32, 32, static_cast<int16_t>(f.cyclists[i].left),
                     static_cast<int16_t>(f.cyclists[i].top));
    }
    PlaceFontControl(f.Command1, 12, 65, 33, 384, 312);
    SetTimer(form, kTimer1, kTimer1Interval, nullptr);
}

void Timer1_Timer(SalesForm& f) {
    // The race is run in units; steps and wrap are magnified with the window.
    CyclistsTick(f.cyclists, *g_platform.random, static_cast<int>(kUnitTwips));
    for (int i = 0; i < kCyclists; ++i) MoveControl(f.ImageSensyu[i], f.cyclists[i].left, f.cyclists[i].top);
}

void Command1_Click() { UnloadSales(); }

LRESULT CALLBACK SalesfProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp != kTimer1) return 0;
            if (SalesForm* f = FormOf<SalesForm>(hwnd)) Timer1_Timer(*f);
            return 0;
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdCommand1) Command1_Click();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, kTimer1);
            break;
    }
    if (LRESULT result; FormMessage(hwnd, msg, wp, lp, salesf, &SalesForm::Command1, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

void ShowSales(int dpi, Language language) {
    if (salesf && FormOf<SalesForm>(salesf)->language != language) UnloadSales();
    if (!salesf) {
        salesf = CreateForm(window_class::kSales, Guarded<SalesfProc>, IDI_MIROBEL,
                            IntroductionTextsIn(language).caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        if (!salesf) return;
        SalesForm& made = MakeForm<SalesForm>(salesf, dpi);
        made.language = language;
        Form_Load(salesf, made);
    }
    ShowWindow(salesf, SW_SHOWNORMAL);
    SetForegroundWindow(salesf);
}

void UnloadSales() {
    if (salesf) DestroyWindow(salesf);
}

}  // namespace mirobel
