// The commentary viewer frmComment: pick a poem, press "決定", read its
// verses, poet and rendering.
#include "win32/base/Guard.h"
#include "win32/base/WindowClass.h"
#include "win32/base/Place.h"
#include "win32/base/Resources.h"
#include "core/base/Faces.h"
#include "core/companions/CompanionRules.h"
#include "win32/companions/Companions.h"
#include "win32/companions/FormLook.h"
#include "win32/companions/Forms.h"
#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"
#include "core/poems/StudySets.h"
#include "win32/base/Gdi.h"

#include <algorithm>

namespace mirobel {

HWND frmComment = nullptr;

namespace {
struct CommentForm {
    FormResources res;
    Language language;
    HWND LabelTitle, Picture1, LabelType[5], Combo1, Command1, TextKaisetu[4], Image1, Command2;
    // The chosen poem's kimariji, under the chooser: its kana drawn in
    // vermilion, as the card marks them.
    HWND LabelKimariji;
    KimarijiLine kimariji;
    // The study sets the poem belongs to: after the kimariji, the group of
    // its number of sounds; in the row captions' column, its colour's name
    // drawn in that colour.
    HWND LabelColour;
    std::wstring group;
    const StudySet* colourSet = nullptr;
};

enum : int {
    kIdCombo1 = 101,
    kIdCommand1 = 102,
    kIdCommand2 = 103,
    kIdTextKaisetu = 110,
    kIdKimariji = 120,
    kIdColour = 121,
};

const int kDroppedListHeight = 240;

// The chooser, the verses, the poet and the kimariji hold kana and kanji,
// and in English Latin letters with macrons beside them: they stay in
// Mincho, which has both. Only the English rendering is in the Latin face.
void Font(HWND control, bool bold) { SetFormFont(control, kMinchoFace, bold); }

void CreateSetLabels(CommentForm& f) {
    f.LabelColour = CreateControl(f.Picture1, L"STATIC", L"", SS_OWNERDRAW, kIdColour);
    Font(f.LabelColour, true);
}

void CreateControls(HWND form, CommentForm& f) {
    const ViewerTexts& texts = ViewerTextsIn(f.language);
    f.LabelTitle = CreateControl(form, L"STATIC", texts.caption, SS_CENTER | SS_CENTERIMAGE | WS_BORDER);
    SetControlColours(f.LabelTitle, look::kTitleStrip);
    f.Picture1 = CreatePanel(form, look::kPanel);
    // Creation order is tab order: the chooser, the four boxes top to
    // bottom, "決定"; "終　了" follows in the window itself.
    f.Combo1 = CreateControl(f.Picture1, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kIdCombo1);
    SetWindowPos(f.Combo1, nullptr, 0, 0, MagnifiedUnits(f.Combo1, 227), MagnifiedUnits(f.Combo1, kDroppedListHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < 4; ++i) {
        DWORD style = i == 3 ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        // An English rendering runs to four or five lines where a Japanese
        // one takes three: the box keeps its size and scrolls.
        if (i == 3 && f.language == Language::English) style |= WS_VSCROLL;
        f.TextKaisetu[i] =
            CreateControl(f.Picture1, L"EDIT", L"", style | WS_TABSTOP, kIdTextKaisetu + i, WS_EX_CLIENTEDGE);
    }
    f.Command1 = CreateControl(f.Picture1, L"BUTTON", texts.show, BS_PUSHBUTTON | WS_TABSTOP, kIdCommand1);
    for (int i = 0; i < 5; ++i) {
        f.LabelType[i] = CreateControl(f.Picture1, L"STATIC", texts.rows[i], SS_LEFT);
        SetControlColours(f.LabelType[i], look::kPanel);
    }
    f.LabelKimariji = CreateControl(f.Picture1, L"STATIC", L"", SS_OWNERDRAW, kIdKimariji);
    CreateSetLabels(f);
    HBITMAP portrait = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_COMMENT_IMAGE),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    f.Image1 = CreateBitmapImage(form, portrait, WS_BORDER);
    f.Command2 = CreateControl(form, L"BUTTON", texts.close, BS_PUSHBUTTON | WS_TABSTOP, kIdCommand2);

    const wchar_t* face = TextFace(f.language);
    SetFormFont(f.LabelTitle, face, true);
    for (HWND c : f.LabelType) SetFormFont(c, face, true);
    Font(f.Combo1, false);
    for (HWND c : f.TextKaisetu) Font(c, false);
    SetFormFont(f.TextKaisetu[3], face, false);
    Font(f.LabelKimariji, true);
    SetFormFont(f.Command1, face, true);
    SetFormFont(f.Command2, face, true);
    for (HWND c : {f.Combo1, f.TextKaisetu[0], f.TextKaisetu[1], f.TextKaisetu[2], f.TextKaisetu[3], f.Command1,
                   f.Command2})
        EnableTabKey(c);
}

void LayOut(CommentForm& f) {
    PlaceFontControl(f.LabelTitle, 16, 376, 30, 10, 10);
    PlaceControl(f.Picture1, 376, 200, 10, 50);
    PlaceFontControl(f.LabelType[0], 9, 55, 20, 8, 16);
    for (int i = 1; i <= 4; ++i) PlaceFontControl(f.LabelType[i], 9, 55, 20, 8, static_cast<int16_t>(32 + 24 * i));
    PlaceFontControlKeepHeight(f.Combo1, 9, 227, 64, 16);
    for (int i = 0; i < 4; ++i)
        PlaceFontControl(f.TextKaisetu[i], 9, 297, 18, 64, static_cast<int16_t>(56 + 24 * i));
    // The commentary box is three rows high.
    PlaceControl(f.TextKaisetu[3], 297, 57, 64, 56 + 24 * 3);
    PlaceControl(f.Image1, 50, 50, 8, 260);
    PlaceFontControl(f.Command1, 10, 57, 33, 304, 16);
    PlaceFontControl(f.Command2, 11, 313, 50, 72, 260);
    // Under the chooser, in the strip that was plain panel down to the
    // upper verse's row; it reaches on to the "決定" button's column, as the
    // longest line with its group (six sounds and 六字決まり) needs.
    PlaceFontControl(f.LabelKimariji, 9, 240, 15, 64, 39);
    // Beside it, under the chooser's caption, where the panel was plain.
    PlaceFontControl(f.LabelColour, 9, 55, 15, 8, 39);
}

void DrawKimariji(const CommentForm& f, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    Brush panel(CreateSolidBrush(look::kPanel));
    FillRect(dc, &item.rcItem, panel.get());
    Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    const COLORREF vermilion = RGB(kVermilion.r, kVermilion.g, kVermilion.b);
    int x = item.rcItem.left;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int y = (item.rcItem.top + item.rcItem.bottom - metrics.tmHeight) / 2;
    for (auto [text, colour] : {std::pair{&f.kimariji.lead, RGB(0, 0, 0)}, std::pair{&f.kimariji.marked, vermilion},
                                std::pair{&f.kimariji.tail, RGB(0, 0, 0)}, std::pair{&f.group, RGB(0, 0, 0)}}) {
        const int length = static_cast<int>(text->size());
        SetTextColor(dc, colour);
        TextOutW(dc, x, y, text->c_str(), length);
        SIZE size{};
        GetTextExtentPoint32W(dc, text->c_str(), length, &size);
        x += size.cx;
    }
}

// 「青」, or Blue in English; nothing before a poem is chosen.
std::wstring ColourName(const CommentForm& f) {
    if (!f.colourSet) return L"";
    if (f.language == Language::English) return std::wstring(f.colourSet->englishLabel);
    return L"「" + std::wstring(f.colourSet->label) + L"」";
}

void DrawColour(const CommentForm& f, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    Brush panel(CreateSolidBrush(look::kPanel));
    FillRect(dc, &item.rcItem, panel.get());
    if (!f.colourSet || !f.colourSet->colour) return;
    Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    // The sets' colours are chosen to read on white, as on the cards, not on
    // the panel's teal: the name stands on a white slip of its own width.
    const std::wstring text = ColourName(f);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    RECT slip = item.rcItem;
    slip.right = std::min<LONG>(slip.right, slip.left + size.cx);
    Brush white(CreateSolidBrush(RGB(255, 255, 255)));
    FillRect(dc, &slip, white.get());
    SetBkMode(dc, TRANSPARENT);
    const Rgb c = *f.colourSet->colour;
    SetTextColor(dc, RGB(c.r, c.g, c.b));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &slip, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

// Each poem lies in one colour set and in one group by its sounds.
void FindSets(CommentForm& f, int poem) {
    f.colourSet = nullptr;
    f.group.clear();
    for (int number = 1; number <= kStudySetCount; ++number) {
        const StudySet& set = *StudySetNumbered(number);
        if (std::find(set.poems.begin(), set.poems.end(), poem) == set.poems.end()) continue;
        if (set.colour) f.colourSet = &set;
        else f.group = L"\u3000" + std::wstring(f.language == Language::English ? set.englishLabel : set.label);
    }
}

// The text when the box shows it whole, otherwise the shorter one (a few
// poets' English names leave no room for the name the card writes).
std::wstring TextThatFits(HWND box, const std::wstring& text, const std::wstring& shorter) {
    if (shorter.empty()) return text;
    RECT format{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    WindowDc dc(box);
    Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx <= format.right - format.left ? text : shorter;
}

// Entry k is replaced in place or appended, so the list holds exactly one
// entry per poem however often the viewer is opened.
void FillChooser(HWND combo) {
    LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    for (int k = 0; k < kChooserEntries; ++k) {
        std::wstring text = ChooserEntryText(k);
        LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        if (count > k) {
            SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(k), 0);
            SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(text.c_str()));
        } else {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    if (selected >= 0) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void Command1_Click(CommentForm& f) {
    int selected = static_cast<int>(SendMessageW(f.Combo1, CB_GETCURSEL, 0, 0));
    if (selected < 0) SendMessageW(f.Combo1, CB_SETCURSEL, 0, 0);
    int n = ChosenEntry(selected) + 1;
    CommentaryTexts texts = CommentaryFor(n, f.language);
    SetWindowTextW(f.TextKaisetu[0], texts.upper.c_str());
    SetWindowTextW(f.TextKaisetu[1], texts.lower.c_str());
    SetWindowTextW(f.TextKaisetu[2], TextThatFits(f.TextKaisetu[2], texts.poet, texts.poetLatin).c_str());
    SetWindowTextW(f.TextKaisetu[3], texts.comment.c_str());
    f.kimariji = texts.kimariji;
    FindSets(f, n);
    const std::wstring line = f.kimariji.lead + f.kimariji.marked + f.kimariji.tail + f.group;
    SetWindowTextW(f.LabelKimariji, line.c_str());
    InvalidateRect(f.LabelKimariji, nullptr, TRUE);
    // The text is what tests and readers of the window find; the drawing
    // colours it.
    SetWindowTextW(f.LabelColour, ColourName(f).c_str());
    InvalidateRect(f.LabelColour, nullptr, TRUE);
}

void Command2_Click() { UnloadCommentary(); }

LRESULT CALLBACK FrmCommentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            CommentForm* f = FormOf<CommentForm>(hwnd);
            if (!f || (wp != kIdKimariji && wp != kIdColour)) return FALSE;
            if (wp == kIdKimariji) DrawKimariji(*f, *item);
            else DrawColour(*f, *item);
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) return 0;
            if (LOWORD(wp) == kIdCommand1) {
                if (CommentForm* f = FormOf<CommentForm>(hwnd)) Command1_Click(*f);
            } else if (LOWORD(wp) == kIdCommand2) {
                Command2_Click();
            }
            return 0;
    }
    if (LRESULT result; FormMessage(hwnd, msg, wp, lp, frmComment, &CommentForm::Combo1, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

void ShowCommentary(int dpi, Language language) {
    FillPoemTables();
    if (frmComment && FormOf<CommentForm>(frmComment)->language != language) UnloadCommentary();
    if (!frmComment) {
        frmComment = CreateForm(window_class::kCommentary, Guarded<FrmCommentProc>, IDI_MIROBEL,
                                ViewerTextsIn(language).caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        if (!frmComment) return;
        CommentForm& made = MakeForm<CommentForm>(frmComment, dpi);
        made.language = language;
        CreateControls(frmComment, made);
    }
    CommentForm& f = *FormOf<CommentForm>(frmComment);
    SizeClientAndCentre(frmComment, 400, 320, f.res.dpi);
    LayOut(f);
    FillChooser(f.Combo1);
    ShowWindow(frmComment, SW_SHOWNORMAL);
    SetForegroundWindow(frmComment);
}

void UnloadCommentary() {
    if (frmComment) DestroyWindow(frmComment);
}

}  // namespace mirobel
