// The display window frmDisp, shared by the show's Win32 files.
#pragma once
#include "win32/base/Surface.h"

namespace mirobel {

extern HWND frmDisp;
extern HWND picfocus;

inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT_PTR kTimer2 = 2;

// Caption of the black windows over the other monitors; the start-up guard
// looks only for the show's own caption.
inline constexpr const wchar_t* kCoverCaption = L"Mirobel Monitor";

}  // namespace mirobel
