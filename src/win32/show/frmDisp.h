// The display window frmDisp and its surfaces, shared by the show's Win32 files.
#pragma once
#include "win32/base/Surface.h"

namespace mirobel {

extern HWND frmDisp;
extern HWND picfocus;
extern Surface PictureBior;  // card canvas
extern Surface scr_work;     // work surface, rebuilt every frame
extern Surface scr_bkg;      // black background

// PictureBior, the card canvas; the card is drawn in its top-left 400 x 260.
inline constexpr int kCardCanvasWidth = 560, kCardCanvasHeight = 346;

inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT_PTR kTimer2 = 2;

}  // namespace mirobel
