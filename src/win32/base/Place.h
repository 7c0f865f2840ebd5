// Placing of controls, with font sizes corrected for the screen. Positions
// and sizes are given in units (pixels at 96 dpi) and magnified here, the
// one place where layouts meet the scale of the control's form (the one it
// was made with, FormResources::dpi): each edge is magnified
// by the one rounding rule, so neighbouring controls stay flush. The font
// size always comes first, because a control may size itself from its font.
#pragma once
#include <cstdint>

#include "win32/base/Win32Util.h"

namespace mirobel {

void PlaceControl(HWND control, int16_t width, int16_t height, int16_t left, int16_t top);
void PlaceFontControl(HWND control, int16_t size, int16_t width, int16_t height, int16_t left, int16_t top);
// For drop-down lists, whose visible height follows their font: the height
// the list had before (its dropped extent, for a combo box) is kept.
void PlaceFontControlKeepHeight(HWND control, int16_t size, int16_t width, int16_t left, int16_t top);

// Moves a control to a position in units (a fractional left, as the
// introduction window's cyclists have), keeping its size.
void MoveControl(HWND control, double left, int top);
// A length in units as pixels at the control's form's scale, for sizes a
// window gives its controls itself (a drop-down list's extent, an icon's size).
int MagnifiedUnits(HWND control, int units);

// Height of a combo box's dropped rectangle as the system reports it.
int ComboListExtent(HWND combo);

// Sets the control's font to ScaledFontSize(size) points, keeping its face,
// weight and character set.
void SetControlFontSize(HWND control, int16_t size);
// Gives a control its face, weight and character set before it is placed.
void SetControlFont(HWND control, const wchar_t* face, bool bold, BYTE charset, int16_t size);

}  // namespace mirobel
