// The display window frmDisp and its surfaces, shared by the show's Win32 files.
#pragma once
#include "win32/base/Surface.h"

namespace mirobel {

extern HWND frmDisp;
extern HWND picfocus;
// Whole-screen work and background surfaces; they exist only while whole
// frames are presented (the reference presentation).
extern Surface scr_work;
extern Surface scr_bkg;

// PictureBior, the card canvas each show keeps; the card is drawn in its
// top-left 400 x 260.
inline constexpr int kCardCanvasWidth = 560, kCardCanvasHeight = 346;

inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT_PTR kTimer2 = 2;

// Caption of the black windows over the other monitors; the start-up guard
// looks only for the show's own caption.
inline constexpr const wchar_t* kCoverCaption = L"Mirobel Monitor";

}  // namespace mirobel
