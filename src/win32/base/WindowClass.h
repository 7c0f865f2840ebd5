// The program's window classes: one list of names, so that no two windows
// can claim the same one, and one way to register them.
#pragma once
#include "win32/base/Win32Util.h"

namespace mirobel {

namespace window_class {
inline constexpr const wchar_t* kDisplay = L"MirobelDisplay";         // frmDisp
inline constexpr const wchar_t* kFocus = L"MirobelFocus";             // picfocus
inline constexpr const wchar_t* kCover = L"MirobelCover";             // black windows over other monitors
inline constexpr const wchar_t* kPreview = L"MirobelPreview";         // frmPrev
inline constexpr const wchar_t* kPreviewPicture = L"MirobelPreviewPicture";  // prev
inline constexpr const wchar_t* kSettings = L"MirobelSettings";       // frmSet
inline constexpr const wchar_t* kCommentary = L"MirobelCommentary";   // frmComment
inline constexpr const wchar_t* kHelp = L"MirobelHelp";               // frmHelp
inline constexpr const wchar_t* kSales = L"MirobelSales";             // salesf
inline constexpr const wchar_t* kPanel = L"MirobelPanel";             // the forms' framed panels
inline constexpr const wchar_t* kImage = L"MirobelImage";             // the forms' pictures
}  // namespace window_class

struct WindowClassSpec {
    const wchar_t* name;
    WNDPROC proc;  // pass the guarded procedure (Guard.h)
    HBRUSH background = nullptr;
    bool arrowCursor = true;
    int iconId = 0;  // a resource id, or 0 for none
    UINT style = 0;  // class styles (CS_...)
};

// Registers the class for this process, once; registering it again with the
// same procedure is a no-op. False when the system refuses, or when the name
// is already taken by another procedure: the caller then opens no window
// rather than one that runs someone else's code.
bool RegisterWindowClass(const WindowClassSpec& spec);

}  // namespace mirobel
