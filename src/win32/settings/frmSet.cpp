// The settings dialog frmSet. Its rules (shown values, range check, apply)
// live in SettingsRules; this file builds the window and routes its events.
#include "win32/base/Guard.h"
#include "win32/base/WindowClass.h"
#include "win32/settings/frmSet.h"

#include <string>

#include "win32/base/Place.h"
#include "win32/base/Resources.h"
#include "win32/companions/Companions.h"
#include "win32/companions/FormLook.h"
#include "win32/companions/Forms.h"
#include "core/base/Faces.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsRules.h"

namespace mirobel {

HWND frmSet = nullptr;

namespace {
struct SetForm {
    FormResources res;
    // The record the dialog shows and an apply changes and stores: the
    // dialog's own, set when it opens.
    Settings record;
    // The language the dialog speaks: the record's, until the language menu
    // picks another, which an apply then stores.
    Language language;
    HWND LabelTitle, PictureSelect, LabelType[4], ComboFirst, LabelHani, ComboEnd, OptionType[3], CheckMusic,
        ComboSpeed, CommandButton[4], Image1;
    // The row below the speed: on which monitors the show runs, and whether
    // the card marks its deciding kana.
    HWND LabelScreens, OptionScreens[2], CheckKimariji;
    // The row below that: a study set instead of the range.
    HWND LabelSets, ComboSets;
};

// A drop-down list keeps this dropped extent; its field follows the font.
const int kDroppedListHeight = 200;

// The lists hold only numbers and the sign between the range's two lists is
// a full-width wave: they stay in Mincho in either language.
void Font(HWND control, bool bold) { SetFormFont(control, kMinchoFace, bold); }

// The classic bar, and after it the language menu with the dialog's
// language ticked.
HMENU BuildMenu(Language language) {
    const DialogTexts& texts = DialogTextsIn(language);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, kIdMenuClose, texts.menuClose);
    AppendMenuW(bar, MF_STRING, kIdMenuSet, texts.menuSet);
    HMENU help = CreatePopupMenu();
    for (int i = 0; i < 4; ++i) AppendMenuW(help, MF_STRING, kIdMenuAbout + i, texts.menuAbout[i]);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), texts.menuHelp);
    HMENU languages = CreatePopupMenu();
    for (int i = 0; i < 2; ++i) AppendMenuW(languages, MF_STRING, kIdMenuLanguage + i, kLanguageEntries[i]);
    const int chosen = language == Language::English ? 1 : 0;
    CheckMenuRadioItem(languages, kIdMenuLanguage, kIdMenuLanguage + 1, kIdMenuLanguage + chosen, MF_BYCOMMAND);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(languages), kLanguageMenuCaption);
    return bar;
}

