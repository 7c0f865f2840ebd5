// Small pieces the settings dialog, its companion windows and the preview
// are made of: window classes, the form's own struct, panels with a colour,
// pictures, control colours and fonts, and the Tab key between controls.
#pragma once
#include <string>

#include "win32/base/FormResources.h"
#include "win32/base/Win32Util.h"

namespace mirobel {

// A top-level window of its own class (registered on first use), created
// hidden and not yet sized; null when the class cannot be registered. proc
// is the guarded procedure; iconId a resource id, or 0 for none.
HWND CreateForm(const wchar_t* className, WNDPROC proc, int iconId, const wchar_t* caption, DWORD style,
                HMENU menu = nullptr);

// A child control of a system class ("STATIC", "BUTTON", "COMBOBOX", "EDIT").
HWND CreateControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id = 0,
                   DWORD exStyle = 0);

// A picture box used as a panel: painted in one colour, and it passes
// commands and colour requests of its controls on to its window, so that
// the window's procedure serves them all.
HWND CreatePanel(HWND parent, COLORREF background, DWORD exStyle = WS_EX_CLIENTEDGE);

// An image control showing a bitmap (or an icon) stretched to its client
// area. An icon image is shaped to the icon's mask, so whatever lies behind
// it shows through its transparent pixels.
HWND CreateBitmapImage(HWND parent, HBITMAP bitmap, DWORD style = 0);
HWND CreateIconImage(HWND parent, HICON icon);

// Colours a label, option button, check box or text box is drawn in; the
// window procedure answers WM_CTLCOLOR* through ControlColours.
void SetControlColours(HWND control, COLORREF back, COLORREF text = RGB(0, 0, 0));
// The brush for a colour request, or nullptr when the control has no
// colours of its own.
HBRUSH ControlColours(HDC dc, HWND control);

// Lets Tab and Shift+Tab move between the controls of the window in their
// tab order, as a dialog does; text boxes then never receive a tab character.
// Only the Tab key is taken: the system's dialog navigation
// (IsDialogMessage) would also move the order's choice with the arrows, make
// the focused button the default one that Return presses, select a box's
// text when Tab reaches it, and under Wine 8 keep Tab inside a multi-line
// box, where Escape would then close the help window or destroy a panel.
void EnableTabKey(HWND control);

// Keeps the keyboard focus on a form's controls across activations, as a
// dialog does: the control that had it gets it back, at first `initial`.
// Call from the form's procedure; true when the message was handled.
bool KeepFocus(HWND form, UINT msg, WPARAM wp, HWND initial);

// What every form's procedure does alike: colours for its controls, the
// focus kept across activations (at first on `initial`), and on WM_DESTROY
// its handle cleared and the window count lowered. True when the message
// was handled; result is then the answer.
bool CommonFormMessage(HWND form, UINT msg, WPARAM wp, LPARAM lp, HWND& handle, HWND initial, LRESULT& result);

// A form's own struct holds its controls beside their resources:
//     struct SetForm { FormResources res; HWND ComboFirst, ...; };
// MakeForm gives a new form window its struct, laid out at dpi, which the window owns from
// then on, and counts the window as open; FormMessage, called from the
// form's procedure, does what CommonFormMessage does and frees the struct
// when the window goes. A form with no control to give the focus to (the
// preview) passes nullptr for `initial`.
template <typename Form>
Form* FormOf(HWND form) {
    return reinterpret_cast<Form*>(GetWindowLongPtrW(form, GWLP_USERDATA));
}

template <typename Form>
Form& MakeForm(HWND form, int dpi) {
    auto* made = new Form{};
    made->res.dpi = dpi;
    SetWindowLongPtrW(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
    AttachResources(form, made->res);
    WindowOpened();
    return *made;
}

template <typename Form>
bool FormMessage(HWND form, UINT msg, WPARAM wp, LPARAM lp, HWND& handle, HWND Form::*initial, LRESULT& result) {
    Form* own = FormOf<Form>(form);
    if (msg == WM_NCDESTROY && own) {
        // The controls are gone by now; what they held goes with the struct.
        DetachResources(form);
        SetWindowLongPtrW(form, GWLP_USERDATA, 0);
        delete own;
        return false;
    }
    return CommonFormMessage(form, msg, wp, lp, handle, own && initial ? own->*initial : nullptr, result);
}

// Every text of the forms is in one of the faces the program names
// (Faces.h), resolved to what is installed, with the Shift-JIS character
// set (the Latin face with the default one, which lets the system keep to
// that face); its size comes with the control's placing.
void SetFormFont(HWND control, const wchar_t* face, bool bold);
// A font at a point size taken as it is, not through ScaledFontSize, in a
// face named as for SetFormFont; freed with the window's other resources.
void SetUnscaledFont(HWND control, const wchar_t* face, bool bold, int points);

// Text of a control as a string.
std::wstring ControlText(HWND control);

// The resource of the given id and type as bytes; empty when missing.
std::string ResourceBytes(int id, const wchar_t* type);

}  // namespace mirobel