// The system takes only the first access key of a caption; the second one
// (the kana) comes here.
LRESULT MenuChar(wchar_t key, HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        if (HasAccessKey(caption, key)) return MAKELRESULT(i, MNC_EXECUTE);
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

// The sets' list: the range first, then the sets in their numbers' order,
// so that an entry's index is the number the record stores.
void CreateSetsRow(SetForm& f) {
    f.ComboSets = CreateControl(f.PictureSelect, L"COMBOBOX", L"",
                                CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, kIdComboSets);
    Font(f.ComboSets, false);
    // Dropped, it shows all twelve entries.
    SetWindowPos(f.ComboSets, nullptr, 0, 0, MagnifiedUnits(f.ComboSets, 140), MagnifiedUnits(f.ComboSets, 280),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EnableTabKey(f.ComboSets);
    f.LabelSets = CreateControl(f.PictureSelect, L"STATIC", L"", SS_LEFT);
    SetControlColours(f.LabelSets, look::kPanel);
    SetWindowPos(f.LabelSets, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The sets' list in the dialog's language: the range first, then the sets
// in their numbers' order, so that an entry's index is the number the
// record stores. The choice stays as it was.
void ListSets(SetForm& f) {
    const LRESULT chosen = SendMessageW(f.ComboSets, CB_GETCURSEL, 0, 0);
    SendMessageW(f.ComboSets, CB_RESETCONTENT, 0, 0);
    SendMessageW(f.ComboSets, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DialogTextsIn(f.language).range));
    for (int number = 1; number <= kStudySetCount; ++number) {
        const StudySet& set = *StudySetNumbered(number);
        const std::wstring label(f.language == Language::English ? set.englishLabel : set.label);
        SendMessageW(f.ComboSets, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    }
    if (chosen != CB_ERR) SendMessageW(f.ComboSets, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

// A chosen set replaces the range, which stays as it was for when the
// range is chosen again.
void EnableRange(SetForm& f) {
    const bool range = SendMessageW(f.ComboSets, CB_GETCURSEL, 0, 0) == kNoStudySet;
    EnableWindow(f.ComboFirst, range);
    EnableWindow(f.ComboEnd, range);
}

// Once every control exists: the lists' faces and dropped extents, and the
// Tab key. The captions' faces follow their language (Label).
void SetFonts(SetForm& f) {
    for (HWND c : {f.ComboFirst, f.ComboEnd, f.ComboSpeed}) {
        Font(c, false);
        SetWindowPos(c, nullptr, 0, 0, MagnifiedUnits(c, 80), MagnifiedUnits(c, kDroppedListHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EnableTabKey(c);
    }
    Font(f.LabelHani, true);
    for (HWND c : f.OptionType) EnableTabKey(c);
    for (HWND c : f.OptionScreens) EnableTabKey(c);
    EnableTabKey(f.CheckKimariji);
    for (HWND c : f.CommandButton) EnableTabKey(c);
    EnableTabKey(f.CheckMusic);
}

void CreateControls(HWND form, SetForm& f) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    f.LabelTitle = CreateControl(form, L"STATIC", L"", SS_CENTER | SS_CENTERIMAGE);
    SetControlColours(f.LabelTitle, look::kTitleStrip);
    f.PictureSelect = CreatePanel(form, look::kPanel);
    // Row controls first: the row labels lie beneath them.
    f.ComboFirst = CreateControl(f.PictureSelect, L"COMBOBOX", L"",
                                 CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, kIdComboFirst);
    f.LabelHani = CreateControl(f.PictureSelect, L"STATIC", L"～", SS_LEFT);
    SetControlColours(f.LabelHani, look::kPanel);
    f.ComboEnd = CreateControl(f.PictureSelect, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                               kIdComboEnd);
    for (int i = 0; i < 3; ++i) {
        f.OptionType[i] = CreateControl(f.PictureSelect, L"BUTTON", L"",
                                        BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0), kIdOptionType + i);
        SetControlColours(f.OptionType[i], look::kLightGrey);
    }
    f.CheckMusic = CreateControl(f.PictureSelect, L"BUTTON", kMusicOnCaption, BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP,
                                 kIdCheckMusic);
    SetControlColours(f.CheckMusic, look::kLightGrey);
    f.ComboSpeed = CreateControl(f.PictureSelect, L"COMBOBOX", L"",
                                 CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, kIdComboSpeed);
    // After the speed in the Tab order, one stop at the chosen button.
    for (int i = 0; i < 2; ++i) {
        f.OptionScreens[i] = CreateControl(f.PictureSelect, L"BUTTON", L"",
                                           BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0),
                                           kIdOptionScreens + i);
        SetControlColours(f.OptionScreens[i], look::kLightGrey);
    }
    f.CheckKimariji = CreateControl(f.PictureSelect, L"BUTTON", L"",
                                    BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, kIdCheckKimariji);
    SetControlColours(f.CheckKimariji, look::kLightGrey);
    // In the Tab order after the kimariji mark, as its row follows.
    CreateSetsRow(f);
    for (int i = 0; i < 4; ++i) {
        f.LabelType[i] = CreateControl(f.PictureSelect, L"STATIC", L"", SS_LEFT);
        SetControlColours(f.LabelType[i], look::kPanel);
        SetWindowPos(f.LabelType[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    f.LabelScreens = CreateControl(f.PictureSelect, L"STATIC", L"", SS_LEFT);
    SetControlColours(f.LabelScreens, look::kPanel);
    SetWindowPos(f.LabelScreens, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int i = 0; i < 4; ++i)
        f.CommandButton[i] = CreateControl(form, L"BUTTON", L"", BS_PUSHBUTTON | WS_TABSTOP,
                                           kIdCommandButton + i);
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_SET_IMAGE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    f.Image1 = CreateBitmapImage(form, picture);
    SetFonts(f);
}

// Every caption of the dialog and its menu in the dialog's language, in
// that language's face, at the size the layout gives it (LayOut follows).
void Label(SetForm& f) {
    const DialogTexts& texts = DialogTextsIn(f.language);
    const wchar_t* face = TextFace(f.language);
    auto caption = [face](HWND control, const wchar_t* text) {
        SetWindowTextW(control, text);
        SetFormFont(control, face, true);
    };
    caption(f.LabelTitle, texts.title);
    for (int i = 0; i < 4; ++i) caption(f.LabelType[i], texts.rows[i]);
    for (int i = 0; i < 3; ++i) caption(f.OptionType[i], texts.orders[i]);
    caption(f.LabelScreens, texts.screens);
    for (int i = 0; i < 2; ++i) caption(f.OptionScreens[i], texts.screensOptions[i]);
    caption(f.CheckKimariji, texts.kimariji);
    caption(f.LabelSets, texts.sets);
    ListSets(f);
    caption(f.CheckMusic, ControlText(f.CheckMusic).c_str());
    for (int i = 0; i < 4; ++i) caption(f.CommandButton[i], texts.buttons[i]);
    HMENU old = GetMenu(frmSet);
    SetMenu(frmSet, BuildMenu(f.language));
    if (old) DestroyMenu(old);
}

// The screens row below the speed: the panel, and everything below it, is
// this much taller than the classic dialog; nothing above moves.
const int16_t kScreensRow = 44;
// The sets' row, below the screens row in the same way.
const int16_t kSetsRow = 44;
const int16_t kAddedRows = kScreensRow + kSetsRow;

void LayOutSetsRow(SetForm& f) {
    PlaceFontControl(f.LabelSets, 11, 60, 33, 20, 12 + 44 * 5);
    PlaceFontControlKeepHeight(f.ComboSets, 14, 140, 88, 48 + 44 * 4);
}

// Step 5 of ShowSettingsDialog: the layout table, in its order, and the
// rows added below it.
void LayOut(SetForm& f) {
    PlaceFontControl(f.LabelTitle, 16, 376, 30, 10, 10);
    PlaceControl(f.PictureSelect, 376, 180 + kAddedRows, 10, 50);
    for (int i = 0; i < 4; ++i) PlaceFontControl(f.LabelType[i], 11, 240, 33, 20, static_cast<int16_t>(12 + 44 * i));
    PlaceFontControl(f.LabelHani, 20, 50, 33, 200, 16);
    PlaceFontControlKeepHeight(f.ComboFirst, 14, 80, 88, 8);
    PlaceFontControlKeepHeight(f.ComboEnd, 14, 80, 264, 8);
    for (int i = 0; i < 3; ++i) PlaceFontControl(f.OptionType[i], 9, 80, 33, static_cast<int16_t>(88 + 88 * i), 48);
    PlaceFontControl(f.CheckMusic, 14, 257, 33, 88, 96);
    PlaceFontControlKeepHeight(f.ComboSpeed, 14, 80, 264, 144);
    // The label as the other rows have theirs; the buttons as narrow as
    // their captions allow, leaving the row's right end (from 280) free.
    PlaceFontControl(f.LabelScreens, 11, 60, 33, 20, 12 + 44 * 4);
    PlaceFontControl(f.OptionScreens[0], 9, 84, 33, 88, 48 + 44 * 3);
    PlaceFontControl(f.OptionScreens[1], 9, 100, 33, 176, 48 + 44 * 3);
    PlaceFontControl(f.CheckKimariji, 9, 84, 33, 284, 48 + 44 * 3);
    for (int i = 0; i < 4; ++i)
        PlaceFontControl(f.CommandButton[i], 11, 77, 52, static_cast<int16_t>(80 + 76 * i), 240 + kAddedRows);
    LayOutSetsRow(f);
}

void SelectText(HWND combo, int value) {
    std::wstring text = std::to_wstring(value);
    SendMessageW(combo, CB_SETCURSEL,
                 static_cast<WPARAM>(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(text.c_str()))),
                 0);
}

int SelectedOption(const SetForm& f) {
    for (int i = 0; i < 3; ++i)
        if (SendMessageW(f.OptionType[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
    return 2;  // none selected reads as descending, like the last branch of the rule
}

void UnloadSettingsDialog() {
    if (frmSet) DestroyWindow(frmSet);
}

// The dialog's handlers, as the buttons and the menu raise them. Closing
// the dialog frees its struct: nothing reads the form after an unload.
void CheckMusic_Click(SetForm& f) {
    int value = SendMessageW(f.CheckMusic, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    SetWindowTextW(f.CheckMusic, MusicCaption(value));
}

void CommandButton_Click(SetForm& f, int16_t index) {
    switch (index) {
        case 0: {
            DialogValues values{ControlText(f.ComboFirst), ControlText(f.ComboEnd), ControlText(f.ComboSpeed),
                                SelectedOption(f),
                                SendMessageW(f.CheckMusic, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0,
                                SendMessageW(f.OptionScreens[1], BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0,
                                SendMessageW(f.CheckKimariji, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0,
                                static_cast<int>(SendMessageW(f.ComboSets, CB_GETCURSEL, 0, 0)),
                                f.language};
            if (ApplySettings(f.record, values) != ApplyOutcome::Saved) return;
            // The viewer stays: it is for reading, not for setting.
            UnloadSettingsDialog();
            UnloadSales();
            UnloadHelp();
            break;
        }
        case 1:
            ShowHelp(f.res.dpi, f.language);
            break;
        case 2:
            ShowCommentary(f.res.dpi, f.language);
            break;
        case 3:
            UnloadSettingsDialog();
            UnloadSales();
            UnloadHelp();
            UnloadCommentary();
            break;
        default:
            break;
    }
}

void Menu_Set_Click(SetForm& f) { CommandButton_Click(f, 0); }
void Menu_Close_Click(SetForm& f) { CommandButton_Click(f, 3); }

void Menu_About_Click(SetForm& f, int16_t index) {
    switch (index) {
        case 0:
            ShowHelp(f.res.dpi, f.language);
            break;
        case 1:
            ShowCommentary(f.res.dpi, f.language);
            break;
        case 2:
            ShowSales(f.res.dpi, f.language);
            break;
        default:
            ShowAbout(f.language);
            break;
    }
}

// The dialog speaks the chosen language at once, in the same layout; the
// choice is stored with the other values on a confirmed apply, and the
// companion windows open in it from now on.
void Menu_Language_Click(SetForm& f, int16_t index) {
    const Language chosen = index == 1 ? Language::English : Language::Japanese;
    if (chosen == f.language) return;
    f.language = chosen;
    Label(f);
    LayOut(f);
    InvalidateRect(frmSet, nullptr, TRUE);
}

LRESULT CALLBACK FrmSetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    SetForm* f = FormOf<SetForm>(hwnd);
    switch (msg) {
        case WM_COMMAND: {
            if (!f) return 0;
            int id = LOWORD(wp);
            if (id == kIdCheckMusic && HIWORD(wp) == BN_CLICKED) CheckMusic_Click(*f);
            else if (id == kIdComboSets && HIWORD(wp) == CBN_SELCHANGE) EnableRange(*f);
            else if (id >= kIdCommandButton && id < kIdCommandButton + 4 && HIWORD(wp) == BN_CLICKED)
                CommandButton_Click(*f, static_cast<int16_t>(id - kIdCommandButton));
            else if (id == kIdMenuClose && lp == 0) Menu_Close_Click(*f);
            else if (id == kIdMenuSet && lp == 0) Menu_Set_Click(*f);
            else if (id >= kIdMenuAbout && id < kIdMenuAbout + 4 && lp == 0)
                Menu_About_Click(*f, static_cast<int16_t>(id - kIdMenuAbout));
            else if (id >= kIdMenuLanguage && id < kIdMenuLanguage + 2 && lp == 0)
                Menu_Language_Click(*f, static_cast<int16_t>(id - kIdMenuLanguage));
            return 0;
        }
        case WM_MENUCHAR:
            if (!(HIWORD(wp) & MF_SYSMENU)) return MenuChar(LOWORD(wp), reinterpret_cast<HMENU>(lp));
            break;
    }
    if (LRESULT result; FormMessage(hwnd, msg, wp, lp, frmSet, &SetForm::ComboFirst, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

void ShowSettingsDialog(const Settings& loaded, int dpi) {
    if (frmSet) {
        ShowWindow(frmSet, SW_SHOWNORMAL);
        SetForegroundWindow(frmSet);
        return;
    }
    // Created with its controls, not yet visible.
    frmSet = CreateForm(window_class::kSettings, Guarded<FrmSetProc>, IDI_MIROBEL, L"Saver Setting",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, BuildMenu(loaded.language));
    if (!frmSet) return;
    SetForm& f = MakeForm<SetForm>(frmSet, dpi);
    f.record = loaded;
    f.language = loaded.language;
    CreateControls(frmSet, f);
    Label(f);
    // A 400 x 300 client area below the menu bar, and the two added rows,
    // centred on the screen.
    SizeClientAndCentre(frmSet, 400, 300 + kAddedRows, dpi);
    // The panel measures in pixels like every window here.
    LayOut(f);
    // The lists: poems 1..100 for the range, 1..5 for the speed.
    for (int i = 0; i < 100; ++i) {
        std::wstring text = std::to_wstring(i + 1);
        SendMessageW(f.ComboFirst, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(f.ComboEnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (i < 5) SendMessageW(f.ComboSpeed, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // The record, with defaults where a value has no control state.
    ShownSettings shown = ShownValues(f.record);
    SelectText(f.ComboFirst, shown.first);
    SelectText(f.ComboEnd, shown.end);
    SelectText(f.ComboSpeed, shown.speed);
    SendMessageW(f.OptionType[shown.option], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(f.CheckMusic, BM_SETCHECK, shown.music == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(f.OptionScreens[shown.screens], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(f.CheckKimariji, BM_SETCHECK, shown.kimariji == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    CheckMusic_Click(f);
    SendMessageW(f.ComboSets, CB_SETCURSEL, static_cast<WPARAM>(shown.set), 0);
    EnableRange(f);
    // The picture is placed last, once the panel below it has its size.
    PlaceControl(f.Image1, 50, 50, 8, 240 + kAddedRows);
    ShowWindow(frmSet, SW_SHOWNORMAL);
    UpdateWindow(frmSet);
}

}  // namespace mirobel
